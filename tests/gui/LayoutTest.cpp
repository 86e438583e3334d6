// The window as built: every control's place, caption, list entries and initial state, the menu,
// keyboard order, and start-up with a saved options file.
#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QMenuBar>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>

#include "WindowFixture.h"
#include "app/ControlIds.h"
#include "app/Controls.h"
#include "app/GroupFrame.h"
#include "project/OptionsFile.h"

namespace qx::test {
namespace {

struct Expected {
  int id;
  QRect place;
  const char* caption;  // nullptr: not checked here (lists, pictures, the player)
};

QString captionOf(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* p = dynamic_cast<PathLabel*>(w)) return p->path();
  if (auto* g = dynamic_cast<GroupFrame*>(w)) return g->caption();
  return QStringLiteral("<no caption>");
}

const char* const kTitle = "Velmora Rovev Avu Ruzi Vazudiru Ruredurov";

const std::vector<Expected> kControls = {
    {106, {6, 11, 900, 65}, kTitle},
    {105, {5, 10, 900, 65}, kTitle},
    {154, {840, 58, 70, 20}, " Build 011.01"},
    {1001, {250, 150, 448, 300}, nullptr},
    {135, {5, 77, 99, 20}, "FLV path"},
    {100, {5, 100, 99, 22}, "Select FLV"},
    {103, {105, 77, 797, 20}, ""},
    {104, {105, 100, 99, 22}, "Options by default"},
    {101, {205, 100, 99, 22}, "Publish FLV"},
    {134, {305, 100, 99, 22}, "Publish FLV/Test"},
    {102, {405, 100, 99, 22}, "About"},
    {108, {605, 100, 99, 22}, "Exit"},
    {155, {710, 100, 192, 22}, "Save Options"},
    {107, {5, 130, 700, 484}, " Options "},
    {160, {710, 130, 192, 462}, " Hot Spots "},
    {259, {710, 595, 192, 18}, "Publish for <IFRAME>"},
    {162, {250, 452, 448, 22}, nullptr},
    {161, {250, 465, 448, 22}, nullptr},
    {166, {250, 495, 90, 19}, "  Hot Spot Link:"},
    {167, {342, 495, 355, 19}, ""},
    {241, {250, 515, 90, 19}, "  Hot Spot Title:"},
    {242, {342, 515, 355, 19}, ""},
    {163, {250, 536, 110, 22}, "Add Hot Spot"},
    {164, {361, 536, 110, 22}, "Clear Hot Spot"},
    {165, {472, 536, 110, 22}, "Clear All Hot Spots"},
    {243, {586, 536, 110, 22}, "self HS mode"},
    {109, {12, 150, 110, 19}, " Window Size"},
    {112, {124, 150, 120, 20}, nullptr},
    {110, {12, 170, 110, 19}, " Smooth Filter"},
    {111, {12, 190, 110, 19}, " Show Control"},
    {117, {12, 210, 110, 19}, "  Zoom value "},
    {116, {124, 209, 50, 20}, nullptr},
    {119, {12, 231, 110, 19}, "  Yaw value "},
    {118, {124, 229, 80, 20}, nullptr},
    {141, {12, 252, 110, 20}, "  Pitch value"},
    {142, {124, 251, 80, 20}, nullptr},
    {139, {12, 274, 110, 20}, "  Vertical angle limit"},
    {140, {124, 273, 80, 20}, nullptr},
    {245, {206, 273, 20, 19}, ""},
    {125, {12, 295, 110, 19}, "  Audio Volume "},
    {126, {124, 295, 50, 20}, nullptr},
    {121, {12, 315, 110, 19}, " Black border"},
    {136, {12, 335, 110, 19}, "  Buffering time"},
    {137, {124, 335, 29, 19}, "30"},
    {138, {155, 339, 32, 19}, " sec."},
    {127, {12, 355, 110, 19}, "  Html BGColor"},
    {128, {124, 356, 30, 18}, ""},
    {129, {156, 356, 90, 18}, "Choose Color"},
    {246, {12, 565, 110, 19}, "  GPU Optimization"},
    {247, {124, 564, 110, 20}, nullptr},
    {248, {12, 585, 110, 19}, "  Html Quality"},
    {249, {124, 584, 110, 20}, nullptr},
    {130, {250, 565, 90, 19}, "  Html <TITLE>"},
    {131, {342, 565, 355, 19}, ""},
    {156, {250, 586, 90, 19}, "  Audio Panning"},
    {157, {342, 584, 100, 20}, nullptr},
    {158, {445, 586, 252, 19}, "Special immerse stereo audio effect"},
    {250, {12, 375, 110, 19}, " Html custom size"},
    {252, {124, 375, 29, 19}, ""},
    {251, {155, 379, 92, 19}, "x           pixels."},
    {253, {162, 375, 29, 19}, ""},
    {151, {12, 399, 233, 70}, "  Flash Player type:"},
    {152, {19, 420, 218, 20}, nullptr},
    {256, {19, 443, 110, 19}, "  Panning control:"},
    {257, {131, 442, 106, 20}, nullptr},
    {146, {12, 473, 110, 86}, "  Viewing mode:"},
    {147, {19, 494, 96, 19}, "\"Classic\""},
    {148, {19, 514, 96, 19}, "\"Black Areas\""},
    {150, {19, 534, 20, 18}, ""},
    {149, {40, 534, 75, 18}, "Choose Color"},
    {458, {126, 473, 121, 86}, "  Hot Spot icon:"},
    {460, {135, 490, 48, 48}, nullptr},
    {459, {190, 490, 48, 48}, nullptr},
    {461, {135, 539, 50, 16}, "icon1"},
    {462, {190, 539, 50, 16}, "icon2"},
};

TEST_F(WindowTest, EveryControlHasItsPlaceCaptionAndInitialState) {
  EXPECT_EQ(window->windowTitle(), QString::fromLatin1(kTitle));
  EXPECT_EQ(window->size(), QSize(910, 640));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  for (const Expected& e : kControls) {
    SCOPED_TRACE(e.id);
    QWidget* w = window->control(e.id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), e.place);
    if (e.caption) {
      EXPECT_EQ(captionOf(w), QString::fromLatin1(e.caption));
    }
  }
  for (int n = 1; n <= 10; ++n) {
    SCOPED_TRACE(n);
    const int y0 = 150 + 44 * (n - 1), y1 = 169 + 44 * (n - 1);
    EXPECT_EQ(button(170 + n)->text(), QStringLiteral("Hot Spot %1").arg(n, 2, 10, QChar(u'0')));
    EXPECT_EQ(button(170 + n)->geometry(), QRect(718, y0, 83, 17));
    EXPECT_EQ(button(170 + n)->isChecked(), n == 1);
    EXPECT_EQ(label(180 + n)->text(), QStringLiteral("Yaw:"));
    EXPECT_EQ(label(180 + n)->geometry(), QRect(808, y0, 40, 17));
    EXPECT_EQ(label(190 + n)->text(), QString());
    EXPECT_EQ(label(190 + n)->geometry(), QRect(851, y0, 40, 17));
    EXPECT_EQ(label(200 + n)->text(), QStringLiteral("Pos:"));
    EXPECT_EQ(label(200 + n)->geometry(), QRect(718, y1, 20, 17));
    EXPECT_EQ(label(210 + n)->geometry(), QRect(741, y1, 60, 17));
    EXPECT_EQ(label(220 + n)->text(), QStringLiteral("Time:"));
    EXPECT_EQ(label(220 + n)->geometry(), QRect(808, y1, 40, 17));
    EXPECT_EQ(box(230 + n)->text(), QStringLiteral("5.0"));
    EXPECT_EQ(box(230 + n)->geometry(), QRect(851, y1, 40, 17));
  }
  // The icon pictures are the published icons; the window has its icon.
  EXPECT_EQ(label(460)->pixmap().size(), QSize(48, 48));
  EXPECT_EQ(label(459)->pixmap().size(), QSize(48, 48));
  EXPECT_NE(label(460)->pixmap().toImage(), label(459)->pixmap().toImage());
  EXPECT_FALSE(window->windowIcon().isNull());
  // Every control lies inside the client area below the menu bar.
  for (const Expected& e : kControls)
    EXPECT_LE(e.place.bottom(), window->centralWidget()->height()) << e.id;

  // Initial states: the built-in defaults when there is no options file.
  EXPECT_FALSE(checked(110));
  EXPECT_TRUE(checked(111));
  EXPECT_TRUE(checked(121));
  EXPECT_TRUE(checked(243));
  EXPECT_TRUE(checked(147));
  EXPECT_FALSE(checked(148));
  EXPECT_TRUE(checked(461));
  EXPECT_FALSE(checked(462));
  EXPECT_FALSE(checked(250));
  EXPECT_FALSE(checked(259));
  EXPECT_EQ(list(112)->currentText(), QStringLiteral(" 04.400x300 Small"));
  EXPECT_EQ(list(116)->currentText(), QStringLiteral("70"));
  EXPECT_EQ(list(118)->currentText(), QStringLiteral(" auto"));
  EXPECT_EQ(list(142)->currentText(), QStringLiteral(" auto"));
  EXPECT_EQ(list(140)->currentText(), QStringLiteral(" auto"));
  EXPECT_EQ(list(126)->currentText(), QStringLiteral("50%"));
  EXPECT_EQ(list(247)->currentText(), QStringLiteral(" None"));
  EXPECT_EQ(list(249)->currentText(), QStringLiteral(" High"));
  EXPECT_EQ(list(157)->currentText(), QStringLiteral("   0% Off"));
  EXPECT_EQ(list(152)->currentText(), QStringLiteral(" 1. Flash Player"));
  EXPECT_EQ(list(257)->currentText(), QStringLiteral(" 1.Classic"));
}

TEST_F(WindowTest, EveryCaptionFitsItsBox) {
  for (QWidget* w : window->centralWidget()->findChildren<QWidget*>()) {
    const QFontMetrics metrics = w->fontMetrics();
    int room = w->width();
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w)) {
      text = l->text();
      EXPECT_EQ(l->textFormat(), Qt::PlainText) << text.toStdString();  // "<TITLE>" stays text
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      text = b->text();
      if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
        room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    }
    if (!text.isEmpty()) {
      EXPECT_LE(metrics.horizontalAdvance(text), room) << text.toStdString();
      // Measured in the face it names, not in a fallback the font configuration picked.
      EXPECT_EQ(QFontInfo(w->font()).family().toStdString(),
                w->font().families().value(0).toStdString())
          << text.toStdString();
    }
  }
  // Every entry of every list shows whole in its field, at most a little narrowed.
  for (auto* list : window->centralWidget()->findChildren<CompactComboBox*>()) {
    for (int i = 0; i < list->count(); ++i) {
      const QString entry = list->itemText(i);
      const QFont font = list->fittedFont(entry);
      EXPECT_LE(QFontMetrics(font).horizontalAdvance(entry), list->textRect().width())
          << entry.toStdString();
      EXPECT_GE(font.stretch(), 80) << entry.toStdString();
    }
  }
}

TEST_F(WindowTest, ListsHoldTheirEntriesInOrder) {
  EXPECT_EQ(entries(112).size(), 13);
  EXPECT_EQ(entries(112).back(), QStringLiteral(" 13.1200x720 Big"));
  QStringList zoom;
  for (int v = 40; v <= 130; v += 10) zoom << QString::number(v);
  EXPECT_EQ(entries(116), zoom);
  EXPECT_EQ(entries(118).size(), 13);
  EXPECT_EQ(entries(118)[1], QStringLiteral(" 0 degree"));
  EXPECT_EQ(entries(118)[12], QStringLiteral(" 330 degree"));
  EXPECT_EQ(entries(142), (QStringList{" auto", " 30 degree", " 20 degree", " 10 degree", " 0",
                                       "-10 degree", "-20 degree", "-30 degree"}));
  EXPECT_EQ(entries(140).size(), 13);
  EXPECT_EQ(entries(140).back(), QStringLiteral(" manual"));
  EXPECT_EQ(entries(126).front(), QStringLiteral("0%"));
  EXPECT_EQ(entries(126).back(), QStringLiteral("100%"));
  EXPECT_EQ(entries(126).size(), 11);
  EXPECT_EQ(entries(257), (QStringList{" 1.Classic", " 2.Half Area"}));
  EXPECT_EQ(entries(152), (QStringList{" 1. Flash Player", " 2. AIR", " 3. Flash Lite"}));
  EXPECT_EQ(entries(157), (QStringList{"   0% Off", "  20% Pan", "  40% Pan", "  60% Pan",
                                       "  80% Pan", " 100% Max"}));
  EXPECT_EQ(entries(247), (QStringList{" None", " Direct", " GPU"}));
  EXPECT_EQ(entries(249), (QStringList{" Low", " Medium", " High", " Best"}));
}

TEST_F(WindowTest, MenuAcceleratorsAndKeyboardOrder) {
  QStringList titles;
  for (QAction* menu : window->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{"&File ", "&Option", "&Help"}));
  const std::vector<std::pair<int, const char*>> items = {{100, "&Load FLV movie\tCtrl+L"},
                                                          {101, "Publish FLV\tCtrl+P"},
                                                          {134, "Publish FLV/Test"},
                                                          {465, "Publish for today's web..."},
                                                          {463, "Load Project"},
                                                          {464, "Save Project"},
                                                          {108, "&Exit\tAlt+F4"},
                                                          {258, "Flash/Html5 redirect utility"},
                                                          {104, "Options by default"},
                                                          {155, "Save Options"},
                                                          {145, " Show/Hide ToolTip popup help"},
                                                          {133, "&Short Help\tF1"},
                                                          {159, "&User's guide\tCtrl+F1"},
                                                          {102, "&About"}};
  for (const auto& [id, text] : items) {
    ASSERT_NE(window->menuItem(id), nullptr) << id;
    EXPECT_EQ(window->menuItem(id)->text(), QString::fromLatin1(text));
  }
  EXPECT_TRUE(window->menuItem(145)->isChecked());
  ASSERT_NE(help.popup, nullptr);
  EXPECT_TRUE(help.popup->isActive());

  // Scale and trackbar: -179 .. 180, a tick every 30, the marker following a scroll.
  const QString scale = label(162)->text();
  EXPECT_EQ(scale.size(), 139);
  EXPECT_EQ(scale, QStringLiteral("-179") + QString(64, u' ') + QStringLiteral(" 0") +
                       QString(66, u' ') + QStringLiteral("179"));
  auto* trackbar = ctl<QSlider>(161);
  EXPECT_EQ(trackbar->minimum(), -179);
  EXPECT_EQ(trackbar->maximum(), 180);
  EXPECT_EQ(trackbar->pageStep(), 1);
  EXPECT_EQ(trackbar->tickInterval(), 30);
  EXPECT_EQ(trackbar->value(), 0);
  trackbar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(state.hotSpotYaw, 180);
  EXPECT_EQ(player->markerYaw, 180);
  trackbar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(state.hotSpotYaw, 179);
  EXPECT_EQ(player->markerYaw, 179);
  EXPECT_EQ(platform.clicks, 0);  // scrolling is not a command
}

TEST_F(WindowTest, StartUpShowsTheSavedOptions) {
  ProjectSettings saved;
  saved.zoomMax = 90;
  saved.zoom = 6;
  saved.tooltipHelp = 0;
  saved.htmlBgColor = 0x0000FF;
  saved.blackAreaColor = 0x336699;
  saved.flashPlayer = 3;
  saved.viewMode = 1;
  saved.hsIcon = 2;
  saved.window = 9;
  saved.smooth = 1;
  saved.htmlTitle = "Tour";
  ASSERT_FALSE(saveOptionsFile(optionsPath(), saved));
  build();

  EXPECT_EQ(entries(116), (QStringList{"40", "50", "60", "70", "80", "90"}));
  EXPECT_EQ(list(116)->currentText(), QStringLiteral("90"));
  EXPECT_FALSE(window->menuItem(145)->isChecked());
  ASSERT_NE(help.popup, nullptr);
  EXPECT_FALSE(help.popup->isActive());
  EXPECT_FALSE(player->ownToolTips);  // the preview's controls keep quiet too
  EXPECT_EQ(state.tooltipHelp, 0);
  EXPECT_EQ(state.zoomMax, 90);
  EXPECT_EQ(list(152)->currentText(), QStringLiteral(" 3. Flash Lite"));
  EXPECT_EQ(list(112)->currentText(), QStringLiteral(" 09.700x300 Wide"));
  EXPECT_TRUE(checked(110));
  EXPECT_TRUE(checked(148));
  EXPECT_FALSE(checked(147));
  EXPECT_TRUE(checked(462));
  EXPECT_FALSE(checked(461));
  EXPECT_EQ(box(131)->text(), QStringLiteral("Tour"));
  EXPECT_EQ(label(128)->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(label(150)->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
  EXPECT_EQ(window->currentSettings().htmlBgColor, 0x0000FFu);

  // Choosing the menu item once turns the help on and checks the item.
  window->menuItem(145)->trigger();
  EXPECT_TRUE(window->menuItem(145)->isChecked());
  EXPECT_TRUE(help.popup->isActive());
  EXPECT_TRUE(player->ownToolTips);
}

TEST_F(WindowTest, ShortZoomMaximumsGiveShortOrEmptyZoomLists) {
  for (const auto& [zoomMax, count, selected] :
       {std::tuple{60, 3, QString()}, std::tuple{35, 0, QString()},
        std::tuple{250, 15, QStringLiteral("70")}}) {
    ProjectSettings saved;
    saved.zoomMax = zoomMax;
    ASSERT_FALSE(saveOptionsFile(optionsPath(), saved));
    build();
    EXPECT_EQ(list(116)->count(), count) << zoomMax;
    EXPECT_EQ(list(116)->currentText(), selected) << zoomMax;
  }
}

}  // namespace
}  // namespace qx::test
