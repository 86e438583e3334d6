#include "webgl/MarkupText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "project/TextCodec.h"

namespace qx::webgl {
namespace {

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The code point of a numeric entity body ("#38", "#x26"), when it is one a text may hold.
std::optional<std::uint32_t> numericEntity(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return std::nullopt;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  std::uint32_t cp = 0;
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
  if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size())
    return std::nullopt;
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return cp;
}

}  // namespace

std::string decodeEntities(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Every entity read here ends within ten characters; looking no further keeps a text of
    // many bare "&" linear.
    const char* semi = text[i] == '&'
                           ? static_cast<const char*>(std::memchr(
                                 text.data() + i, ';', std::min<std::size_t>(11, text.size() - i)))
                           : nullptr;
    if (!semi) {
      out += text[i];
      continue;
    }
    const std::size_t end = static_cast<std::size_t>(semi - text.data());
    const std::string_view body = text.substr(i + 1, end - i - 1);
    const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                    [&](const auto& e) { return e.first == body; });
    if (named != std::end(kNamed)) {
      out += named->second;
    } else if (const auto cp = numericEntity(body)) {
      appendUtf8(out, *cp);
    } else {
      out += text[i];
      continue;
    }
    i = end;
  }
  return out;
}

std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  if (needle.size() > text.size()) return std::string_view::npos;
  // A table and plain indexing: every reader's searches run through here, over whole files.
  static const std::array<unsigned char, 256> kLower = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(lower(static_cast<char>(c)));
    return t;
  }();
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  const auto* n = reinterpret_cast<const unsigned char*>(needle.data());
  const std::size_t m = needle.size();
  const unsigned char first = kLower[n[0]];
  for (std::size_t i = from; i + m <= text.size(); ++i) {
    if (kLower[t[i]] != first) continue;
    std::size_t k = 1;
    while (k < m && kLower[t[i + k]] == kLower[n[k]]) ++k;
    if (k == m) return i;
  }
  return std::string_view::npos;
}

std::string_view trimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> strictNumber(std::string_view text) {
  text = trimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto r =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<std::string_view> elementText(std::string_view text, std::string_view tag,
                                            std::size_t from) {
  const std::string open = "<" + std::string(tag) + ">";
  const std::size_t at = findNoCase(text, open, from);
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = at + open.size();
  const std::size_t end = text.find('<', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace qx::webgl
