#pragma once
// The MPEG-4 elementary stream descriptor inside an MP4 sound entry's esds box: the decoder
// configuration's object type (AAC, MP3, ...) and its decoder-specific info (for AAC, the
// AudioSpecificConfig that an FLV's AAC sequence header carries).
#include <cstdint>
#include <optional>
#include <span>

namespace qx::media {

struct EsDecoderConfig {
  std::uint8_t objectType = 0;
  std::span<const std::uint8_t> specificInfo;  // inside the body read; empty when absent
};

// `body` is the esds box's body, version and flags first. Nothing when the ES descriptor or its
// decoder configuration is missing or cut short.
[[nodiscard]] std::optional<EsDecoderConfig> readEsDecoderConfig(
    std::span<const std::uint8_t> body);

[[nodiscard]] constexpr bool isAacObjectType(std::uint8_t type) {
  return type == 0x40 || (type >= 0x66 && type <= 0x68);
}
[[nodiscard]] constexpr bool isMp3ObjectType(std::uint8_t type) {
  return type == 0x69 || type == 0x6B;
}

}  // namespace qx::media
