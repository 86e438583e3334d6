// Takes a picture of the main window as it stands on screen (run it under Xvfb), with the real
// preview player. With a video it loads a project holding one hot spot on that video, selects
// the hot spot (the video paused at its moment, the marker at its yaw) and then takes the picture.
//
//   window_shot OUT.png [VIDEO YAW SECONDS]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "../Fakes.h"
#include "app/MainWindow.h"
#include "fonts/BundledFonts.h"
#include "platform/MediaModule.h"
#include "platform/QtText.h"
#include "project/ProjectFile.h"

namespace {

void settle(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 5) {
    std::fprintf(stderr, "usage: %s OUT.png [VIDEO YAW SECONDS]\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  qx::registerBundledFonts();
  QApplication::setStyle(QStringLiteral("Fusion"));
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QDir work(QDir::tempPath() + QStringLiteral("/qx_window_shot"));
  work.mkpath(QStringLiteral("."));

  qx::test::Log log;
  qx::test::FakePlatform platform(log);
  qx::AppState state = qx::initialAppState(work.path());
  qx::MediaModule media{std::filesystem::path(QX_MEDIA_MODULE_FILE)};
  qx::MainWindow window(state, platform, media, qx::makePreviewPlayer(nullptr, media),
                        qx::toPath(work.filePath(QStringLiteral("qx_flash_hs.ini"))));
  window.show();
  settle(500);

  if (argc == 5) {
    qx::ProjectSettings settings;
    settings.videoPath = qx::toPath(QString::fromLocal8Bit(argv[2])).string();
    settings.htmlTitle = "Hall tour";
    qx::HotSpotList spots;
    spots.set(
        1, {"http://www.example.org/hall", "Hall", std::atoi(argv[3]), std::atof(argv[4]), 5, 1});
    const auto project = qx::toPath(work.filePath(QStringLiteral("tour.pp")));
    if (qx::saveProjectFile(project, settings, spots)) return 1;
    platform.fileAnswers = {{qx::toQString(project)}};
    window.mainWindowProc(463, 0);  // Load Project: the video plays
    settle(1500);
    window.mainWindowProc(171, 0);  // select hot spot 1: paused at its moment
    settle(1500);
  }
  const QPixmap shot = window.screen()->grabWindow(window.winId());
  if (!shot.save(out)) return 1;
  std::printf("%s: %dx%d\n", argv[1], shot.width(), shot.height());
  return 0;
}
