#pragma once
// The fonts carried inside the program: Liberation Sans and Serif, the metric twins of Arial and
// Times New Roman, the faces the windows are laid out for. Registered once at start (before any
// window is built), they make every caption measure the same whatever fonts a machine has
// installed.
#include <QString>

namespace qx {

// Registers the carried fonts with Qt. Needs a QGuiApplication.
void registerBundledFonts();

// The family of the window's controls and of the help windows' plain labels: Arial where the
// system has it, else its carried twin. Named by a family Qt has, so that a font is found at once;
// a name the system lacks sends Qt to the font configuration for an alias and a list of
// fallbacks, which costs milliseconds for every face and script. Valid after
// registerBundledFonts().
QString sansFamily();
// The family of the titles: Times New Roman, or its carried twin.
QString serifFamily();

}  // namespace qx
