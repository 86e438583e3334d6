#include <QCursor>
#include <QDialog>
#include <QFrame>
#include <QPixmap>

#include "help/HelpWidgets.h"
#include "help/HelpWindows.h"
#include "platform/Platform.h"
#include "resources/Resources.h"

namespace qx {

// The building blocks of the help windows.
using namespace help;

namespace {

// The About window is laid out in dialog units; with the program's dialog font one unit is
// 6/4 pixels across and 13/8 pixels down, rounded as the host system rounds them.
constexpr int dialogUnitsX(int units) {
  return (units * 6 + 2) / 4;
}
constexpr int dialogUnitsY(int units) {
  return (units * 13 + 4) / 8;
}

QRect dialogUnitRect(int x, int y, int width, int height) {
  return QRect(QPoint(dialogUnitsX(x), dialogUnitsY(y)),
               QPoint(dialogUnitsX(x + width) - 1, dialogUnitsY(y + height) - 1));
}

constexpr std::uint32_t kWindowBlue = 0xC33214;
constexpr std::uint32_t kNameColour = 0x5FAAB4;
constexpr std::uint32_t kLinkText = 0x78D2DC;
constexpr std::uint32_t kLinkBackground = 0x7F0000;

// The program's own link cursor, a pointing hand whose fingertip is its hot spot; the system's
// hand only where the resource cannot be read.
QCursor linkCursor() {
  QPixmap picture;
  if (const auto bytes = findResource("CURSOR", "autor"))
    picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                         static_cast<uint>(bytes->size()));
  return picture.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(picture, 5, 0);
}

LinkLabel* addLink(QDialog* dialog, int id, const QRect& place, const QString& caption,
                   std::function<void()> follow) {
  auto* link = placeLabel<LinkLabel>(dialog, id, place, caption,
                                     {colourFromBgr(kLinkText), colourFromBgr(kLinkBackground),
                                      LabelEdge::Sunken, Qt::AlignCenter});
  link->setCursor(linkCursor());
  link->setOnClick(std::move(follow));
  return link;
}

}  // namespace

std::unique_ptr<QDialog> buildAbout(QWidget* owner, Platform& platform) {
  auto dialog =
      makeFixedDialog(owner, QStringLiteral("About"), QSize(dialogUnitsX(220), dialogUnitsY(210)),
                      colourFromBgr(kWindowBlue));
  QDialog* window = dialog.get();

  placeLabel(window, 2001, dialogUnitRect(15, 5, 180, 30),
             QStringLiteral("Velmora Rovev Avu Ruzi Vazudiru Ruredurov\n"
                            "360-degree video pages with hot spots"),
             {colourFromBgr(kNameColour), {}, LabelEdge::None, Qt::AlignCenter});

  auto* line = new QFrame(window);
  line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  line->setGeometry(dialogUnitRect(10, 35, 190, 2));

  placeLabel(window, 101, dialogUnitRect(150, 38, 50, 10), QStringLiteral(" Build 011.01"),
             {Qt::black, {}});

  // Following a link leaves the window open; what the desktop does with it is its own affair.
  Platform* host = &platform;
  addLink(window, 2002, dialogUnitRect(0, 169, 70, 11), QStringLiteral("E-mail support"),
          [host] { host->openDocument(QStringLiteral("mailto:") + QLatin1String(kSupportMail)); });
  addLink(window, 2004, dialogUnitRect(70, 169, 141, 11), QLatin1String(kWebSite),
          [host] { host->openDocument(QLatin1String(kWebSite)); });

  finishDialog(window, owner);
  return dialog;
}

void showAbout(QWidget* owner, Platform& platform) {
  buildAbout(owner, platform)->exec();
}

}  // namespace qx
