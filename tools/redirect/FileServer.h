#pragma once
// Serves the files of one folder over HTTP on 127.0.0.1, for testing published pages in a
// browser: GET and HEAD, single byte ranges (a video cannot seek without them), no listing of
// folders, nothing outside the folder. Given Ruffle's folder, it also serves Ruffle under
// kRufflePath and adds Ruffle's script line to every Flash page it sends, so the published
// Flash page plays in today's browsers while its file stays as published.
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qx::redirect {

// A folder name can never start with "." in a URL this server answers, so Ruffle's files cannot
// be shadowed by, or shadow, the served folder's own.
inline constexpr std::string_view kRufflePath = "/.qx-ruffle/";

class FileServer : public QObject {
 public:
  explicit FileServer(std::filesystem::path root, QObject* parent = nullptr);
  // Listens on 127.0.0.1 at `port` (0: a free one). False when the port cannot be had.
  bool listen(quint16 port = 0);
  quint16 port() const { return server_.serverPort(); }
  // "http://127.0.0.1:PORT/"
  QString baseUrl() const;
  QString errorString() const { return server_.errorString(); }
  const std::filesystem::path& root() const { return root_; }
  // Ruffle's folder (holding ruffle.js), or nullopt to serve pages exactly as they are.
  void setRuffleFolder(std::optional<std::filesystem::path> folder) { ruffle_ = std::move(folder); }

 private:
  std::filesystem::path root_;
  std::optional<std::filesystem::path> ruffle_;
  QTcpServer server_;
};

}  // namespace qx::redirect
