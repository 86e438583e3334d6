#pragma once
// The short help window and the About window, both modal to the main window.
class QWidget;

namespace qx {

class Platform;

void showShortHelp(QWidget* owner);
// The About window's links open through the platform layer.
void showAbout(QWidget* owner, Platform& platform);

}  // namespace qx
