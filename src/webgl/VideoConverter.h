#pragma once
// Makes the browser copy of a video: an MP4 with its index (moov) ahead of the data, H.264 video
// and AAC audio. Streams that already are H.264 or AAC are copied packet for packet; others
// (Sorenson Spark, VP6, MP3, Nellymoser...) are re-encoded with libx264 and FFmpeg's AAC encoder.
#include <atomic>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace qx::webgl {

struct ConversionControl {
  // Called on the converting thread with the share done, 0 to 1, rising.
  std::function<void(double)> progress;
  // Set from any thread to stop; the run then ends with Cancelled.
  const std::atomic<bool>* cancel = nullptr;
};

enum class ConversionStatus { Done, Cancelled, Failed };

struct [[nodiscard]] ConversionResult {
  ConversionStatus status = ConversionStatus::Failed;
  std::string error;  // why it failed, in words
  bool reencodedVideo = false;
  bool reencodedAudio = false;
};

// One MP4 file of a conversion. A `maxWidth` above 0 makes a lighter copy: a wider picture is
// scaled down to it (and so always re-encoded). `weight` is the pass's share of the progress bar
// against the others'.
struct Mp4Output {
  std::filesystem::path target;
  int maxWidth = 0;
  double weight = 1;
};

// Writes `target` beside itself under a temporary name and renames it only when complete: a
// failed or cancelled run leaves `target` as it was and no partial file behind.
ConversionResult convertToMp4(const std::filesystem::path& source,
                              const std::filesystem::path& target,
                              const ConversionControl& control = {});

// Several MP4 files from one source, one pass each. Either all of them are renamed into place at
// the end, or, failed or cancelled, none is.
ConversionResult convertToMp4s(const std::filesystem::path& source,
                               std::span<const Mp4Output> outputs,
                               const ConversionControl& control = {});

}  // namespace qx::webgl
