#pragma once
// What the published text files share: lines ended by CR LF, and values made safe for the
// markup they stand in.
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// The lines, each ended by CR LF, as UTF-8 (the page and config.xml declare utf-8).
std::string crlfLines(const std::vector<std::string>& lines);

// & < > " as entities, so a value cannot end its element or attribute early. Text without
// those characters comes back unchanged.
std::string escapeMarkup(std::string_view text);

}  // namespace qx
