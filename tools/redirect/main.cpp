// velmora_redirect: makes the HTML5/WebGL version of a published page and lets the author test
// it in the browser. With --serve it is only the folder server, without a window.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "SelectorWindow.h"
#include "ServeMode.h"
#include "SingleInstance.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmora_redirect [PAGE.html]\n"
    "       velmora_redirect --serve DIR [--port N] [--with-ruffle] [--max-connections N]\n"
    "                        [--head-timeout SECONDS] [--idle-timeout SECONDS]\n"
    "       velmora_redirect --help | --version\n\n"
    "Without --serve: the window that writes the HTML5/WebGL version of a published page\n"
    "(PAGE.html, or one opened in it) with its selector page, and tests them in the browser.\n"
    "--serve: the local folder server alone, without a window; it prints its address as the\n"
    "first line and serves DIR until killed or until its standard input closes. With\n"
    "--with-ruffle it adds Ruffle to the Flash pages it sends.\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before any QApplication is made: they need no display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("velmora_redirect %s\n", QX_VERSION);
      return 0;
    }
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--serve") == 0) {
      QCoreApplication app(argc, argv);
      QStringList arguments = QCoreApplication::arguments();
      arguments.removeFirst();
      return qx::redirect::runServeMode(arguments);
    }
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("velmora_redirect"));
  // One copy per user at a time: a second start brings the first one forward and ends.
  const auto running = qx::redirect::askRunningCopyToRaise();
  if (running == qx::redirect::RunningCopy::Raised) return 0;
  qx::redirect::SelectorWindow window;
  qx::redirect::InstanceListener listener([&window] { window.bringForward(); });
  // A name someone else holds costs only the bringing forward: this copy still opens.
  const bool single = running == qx::redirect::RunningCopy::None && listener.listen();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-')))
    window.openPage(arguments[1].toStdString());
  if (!single) {
    std::fprintf(stderr, "velmora_redirect: %s\n",
                 qx::redirect::strangerText().toLocal8Bit().constData());
    window.statusLabel()->setText(qx::redirect::strangerText());
  }
  window.show();
  return QApplication::exec();
}
