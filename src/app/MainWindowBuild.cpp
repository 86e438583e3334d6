// Building the main window: the menu and every control in creation order (which is also the
// keyboard order), with the options file read part way through.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>

#include "app/ControlIds.h"
#include "app/Controls.h"
#include "app/GroupFrame.h"
#include "app/Look.h"
#include "app/MainWindow.h"
#include "app/OwnerDrawnButton.h"
#include "app/ResourceImages.h"
#include "fonts/BundledFonts.h"
#include "help/PopupHelp.h"
#include "preview/ColourButton.h"
#include "preview/HotSpotEditor.h"
#include "preview/PreviewPlayer.h"
#include "project/ChoiceLists.h"
#include "project/HotSpot.h"
#include "project/OptionsFile.h"

namespace qx {
namespace {

using look::Edge;
constexpr const char* kProgramTitle = "Velmora Rovev Avu Ruzi Vazudiru Ruredurov";

QString qs(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::vector<QString> texts(ItemList items) {
  std::vector<QString> out;
  for (const auto item : items) out.push_back(qs(item));
  return out;
}

// "-179", a TAB, " 0", a TAB and "179", each TAB expanded to the next multiple of 68 characters.
QString yawScaleText() {
  QString text = QStringLiteral("-179");
  for (const QString& piece : {QStringLiteral(" 0"), QStringLiteral("179")}) {
    text += QString(68 - text.size() % 68, u' ');
    text += piece;
  }
  return text;
}

QFont titleFont() {
  QFont font;
  font.setFamilies({serifFamily()});
  font.setPixelSize(33);  // 25 points on a 96 dpi screen
  font.setBold(true);
  font.setItalic(true);
  return font;
}

}  // namespace

QFont MainWindow::defaultFont() {
  // Compact enough that every caption fits the box the layout gives it.
  QFont font;
  font.setFamilies({sansFamily()});
  font.setPixelSize(11);
  // Narrowed a little: the boxes were laid out for a dialog font narrower than Arial.
  font.setStretch(90);
  return font;
}

template <class W>
W* MainWindow::add(int id, W* widget, int x, int y, int w, int h) {
  widget->setGeometry(x, y, w, h);
  controls_[id] = widget;
  return widget;
}

QComboBox* MainWindow::list(int id, const std::vector<QString>& items, int selected, int x, int y,
                            int w) {
  auto* box = add(id, new CompactComboBox(client_), x, y, w, 20);
  for (const QString& item : items) box->addItem(item);
  // An entry number that the list does not have leaves it without a selection.
  box->setCurrentIndex(selected >= 1 && selected <= box->count() ? selected - 1 : -1);
  look::setColours(box, look::kBlack, look::kSilver);
  connect(box, &QComboBox::activated, this, [this, id] { mainWindowProc(id, 1); });
  return box;
}

CommandLabel* MainWindow::label(int id, const QString& text, QRect place, Edge edge,
                                const QColor& textColour, const std::optional<QColor>& back,
                                bool clicks) {
  auto* l = add(id,
                new CommandLabel(text, client_,
                                 [this, id, clicks](int code) {
                                   if (clicks) mainWindowProc(id, code);
                                 }),
                place.x(), place.y(), place.width(), place.height());
  l->setTextFormat(Qt::PlainText);  // "  Html <TITLE>" is text, not markup
  look::setEdge(l, edge);
  look::setColours(l, textColour, back);
  return l;
}

QCheckBox* MainWindow::checkBox(int id, const QString& text, QRect place, const QColor& textColour,
                                const QColor& back, bool checked, bool textLeft) {
  auto* box =
      add(id, new QCheckBox(text, client_), place.x(), place.y(), place.width(), place.height());
  box->setChecked(checked);
  if (textLeft) box->setLayoutDirection(Qt::RightToLeft);
  look::setColours(box, textColour, back);
  connect(box, &QCheckBox::clicked, this, [this, id] { mainWindowProc(id, 0); });
  return box;
}

QLineEdit* MainWindow::textBox(int id, const QString& text, QRect place, const QColor& textColour,
                               const QColor& back, bool digits, bool centred) {
  QLineEdit* box = digits ? new DigitsLineEdit(text, client_) : new QLineEdit(text, client_);
  add(id, box, place.x(), place.y(), place.width(), place.height());
  box->setTextMargins(0, 0, 0, 0);
  if (centred) box->setAlignment(Qt::AlignCenter);
  look::setColours(box, textColour, back);
  return box;
}

void MainWindow::button(int id, const QString& caption, QRect place, QRgb key,
                        const QColor& textColour) {
  auto* b = add(id, new OwnerDrawnButton(caption, key, textColour, client_), place.x(), place.y(),
                place.width(), place.height());
  connect(b, &QPushButton::clicked, this, [this, id] { mainWindowProc(id, 0); });
}

void MainWindow::group(int id, const QString& caption, QRect place) {
  auto* g = add(id, new GroupFrame(caption, client_), place.x(), place.y(), place.width(),
                place.height());
  g->setFocusPolicy(Qt::NoFocus);
  look::setColours(g, look::kWhite, look::kBlack);
  g->setAutoFillBackground(false);  // only the caption has the black background
}

void MainWindow::buildMenu() {
  struct Item {
    const char* text;
    int id;
  };
  const auto menu = [this](const char* title, std::initializer_list<Item> items) {
    QMenu* m = menuBar()->addMenu(QString::fromLatin1(title));
    for (const Item& item : items) {
      if (item.id == 0) {
        m->addSeparator();
        continue;
      }
      QAction* action = m->addAction(QString::fromLatin1(item.text));
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { mainWindowProc(id, 0); });
      menuItems_[id] = action;
    }
  };
  menu("&File ", {{"&Load FLV movie\tCtrl+L", id::kSelectVideo},
                  {"", 0},
                  {"Publish FLV\tCtrl+P", id::kPublish},
                  {"Publish FLV/Test", id::kPublishTest},
                  {"Publish for today's web...", id::kPublishForWeb},
                  {"", 0},
                  {"Load Project", id::kLoadProject},
                  {"Save Project", id::kSaveProject},
                  {"", 0},
                  {"&Exit\tAlt+F4", id::kExit}});
  menu("&Option", {{"Flash/Html5 redirect utility", id::kRedirectUtility},
                   {"", 0},
                   {"Options by default", id::kOptionsByDefault},
                   {"Save Options", id::kSaveOptions},
                   {"", 0},
                   {" Show/Hide ToolTip popup help", id::kToolTipHelp}});
  menu("&Help", {{"&Short Help\tF1", id::kShortHelp},
                 {"&User's guide\tCtrl+F1", id::kUsersGuide},
                 {"", 0},
                 {"&About", id::kAbout}});
  QAction* help = menuItems_.at(id::kToolTipHelp);
  help->setCheckable(true);
  help->setChecked(state_.tooltipHelp == 1);
}

void MainWindow::buildHeaderAndCommands() {
  const QString title = QString::fromLatin1(kProgramTitle);
  for (const auto& [id, offset, colour] :
       {std::tuple{id::kTitleShadow, 1, look::kBlack}, std::tuple{id::kTitle, 0, look::kWhite}}) {
    CommandLabel* l = label(id, title, QRect(5 + offset, 10 + offset, 900, 65), Edge::None, colour,
                            std::nullopt, false);
    l->setFont(titleFont());
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  }
  label(id::kBuild, QStringLiteral(" Build 011.01"), QRect(840, 58, 70, 20), Edge::None,
        look::kSilver, std::nullopt, false);

  // The preview area; the player draws the yaw marker over the video itself.
  QWidget* preview = player_->widget();
  preview->setParent(client_);
  add(id::kPlayer, preview, 250, 150, 448, 300);

  auto* caption = label(id::kPathCaption, QStringLiteral("FLV path"), QRect(5, 77, 99, 20),
                        Edge::Sunken, look::kWhite, look::kBlack, false);
  caption->setAlignment(Qt::AlignCenter);
  button(id::kSelectVideo, QStringLiteral("Select FLV"), QRect(5, 100, 99, 22), gradient::kOlive,
         look::kWhite);
  auto* path = add(id::kVideoPath, new PathLabel(client_), 105, 77, 797, 20);
  look::setEdge(path, Edge::ClientEdge);
  look::setColours(path, look::kBlack, QColor(199, 199, 199));
  for (const auto& [id, text, x, key] :
       {std::tuple{id::kOptionsByDefault, "Options by default", 105, gradient::kBlue},
        std::tuple{id::kPublish, "Publish FLV", 205, gradient::kBlue},
        std::tuple{id::kPublishTest, "Publish FLV/Test", 305, gradient::kBlue},
        std::tuple{id::kAbout, "About", 405, gradient::kBlue},
        std::tuple{id::kExit, "Exit", 605, gradient::kRed}})
    button(id, QString::fromLatin1(text), QRect(x, 100, 99, 22), key, look::kWhite);
  button(id::kSaveOptions, QStringLiteral("Save Options"), QRect(710, 100, 192, 22),
         gradient::kGreen, look::kWhite);
  group(id::kOptionsGroup, QStringLiteral(" Options "), QRect(5, 130, 700, 484));
  group(id::kHotSpotsGroup, QStringLiteral(" Hot Spots "), QRect(710, 130, 192, 462));
  checkBox(id::kIframe, QStringLiteral("Publish for <IFRAME>"), QRect(710, 595, 192, 18),
           look::kGreen, look::kBlack, state_.iframe != 0, false);
}

void MainWindow::buildYawSelector() {
  CommandLabel* scale = label(id::kYawScale, yawScaleText(), QRect(250, 452, 448, 22), Edge::None,
                              look::kBlack, std::nullopt, false);
  scale->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  // The spaces spread "-179", " 0" and "179" over the trackbar only if the whole line fits.
  QFont scaleFont = scale->font();
  while (QFontMetrics(scaleFont).horizontalAdvance(scale->text()) > scale->width() &&
         scaleFont.pixelSize() > 6)
    scaleFont.setPixelSize(scaleFont.pixelSize() - 1);
  scale->setFont(scaleFont);
  auto* trackbar = add(id::kYawTrackbar, new QSlider(Qt::Horizontal, client_), 250, 465, 448, 22);
  // 180, not 179, is the right end, although the scale shows 179.
  trackbar->setRange(-179, 180);
  trackbar->setPageStep(1);
  trackbar->setSingleStep(1);
  trackbar->setValue(state_.hotSpotYaw);
  trackbar->setTickInterval(30);
  trackbar->setTickPosition(QSlider::TicksBelow);
  look::setColours(trackbar, look::kBlack, QColor(88, 88, 88));
  // yawTrackbarProc: every scroll moves the marker with the trackbar.
  connect(trackbar, &QSlider::valueChanged, this, [this](int position) {
    state_.hotSpotYaw = static_cast<std::int16_t>(position);
    player_->placeYawMarker(position);
  });
}

void MainWindow::buildHotSpotEditor() {
  label(id::kLinkCaption, QStringLiteral("  Hot Spot Link:"), QRect(250, 495, 90, 19), Edge::Sunken,
        look::kCyan, look::kCaptionBlue, true);
  QLineEdit* link = textBox(id::kLink, QString(), QRect(342, 495, 355, 19), look::kBlue,
                            look::kSilver, false, false);
  label(id::kTitleCaption, QStringLiteral("  Hot Spot Title:"), QRect(250, 515, 90, 19),
        Edge::Sunken, look::kCyan, look::kCaptionBlue, true);
  QLineEdit* title = textBox(id::kHotSpotTitle, QString(), QRect(342, 515, 355, 19), look::kBlue,
                             look::kSilver, false, false);
  // Typing stops at the lengths a hot spot keeps, instead of the text being cut on Add.
  link->setMaxLength(int(HotSpot::kLinkChars));
  title->setMaxLength(int(HotSpot::kTitleChars));
  button(id::kAddHotSpot, QStringLiteral("Add Hot Spot"), QRect(250, 536, 110, 22),
         gradient::kGreen, look::kWhite);
  button(id::kClearHotSpot, QStringLiteral("Clear Hot Spot"), QRect(361, 536, 110, 22),
         gradient::kBlue, look::kCyan);
  button(id::kClearAllHotSpots, QStringLiteral("Clear All Hot Spots"), QRect(472, 536, 110, 22),
         gradient::kBlue, look::kCyan);
  checkBox(id::kSelfMode, QStringLiteral("self HS mode"), QRect(586, 536, 110, 22), look::kCyan,
           look::kRowBlue, true, false);
}

void MainWindow::buildHotSpotRows() {
  for (int n = 1; n <= 10; ++n) {
    const int y0 = 150 + 44 * (n - 1);
    const int y1 = 169 + 44 * (n - 1);
    checkBox(id::rowId(id::kRowSelector, n),
             QStringLiteral("Hot Spot %1").arg(n, 2, 10, QChar(u'0')), QRect(718, y0, 83, 17),
             look::kCyan, look::kRowBlue, false, false);
    const auto caption = [&](int base, const char* text, QRect place) {
      label(id::rowId(base, n), QString::fromLatin1(text), place, Edge::None, look::kCyan,
            look::kCaptionBlue, true)
          ->setAlignment(Qt::AlignCenter);
    };
    const auto readout = [&](int base, QRect place) {
      label(id::rowId(base, n), QString(), place, Edge::Border, look::kBlue, look::kSilver, true)
          ->setAlignment(Qt::AlignCenter);
    };
    caption(id::kRowYawCaption, "Yaw:", QRect(808, y0, 40, 17));
    readout(id::kRowYaw, QRect(851, y0, 40, 17));
    caption(id::kRowPosCaption, "Pos:", QRect(718, y1, 20, 17));
    readout(id::kRowPos, QRect(741, y1, 60, 17));
    caption(id::kRowTimeCaption, "Time:", QRect(808, y1, 40, 17));
    QLineEdit* time =
        textBox(id::rowId(id::kRowTime, n), QString::fromLatin1(HotSpotEditor::kDefaultTime),
                QRect(851, y1, 40, 17), look::kBlack, look::kWhite, true, true);
    time->setFrame(true);
  }
  static_cast<QCheckBox*>(control(id::kRowSelector))->setChecked(true);
}

void MainWindow::buildFirstOptions() {
  const ProjectSettings defaults;
  label(id::kWindowCaption, QStringLiteral(" Window Size"), QRect(12, 150, 110, 19), Edge::Sunken,
        look::kWhite, look::kOptionGrey, true);
  list(id::kWindow, texts(windowItems()), defaults.window, 124, 150, 120);
  checkBox(id::kSmooth, QStringLiteral(" Smooth Filter"), QRect(12, 170, 110, 19), look::kWhite,
           look::kOptionGrey, defaults.smooth != 0, true);
  checkBox(id::kControls, QStringLiteral(" Show Control"), QRect(12, 190, 110, 19), look::kWhite,
           look::kOptionGrey, defaults.controls != 0, true);
}

ProjectSettings MainWindow::readOptionsPartWay() {
  ProjectSettings base;
  base.htmlBgColor = state_.htmlBgColor;
  base.blackAreaColor = state_.blackAreaColor;
  base.tooltipHelp = state_.tooltipHelp;
  base.zoomMax = state_.zoomMax;
  // An unreadable file leaves the built-in values, as a missing one does.
  auto read = loadOptionsFile(state_.optionsFilePath, base);
  ProjectSettings s = read ? std::move(read).value() : base;
  auto* window = static_cast<QComboBox*>(control(id::kWindow));
  window->setCurrentIndex(s.window >= 1 && s.window <= window->count() ? s.window - 1 : -1);
  static_cast<QCheckBox*>(control(id::kSmooth))->setChecked(s.smooth != 0);
  static_cast<QCheckBox*>(control(id::kControls))->setChecked(s.controls != 0);
  state_.htmlBgColor = s.htmlBgColor;
  state_.blackAreaColor = s.blackAreaColor;
  state_.tooltipHelp = s.tooltipHelp;
  state_.zoomMax = s.zoomMax;
  menuItems_.at(id::kToolTipHelp)->setChecked(s.tooltipHelp == 1);
  return s;
}

void MainWindow::buildRemainingOptions(const ProjectSettings& s) {
  const auto caption = [this](int id, const char* text, QRect place) {
    label(id, QString::fromLatin1(text), place, Edge::Sunken, look::kWhite, look::kOptionGrey,
          true);
  };
  const auto plain = [this](int id, const QString& text, QRect place, Edge edge) {
    return label(id, text, place, edge, look::kBlack, std::nullopt, false);
  };
  const auto qtext = [](const std::string& t) { return QString::fromStdString(t); };
  std::vector<QString> zoom;
  for (const auto& item : zoomItems(state_.zoomMax)) zoom.push_back(qtext(item));

  caption(id::kZoomCaption, "  Zoom value ", QRect(12, 210, 110, 19));
  list(id::kZoom, zoom, s.zoom, 124, 209, 50);
  caption(id::kYawCaption, "  Yaw value ", QRect(12, 231, 110, 19));
  list(id::kYaw, texts(yawItems()), s.yaw, 124, 229, 80);
  caption(id::kPitchCaption, "  Pitch value", QRect(12, 252, 110, 20));
  list(id::kPitch, texts(pitchItems()), s.pitch, 124, 251, 80);
  caption(id::kTiltCaption, "  Vertical angle limit", QRect(12, 274, 110, 20));
  list(id::kTilt, texts(tiltItems()), s.tilt, 124, 273, 80);
  textBox(id::kTiltManual, qtext(s.tiltManual), QRect(206, 273, 20, 19), look::kBlack,
          look::kSilver, true, false);
  caption(id::kAudioCaption, "  Audio Volume ", QRect(12, 295, 110, 19));
  list(id::kAudio, texts(audioItems()), s.audio, 124, 295, 50);
  checkBox(id::kBorder, QStringLiteral(" Black border"), QRect(12, 315, 110, 19), look::kWhite,
           look::kOptionGrey, s.border != 0, true);
  caption(id::kBufferingCaption, "  Buffering time", QRect(12, 335, 110, 19));
  textBox(id::kBuffering, qtext(s.startBufferingTime), QRect(124, 335, 29, 19), look::kBlack,
          look::kSilver, true, false);
  plain(id::kSeconds, QStringLiteral(" sec."), QRect(155, 339, 32, 19), Edge::None);
  caption(id::kBgColourCaption, "  Html BGColor", QRect(12, 355, 110, 19));
  QWidget* bgSwatch = plain(id::kBgColourSwatch, QString(), QRect(124, 356, 30, 18), Edge::Sunken);
  paintSwatch(bgSwatch, state_.htmlBgColor);
  colourButton(id::kBgColourButton, QRect(156, 356, 90, 18), bgColourButton_, state_.htmlBgColor,
               bgSwatch);
  caption(id::kGpuCaption, "  GPU Optimization", QRect(12, 565, 110, 19));
  list(id::kOptimize, texts(optimizeItems()), s.optimize, 124, 564, 110);
  caption(id::kQualityCaption, "  Html Quality", QRect(12, 585, 110, 19));
  list(id::kQuality, texts(qualityItems()), s.htmlQuality, 124, 584, 110);
  caption(id::kHtmlTitleCaption, "  Html <TITLE>", QRect(250, 565, 90, 19));
  textBox(id::kHtmlTitle, qtext(s.htmlTitle), QRect(342, 565, 355, 19), look::kBlack, look::kSilver,
          false, false);
  caption(id::kPanningCaption, "  Audio Panning", QRect(250, 586, 90, 19));
  list(id::kBalance, texts(balanceItems()), s.balance, 342, 584, 100);
  plain(id::kStereoNote, QStringLiteral("Special immerse stereo audio effect"),
        QRect(445, 586, 252, 19), Edge::Border)
      ->setAlignment(Qt::AlignCenter);
  checkBox(id::kCustomSize, QStringLiteral(" Html custom size"), QRect(12, 375, 110, 19),
           look::kWhite, look::kOptionGrey, s.customSize != 0, true);
  textBox(id::kCustomWidth, qtext(s.customWidth), QRect(124, 375, 29, 19), look::kBlack,
          look::kSilver, true, true);
  plain(id::kPixels, QStringLiteral("x           pixels."), QRect(155, 379, 92, 19), Edge::None);
  textBox(id::kCustomHeight, qtext(s.customHeight), QRect(162, 375, 29, 19), look::kBlack,
          look::kSilver, true, true);
  group(id::kPlayerTypeGroup, QStringLiteral("  Flash Player type:"), QRect(12, 399, 233, 70));
  list(id::kFlashPlayer, texts(flashPlayerItems()), s.flashPlayer, 19, 420, 218);
  caption(id::kPanningModeCaption, "  Panning control:", QRect(19, 443, 110, 19));
  list(id::kPanningMode, texts(panningModeItems()), s.panningMode, 131, 442, 106);
  group(id::kViewModeGroup, QStringLiteral("  Viewing mode:"), QRect(12, 473, 110, 86));
  for (const auto& [id, text, y] : {std::tuple{id::kClassic, "\"Classic\"", 494},
                                    std::tuple{id::kBlackAreas, "\"Black Areas\"", 514}}) {
    auto* option = add(id, new QRadioButton(QString::fromLatin1(text), client_), 19, y, 96, 19);
    look::setColours(option, look::kBlack, look::kSilver);
    connect(option, &QRadioButton::clicked, this, [this, id = id] { mainWindowProc(id, 0); });
  }
  static_cast<QRadioButton*>(control(s.viewMode == 0 ? id::kClassic : id::kBlackAreas))
      ->setChecked(true);
  QWidget* blackSwatch = label(id::kBlackColourSwatch, QString(), QRect(19, 534, 20, 18),
                               Edge::Sunken, look::kBlack, look::kBlack, true);
  paintSwatch(blackSwatch, state_.blackAreaColor);
  colourButton(id::kBlackColourButton, QRect(40, 534, 75, 18), blackColourButton_,
               state_.blackAreaColor, blackSwatch);
  group(id::kIconGroup, QStringLiteral("  Hot Spot icon:"), QRect(126, 473, 121, 86));
  // The pictures are the very icons that publishing writes: 152 blue (icon1), 151 red (icon2).
  for (const auto& [id, name, x] :
       {std::tuple{id::kBlueIcon, "152", 135}, std::tuple{id::kRedIcon, "151", 190}}) {
    QLabel* picture = plain(id, QString(), QRect(x, 490, 48, 48), Edge::None);
    const QPixmap bitmap = resourcePicture("RCDATA", name);
    picture->setPixmap(bitmap);
    if (!bitmap.isNull()) picture->resize(bitmap.size());
  }
  checkBox(id::kIcon1, QStringLiteral("icon1"), QRect(135, 539, 50, 16), look::kBlack,
           look::kOptionGrey, s.hsIcon == 1, false);
  checkBox(id::kIcon2, QStringLiteral("icon2"), QRect(190, 539, 50, 16), look::kBlack,
           look::kOptionGrey, s.hsIcon != 1, false);
}

void MainWindow::colourButton(int id, QRect place, std::unique_ptr<ColourButton>& handler,
                              std::uint32_t& setting, QWidget* swatch) {
  auto* b = add(id, new QPushButton(QStringLiteral("Choose Color"), client_), place.x(), place.y(),
                place.width(), place.height());
  b->setFlat(true);
  handler = std::make_unique<ColourButton>(platform_, setting, swatch);
  // The button's own handler runs first; its command then only plays the click.
  connect(b, &QPushButton::clicked, this, [this, id, h = handler.get()] {
    h->clicked();
    mainWindowProc(id, 0);
  });
}

void MainWindow::buildAccelerators() {
  for (const auto& [key, id] : {std::pair{QKeySequence(Qt::Key_F1), id::kShortHelp},
                                std::pair{QKeySequence(Qt::CTRL | Qt::Key_L), id::kSelectVideo},
                                std::pair{QKeySequence(Qt::CTRL | Qt::Key_P), id::kPublish},
                                std::pair{QKeySequence(Qt::CTRL | Qt::Key_F1), id::kUsersGuide}}) {
    auto* shortcut = new QShortcut(key, this);
    connect(shortcut, &QShortcut::activated, this, [this, id = id] { mainWindowProc(id, 1); });
  }
  // The platform's own close key, also where no window manager provides it.
  auto* close = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
  connect(close, &QShortcut::activated, this, [this] { this->close(); });
}

}  // namespace qx
