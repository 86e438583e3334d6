#include "media/EsDescriptor.h"

namespace qx::media {
namespace {

// A descriptor's tag and its size field (one to four bytes of seven bits); `pos` moves past both.
std::optional<std::size_t> descriptor(std::span<const std::uint8_t> b, std::size_t& pos,
                                      std::uint8_t tag) {
  if (pos >= b.size() || b[pos] != tag) return std::nullopt;
  ++pos;
  std::size_t size = 0;
  for (int i = 0; i < 4; ++i) {
    if (pos >= b.size()) return std::nullopt;
    const std::uint8_t byte = b[pos++];
    size = size << 7 | (byte & 0x7f);
    if (!(byte & 0x80)) return size;
  }
  return std::nullopt;
}

}  // namespace

std::optional<EsDecoderConfig> readEsDecoderConfig(std::span<const std::uint8_t> b) {
  std::size_t pos = 4;  // version and flags
  if (!descriptor(b, pos, 0x03) || pos + 3 > b.size()) return std::nullopt;
  const std::uint8_t flags = b[pos + 2];
  pos += 3;                                                  // ES id, flags
  if (flags & 0x80) pos += 2;                                // the ES it depends on
  if (flags & 0x40) pos += pos < b.size() ? 1 + b[pos] : 1;  // a URL
  if (flags & 0x20) pos += 2;                                // its clock reference stream
  if (!descriptor(b, pos, 0x04) || pos >= b.size()) return std::nullopt;
  EsDecoderConfig config{b[pos], {}};
  pos += 13;  // object type, stream type, buffer size, maximum and average rates
  if (pos < b.size()) {
    const auto size = descriptor(b, pos, 0x05);
    if (size && *size <= b.size() - pos) config.specificInfo = b.subspan(pos, *size);
  }
  return config;
}

}  // namespace qx::media
