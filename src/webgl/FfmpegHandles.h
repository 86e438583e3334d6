#pragma once
// Owning handles for FFmpeg's objects, so every path out of the probe and the conversion frees
// what it opened. Internal to qxwebgl.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace qx::webgl::ff {

struct InputCloser {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct OutputCloser {
  void operator()(AVFormatContext* c) const {
    if (!c) return;
    if (c->pb && !(c->oformat->flags & AVFMT_NOFILE)) avio_closep(&c->pb);
    avformat_free_context(c);
  }
};
struct CodecCloser {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct SwsFree {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct SwrFree {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct FifoFree {
  void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using Input = std::unique_ptr<AVFormatContext, InputCloser>;
using Output = std::unique_ptr<AVFormatContext, OutputCloser>;
using Codec = std::unique_ptr<AVCodecContext, CodecCloser>;
using Packet = std::unique_ptr<AVPacket, PacketFree>;
using Frame = std::unique_ptr<AVFrame, FrameFree>;
using Scaler = std::unique_ptr<SwsContext, SwsFree>;
using Resampler = std::unique_ptr<SwrContext, SwrFree>;
using Fifo = std::unique_ptr<AVAudioFifo, FifoFree>;

// FFmpeg's words for an error code.
inline std::string errorText(int code) {
  char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, buffer, sizeof buffer);
  return buffer;
}

// Opens a media file and reads its stream information; the error in words on failure.
inline Input openInput(const std::string& path, std::string& error) {
  // The library's own chatter (encoder statistics, muxer passes) would land on the user's
  // terminal; errors reach the user through our results instead.
  av_log_set_level(AV_LOG_ERROR);
  AVFormatContext* raw = nullptr;
  int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
  if (rc < 0) {
    error = errorText(rc);
    return nullptr;
  }
  Input input(raw);
  rc = avformat_find_stream_info(input.get(), nullptr);
  if (rc < 0) {
    error = errorText(rc);
    return nullptr;
  }
  return input;
}

}  // namespace qx::webgl::ff
