#pragma once
// Owning handles for FFmpeg's objects, so every path out of the probe and the conversion frees
// what it opened. Shared by qxwebgl and qximport.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Mp4Limits.h"

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

// The largest picture converted: 8192 x 4096 holds the 360-degree videos cameras make (8K). A
// larger one is refused before any frame of it is decoded, so memory stays bounded.
inline constexpr int kMaxSide = 8192;
inline constexpr std::int64_t kMaxPixels = 8192LL * 4096;

// Only the containers a published page can name (FLV, and F4V of the MP4 family), recognised by
// content; only plain files. A playlist, an image or anything else that names other files or
// devices is refused, whatever its file name says.
inline constexpr char kAllowedFormats[] = "flv,mov,mp4";
// What an import reads: the containers cameras and editors write. Still no playlist, image
// sequence or device.
inline constexpr char kImportFormats[] = "flv,mov,mp4,matroska,webm,avi,mpegts,mpeg,asf,ogg,mxf";

extern "C" inline int stopRequested(void* flag) {
  return flag && static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

// Opens a media file and reads its stream information; the error in words on failure. `cancel`,
// when given, stops any read within one buffer of its being set (reads then fail with
// AVERROR_EXIT). `formats` names the demuxers taken.
inline Input openInput(const std::string& path, std::string& error,
                       const std::atomic<bool>* cancel = nullptr,
                       const char* formats = kAllowedFormats) {
  // The library's own chatter (encoder statistics, muxer passes, a line per refused frame) would
  // land on the user's terminal; errors reach the user through our results instead.
  av_log_set_level(AV_LOG_FATAL);
  // The demuxer sizes its index and streams by what the tables claim: a claim the file's size
  // cannot back is refused before it is believed.
  if (const auto problem = media::mp4TablesProblem(path)) {
    error = "its MP4 tables cannot be right (" + *problem + ")";
    return nullptr;
  }
  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) {
    error = errorText(AVERROR(ENOMEM));
    return nullptr;
  }
  raw->interrupt_callback = {stopRequested, const_cast<std::atomic<bool>*>(cancel)};
  AVDictionary* options = nullptr;
  av_dict_set(&options, "format_whitelist", formats, 0);
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  int rc = avformat_open_input(&raw, path.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (rc < 0) {
    error = rc != AVERROR(EINVAL)        ? errorText(rc)
            : formats == kAllowedFormats ? "it is not an FLV, F4V or MP4 video"
                                         : "it is no video";
    return nullptr;
  }
  Input input(raw);
  // FLV makes its streams as their first packets come, and streams made during the reading of
  // stream information get none of the options below: one packet read first (and the reader
  // rewound) makes them known.
  if (input->nb_streams == 0) {
    Packet first(av_packet_alloc());
    if (av_read_frame(input.get(), first.get()) >= 0 &&
        avformat_seek_file(input.get(), -1, INT64_MIN, 0, 0, AVSEEK_FLAG_BACKWARD) < 0) {
      error = "cannot go back to its start";
      return nullptr;
    }
  }
  // Reading the stream information decodes a few frames: with the limit, a frame header that
  // claims a giant picture is refused instead of allocated.
  std::vector<AVDictionary*> perStream(input->nb_streams, nullptr);
  for (auto& d : perStream) av_dict_set_int(&d, "max_pixels", kMaxPixels, 0);
  rc = avformat_find_stream_info(input.get(), perStream.empty() ? nullptr : perStream.data());
  for (auto& d : perStream) av_dict_free(&d);
  // A file that ends before its first frame is still described: the checks say what it lacks.
  if (rc < 0 && rc != AVERROR_EOF) {
    error = errorText(rc);
    return nullptr;
  }
  return input;
}

}  // namespace qx::webgl::ff
