#pragma once
// What the author is shown before converting: what the video is, what happens to it, and what
// the browser page will not do as the Flash viewer did.
#include <string>
#include <vector>

#include "webgl/MediaProbe.h"
#include "webgl/WebglConfig.h"

namespace qx::webgl {

enum class CheckLevel {
  Ok,       // as it should be
  Note,     // worth knowing, nothing to do
  Warning,  // the result will fall short somewhere
  Problem,  // no browser version can be made
};

struct Check {
  CheckLevel level = CheckLevel::Ok;
  std::string text;
  bool operator==(const Check&) const = default;
};

std::vector<Check> mediaChecks(const MediaInfo& media, const WebglConfig& config);

// True when no check stops the conversion.
bool canConvert(const std::vector<Check>& checks);

// "OK", "Note", "Warning", "Problem".
const char* levelText(CheckLevel level);

}  // namespace qx::webgl
