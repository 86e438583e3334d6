#pragma once
// Short videos made with the ffmpeg command at test time, and what ffprobe says about a file:
// the conversion is checked with tools that are not our own code.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testmedia {

// Standard output of a shell command.
inline std::string run(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
      out.append(buffer.data(), n);
    pclose(pipe);
  }
  return out;
}

inline std::string quoted(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

// A test picture with a tone; `codecs` are ffmpeg's output options ("-c:v flv1 -c:a libmp3lame").
inline bool makeVideo(const std::filesystem::path& path, const std::string& codecs,
                      const std::string& format, double seconds = 2,
                      const std::string& size = "320x160", bool audio = true) {
  const std::string command =
      "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=" + size + ":rate=25 " +
      (audio ? "-f lavfi -i sine=frequency=440:sample_rate=44100 " : "") + "-t " +
      std::to_string(seconds) + " " + codecs + " -f " + format + " " + quoted(path);
  return std::system(command.c_str()) == 0 && std::filesystem::exists(path);
}

// One line per stream: its codec name ("h264", "aac").
inline std::string streamCodecs(const std::filesystem::path& path) {
  return run("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + quoted(path));
}

// A checksum of every packet of the first video stream, in order.
inline std::string videoPacketHashes(const std::filesystem::path& path) {
  return run(
      "ffprobe -v error -select_streams v:0 -show_entries packet=data_hash -show_data_hash "
      "CRC32 -of csv=p=0 " +
      quoted(path));
}

// The top-level boxes of an MP4 file, in order ("ftyp", "moov", "free", "mdat").
inline std::vector<std::string> topLevelBoxes(const std::filesystem::path& path) {
  std::vector<std::string> boxes;
  std::ifstream in(path, std::ios::binary);
  const auto size = std::filesystem::file_size(path);
  std::uint64_t at = 0;
  while (at + 8 <= size) {
    in.seekg(static_cast<std::streamoff>(at));
    unsigned char h[16] = {};
    in.read(reinterpret_cast<char*>(h), 16);
    std::uint64_t boxSize = (std::uint64_t{h[0]} << 24) | (h[1] << 16) | (h[2] << 8) | h[3];
    if (boxSize == 1) {
      boxSize = 0;
      for (int i = 8; i < 16; ++i) boxSize = (boxSize << 8) | h[i];
    } else if (boxSize == 0) {
      boxSize = size - at;
    }
    boxes.emplace_back(reinterpret_cast<char*>(h + 4), 4);
    if (boxSize < 8) break;
    at += boxSize;
  }
  return boxes;
}

inline std::ptrdiff_t indexOf(const std::vector<std::string>& list, const std::string& item) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == item) return static_cast<std::ptrdiff_t>(i);
  return -1;
}

// Rewrites the picture size in the frame headers of a Sorenson FLV (made by makeVideo at a size
// above 255 px, so each header carries 16-bit sizes), from the frame `fromFrame` on (0: all).
inline void claimPictureSize(const std::filesystem::path& flv, int width, int height,
                             int fromFrame = 0) {
  std::fstream f(flv, std::ios::in | std::ios::out | std::ios::binary);
  std::string d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(d[i]); };
  int frame = 0;
  for (std::size_t p = 13; p + 21 < d.size();) {
    const std::size_t size = (byte(p + 1) << 16) | (byte(p + 2) << 8) | byte(p + 3);
    if (byte(p) == 9 && (byte(p + 11) & 0xF) == 2 && frame++ >= fromFrame) {
      // After 17 bits of start code, 5 of version, 8 of number and 3 of format: 16 + 16 bits.
      const std::uint32_t sizes = (std::uint32_t(width) << 16) | std::uint32_t(height);
      for (int k = 0; k < 32; ++k) {
        const std::size_t bit = 33 + k;
        char& c = d[p + 12 + bit / 8];
        const int mask = 0x80 >> (bit % 8);
        c = static_cast<char>(((sizes >> (31 - k)) & 1) ? (c | mask) : (c & ~mask));
      }
    }
    p += 11 + size + 4;
  }
  f.seekp(0);
  f.write(d.data(), static_cast<std::streamsize>(d.size()));
}

}  // namespace testmedia
