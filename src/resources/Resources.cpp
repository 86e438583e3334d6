#include "resources/Resources.h"

#include "qxcore_resources.h"

namespace qx {

std::optional<std::span<const std::byte>> findResource(std::string_view type,
                                                       std::string_view name) {
  if (const auto* file = embedded::findEmbeddedFile(type, name)) return file->bytes();
  return std::nullopt;
}

}  // namespace qx
