#include "webgl/MediaProbe.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "webgl/FfmpegHandles.h"

namespace qx::webgl {
namespace {

std::string label(AVCodecID id) {
  switch (id) {
    case AV_CODEC_ID_H264:
      return "H.264";
    case AV_CODEC_ID_FLV1:
      return "Sorenson Spark (H.263)";
    case AV_CODEC_ID_VP6F:
    case AV_CODEC_ID_VP6A:
    case AV_CODEC_ID_VP6:
      return "On2 VP6";
    case AV_CODEC_ID_FLASHSV:
    case AV_CODEC_ID_FLASHSV2:
      return "Flash Screen Video";
    case AV_CODEC_ID_AAC:
      return "AAC";
    case AV_CODEC_ID_MP3:
      return "MP3";
    case AV_CODEC_ID_NELLYMOSER:
      return "Nellymoser";
    case AV_CODEC_ID_SPEEX:
      return "Speex";
    case AV_CODEC_ID_ADPCM_SWF:
      return "Flash ADPCM";
    default: {
      const AVCodecDescriptor* d = avcodec_descriptor_get(id);
      return d ? (d->long_name ? d->long_name : d->name) : "unknown";
    }
  }
}

// What stops the packet pass: the caller's cancel, or the end of its time.
struct ScanStop {
  const std::atomic<bool>* cancel;
  std::chrono::steady_clock::time_point deadline;
};

extern "C" int scanShouldStop(void* opaque) {
  const auto* stop = static_cast<const ScanStop*>(opaque);
  return (stop->cancel && stop->cancel->load()) ||
         std::chrono::steady_clock::now() > stop->deadline;
}

// Reads the packets (no decoding) of the video stream `index`: a file cut short or holding no
// frame at all is told before any conversion starts. The pass is bounded in time, as the window
// waits for it: a file not read to its end within that keeps its end unknown (not checked).
void countFrames(AVFormatContext* input, int index, MediaInfo& info,
                 const std::atomic<bool>* cancel) {
  const AVStream* s = input->streams[index];
  ScanStop stop{cancel, std::chrono::steady_clock::now() + std::chrono::seconds(3)};
  const AVIOInterruptCB saved = input->interrupt_callback;
  input->interrupt_callback = {scanShouldStop, &stop};
  ff::Packet packet(av_packet_alloc());
  std::int64_t end = AV_NOPTS_VALUE;
  info.videoFrames = 0;
  int rc = 0;
  while ((rc = av_read_frame(input, packet.get())) >= 0) {
    if (packet->stream_index == index) {
      ++info.videoFrames;
      const std::int64_t t = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      if (t != AV_NOPTS_VALUE) end = std::max(end, t + std::max<std::int64_t>(0, packet->duration));
    }
    av_packet_unref(packet.get());
  }
  input->interrupt_callback = saved;
  if (rc == AVERROR_EXIT) {
    // Cut off: frames were seen, but where they end is not known.
    if (info.videoFrames == 0) info.videoFrames = -1;
    return;
  }
  const std::int64_t start = s->start_time != AV_NOPTS_VALUE ? s->start_time : 0;
  if (end != AV_NOPTS_VALUE)
    info.videoEnd = static_cast<double>(end - start) * av_q2d(s->time_base);
}

}  // namespace

int maxPictureSide() {
  return ff::kMaxSide;
}

std::int64_t maxPicturePixels() {
  return ff::kMaxPixels;
}

std::string durationText(double seconds) {
  if (!(seconds > 0)) return "unknown";
  char buffer[32];
  if (seconds < 60) {
    std::snprintf(buffer, sizeof buffer, "%.1f s", seconds);
  } else {
    const long minutes = static_cast<long>(seconds / 60);
    std::snprintf(buffer, sizeof buffer, "%ld:%04.1f", minutes, seconds - 60.0 * minutes);
  }
  return buffer;
}

Expected<MediaInfo> probeMedia(const std::filesystem::path& path, const std::atomic<bool>* cancel) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return FileError{path, "no such video file"};
  std::string error;
  const ff::Input input = ff::openInput(path.string(), error, cancel);
  if (!input) return FileError{path, "cannot be read as a video (" + error + ")"};

  MediaInfo info;
  info.fileSize = std::filesystem::file_size(path, ec);
  info.container = input->iformat->name;
  if (input->duration > 0) info.duration = static_cast<double>(input->duration) / AV_TIME_BASE;

  const int v = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (v >= 0) {
    const AVStream* s = input->streams[v];
    VideoStreamInfo video;
    video.codec = avcodec_get_name(s->codecpar->codec_id);
    video.codecLabel = label(s->codecpar->codec_id);
    video.width = s->codecpar->width;
    video.height = s->codecpar->height;
    const AVRational rate = s->avg_frame_rate.num ? s->avg_frame_rate : s->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) video.frameRate = av_q2d(rate);
    video.decodable = avcodec_find_decoder(s->codecpar->codec_id) != nullptr;
    countFrames(input.get(), v, info, cancel);
    if (ff::stopRequested(const_cast<std::atomic<bool>*>(cancel)))
      return FileError{path, "reading was interrupted"};
    if (info.duration <= 0 && s->duration > 0)
      info.duration = static_cast<double>(s->duration) * av_q2d(s->time_base);
    info.video = video;
  }
  const int a = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (a >= 0) {
    const AVStream* s = input->streams[a];
    AudioStreamInfo audio;
    audio.codec = avcodec_get_name(s->codecpar->codec_id);
    audio.codecLabel = label(s->codecpar->codec_id);
    audio.sampleRate = s->codecpar->sample_rate;
    audio.channels = s->codecpar->ch_layout.nb_channels;
    audio.decodable = avcodec_find_decoder(s->codecpar->codec_id) != nullptr;
    info.audio = audio;
  }
  return info;
}

}  // namespace qx::webgl
