#pragma once
// A WAVE file held in memory, read far enough to hand its samples to an audio output.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace qx {

struct WaveData {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;               // 8 (unsigned) or 16 (signed) PCM
  std::span<const std::byte> samples;  // inside the bytes given to parseWave
};

// The PCM format and samples of a RIFF/WAVE image; nothing for anything else, a truncated file
// or a compressed format.
std::optional<WaveData> parseWave(std::span<const std::byte> bytes);

}  // namespace qx
