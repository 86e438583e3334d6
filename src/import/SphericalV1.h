#pragma once
// The first form of spherical video metadata: a "uuid" box in the video track holding an XML
// text (ProjectionType, StereoMode, the cropped area). Read with the core's bounded box walker.
#include <filesystem>
#include <optional>
#include <string_view>

#include "import/Projection.h"

namespace qx::import {

// The metadata of the first video track that carries the box; nothing when none does, or the
// file is no MP4-family file.
[[nodiscard]] std::optional<SphericalMetadata> readSphericalV1(const std::filesystem::path& file);

// The XML text itself: projection, stereo mode and cropped area. Nothing when it does not say
// the video is spherical.
[[nodiscard]] std::optional<SphericalMetadata> parseSphericalV1Xml(std::string_view xml);

}  // namespace qx::import
