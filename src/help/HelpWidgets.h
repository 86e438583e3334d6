#pragma once
// Small building blocks of the help windows: colours given as 0x00BBGGRR, labels placed at
// fixed pixel positions with an identifier, clickable labels and centring on the work area.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QColor>
#include <QLabel>
#include <QRect>

class QDialog;

namespace qx::help {

// A colour written the way the host system stores it: red in the lowest byte.
QColor colourFromBgr(std::uint32_t bbggrr);

enum class LabelEdge { None, Sunken, StaticEdge };

struct LabelLook {
  QColor text = Qt::black;
  std::optional<QColor> background;  // none: the window shows through
  LabelEdge edge = LabelEdge::None;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A label that calls back when it is clicked (mouse released over it), as the About links do.
class LinkLabel : public QLabel {
 public:
  using QLabel::QLabel;
  void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClick_;
};

// Tags a control with its identifier, the number by which findHelpControl finds it.
void setControlId(QWidget* control, int id);
int controlIdOf(const QWidget* control);
// The control below `root` with this identifier, nullptr when there is none.
QWidget* findHelpControl(const QWidget* root, int id);

// Places a label (or a LinkLabel when T says so) with its look, text and identifier (0: none).
template <class T = QLabel>
T* placeLabel(QWidget* parent, int id, const QRect& place, const QString& text,
              const LabelLook& look);

// Shrinks the font of every label and button of the window, a pixel at a time, until each line
// of its text fits its fixed width.
void fitTextsToWidth(QWidget* window, int smallestPixelSize = 8);

// The compact font of the help windows' plain labels, so that every text fits its fixed box.
QFont helpWindowFont();

// A modal window of fixed client size with a title bar, a close box and the given extra title
// bar buttons, its background filled with `background`, in the help windows' font.
std::unique_ptr<QDialog> makeFixedDialog(QWidget* owner, const QString& title, const QSize& size,
                                         const QColor& background,
                                         Qt::WindowFlags extraButtons = {});
// The last step of building: every text made to fit, the window centred on the work area.
void finishDialog(QDialog* dialog, const QWidget* owner);

// Moves a window so that it stands in the middle of the work area of the owner's screen.
void centreOnWorkArea(QWidget* window, const QWidget* owner);

}  // namespace qx::help
