// velmora_redirect: makes the HTML5/WebGL version of a published page and lets the author test
// it in the browser. With --serve it is only the folder server, without a window.
#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <cstring>

#include "SelectorWindow.h"
#include "ServeMode.h"
#include "SingleInstance.h"

int main(int argc, char** argv) {
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
  // One copy at a time: a second start brings the first one forward and ends.
  if (qx::redirect::askRunningCopyToRaise()) return 0;
  qx::redirect::SelectorWindow window;
  qx::redirect::InstanceListener listener([&window] { window.bringForward(); });
  if (!listener.listen()) return 0;
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-')))
    window.openPage(arguments[1].toStdString());
  window.show();
  return QApplication::exec();
}
