#include "webgl/PosterFrame.h"

#include <algorithm>

#include "project/FileIo.h"
#include "webgl/FfmpegHandles.h"

namespace qx::webgl {
namespace {

// Reads packets of stream `index` until the decoder gives its first picture.
ff::Frame firstFrame(AVFormatContext* input, int index, AVCodecContext* decoder) {
  ff::Packet packet(av_packet_alloc());
  ff::Frame frame(av_frame_alloc());
  bool draining = false;
  while (true) {
    const int got = avcodec_receive_frame(decoder, frame.get());
    if (got == 0) return frame;
    if (got != AVERROR(EAGAIN)) return nullptr;
    if (draining) return nullptr;
    if (av_read_frame(input, packet.get()) < 0) {
      // A video of one frame: the decoder may hold it until it is told the stream ended.
      avcodec_send_packet(decoder, nullptr);
      draining = true;
      continue;
    }
    if (packet->stream_index == index) avcodec_send_packet(decoder, packet.get());
    av_packet_unref(packet.get());
  }
}

// The frame scaled to at most kPosterMaxWidth and encoded as a baseline JPEG.
std::optional<std::string> encodeJpeg(const AVFrame& picture, std::string& error) {
  const int width = std::min(picture.width, kPosterMaxWidth) & ~1;
  const int height = std::max(2, static_cast<int>(static_cast<long long>(picture.height) * width /
                                                  std::max(1, picture.width)) &
                                     ~1);
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (!codec || width < 2) {
    error = "no JPEG encoder";
    return std::nullopt;
  }
  ff::Codec encoder(avcodec_alloc_context3(codec));
  encoder->width = width;
  encoder->height = height;
  encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
  encoder->time_base = {1, 25};
  // Quality 4 of FFmpeg's 2 (best) to 31 scale: a sharp still a fraction of a 4K frame's bytes.
  encoder->flags |= AV_CODEC_FLAG_QSCALE;
  encoder->global_quality = FF_QP2LAMBDA * 4;
  int rc = avcodec_open2(encoder.get(), codec, nullptr);
  if (rc < 0) {
    error = ff::errorText(rc);
    return std::nullopt;
  }
  ff::Frame scaled(av_frame_alloc());
  scaled->format = AV_PIX_FMT_YUVJ420P;
  scaled->width = width;
  scaled->height = height;
  scaled->quality = encoder->global_quality;
  if ((rc = av_frame_get_buffer(scaled.get(), 0)) < 0) {
    error = ff::errorText(rc);
    return std::nullopt;
  }
  ff::Scaler scaler(sws_getContext(picture.width, picture.height,
                                   static_cast<AVPixelFormat>(picture.format), width, height,
                                   AV_PIX_FMT_YUVJ420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!scaler) {
    error = "the frame cannot be scaled";
    return std::nullopt;
  }
  sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, scaled->data,
            scaled->linesize);
  ff::Packet packet(av_packet_alloc());
  if ((rc = avcodec_send_frame(encoder.get(), scaled.get())) < 0 ||
      (rc = avcodec_receive_packet(encoder.get(), packet.get())) < 0) {
    error = ff::errorText(rc);
    return std::nullopt;
  }
  return std::string(reinterpret_cast<const char*>(packet->data),
                     static_cast<std::size_t>(packet->size));
}

}  // namespace

std::optional<std::string> writePosterFrame(const std::filesystem::path& video,
                                            const std::filesystem::path& target) {
  std::string error;
  const ff::Input input = ff::openInput(video.string(), error);
  if (!input) return video.string() + ": cannot be read (" + error + ")";
  const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) return video.string() + ": holds no video for a poster";
  const AVCodecParameters* par = input->streams[index]->codecpar;
  const AVCodec* codec = avcodec_find_decoder(par->codec_id);
  ff::Codec decoder(codec ? avcodec_alloc_context3(codec) : nullptr);
  if (!decoder || avcodec_parameters_to_context(decoder.get(), par) < 0 ||
      avcodec_open2(decoder.get(), codec, nullptr) < 0)
    return video.string() + ": its video cannot be decoded for a poster";
  const ff::Frame frame = firstFrame(input.get(), index, decoder.get());
  if (!frame) return video.string() + ": no frame could be decoded for a poster";
  const auto jpeg = encodeJpeg(*frame, error);
  if (!jpeg) return "the poster cannot be encoded: " + error;
  if (const auto failure = writeFileReplacing(target, *jpeg, LinkPolicy::replaceLink)) return failure->message();
  return std::nullopt;
}

}  // namespace qx::webgl
