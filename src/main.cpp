// qx_flash_hs: the application state, the main window with the saved options and the real
// preview player, then the window's event loop until the user confirms the exit.
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWindow>

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "help/BundledFonts.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/PreviewPlayer.h"
#include "project/OptionsFile.h"

namespace {

// With QX_STARTUP_BENCHMARK set, the program prints the wall-clock time (ns since the epoch) at
// which its window was first exposed on screen, and ends; scripts/bench_startup.sh uses it.
class ShownProbe : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWindow*>(watched);
    if (event->type() == QEvent::Expose && window && window->isExposed()) {
      window->removeEventFilter(this);
      QTimer::singleShot(0, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("shown %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qx::registerBundledFonts();
  QApplication::setStyle(QStringLiteral("Fusion"));

  qx::AppState state = qx::initialAppState(QDir::currentPath());
  const auto options = qx::optionsFilePath(qx::toPath(QCoreApplication::applicationFilePath()));
  const auto platform = qx::makeQtPlatform();
  qx::MainWindow window(state, *platform, qx::makePreviewPlayer(nullptr), options);

  ShownProbe probe;
  const bool benchmark = qEnvironmentVariableIsSet("QX_STARTUP_BENCHMARK");
  window.show();
  if (benchmark) window.windowHandle()->installEventFilter(&probe);
  app.exec();
  return 0;
}
