#include "media/Mp4Box.h"

#include <algorithm>

namespace qx::media {

std::optional<std::vector<std::uint8_t>> readBytes(std::istream& in, std::uint64_t offset,
                                                   std::size_t count) {
  constexpr std::size_t kMaxField = 64 * 1024;
  if (count > kMaxField) return std::nullopt;
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(count);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  if (static_cast<std::size_t>(in.gcount()) != count) return std::nullopt;
  return bytes;
}

std::optional<std::uint64_t> readBigEndian(std::istream& in, std::uint64_t offset, int bytes) {
  if (bytes < 1 || bytes > 8) return std::nullopt;
  const auto raw = readBytes(in, offset, static_cast<std::size_t>(bytes));
  if (!raw) return std::nullopt;
  std::uint64_t value = 0;
  for (const std::uint8_t b : *raw) value = value << 8 | b;
  return value;
}

std::optional<std::uint64_t> streamSize(std::istream& in) {
  in.clear();
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  if (!in || end < 0) return std::nullopt;
  return static_cast<std::uint64_t>(end);
}

std::optional<Mp4Table> readTable(std::istream& in, const Mp4Box& box, std::uint64_t countAt,
                                  std::uint64_t headerBytes, std::uint32_t entrySize) {
  if (box.bodySize() < countAt + 4) return std::nullopt;
  const auto count = readBigEndian(in, box.body + countAt, 4);
  if (!count) return std::nullopt;
  Mp4Table table{box.body + headerBytes, static_cast<std::uint32_t>(*count), entrySize};
  // Divided, not multiplied: a claimed count times the entry size must not wrap around.
  table.fits = entrySize != 0 && box.bodySize() >= headerBytes &&
               (box.bodySize() - headerBytes) / entrySize >= *count;
  return table;
}

std::optional<Mp4Box> readBoxHeader(std::istream& in, std::uint64_t offset, std::uint64_t limit) {
  if (offset >= limit || limit - offset < 8) return std::nullopt;
  const auto head = readBytes(in, offset, 8);
  if (!head) return std::nullopt;
  Mp4Box box;
  box.start = offset;
  std::uint64_t size = std::uint64_t{(*head)[0]} << 24 | std::uint64_t{(*head)[1]} << 16 |
                       std::uint64_t{(*head)[2]} << 8 | (*head)[3];
  std::copy_n(head->begin() + 4, 4, box.type.begin());
  std::uint64_t headerSize = 8;
  if (size == 1) {
    const auto large = readBigEndian(in, offset + 8, 8);
    if (!large || limit - offset < 16) return std::nullopt;
    size = *large;
    headerSize = 16;
  } else if (size == 0) {
    size = limit - offset;
  }
  if (box.is("uuid")) headerSize += 16;
  if (size < headerSize || size > limit - offset) return std::nullopt;
  if (box.is("uuid")) {
    const auto user = readBytes(in, offset + headerSize - 16, 16);
    if (!user) return std::nullopt;
    std::copy(user->begin(), user->end(), box.userType.begin());
  }
  box.body = offset + headerSize;
  box.end = offset + size;
  return box;
}

std::vector<Mp4Box> childBoxes(std::istream& in, std::uint64_t begin, std::uint64_t end,
                               std::size_t maxBoxes) {
  std::vector<Mp4Box> boxes;
  for (std::uint64_t at = begin; at < end && boxes.size() < maxBoxes;) {
    const auto box = readBoxHeader(in, at, end);
    if (!box) break;
    boxes.push_back(*box);
    at = box->end;
  }
  return boxes;
}

std::optional<Mp4Box> findBox(std::istream& in, std::uint64_t begin, std::uint64_t end,
                              std::string_view type) {
  // Walked one header at a time rather than through childBoxes: a file may hold millions of
  // small boxes before the one looked for, and nothing of them needs keeping.
  constexpr int kMaxSkipped = 100000;
  std::uint64_t at = begin;
  for (int skipped = 0; at < end && skipped < kMaxSkipped; ++skipped) {
    const auto box = readBoxHeader(in, at, end);
    if (!box) return std::nullopt;
    if (box->is(type)) return box;
    at = box->end;
  }
  return std::nullopt;
}

std::optional<Mp4Box> findPath(std::istream& in, std::uint64_t begin, std::uint64_t end,
                               std::initializer_list<std::string_view> path) {
  std::optional<Mp4Box> box;
  for (const std::string_view type : path) {
    box = findBox(in, begin, end, type);
    if (!box) return std::nullopt;
    begin = box->body;
    end = box->end;
  }
  return box;
}

}  // namespace qx::media
