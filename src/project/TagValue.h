#pragma once
// How both tagged files are read: a value stands between two equal tags, once the file's own
// closing tags have been folded into opening tags.
#include <span>
#include <string>
#include <string_view>

namespace qx {

// The text between the first and the second occurrence of `tag`; to the end of `text` when the
// tag occurs once; "" when it does not occur. Case-sensitive.
std::string_view tagValue(std::string_view text, std::string_view tag);

// Replaces "</NAME>" by "<NAME>" for the given names only, so that a title such as "a</b" keeps
// its "</".
std::string foldClosingTags(std::string_view text, std::span<const std::string> names);

}  // namespace qx
