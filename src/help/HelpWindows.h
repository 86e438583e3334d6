#pragma once
// The short help window and the About window, both modal to the main window.
#include <memory>

class QDialog;
class QWidget;

namespace qx {

class Platform;

// "Exit Help" plays the click sound through the platform layer, like every button of the program.
void showShortHelp(QWidget* owner, Platform& platform);
// The About window's links open through the platform layer.
void showAbout(QWidget* owner, Platform& platform);

// The windows as built, not yet shown: the show functions above run them modally. Each control
// carries its identifier in the property "controlId" (see findHelpControl).
std::unique_ptr<QDialog> buildShortHelp(QWidget* owner, Platform& platform);
std::unique_ptr<QDialog> buildAbout(QWidget* owner, Platform& platform);

// The maker's addresses behind the About window's two links.
inline constexpr const char* kSupportMail = "support@velmora.example";
inline constexpr const char* kWebSite = "http://www.velmora.example";

}  // namespace qx
