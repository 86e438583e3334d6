#include "media/FlvTags.h"

#include <bit>
#include <cstring>

namespace qx::media {
namespace {

void putBigEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

void putName(std::string& out, std::string_view name) {
  putBigEndian(out, name.size(), 2);
  out += name;
}

void putNumber(std::string& out, std::string_view name, double value) {
  putName(out, name);
  out.push_back('\x00');  // AMF0 number: an IEEE double, big-endian
  putBigEndian(out, std::bit_cast<std::uint64_t>(value), 8);
}

void putBoolean(std::string& out, std::string_view name, bool value) {
  putName(out, name);
  out.push_back('\x01');
  out.push_back(value ? '\x01' : '\x00');
}

}  // namespace

std::string flvFileHeader(bool hasAudio, bool hasVideo) {
  std::string out = "FLV\x01";
  out.push_back(static_cast<char>((hasAudio ? 4 : 0) | (hasVideo ? 1 : 0)));
  putBigEndian(out, 9, 4);
  putBigEndian(out, 0, 4);
  return out;
}

std::string flvTagHeader(std::uint8_t type, std::uint32_t bodySize, std::uint32_t timeMs) {
  std::string out(1, static_cast<char>(type));
  putBigEndian(out, bodySize, 3);
  putBigEndian(out, timeMs & 0xffffff, 3);
  out.push_back(static_cast<char>(timeMs >> 24 & 0x7f));  // the time's upper bits
  putBigEndian(out, 0, 3);                                // stream id, always 0
  return out;
}

std::string flvTagTrailer(std::uint32_t bodySize) {
  std::string out;
  putBigEndian(out, std::uint64_t{bodySize} + 11, 4);
  return out;
}

std::string flvAvcPrefix(bool keyframe, bool configuration, std::int32_t compositionMs) {
  std::string out;
  out.push_back(static_cast<char>((keyframe ? 0x10 : 0x20) | 7));  // 7: AVC
  out.push_back(configuration ? '\x00' : '\x01');
  putBigEndian(out, static_cast<std::uint32_t>(compositionMs) & 0xffffff, 3);
  return out;
}

std::string flvAacPrefix(bool configuration) {
  // AAC is always flagged 44 kHz, 16-bit, stereo; the real values are in its configuration.
  return std::string("\xaf") + (configuration ? '\x00' : '\x01');
}

std::string flvMetaDataBody(const FlvMetaData& meta) {
  std::string out;
  out.push_back('\x02');  // AMF0 string
  putName(out, "onMetaData");
  out.push_back('\x08');  // ECMA array and its number of entries
  putBigEndian(out, meta.hasAudio ? 9 : 5, 4);
  putNumber(out, "duration", meta.duration);
  putNumber(out, "width", meta.width);
  putNumber(out, "height", meta.height);
  putNumber(out, "framerate", meta.frameRate);
  putNumber(out, "videocodecid", 7);
  if (meta.hasAudio) {
    putNumber(out, "audiosamplerate", meta.audioSampleRate);
    putNumber(out, "audiosamplesize", 16);
    putBoolean(out, "stereo", meta.stereo);
    putNumber(out, "audiocodecid", 10);
  }
  putBigEndian(out, 0, 2);  // the empty name and the end marker close the array
  out.push_back('\x09');
  return out;
}

}  // namespace qx::media
