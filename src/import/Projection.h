#pragma once
// The ways a 360-degree camera lays the sphere out in its frames, and how sure we are of it.
#include <optional>
#include <string>
#include <string_view>

namespace qx::import {

enum class Projection { equirect, eac, dualFisheye, gopro360, unknown };
enum class ProjectionFrom { metadata, layout, aspect, none };
enum class Stereo { mono, topBottom, leftRight };

// The words of the command line and of the probe: "equirect", "eac", "dual-fisheye",
// "gopro-360", "unknown"; "metadata", "layout", ...; "mono", "top-bottom", "left-right".
[[nodiscard]] std::string_view projectionName(Projection p);
[[nodiscard]] std::string_view projectionFromName(ProjectionFrom f);
[[nodiscard]] std::string_view stereoName(Stereo s);
// The projection a user may name (not "unknown"); nothing for other words.
[[nodiscard]] std::optional<Projection> projectionFromWord(std::string_view word);
// "equirect, eac, dual-fisheye, gopro-360": for messages that ask for a choice.
[[nodiscard]] std::string projectionChoices();

// Where a frame's picture sits in the whole panorama, when the file says it covers only part of
// it (a camera that leaves out the ground, say). In the metadata's units, which need not be the
// frame's pixels: the cropped size stands for the whole frame.
struct PanoramaArea {
  int fullWidth = 0, fullHeight = 0;
  int left = 0, top = 0;
  int croppedWidth = 0, croppedHeight = 0;
  [[nodiscard]] bool given() const { return croppedWidth > 0 && croppedHeight > 0; }
};

// What a file's spherical metadata says.
struct SphericalMetadata {
  Projection projection = Projection::unknown;
  Stereo stereo = Stereo::mono;
  PanoramaArea area;
};

}  // namespace qx::import
