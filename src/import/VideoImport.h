#pragma once
// The video of an import that must be re-encoded: one decoder per source stream (two for a GoPro
// .360), the filter chain, and libx264 set for the page. Internal to qximport.
#include <memory>
#include <string>
#include <vector>

#include "webgl/StreamPipes.h"

namespace qx::import {

class VideoImport {
 public:
  // Adds the H.264 stream to `output`; nullptr and `error` set when something cannot start.
  static std::unique_ptr<VideoImport> open(const std::vector<AVStream*>& inputs,
                                           const std::string& chain, AVFormatContext* output,
                                           webgl::PacketSink sink, std::string& error);
  virtual ~VideoImport() = default;
  // Called once the output header is written, when the stream's time base is final.
  virtual void started(AVStream* out) = 0;
  // A packet of the input stream `input` (an index into the streams given to open()).
  virtual int send(int input, AVPacket* packet) = 0;
  // The end of every input: drains the decoders, the filters and the encoder.
  virtual int finish() = 0;
};

}  // namespace qx::import
