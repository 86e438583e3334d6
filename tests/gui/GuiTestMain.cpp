// One QApplication for all GUI tests of this executable, on the offscreen platform unless the
// environment names another one.
#include <QApplication>

#include <gtest/gtest.h>

#include "fonts/BundledFonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qx::registerBundledFonts();
  QApplication::setStyle(QStringLiteral("Fusion"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
