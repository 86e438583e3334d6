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

class QTcpSocket;

namespace qx::serve {

// A folder name can never start with "." in a URL this server answers, so Ruffle's files cannot
// be shadowed by, or shadow, the served folder's own.
inline constexpr std::string_view kRufflePath = "/.qx-ruffle/";

// What one client may hold of the server: a local page has no need of more, and a client that
// holds more (slow heads, idle connections, answers it does not read) is cut off.
struct ServerLimits {
  int maxConnections = 64;       // more are answered 503 and closed
  int headTimeoutMs = 10000;     // from the first byte of a request to its blank line
  int idleTimeoutMs = 60000;     // between requests on a kept connection
  int stalledTimeoutMs = 60000;  // an answer the client stops reading
};

class FileServer : public QObject {
 public:
  explicit FileServer(std::filesystem::path root, QObject* parent = nullptr,
                      ServerLimits limits = {});
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
  void accept(QTcpSocket* socket);

  std::filesystem::path root_;
  std::optional<std::filesystem::path> ruffle_;
  ServerLimits limits_;
  int connections_ = 0;  // before server_, whose sockets count down as they go
  QTcpServer server_;
};

}  // namespace qx::serve
