#pragma once
// The transport bar's pictures, drawn rather than looked up: the style's standard media icons
// search the icon theme's folders and load image plugins, which cost the window's start about
// ten milliseconds for five small pictures. Drawn, they also look the same on every desktop.
#include <QColor>
#include <QIcon>

namespace qx {

enum class TransportPicture { Play, Pause, Stop, Sound, Muted };

// The picture in `ink`, at 16 and 32 pixels (the second for screens at twice the density).
QIcon transportIcon(TransportPicture picture, const QColor& ink);

}  // namespace qx
