#include "import/VideoImport.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <thread>

namespace qx::import {
namespace {

namespace ff = webgl::ff;

struct GraphFree {
  void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct InOutFree {
  void operator()(AVFilterInOut* io) const { avfilter_inout_free(&io); }
};
using Graph = std::unique_ptr<AVFilterGraph, GraphFree>;
using InOut = std::unique_ptr<AVFilterInOut, InOutFree>;

// Threads for each stage: every core, but no more than four, since each decoder or encoder
// thread holds whole frames of its own (a 7680 x 3840 frame is 44 MB).
int stageThreads() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

// The rate cap scales with the picture: about 18 Mbit/s at 3840 x 1920, the most a page's
// viewer streams smoothly; never below 2 Mbit/s.
std::int64_t rateCap(int width, int height) {
  const double share = static_cast<double>(width) * height / (3840.0 * 1920.0);
  return std::max<std::int64_t>(2'000'000, std::llround(18'000'000 * share));
}

class Reencoder : public VideoImport {
 public:
  Reencoder(webgl::PacketSink sink) : sink_(std::move(sink)) {}

  bool open(const std::vector<AVStream*>& streams, const std::string& chain,
            AVFormatContext* output, std::string& error) {
    for (AVStream* s : streams) {
      Input& in = inputs_.emplace_back();
      in.stream = s;
      if (!openDecoder(in, error)) return false;
    }
    if (!openGraph(chain, error)) return false;
    return openEncoder(output, error);
  }

  void started(AVStream* out) override { out_ = out; }

  int send(int input, AVPacket* packet) override {
    Input& in = inputs_[static_cast<std::size_t>(input)];
    int rc = avcodec_send_packet(in.decoder.get(), packet);
    // A damaged packet is skipped, as a player would; the rest of the video still converts.
    if (rc == AVERROR(EINVAL)) return webgl::kPictureTooLarge;
    if (rc < 0 && rc != AVERROR_EOF && rc != AVERROR_INVALIDDATA) return rc;
    return receiveFrames(in);
  }

  int finish() override {
    for (Input& in : inputs_) {
      int rc = avcodec_send_packet(in.decoder.get(), nullptr);
      if (rc < 0 && rc != AVERROR_EOF) return rc;
      rc = receiveFrames(in);
      if (rc < 0) return rc;
      rc = av_buffersrc_add_frame_flags(in.source, nullptr, 0);
      if (rc < 0) return rc;
    }
    const int rc = pullFiltered();
    return rc < 0 ? rc : encode(nullptr);
  }

 private:
  struct Input {
    AVStream* stream = nullptr;
    ff::Codec decoder;
    AVFilterContext* source = nullptr;
  };

  bool openDecoder(Input& in, std::string& error) {
    const AVCodec* codec = avcodec_find_decoder(in.stream->codecpar->codec_id);
    if (!codec) {
      error = std::string("no decoder for ") + avcodec_get_name(in.stream->codecpar->codec_id);
      return false;
    }
    in.decoder.reset(avcodec_alloc_context3(codec));
    int rc = avcodec_parameters_to_context(in.decoder.get(), in.stream->codecpar);
    if (rc >= 0) {
      in.decoder->pkt_timebase = in.stream->time_base;
      // A frame header claiming more than this is refused before it is allocated.
      in.decoder->max_pixels = ff::kMaxPixels;
      // Each decoding thread holds frames of its own: above 5760 x 2880 two threads keep an 8K
      // import under 1.5 GB on any number of cores.
      const bool huge =
          static_cast<std::int64_t>(in.decoder->width) * in.decoder->height > 5760LL * 2880;
      in.decoder->thread_count = huge ? std::min(2, stageThreads()) : stageThreads();
      rc = avcodec_open2(in.decoder.get(), codec, nullptr);
    }
    if (rc < 0) {
      error = "the decoder cannot start: " + ff::errorText(rc);
      return false;
    }
    if (in.decoder->pix_fmt == AV_PIX_FMT_NONE) {
      error = "the video's pixel format is not known";
      return false;
    }
    return true;
  }

  bool openGraph(const std::string& chain, std::string& error) {
    graph_.reset(avfilter_graph_alloc());
    if (!graph_) {
      error = ff::errorText(AVERROR(ENOMEM));
      return false;
    }
    graph_->nb_threads = stageThreads();
    AVFilterInOut* outputs = nullptr;
    for (std::size_t i = inputs_.size(); i-- > 0;) {
      Input& in = inputs_[i];
      const AVRational tb = in.stream->time_base;
      const std::string args = "video_size=" + std::to_string(in.decoder->width) + "x" +
                               std::to_string(in.decoder->height) +
                               ":pix_fmt=" + std::to_string(in.decoder->pix_fmt) +
                               ":time_base=" + std::to_string(tb.num) + "/" +
                               std::to_string(tb.den) + ":pixel_aspect=1/1";
      const std::string name = "in" + std::to_string(i);
      int rc = avfilter_graph_create_filter(&in.source, avfilter_get_by_name("buffer"),
                                            name.c_str(), args.c_str(), nullptr, graph_.get());
      AVFilterInOut* link = rc >= 0 ? avfilter_inout_alloc() : nullptr;
      if (!link) {
        avfilter_inout_free(&outputs);
        error = "the filters cannot start: " + ff::errorText(rc < 0 ? rc : AVERROR(ENOMEM));
        return false;
      }
      link->name = av_strdup(name.c_str());
      link->filter_ctx = in.source;
      link->pad_idx = 0;
      link->next = outputs;
      outputs = link;
    }
    InOut outputsOwned(outputs);
    int rc = avfilter_graph_create_filter(&sinkFilter_, avfilter_get_by_name("buffersink"), "out",
                                          nullptr, nullptr, graph_.get());
    InOut inputsOwned(rc >= 0 ? avfilter_inout_alloc() : nullptr);
    if (!inputsOwned) {
      error = "the filters cannot start: " + ff::errorText(rc < 0 ? rc : AVERROR(ENOMEM));
      return false;
    }
    inputsOwned->name = av_strdup("out");
    inputsOwned->filter_ctx = sinkFilter_;
    inputsOwned->pad_idx = 0;
    AVFilterInOut* ins = inputsOwned.release();
    AVFilterInOut* outs = outputsOwned.release();
    rc = avfilter_graph_parse_ptr(graph_.get(), chain.c_str(), &ins, &outs, nullptr);
    avfilter_inout_free(&ins);
    avfilter_inout_free(&outs);
    if (rc >= 0) rc = avfilter_graph_config(graph_.get(), nullptr);
    if (rc < 0) {
      error = "the reprojection cannot start: " + ff::errorText(rc);
      return false;
    }
    return true;
  }

  bool openEncoder(AVFormatContext* output, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) {
      error = "this FFmpeg has no H.264 encoder (libx264)";
      return false;
    }
    encoder_.reset(avcodec_alloc_context3(codec));
    encoder_->width = av_buffersink_get_w(sinkFilter_);
    encoder_->height = av_buffersink_get_h(sinkFilter_);
    encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder_->sample_aspect_ratio = {1, 1};
    encoder_->time_base = av_buffersink_get_time_base(sinkFilter_);
    const AVStream* first = inputs_.front().stream;
    AVRational rate = first->avg_frame_rate.num ? first->avg_frame_rate : first->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 240) rate = {30, 1};
    encoder_->framerate = rate;
    // A key frame every two seconds: the page seeks to any moment quickly.
    encoder_->gop_size = std::max(1, static_cast<int>(std::lround(2 * av_q2d(rate))));
    encoder_->thread_count = stageThreads();
    const std::int64_t cap = rateCap(encoder_->width, encoder_->height);
    encoder_->rc_max_rate = cap;
    encoder_->rc_buffer_size = static_cast<int>(2 * cap);
    av_opt_set(encoder_->priv_data, "preset", "veryfast", 0);
    av_opt_set(encoder_->priv_data, "crf", "21", 0);
    av_opt_set(encoder_->priv_data, "profile", "high", 0);
    // The look-ahead holds this many frames at once; the preset's own is no larger.
    av_opt_set(encoder_->priv_data, "rc-lookahead", "10", 0);
    if (output->oformat->flags & AVFMT_GLOBALHEADER) encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int rc = avcodec_open2(encoder_.get(), codec, nullptr);
    if (rc < 0) {
      error = "the H.264 encoder cannot start: " + ff::errorText(rc);
      return false;
    }
    AVStream* out = avformat_new_stream(output, nullptr);
    rc = out ? avcodec_parameters_from_context(out->codecpar, encoder_.get()) : AVERROR(ENOMEM);
    if (rc < 0) {
      error = "the output stream cannot be made: " + ff::errorText(rc);
      return false;
    }
    out->time_base = encoder_->time_base;
    // The FLV writer's onMetaData names the frame rate from here.
    out->avg_frame_rate = rate;
    return true;
  }

  int receiveFrames(Input& in) {
    while (true) {
      int rc = avcodec_receive_frame(in.decoder.get(), frame_.get());
      if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF || rc == AVERROR_INVALIDDATA) return 0;
      if (rc < 0) return rc;
      frame_->pts = frame_->best_effort_timestamp;
      rc = av_buffersrc_add_frame_flags(in.source, frame_.get(), 0);
      av_frame_unref(frame_.get());
      if (rc < 0) return rc;
      rc = pullFiltered();
      if (rc < 0) return rc;
    }
  }

  int pullFiltered() {
    while (true) {
      int rc = av_buffersink_get_frame(sinkFilter_, filtered_.get());
      if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return 0;
      if (rc < 0) return rc;
      // The encoder needs rising times; a repeated or missing one follows the last.
      std::int64_t pts = filtered_->pts;
      if (pts == AV_NOPTS_VALUE || (lastPts_ != AV_NOPTS_VALUE && pts <= lastPts_))
        pts = lastPts_ == AV_NOPTS_VALUE ? 0 : lastPts_ + 1;
      lastPts_ = pts;
      filtered_->pts = pts;
      filtered_->pict_type = AV_PICTURE_TYPE_NONE;
      rc = encode(filtered_.get());
      av_frame_unref(filtered_.get());
      if (rc < 0) return rc;
    }
  }

  int encode(AVFrame* frame) {
    return webgl::encodeInto(encoder_.get(), frame, packet_.get(), out_, sink_);
  }

  webgl::PacketSink sink_;
  std::vector<Input> inputs_;
  Graph graph_;
  AVFilterContext* sinkFilter_ = nullptr;
  ff::Codec encoder_;
  AVStream* out_ = nullptr;
  ff::Frame frame_{av_frame_alloc()};
  ff::Frame filtered_{av_frame_alloc()};
  ff::Packet packet_{av_packet_alloc()};
  std::int64_t lastPts_ = AV_NOPTS_VALUE;
};

}  // namespace

std::unique_ptr<VideoImport> VideoImport::open(const std::vector<AVStream*>& inputs,
                                               const std::string& chain, AVFormatContext* output,
                                               webgl::PacketSink sink, std::string& error) {
  auto pipe = std::make_unique<Reencoder>(std::move(sink));
  if (!pipe->open(inputs, chain, output, error)) return nullptr;
  return pipe;
}

}  // namespace qx::import
