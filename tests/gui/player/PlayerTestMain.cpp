// The player tests need a QApplication; without a platform chosen they run offscreen, so that
// listing the tests at build time needs no display either.
#include <gtest/gtest.h>

#include <QApplication>

#include "fonts/BundledFonts.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qx::registerBundledFonts();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
#ifdef __SANITIZE_ADDRESS__
  // Look for leaks now, while GStreamer's threads sit idle: at exit they are being torn down,
  // and the leak checker now and then crashes while stopping them.
  __lsan_do_leak_check();
#endif
  return result;
}
