// The media module's one entry: the services it gives the program (platform/MediaServices.h).
#include <QLocalSocket>

#include "mediamodule/QtMediaBackend.h"
#include "mediamodule/QtSoundOutput.h"
#include "platform/MediaServices.h"
#include "serve/ServeFolder.h"

namespace qx {

namespace {

class ServedFolderHandle final : public FolderServer {
 public:
  explicit ServedFolderHandle(std::unique_ptr<serve::FileServer> server)
      : server_(std::move(server)) {}
  const std::filesystem::path& root() const override { return server_->root(); }
  QString baseUrl() const override { return server_->baseUrl(); }

 private:
  std::unique_ptr<serve::FileServer> server_;
};

class QtMediaServices final : public MediaServices {
 public:
  std::unique_ptr<MediaBackend> makeMediaBackend(MediaEvents& events, QGraphicsScene* scene,
                                                 QSizeF videoSize) override {
    return makeQtMediaBackend(events, scene, videoSize);
  }

  std::unique_ptr<SoundOutput> makeSoundOutput(const WaveData& wave) override {
    return makeQtSoundOutput(wave);
  }

  bool sendToLocalServer(const QString& name, const QByteArray& message, int timeoutMs) override {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(message);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
  }

  ServedFolderResult serveFolder(const std::filesystem::path& root, bool withRuffle,
                                 const std::filesystem::path& programFolder) override {
    serve::ServeOptions options;
    options.programFolder = programFolder;
    serve::ServedFolder served = serve::serveFolder(root, withRuffle, options);
    if (!served.server) return {nullptr, served.reason};
    return {std::make_unique<ServedFolderHandle>(std::move(served.server)), {}};
  }
};

}  // namespace

}  // namespace qx

// The name is kMediaServicesEntry's.
extern "C" Q_DECL_EXPORT qx::MediaServices* qx_flash_hs_media_services_1() {
  static qx::QtMediaServices services;
  return &services;
}
