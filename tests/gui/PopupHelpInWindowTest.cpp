// The real pop-up help on the real main window: every control of the help table exists there,
// the tips show over it, and menu item 145 switches them.
#include <QAction>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "Fakes.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "common/TempFolder.h"
#include "help/PopupHelp.h"
#include "help/PopupHelpTexts.h"
#include "platform/MediaModule.h"
#include "platform/QtText.h"

namespace qx::test {
namespace {

class PopupHelpInWindow : public ::testing::Test {
 protected:
  TempFolder folder;
  Log log;
  FakePlatform platform{log};
  AppState state = initialAppState(toQString(folder.path()));
  MediaModule media{std::filesystem::path(QX_MEDIA_MODULE_FILE)};
  MainWindow window{state,
                    platform,
                    media,
                    std::make_unique<FakePlayer>(log),
                    folder.path() / "qx_flash_hs.ini",
                    defaultHelpHooks()};

  void SetUp() override { window.show(); }

  // The text of the tip that shows after resting on the control, or "" when none shows.
  QString restOn(int id) {
    QWidget* control = window.control(id);
    const QPointF inside(3, 3);
    QEnterEvent enter(inside, control->mapTo(&window, inside), control->mapToGlobal(inside));
    QCoreApplication::sendEvent(control, &enter);
    auto* tip = window.findChild<QWidget*>(QStringLiteral("qxPopupTip"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1200 && !(tip && tip->isVisible())) QTest::qWait(10);
    const QString text = tip && tip->isVisible() ? tip->findChild<QLabel*>("text")->text() : "";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(control, &leave);
    return text;
  }
};

TEST_F(PopupHelpInWindow, EveryHelpedControlExistsAndShowsItsText) {
  for (int id : controlsWithHelp()) EXPECT_NE(window.control(id), nullptr) << id;
  ASSERT_NE(window.popupHelp(), nullptr);
  EXPECT_TRUE(window.popupHelp()->isActive());

  EXPECT_EQ(restOn(112), popupHelpText(112));
  EXPECT_EQ(restOn(231), "Set the time of Hot Spot shown, in seconds.");
  EXPECT_EQ(restOn(161), "Set horizontal position of Hot SPot\n -179 to 179 degrees");
  EXPECT_EQ(restOn(163), "");  // "Add Hot Spot" has no help
}

TEST_F(PopupHelpInWindow, MenuItemSwitchesTheTipsOffAndOn) {
  window.mainWindowProc(145, 0);
  EXPECT_FALSE(window.popupHelp()->isActive());
  EXPECT_FALSE(window.menuItem(145)->isChecked());
  EXPECT_EQ(restOn(140), "");

  window.mainWindowProc(145, 0);
  EXPECT_TRUE(window.popupHelp()->isActive());
  EXPECT_TRUE(window.menuItem(145)->isChecked());
  EXPECT_EQ(restOn(140), popupHelpText(140));
}

}  // namespace
}  // namespace qx::test
