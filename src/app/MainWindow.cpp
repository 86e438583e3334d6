#include "app/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>

#include "app/ControlIds.h"
#include "app/Controls.h"
#include "app/ResourceImages.h"
#include "help/PopupHelp.h"
#include "platform/MediaModule.h"
#include "platform/MediaServices.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/ColourButton.h"
#include "preview/HotSpotEditor.h"
#include "preview/PreviewPlayer.h"

namespace qx {

MainWindow::MainWindow(AppState& state, Platform& platform, MediaModule& media,
                       std::unique_ptr<PreviewPlayer> player, std::filesystem::path optionsFilePath,
                       HelpHooks help)
    : state_(state),
      platform_(platform),
      media_(media),
      player_(std::move(player)),
      help_(std::move(help)) {
  media_.setWarning([this](const QString& text) { warnAbout(text); });
  state_.optionsFilePath = std::move(optionsFilePath);
  if (state_.programFolder.empty()) state_.programFolder = state_.optionsFilePath.parent_path();

  setWindowTitle(QStringLiteral("Velmora Rovev Avu Ruzi Vazudiru Ruredurov"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(defaultFont());
  client_ = new QWidget(this);
  QPalette grey = client_->palette();
  grey.setColor(QPalette::Window, QColor(135, 135, 135));
  grey.setColor(QPalette::WindowText, Qt::black);
  client_->setPalette(grey);
  client_->setAutoFillBackground(true);
  setCentralWidget(client_);

  buildMenu();
  buildHeaderAndCommands();
  buildYawSelector();
  buildHotSpotEditor();
  buildHotSpotRows();
  connectEditor();
  buildFirstOptions();
  buildRemainingOptions(readOptionsPartWay());
  buildAccelerators();
  setUpKeyboardAccess();

  // The menu bar takes its height from the 640 pixels; the controls lie in the top 614.
  setFixedSize(910, 640);
  setWindowIcon(windowIconResource());
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());

  if (help_.buildToolTips)
    popupHelp_ = help_.buildToolTips(this, [this](int id) { return control(id); });
  setToolTipHelp(state_.tooltipHelp == 1);
}

MainWindow::~MainWindow() {
  media_.setWarning(nullptr);
  // The player goes before the controls, its own widget among them.
  editor_.reset();
  if (player_) player_->releasePlayer();
  player_.reset();
}

QWidget* MainWindow::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

std::vector<int> MainWindow::controlIds() const {
  std::vector<int> ids;
  for (const auto& entry : controls_) ids.push_back(entry.first);
  return ids;
}

QAction* MainWindow::menuItem(int id) const {
  const auto found = menuItems_.find(id);
  return found == menuItems_.end() ? nullptr : found->second;
}

void MainWindow::connectEditor() {
  HotSpotControls c;
  c.link = as<QLineEdit>(id::kLink);
  c.title = as<QLineEdit>(id::kHotSpotTitle);
  c.selfMode = as<QCheckBox>(id::kSelfMode);
  c.trackbar = as<QSlider>(id::kYawTrackbar);
  for (int n = 1; n <= 10; ++n) {
    const auto i = static_cast<std::size_t>(n - 1);
    c.selectors[i] = as<QCheckBox>(id::rowId(id::kRowSelector, n));
    c.yawReadouts[i] = as<QLabel>(id::rowId(id::kRowYaw, n));
    c.posReadouts[i] = as<QLabel>(id::rowId(id::kRowPos, n));
    c.timeBoxes[i] = as<QLineEdit>(id::rowId(id::kRowTime, n));
  }
  editor_ = std::make_unique<HotSpotEditor>(
      HotSpotState{state_.hotSpots, state_.currentHotSpot, state_.hotSpotYaw}, c, *player_,
      platform_, this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box, Alt+F4 and the system menu ask as the Exit command does.
  if (!exitConfirmed_ && !confirmExit()) {
    event->ignore();
    return;
  }
  event->accept();
  QCoreApplication::exit(0);
}

bool MainWindow::confirmExit() {
  return platform_.messageBox(this, QStringLiteral("Are you sure?"), QStringLiteral("Exit IDE"),
                              MessageIcon::Warning, true) == MessageAnswer::Ok;
}

void MainWindow::setToolTipHelp(bool on) {
  if (QAction* item = menuItem(id::kToolTipHelp)) item->setChecked(on);
  if (popupHelp_) popupHelp_->setActive(on);
  if (player_) player_->showOwnToolTips(on);
}

namespace {

// The options each kind of control carries, for reading and setting them alike.
struct ListField {
  int id;
  int ProjectSettings::*field;
};
struct FlagField {
  int id;
  int ProjectSettings::*field;
};
struct TextField {
  int id;
  std::string ProjectSettings::*field;
};
constexpr ListField kLists[] = {{id::kWindow, &ProjectSettings::window},
                                {id::kYaw, &ProjectSettings::yaw},
                                {id::kZoom, &ProjectSettings::zoom},
                                {id::kTilt, &ProjectSettings::tilt},
                                {id::kPitch, &ProjectSettings::pitch},
                                {id::kAudio, &ProjectSettings::audio},
                                {id::kBalance, &ProjectSettings::balance},
                                {id::kFlashPlayer, &ProjectSettings::flashPlayer},
                                {id::kPanningMode, &ProjectSettings::panningMode},
                                {id::kOptimize, &ProjectSettings::optimize},
                                {id::kQuality, &ProjectSettings::htmlQuality}};
constexpr FlagField kFlags[] = {
    {id::kSmooth, &ProjectSettings::smooth},         {id::kControls, &ProjectSettings::controls},
    {id::kBorder, &ProjectSettings::border},         {id::kSelfMode, &ProjectSettings::hsSelfMode},
    {id::kCustomSize, &ProjectSettings::customSize}, {id::kIframe, &ProjectSettings::iframe}};
constexpr TextField kTexts[] = {{id::kHtmlTitle, &ProjectSettings::htmlTitle},
                                {id::kBuffering, &ProjectSettings::startBufferingTime},
                                {id::kCustomWidth, &ProjectSettings::customWidth},
                                {id::kCustomHeight, &ProjectSettings::customHeight},
                                {id::kTiltManual, &ProjectSettings::tiltManual}};

}  // namespace

ProjectSettings MainWindow::currentSettings() const {
  ProjectSettings s;
  for (const auto& f : kLists) s.*f.field = as<QComboBox>(f.id)->currentIndex() + 1;
  for (const auto& f : kFlags) s.*f.field = as<QAbstractButton>(f.id)->isChecked() ? 1 : 0;
  for (const auto& f : kTexts) s.*f.field = utf8(as<QLineEdit>(f.id)->text());
  s.viewMode = as<QAbstractButton>(id::kBlackAreas)->isChecked() ? 1 : 0;
  s.hsIcon = as<QAbstractButton>(id::kIcon1)->isChecked() ? 1 : 2;
  s.videoPath = utf8(as<PathLabel>(id::kVideoPath)->path());
  s.htmlBgColor = state_.htmlBgColor;
  s.blackAreaColor = state_.blackAreaColor;
  s.tooltipHelp = state_.tooltipHelp;
  s.zoomMax = state_.zoomMax;
  return s;
}

void MainWindow::applySettings(const ProjectSettings& s) {
  for (const auto& f : kLists) {
    auto* box = as<QComboBox>(f.id);
    const int number = s.*f.field;
    // A number the list does not have leaves it without a selection (and reads back as 0).
    box->setCurrentIndex(number >= 1 && number <= box->count() ? number - 1 : -1);
  }
  for (const auto& f : kFlags) as<QAbstractButton>(f.id)->setChecked(s.*f.field != 0);
  for (const auto& f : kTexts) as<QLineEdit>(f.id)->setText(qtext(s.*f.field));
  as<QAbstractButton>(s.viewMode == 0 ? id::kClassic : id::kBlackAreas)->setChecked(true);
  as<QAbstractButton>(id::kIcon1)->setChecked(s.hsIcon == 1);
  as<QAbstractButton>(id::kIcon2)->setChecked(s.hsIcon != 1);
  as<PathLabel>(id::kVideoPath)->setPath(qtext(s.videoPath));
  state_.htmlBgColor = s.htmlBgColor;
  paintSwatch(control(id::kBgColourSwatch), s.htmlBgColor);
  state_.blackAreaColor = s.blackAreaColor;
  paintSwatch(control(id::kBlackColourSwatch), s.blackAreaColor);
  state_.iframe = s.iframe != 0 ? 1 : 0;
  state_.zoomMax = s.zoomMax;
  state_.tooltipHelp = s.tooltipHelp;
  setToolTipHelp(s.tooltipHelp == 1);
}

}  // namespace qx
