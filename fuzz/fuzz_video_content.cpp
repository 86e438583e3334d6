// Any bytes, under either kind of name, must read as some content without a crash, undefined
// behaviour or a read past what the reader allows itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "media/VideoContent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"video.f4v", "video.mp4"}) {
    std::istringstream in(bytes);
    const qx::media::VideoContent c = qx::media::readVideoContent(in, bytes.size(), name);
    // Every refusal says why; a playable file names its video codec.
    if (!c.flashPlays && c.reason.empty()) std::abort();
    if (c.flashPlays && c.videoCodec.empty()) std::abort();
  }
  return 0;
}
