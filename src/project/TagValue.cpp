#include "project/TagValue.h"

#include <algorithm>

namespace qx {
namespace {

std::size_t longestName(std::span<const std::string> names) {
  std::size_t longest = 0;
  for (const auto& n : names) longest = std::max(longest, n.size());
  return longest;
}

// The name of the tag whose '<' (after `prefix`) stands at `at`, when it is one of `names`: its
// '>' lies within the longest name, so the look is bounded and a file of "<" stays linear.
std::string_view knownTagAt(std::string_view text, std::size_t at, std::size_t prefix,
                            std::span<const std::string> names, std::size_t longest) {
  const std::size_t start = at + prefix;
  const std::size_t end =
      text.substr(0, std::min(text.size(), start + longest + 1)).find('>', start);
  if (end == std::string_view::npos) return {};
  const std::string_view name = text.substr(start, end - start);
  return std::find(names.begin(), names.end(), name) != names.end() ? name : std::string_view();
}

}  // namespace

TaggedValues::TaggedValues(std::string_view text, std::span<const std::string> names)
    : text_(text) {
  const std::size_t longest = longestName(names);
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    const std::string_view name = knownTagAt(text, at, 1, names, longest);
    if (name.empty()) continue;
    auto [it, fresh] =
        found_.try_emplace(std::string(name), at + name.size() + 2, std::string_view::npos);
    if (!fresh && it->second.second == std::string_view::npos) it->second.second = at;
  }
}

std::string_view TaggedValues::value(std::string_view name) const {
  const auto it = found_.find(name);
  if (it == found_.end()) return {};
  const auto [start, next] = it->second;
  return text_.substr(start, next == std::string_view::npos ? next : next - start);
}

std::string foldClosingTags(std::string_view text, std::span<const std::string> names) {
  const std::size_t longest = longestName(names);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto close = text.find("</", i);
    if (close == std::string_view::npos) break;
    out.append(text, i, close - i);
    out += knownTagAt(text, close, 2, names, longest).empty() ? "</" : "<";
    i = close + 2;
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

}  // namespace qx
