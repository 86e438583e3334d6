#pragma once
// Pictures carried inside the program (resources/<TYPE>/<NAME>.<ext>).
#include <QIcon>
#include <QPixmap>

namespace qx {

// The picture of a resource; a null pixmap when the program carries none of that name.
QPixmap resourcePicture(const char* type, const char* name);
// The window icon (resources/ICON/video.png).
QIcon windowIconResource();

}  // namespace qx
