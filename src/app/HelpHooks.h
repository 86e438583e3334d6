#pragma once
// How the main window reaches the pop-up help, the short help window and the About window. The
// program uses the real ones; tests and picture-taking can put others in their place.
#include <functional>
#include <memory>

class QWidget;

namespace qx {

class Platform;
class PopupHelp;

struct HelpHooks {
  std::function<std::unique_ptr<PopupHelp>(QWidget* window,
                                           const std::function<QWidget*(int)>& control)>
      buildToolTips;
  std::function<void(QWidget* owner)> showShortHelp;
  std::function<void(QWidget* owner, Platform& platform)> showAbout;
};

// The help of src/help.
HelpHooks defaultHelpHooks();

}  // namespace qx
