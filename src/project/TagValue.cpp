#include "project/TagValue.h"

#include <algorithm>

namespace qx {

std::string_view tagValue(std::string_view text, std::string_view tag) {
  const auto first = text.find(tag);
  if (first == std::string_view::npos) return {};
  const auto start = first + tag.size();
  const auto next = text.find(tag, start);
  return text.substr(start, next == std::string_view::npos ? std::string_view::npos : next - start);
}

std::string foldClosingTags(std::string_view text, std::span<const std::string> names) {
  std::size_t longest = 0;
  for (const auto& n : names) longest = std::max(longest, n.size());
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto close = text.find("</", i);
    if (close == std::string_view::npos) break;
    out.append(text, i, close - i);
    const auto end = text.find('>', close + 2);
    const bool known = end != std::string_view::npos && end - close - 2 <= longest &&
                       std::find(names.begin(), names.end(),
                                 text.substr(close + 2, end - close - 2)) != names.end();
    out += known ? "<" : "</";
    i = close + 2;
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

}  // namespace qx
