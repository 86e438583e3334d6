#include "webgl/FlashPageReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "project/TextCodec.h"
#include "webgl/MarkupText.h"

namespace qx::webgl {
namespace {

// The value of `name=` in a tag, with or without quotes; "" when written empty, nullopt when
// the attribute is absent.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view name) {
  const std::string key = " " + std::string(name) + "=";
  const std::size_t at = findNoCase(tag, key);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = tag.substr(at + key.size());
  if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
    const char quote = rest.front();
    rest.remove_prefix(1);
    return rest.substr(0, rest.find(quote));
  }
  const std::size_t end = rest.find_first_of(" \t\r\n>");
  return rest.substr(0, end);
}

void readSize(std::string_view tag, std::string_view name, std::optional<int>& slot) {
  const auto value = attribute(tag, name);
  if (!value) return;
  if (trimBlanks(*value).empty()) {
    slot.reset();
    return;
  }
  const auto n = strictNumber(*value);
  if (n && *n >= 1 && *n <= 100000) slot = static_cast<int>(std::lround(*n));
}

}  // namespace

PageLook readFlashPage(std::string_view bytes) {
  const std::string text = decodeFileText(bytes);
  const std::string_view page = text;
  PageLook look;

  const std::size_t titleAt = findNoCase(page, "<title>");
  if (titleAt != std::string_view::npos) {
    const std::size_t start = titleAt + 7;
    const std::size_t end = findNoCase(page, "</title>", start);
    look.title = decodeEntities(
        trimBlanks(page.substr(start, end == std::string_view::npos ? 0 : end - start)));
  }

  const std::size_t bgAt = findNoCase(page, "background-color:");
  if (bgAt != std::string_view::npos) {
    std::string_view rest = trimBlanks(page.substr(bgAt + 17, 16));
    if (rest.starts_with("#")) rest.remove_prefix(1);
    const std::string_view digits = rest.substr(0, 6);
    if (digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](char c) {
          return std::isxdigit(static_cast<unsigned char>(c));
        })) {
      look.bgColor = "#";
      for (const char c : digits)
        look.bgColor += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }

  // The first <object> is the outer one; it carries the size the author chose.
  const std::size_t objectAt = findNoCase(page, "<object");
  if (objectAt != std::string_view::npos) {
    const std::size_t end = page.find('>', objectAt);
    const std::string_view tag =
        page.substr(objectAt, end == std::string_view::npos ? end : end - objectAt + 1);
    readSize(tag, "width", look.width);
    readSize(tag, "height", look.height);
  }

  look.border = findNoCase(page, "border: solid 1px black") != std::string_view::npos;
  look.iframe = findNoCase(page, "<center>") == std::string_view::npos;
  return look;
}

}  // namespace qx::webgl
