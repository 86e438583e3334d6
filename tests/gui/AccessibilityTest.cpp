// The window from the keyboard and through a screen reader's eyes: every control has a name and
// a role in the accessibility tree, the Tab key reaches every control that takes input, and a
// button pressed with the mouse does not keep the focus.
#include <set>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "WindowFixture.h"
#include "help/PopupHelpTexts.h"

namespace qx::test {
namespace {

// Every object below `iface` in the accessibility tree.
void collect(QAccessibleInterface* iface, std::set<QObject*>& found, int depth = 0) {
  if (!iface || depth > 12) return;
  if (iface->object()) found.insert(iface->object());
  for (int i = 0; i < iface->childCount(); ++i) collect(iface->child(i), found, depth + 1);
}

bool takesInput(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Slider:
      return true;
    default:
      return false;
  }
}

class AccessTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
};

TEST_F(AccessTest, EveryControlHasANameARoleAndItsHelpAsDescription) {
  std::set<QObject*> inTree;
  collect(QAccessible::queryAccessibleInterface(window.get()), inTree);
  for (const int id : window->controlIds()) {
    SCOPED_TRACE(id);
    QWidget* w = window->control(id);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(iface, nullptr);
    EXPECT_TRUE(inTree.count(w));
    EXPECT_FALSE(iface->text(QAccessible::Name).trimmed().isEmpty());
    EXPECT_NE(iface->role(), QAccessible::NoRole);
    if (const QString help = popupHelpText(id); !help.isEmpty()) {
      EXPECT_EQ(iface->text(QAccessible::Description), help);
    }
  }
  // Controls that share a caption are told apart.
  const auto name = [&](int id) {
    return QAccessible::queryAccessibleInterface(window->control(id))->text(QAccessible::Name);
  };
  EXPECT_NE(name(129), name(149));
  EXPECT_EQ(name(235), QStringLiteral("Hot Spot 05 time"));
}

TEST_F(AccessTest, TabReachesEveryControlOnceInReadingOrder) {
  std::set<QWidget*> wanted;
  for (const int id : window->controlIds()) {
    QWidget* w = window->control(id);
    // A group of option buttons is one stop, at its checked button; the arrows move in it.
    const auto role = QAccessible::queryAccessibleInterface(w)->role();
    if (takesInput(role) && (role != QAccessible::RadioButton || checked(id))) wanted.insert(w);
  }
  window->control(100)->setFocus(Qt::TabFocusReason);
  std::vector<QWidget*> visited{QApplication::focusWidget()};
  for (std::size_t i = 0; i <= wanted.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  // One full round: back at the start, every control met exactly once on the way.
  ASSERT_EQ(visited.front(), window->control(100));
  const auto back = std::find(visited.begin() + 1, visited.end(), visited.front());
  ASSERT_NE(back, visited.end());
  const std::vector<QWidget*> round(visited.begin(), back);
  EXPECT_EQ(round.size(), wanted.size());
  for (const int id : window->controlIds())
    EXPECT_EQ(std::count(round.begin(), round.end(), window->control(id)),
              wanted.count(window->control(id)))
        << id;
  // The link box, the title box and the IFRAME box keep their order; the options column reads
  // downwards.
  const auto at = [&](int id) {
    return std::find(round.begin(), round.end(), window->control(id));
  };
  EXPECT_LT(at(167), at(242));
  EXPECT_LT(at(242), at(259));
  EXPECT_LT(at(112), at(116));
  EXPECT_LT(at(116), at(249));
  EXPECT_LT(at(171), at(231));
  EXPECT_LT(at(231), at(172));

  window->control(147)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(window->control(147), Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), window->control(148));
  EXPECT_TRUE(checked(148));
}

TEST_F(AccessTest, AClickedButtonLeavesTheFocusSoAStraySpaceDoesNotPressItAgain) {
  window->control(167)->setFocus(Qt::TabFocusReason);
  QTest::mouseClick(window->control(104), Qt::LeftButton);
  EXPECT_EQ(platform.clicks, 1);
  EXPECT_NE(QApplication::focusWidget(), window->control(104));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(platform.clicks, 1);
  // Reached with Tab, Space presses it.
  window->control(104)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(window->control(104), Qt::Key_Space);
  EXPECT_EQ(platform.clicks, 2);
}

}  // namespace
}  // namespace qx::test
