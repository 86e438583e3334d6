#include "webgl/VideoConverter.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <vector>

#include "project/FileIo.h"
#include "webgl/FfmpegHandles.h"
#include "webgl/MediaProbe.h"
#include "webgl/StreamPipes.h"

namespace qx::webgl {
namespace {

namespace fs = std::filesystem;

ConversionResult failed(std::string why) {
  ConversionResult r;
  r.status = ConversionStatus::Failed;
  r.error = std::move(why);
  return r;
}

// The conversion proper, into `part`; the caller renames or removes it.
ConversionResult convertInto(const fs::path& source, const fs::path& part, int maxWidth,
                             const ConversionControl& control) {
  std::string error;
  const ff::Input input = ff::openInput(source.string(), error, control.cancel);
  if (!input) return failed(source.string() + ": cannot be read as a video (" + error + ")");

  AVFormatContext* rawOutput = nullptr;
  int rc = avformat_alloc_output_context2(&rawOutput, nullptr, "mp4", part.string().c_str());
  if (rc < 0) return failed("the MP4 writer cannot start: " + ff::errorText(rc));
  ff::Output output(rawOutput);

  const PacketSink sink = risingTimesWriter(output.get());

  ConversionResult result;
  std::vector<std::unique_ptr<StreamPipe>> pipes(input->nb_streams);
  std::vector<unsigned> outIndex(input->nb_streams, 0);
  for (const AVMediaType type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
    const int index = av_find_best_stream(input.get(), type, -1, -1, nullptr, 0);
    if (index < 0) continue;
    AVStream* in = input->streams[index];
    // Sound nothing here can decode is left out rather than failing the whole video.
    if (type == AVMEDIA_TYPE_AUDIO && in->codecpar->codec_id != AV_CODEC_ID_AAC &&
        !avcodec_find_decoder(in->codecpar->codec_id))
      continue;
    const bool scaled = type == AVMEDIA_TYPE_VIDEO && maxWidth > 0;
    const bool copy =
        !scaled &&
        in->codecpar->codec_id == (type == AVMEDIA_TYPE_VIDEO ? AV_CODEC_ID_H264 : AV_CODEC_ID_AAC);
    if (copy) {
      pipes[index] = makeCopyPipe(in, output.get(), sink, error);
    } else if (type == AVMEDIA_TYPE_VIDEO) {
      pipes[index] = makeVideoEncodePipe(in, output.get(), sink, error, maxWidth);
      result.reencodedVideo = true;
    } else {
      pipes[index] = makeAudioEncodePipe(in, output.get(), sink, error);
      result.reencodedAudio = true;
    }
    if (!pipes[index]) return failed(error);
    outIndex[index] = output->nb_streams - 1;
  }
  if (output->nb_streams == 0) return failed(source.string() + ": holds neither video nor audio");

  rc = avio_open2(&output->pb, part.string().c_str(), AVIO_FLAG_WRITE, &input->interrupt_callback,
                  nullptr);
  if (rc < 0)
    return failed(part.parent_path().string() + ": cannot write there (" + ff::errorText(rc) + ")");
  AVDictionary* options = nullptr;
  // The index goes in front of the data, so a browser can start playing before the whole file
  // has arrived.
  av_dict_set(&options, "movflags", "+faststart", 0);
  rc = avformat_write_header(output.get(), &options);
  av_dict_free(&options);
  if (rc < 0) return failed("the MP4 header cannot be written: " + ff::errorText(rc));
  for (std::size_t i = 0; i < pipes.size(); ++i)
    if (pipes[i]) pipes[i]->started(output->streams[outIndex[i]]);

  // Copying is quick, but the index move at the end rewrites the file once more: give it its
  // share of the bar. Re-encoding is nearly all in the packet loop.
  const bool remux = !result.reencodedVideo && !result.reencodedAudio;
  const double loopShare = remux ? 0.6 : 0.98;
  const double total = static_cast<double>(avio_size(input->pb));
  double shown = -1;
  const auto report = [&](double done) {
    if (control.progress && done - shown >= 0.002) {
      shown = done;
      control.progress(done);
    }
  };
  const auto cancelled = [&] { return control.cancel && control.cancel->load(); };

  ff::Packet packet(av_packet_alloc());
  while ((rc = av_read_frame(input.get(), packet.get())) >= 0) {
    StreamPipe* pipe = pipes[packet->stream_index].get();
    const int sent = pipe ? pipe->send(packet.get()) : 0;
    av_packet_unref(packet.get());
    if (sent == kPictureTooLarge)
      return failed(source.string() + ": a frame is larger than the " +
                    std::to_string(maxPictureSide()) + " x " +
                    std::to_string(maxPicturePixels() / maxPictureSide()) +
                    " px this program converts, or damaged");
    if (sent < 0) return failed("the video cannot be converted: " + ff::errorText(sent));
    if (cancelled()) return ConversionResult{ConversionStatus::Cancelled, {}, false, false};
    if (total > 0)
      report(loopShare * std::min(1.0, static_cast<double>(avio_tell(input->pb)) / total));
  }
  // The interrupt callback ends a read (even one skipping junk) as soon as the flag is set.
  if (rc == AVERROR_EXIT || cancelled())
    return ConversionResult{ConversionStatus::Cancelled, {}, false, false};
  if (rc != AVERROR_EOF)
    return failed(source.string() + ": read error (" + ff::errorText(rc) + ")");
  for (auto& pipe : pipes) {
    if (!pipe) continue;
    rc = pipe->send(nullptr);
    if (rc < 0) return failed("the video cannot be converted: " + ff::errorText(rc));
  }
  if (cancelled()) return ConversionResult{ConversionStatus::Cancelled, {}, false, false};
  report(loopShare);
  rc = av_write_trailer(output.get());
  if (rc < 0) return failed("the MP4 file cannot be finished: " + ff::errorText(rc));
  rc = avio_closep(&output->pb);
  if (rc < 0) return failed("the MP4 file cannot be finished: " + ff::errorText(rc));
  report(1.0);
  result.status = ConversionStatus::Done;
  return result;
}

}  // namespace

ConversionResult convertToMp4(const fs::path& source, const fs::path& target,
                              const ConversionControl& control) {
  const Mp4Output output{target};
  return convertToMp4s(source, std::span(&output, 1), control);
}

ConversionResult convertToMp4s(const fs::path& source, std::span<const Mp4Output> outputs,
                               const ConversionControl& control) {
  std::error_code ec;
  for (const Mp4Output& o : outputs)
    if (fs::equivalent(source, o.target, ec))
      return failed(o.target.string() + ": is the video itself");
  double totalWeight = 0;
  for (const Mp4Output& o : outputs) totalWeight += o.weight;

  // Hidden and marked with this process: a run killed outright leaves files the next
  // conversion to the same targets removes.
  std::vector<fs::path> parts;
  ConversionResult result;
  result.status = ConversionStatus::Done;
  double before = 0;
  for (const Mp4Output& o : outputs) {
    parts.push_back(temporaryBeside(o.target));
    // Each pass reports its own 0 to 1; the bar shows the passes one after the other.
    ConversionControl pass{nullptr, control.cancel};
    if (control.progress && totalWeight > 0)
      pass.progress = [&, share = o.weight / totalWeight, at = before / totalWeight](double done) {
        control.progress(at + share * done);
      };
    before += o.weight;
    const ConversionResult r = convertInto(source, parts.back(), o.maxWidth, pass);
    if (&o == &outputs.front())
      result = r;
    else if (r.status != ConversionStatus::Done)
      result = r;
    if (result.status != ConversionStatus::Done) break;
  }
  // A stop can land in any read or write, which then fails with "exit requested".
  if (result.status == ConversionStatus::Failed && control.cancel && control.cancel->load())
    result = ConversionResult{ConversionStatus::Cancelled, {}, false, false};
  for (std::size_t i = 0; i < parts.size() && result.status == ConversionStatus::Done; ++i) {
    const fs::path& target = outputs[i].target;
    if (const auto error = renameIntoPlace(parts[i], target, target))
      result = failed(error->message());
  }
  if (result.status != ConversionStatus::Done)
    for (const fs::path& part : parts) fs::remove(part, ec);
  return result;
}

}  // namespace qx::webgl
