#include "preview/QtPreviewPlayer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGraphicsProxyWidget>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace qx {

namespace {

// Runs timers and media events, not user input, until `loop` quits or `ms` have passed: the
// command that waits must not be overtaken by the next click.
void runEvents(QEventLoop& loop, qint64 ms) {
  QTimer::singleShot(int(ms), &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

QtPreviewPlayer::QtPreviewPlayer(QWidget* parent, MediaModule& media)
    : module_(media), view_(new QGraphicsView(parent)) {
  auto* scene = new QGraphicsScene(QRectF(0, 0, kArea.width(), kArea.height()), view_);
  scene->setBackgroundBrush(Qt::black);
  view_->setScene(scene);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  view_->setRenderHint(QPainter::SmoothPixmapTransform);
  view_->setGeometry(kArea);
  // Reached with Tab only, which then walks through the transport controls; a click on the video
  // leaves the window's keys with the window.
  view_->setFocusPolicy(Qt::TabFocus);
  view_->setAccessibleName(QStringLiteral("Preview"));

  controls_ = new TransportBar;
  QGraphicsProxyWidget* controls = scene->addWidget(controls_);
  controls->setGeometry(
      QRectF(0, kArea.height() - kControlsHeight, kArea.width(), kControlsHeight));

  // The marker crosses the video and the controls alike, but never takes a click from them.
  marker_ = scene->addRect(0, 0, kMarkerWidth, kMarkerHeight, Qt::NoPen, QColor(0, 255, 0));
  marker_->setZValue(1);
  marker_->setAcceptedMouseButtons(Qt::NoButton);
  placeYawMarker(0);
}

MediaEngine* QtPreviewPlayer::media() {
  if (playerTried_) return player_.get();
  playerTried_ = true;
  player_ = MediaEngine::make(module_, view_ ? view_->scene() : nullptr,
                              QSizeF(kArea.width(), kArea.height() - kControlsHeight));
  if (!player_) return nullptr;
  connect(player_.get(), &MediaEngine::frameShown, this,
          [this](qint64 startUs) { frameShownUs_ = startUs; });
  if (controls_) controls_->bind(*player_);
  connect(player_.get(), &MediaEngine::mediaStatusChanged, this, [this] {
    if (player_->mediaStatus() == MediaStatus::Invalid) clearPicture();
  });
  connect(player_.get(), &MediaEngine::playbackStateChanged, this, [this] {
    if (player_->playbackState() != PlaybackState::Paused) pausedAtMs_.reset();
  });
  return player_.get();
}

QtPreviewPlayer::~QtPreviewPlayer() {
  releasePlayer();
  player_.reset();      // lets go of the video item, which goes with the view
  delete view_.data();  // already gone when the parent window went first
}

QWidget* QtPreviewPlayer::widget() {
  return view_;
}

void QtPreviewPlayer::loadAndPlay(const QString& path) {
  if (released_ || (path.isEmpty() && !player_)) return;
  MediaEngine* player = media();
  if (!player) return;
  clearPicture();
  pausedAtMs_.reset();
  loadGivenUp_ = false;
  if (path.isEmpty()) {
    player->stop();
    player->setSource(QString());
    return;
  }
  player->setSource(QFileInfo(path).absoluteFilePath());
  player->play();
}

void QtPreviewPlayer::pausePlayer() {
  // Only a playing video is paused: pausing one that has run out would start it again at 0.
  if (released_ || !player_ || player_->playbackState() != PlaybackState::Playing) return;
  player_->pause();
  // Pausing puts up the frame queued next, a moment later; the position read straight after the
  // pause is then the moment of that frame.
  if (player_->videoItem()) {
    QEventLoop loop;
    connect(player_.get(), &MediaEngine::frameShown, &loop, &QEventLoop::quit,
            Qt::QueuedConnection);
    runEvents(loop, kPauseFrameWaitMs);
  }
  pausedAtMs_ = player_->position();
}

void QtPreviewPlayer::stopPlayer() {
  // Nothing plays on, but the picture stays where it was rather than going black.
  pausePlayer();
}

double QtPreviewPlayer::getPosition() const {
  if (released_ || !player_ || !player_->hasSource()) return 0;
  // A video that has run out stands at its end.
  if (player_->mediaStatus() == MediaStatus::EndOfMedia)
    return double(std::max(player_->position(), player_->duration())) / 1000.0;
  // Paused where playing reached, the media clock stands a frame or so away from the picture
  // (it runs ahead of it, or the pause showed the next frame): the moment is the frame's. After
  // a seek the clock stands where it was sent, which the frame then shows.
  if (pausedAtMs_ && player_->playbackState() == PlaybackState::Paused &&
      player_->position() == *pausedAtMs_ && frameShownUs_ >= 0)
    return double(frameShownUs_) / 1e6;
  return double(player_->position()) / 1000.0;
}

bool QtPreviewPlayer::waitUntilLoaded() {
  const auto ready = [this] {
    switch (player_->mediaStatus()) {
      case MediaStatus::Loaded:
      case MediaStatus::Buffering:
      case MediaStatus::Buffered:
      case MediaStatus::Stalled:
      case MediaStatus::EndOfMedia:
        return true;
      default:
        return false;
    }
  };
  QEventLoop loop;
  connect(player_.get(), &MediaEngine::mediaStatusChanged, &loop, &QEventLoop::quit);
  connect(player_.get(), &MediaEngine::errorOccurred, &loop, &QEventLoop::quit);
  QElapsedTimer waited;
  waited.start();
  while (!loadGivenUp_ && player_->mediaStatus() == MediaStatus::Loading && !player_->hasError()) {
    if (waited.elapsed() >= kLoadWaitMs)
      loadGivenUp_ = true;
    else
      runEvents(loop, kLoadWaitMs - waited.elapsed());
  }
  return ready();
}

void QtPreviewPlayer::seekAndFreeze(double seconds) {
  if (released_ || !player_ || !player_->hasSource() || !std::isfinite(seconds)) return;
  if (!waitUntilLoaded()) return;
  // Seek, play briefly, seek again, pause: the short play gets the frame decoded and shown even
  // where a seek alone would leave the old one, and the second seek takes back what it moved on.
  const auto ms = qint64(std::llround(std::max(seconds, 0.0) * 1000.0));
  pausedAtMs_.reset();
  player_->setPosition(ms);
  player_->play();
  QEventLoop loop;
  runEvents(loop, 100);
  player_->setPosition(ms);
  player_->pause();
}

void QtPreviewPlayer::placeYawMarker(int yaw) {
  requestedYaw_ = yaw;
  if (view_) marker_->setPos(markerX(yaw) - kArea.left(), kMarkerTop - kArea.top());
}

void QtPreviewPlayer::refreshYawMarkerLater(int yaw) {
  requestedYaw_ = yaw;
  // Carried out once the command that asked has returned, at the yaw asked for last by then.
  QMetaObject::invokeMethod(
      this, [this] { placeYawMarker(requestedYaw_); }, Qt::QueuedConnection);
}

void QtPreviewPlayer::showOwnToolTips(bool shown) {
  if (controls_) controls_->setToolTipsShown(shown);
}

void QtPreviewPlayer::releasePlayer() {
  if (released_) return;
  released_ = true;
  if (!player_) return;
  player_->stop();
  player_->setSource(QString());
}

QRect QtPreviewPlayer::markerGeometry() const {
  if (!view_) return {};
  return QRect(kArea.topLeft() + marker_->pos().toPoint(), QSize(kMarkerWidth, kMarkerHeight));
}

void QtPreviewPlayer::clearPicture() {
  if (player_) player_->clearPicture();
  frameShownUs_ = -1;
}

std::unique_ptr<PreviewPlayer> makePreviewPlayer(QWidget* parent, MediaModule& media) {
  return std::make_unique<QtPreviewPlayer>(parent, media);
}

}  // namespace qx
