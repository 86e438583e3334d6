#pragma once
// The FFmpeg filter chain that turns a source's frames into the page's panorama: the left eye of
// a stereo video, the whole panorama around a cropped one, the v360 reprojection, the size.
#include <string>

#include "import/Import.h"

namespace qx::import {

// The chain from the inputs "[in0]" (and "[in1]" for a GoPro .360) to "[out]", in the syntax of
// avfilter_graph_parse and of ffmpeg's -filter_complex.
[[nodiscard]] std::string filterChain(const SourceInfo& info, Projection projection, double fov,
                                      int width);

}  // namespace qx::import
