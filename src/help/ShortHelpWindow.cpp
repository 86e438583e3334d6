#include <QDialog>
#include <QPushButton>

#include "fonts/BundledFonts.h"
#include "help/HelpWidgets.h"
#include "help/HelpWindows.h"
#include "platform/Platform.h"

namespace qx {

// The building blocks of the help windows.
using namespace help;

namespace {

constexpr std::uint32_t kWindowGrey = 0xA7A7A7;
constexpr std::uint32_t kLightGrey = 0xC0C0C0;
constexpr std::uint32_t kDarkGrey = 0x555555;
constexpr std::uint32_t kGrey = 0x808080;

struct OptionRow {
  int y;
  int nameId;
  const char* name;
  int explanationId;
  const char* explanation;
};

// One line per main option: its name as the main window shows it and what it does.
const OptionRow kOptionRows[] = {
    {150, 109, "  Window Size", 303,
     " The size of flash viewer window: 266x200, 300x200, 400x300, 480x360, 600x400, 640x480, "
     "700x300, 800x400 pixels."},
    {170, 110, "  Smooth Filter", 304, " Use the filter for better quality of 360 video stream."},
    {190, 111, "  Show Control", 305,
     " Show or Hide the Control's Panel (buttons, controls, etc.)"},
    {210, 117, "  Zoom value ", 306, " ZOOM value for determine of Zoom control"},
    {230, 119, "  Yaw value ", 307,
     " YAW value for determine of start rotation angle: 0 to 330 (360 degree), 30 degree step"},
    {250, 141, "  Pitch value", 309,
     " Position of vertical viewing: 30 to -30 degrees, 0 degree by default. Use the \"auto\" "
     "mode for common case."},
    {270, 139, "  Vertical angle limit", 310,
     " Limit of vertical angle: top: 50 to 90 degrees. bottom -50 to -90 degrees. Use the "
     "\"auto\" mode for cylindrical format."},
    {290, 125, "  Audio Volume ", 308, " Audio Volume, 0 to 100%,  100% is maximum value"},
    {310, 127, "  Html BGColor", 311, " Choose any background color for Html web page"},
    {330, 130, "  Html <TITLE>", 312, " Add any Html title for output web page"},
    {350, 136, "  Buffering time", 313,
     " Add buffering time, in a seconds, time which need for buffering of video stream in the "
     "Internet (for slow connection)."},
};

constexpr const char* kSteps =
    " 1. Select any FLV/F4V movie \n"
    " 2. Choose necessary options \n"
    " 3. Add any text and URL \n"
    " 4. Press the button \"Publish FLV/F4V\"\n"
    " 5. Set all output files to your Web page";

constexpr const char* kTodaysWeb =
    " Browsers have no Flash plug-in today: for a page that\n"
    " plays in them, use File > \"Publish for today's web...\"\n"
    " It adds Ruffle beside the page (and, if you like, the\n"
    " HTML5 version), then says what to upload.";

constexpr const char* kOutputFiles =
    "\n"
    "  1. Html Web Page\n"
    "  2. qx_flash_hs.swf\n"
    "  3. config.xml\n"
    "  4. FLV/F4V movie\n"
    "  5. ten hot spot icons, you can use your custom icons, instead this\n"
    "  _____________________________________________\n"
    "  Set all output files to your Web page";

QFont headingFont() {
  return QFont(serifFamily(), 20, QFont::Bold, true);
}
QFont sectionFont() {
  return QFont(serifFamily(), 15, QFont::Bold);
}

void addOptionRows(QDialog* dialog) {
  for (const OptionRow& row : kOptionRows) {
    // The two check-box options of the main window carry a static edge, the others are sunken.
    const bool checkBoxOption = row.nameId == 110 || row.nameId == 111;
    const int nameHeight = row.nameId == 141 ? 20 : 19;
    placeLabel(dialog, row.nameId, QRect(10, row.y, 110, nameHeight), QString::fromUtf8(row.name),
               {colourFromBgr(0xFFFFFF), colourFromBgr(kDarkGrey),
                checkBoxOption ? LabelEdge::StaticEdge : LabelEdge::Sunken});
    placeLabel(dialog, row.explanationId, QRect(123, row.y, 580, 19),
               QString::fromUtf8(row.explanation), {Qt::black, colourFromBgr(kLightGrey)});
  }
}

}  // namespace

std::unique_ptr<QDialog> buildShortHelp(QWidget* owner, Platform& platform) {
  auto dialog = makeFixedDialog(owner, QStringLiteral("Help"), QSize(710, 528),
                                colourFromBgr(kWindowGrey), Qt::WindowMinimizeButtonHint);
  QLabel* heading = placeLabel(dialog.get(), 100, QRect(0, 0, 710, 38),
                               QStringLiteral("  Instruction:"), {Qt::black, QColor(Qt::white)});
  heading->setFont(headingFont());
  placeLabel(dialog.get(), 101, QRect(10, 45, 300, 72), QString::fromUtf8(kSteps),
             {Qt::black, {}, LabelEdge::None, Qt::AlignLeft | Qt::AlignTop});
  placeLabel(dialog.get(), 315, QRect(320, 45, 380, 72), QString::fromUtf8(kTodaysWeb),
             {Qt::black, {}, LabelEdge::None, Qt::AlignLeft | Qt::AlignTop});
  const auto addSection = [&dialog](int id, int y, const char* text) {
    placeLabel(dialog.get(), id, QRect(10, y, 300, 24), QString::fromUtf8(text),
               {Qt::black, colourFromBgr(kLightGrey)})
        ->setFont(sectionFont());
  };
  addSection(102, 120, " Options:");
  addSection(103, 376, " Output files:");
  addOptionRows(dialog.get());
  placeLabel(dialog.get(), 314, QRect(10, 405, 694, 114), QString::fromUtf8(kOutputFiles),
             {Qt::white, colourFromBgr(kGrey), LabelEdge::Sunken, Qt::AlignLeft | Qt::AlignTop});

  auto* exitHelp = new QPushButton(QStringLiteral("Exit Help"), dialog.get());
  setControlId(exitHelp, 108);
  exitHelp->setFlat(true);
  exitHelp->setAutoFillBackground(true);
  exitHelp->setGeometry(645, 490, 50, 20);
  QDialog* window = dialog.get();
  QObject::connect(exitHelp, &QPushButton::clicked, window, [window, &platform] {
    playClick(platform);
    window->done(0);
  });

  finishDialog(window, owner);
  return dialog;
}

void showShortHelp(QWidget* owner, Platform& platform) {
  buildShortHelp(owner, platform)->exec();
}

}  // namespace qx
