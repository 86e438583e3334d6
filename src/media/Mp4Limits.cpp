#include "media/Mp4Limits.h"

#include <fstream>

#include "media/Mp4Box.h"

namespace qx::media {
namespace {

// The entry count of a full box's table, and whether its entries fit the box: `entryBytes` per
// entry after `headerBytes` (version, flags, the count and any fixed fields).
struct Table {
  std::uint64_t count = 0;
  bool fits = true;
};
Table table(std::istream& in, const Mp4Box& box, std::uint64_t countAt, std::uint64_t headerBytes,
            std::uint32_t entryBytes) {
  const auto t = readTable(in, box, countAt, headerBytes, entryBytes);
  return t ? Table{t->count, t->fits} : Table{};
}

std::string tooMany(std::uint64_t count, std::string_view what, std::uint64_t fileSize) {
  return "its tables claim " + std::to_string(count) + " " + std::string(what) +
         ", more than a file of " + std::to_string(fileSize) + " bytes can hold";
}

// The sample tables of one track; `samples` gathers the samples they claim.
std::optional<std::string> stblProblem(std::istream& in, const Mp4Box& stbl, std::uint64_t fileSize,
                                       std::uint64_t& samples) {
  for (const Mp4Box& box : childBoxes(in, stbl.body, stbl.end, 64)) {
    Table t;
    if (box.is("stsz")) {
      const auto size = readBigEndian(in, box.body + 4, 4);
      t = table(in, box, 8, 12, 4);
      if (size && *size != 0) t.fits = true;  // one size for all: no table follows
      samples += t.count;
    } else if (box.is("stz2")) {
      const auto field = readBigEndian(in, box.body + 7, 1);
      t = table(in, box, 8, 12, 1);
      if (field && *field == 16) t = table(in, box, 8, 12, 2);
      if (field && *field == 4) t.fits = (box.bodySize() - 12) * 2 >= t.count;
      samples += t.count;
    } else if (box.is("stts") || box.is("ctts")) {
      t = table(in, box, 4, 8, 8);
    } else if (box.is("stsc")) {
      t = table(in, box, 4, 8, 12);
    } else if (box.is("stco") || box.is("stss") || box.is("stps")) {
      t = table(in, box, 4, 8, 4);
    } else if (box.is("co64")) {
      t = table(in, box, 4, 8, 8);
    } else {
      continue;
    }
    if (!t.fits)
      return "its " + std::string(box.type.data(), 4) + " table claims " + std::to_string(t.count) +
             " entries that its " + std::to_string(box.bodySize()) + " bytes cannot hold";
  }
  if (samples > fileSize) return tooMany(samples, "samples", fileSize);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> mp4TablesProblem(const std::filesystem::path& file) {
  std::ifstream in;
  in.rdbuf()->pubsetbuf(nullptr, 0);  // headers and counts only: no buffer's worth per read
  in.open(file, std::ios::binary);
  const auto size = in ? streamSize(in) : std::nullopt;
  if (!size) return std::nullopt;
  const auto first = readBoxHeader(in, 0, *size);
  if (!first || !(first->is("ftyp") || first->is("moov") || first->is("styp"))) return std::nullopt;

  std::uint64_t samples = 0;
  std::size_t tracks = 0;
  for (const Mp4Box& top : childBoxes(in, 0, *size)) {
    if (top.is("moov")) {
      for (const Mp4Box& trak : childBoxes(in, top.body, top.end)) {
        if (!trak.is("trak")) continue;
        if (++tracks > kMaxMp4Tracks)
          return "it claims more than " + std::to_string(kMaxMp4Tracks) +
                 " tracks; a video file holds a few";
        const auto stbl = findPath(in, trak.body, trak.end, {"mdia", "minf", "stbl"});
        if (!stbl) continue;
        if (auto problem = stblProblem(in, *stbl, *size, samples)) return problem;
      }
    } else if (top.is("moof")) {
      // A fragment's runs: each sample of a run takes a byte of the file at least, and the
      // fields its flags ask for take 4 bytes each in the run's box.
      for (const Mp4Box& traf : childBoxes(in, top.body, top.end, 64)) {
        if (!traf.is("traf")) continue;
        for (const Mp4Box& trun : childBoxes(in, traf.body, traf.end, 256)) {
          if (!trun.is("trun")) continue;
          const auto flags = readBigEndian(in, trun.body, 4);
          if (!flags) continue;
          const int fields = ((*flags >> 8) & 1) + ((*flags >> 9) & 1) + ((*flags >> 10) & 1) +
                             ((*flags >> 11) & 1);
          const std::uint64_t fixed = 8 + ((*flags & 1) ? 4 : 0) + ((*flags & 4) ? 4 : 0);
          const Table t =
              table(in, trun, 4, fixed, fields ? 4u * static_cast<std::uint32_t>(fields) : 1u);
          samples += t.count;
          if (fields && !t.fits)
            return "a fragment's run claims " + std::to_string(t.count) +
                   " samples that its box cannot hold";
          if (samples > *size) return tooMany(samples, "samples", *size);
        }
      }
    }
  }
  return std::nullopt;
}

}  // namespace qx::media
