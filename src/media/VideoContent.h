#pragma once
// What a video file holds, read from its first bytes and its MP4 boxes without trusting it: the
// container, the codecs, the frame size and whether a Flash Player plays it as the page's
// movie. A few hundred KiB at most are read, whatever the file claims.
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace qx::media {

enum class Container { unreadable, notVideo, flv, f4v, mp4Family, matroska, otherVideo };

struct VideoContent {
  Container container = Container::unreadable;
  std::string videoCodec;  // "h264", "hevc", "vp6", "sorenson", "screen", "av1", ...; empty: none
  std::string audioCodec;  // "aac", "mp3", ...; empty: none
  int width = 0, height = 0;  // 0 when not known
  bool flashPlays = false;    // a Flash Player plays this file as the page's movie (FLV, or F4V)
  std::string reason;         // when !flashPlays: why, one English sentence for the message
};

// Special files (pipes, devices, folders), empty files and files that cannot be opened are
// refused before a byte is read: a pipe would block and a device never ends.
[[nodiscard]] VideoContent readVideoContent(const std::filesystem::path& file);

// The same reading over an open stream of `size` bytes; `fileName` gives the extension (an
// MP4-family file named .f4v is taken as an F4V). For tests and the fuzzer.
[[nodiscard]] VideoContent readVideoContent(std::istream& in, std::uint64_t size,
                                            std::string_view fileName);

}  // namespace qx::media
