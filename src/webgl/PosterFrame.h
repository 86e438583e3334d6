#pragma once
// The still the browser page shows while its video loads: the video's first frame as a JPEG,
// at most kPosterMaxWidth wide (a poster is a stand-in for a second or two, not the picture).
#include <filesystem>
#include <optional>
#include <string>

namespace qx::webgl {

inline constexpr int kPosterMaxWidth = 2048;

// Decodes the first frame of `video` and writes it to `target` (replaced only once complete).
// The reason in words when it cannot.
std::optional<std::string> writePosterFrame(const std::filesystem::path& video,
                                            const std::filesystem::path& target);

}  // namespace qx::webgl
