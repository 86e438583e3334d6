#include "webgl/MarkupText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

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
    const std::size_t semi = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
    if (semi == std::string_view::npos || semi - i > 10) {
      out += text[i];
      continue;
    }
    const std::string_view body = text.substr(i + 1, semi - i - 1);
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
    i = semi;
  }
  return out;
}

std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && lower(text[i + k]) == lower(needle[k])) ++k;
    if (k == needle.size()) return i;
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
