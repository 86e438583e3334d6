#include "preview/TransportBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "fonts/BundledFonts.h"
#include "preview/MediaEngine.h"
#include "preview/TransportIcons.h"

namespace qx {

QString playTimeText(qint64 ms) {
  const qint64 seconds = ms > 0 ? ms / 1000 : 0;
  const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  if (h > 0) return QStringLiteral("%1:%2:%3").arg(h).arg(two(m), two(s));
  return QStringLiteral("%1:%2").arg(m).arg(two(s));
}

float linearVolume(int percent) {
  // QAudio::convertVolume from the logarithmic to the linear scale, without Qt Multimedia.
  const double heard = std::clamp(percent, 0, 100) / 100.0;
  if (heard > 0.99) return 1.0f;
  return float(-std::log(1.0 - heard) / std::log(100.0));
}

namespace {

QToolButton* makeButton(QWidget* parent, TransportPicture picture, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setIcon(transportIcon(picture, parent->palette().color(QPalette::ButtonText)));
  button->setToolTip(tip);
  button->setAccessibleName(tip);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

TransportBar::TransportBar(QWidget* parent)
    : QWidget(parent),
      playPause_(makeButton(this, TransportPicture::Play, QStringLiteral("Play"))),
      stop_(makeButton(this, TransportPicture::Stop, QStringLiteral("Stop"))),
      position_(new QSlider(Qt::Horizontal, this)),
      time_(new QLabel(this)),
      mute_(makeButton(this, TransportPicture::Sound, QStringLiteral("Mute"))),
      volume_(new QSlider(Qt::Horizontal, this)) {
  setAutoFillBackground(true);  // drawn over the scene's black
  // Embedded in the preview's scene, the bar does not inherit the window's font: it takes the
  // carried face itself, so its time reads the same on every machine.
  QFont face;
  face.setFamilies({sansFamily()});
  face.setPixelSize(11);
  setFont(face);

  position_->setRange(0, 0);
  position_->setSingleStep(1000);
  position_->setPageStep(5000);
  position_->setFocusPolicy(Qt::TabFocus);
  position_->setToolTip(QStringLiteral("Position"));
  position_->setAccessibleName(QStringLiteral("Position"));
  volume_->setRange(0, 100);
  volume_->setValue(100);
  volume_->setFixedWidth(64);
  volume_->setFocusPolicy(Qt::TabFocus);
  volume_->setToolTip(QStringLiteral("Volume"));
  volume_->setAccessibleName(QStringLiteral("Volume"));
  mute_->setCheckable(true);
  time_->setMinimumWidth(time_->fontMetrics().horizontalAdvance(QStringLiteral("00:00 / 00:00")));
  time_->setAlignment(Qt::AlignCenter);
  time_->setText(QStringLiteral("0:00 / 0:00"));
  for (QWidget* part : {static_cast<QWidget*>(playPause_), static_cast<QWidget*>(stop_),
                        static_cast<QWidget*>(position_), static_cast<QWidget*>(mute_),
                        static_cast<QWidget*>(volume_)})
    part->installEventFilter(this);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 0, 4, 0);
  row->setSpacing(2);
  row->addWidget(playPause_);
  row->addWidget(stop_);
  row->addWidget(position_, 1);
  row->addWidget(time_);
  row->addWidget(mute_);
  row->addWidget(volume_);
}

void TransportBar::bind(MediaEngine& player) {
  if (player_) return;
  player_ = &player;
  connect(playPause_, &QToolButton::clicked, this, [this] {
    if (player_->playbackState() == PlaybackState::Playing)
      player_->pause();
    else
      player_->play();
  });
  connect(stop_, &QToolButton::clicked, player_, &MediaEngine::stop);
  // A drag seeks once, when the handle is let go; clicks on the groove and keys seek at once.
  connect(position_, &QSlider::sliderMoved, this, [this](int ms) { showTime(ms); });
  connect(position_, &QSlider::sliderReleased, this, &TransportBar::seekToSlider);
  connect(position_, &QSlider::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderMove) seekToSlider();
  });
  connect(volume_, &QSlider::valueChanged, this,
          [this](int value) { player_->setVolume(linearVolume(value)); });
  connect(mute_, &QToolButton::toggled, player_, &MediaEngine::setMuted);
  connect(player_, &MediaEngine::mutedChanged, this, &TransportBar::showVolume);
  connect(player_, &MediaEngine::playbackStateChanged, this, &TransportBar::showPlaybackState);
  connect(player_, &MediaEngine::mediaStatusChanged, this, &TransportBar::showPlaybackState);
  connect(player_, &MediaEngine::positionChanged, this, [this](qint64 ms) {
    if (!position_->isSliderDown()) {
      position_->setValue(int(ms));
      showTime(ms);
    }
  });
  connect(player_, &MediaEngine::durationChanged, this, &TransportBar::showDuration);

  // What was set before the player existed carries over.
  player_->setVolume(linearVolume(volume_->value()));
  player_->setMuted(mute_->isChecked());
  showPlaybackState();
  showDuration(player_->duration());
  showVolume();
}

void TransportBar::setToolTipsShown(bool shown) {
  toolTipsShown_ = shown;
}

bool TransportBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !toolTipsShown_) return true;
  return QWidget::eventFilter(watched, event);
}

void TransportBar::showPlaybackState() {
  // Playing means a picture moving: a file that could not be opened (or never finishes
  // opening) is not shown as playing, whatever state the player has been asked to be in.
  const auto status = player_->mediaStatus();
  const bool playing = player_->playbackState() == PlaybackState::Playing &&
                       status != MediaStatus::Invalid && status != MediaStatus::NoMedia &&
                       status != MediaStatus::Loading;
  playPause_->setIcon(transportIcon(playing ? TransportPicture::Pause : TransportPicture::Play,
                                    palette().color(QPalette::ButtonText)));
  const QString name = playing ? QStringLiteral("Pause") : QStringLiteral("Play");
  playPause_->setToolTip(name);
  playPause_->setAccessibleName(name);
}

void TransportBar::showTime(qint64 ms) {
  time_->setText(playTimeText(ms) + QStringLiteral(" / ") + playTimeText(player_->duration()));
}

void TransportBar::showDuration(qint64 ms) {
  position_->setRange(0, int(qMin<qint64>(ms, INT_MAX)));
  position_->setValue(int(player_->position()));
  showTime(player_->position());
}

void TransportBar::showVolume() {
  const bool muted = player_->isMuted();
  mute_->setChecked(muted);
  mute_->setIcon(transportIcon(muted ? TransportPicture::Muted : TransportPicture::Sound,
                               palette().color(QPalette::ButtonText)));
  const QString name = muted ? QStringLiteral("Sound on") : QStringLiteral("Mute");
  mute_->setToolTip(name);
  mute_->setAccessibleName(name);
}

void TransportBar::seekToSlider() {
  player_->setPosition(position_->sliderPosition());
  showTime(position_->sliderPosition());
}

}  // namespace qx
