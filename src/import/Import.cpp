#include "import/Import.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "import/FilterChain.h"
#include "import/SourceAnalysis.h"
#include "import/VideoImport.h"
#include "project/FileIo.h"

namespace qx::import {
namespace {

namespace fs = std::filesystem;
namespace ff = webgl::ff;

ImportResult failed(std::string why) {
  ImportResult r;
  r.error = std::move(why);
  return r;
}

ImportResult cancelled() {
  ImportResult r;
  r.status = ImportStatus::cancelled;
  return r;
}

ff::Input openSource(const fs::path& source, std::string& error, const std::atomic<bool>* cancel) {
  std::string why;
  ff::Input input = ff::openInput(source.string(), why, cancel, ff::kImportFormats);
  if (!input) error = source.string() + ": cannot be read as a video (" + why + ")";
  return input;
}

std::string noVideo(const fs::path& source) {
  return source.string() + ": holds no video stream";
}

// The import proper, into `part`; the caller renames or removes it.
ImportResult importInto(const fs::path& source, const fs::path& part, const ImportOptions& options,
                        const ImportControl& control) {
  std::string error;
  const ff::Input input = openSource(source, error, control.cancel);
  if (!input) return failed(error);
  SourceStreams streams;
  const SourceInfo info = analyseSource(input.get(), source, options, streams);
  if (streams.video.empty()) return failed(noVideo(source));
  const Projection projection = options.projection.value_or(info.projection);
  if (projection == Projection::unknown)
    return failed(source.string() + ": its projection is not known (" + std::to_string(info.width) +
                  " x " + std::to_string(info.height) +
                  ", no spherical metadata); choose one with --projection " + projectionChoices());
  if (projection == Projection::gopro360 && streams.video.size() < 2)
    return failed(source.string() +
                  ": a GoPro .360 holds two video streams of the same size; "
                  "this file has one");
  if (info.stereo != Stereo::mono && control.note)
    control.note(std::string("the video is stereo (") + std::string(stereoName(info.stereo)) +
                 "): the left eye becomes the panorama");

  AVFormatContext* rawOutput = nullptr;
  int rc = avformat_alloc_output_context2(&rawOutput, nullptr, "flv", part.string().c_str());
  if (rc < 0) return failed("the FLV writer cannot start: " + ff::errorText(rc));
  ff::Output output(rawOutput);

  const webgl::PacketSink sink = webgl::risingTimesWriter(output.get());

  ImportResult result;
  result.videoCopied = info.videoCopied;
  result.audioCopied = info.audioCopied;
  std::unique_ptr<webgl::StreamPipe> videoCopy, audio;
  std::unique_ptr<VideoImport> videoEncode;
  AVStream* video = input->streams[streams.video.front()];
  if (info.videoCopied) {
    videoCopy = webgl::makeCopyPipe(video, output.get(), sink, error);
    if (!videoCopy) return failed(error);
    // The FLV writer's onMetaData names the frame rate from here.
    output->streams[output->nb_streams - 1]->avg_frame_rate =
        video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
  } else {
    std::vector<AVStream*> inputs;
    for (const int i : streams.video) inputs.push_back(input->streams[i]);
    const int width = outputWidth(info, projection, options.maxWidth);
    videoEncode = VideoImport::open(inputs, filterChain(info, projection, options.fov, width),
                                    output.get(), sink, error);
    if (!videoEncode) return failed(error);
  }
  const unsigned videoOut = output->nb_streams - 1;
  unsigned audioOut = 0;
  if (streams.audio >= 0) {
    AVStream* in = input->streams[streams.audio];
    audio = info.audioCopied ? webgl::makeCopyPipe(in, output.get(), sink, error)
                             : webgl::makeAudioEncodePipe(in, output.get(), sink, error);
    if (!audio) return failed(error);
    audioOut = output->nb_streams - 1;
  }

  rc = avio_open2(&output->pb, part.string().c_str(), AVIO_FLAG_WRITE, &input->interrupt_callback,
                  nullptr);
  if (rc < 0)
    return failed(part.parent_path().string() + ": cannot write there (" + ff::errorText(rc) + ")");
  rc = avformat_write_header(output.get(), nullptr);
  if (rc < 0) return failed("the FLV header cannot be written: " + ff::errorText(rc));
  if (videoCopy) videoCopy->started(output->streams[videoOut]);
  if (videoEncode) videoEncode->started(output->streams[videoOut]);
  if (audio) audio->started(output->streams[audioOut]);

  // The share done follows the video's time when the length is known, else the bytes read.
  const double duration = info.duration;
  const double total = static_cast<double>(avio_size(input->pb));
  const std::int64_t start = video->start_time == AV_NOPTS_VALUE ? 0 : video->start_time;
  double shown = -1;
  const auto report = [&](double done) {
    done = std::clamp(done, 0.0, 1.0);
    if (control.progress && done - shown >= 0.001) {
      shown = done;
      control.progress(done);
    }
  };
  const auto stopped = [&] { return control.cancel && control.cancel->load(); };

  ff::Packet packet(av_packet_alloc());
  while ((rc = av_read_frame(input.get(), packet.get())) >= 0) {
    const int index = packet->stream_index;
    int sent = 0;
    double at = -1;
    if (index == streams.video.front() && packet->dts != AV_NOPTS_VALUE && duration > 0)
      at = av_q2d(video->time_base) * static_cast<double>(packet->dts - start) / duration;
    if (videoCopy && index == streams.video.front()) {
      sent = videoCopy->send(packet.get());
    } else if (videoEncode) {
      const auto it = std::find(streams.video.begin(), streams.video.end(), index);
      if (it != streams.video.end())
        sent = videoEncode->send(static_cast<int>(it - streams.video.begin()), packet.get());
    }
    if (audio && index == streams.audio) sent = audio->send(packet.get());
    av_packet_unref(packet.get());
    if (sent == webgl::kPictureTooLarge)
      return failed(
          source.string() + ": a frame is larger than the " + std::to_string(ff::kMaxSide) + " x " +
          std::to_string(ff::kMaxPixels / ff::kMaxSide) + " px this program converts, or damaged");
    if (stopped()) return cancelled();
    if (sent < 0) return failed("the video cannot be imported: " + ff::errorText(sent));
    if (at >= 0)
      report(0.99 * at);
    else if (duration <= 0 && total > 0)
      report(0.99 * static_cast<double>(avio_tell(input->pb)) / total);
  }
  // The interrupt callback ends a read as soon as the flag is set.
  if (rc == AVERROR_EXIT || stopped()) return cancelled();
  if (rc != AVERROR_EOF)
    return failed(source.string() + ": read error (" + ff::errorText(rc) + ")");
  rc = videoEncode ? videoEncode->finish() : videoCopy->send(nullptr);
  if (rc >= 0 && audio) rc = audio->send(nullptr);
  if (stopped()) return cancelled();
  if (rc < 0) return failed("the video cannot be imported: " + ff::errorText(rc));
  rc = av_write_trailer(output.get());
  if (rc >= 0) rc = avio_closep(&output->pb);
  if (rc < 0) return failed("the FLV file cannot be finished: " + ff::errorText(rc));
  report(1.0);
  result.status = ImportStatus::done;
  return result;
}

}  // namespace

ProbeResult probeSource(const fs::path& source, const ImportOptions& options) {
  ProbeResult result;
  const ff::Input input = openSource(source, result.error, nullptr);
  if (!input) return result;
  SourceStreams streams;
  SourceInfo info = analyseSource(input.get(), source, options, streams);
  if (streams.video.empty())
    result.error = noVideo(source);
  else
    result.info = std::move(info);
  return result;
}

int outputWidth(const SourceInfo& info, Projection projection, int maxWidth) {
  int natural = info.width / (info.stereo == Stereo::leftRight ? 2 : 1);
  if (projection == Projection::eac) natural = info.width / 3 * 4;
  if (projection == Projection::gopro360) natural = info.height * 4;
  if (projection == Projection::equirect && info.area.given())
    natural = static_cast<int>(static_cast<double>(natural) * info.area.fullWidth /
                               info.area.croppedWidth);
  // Four divides it so that the height, half of it, is even as 4:2:0 needs.
  return std::max(16, std::min(natural, maxWidth) / 4 * 4);
}

ImportResult importVideo(const fs::path& source, const fs::path& target,
                         const ImportOptions& options, const ImportControl& control) {
  std::error_code ec;
  if (fs::equivalent(source, target, ec)) return failed(target.string() + ": is the source itself");
  const fs::path part = temporaryBeside(target);
  ImportResult result = importInto(source, part, options, control);
  // A stop can land in any read or write, which then fails with "exit requested".
  if (result.status == ImportStatus::failed && control.cancel && control.cancel->load())
    result = cancelled();
  if (result.status == ImportStatus::done)
    if (const auto error = renameIntoPlace(part, target, target)) result = failed(error->message());
  if (result.status != ImportStatus::done) fs::remove(part, ec);
  return result;
}

}  // namespace qx::import
