// Renders the pictures of the program's windows for the user's guide, offscreen, into the folder
// given as the only argument: the short help window, the About window and a pop-up help tip.
#include <cstdio>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEnterEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include "help/HelpWidgets.h"
#include "help/HelpWindows.h"
#include "help/PopupHelp.h"
#include "platform/Platform.h"

namespace {

// Nobody clicks in a picture: the platform layer only has to exist.
class SilentPlatform : public qx::Platform {
 public:
  qx::MessageAnswer messageBox(QWidget*, const QString&, const QString&, qx::MessageIcon,
                               bool) override {
    return qx::MessageAnswer::Ok;
  }
  QStringList runFileDialog(QWidget*, const qx::FileDialogRequest&) override { return {}; }
  std::optional<std::uint32_t> chooseColour(QWidget*, std::uint32_t) override {
    return std::nullopt;
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

QImage tipPicture() {
  QWidget window;
  window.resize(200, 60);
  auto* label = new QLabel(QStringLiteral(" Window Size"), &window);
  label->setGeometry(10, 10, 110, 19);
  window.show();
  const auto help = qx::buildToolTips(
      &window, [label](int id) -> QWidget* { return id == 109 ? label : nullptr; });
  const QPointF inside(5, 5);
  QEnterEvent enter(inside, inside, label->mapToGlobal(inside));
  QCoreApplication::sendEvent(label, &enter);
  wait(700);
  auto* tip = window.findChild<QWidget*>(QStringLiteral("qxPopupTip"));
  return tip && tip->isVisible() ? tip->grab().toImage() : QImage();
}

bool save(const QImage& picture, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QLatin1String(name));
  if (picture.isNull() || !picture.save(path)) {
    std::fprintf(stderr, "could not make the picture %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
    return 1;
  }
  SilentPlatform platform;
  QWidget owner;
  bool ok =
      save(windowPicture(qx::buildShortHelp(&owner, platform).get()), folder, "short-help.png");
  ok = save(windowPicture(qx::buildAbout(&owner, platform).get()), folder, "about.png") && ok;
  ok = save(tipPicture(), folder, "popup-help.png") && ok;
  return ok ? 0 : 1;
}
