#include "project/PathText.h"

namespace qx {

std::filesystem::path pathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string pathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

namespace {

bool isWindowsRooted(std::string_view text) {
  const bool drive = text.size() >= 2 && text[1] == ':' &&
                     ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
  return drive || text.starts_with('\\') || text.starts_with('/');
}

}  // namespace

std::string resolveVideoPath(std::string_view text, const std::filesystem::path& projectFolder) {
  if (text.empty() || isWindowsRooted(text) || projectFolder.empty()) return std::string(text);
  std::string generic(text);
  for (char& c : generic)
    if (c == '\\') c = '/';
  return pathToUtf8((projectFolder / pathFromUtf8(generic)).lexically_normal());
}

}  // namespace qx
