#pragma once
// The pieces of JSON text: the HTML5 page's configuration and the command line's listings.
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// A JSON string literal, quotes included. Control characters, quotes, backslashes, "<", ">" and
// "&" are escaped, and so are U+2028/U+2029; invalid UTF-8 bytes become U+FFFD.
std::string jsonString(std::string_view utf8);
// The shortest text that reads back as the same double; null for NaN and infinities.
std::string jsonNumber(double value);

inline std::string jsonBool(bool value) {
  return value ? "true" : "false";
}
template <class T, class F>
std::string jsonOrNull(const std::optional<T>& value, F write) {
  return value ? write(*value) : std::string("null");
}

}  // namespace qx
