#pragma once
// The browser page's own files: the two templates and the files copied beside every page
// (the viewer script first).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::webgl {

struct WebAsset {
  std::string name;  // file name as written beside the page, e.g. "qx_webgl.js"
  std::string_view bytes;
};

struct WebAssets {
  std::string_view pageTemplate;
  std::string_view selectTemplate;
  std::vector<WebAsset> files;
};

// The assets carried inside the executable; nullopt when a template or the script is missing
// from the build.
std::optional<WebAssets> embeddedWebAssets();

// Fills "{{NAME}}" placeholders in one pass, so a value that itself holds "{{...}}" text stays as
// it is. Unknown placeholders are left untouched.
std::string fillTemplate(std::string_view text,
                         const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace qx::webgl
