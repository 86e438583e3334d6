#pragma once
// Reads how a published Flash page framed its viewer: title, background colour, size, border and
// the IFRAME variant. Pages edited by hand are read as far as they go; the rest keeps defaults.
#include <string_view>

#include "webgl/WebglConfig.h"

namespace qx::webgl {

PageLook readFlashPage(std::string_view bytes);

}  // namespace qx::webgl
