#pragma once
// Brings a camera's video in: any video FFmpeg reads becomes an FLV the page plays (H.264 and
// AAC, equirectangular 2:1, the frame's centre facing where the camera faced). Streams that
// already are what the page plays are copied as they are; only what must change is encoded.
#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "import/Projection.h"

namespace qx::import {

inline constexpr int kDefaultWidth = 3840;
inline constexpr int kMinWidth = 1024;
inline constexpr int kMaxWidth = 4096;
inline constexpr double kDefaultFov = 190;

// What a source file is, for the import and for the user who chooses its options.
struct SourceInfo {
  std::string container;   // FFmpeg's demuxer: "mov", "matroska", "mpegts", ...
  std::string videoCodec;  // "h264", "hevc", ...
  std::string audioCodec = "none";
  int width = 0, height = 0;  // of the (first) video stream
  double duration = 0;        // seconds; 0 when unknown
  Projection projection = Projection::unknown;
  ProjectionFrom projectionFrom = ProjectionFrom::none;
  Stereo stereo = Stereo::mono;
  PanoramaArea area;         // set when the frames cover part of the panorama
  bool videoCopied = false;  // H.264 4:2:0, equirectangular 2:1, mono, within the width
  bool audioCopied = false;  // AAC, or MP3 at a rate FLV takes; also true when there is none
  [[nodiscard]] bool copied() const { return videoCopied && audioCopied; }
};

struct ImportOptions {
  std::optional<Projection> projection;  // nothing: as the file says (auto)
  double fov = kDefaultFov;              // a dual fisheye lens's field of view, degrees
  int maxWidth = kDefaultWidth;
};

struct ProbeResult {
  std::optional<SourceInfo> info;
  std::string error;  // when there is no info: "no video stream", ...
};

// Reads what `source` holds, as the import with `options` would take it.
[[nodiscard]] ProbeResult probeSource(const std::filesystem::path& source,
                                      const ImportOptions& options = {});

// The width of the imported panorama: the width asked for, never more than the source gives.
[[nodiscard]] int outputWidth(const SourceInfo& info, Projection projection, int maxWidth);

struct ImportControl {
  // The share done (0 to 1, rising), on the importing thread.
  std::function<void(double)> progress;
  // Set from any thread or a signal handler to stop; the run then ends Cancelled.
  const std::atomic<bool>* cancel = nullptr;
  // Told once what the import does that the user should know ("the left eye ...").
  std::function<void(const std::string&)> note;
};

enum class ImportStatus { done, cancelled, failed };

struct [[nodiscard]] ImportResult {
  ImportStatus status = ImportStatus::failed;
  std::string error;
  bool videoCopied = false;
  bool audioCopied = false;
};

// Writes `target` under a temporary name beside it and renames it at the end; a failure or a
// cancel leaves nothing behind and `target` as it was.
ImportResult importVideo(const std::filesystem::path& source, const std::filesystem::path& target,
                         const ImportOptions& options, const ImportControl& control = {});

}  // namespace qx::import
