#include "app/ResourceImages.h"

#include "resources/Resources.h"

namespace qx {

QPixmap resourcePicture(const char* type, const char* name) {
  QPixmap picture;
  if (const auto bytes = findResource(type, name))
    picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                         static_cast<uint>(bytes->size()));
  return picture;
}

QIcon windowIconResource() {
  return QIcon(resourcePicture("ICON", "video"));
}

}  // namespace qx
