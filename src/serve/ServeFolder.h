#pragma once
// One way to start the folder server for a published page, shared by the desktop program's
// "Publish FLV/Test", the selector's "Test in browser" and `velmora_redirect --serve`.
#include <QString>
#include <filesystem>
#include <memory>

#include "serve/FileServer.h"

namespace qx::serve {

struct ServeOptions {
  // Where Ruffle is looked for (ruffle/ beside it, then share/...); empty: this program's folder.
  std::filesystem::path programFolder;
  quint16 port = 0;  // 0: a free one
  ServerLimits limits;
};

struct ServedFolder {
  enum class Failure { none, noRuffle, cannotListen };
  std::unique_ptr<FileServer> server;  // listening on 127.0.0.1; null on a failure
  Failure failure = Failure::none;
  QString reason;  // on a failure: one English sentence
};

// Serves `root`; with `withRuffle` also Ruffle, whose script line every Flash page then gets.
[[nodiscard]] ServedFolder serveFolder(const std::filesystem::path& root, bool withRuffle,
                                       const ServeOptions& options = {});

}  // namespace qx::serve
