#include "preview/ColourButton.h"

#include <optional>

#include <QWidget>

#include "platform/Platform.h"

namespace qx {

void paintSwatch(QWidget* swatch, std::uint32_t bgr) {
  const QColor colour(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                      static_cast<int>((bgr >> 16) & 0xFF));
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText, colour);
  swatch->setPalette(palette);
  swatch->setAutoFillBackground(true);
  swatch->update();
}

ColourButton::ColourButton(Platform& platform, std::uint32_t& setting, QWidget* swatch)
    : platform_(platform), setting_(setting), swatch_(swatch) {}

void ColourButton::clicked() {
  if (busy_) return;
  busy_ = true;
  // The dialog belongs to the window (it goes with it) but leaves it usable while open.
  platform_.chooseColour(swatch_->window(), 0xFFFFFF, [this](std::optional<std::uint32_t> colour) {
    if (colour) {
      setting_ = *colour;
      paintSwatch(swatch_, setting_);
    }
    busy_ = false;
  });
}

}  // namespace qx
