// One QApplication for all GUI tests of this executable, on the offscreen platform unless the
// environment names another one.
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include "fonts/BundledFonts.h"

namespace {

// The window's Exit ends the application's loop; with no loop running, that leaves every later
// dialog's and wait's loop returning at once. A short run of the application's own loop after
// each test takes the request back.
class ExitRequestReset : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qx::registerBundledFonts();
  QApplication::setStyle(QStringLiteral("Fusion"));
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ExitRequestReset);
  return RUN_ALL_TESTS();
}
