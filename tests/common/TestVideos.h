#pragma once
// The first bytes of small video files, made by hand: enough for the content reader to say what
// they hold (the frames themselves are left out).
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace testvideos {

inline std::string bigEndian(std::uint64_t v, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(v >> (8 * i));
  return out;
}

// ---- FLV ----
inline std::string flvTag(int type, const std::string& data) {
  return char(type) + bigEndian(data.size(), 3) + std::string(7, '\0') + data +
         bigEndian(11 + data.size(), 4);
}
inline std::string amfString(std::string_view s) {
  return bigEndian(s.size(), 2) + std::string(s);
}
inline std::string amfNumber(double d) {
  std::uint64_t bits = 0;
  static_assert(sizeof bits == sizeof d);
  std::memcpy(&bits, &d, sizeof d);
  return '\0' + bigEndian(bits, 8);
}
// onMetaData with the given size and codec ids (an ECMA array, as muxers write it).
inline std::string flvMetadata(int width, int height, int videoCodec, int audioCodec) {
  return flvTag(18, '\x02' + amfString("onMetaData") + '\x08' + bigEndian(4, 4) +
                        amfString("duration") + amfNumber(1.5) + amfString("width") +
                        amfNumber(width) + amfString("height") + amfNumber(height) +
                        amfString("videocodecid") + amfNumber(videoCodec) +
                        amfString("audiocodecid") + amfNumber(audioCodec) + amfString("") + '\x09');
}
// An FLV whose first tags carry `videoCodec` (the FLV codec id; none when absent) and
// `soundFormat`, padded with `frameBytes` of frame data.
inline std::string flv(std::optional<int> videoCodec = 2, std::optional<int> soundFormat = 2,
                       std::size_t frameBytes = 64) {
  std::string file = std::string("FLV\x01", 4) +
                     char((videoCodec ? 1 : 0) | (soundFormat ? 4 : 0)) + bigEndian(9, 4) +
                     bigEndian(0, 4);
  if (soundFormat) file += flvTag(8, char(*soundFormat << 4 | 0x0f) + std::string(16, '\x55'));
  if (videoCodec) file += flvTag(9, char(0x10 | *videoCodec) + std::string(frameBytes, '\x11'));
  return file;
}

// ---- The MP4 family ----
inline std::string box(std::string_view type, const std::string& body) {
  return bigEndian(8 + body.size(), 4) + std::string(type) + body;
}
inline std::string fullBox(std::string_view type, const std::string& body) {
  return box(type, std::string(4, '\0') + body);
}
inline std::string track(std::string_view handler, const std::string& sampleEntry, int width = 0,
                         int height = 0) {
  const std::string tkhd =
      fullBox("tkhd", std::string(20 + 52, '\0') + bigEndian(width, 2) + std::string(2, '\0') +
                          bigEndian(height, 2) + std::string(2, '\0'));
  const std::string hdlr = fullBox(
      "hdlr", std::string(4, '\0') + std::string(handler) + std::string(12, '\0') + "name\0");
  const std::string stsd = fullBox("stsd", bigEndian(1, 4) + sampleEntry);
  return box("trak", tkhd + box("mdia", hdlr + box("minf", box("stbl", stsd))));
}
// A visual sample entry: its frame size at the place the format fixes.
inline std::string videoEntry(std::string_view fourcc, int width, int height) {
  return box(fourcc, std::string(6, '\0') + bigEndian(1, 2) + std::string(16, '\0') +
                         bigEndian(width, 2) + bigEndian(height, 2) + std::string(50, '\0'));
}
// An mp4a entry whose esds names the MPEG object type (0x40 AAC, 0x6B MP3).
inline std::string mp4aEntry(int objectType = 0x40) {
  const std::string decoderConfig =
      "\x04" + std::string(1, char(13)) + char(objectType) + std::string(12, '\0');
  const std::string es = "\x03" + std::string(1, char(3 + decoderConfig.size())) +
                         std::string(3, '\0') + decoderConfig;
  return box("mp4a",
             std::string(6, '\0') + bigEndian(1, 2) + std::string(20, '\0') + fullBox("esds", es));
}
inline std::string mp4(std::string_view brand, const std::string& tracks) {
  return box("ftyp", std::string(brand) + bigEndian(0, 4) + std::string(brand) + "isom") +
         box("moov", tracks) + box("mdat", std::string(32, '\0'));
}
// The usual camera file: H.264 (or `codec`) video with AAC sound.
inline std::string mp4Video(std::string_view brand, std::string_view codec = "avc1",
                            int width = 256, int height = 128) {
  return mp4(brand, track("vide", videoEntry(codec, width, height)) + track("soun", mp4aEntry()));
}

}  // namespace testvideos
