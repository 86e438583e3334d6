#pragma once
// The preview's media engine: the media module's player behind a QObject with signals of its
// own, so that the preview and its transport bar bind to it as to any Qt object while the
// program itself links no Qt Multimedia.
#include <memory>

#include <QObject>

#include "platform/MediaServices.h"

namespace qx {

class MediaModule;

class MediaEngine : public QObject, private MediaEvents {
  Q_OBJECT

 public:
  // A player whose video item goes into `scene` (none: sound alone); nullptr when the media
  // module cannot be loaded.
  static std::unique_ptr<MediaEngine> make(MediaModule& module, QGraphicsScene* scene,
                                           QSizeF videoSize);
  explicit MediaEngine(MediaServices& services, QGraphicsScene* scene, QSizeF videoSize);
  ~MediaEngine() override;
  MediaEngine(const MediaEngine&) = delete;
  MediaEngine& operator=(const MediaEngine&) = delete;

  void setSource(const QString& localFile) { backend_->setSource(localFile); }
  bool hasSource() const { return backend_->hasSource(); }
  void play() { backend_->play(); }
  void pause() { backend_->pause(); }
  void stop() { backend_->stop(); }
  void setPosition(qint64 ms) { backend_->setPosition(ms); }
  qint64 position() const { return backend_->position(); }
  qint64 duration() const { return backend_->duration(); }
  PlaybackState playbackState() const { return backend_->playbackState(); }
  MediaStatus mediaStatus() const { return backend_->mediaStatus(); }
  bool hasError() const { return backend_->hasError(); }
  QString errorString() const { return backend_->errorString(); }
  void setVolume(float linear) { backend_->setVolume(linear); }
  float volume() const { return backend_->volume(); }
  void setMuted(bool muted) { backend_->setMuted(muted); }
  bool isMuted() const { return backend_->isMuted(); }
  QGraphicsObject* videoItem() const { return backend_->videoItem(); }
  void clearPicture() { backend_->clearPicture(); }

 signals:
  void positionChanged(qint64 ms);
  void durationChanged(qint64 ms);
  void playbackStateChanged();
  void mediaStatusChanged();
  void errorOccurred();
  void mutedChanged();
  void frameShown(qint64 startUs);

 private:
  // What the module's player tells, passed on as the signals above.
  void onPositionChanged(qint64 ms) override { emit positionChanged(ms); }
  void onDurationChanged(qint64 ms) override { emit durationChanged(ms); }
  void onPlaybackStateChanged() override { emit playbackStateChanged(); }
  void onMediaStatusChanged() override { emit mediaStatusChanged(); }
  void onErrorOccurred() override { emit errorOccurred(); }
  void onMutedChanged() override { emit mutedChanged(); }
  void onFrameShown(qint64 startUs) override { emit frameShown(startUs); }

  std::unique_ptr<MediaBackend> backend_;
};

}  // namespace qx
