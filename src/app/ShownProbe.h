#pragma once
// For scripts/bench/startup.sh: once the watched window is first exposed on screen, prints
// "shown <ns since the epoch>" and ends the program. The desktop program (with
// QX_STARTUP_BENCHMARK set) and the bare yardstick window both use it, so both are timed alike.
#include <chrono>
#include <cstdio>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWindow>

namespace qx {

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

}  // namespace qx
