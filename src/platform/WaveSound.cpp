#include "platform/WaveSound.h"

#include <cstring>
#include <string_view>

namespace qx {
namespace {

std::uint32_t le(std::span<const std::byte> b, std::size_t at, std::size_t size) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < size; ++i)
    v |= static_cast<std::uint32_t>(std::to_integer<unsigned>(b[at + i])) << (8 * i);
  return v;
}

bool tagAt(std::span<const std::byte> b, std::size_t at, std::string_view tag) {
  return at + 4 <= b.size() && std::memcmp(b.data() + at, tag.data(), 4) == 0;
}

}  // namespace

std::optional<WaveData> parseWave(std::span<const std::byte> b) {
  if (b.size() < 12 || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE")) return std::nullopt;
  WaveData wave;
  bool haveFormat = false;
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::size_t size = le(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > b.size() - body) return std::nullopt;  // a chunk running past the end
    if (tagAt(b, at, "fmt ") && size >= 16) {
      if (le(b, body, 2) != 1) return std::nullopt;  // PCM only
      wave.channels = static_cast<int>(le(b, body + 2, 2));
      wave.sampleRate = static_cast<int>(le(b, body + 4, 4));
      wave.bitsPerSample = static_cast<int>(le(b, body + 14, 2));
      haveFormat = true;
    } else if (tagAt(b, at, "data") && haveFormat) {
      const bool usable = wave.channels > 0 && wave.sampleRate > 0 &&
                          (wave.bitsPerSample == 8 || wave.bitsPerSample == 16);
      if (!usable) return std::nullopt;
      wave.samples = b.subspan(body, size);
      return wave;
    }
    at = body + size + (size & 1);  // chunks are padded to even lengths
  }
  return std::nullopt;
}

}  // namespace qx
