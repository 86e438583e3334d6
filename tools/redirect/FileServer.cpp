#include "FileServer.h"

#include <QFile>
#include <QTcpSocket>
#include <memory>

#include "HttpRequest.h"
#include "publish/RufflePage.h"

namespace qx::redirect {
namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr qint64 kMaxQueued = 1024 * 1024;
// Pages larger than this are sent as they are: a published page is a few kilobytes.
constexpr qint64 kMaxRewrittenPage = 4 * 1024 * 1024;

bool isPage(const std::filesystem::path& file) {
  return contentType(file).starts_with("text/html");
}

// One client connection: reads requests one after the other and streams each answer, never
// holding more than a little of a file in memory.
class HttpConnection : public QObject {
 public:
  HttpConnection(QTcpSocket* socket, std::filesystem::path root,
                 std::optional<std::filesystem::path> ruffle)
      : QObject(socket), socket_(socket), root_(std::move(root)), ruffle_(std::move(ruffle)) {
    connect(socket_, &QTcpSocket::readyRead, this, [this] { readMore(); });
    connect(socket_, &QTcpSocket::bytesWritten, this, [this] {
      if (!sending_) return;
      pump();
      if (!sending_) handleBuffered();  // a request that came while the answer was sent
    });
  }

 private:
  void readMore() {
    buffer_ += socket_->readAll();
    if (!sending_) handleBuffered();
  }

  void handleBuffered() {
    while (!sending_ && socket_->state() == QAbstractSocket::ConnectedState) {
      const qsizetype end = buffer_.indexOf("\r\n\r\n");
      if (end < 0) {
        if (buffer_.size() > static_cast<qsizetype>(kMaxHeadSize))
          fail(431, "Request Header Fields Too Large");
        return;
      }
      if (end > static_cast<qsizetype>(kMaxHeadSize))
        return fail(431, "Request Header Fields Too Large");
      const std::string head = buffer_.left(end).toStdString();
      buffer_.remove(0, end + 4);
      const auto request = parseRequestHead(head);
      if (!request) return fail(400, "Bad Request");
      respond(*request);
    }
  }

  void respond(const RequestHead& request) {
    closeAfter_ = !request.keepAlive();
    // This server takes no uploads: a request with a body would leave it out of step.
    if (request.header("transfer-encoding") ||
        request.header("content-length").value_or("0") != "0")
      return fail(400, "Bad Request");
    if (request.method != "GET" && request.method != "HEAD") return fail(405, "Method Not Allowed");
    const auto path = resolve(request.target);
    if (!path) return answer(404, "Not Found", "text/plain; charset=utf-8", "Not found\n");
    auto file = std::make_unique<QFile>(QString::fromStdString(path->string()));
    if (!file->open(QIODevice::ReadOnly))
      return answer(404, "Not Found", "text/plain; charset=utf-8", "Not found\n");
    if (ruffle_ && isPage(*path) && file->size() <= kMaxRewrittenPage) {
      const QByteArray page = file->readAll();
      if (needsRuffle(std::string_view(page.constData(), static_cast<std::size_t>(page.size())))) {
        const std::string script = std::string(kRufflePath) + std::string(kRuffleScript);
        const std::string body = withRuffleScript(
            std::string_view(page.constData(), static_cast<std::size_t>(page.size())), script);
        // The rewritten page is always sent whole: a range of it would match no file.
        writeHead(200, "OK", QByteArray::fromStdString(contentType(*path)), body.size());
        if (request.method != "HEAD") socket_->write(body.data(), static_cast<qint64>(body.size()));
        return finished();
      }
      file->seek(0);
    }
    const auto size = static_cast<std::uint64_t>(file->size());
    const RangeAnswer range = answerRange(request.header("range"), size);
    if (range.kind == RangeKind::Unsatisfiable) {
      return answer(
          416, "Range Not Satisfiable", "text/plain; charset=utf-8", "",
          "Content-Range: bytes */" + QByteArray::number(static_cast<qulonglong>(size)) + "\r\n");
    }
    const bool partial = range.kind == RangeKind::Partial;
    const std::uint64_t first = partial ? range.first : 0;
    const std::uint64_t length = partial ? range.last - range.first + 1 : size;
    QByteArray extra;
    if (partial)
      extra = "Content-Range: bytes " + QByteArray::number(static_cast<qulonglong>(range.first)) +
              "-" + QByteArray::number(static_cast<qulonglong>(range.last)) + "/" +
              QByteArray::number(static_cast<qulonglong>(size)) + "\r\n";
    writeHead(partial ? 206 : 200, partial ? "Partial Content" : "OK",
              QByteArray::fromStdString(contentType(*path)), length, extra);
    if (request.method == "HEAD" || length == 0) return finished();
    if (!file->seek(static_cast<qint64>(first))) return closeNow();
    file_ = std::move(file);
    remaining_ = static_cast<qint64>(length);
    sending_ = true;
    pump();
  }

  // The file a target names: Ruffle's own under kRufflePath, the served folder's otherwise.
  std::optional<std::filesystem::path> resolve(const std::string& target) const {
    if (ruffle_ && target.starts_with(kRufflePath))
      return resolveTarget(*ruffle_, std::string_view(target).substr(kRufflePath.size() - 1));
    return resolveTarget(root_, target);
  }

  void writeHead(int status, const QByteArray& reason, const QByteArray& type, std::uint64_t length,
                 const QByteArray& extra = {}) {
    socket_->write(
        "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\nContent-Type: " + type +
        "\r\nContent-Length: " + QByteArray::number(static_cast<qulonglong>(length)) +
        "\r\nAccept-Ranges: bytes\r\nCache-Control: no-cache\r\n"
        "X-Content-Type-Options: nosniff\r\n" +
        extra + (closeAfter_ ? "Connection: close\r\n" : "Connection: keep-alive\r\n") + "\r\n");
  }

  void answer(int status, const QByteArray& reason, const QByteArray& type, const QByteArray& body,
              const QByteArray& extra = {}) {
    writeHead(status, reason, type, static_cast<std::uint64_t>(body.size()), extra);
    socket_->write(body);
    finished();
  }

  // A request this server cannot follow: answer it and close, as the rest of the stream
  // cannot be trusted.
  void fail(int status, const QByteArray& reason) {
    closeAfter_ = true;
    answer(status, reason, "text/plain; charset=utf-8", reason + "\n");
  }

  void pump() {
    if (!sending_) return;
    while (remaining_ > 0 && socket_->bytesToWrite() < kMaxQueued) {
      const QByteArray chunk = file_->read(std::min(kChunk, remaining_));
      if (chunk.isEmpty()) return closeNow();  // the file shrank under us
      remaining_ -= chunk.size();
      socket_->write(chunk);
    }
    if (remaining_ == 0) {
      sending_ = false;
      file_.reset();
      finished();
    }
  }

  void finished() {
    if (closeAfter_) socket_->disconnectFromHost();
  }

  void closeNow() {
    sending_ = false;
    file_.reset();
    socket_->abort();
  }

  QTcpSocket* socket_;
  std::filesystem::path root_;
  std::optional<std::filesystem::path> ruffle_;
  QByteArray buffer_;
  std::unique_ptr<QFile> file_;
  qint64 remaining_ = 0;
  bool sending_ = false;
  bool closeAfter_ = false;
};

}  // namespace

FileServer::FileServer(std::filesystem::path root, QObject* parent)
    : QObject(parent), root_(std::move(root)) {
  connect(&server_, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      new HttpConnection(socket, root_, ruffle_);  // owned by the socket
    }
  });
}

bool FileServer::listen(quint16 port) {
  return server_.listen(QHostAddress::LocalHost, port);
}

QString FileServer::baseUrl() const {
  return QStringLiteral("http://127.0.0.1:%1/").arg(port());
}

}  // namespace qx::redirect
