// The real velmora_redirect --serve, spoken to over plain sockets.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QProcess>

#include "common/TempFolder.h"
#include "project/FileIo.h"

namespace fs = std::filesystem;

namespace {

// One connection to the server; requests written raw, answers read until `expectBytes`
// arrived or the server closed.
class Client {
 public:
  explicit Client(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval t{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  }
  ~Client() { close(fd_); }
  bool connected() const { return connected_; }
  void send(const std::string& bytes) {
    ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads one answer: the head, then as many body bytes as Content-Length says.
  std::string answer(std::string* body = nullptr) {
    while (buffer_.find("\r\n\r\n") == std::string::npos && fill()) {
    }
    const std::size_t end = buffer_.find("\r\n\r\n");
    if (end == std::string::npos) return {};
    std::string head = buffer_.substr(0, end + 4);
    buffer_.erase(0, end + 4);
    std::size_t length = 0;
    if (const auto at = head.find("Content-Length: "); at != std::string::npos)
      length = std::stoul(head.substr(at + 16));
    const bool headRequest = lastWasHead_;
    if (!headRequest)
      while (buffer_.size() < length && fill()) {
      }
    if (body) *body = headRequest ? std::string() : buffer_.substr(0, length);
    if (!headRequest) buffer_.erase(0, std::min(length, buffer_.size()));
    return head;
  }
  void setNonBlocking() { fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK); }
  // Writes what the socket takes now; 0 when it takes nothing.
  std::size_t sendSome(const std::string& bytes) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    return n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  bool closedByServer() {
    char c;
    return read(fd_, &c, 1) == 0;
  }
  bool lastWasHead_ = false;

 private:
  bool fill() {
    char chunk[65536];
    const ssize_t n = read(fd_, chunk, sizeof chunk);
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(n));
    return true;
  }
  int fd_;
  bool connected_ = false;
  std::string buffer_;
};

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_ = outer_.path() / "site";
    fs::create_directories(site_ / "images");
    video_.resize(300000);
    for (std::size_t i = 0; i < video_.size(); ++i) video_[i] = static_cast<char>(i * 7 + i / 251);
    ASSERT_EQ(qx::writeFileReplacing(site_ / "tour.mp4", video_), std::nullopt);
    ASSERT_EQ(qx::writeFileReplacing(site_ / "tour.webgl.html", "<html>page</html>"), std::nullopt);
    ASSERT_EQ(qx::writeFileReplacing(outer_.path() / "private.txt", "private"), std::nullopt);
    prepare();
    start(extraArguments());
  }
  // (Re)starts the server with `extra` arguments.
  void start(const QStringList& extra = {}) {
    TearDown();
    server_.start(QStringLiteral(QX_REDIRECT),
                  QStringList{"--serve", QString::fromStdString(site_.string())} + extra);
    ASSERT_TRUE(server_.waitForStarted(5000));
    ASSERT_TRUE(server_.waitForReadyRead(5000));
    const QString url = QString::fromUtf8(server_.readLine()).trimmed();
    ASSERT_TRUE(url.startsWith("http://127.0.0.1:")) << url.toStdString();
    ASSERT_TRUE(url.endsWith("/"));
    port_ = url.mid(17).chopped(1).toInt();
    ASSERT_GT(port_, 0);
    host_ = "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n";
  }
  // For fixtures that serve more than the folder.
  virtual void prepare() {}
  virtual QStringList extraArguments() const { return {}; }
  void TearDown() override {
    if (server_.state() != QProcess::NotRunning) {
      server_.kill();
      server_.waitForFinished(5000);
    }
  }
  TempFolder outer_;
  fs::path site_;
  std::string video_;
  QProcess server_;
  int port_ = 0;
  std::string host_;  // the Host line every request needs
};

}  // namespace

TEST_F(ServerTest, ServesRangesAndHeadOnOneConnection) {
  Client c(port_);
  ASSERT_TRUE(c.connected());
  std::string body;
  c.send("GET /tour.webgl.html HTTP/1.1\r\n" + host_ + "\r\n");
  std::string head = c.answer(&body);
  EXPECT_EQ(head.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("Content-Type: text/html; charset=utf-8\r\n"), std::string::npos);
  EXPECT_NE(head.find("Accept-Ranges: bytes\r\n"), std::string::npos);
  EXPECT_EQ(body, "<html>page</html>");

  c.send("GET /tour.mp4 HTTP/1.1\r\n" + host_ + "Range: bytes=1000-1999\r\n\r\n");
  head = c.answer(&body);
  EXPECT_EQ(head.rfind("HTTP/1.1 206 Partial Content\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("Content-Range: bytes 1000-1999/300000\r\n"), std::string::npos);
  EXPECT_NE(head.find("Content-Type: video/mp4\r\n"), std::string::npos);
  EXPECT_EQ(body, video_.substr(1000, 1000));

  // Two requests in one write: suffix range, then the whole file (bigger than one chunk).
  c.send("GET /tour.mp4 HTTP/1.1\r\n" + host_ +
         "Range: bytes=-10\r\n\r\nGET /tour.mp4 HTTP/1.1\r\n" + host_ + "\r\n");
  head = c.answer(&body);
  EXPECT_NE(head.find("Content-Range: bytes 299990-299999/300000"), std::string::npos) << head;
  EXPECT_EQ(body, video_.substr(299990));
  head = c.answer(&body);
  EXPECT_EQ(head.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << head;
  EXPECT_TRUE(body == video_);

  c.lastWasHead_ = true;
  c.send("HEAD /tour.mp4 HTTP/1.1\r\n" + host_ + "\r\n");
  head = c.answer(&body);
  EXPECT_NE(head.find("Content-Length: 300000\r\n"), std::string::npos) << head;
  EXPECT_TRUE(body.empty());
  c.lastWasHead_ = false;

  c.send("GET /tour.mp4 HTTP/1.1\r\n" + host_ + "Range: bytes=300000-\r\n\r\n");
  head = c.answer(&body);
  EXPECT_EQ(head.rfind("HTTP/1.1 416 Range Not Satisfiable\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("Content-Range: bytes */300000\r\n"), std::string::npos);

  c.send("GET /tour.mp4 HTTP/1.1\r\n" + host_ + "Connection: close\r\nRange: bytes=0-0\r\n\r\n");
  head = c.answer(&body);
  EXPECT_EQ(body, video_.substr(0, 1));
  EXPECT_TRUE(c.closedByServer());
}

TEST_F(ServerTest, RefusesWhatItMustNotServe) {
  const auto status = [&](const std::string& request) {
    Client c(port_);
    c.send(request);
    const std::string head = c.answer();
    return head.substr(0, head.find("\r\n"));
  };
  EXPECT_EQ(status("GET /missing.html HTTP/1.1\r\n" + host_ + "\r\n"), "HTTP/1.1 404 Not Found");
  EXPECT_EQ(status("GET /../private.txt HTTP/1.1\r\n" + host_ + "\r\n"), "HTTP/1.1 404 Not Found");
  EXPECT_EQ(status("GET /%2e%2e/private.txt HTTP/1.1\r\n" + host_ + "\r\n"),
            "HTTP/1.1 404 Not Found");
  EXPECT_EQ(status("GET /images/ HTTP/1.1\r\n" + host_ + "\r\n"),
            "HTTP/1.1 404 Not Found");  // no listing
  EXPECT_EQ(status("GET / HTTP/1.1\r\n" + host_ + "\r\n"), "HTTP/1.1 404 Not Found");
  EXPECT_EQ(status("POST /tour.mp4 HTTP/1.1\r\n" + host_ + "\r\n"),
            "HTTP/1.1 405 Method Not Allowed");
  EXPECT_EQ(status("GET /tour.mp4 HTTP/1.1\r\n" + host_ + "Content-Length: 5\r\n\r\nhello"),
            "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(status("NONSENSE\r\n\r\n"), "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(status("GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n" + host_ + ""),
            "HTTP/1.1 431 Request Header Fields Too Large");
  // Only requests that name this server: a page of another site cannot read the folder by
  // pointing its own name here.
  const std::string port = std::to_string(port_);
  EXPECT_EQ(status("GET /tour.mp4 HTTP/1.1\r\nHost: attacker.example\r\n\r\n"),
            "HTTP/1.1 421 Misdirected Request");
  EXPECT_EQ(status("GET /tour.mp4 HTTP/1.1\r\nHost: attacker.example:" + port + "\r\n\r\n"),
            "HTTP/1.1 421 Misdirected Request");
  EXPECT_EQ(status("GET /tour.mp4 HTTP/1.1\r\n\r\n"), "HTTP/1.1 421 Misdirected Request");
  EXPECT_EQ(status("GET http://evil.example:" + port + "/tour.mp4 HTTP/1.1\r\n" + host_ + "\r\n"),
            "HTTP/1.1 421 Misdirected Request");
  EXPECT_EQ(status("GET /tour.mp4 HTTP/1.1\r\nHost: LocalHost:" + port + "\r\n\r\n"),
            "HTTP/1.1 200 OK");
  // Still serving after all that.
  EXPECT_EQ(status("GET /tour.mp4 HTTP/1.1\r\n" + host_ + "\r\n"), "HTTP/1.1 200 OK");
}

TEST_F(ServerTest, HoldsBackAClientThatSendsWithoutReading) {
  // Requests piped one after the other while the answers go unread: the server stops taking
  // them, so the client's writes block after a few MB instead of filling the server's memory.
  Client c(port_);
  c.setNonBlocking();
  std::string requests;
  while (requests.size() < 1 << 20) requests += "GET /tour.mp4 HTTP/1.1\r\n" + host_ + "\r\n";
  std::size_t sent = 0;
  for (int idle = 0; idle < 20 && sent < (std::size_t{256} << 20);) {
    const std::size_t n = c.sendSome(requests);
    sent += n;
    idle = n == 0 ? idle + 1 : 0;
    if (n == 0) usleep(50000);
  }
  EXPECT_LT(sent, std::size_t{32} << 20);
}

TEST_F(ServerTest, CapsConnectionsAndClosesIdleOnes) {
  start({"--max-connections", "3", "--head-timeout", "0.5", "--idle-timeout", "1"});
  const auto status = [&](Client& c, const std::string& request) {
    c.send(request);
    const std::string head = c.answer();
    return head.substr(0, head.find("\r\n"));
  };
  std::vector<std::unique_ptr<Client>> idle;
  for (int i = 0; i < 3; ++i) idle.push_back(std::make_unique<Client>(port_));
  idle[0]->send("GET /tour.mp4 HTTP/1.1\r\n");  // a head that never ends
  usleep(100000);
  Client refused(port_);
  EXPECT_EQ(status(refused, "GET /tour.webgl.html HTTP/1.1\r\n" + host_ + "\r\n"),
            "HTTP/1.1 503 Service Unavailable");
  // The unfinished head and the silent connections are closed, which lets a new client in.
  for (auto& c : idle) EXPECT_TRUE(c->closedByServer());
  Client later(port_);
  EXPECT_EQ(status(later, "GET /tour.webgl.html HTTP/1.1\r\n" + host_ + "\r\n"), "HTTP/1.1 200 OK");
}

TEST_F(ServerTest, EndsWhenItsInputCloses) {
  server_.closeWriteChannel();
  EXPECT_TRUE(server_.waitForFinished(5000));
  EXPECT_EQ(server_.exitCode(), 0);
}

// A published Flash page served with Ruffle: the script line added as the page is sent, Ruffle's
// files under their reserved path, the page on disk and every other file untouched.
class RuffleServerTest : public ServerTest {
 protected:
  void prepare() override {
    fs::create_directories(outer_.path() / "ruffle");
    ASSERT_EQ(qx::writeFileReplacing(outer_.path() / "ruffle" / "ruffle.js", "// ruffle"),
              std::nullopt);
    ASSERT_EQ(qx::writeFileReplacing(site_ / "tour.html", kFlashPage), std::nullopt);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QX_RUFFLE_DIR", QString::fromStdString((outer_.path() / "ruffle").string()));
    server_.setProcessEnvironment(env);
  }
  QStringList extraArguments() const override { return {"--with-ruffle"}; }
  static constexpr std::string_view kFlashPage =
      "<html>\r\n<head>\r\n    <title>T</title>\r\n</head>\r\n<body>\r\n"
      "<object type=\"application/x-shockwave-flash\" data=\"qx_flash_hs.swf\"></object>\r\n"
      "</body>\r\n</html>\r\n";
};

TEST_F(RuffleServerTest, AddsRuffleToFlashPagesOnly) {
  Client c(port_);
  std::string body;
  const std::string host = "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n";
  c.send("GET /tour.html HTTP/1.1\r\n" + host + "Range: bytes=0-9\r\n\r\n");
  std::string head = c.answer(&body);
  EXPECT_EQ(head.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << head;  // whole, whatever the range
  EXPECT_EQ(body,
            "<html>\r\n<head>\r\n    <title>T</title>\r\n"
            "    <script src=\"/.qx-ruffle/ruffle.js\"></script>\r\n</head>\r\n<body>\r\n"
            "<object type=\"application/x-shockwave-flash\" data=\"qx_flash_hs.swf\"></object>"
            "\r\n</body>\r\n</html>\r\n");
  EXPECT_EQ(qx::readFileBytes(site_ / "tour.html").value(), kFlashPage);

  c.send("GET /.qx-ruffle/ruffle.js HTTP/1.1\r\n" + host + "\r\n");
  head = c.answer(&body);
  EXPECT_NE(head.find("Content-Type: text/javascript"), std::string::npos) << head;
  EXPECT_EQ(body, "// ruffle");

  c.send("GET /tour.webgl.html HTTP/1.1\r\n" + host + "\r\n");
  c.answer(&body);
  EXPECT_EQ(body, "<html>page</html>");  // not a Flash page

  for (const char* outside : {"/.qx-ruffle/../tour.mp4", "/.qx-ruffle/%2e%2e/private.txt",
                              "/.qx-ruffle/", "/%2eqx-ruffle/ruffle.js"}) {
    c.send("GET " + std::string(outside) + " HTTP/1.1\r\n" + host + "\r\n");
    head = c.answer(&body);
    EXPECT_EQ(head.rfind("HTTP/1.1 404", 0), 0u) << outside << "\n" << head;
  }
}

TEST(ServeArguments, UsageErrorsExitWithTwo) {
  for (const QStringList& args : {QStringList{"--serve"}, QStringList{"--serve", "/no/such/folder"},
                                  QStringList{"--serve", "/tmp", "--port", "70000"},
                                  QStringList{"--serve", "/tmp", "--bogus"}}) {
    QProcess p;
    p.start(QStringLiteral(QX_REDIRECT), args);
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
  }
}
