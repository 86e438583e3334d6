// The yardstick of scripts/bench_startup.sh: an empty 910 x 640 Qt window, started and shown as
// the program's own window is, printing "shown <ns since the epoch>" once it is first exposed.
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

class ExposedOnce : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWindow*>(watched);
    if (event->type() != QEvent::Expose || !window || !window->isExposed()) return false;
    window->removeEventFilter(this);
    QTimer::singleShot(0, [] {
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::printf("shown %lld\n",
                  static_cast<long long>(
                      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
      std::fflush(stdout);
      QCoreApplication::exit(0);
    });
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  QWidget window;
  window.setFixedSize(910, 640);
  ExposedOnce probe;
  window.show();
  window.windowHandle()->installEventFilter(&probe);
  return app.exec();
}
