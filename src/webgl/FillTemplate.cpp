#include <algorithm>

#include "webgl/WebAssets.h"

namespace qx::webgl {

std::string fillTemplate(std::string_view text,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find("{{", i);
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find("}}", open + 2);
    if (close == std::string_view::npos) break;
    const std::string_view name = text.substr(open + 2, close - open - 2);
    const auto it =
        std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == name; });
    out.append(text.substr(i, open - i));
    if (it != values.end()) {
      out += it->second;
      i = close + 2;
    } else {
      out += '{';
      i = open + 1;
    }
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

}  // namespace qx::webgl
