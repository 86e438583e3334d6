#pragma once
// Captions for the browser page: a WebVTT file the author puts beside the video, with the
// video's name and .vtt (tour.flv, tour.vtt). The page shows them over its picture.
#include <filesystem>
#include <optional>
#include <string>

namespace qx::webgl {

struct CaptionsFile {
  std::filesystem::path source;  // /site/tour.vtt
  std::string problem;           // why it is not used, when it is there but unusable
};

// The captions file beside `sourceVideo`, if there is one.
std::optional<CaptionsFile> findCaptions(const std::filesystem::path& sourceVideo);

// Copies the captions to `target` (the browser video's name with .vtt); nothing to do when the
// two are the same file. The reason in words on failure.
std::optional<std::string> copyCaptions(const std::filesystem::path& source,
                                        const std::filesystem::path& target);

}  // namespace qx::webgl
