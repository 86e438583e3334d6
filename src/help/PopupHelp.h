#pragma once
// Pop-up help on every control of the main window, switched on and off as a whole.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QString>

class QWidget;

namespace qx {

class PopupHelp {
 public:
  virtual ~PopupHelp() = default;
  virtual void setActive(bool active) = 0;
  virtual bool isActive() const = 0;
};

// Attaches the help texts to the controls that `control(id)` finds (nullptr for an id the
// window does not have); built last, once every control exists.
std::unique_ptr<PopupHelp> buildToolTips(QWidget* window,
                                         const std::function<QWidget*(int)>& control);
// The same help on any other window's controls, each with its text.
std::unique_ptr<PopupHelp> buildToolTips(QWidget* window,
                                         const std::vector<std::pair<QWidget*, QString>>& tools);

}  // namespace qx
