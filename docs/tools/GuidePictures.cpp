// Renders the pictures of the program's windows for the user's guide, offscreen, into the folder
// given as the only argument: the main window with a small example project, parts of it, the
// pop-up help over it, the short help window and the About window.
#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEnterEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>
#include <QTimer>

#include "PicturePlayer.h"
#include "app/AppState.h"
#include "app/ControlIds.h"
#include "app/MainWindow.h"
#include "fonts/BundledFonts.h"
#include "help/HelpWindows.h"
#include "platform/MediaModule.h"
#include "platform/Platform.h"
#include "project/ProjectSettings.h"

namespace {

using qx::MainWindow;
namespace id = qx::id;

// Nobody clicks in a picture: the platform layer only has to exist.
class SilentPlatform : public qx::Platform {
 public:
  qx::MessageAnswer messageBox(QWidget*, const QString&, const QString&, qx::MessageIcon,
                               bool) override {
    return qx::MessageAnswer::Ok;
  }
  QStringList runFileDialog(QWidget*, const qx::FileDialogRequest&) override { return {}; }
  void chooseColour(QWidget*, std::uint32_t,
                    std::function<void(std::optional<std::uint32_t>)> done) override {
    done(std::nullopt);
  }
  void openDocument(const QString&) override {}
  bool activateProgram(const QString&) override { return false; }
  bool startProgram(const QString&) override { return false; }
  void playResourceSound(std::string_view, std::string_view) override {}
};

void wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The offscreen platform draws no window frames; the guide shows a plain title bar around the
// client area so that a picture reads as a window.
QImage framed(const QImage& client, const QString& caption) {
  constexpr int kBar = 24;
  QImage picture(client.width() + 2, client.height() + kBar + 1, QImage::Format_RGB32);
  picture.fill(QColor(60, 60, 60));
  QPainter painter(&picture);
  painter.fillRect(QRect(1, 1, client.width(), kBar - 1), QColor(45, 70, 130));
  QFont font = QApplication::font();
  font.setPixelSize(13);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(10, 1, client.width() - 40, kBar - 1), Qt::AlignVCenter, caption);
  painter.drawText(QRect(client.width() - 24, 1, 20, kBar - 1), Qt::AlignCenter,
                   QStringLiteral("x"));
  painter.drawImage(1, kBar, client);
  return picture;
}

QImage windowPicture(QWidget* window) {
  window->show();
  wait(50);
  return framed(window->grab().toImage(), window->windowTitle());
}

// Numbered marks on a picture, for a table that explains the areas by number.
QImage numbered(QImage picture, const std::vector<QPoint>& marks) {
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = QApplication::font();
  font.setPixelSize(13);
  font.setBold(true);
  painter.setFont(font);
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const QRect disc(marks[i] - QPoint(11, 11), QSize(22, 22));
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(200, 30, 30));
    painter.drawEllipse(disc);
    painter.drawText(disc, Qt::AlignCenter, QString::number(i + 1));
  }
  return picture;
}

void hover(QWidget* control) {
  const QPointF inside(5, 5);
  QEnterEvent enter(inside, control->mapTo(control->window(), inside),
                    control->mapToGlobal(inside));
  QCoreApplication::sendEvent(control, &enter);
}

// The author's steps for one hot spot: row, direction, link and title, moment, Add Hot Spot.
void addHotSpot(MainWindow& window, qx::guide::PicturePlayer& player, int row, int yaw,
                const char* link, const char* title, double seconds) {
  window.mainWindowProc(id::kRowSelector + row - 1, 0);
  static_cast<QSlider*>(window.control(id::kYawTrackbar))->setValue(yaw);
  static_cast<QLineEdit*>(window.control(id::kLink))->setText(QLatin1String(link));
  static_cast<QLineEdit*>(window.control(id::kHotSpotTitle))->setText(QLatin1String(title));
  player.position = seconds;
  window.mainWindowProc(id::kAddHotSpot, 0);
}

struct Pictures {
  std::vector<std::pair<const char*, QImage>> images;
  void add(const char* name, QImage image) { images.emplace_back(name, std::move(image)); }
};

void mainWindowPictures(Pictures& pictures, const QDir& scratch) {
  SilentPlatform platform;
  qx::AppState state = qx::initialAppState(scratch.path());
  auto player = std::make_unique<qx::guide::PicturePlayer>();
  qx::guide::PicturePlayer& scene = *player;
  // Nothing in the pictures plays, clicks or serves a page: no media module.
  qx::MediaModule noMedia{std::filesystem::path()};
  MainWindow window(
      state, platform, noMedia, std::move(player),
      std::filesystem::path(scratch.filePath(QStringLiteral("qx_flash_hs.ini")).toStdString()));
  qx::ProjectSettings example = window.currentSettings();
  example.videoPath = "/home/author/tours/lobby.flv";
  example.htmlTitle = "The lobby";
  window.applySettings(example);
  addHotSpot(window, scene, 2, -100, "http://www.example.com/shop.html", "Shop", 31.0);
  addHotSpot(window, scene, 1, 45, "room2.html", "North Way", 12.5);
  window.show();
  wait(100);

  const QImage client = window.grab().toImage();
  const QImage whole = framed(client, window.windowTitle());
  pictures.add("main-window.png", whole);
  // The areas that the chapter on the window explains, in its order; positions in the framed
  // picture (client position plus the frame's title bar).
  const QPoint bar(1, 24 + window.centralWidget()->y());
  pictures.add(
      "main-window-areas.png",
      numbered(whole, {bar + QPoint(22, 38), bar + QPoint(880, 87), bar + QPoint(520, 111),
                       bar + QPoint(100, 140), bar + QPoint(470, 300), bar + QPoint(470, 478),
                       bar + QPoint(240, 505), bar + QPoint(800, 140), bar + QPoint(700, 604)}));

  const QPoint origin = window.centralWidget()->pos();
  pictures.add("options.png", client.copy(QRect(origin + QPoint(0, 125), QSize(252, 495))));
  pictures.add("hot-spot-editing.png",
               client.copy(QRect(origin + QPoint(245, 125), QSize(665, 495))));

  // The pop-up help as it appears over the window, beside the window-size option.
  QWidget* windowSize = window.control(id::kWindowCaption);
  hover(windowSize);
  wait(700);
  auto* tip = window.findChild<QWidget*>(QStringLiteral("qxPopupTip"));
  if (!tip || !tip->isVisible()) return;
  QImage area = client.copy(QRect(origin + QPoint(0, 125), QSize(460, 300)));
  QPainter painter(&area);
  const QPoint below = windowSize->mapTo(window.centralWidget(), QPoint(40, 24));
  painter.drawImage(below - QPoint(0, 125), tip->grab().toImage());
  painter.end();
  pictures.add("popup-help.png", area);
}

void helpWindowPictures(Pictures& pictures) {
  SilentPlatform platform;
  QWidget owner;
  pictures.add("short-help.png", windowPicture(qx::buildShortHelp(&owner, platform).get()));
  pictures.add("about.png", windowPicture(qx::buildAbout(&owner, platform).get()));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qx::registerBundledFonts();
  QApplication::setStyle(QStringLiteral("Fusion"));
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("scratch"))) {
    std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
    return 1;
  }
  Pictures pictures;
  // No options file in the scratch folder: the window shows the built-in defaults.
  const QDir scratch(folder.filePath(QStringLiteral("scratch")));
  QFile::remove(scratch.filePath(QStringLiteral("qx_flash_hs.ini")));
  mainWindowPictures(pictures, scratch);
  helpWindowPictures(pictures);

  bool ok = pictures.images.size() == 7;
  if (!ok) std::fprintf(stderr, "the pop-up help did not show for its picture\n");
  for (const auto& [name, image] : pictures.images) {
    const QString path = folder.filePath(QLatin1String(name));
    if (image.isNull() || !image.save(path)) {
      std::fprintf(stderr, "could not make the picture %s\n", qPrintable(path));
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
