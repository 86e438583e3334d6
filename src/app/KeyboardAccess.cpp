// Keyboard and screen-reader access of the main window: every control reachable with Tab in
// reading order (header row, options column, preview and editor, hot-spot column), a name and a
// description (its pop-up help text) for each, and buttons that a mouse click leaves unfocused.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "app/ControlIds.h"
#include "app/GroupFrame.h"
#include "app/MainWindow.h"
#include "help/PopupHelpTexts.h"

namespace qx {
namespace {

// The Tab order, row by row and column by column as the window reads.
std::vector<int> readingOrder() {
  std::vector<int> order = {
      id::kSelectVideo, id::kOptionsByDefault, id::kPublish, id::kPublishTest, id::kAbout,
      id::kExit, id::kSaveOptions,
      // the options column
      id::kWindow, id::kSmooth, id::kControls, id::kZoom, id::kYaw, id::kPitch, id::kTilt,
      id::kTiltManual, id::kAudio, id::kBorder, id::kBuffering, id::kBgColourButton,
      id::kCustomSize, id::kCustomWidth, id::kCustomHeight, id::kFlashPlayer, id::kPanningMode,
      id::kClassic, id::kBlackAreas, id::kBlackColourButton, id::kIcon1, id::kIcon2, id::kOptimize,
      id::kQuality,
      // the preview and the editor below it
      id::kPlayer, id::kYawTrackbar, id::kLink, id::kHotSpotTitle, id::kAddHotSpot,
      id::kClearHotSpot, id::kClearAllHotSpots, id::kSelfMode, id::kHtmlTitle, id::kBalance};
  for (int n = 1; n <= 10; ++n) {
    order.push_back(id::rowId(id::kRowSelector, n));
    order.push_back(id::rowId(id::kRowTime, n));
  }
  order.push_back(id::kIframe);
  return order;
}

// Names of the controls that carry no text of their own: the caption beside them says it.
struct NamedControl {
  int id;
  const char* name;
};
constexpr NamedControl kNames[] = {
    {id::kPlayer, "Preview"},
    {id::kVideoPath, "FLV path"},
    {id::kWindow, "Window Size"},
    {id::kZoom, "Zoom value"},
    {id::kYaw, "Yaw value"},
    {id::kPitch, "Pitch value"},
    {id::kTilt, "Vertical angle limit"},
    {id::kTiltManual, "Vertical angle limit, manual"},
    {id::kAudio, "Audio Volume"},
    {id::kBuffering, "Buffering time, seconds"},
    {id::kBgColourSwatch, "Html BGColor"},
    {id::kBgColourButton, "Choose the Html BGColor"},
    {id::kCustomWidth, "Html custom width, pixels"},
    {id::kCustomHeight, "Html custom height, pixels"},
    {id::kFlashPlayer, "Flash Player type"},
    {id::kPanningMode, "Panning control"},
    {id::kBlackColourSwatch, "Black areas colour"},
    {id::kBlackColourButton, "Choose the black areas colour"},
    {id::kBlueIcon, "icon1 picture"},
    {id::kRedIcon, "icon2 picture"},
    {id::kOptimize, "GPU Optimization"},
    {id::kQuality, "Html Quality"},
    {id::kHtmlTitle, "Html TITLE"},
    {id::kBalance, "Audio Panning"},
    {id::kYawTrackbar, "Hot spot yaw"},
    {id::kLink, "Hot Spot Link"},
    {id::kHotSpotTitle, "Hot Spot Title"},
};

}  // namespace

void MainWindow::setUpKeyboardAccess() {
  for (const auto& [id, w] : controls_) {
    // Buttons and boxes come by Tab but not by a click, so a stray Space later does not press
    // the last clicked button again; text boxes, lists and the trackbar take the focus both ways.
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QSlider*>(w))
      w->setFocusPolicy(Qt::StrongFocus);
    else if (qobject_cast<QAbstractButton*>(w))
      w->setFocusPolicy(Qt::TabFocus);
    if (const QString help = popupHelpText(id); !help.isEmpty()) w->setAccessibleDescription(help);
    if (auto* group = dynamic_cast<GroupFrame*>(w))
      w->setAccessibleName(group->caption().trimmed());
  }
  for (const NamedControl& c : kNames)
    if (QWidget* w = control(c.id)) w->setAccessibleName(QString::fromLatin1(c.name));
  for (int n = 1; n <= 10; ++n) {
    const QString slot = QStringLiteral("Hot Spot %1 ").arg(n, 2, 10, QChar(u'0'));
    control(id::rowId(id::kRowYaw, n))->setAccessibleName(slot + QStringLiteral("yaw"));
    control(id::rowId(id::kRowPos, n))->setAccessibleName(slot + QStringLiteral("position"));
    control(id::rowId(id::kRowTime, n))->setAccessibleName(slot + QStringLiteral("time"));
  }
  // The player's own parts (transport buttons, sliders) come in its place in the order.
  const std::vector<int> order = readingOrder();
  QWidget* previous = nullptr;
  for (const int id : order) {
    QWidget* w = control(id);
    if (!w) continue;
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
}

}  // namespace qx
