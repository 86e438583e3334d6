#pragma once
// Small tools for reading the text files a publish run leaves behind (config.xml and the page):
// they are read by search, not by a parser, because older ones are not always well formed.
#include <optional>
#include <string>
#include <string_view>

namespace qx::webgl {

// Replaces the entities &amp; &lt; &gt; &quot; &apos; and numeric ones (&#38; &#x26;); any
// other "&" is kept as it stands, as older files wrote "&" unescaped.
std::string decodeEntities(std::string_view text);

// Position of `needle` in `text` from `from` on, ASCII letters compared without regard to case.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

// Removes blanks (space, tab, CR, LF) at both ends.
std::string_view trimBlanks(std::string_view text);

// A decimal number that fills the whole (blank-trimmed) text; nullopt for anything else,
// including infinities and NaN.
std::optional<double> strictNumber(std::string_view text);

// The text between "<tag>" and the next "<", searched from `from`; nullopt when the tag is absent.
std::optional<std::string_view> elementText(std::string_view text, std::string_view tag,
                                            std::size_t from = 0);

}  // namespace qx::webgl
