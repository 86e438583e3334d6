#pragma once
// One pipe per output stream of a conversion: the packet copier and the two re-encoders. Each
// takes the input stream's packets (nullptr at the end, to drain) and hands finished packets,
// already in its output stream's time base, to the shared writer. Internal to qxwebgl.
#include <functional>
#include <memory>
#include <string>

#include "webgl/FfmpegHandles.h"

namespace qx::webgl {

// What a video pipe returns for a frame larger than the converter takes (see ff::kMaxPixels).
inline constexpr int kPictureTooLarge = FFERRTAG('Q', 'X', 'B', 'G');

// Writes one packet of the output stream `index`; an FFmpeg error code below 0 on failure.
using PacketSink = std::function<int(AVPacket*)>;

class StreamPipe {
 public:
  virtual ~StreamPipe() = default;
  // Called once the output header is written, when the stream's time base is final.
  virtual void started(AVStream* out) { out_ = out; }
  virtual int send(AVPacket* packet) = 0;

 protected:
  AVStream* out_ = nullptr;
};

// The pipe for `in`, adding its stream to `output`; nullptr and `error` set when it cannot be
// made (no decoder, no encoder, ...).
std::unique_ptr<StreamPipe> makeCopyPipe(AVStream* in, AVFormatContext* output, PacketSink sink,
                                         std::string& error);
// A `maxWidth` above 0 scales a wider picture down to it, keeping its shape.
std::unique_ptr<StreamPipe> makeVideoEncodePipe(AVStream* in, AVFormatContext* output,
                                                PacketSink sink, std::string& error,
                                                int maxWidth = 0);
std::unique_ptr<StreamPipe> makeAudioEncodePipe(AVStream* in, AVFormatContext* output,
                                                PacketSink sink, std::string& error);

// Sends `frame` (nullptr to flush) and hands every packet the encoder has ready to `sink`, in
// `out`'s time base.
int encodeInto(AVCodecContext* encoder, AVFrame* frame, AVPacket* packet, const AVStream* out,
               const PacketSink& sink);

// Writes to `output`, keeping each stream's decoding times rising as muxers want, which not
// every source does.
PacketSink risingTimesWriter(AVFormatContext* output);

}  // namespace qx::webgl
