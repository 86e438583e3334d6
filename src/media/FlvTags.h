#pragma once
// The pieces of an FLV file, as bytes: the header, a tag's header and trailer, the video and
// audio tag prefixes and the onMetaData script tag (AMF0). Times are in milliseconds.
#include <cstdint>
#include <string>
#include <string_view>

namespace qx::media {

inline constexpr std::uint8_t kFlvAudioTag = 8, kFlvVideoTag = 9, kFlvScriptTag = 18;
// The largest body a tag's 24-bit size field holds.
inline constexpr std::uint32_t kFlvMaxTagBody = 0xffffff;

// "FLV", version 1, which streams follow, and the first (empty) previous-tag size.
[[nodiscard]] std::string flvFileHeader(bool hasAudio, bool hasVideo);

// The 11 bytes before a tag's body of `bodySize` bytes at `timeMs` (0 to 2^31 - 1).
[[nodiscard]] std::string flvTagHeader(std::uint8_t type, std::uint32_t bodySize,
                                       std::uint32_t timeMs);
// The 4 bytes after a tag: its whole size.
[[nodiscard]] std::string flvTagTrailer(std::uint32_t bodySize);

// The first bytes of an H.264 tag's body: frame type, codec, packet type (0 the decoder
// configuration, 1 pictures) and the composition offset.
[[nodiscard]] std::string flvAvcPrefix(bool keyframe, bool configuration,
                                       std::int32_t compositionMs);
// The first bytes of an AAC tag's body: packet type 0 the AudioSpecificConfig, 1 a frame.
[[nodiscard]] std::string flvAacPrefix(bool configuration);

struct FlvMetaData {
  double duration = 0;  // seconds
  int width = 0, height = 0;
  double frameRate = 0;
  bool hasAudio = false;
  double audioSampleRate = 0;
  bool stereo = false;
};
// The whole onMetaData script tag's body: players set a video up from its width, height,
// videocodecid, framerate and duration.
[[nodiscard]] std::string flvMetaDataBody(const FlvMetaData& meta);

}  // namespace qx::media
