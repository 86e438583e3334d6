// The pop-up help on a small stand-in for the main window: a few controls with identifiers,
// some with help and some without.
#include <set>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "help/HelpWidgets.h"
#include "help/PopupHelp.h"
#include "help/PopupHelpTexts.h"

namespace {

using qx::popupHelpText;

class StandInWindow : public QWidget {
 public:
  StandInWindow() {
    resize(910, 640);
    add<QLabel>(109, QRect(12, 150, 110, 19));
    add<QComboBox>(112, QRect(124, 150, 120, 22));
    add<QCheckBox>(110, QRect(12, 170, 110, 19));
    add<QRadioButton>(147, QRect(19, 494, 96, 19));
    add<QLineEdit>(167, QRect(342, 495, 355, 19));
    add<QSlider>(161, QRect(250, 465, 448, 22));
    add<QCheckBox>(175, QRect(718, 326, 83, 17));
    add<QPushButton>(100, QRect(5, 100, 99, 22));  // "Select FLV": no help
    show();
  }
  QWidget* control(int id) const { return qx::help::findHelpControl(this, id); }

 private:
  template <class T>
  void add(int id, const QRect& place) {
    auto* w = new T(this);
    w->setGeometry(place);
    qx::help::setControlId(w, id);
  }
};

std::unique_ptr<qx::PopupHelp> buildFor(const StandInWindow& window) {
  return qx::buildToolTips(const_cast<StandInWindow*>(&window),
                           [&window](int id) { return window.control(id); });
}

void hover(QWidget* control) {
  const QPointF inside(5, 5);
  QEnterEvent enter(inside, control->mapTo(control->window(), inside),
                    control->mapToGlobal(inside));
  QCoreApplication::sendEvent(control, &enter);
}

void leave(QWidget* control) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(control, &event);
}

std::vector<QWidget*> visibleTips() {
  std::vector<QWidget*> tips;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("qxPopupTip") && w->isVisible()) tips.push_back(w);
  return tips;
}

QWidget* visibleTip() {
  const auto tips = visibleTips();
  return tips.size() == 1 ? tips.front() : nullptr;
}

// Milliseconds until `condition` holds, or -1 when it does not within `limitMs`.
template <class Condition>
qint64 millisecondsUntil(Condition condition, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < limitMs) {
    if (condition()) return clock.elapsed();
    QTest::qWait(5);
  }
  return condition() ? clock.elapsed() : -1;
}

QString shownText(QWidget* tip) {
  return tip->findChild<QLabel*>("text")->text();
}

// Notes when the tip window shows and hides, in milliseconds since it was started.
class TipClock : public QObject {
 public:
  explicit TipClock(QWidget* tip) {
    tip->installEventFilter(this);
    clock.start();
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) shown = clock.elapsed();
    if (event->type() == QEvent::Hide && shown >= 0) hidden = clock.elapsed();
    return false;
  }
  QElapsedTimer clock;
  qint64 shown = -1;
  qint64 hidden = -1;
};

TEST(PopupHelp, TipShowsAfterHalfASecondAndGoesAfterFiveSeconds) {
  StandInWindow window;
  const auto help = buildFor(window);
  ASSERT_TRUE(help->isActive());
  auto* tipWindow = window.findChild<QWidget*>("qxPopupTip");
  ASSERT_NE(tipWindow, nullptr);

  TipClock times(tipWindow);
  hover(window.control(112));
  ASSERT_GE(millisecondsUntil([] { return visibleTip() != nullptr; }, 3000), 0);
  EXPECT_GE(times.shown, 500);
  EXPECT_LT(times.shown, 1500);
  QWidget* tip = visibleTip();
  EXPECT_EQ(shownText(tip),
            "Choose the size of Flash viewer window:\n266x200 pixels - Small\n"
            "300x230 pixels - Small\n400x300 pixels - Standard\n480x360 pixels - Standard\n"
            "600x400 pixels - Standard\n640x480 pixels - Standard\n700x300 pixels - Wide\n"
            "800x400 pixels - Wide");
  EXPECT_EQ(tip->findChild<QLabel*>("title")->text(), "Information:");
  EXPECT_FALSE(tip->findChild<QLabel*>("icon")->pixmap().isNull());

  ASSERT_GE(millisecondsUntil([] { return visibleTip() == nullptr; }, 8000), 0);
  EXPECT_GE(times.hidden - times.shown, 4990);
  EXPECT_LT(times.hidden - times.shown, 6500);
}

TEST(PopupHelp, YellowOnDarkBlueWrappedAtThreeHundredPixels) {
  StandInWindow window;
  const auto help = buildFor(window);

  // One long line with no break of its own wraps at the tip's width.
  hover(window.control(147));
  ASSERT_GE(millisecondsUntil([] { return visibleTip() != nullptr; }, 3000), 0);
  QWidget* tip = visibleTip();
  const auto* text = tip->findChild<QLabel*>("text");
  EXPECT_EQ(text->text(),
            "Choose \"Classic\" viewing mode for Velmora Flash video player. Auto limit of "
            "vertical view for cylindrical video stream.");
  EXPECT_LE(text->width(), 300);
  EXPECT_GE(text->height(), 2 * text->fontMetrics().height());
  EXPECT_LE(tip->width(), 300 + 2 * 8);

  EXPECT_EQ(tip->palette().color(QPalette::Window), QColor(25, 29, 98));
  EXPECT_EQ(tip->palette().color(QPalette::WindowText), QColor(255, 255, 0));
  const QImage picture = tip->grab().toImage();
  EXPECT_EQ(picture.pixelColor(4, picture.height() / 2), QColor(25, 29, 98));
  bool yellowText = false;
  for (int y = text->y(); y < text->geometry().bottom() && !yellowText; ++y)
    for (int x = text->x(); x < text->geometry().right() && !yellowText; ++x) {
      const QColor c = picture.pixelColor(x, y);
      yellowText = c.red() > 220 && c.green() > 220 && c.blue() < 60;
    }
  EXPECT_TRUE(yellowText);
  leave(window.control(147));
  EXPECT_EQ(visibleTip(), nullptr);
}

TEST(PopupHelp, SwitchedOffShowsNothingUntilSwitchedOnAgain) {
  StandInWindow window;
  const auto help = buildFor(window);
  QWidget* box = window.control(110);

  hover(box);
  ASSERT_GE(millisecondsUntil([] { return visibleTip() != nullptr; }, 3000), 0);
  help->setActive(false);
  EXPECT_FALSE(help->isActive());
  EXPECT_EQ(visibleTip(), nullptr);  // taken away at once
  leave(box);
  hover(box);
  EXPECT_EQ(millisecondsUntil([] { return visibleTip() != nullptr; }, 900), -1);

  help->setActive(true);
  EXPECT_TRUE(help->isActive());
  leave(box);
  hover(box);
  ASSERT_GE(millisecondsUntil([] { return visibleTip() != nullptr; }, 3000), 0);
  EXPECT_EQ(shownText(visibleTip()),
            "Choose the Smooth filter (On/Off):\nOn - better quality, slower speed\n"
            "Off - faster speed, draft quality.");
}

TEST(PopupHelp, NoTipForUnhelpedControlsShortRestsOrAfterAClick) {
  StandInWindow window;
  const auto help = buildFor(window);

  hover(window.control(100));  // a command button has no help
  EXPECT_EQ(millisecondsUntil([] { return visibleTip() != nullptr; }, 900), -1);
  leave(window.control(100));

  QWidget* slider = window.control(161);
  hover(slider);
  QTest::qWait(250);
  leave(slider);  // left before the delay ran out
  EXPECT_EQ(millisecondsUntil([] { return visibleTip() != nullptr; }, 700), -1);

  hover(slider);
  ASSERT_GE(millisecondsUntil([] { return visibleTip() != nullptr; }, 3000), 0);
  EXPECT_EQ(shownText(visibleTip()), "Set horizontal position of Hot SPot\n -179 to 179 degrees");
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(visibleTip(), nullptr);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(millisecondsUntil([] { return visibleTip() != nullptr; }, 900), -1);
}

TEST(PopupHelp, MovingToAnotherControlShowsItsTextAndASecondBuildAddsNoSecondTip) {
  StandInWindow window;
  const auto help = buildFor(window);
  const auto again = buildFor(window);

  hover(window.control(175));
  ASSERT_GE(millisecondsUntil([] { return !visibleTips().empty(); }, 3000), 0);
  QTest::qWait(100);
  EXPECT_EQ(visibleTips().size(), 1u);
  EXPECT_EQ(shownText(visibleTip()), "Set the number of Hot Spot.");

  TipClock times(visibleTip());  // the tip of the first build, the one with the tools
  leave(window.control(175));
  hover(window.control(167));
  ASSERT_GE(millisecondsUntil([] { return visibleTip() != nullptr; }, 3000), 0);
  EXPECT_GE(times.shown, 500);
  EXPECT_TRUE(shownText(visibleTip()).startsWith("Add any Hot Spot Link, like:\nhttp://"));
}

TEST(PopupHelpTexts, RowsShareTextsAndKeepTheirBreaksAndSpaces) {
  // Rows of like controls share one text.
  for (int id = 171; id <= 180; ++id) EXPECT_EQ(popupHelpText(id), "Set the number of Hot Spot.");
  for (int id : {181, 190, 191, 200})
    EXPECT_EQ(popupHelpText(id),
              "Hot Spot Yaw value -179..0..179 degrees.\n"
              "Use the trackbar for choosing a Yaw value.");
  for (int id : {201, 211, 220})
    EXPECT_EQ(popupHelpText(id),
              "The position of Hot Spot in video stream, in seconds.\n"
              "Use the WMPlayer slider for choosing a Pos value.");
  for (int id : {221, 231, 240})
    EXPECT_EQ(popupHelpText(id), "Set the time of Hot Spot shown, in seconds.");
  for (int id : {127, 128, 129}) EXPECT_EQ(popupHelpText(id), popupHelpText(127));
  for (int id : {250, 252, 253})
    EXPECT_EQ(popupHelpText(id), "Choose a custom size of the html window\nfor the Flash Player. ");

  // Two sentences on one line where the text has no break between them.
  EXPECT_EQ(popupHelpText(148),
            "Choose \"Black Areas\" viewing mode for Velmora Flash video player.Full spherical "
            "viewing with top and bottom black areas.");
  EXPECT_EQ(popupHelpText(157),
            "Option for Sound Direction while panning\nLeft panning - increase the volume of "
            "left audio channel. Right panning - increase the volume of right audio channel.");
  EXPECT_EQ(popupHelpText(242), "Add a title for current Hot Spot, like:\n\"North Way\"");
  EXPECT_EQ(popupHelpText(243),
            "Set a Hot Spot Html mode: \"_self\" On/Off. \n"
            "Hot Spot transition to internal or external window.");
  EXPECT_EQ(popupHelpText(142),
            "Position of vertical viewing:\n 30 to -30 degrees, 0 degree by default\n"
            "Use the \"auto\" mode for common case.");
  EXPECT_EQ(popupHelpText(247), "Choose an value for GPU otimization:\n None, Direct or GPU");

  // Commands, the title, the player and the spare labels have no help.
  for (int id : {100, 101, 102, 104, 105, 108, 134, 155, 163, 164, 165, 251, 255, 259, 1001})
    EXPECT_TRUE(popupHelpText(id).isEmpty()) << id;
  // 29 rows, the ranges counted one control at a time, no control in two rows.
  const auto ids = qx::controlsWithHelp();
  EXPECT_EQ(ids.size(), 113u);
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
}

}  // namespace
