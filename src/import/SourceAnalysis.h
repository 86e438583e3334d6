#pragma once
// How an opened source is taken apart for the import: which streams, which projection, what is
// copied. Internal to qximport.
#include <filesystem>
#include <vector>

#include "import/Import.h"
#include "webgl/FfmpegHandles.h"

namespace qx::import {

struct SourceStreams {
  std::vector<int> video;  // one stream, or the two halves of a GoPro .360
  int audio = -1;
};

// Nothing in `streams.video` when the file has no video stream.
[[nodiscard]] SourceInfo analyseSource(AVFormatContext* input, const std::filesystem::path& path,
                                       const ImportOptions& options, SourceStreams& streams);

}  // namespace qx::import
