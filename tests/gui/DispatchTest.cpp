// mainWindowProc: the click first for codes 0 and 1, one branch per identifier, the exit question
// on every route, "Options by default", the colour buttons and the owner-drawn buttons.
#include <QAction>
#include <QCheckBox>
#include <QSlider>
#include <QTest>

#include "WindowFixture.h"
#include "app/OwnerDrawnButton.h"
#include "preview/HotSpotEditor.h"

namespace qx::test {
namespace {

TEST_F(WindowTest, OneClickPerCommandAndNoneForTyping) {
  platform.messageAnswers.assign(8, MessageAnswer::Cancel);  // stay at the exit question
  const auto clicksFor = [this](const std::function<void()>& act) {
    const int before = platform.clicks;
    act();
    return platform.clicks - before;
  };
  for (const int id : {100, 104, 102, 108, 155, 163, 164, 165})
    EXPECT_EQ(clicksFor([&] { button(id)->click(); }), 1) << id;
  for (const int id : {100, 463, 464, 108, 258, 104, 155, 145, 133, 159, 102})
    EXPECT_EQ(clicksFor([&] { window->menuItem(id)->trigger(); }), 1) << id;
  for (const int id : {110, 111, 121, 250, 259, 243, 461, 462, 171, 175, 147, 148})
    EXPECT_EQ(clicksFor([&] { button(id)->click(); }), 1) << id;
  for (const int id : {112, 116, 118, 142, 140, 126, 247, 249, 157, 152, 257})
    EXPECT_EQ(clicksFor([&] { emit list(id)->activated(1); }), 1) << id;
  // A label that reports clicks plays the click and does nothing more.
  const Log before = log;
  EXPECT_EQ(clicksFor([&] { QTest::mouseClick(label(117), Qt::LeftButton); }), 1);
  EXPECT_EQ(clicksFor([&] { QTest::mouseClick(label(201), Qt::LeftButton); }), 1);
  EXPECT_EQ(log.size(), before.size() + 2);
  // Typing and scrolling are no commands; codes other than 0 and 1 are ignored.
  EXPECT_EQ(clicksFor([&] { QTest::keyClicks(box(131), "Tour of the hall"); }), 0);
  EXPECT_EQ(clicksFor([&] { QTest::keyClicks(box(231), "1x2.-"); }), 0);
  EXPECT_EQ(box(231)->text(), QStringLiteral("5.012"));  // typing inserts digits only
  EXPECT_EQ(clicksFor([&] { ctl<QSlider>(161)->triggerAction(QSlider::SliderPageStepAdd); }), 0);
  EXPECT_EQ(clicksFor([&] { window->mainWindowProc(102, 2); }), 0);
  EXPECT_EQ(help.aboutShown, 2);  // the two About commands above, not the ignored one
}

TEST_F(WindowTest, AcceleratorsSendTheirCommands) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_F1);
  EXPECT_EQ(help.shortHelpShown, 1);
  QTest::keyClick(window.get(), Qt::Key_F1, Qt::ControlModifier);
  EXPECT_EQ(platform.opened.size(), 1u);
  QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
  ASSERT_EQ(platform.fileRequests.size(), 1u);
  EXPECT_EQ(platform.fileRequests[0].pattern, QStringLiteral("*.flv; *.f4v"));
  EXPECT_EQ(platform.clicks, 3);
}

TEST_F(WindowTest, EveryRowOfTheDispatchTable) {
  window->mainWindowProc(102, 0);
  EXPECT_EQ(help.aboutShown, 1);
  window->mainWindowProc(133, 1);
  EXPECT_EQ(help.shortHelpShown, 1);

  window->mainWindowProc(159, 1);
  ASSERT_EQ(platform.opened.size(), 1u);
  EXPECT_EQ(platform.opened[0], toQString(folder.path() / "qx_flash_hs.pdf"));

  // Redirect utility: started beside the program when none runs, brought forward otherwise.
  window->mainWindowProc(258, 0);
  ASSERT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(platform.started[0], toQString(folder.path() / "velmora_redirect"));
  EXPECT_EQ(log[log.size() - 2], "activate:Velmora Flash - Html5 WebGl Selector Utility");
  platform.programRunning = true;
  window->mainWindowProc(258, 0);
  EXPECT_EQ(platform.started.size(), 1u);

  // Pop-up help switch.
  window->mainWindowProc(145, 0);
  EXPECT_EQ(state.tooltipHelp, 0);
  EXPECT_FALSE(window->menuItem(145)->isChecked());
  EXPECT_FALSE(help.popup->isActive());
  window->mainWindowProc(145, 0);
  EXPECT_EQ(state.tooltipHelp, 1);
  EXPECT_TRUE(help.popup->isActive());

  // The icon boxes exclude each other, also when the checked one is clicked again.
  button(462)->click();
  EXPECT_FALSE(checked(461));
  EXPECT_TRUE(checked(462));
  button(462)->click();
  EXPECT_TRUE(checked(462));
  button(461)->click();
  EXPECT_TRUE(checked(461));
  EXPECT_FALSE(checked(462));

  button(259)->click();
  EXPECT_EQ(state.iframe, 1);
  button(259)->click();
  EXPECT_EQ(state.iframe, 0);

  // The row selectors: exactly one checked, the current slot following it.
  button(177)->click();
  EXPECT_EQ(state.currentHotSpot, 7);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(checked(170 + n), n == 7) << n;
  button(177)->click();  // clicking the checked one keeps it checked
  EXPECT_TRUE(checked(177));

  // Add, clear and clear all act on the current slot.
  player->position = 3.25;
  box(167)->setText(QStringLiteral("http://example.org/a"));
  window->mainWindowProc(163, 0);
  EXPECT_TRUE(state.hotSpots.at(7).inUse());
  window->mainWindowProc(164, 0);
  EXPECT_FALSE(state.hotSpots.at(7).inUse());
  box(167)->setText(QStringLiteral("http://example.org/a"));
  window->mainWindowProc(163, 0);
  window->mainWindowProc(165, 0);
  EXPECT_EQ(state.hotSpots.countInUse(), 0);
  EXPECT_EQ(state.currentHotSpot, 1);

  // The file commands each ask with their own dialog.
  for (const int id : {100, 463, 464}) window->mainWindowProc(id, 0);
  ASSERT_EQ(platform.fileRequests.size(), 3u);
  EXPECT_EQ(platform.fileRequests[1].title, QStringLiteral("Load a Project"));
  EXPECT_EQ(platform.fileRequests[2].title, QStringLiteral("Save the Project"));

  window->mainWindowProc(155, 0);
  EXPECT_TRUE(std::filesystem::exists(optionsPath()));
}

TEST_F(WindowTest, CancelAtTheExitQuestionKeepsTheWindowOnEveryRoute) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const std::vector<std::pair<const char*, std::function<void()>>> routes = {
      {"menu item", [&] { window->menuItem(108)->trigger(); }},
      {"button", [&] { button(108)->click(); }},
      {"close box", [&] { window->close(); }},
      {"Alt+F4", [&] { QTest::keyClick(window.get(), Qt::Key_F4, Qt::AltModifier); }}};
  for (const auto& [route, act] : routes) {
    platform.messageAnswers = {MessageAnswer::Cancel};
    const std::size_t asked = platform.messages.size();
    act();
    ASSERT_EQ(platform.messages.size(), asked + 1) << route;
    const auto& question = platform.messages.back();
    EXPECT_EQ(question.text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(question.title, QStringLiteral("Exit IDE"));
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_TRUE(question.okCancel);
    EXPECT_TRUE(window->isVisible()) << route;
  }
  // OK ends the window, and nothing is saved on the way out.
  platform.messageAnswers = {MessageAnswer::Ok};
  button(108)->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(platform.messages.size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(optionsPath()));
}

TEST_F(WindowTest, OptionsByDefaultResetsExactlyItsControls) {
  for (const auto& [id, index] : {std::pair{112, 0},
                                  {118, 3},
                                  {116, 0},
                                  {140, 12},
                                  {142, 4},
                                  {126, 10},
                                  {157, 5},
                                  {152, 1},
                                  {257, 1},
                                  {247, 2},
                                  {249, 0}})
    list(id)->setCurrentIndex(index);
  for (const int id : {110, 250, 259, 462, 148}) button(id)->click();
  for (const int id : {111, 121, 243}) button(id)->setChecked(false);
  box(131)->setText(QStringLiteral("Tour"));
  box(137)->setText(QStringLiteral("12"));
  box(245)->setText(QStringLiteral("45"));
  box(252)->setText(QStringLiteral("800"));
  box(253)->setText(QStringLiteral("600"));
  state.htmlBgColor = 0x123456;
  state.blackAreaColor = 0x654321;
  window->applySettings([&] {
    ProjectSettings s = window->currentSettings();
    s.videoPath = "/videos/hall.flv";
    s.zoomMax = 90;
    return s;
  }());
  window->mainWindowProc(145, 0);  // help off
  ctl<QSlider>(161)->triggerAction(QSlider::SliderToMinimum);
  player->position = 2;
  box(167)->setText(QStringLiteral("http://example.org"));
  window->mainWindowProc(163, 0);
  const Log before = log;

  button(104)->click();

  const ProjectSettings s = window->currentSettings();
  ProjectSettings expected;
  expected.optimize = 3;
  expected.htmlQuality = 1;
  expected.iframe = 1;
  expected.tiltManual = "45";
  expected.zoomMax = 90;
  expected.tooltipHelp = 0;
  EXPECT_EQ(s, expected);
  EXPECT_EQ(label(128)->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(label(128)->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_EQ(label(150)->palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(ctl<QSlider>(161)->value(), -179);
  EXPECT_EQ(state.hotSpotYaw, -179);
  EXPECT_TRUE(state.hotSpots.at(1).inUse());
  EXPECT_FALSE(window->menuItem(145)->isChecked());
  // The player is left alone: only the click was added to the log.
  EXPECT_EQ(log.size(), before.size() + 1);
  EXPECT_FALSE(std::filesystem::exists(optionsPath()));
}

TEST_F(WindowTest, ColourButtonsOpenOnWhiteAndKeepTheirOwnBusyFlag) {
  // Cancel leaves the setting and the swatch.
  button(129)->click();
  ASSERT_EQ(platform.colourRequests, (std::vector<std::uint32_t>{0xFFFFFF}));
  EXPECT_EQ(state.htmlBgColor, 0xFFFFFFu);
  // A colour is stored and shown; the click comes after the dialog has closed.
  platform.colourAnswers = {0x0000FF};
  button(129)->click();
  EXPECT_EQ(state.htmlBgColor, 0x0000FFu);
  EXPECT_EQ(label(128)->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(log.back(), "sound:sound3/tick");
  EXPECT_EQ(log[log.size() - 2], "colour");
  // While a dialog is open, its button does nothing; the other button opens its own.
  platform.whileColourDialogOpen = [&] {
    platform.whileColourDialogOpen = nullptr;
    button(129)->click();
    platform.colourAnswers = {0x00FF00};
    button(149)->click();
  };
  platform.colourAnswers = {0x808080};
  button(129)->click();
  EXPECT_EQ(platform.colourRequests.size(), 4u);  // not 5: the second click on 129 opened none
  EXPECT_EQ(state.blackAreaColor, 0x00FF00u);
  EXPECT_EQ(state.htmlBgColor, 0x0000FFu);  // the first dialog's answer came from the deque
  for (const auto initial : platform.colourRequests) EXPECT_EQ(initial, 0xFFFFFFu);
  // With its dialog closed the button works again.
  platform.colourAnswers = {0x111111};
  button(129)->click();
  EXPECT_EQ(state.htmlBgColor, 0x111111u);

  // Both dialogs open at once: OK in the first shows its colour while the second stays open.
  platform.holdColourDialogs = true;
  button(129)->click();
  button(149)->click();
  ASSERT_EQ(platform.openColourDialogs.size(), 2u);
  platform.openColourDialogs[0](0x0000FF);
  EXPECT_EQ(label(128)->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(state.blackAreaColor, 0x00FF00u);
  platform.openColourDialogs[1](std::nullopt);
  EXPECT_EQ(state.blackAreaColor, 0x00FF00u);
}

TEST_F(WindowTest, OwnerDrawnButtonsPaintTheirGradientAndThePressedLook) {
  EXPECT_EQ(*gradientBandColour(gradient::kOlive, 0), QColor(0, 255, 255));
  EXPECT_EQ(*gradientBandColour(gradient::kBlue, 199), QColor(0, 0, 56));
  EXPECT_EQ(*gradientBandColour(gradient::kGrey, 199), QColor(56, 56, 56));
  EXPECT_FALSE(gradientBandColour(0x123456, 0));

  auto* select = button(100);
  QImage image = select->grab().toImage();
  // With 22 pixels, bands 0 to 4 round onto the first row and the last of them wins.
  EXPECT_EQ(QColor(image.pixel(0, 0)), *gradientBandColour(gradient::kOlive, 4));
  EXPECT_EQ(QColor(image.pixel(98, 21)), *gradientBandColour(gradient::kOlive, 195));
  auto* exit = button(108);
  EXPECT_EQ(QColor(exit->grab().toImage().pixel(50, 0)), QColor(251, 0, 0));

  // Pressed: no gradient, a sunken edge and "Process" in blue.
  select->setDown(true);
  image = select->grab().toImage();
  select->setDown(false);
  EXPECT_NE(QColor(image.pixel(50, 2)), QColor(0, 249, 249));
  bool blueText = false;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y) {
      const QColor c(image.pixel(x, y));
      blueText |= c.blue() > 200 && c.red() < 80 && c.green() < 80;
    }
  EXPECT_TRUE(blueText);
}

}  // namespace
}  // namespace qx::test
