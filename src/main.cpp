// qx_flash_hs: the application state, the main window with the saved options and the real
// preview player, then the window's event loop until the user confirms the exit. Qt Multimedia
// and Qt Network are in the media module, loaded once something needs them.
#include <cstdio>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include "app/AppState.h"
#include "app/InstallLayout.h"
#include "app/MainWindow.h"
#include "app/OptionsLocation.h"
#include "app/ShownProbe.h"
#include "app/StartArguments.h"
#include "fonts/BundledFonts.h"
#include "platform/InstanceName.h"
#include "platform/MediaModule.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/PreviewPlayer.h"
#include "project/OptionsFile.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const qx::StartArguments start = qx::readStartArguments(args);
  switch (start.action) {
    case qx::StartArguments::Action::PrintHelp:
      std::fputs(qx::startUsage().c_str(), stdout);
      return 0;
    case qx::StartArguments::Action::PrintVersion:
      std::printf("qx_flash_hs %s\n", QX_VERSION);
      return 0;
    case qx::StartArguments::Action::Refuse:
      std::fprintf(stderr, "qx_flash_hs: %s\n%s", start.message.c_str(), qx::startUsage().c_str());
      return 2;
    case qx::StartArguments::Action::OpenWindow:
      break;
  }

  QApplication app(argc, argv);
  qx::registerBundledFonts();
  QApplication::setStyle(QStringLiteral("Fusion"));

  qx::AppState state = qx::initialAppState(QDir::currentPath());
  const auto options = qx::chooseOptionsLocation(
      qx::toPath(QCoreApplication::applicationFilePath()),
      qx::toPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
  state.programFolder = qx::toPath(QCoreApplication::applicationDirPath());
  state.optionsInUserFolder = !options.besideProgram;
  qx::MediaModule media(qx::mediaModuleFile(state.programFolder));
  const auto platform = qx::makeQtPlatform(qx::redirectInstanceName(), media);
  qx::MainWindow window(state, *platform, media, qx::makePreviewPlayer(nullptr, media),
                        options.file);

  qx::ShownProbe probe;
  const bool benchmark = qEnvironmentVariableIsSet("QX_STARTUP_BENCHMARK");
  window.show();
  if (benchmark) window.windowHandle()->installEventFilter(&probe);
  // The project named on the command line (a double-click on a .pp) loads once the window shows,
  // so that a failure appears over it.
  if (!start.project.empty())
    QTimer::singleShot(0, &window, [&window, file = QString::fromLocal8Bit(start.project.c_str())] {
      window.openProject(qx::toPath(file));
    });
  app.exec();
  return 0;
}
