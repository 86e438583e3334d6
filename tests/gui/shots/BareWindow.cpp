// The yardstick of scripts/bench/startup.sh: an empty 910 x 640 Qt window, started and shown as
// the program's own window is, printing "shown <ns since the epoch>" once it is first exposed.

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include "app/ShownProbe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  QWidget window;
  window.setFixedSize(910, 640);
  qx::ShownProbe probe;
  window.show();
  window.windowHandle()->installEventFilter(&probe);
  return app.exec();
}
