#include "ServeMode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <filesystem>

#include "serve/ServeFolder.h"

namespace qx::redirect {
namespace {

int usage(const char* why) {
  std::fprintf(
      stderr,
      "velmora_redirect: %s\nUsage: velmora_redirect --serve DIR [--port N] [--with-ruffle]\n"
      "       [--max-connections N] [--head-timeout SECONDS] [--idle-timeout SECONDS]\n",
      why);
  return 2;
}

// Standard input that can close under us: a pipe, a socket or a terminal. /dev/null or a file
// would read as closed at once, so it is not watched.
bool stdinCanClose() {
  struct stat st {};
  if (fstat(STDIN_FILENO, &st) != 0) return false;
  return S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(STDIN_FILENO);
}

}  // namespace

int runServeMode(const QStringList& arguments) {
  QString dir;
  int port = 0;
  bool withRuffle = false;
  serve::ServerLimits limits;
  // A positive number of seconds, as milliseconds; 0 when unreadable.
  const auto milliseconds = [](const QString& text) {
    bool ok = false;
    const double s = text.toDouble(&ok);
    return ok && s > 0 && s <= 86400 ? static_cast<int>(s * 1000) : 0;
  };
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QLatin1String("--serve") && i + 1 < arguments.size() && dir.isEmpty()) {
      dir = arguments[++i];
    } else if (a == QLatin1String("--port") && i + 1 < arguments.size()) {
      bool ok = false;
      port = arguments[++i].toInt(&ok);
      if (!ok || port < 0 || port > 65535)
        return usage("the port must be a number from 0 to 65535");
    } else if (a == QLatin1String("--with-ruffle")) {
      withRuffle = true;
    } else if (a == QLatin1String("--max-connections") && i + 1 < arguments.size()) {
      bool ok = false;
      limits.maxConnections = arguments[++i].toInt(&ok);
      if (!ok || limits.maxConnections < 1 || limits.maxConnections > 10000)
        return usage("the connection limit must be a number from 1 to 10000");
    } else if ((a == QLatin1String("--head-timeout") || a == QLatin1String("--idle-timeout")) &&
               i + 1 < arguments.size()) {
      const int ms = milliseconds(arguments[++i]);
      if (ms == 0) return usage("a timeout must be a number of seconds above 0");
      (a == QLatin1String("--head-timeout") ? limits.headTimeoutMs : limits.idleTimeoutMs) = ms;
    } else {
      return usage(("unexpected argument " + a.toStdString()).c_str());
    }
  }
  if (dir.isEmpty()) return usage("--serve needs a folder");
  std::error_code ec;
  const std::filesystem::path root = std::filesystem::canonical(dir.toStdString(), ec);
  if (ec || !std::filesystem::is_directory(root, ec))
    return usage(("no such folder: " + dir.toStdString()).c_str());

  serve::ServeOptions options;
  options.port = static_cast<quint16>(port);
  options.limits = limits;
  const serve::ServedFolder served = serve::serveFolder(root, withRuffle, options);
  if (!served.server) {
    std::fprintf(stderr, "velmora_redirect: %s\n", served.reason.toLocal8Bit().constData());
    return 1;
  }
  const serve::FileServer& server = *served.server;
  std::printf("%s\n", server.baseUrl().toLatin1().constData());
  std::fflush(stdout);

  std::unique_ptr<QSocketNotifier> stdinWatch;
  if (stdinCanClose()) {
    stdinWatch = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(stdinWatch.get(), &QSocketNotifier::activated, [&] {
      char buffer[4096];
      const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) {
        stdinWatch->setEnabled(false);
        QCoreApplication::quit();
      }
    });
  }
  return QCoreApplication::exec();
}

}  // namespace qx::redirect
