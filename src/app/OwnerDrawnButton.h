#pragma once
// The command buttons the window paints itself: a gradient of 200 bands in the button's colour
// key with the caption over it, and "Process" in blue over a sunken edge while pressed.
#include <optional>

#include <QColor>
#include <QPushButton>

class QPainter;

namespace qx {

// The colour keys (RGB) of the owner-drawn buttons.
namespace gradient {
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kGrey = 0x808080;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kOlive = 0x808000;
constexpr QRgb kNone = 0;
}  // namespace gradient

// Colour of band `band` (0 at the top .. 199) for a key; nothing for a key without a gradient.
std::optional<QColor> gradientBandColour(QRgb key, int band);
// Paints the gradient of `key` over a client area of `size`; paints nothing for other keys.
void fillGradient(QPainter& painter, QSize size, QRgb key);

class OwnerDrawnButton : public QPushButton {
 public:
  OwnerDrawnButton(const QString& caption, QRgb key, QColor textColour, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRgb key_;
  QColor textColour_;
};

}  // namespace qx
