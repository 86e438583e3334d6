#include "app/ResourceImages.h"

#if __has_include("resources/Resources.h")
#include "resources/Resources.h"
#define QX_HAVE_RESOURCES 1
#endif

namespace qx {
namespace {

QPixmap pixmap(const char* type, const char* name) {
  QPixmap result;
#ifdef QX_HAVE_RESOURCES
  if (const auto bytes = findResource(type, name))
    result.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                        static_cast<uint>(bytes->size()));
#else
  (void)type;
  (void)name;
#endif
  return result;
}

}  // namespace

QPixmap bitmapResource(const char* name) {
  return pixmap("bitmap", name);
}

QIcon windowIconResource() {
  return QIcon(pixmap("icon", "video"));
}

}  // namespace qx
