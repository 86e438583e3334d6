#pragma once
// Writes spherical video metadata into an MP4 that ffmpeg made, as cameras do: the XML "uuid"
// box in the video track, or "st3d" and "sv3d" in its sample entry. The file must have its moov
// after the mdat (ffmpeg's default), so no chunk offset moves; the sizes of the boxes around the
// insertion grow by what is inserted.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fixture {

inline std::string u32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

inline std::string box(std::string_view type, std::string_view body) {
  return u32(static_cast<std::uint32_t>(8 + body.size())) + std::string(type) + std::string(body);
}

inline std::string fullBox(std::string_view type, std::string_view body) {
  return box(type, u32(0) + std::string(body));
}

inline std::uint32_t readU32(const std::string& f, std::size_t at) {
  return static_cast<std::uint32_t>(
      static_cast<unsigned char>(f[at]) << 24 | static_cast<unsigned char>(f[at + 1]) << 16 |
      static_cast<unsigned char>(f[at + 2]) << 8 | static_cast<unsigned char>(f[at + 3]));
}

// The offset of the first box of `type` in [begin, end).
inline std::size_t child(const std::string& f, std::size_t begin, std::size_t end,
                         std::string_view type) {
  for (std::size_t at = begin; at + 8 <= end;) {
    const std::uint32_t size = readU32(f, at);
    if (size < 8) break;
    if (f.compare(at + 4, 4, type) == 0) return at;
    at += size;
  }
  throw std::runtime_error("no " + std::string(type) + " box");
}

// Inserts `bytes` at the end of the box reached by `path` (the last element an index into the
// boxes reached so far), growing every box on the way.
inline void insertAtEnd(const std::filesystem::path& file, const std::vector<std::string>& path,
                        const std::string& bytes, bool intoSampleEntry = false) {
  std::ostringstream s;
  s << std::ifstream(file, std::ios::binary).rdbuf();
  std::string f = s.str();
  if (child(f, 0, f.size(), "mdat") > child(f, 0, f.size(), "moov"))
    throw std::runtime_error("the moov must come after the mdat");
  std::vector<std::size_t> chain;
  std::size_t begin = 0, end = f.size();
  for (const std::string& type : path) {
    const std::size_t at = child(f, begin, end, type);
    chain.push_back(at);
    begin = at + 8;
    end = at + readU32(f, at);
  }
  if (intoSampleEntry) {
    // stsd: version and flags, the entry count, then the first sample entry.
    const std::size_t entry = chain.back() + 16;
    chain.push_back(entry);
    end = entry + readU32(f, entry);
  }
  f.insert(end, bytes);
  for (const std::size_t at : chain)
    f.replace(at, 4, u32(readU32(f, at) + static_cast<std::uint32_t>(bytes.size())));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << f;
}

// The first form: the XML in a uuid box of the (first, video) track.
inline void writeV1(const std::filesystem::path& file, const std::string& extraXml) {
  const std::string uuid = "\xff\xcc\x82\x63\xf8\x55\x4a\x93\x88\x14\x58\x7a\x02\x52\x1f\xdd";
  const std::string xml =
      "<?xml version=\"1.0\"?><rdf:SphericalVideo xmlns:rdf=\"http://www.w3.org/1999/02/"
      "22-rdf-syntax-ns#\" xmlns:GSpherical=\"http://ns.google.com/videos/1.0/spherical/\">"
      "<GSpherical:Spherical>true</GSpherical:Spherical>"
      "<GSpherical:Stitched>true</GSpherical:Stitched>"
      "<GSpherical:StitchingSoftware>fixture</GSpherical:StitchingSoftware>"
      "<GSpherical:ProjectionType>equirectangular</GSpherical:ProjectionType>" +
      extraXml + "</rdf:SphericalVideo>";
  insertAtEnd(file, {"moov", "trak"}, box("uuid", uuid + xml));
}

// The second form: st3d (0 mono, 1 top-bottom, 2 left-right) and sv3d with equi or cbmp;
// `bottomBound` leaves that share of the panorama (0.32 fixed point) out of the frames.
inline void writeV2(const std::filesystem::path& file, bool cubemap, int stereoMode,
                    std::uint32_t bottomBound = 0) {
  const std::string projection = cubemap
                                     ? fullBox("cbmp", u32(0) + u32(0))
                                     : fullBox("equi", u32(0) + u32(bottomBound) + u32(0) + u32(0));
  const std::string sv3d =
      box("sv3d", fullBox("svhd", std::string(1, '\0')) +
                      box("proj", fullBox("prhd", u32(0) + u32(0) + u32(0)) + projection));
  const std::string st3d = fullBox("st3d", std::string(1, static_cast<char>(stereoMode)));
  insertAtEnd(file, {"moov", "trak", "mdia", "minf", "stbl", "stsd"}, st3d + sv3d, true);
}

}  // namespace fixture
