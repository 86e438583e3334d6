#include "webgl/StreamPipes.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace qx::webgl {
namespace {

class CopyPipe : public StreamPipe {
 public:
  CopyPipe(AVStream* in, PacketSink sink) : in_(in), sink_(std::move(sink)) {}
  int send(AVPacket* packet) override {
    if (!packet) return 0;
    if (packet->pts == AV_NOPTS_VALUE) packet->pts = packet->dts;
    av_packet_rescale_ts(packet, in_->time_base, out_->time_base);
    packet->stream_index = out_->index;
    packet->pos = -1;
    return sink_(packet);
  }

 private:
  AVStream* in_;
  PacketSink sink_;
};

// What both re-encoders share: the decoder, the encoder, and moving packets out of the encoder.
class EncodePipe : public StreamPipe {
 public:
  EncodePipe(AVStream* in, PacketSink sink) : in_(in), sink_(std::move(sink)) {}

  int send(AVPacket* packet) override {
    int rc = avcodec_send_packet(decoder_.get(), packet);
    // A damaged packet is skipped, as a player would; the rest of the video still converts.
    if (rc < 0 && rc != AVERROR_EOF && rc != AVERROR_INVALIDDATA) return rc;
    while (true) {
      rc = avcodec_receive_frame(decoder_.get(), frame_.get());
      if (rc == AVERROR(EAGAIN)) return 0;
      if (rc == AVERROR_EOF) return finish();
      if (rc == AVERROR_INVALIDDATA) return 0;
      if (rc < 0) return rc;
      rc = consume(frame_.get());
      av_frame_unref(frame_.get());
      if (rc < 0) return rc;
    }
  }

 protected:
  // Takes one decoded frame.
  virtual int consume(AVFrame* frame) = 0;
  // Called once the decoder is drained: flush what is held, then the encoder.
  virtual int finish() { return encode(nullptr); }

  bool openDecoder(std::string& error, std::int64_t maxPixels = 0) {
    const AVCodec* codec = avcodec_find_decoder(in_->codecpar->codec_id);
    if (!codec) {
      error = std::string("no decoder for ") + avcodec_get_name(in_->codecpar->codec_id);
      return false;
    }
    decoder_.reset(avcodec_alloc_context3(codec));
    int rc = avcodec_parameters_to_context(decoder_.get(), in_->codecpar);
    if (rc >= 0) {
      decoder_->pkt_timebase = in_->time_base;
      // The decoder refuses a frame header claiming more than this, before allocating it.
      if (maxPixels > 0) decoder_->max_pixels = maxPixels;
      rc = avcodec_open2(decoder_.get(), codec, nullptr);
    }
    if (rc < 0) error = "the decoder cannot start: " + ff::errorText(rc);
    return rc >= 0;
  }

  bool addOutputStream(AVFormatContext* output, std::string& error) {
    if (output->oformat->flags & AVFMT_GLOBALHEADER) encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVStream* out = avformat_new_stream(output, nullptr);
    int rc = out ? avcodec_parameters_from_context(out->codecpar, encoder_.get()) : AVERROR(ENOMEM);
    if (rc < 0) {
      error = "the output stream cannot be made: " + ff::errorText(rc);
      return false;
    }
    out->time_base = encoder_->time_base;
    return true;
  }

  int encode(AVFrame* frame) {
    return encodeInto(encoder_.get(), frame, packet_.get(), out_, sink_);
  }

  AVStream* in_;
  PacketSink sink_;
  ff::Codec decoder_;
  ff::Codec encoder_;
  ff::Frame frame_{av_frame_alloc()};
  ff::Packet packet_{av_packet_alloc()};
};

class VideoEncodePipe : public EncodePipe {
 public:
  using EncodePipe::EncodePipe;

  // The decoder's refusal of an oversized frame comes back as "invalid argument"; it is said
  // as what it is.
  int send(AVPacket* packet) override {
    const int rc = EncodePipe::send(packet);
    return rc == AVERROR(EINVAL) ? kPictureTooLarge : rc;
  }

  bool open(AVFormatContext* output, std::string& error, int maxWidth) {
    if (!openDecoder(error, ff::kMaxPixels)) return false;
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) {
      error = "this FFmpeg has no H.264 encoder (libx264)";
      return false;
    }
    encoder_.reset(avcodec_alloc_context3(codec));
    int width = decoder_->width;
    int height = decoder_->height;
    if (maxWidth > 0 && width > maxWidth) {
      height = static_cast<int>(std::lround(static_cast<double>(height) * maxWidth / width));
      width = maxWidth;
    }
    // 4:2:0 needs even sizes; an odd row or column is dropped.
    encoder_->width = std::max(2, width & ~1);
    encoder_->height = std::max(2, height & ~1);
    encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder_->sample_aspect_ratio = decoder_->sample_aspect_ratio;
    encoder_->time_base = in_->time_base;
    AVRational rate = in_->avg_frame_rate.num ? in_->avg_frame_rate : in_->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 240) rate = {25, 1};
    encoder_->framerate = rate;
    // A key frame every two seconds keeps seeking in the browser quick.
    encoder_->gop_size = std::max(1, static_cast<int>(2 * av_q2d(rate) + 0.5));
    av_opt_set(encoder_->priv_data, "preset", "veryfast", 0);
    av_opt_set(encoder_->priv_data, "crf", "20", 0);
    av_opt_set(encoder_->priv_data, "profile", "high", 0);
    // A lighter copy is for slow links: its rate is capped, however busy the picture.
    if (maxWidth > 0) {
      encoder_->rc_max_rate = 8'000'000;
      encoder_->rc_buffer_size = 16'000'000;
    }
    if (!addOutputStream(output, error)) return false;
    const int rc = avcodec_open2(encoder_.get(), codec, nullptr);
    if (rc < 0) {
      error = "the H.264 encoder cannot start: " + ff::errorText(rc);
      return false;
    }
    return avcodec_parameters_from_context(output->streams[output->nb_streams - 1]->codecpar,
                                           encoder_.get()) >= 0;
  }

 protected:
  int consume(AVFrame* frame) override {
    if (!scaled_) {
      scaled_.reset(av_frame_alloc());
      scaled_->format = encoder_->pix_fmt;
      scaled_->width = encoder_->width;
      scaled_->height = encoder_->height;
      if (av_frame_get_buffer(scaled_.get(), 0) < 0) return AVERROR(ENOMEM);
    }
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame->width, frame->height,
                                       static_cast<AVPixelFormat>(frame->format), encoder_->width,
                                       encoder_->height, encoder_->pix_fmt, SWS_BICUBIC, nullptr,
                                       nullptr, nullptr));
    if (!scaler_) return AVERROR(EINVAL);
    int rc = av_frame_make_writable(scaled_.get());
    if (rc < 0) return rc;
    sws_scale(scaler_.get(), frame->data, frame->linesize, 0, frame->height, scaled_->data,
              scaled_->linesize);
    // The encoder needs rising times; a repeated or missing one follows the last.
    std::int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE || (lastPts_ != AV_NOPTS_VALUE && pts <= lastPts_))
      pts = lastPts_ == AV_NOPTS_VALUE ? 0 : lastPts_ + 1;
    lastPts_ = pts;
    scaled_->pts = pts;
    return encode(scaled_.get());
  }

 private:
  ff::Scaler scaler_;
  ff::Frame scaled_;
  std::int64_t lastPts_ = AV_NOPTS_VALUE;
};

class AudioEncodePipe : public EncodePipe {
 public:
  using EncodePipe::EncodePipe;

  bool open(AVFormatContext* output, std::string& error) {
    if (!openDecoder(error)) return false;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec) {
      error = "this FFmpeg has no AAC encoder";
      return false;
    }
    encoder_.reset(avcodec_alloc_context3(codec));
    // AAC has no 5512 Hz or 44100/8 rates that old Flash audio uses; those become 44100 Hz.
    static constexpr std::array<int, 9> kRates = {8000,  11025, 12000, 16000, 22050,
                                                  24000, 32000, 44100, 48000};
    const int rate = decoder_->sample_rate;
    encoder_->sample_rate =
        std::find(kRates.begin(), kRates.end(), rate) != kRates.end() ? rate : 44100;
    const int channels = decoder_->ch_layout.nb_channels == 1 ? 1 : 2;
    av_channel_layout_default(&encoder_->ch_layout, channels);
    encoder_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder_->bit_rate = 64000L * channels;
    encoder_->time_base = {1, encoder_->sample_rate};
    if (!addOutputStream(output, error)) return false;
    const int rc = avcodec_open2(encoder_.get(), codec, nullptr);
    if (rc < 0) {
      error = "the AAC encoder cannot start: " + ff::errorText(rc);
      return false;
    }
    fifo_.reset(av_audio_fifo_alloc(encoder_->sample_fmt, channels, encoder_->frame_size * 4));
    return fifo_ && avcodec_parameters_from_context(
                        output->streams[output->nb_streams - 1]->codecpar, encoder_.get()) >= 0;
  }

 protected:
  int consume(AVFrame* frame) override {
    if (!resampler_) {
      AVChannelLayout inLayout{};
      if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels == 0)
        av_channel_layout_default(&inLayout, std::max(1, frame->ch_layout.nb_channels));
      else
        av_channel_layout_copy(&inLayout, &frame->ch_layout);
      SwrContext* raw = nullptr;
      const int rc = swr_alloc_set_opts2(
          &raw, &encoder_->ch_layout, encoder_->sample_fmt, encoder_->sample_rate, &inLayout,
          static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
      av_channel_layout_uninit(&inLayout);
      resampler_.reset(raw);
      if (rc < 0 || swr_init(resampler_.get()) < 0) return rc < 0 ? rc : AVERROR(EINVAL);
    }
    return resample(frame->extended_data, frame->nb_samples);
  }

  int finish() override {
    int rc = resampler_ ? resample(nullptr, 0) : 0;
    if (rc < 0) return rc;
    rc = drainFifo(true);
    return rc < 0 ? rc : encode(nullptr);
  }

 private:
  int resample(uint8_t** data, int samples) {
    const int room = swr_get_out_samples(resampler_.get(), samples);
    if (room <= 0) return 0;
    uint8_t** out = nullptr;
    int rc = av_samples_alloc_array_and_samples(&out, nullptr, encoder_->ch_layout.nb_channels,
                                                room, encoder_->sample_fmt, 0);
    if (rc < 0) return rc;
    const int made =
        swr_convert(resampler_.get(), out, room, const_cast<const uint8_t**>(data), samples);
    rc = made < 0 ? made : av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(out), made);
    av_freep(&out[0]);
    av_freep(&out);
    return rc < 0 ? rc : drainFifo(false);
  }

  // Encodes whole frames from the sample queue, and at the end the short remainder.
  int drainFifo(bool last) {
    const int size = encoder_->frame_size;
    while (av_audio_fifo_size(fifo_.get()) >= size ||
           (last && av_audio_fifo_size(fifo_.get()) > 0)) {
      const int n = std::min(size, av_audio_fifo_size(fifo_.get()));
      ff::Frame frame(av_frame_alloc());
      frame->nb_samples = n;
      frame->format = encoder_->sample_fmt;
      frame->sample_rate = encoder_->sample_rate;
      av_channel_layout_copy(&frame->ch_layout, &encoder_->ch_layout);
      int rc = av_frame_get_buffer(frame.get(), 0);
      if (rc < 0) return rc;
      if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->data), n) < n)
        return AVERROR(EIO);
      frame->pts = samplesDone_;
      samplesDone_ += n;
      rc = encode(frame.get());
      if (rc < 0) return rc;
    }
    return 0;
  }

  ff::Resampler resampler_;
  ff::Fifo fifo_;
  std::int64_t samplesDone_ = 0;
};

}  // namespace

int encodeInto(AVCodecContext* encoder, AVFrame* frame, AVPacket* packet, const AVStream* out,
               const PacketSink& sink) {
  int rc = avcodec_send_frame(encoder, frame);
  if (rc < 0 && rc != AVERROR_EOF) return rc;
  while (true) {
    rc = avcodec_receive_packet(encoder, packet);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return 0;
    if (rc < 0) return rc;
    av_packet_rescale_ts(packet, encoder->time_base, out->time_base);
    packet->stream_index = out->index;
    rc = sink(packet);
    av_packet_unref(packet);
    if (rc < 0) return rc;
  }
}

PacketSink risingTimesWriter(AVFormatContext* output) {
  auto lastDts = std::make_shared<std::map<int, std::int64_t>>();
  return [output, lastDts](AVPacket* p) {
    if (p->dts != AV_NOPTS_VALUE) {
      auto [it, fresh] = lastDts->try_emplace(p->stream_index, p->dts);
      if (!fresh) {
        if (p->dts <= it->second) {
          p->dts = it->second + 1;
          if (p->pts != AV_NOPTS_VALUE && p->pts < p->dts) p->pts = p->dts;
        }
        it->second = p->dts;
      }
    }
    return av_interleaved_write_frame(output, p);
  };
}

std::unique_ptr<StreamPipe> makeCopyPipe(AVStream* in, AVFormatContext* output, PacketSink sink,
                                         std::string& error) {
  AVStream* out = avformat_new_stream(output, nullptr);
  const int rc = out ? avcodec_parameters_copy(out->codecpar, in->codecpar) : AVERROR(ENOMEM);
  if (rc < 0) {
    error = "the output stream cannot be made: " + ff::errorText(rc);
    return nullptr;
  }
  // The FLV tag of the codec means nothing in MP4; the muxer picks its own.
  out->codecpar->codec_tag = 0;
  out->time_base = in->time_base;
  return std::make_unique<CopyPipe>(in, std::move(sink));
}

std::unique_ptr<StreamPipe> makeVideoEncodePipe(AVStream* in, AVFormatContext* output,
                                                PacketSink sink, std::string& error, int maxWidth) {
  auto pipe = std::make_unique<VideoEncodePipe>(in, std::move(sink));
  return pipe->open(output, error, maxWidth) ? std::move(pipe) : nullptr;
}

std::unique_ptr<StreamPipe> makeAudioEncodePipe(AVStream* in, AVFormatContext* output,
                                                PacketSink sink, std::string& error) {
  auto pipe = std::make_unique<AudioEncodePipe>(in, std::move(sink));
  return pipe->open(output, error) ? std::move(pipe) : nullptr;
}

}  // namespace qx::webgl
