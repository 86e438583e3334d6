#pragma once
// The fonts carried inside the program: Liberation Sans and Serif, the metric twins of Arial and
// Times New Roman, the faces the windows name. Registered once at start (before any window is
// built), they make every caption measure the same whatever fonts a machine has installed.

namespace qx {

// Registers the carried fonts with Qt and, where the system lacks the real Arial or Times New
// Roman, makes those names resolve to their twins. Needs a QGuiApplication.
void registerBundledFonts();

// The face of the window's controls and of the help windows' plain labels.
inline constexpr const char* kSansFace = "Arial";
// The face of the titles.
inline constexpr const char* kSerifFace = "Times New Roman";

}  // namespace qx
