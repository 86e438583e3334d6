#pragma once
// Serves the files of one folder over HTTP on 127.0.0.1, for testing the WebGL page in a
// browser: GET and HEAD, single byte ranges (a video cannot seek without them), no listing of
// folders, nothing outside the folder.
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <filesystem>

class QTcpSocket;

namespace qx::redirect {

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

 private:
  void accept(QTcpSocket* socket);

  std::filesystem::path root_;
  ServerLimits limits_;
  int connections_ = 0;  // before server_, whose sockets count down as they go
  QTcpServer server_;
};

}  // namespace qx::redirect
