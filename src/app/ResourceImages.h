#pragma once
// Pictures and the window icon carried inside the program (resources/<TYPE>/<NAME>.png).
#include <QIcon>
#include <QPixmap>

namespace qx {

// resources/bitmap/<name>.png; a null pixmap when the program carries none of that name.
QPixmap bitmapResource(const char* name);
// The window icon (resources/icon/video.png).
QIcon windowIconResource();

}  // namespace qx
