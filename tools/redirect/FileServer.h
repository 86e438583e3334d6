#pragma once
// Serves the files of one folder over HTTP on 127.0.0.1, for testing the WebGL page in a
// browser: GET and HEAD, single byte ranges (a video cannot seek without them), no listing of
// folders, nothing outside the folder.
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <filesystem>

namespace qx::redirect {

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

 private:
  std::filesystem::path root_;
  QTcpServer server_;
};

}  // namespace qx::redirect
