#include <algorithm>

#include "qxwebgl_web.h"
#include "webgl/WebAssets.h"

namespace qx::webgl {
namespace {

std::string_view text(const embedded::EmbeddedFile& f) {
  return {reinterpret_cast<const char*>(f.begin), static_cast<std::size_t>(f.end - f.begin)};
}

bool isTemplate(const embedded::EmbeddedFile& f) {
  return embedded::findEmbeddedFile("WEB", "page") == &f ||
         embedded::findEmbeddedFile("WEB", "select") == &f;
}

}  // namespace

std::optional<WebAssets> embeddedWebAssets() {
  const auto* page = embedded::findEmbeddedFile("WEB", "page");
  const auto* select = embedded::findEmbeddedFile("WEB", "select");
  const auto* script = embedded::findEmbeddedFile("WEB", "qx_webgl");
  if (!page || !select || !script) return std::nullopt;
  WebAssets assets{text(*page), text(*select), {}};
  // The script first, then whatever else the page loads, under their own names.
  assets.files.push_back({"qx_webgl.js", text(*script)});
  for (const auto& f : embedded::embeddedFiles()) {
    if (f.type != "WEB" || &f == script || isTemplate(f) ||
        f.path.find('/', 4) != std::string_view::npos)
      continue;
    assets.files.push_back({std::string(f.path.substr(4)), text(f)});
  }
  return assets;
}

}  // namespace qx::webgl
