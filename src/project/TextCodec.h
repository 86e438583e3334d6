#pragma once
// Text inside the program is UTF-8. The tagged files are 8-bit text: Windows-1252 when every
// character fits (the bytes the format has always had), otherwise UTF-8 without a byte-order mark.
#include <cstddef>
#include <string>
#include <string_view>

namespace qx {

// Bytes of a file as the program writes them: Windows-1252 when possible, else the UTF-8 as is.
std::string encodeFileText(std::string_view utf8);

// UTF-8 text of a file's bytes: taken as UTF-8 when valid and not pure ASCII, else Windows-1252.
std::string decodeFileText(std::string_view bytes);

// Checks and conversions used by the two above.
bool isValidUtf8(std::string_view bytes);
std::string windows1252ToUtf8(std::string_view bytes);
// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t cp);

// The first `maxChars` characters (code points) of a UTF-8 text.
std::string cutToChars(std::string_view utf8, std::size_t maxChars);

// ASCII letters in lower case; other bytes unchanged.
std::string asciiLower(std::string_view text);
// `name` with `suffix` appended unless it already ends in it, ASCII case ignored: how the
// dialogs' answers get ".pp" and ".html" (tour.htm -> tour.htm.html, TOUR.HTML stays).
std::string withSuffix(std::string_view name, std::string_view suffix);

// Removes spaces at both ends (only the space character).
std::string_view trimSpaces(std::string_view text);
// Removes spaces and NUL characters at both ends.
std::string_view trimSpacesAndNuls(std::string_view text);

}  // namespace qx
