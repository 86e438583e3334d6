#include "serve/ServeFolder.h"

#include <QCoreApplication>

#include "publish/RufflePage.h"

namespace qx::serve {

ServedFolder serveFolder(const std::filesystem::path& root, bool withRuffle,
                         const ServeOptions& options) {
  ServedFolder result;
  auto server = std::make_unique<FileServer>(root, nullptr, options.limits);
  if (withRuffle) {
    const std::filesystem::path programFolder =
        options.programFolder.empty()
            ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
            : options.programFolder;
    const auto ruffle = findRuffleFolder(programFolder);
    if (!ruffle) {
      result.failure = ServedFolder::Failure::noRuffle;
      result.reason = QStringLiteral(
          "Ruffle not found (ruffle/ruffle.js beside the program, share/qx_flash_hs/ruffle, or "
          "QX_RUFFLE_DIR)");
      return result;
    }
    server->setRuffleFolder(*ruffle);
  }
  if (!server->listen(options.port)) {
    result.failure = ServedFolder::Failure::cannotListen;
    result.reason = QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                        .arg(options.port)
                        .arg(server->errorString());
    return result;
  }
  result.server = std::move(server);
  return result;
}

}  // namespace qx::serve
