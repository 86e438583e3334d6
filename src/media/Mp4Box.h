#pragma once
// Walking the boxes of an ISO base media file (MP4, MOV, F4V, M4V, 3GP) without trusting it:
// every size is checked against the box that holds it and against the file, so a hostile file
// can claim what it likes and still only costs the bytes read.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <istream>
#include <optional>
#include <string_view>
#include <vector>

namespace qx::media {

struct Mp4Box {
  std::array<char, 4> type{};
  std::uint64_t start = 0;  // the box's first byte
  std::uint64_t body = 0;   // the first byte after the header (and after a uuid's user type)
  std::uint64_t end = 0;    // one past the box's last byte
  std::array<std::uint8_t, 16> userType{};  // set for "uuid" boxes only

  [[nodiscard]] bool is(std::string_view fourcc) const {
    return fourcc.size() == 4 && std::string_view(type.data(), 4) == fourcc;
  }
  [[nodiscard]] std::uint64_t bodySize() const { return end - body; }
};

// The box whose header starts at `offset`, if a whole, well-formed header lies inside
// [offset, limit) and the box claims no byte past `limit`. A size of 0 runs to `limit`.
[[nodiscard]] std::optional<Mp4Box> readBoxHeader(std::istream& in, std::uint64_t offset,
                                                  std::uint64_t limit);

// The boxes one after another in [begin, end), stopping at the first malformed header or after
// `maxBoxes` (a real file holds a few dozen at any level).
[[nodiscard]] std::vector<Mp4Box> childBoxes(std::istream& in, std::uint64_t begin,
                                             std::uint64_t end, std::size_t maxBoxes = 4096);

// The first box of `type` in [begin, end).
[[nodiscard]] std::optional<Mp4Box> findBox(std::istream& in, std::uint64_t begin,
                                            std::uint64_t end, std::string_view type);

// Follows a path of box types from [begin, end), e.g. {"moov", "trak"}: the first match at
// each level.
[[nodiscard]] std::optional<Mp4Box> findPath(std::istream& in, std::uint64_t begin,
                                             std::uint64_t end,
                                             std::initializer_list<std::string_view> path);

// `count` bytes at `offset`, or nothing when the stream ends first. `count` is at most 64 KiB:
// callers read fields, never payloads, through this.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> readBytes(std::istream& in,
                                                                 std::uint64_t offset,
                                                                 std::size_t count);

// A big-endian unsigned number of `bytes` (1 to 8) at `offset`.
[[nodiscard]] std::optional<std::uint64_t> readBigEndian(std::istream& in, std::uint64_t offset,
                                                         int bytes);

// A table of fixed-size entries in a full box: a 32-bit entry count `countAt` bytes into the
// box's body, the entries from `headerBytes` on. `fits`: the box holds every entry it counts.
struct Mp4Table {
  std::uint64_t offset = 0;  // the first entry
  std::uint32_t count = 0;
  std::uint32_t entrySize = 0;
  bool fits = false;
};
[[nodiscard]] std::optional<Mp4Table> readTable(std::istream& in, const Mp4Box& box,
                                                std::uint64_t countAt, std::uint64_t headerBytes,
                                                std::uint32_t entrySize);

// The size of the stream (seeking to its end), or nothing when it cannot seek.
[[nodiscard]] std::optional<std::uint64_t> streamSize(std::istream& in);

}  // namespace qx::media
