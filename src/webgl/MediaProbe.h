#pragma once
// What a video file holds, as far as the browser copy is concerned.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "project/FileIo.h"

namespace qx::webgl {

struct VideoStreamInfo {
  std::string codec;       // FFmpeg's short name: "h264", "flv1", "vp6f", ...
  std::string codecLabel;  // for people: "H.264", "Sorenson Spark", "On2 VP6"
  int width = 0;
  int height = 0;
  double frameRate = 0;  // 0 when unknown
  bool decodable = false;
};

struct AudioStreamInfo {
  std::string codec;  // "aac", "mp3", "nellymoser", ...
  std::string codecLabel;
  int sampleRate = 0;
  int channels = 0;
  bool decodable = false;
};

struct MediaInfo {
  std::string container;  // "flv", "mov,mp4,m4a,3gp,3g2,mj2", ...
  double duration = 0;    // seconds, 0 when unknown
  std::uintmax_t fileSize = 0;
  std::optional<VideoStreamInfo> video;
  // From reading every packet: how many video frames the file really holds and where the last
  // one ends (seconds), which a cut-short file's header does not tell.
  std::int64_t videoFrames = -1;  // -1: not counted
  double videoEnd = 0;
  std::optional<AudioStreamInfo> audio;

  // Browsers play H.264 and AAC from MP4: those streams are copied, others re-encoded.
  bool videoCopied() const { return video && video->codec == "h264"; }
  bool audioCopied() const { return !audio || audio->codec == "aac"; }
  bool remuxOnly() const { return videoCopied() && audioCopied(); }
};

// Reads what the file holds; `cancel`, when set from another thread (or a signal), stops it.
Expected<MediaInfo> probeMedia(const std::filesystem::path& path,
                               const std::atomic<bool>* cancel = nullptr);

// The largest picture converted, per side and in all (8192 x 4096).
int maxPictureSide();
std::int64_t maxPicturePixels();

// "1:05.3", "12.0 s" style duration text for people.
std::string durationText(double seconds);

}  // namespace qx::webgl
