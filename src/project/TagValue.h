#pragma once
// How both tagged files are read: a value stands between two equal tags, once the file's own
// closing tags have been folded into opening tags.
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace qx {

// The values of the tags "<NAME>" for the given names, found in one pass over the text (a
// search per tag would cost a pass per tag). Case-sensitive.
class TaggedValues {
 public:
  TaggedValues(std::string_view text, std::span<const std::string> names);
  // The text between the first and the second "<name>"; to the end of the text when the tag
  // occurs once; "" when it does not occur or the name was not asked for.
  std::string_view value(std::string_view name) const;

 private:
  std::string_view text_;
  // Where the value after the first tag starts, and where the second tag starts (npos: none).
  std::map<std::string, std::pair<std::size_t, std::size_t>, std::less<>> found_;
};

// Replaces "</NAME>" by "<NAME>" for the given names only, so that a title such as "a</b" keeps
// its "</".
std::string foldClosingTags(std::string_view text, std::span<const std::string> names);

}  // namespace qx
