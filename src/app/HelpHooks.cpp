#include "app/HelpHooks.h"

#include "help/HelpWindows.h"
#include "help/PopupHelp.h"

namespace qx {

HelpHooks defaultHelpHooks() {
  return {[](QWidget* window, const std::function<QWidget*(int)>& control) {
            return buildToolTips(window, control);
          },
          [](QWidget* owner) { showShortHelp(owner); },
          [](QWidget* owner, Platform& platform) { showAbout(owner, platform); }};
}

}  // namespace qx
