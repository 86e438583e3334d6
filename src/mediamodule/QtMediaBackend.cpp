#include "mediamodule/QtMediaBackend.h"

#include <QAudioOutput>
#include <QGraphicsScene>
#include <QGraphicsVideoItem>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

namespace qx {

namespace {

MediaStatus statusOf(QMediaPlayer::MediaStatus status) {
  switch (status) {
    case QMediaPlayer::NoMedia:
      return MediaStatus::NoMedia;
    case QMediaPlayer::LoadingMedia:
      return MediaStatus::Loading;
    case QMediaPlayer::LoadedMedia:
      return MediaStatus::Loaded;
    case QMediaPlayer::StalledMedia:
      return MediaStatus::Stalled;
    case QMediaPlayer::BufferingMedia:
      return MediaStatus::Buffering;
    case QMediaPlayer::BufferedMedia:
      return MediaStatus::Buffered;
    case QMediaPlayer::EndOfMedia:
      return MediaStatus::EndOfMedia;
    case QMediaPlayer::InvalidMedia:
      break;
  }
  return MediaStatus::Invalid;
}

PlaybackState stateOf(QMediaPlayer::PlaybackState state) {
  switch (state) {
    case QMediaPlayer::PlayingState:
      return PlaybackState::Playing;
    case QMediaPlayer::PausedState:
      return PlaybackState::Paused;
    case QMediaPlayer::StoppedState:
      break;
  }
  return PlaybackState::Stopped;
}

class QtMediaBackend final : public MediaBackend {
 public:
  QtMediaBackend(MediaEvents& events, QGraphicsScene* scene, QSizeF videoSize) {
    player_.setAudioOutput(&audio_);
    if (scene) {
      videoItem_ = new QGraphicsVideoItem;
      videoItem_->setSize(videoSize);
      scene->addItem(videoItem_);
      player_.setVideoOutput(videoItem_.data());
      QObject::connect(videoItem_->videoSink(), &QVideoSink::videoFrameChanged, &player_,
                       [&events](const QVideoFrame& frame) {
                         events.onFrameShown(frame.isValid() ? frame.startTime() : -1);
                       });
    }
    QObject::connect(&player_, &QMediaPlayer::positionChanged, &player_,
                     [&events](qint64 ms) { events.onPositionChanged(ms); });
    QObject::connect(&player_, &QMediaPlayer::durationChanged, &player_,
                     [&events](qint64 ms) { events.onDurationChanged(ms); });
    QObject::connect(&player_, &QMediaPlayer::playbackStateChanged, &player_,
                     [&events] { events.onPlaybackStateChanged(); });
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, &player_,
                     [&events] { events.onMediaStatusChanged(); });
    QObject::connect(&player_, &QMediaPlayer::errorOccurred, &player_,
                     [&events] { events.onErrorOccurred(); });
    QObject::connect(&audio_, &QAudioOutput::mutedChanged, &player_,
                     [&events] { events.onMutedChanged(); });
  }

  // The video item stays with its scene, which may go before or after the player.
  ~QtMediaBackend() override { player_.setVideoOutput(nullptr); }

  QtMediaBackend(const QtMediaBackend&) = delete;
  QtMediaBackend& operator=(const QtMediaBackend&) = delete;

  void setSource(const QString& localFile) override {
    player_.setSource(localFile.isEmpty() ? QUrl() : QUrl::fromLocalFile(localFile));
  }
  bool hasSource() const override { return !player_.source().isEmpty(); }
  void play() override { player_.play(); }
  void pause() override { player_.pause(); }
  void stop() override { player_.stop(); }
  void setPosition(qint64 ms) override { player_.setPosition(ms); }
  qint64 position() const override { return player_.position(); }
  qint64 duration() const override { return player_.duration(); }
  PlaybackState playbackState() const override { return stateOf(player_.playbackState()); }
  MediaStatus mediaStatus() const override { return statusOf(player_.mediaStatus()); }
  bool hasError() const override { return player_.error() != QMediaPlayer::NoError; }
  QString errorString() const override { return player_.errorString(); }
  void setVolume(float linear) override { audio_.setVolume(linear); }
  float volume() const override { return audio_.volume(); }
  void setMuted(bool muted) override { audio_.setMuted(muted); }
  bool isMuted() const override { return audio_.isMuted(); }
  QGraphicsObject* videoItem() const override { return videoItem_; }
  void clearPicture() override {
    if (videoItem_) videoItem_->videoSink()->setVideoFrame(QVideoFrame());
  }

 private:
  QAudioOutput audio_;  // outlives the player that plays into it
  QMediaPlayer player_;
  QPointer<QGraphicsVideoItem> videoItem_;
};

}  // namespace

std::unique_ptr<MediaBackend> makeQtMediaBackend(MediaEvents& events, QGraphicsScene* scene,
                                                 QSizeF videoSize) {
  return std::make_unique<QtMediaBackend>(events, scene, videoSize);
}

}  // namespace qx
