#include "serve/FileServer.h"

#include <QFile>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "publish/RufflePage.h"
#include "serve/HttpRequest.h"

namespace qx::serve {
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
                 std::optional<std::filesystem::path> ruffle, quint16 port,
                 const ServerLimits& limits)
      : QObject(socket),
        socket_(socket),
        root_(std::move(root)),
        ruffle_(std::move(ruffle)),
        port_(port),
        limits_(limits) {
    // Qt stops taking bytes from the system past this, so a client that sends more than a head
    // while its answer is queued is held back by TCP itself.
    socket_->setReadBufferSize(static_cast<qint64>(kMaxHeadSize) + 4);
    connect(socket_, &QTcpSocket::readyRead, this, [this] { handleBuffered(); });
    connect(socket_, &QTcpSocket::bytesWritten, this, [this] {
      if (sending_) {
        deadline_.start(limits_.stalledTimeoutMs);  // the client still reads
        pump();
      }
      handleBuffered();  // a request that came while the answer was sent
    });
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { socket_->abort(); });
    waitForHead();
  }

 private:
  // A new request is read only once the answer before it has (nearly) left: what one
  // connection holds stays bounded however many requests it sends without reading.
  bool readyForRequest() const {
    return !sending_ && socket_->bytesToWrite() < kMaxQueued &&
           socket_->state() == QAbstractSocket::ConnectedState;
  }

  // Idle until the first byte of a head arrives, then the head's own (shorter) time.
  void waitForHead() {
    const bool started = !buffer_.isEmpty() || socket_->bytesAvailable() > 0;
    if (!started) {
      headStarted_ = false;
      deadline_.start(limits_.idleTimeoutMs);
    } else if (!headStarted_) {
      headStarted_ = true;
      deadline_.start(limits_.headTimeoutMs);
    }
  }

  void handleBuffered() {
    while (readyForRequest()) {
      buffer_ += socket_->read(static_cast<qint64>(kMaxHeadSize) + 4 - buffer_.size());
      waitForHead();
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
      headStarted_ = false;
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
    if (!hostAllowed(request, port_)) return fail(421, "Misdirected Request");
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
    deadline_.start(limits_.stalledTimeoutMs);
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
    if (closeAfter_)
      socket_->disconnectFromHost();
    else
      waitForHead();
  }

  void closeNow() {
    sending_ = false;
    file_.reset();
    socket_->abort();
  }

  QTcpSocket* socket_;
  std::filesystem::path root_;
  std::optional<std::filesystem::path> ruffle_;
  quint16 port_;
  ServerLimits limits_;
  QTimer deadline_;
  bool headStarted_ = false;
  QByteArray buffer_;
  std::unique_ptr<QFile> file_;
  qint64 remaining_ = 0;
  bool sending_ = false;
  bool closeAfter_ = false;
};

}  // namespace

FileServer::FileServer(std::filesystem::path root, QObject* parent, ServerLimits limits)
    : QObject(parent), root_(std::move(root)), limits_(limits) {
  connect(&server_, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection()) accept(socket);
  });
}

void FileServer::accept(QTcpSocket* socket) {
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  if (connections_ >= limits_.maxConnections) {
    // Past the cap a client is told so at once, rather than left waiting unanswered.
    socket->write(
        "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\n"
        "Content-Length: 20\r\nRetry-After: 5\r\nConnection: close\r\n\r\nService Unavailable\n");
    socket->disconnectFromHost();
    QTimer::singleShot(1000, socket, [socket] { socket->abort(); });
    return;
  }
  ++connections_;
  connect(socket, &QObject::destroyed, this, [this] { --connections_; });
  new HttpConnection(socket, root_, ruffle_, server_.serverPort(), limits_);  // owned by the socket
}

bool FileServer::listen(quint16 port) {
  return server_.listen(QHostAddress::LocalHost, port);
}

QString FileServer::baseUrl() const {
  return QStringLiteral("http://127.0.0.1:%1/").arg(port());
}

}  // namespace qx::serve
