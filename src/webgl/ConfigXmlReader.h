#pragma once
// Reads the config.xml of a published folder into the values the browser page needs. Any bytes
// are accepted: UTF-8 with or without the byte-order mark, Windows-1252 from older runs, lines
// missing, reordered or malformed. What cannot be read keeps its default and is noted.
#include <string>
#include <string_view>
#include <vector>

#include "webgl/WebglConfig.h"

namespace qx::webgl {

struct ConfigXml {
  MainValues main;
  std::string movie;  // as written, "" when absent
  std::vector<WebHotSpot> hotSpots;
  std::vector<std::string> notes;  // what was unreadable, in words for the author
};

ConfigXml readConfigXml(std::string_view bytes);

}  // namespace qx::webgl
