#pragma once
// What the program asks of its media module (qx_flash_hs-media), the one library that links Qt
// Multimedia and Qt Network: the preview's player, the click's sound output, the local socket to
// the selector utility and the folder server. The program loads it on first need (see
// MediaModule.h), so that none of those libraries is loaded before the window shows. Only
// abstract classes cross between the two, so the module needs no symbol of the program; both are
// built from this header by the same compiler.
#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <filesystem>
#include <memory>

class QGraphicsObject;
class QGraphicsScene;

namespace qx {

struct WaveData;

enum class MediaStatus {
  NoMedia,
  Loading,
  Loaded,
  Stalled,
  Buffering,
  Buffered,
  EndOfMedia,
  Invalid
};
enum class PlaybackState { Stopped, Playing, Paused };

// What the media player tells as it plays, called from the event loop of the main thread.
class MediaEvents {
 public:
  virtual void onPositionChanged(qint64 ms) = 0;
  virtual void onDurationChanged(qint64 ms) = 0;
  virtual void onPlaybackStateChanged() = 0;
  virtual void onMediaStatusChanged() = 0;
  virtual void onErrorOccurred() = 0;
  virtual void onMutedChanged() = 0;
  // The start of the frame the picture shows now, in microseconds; -1 for none.
  virtual void onFrameShown(qint64 startUs) = 0;

 protected:
  ~MediaEvents() = default;
};

// A media player with its audio output and, when asked for, its video item.
class MediaBackend {
 public:
  virtual ~MediaBackend() = default;
  // A local file to play; an empty path takes the source away.
  virtual void setSource(const QString& localFile) = 0;
  virtual bool hasSource() const = 0;
  virtual void play() = 0;
  virtual void pause() = 0;
  virtual void stop() = 0;
  virtual void setPosition(qint64 ms) = 0;
  virtual qint64 position() const = 0;
  virtual qint64 duration() const = 0;
  virtual PlaybackState playbackState() const = 0;
  virtual MediaStatus mediaStatus() const = 0;
  virtual bool hasError() const = 0;
  virtual QString errorString() const = 0;
  // The output's linear factor, 0 to 1.
  virtual void setVolume(float linear) = 0;
  virtual float volume() const = 0;
  virtual void setMuted(bool muted) = 0;
  virtual bool isMuted() const = 0;
  // The item the video is drawn in; nullptr when made without a scene, or once the scene has
  // gone.
  virtual QGraphicsObject* videoItem() const = 0;
  // Takes the frame off the picture (which then shows black).
  virtual void clearPicture() = 0;
};

// One short sound, ready to be played again and again.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // From the start, cutting off the sound when it still plays.
  virtual void play() = 0;
};

// The folder server of a published page, listening until it is destroyed.
class FolderServer {
 public:
  virtual ~FolderServer() = default;
  virtual const std::filesystem::path& root() const = 0;
  // "http://127.0.0.1:PORT/"
  virtual QString baseUrl() const = 0;
};

struct ServedFolderResult {
  std::unique_ptr<FolderServer> server;  // null on a failure
  QString reason;                        // then one English sentence
};

class MediaServices {
 public:
  // A player whose video item, of `videoSize`, is put into `scene` (which owns it); without a
  // scene, a player for sound alone.
  virtual std::unique_ptr<MediaBackend> makeMediaBackend(MediaEvents& events, QGraphicsScene* scene,
                                                         QSizeF videoSize) = 0;
  // nullptr when there is no audio device, or none for this format.
  virtual std::unique_ptr<SoundOutput> makeSoundOutput(const WaveData& wave) = 0;
  // Sends `message` to the local server `name` (a socket or a named pipe); false when none
  // answers within `timeoutMs`.
  virtual bool sendToLocalServer(const QString& name, const QByteArray& message, int timeoutMs) = 0;
  // Serves `root` on 127.0.0.1, with Ruffle (looked for from `programFolder`) when asked.
  virtual ServedFolderResult serveFolder(const std::filesystem::path& root, bool withRuffle,
                                         const std::filesystem::path& programFolder) = 0;

 protected:
  ~MediaServices() = default;
};

// The module's one entry: `extern "C" qx::MediaServices* qx_flash_hs_media_services_1()`. The
// number changes with any change of this header, so an older module is refused, not misread.
inline constexpr const char* kMediaServicesEntry = "qx_flash_hs_media_services_1";
using MediaServicesEntry = MediaServices* (*)();

}  // namespace qx
