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

std::string shownText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7f) {
      switch (c) {
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\t':
          out += "\\t";
          break;
        default:
          out += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
      }
      continue;
    }
    // In UTF-8: C1 controls are C2 80..C2 9F; U+2028/2029 and the bidirectional marks
    // (U+200E/200F, U+202A..202E, U+2066..2069) are E2 80 xx and E2 81 xx.
    const auto next = [&](std::size_t k) {
      return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
    };
    unsigned code = 0;
    std::size_t length = 0;
    if (c == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F) {
      code = next(1), length = 2;
    } else if (c == 0xE2 && (next(1) == 0x80 || next(1) == 0x81) && next(2) >= 0x80 &&
               next(2) <= 0xBF) {
      code = 0x2000 + (next(1) - 0x80) * 64 + (next(2) - 0x80);
      const bool hidden = code == 0x200E || code == 0x200F || (code >= 0x2028 && code <= 0x202E) ||
                          (code >= 0x2066 && code <= 0x2069);
      if (hidden) length = 3;
    }
    if (length == 0) {
      out += text[i];
      continue;
    }
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 15];
    i += length - 1;
  }
  return out;
}

}  // namespace qx
