#pragma once
// A "Choose Color" button's own handler: the colour dialog (opening on white, custom colours kept
// for the whole process), the setting it changes and the swatch that shows it. While its dialog
// is open a second click on the same button does nothing; the swatch changes as soon as OK is
// pressed, whatever other dialog is open.
#include <cstdint>

class QWidget;

namespace qx {

class Platform;

// Shows a 0x00BBGGRR colour as both the text and the background colour of a swatch.
void paintSwatch(QWidget* swatch, std::uint32_t bgr);

class ColourButton {
 public:
  ColourButton(Platform& platform, std::uint32_t& setting, QWidget* swatch);
  void clicked();
  bool busy() const { return busy_; }

 private:
  Platform& platform_;
  std::uint32_t& setting_;
  QWidget* swatch_;
  bool busy_ = false;
};

}  // namespace qx
