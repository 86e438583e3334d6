#include "media/F4vToFlv.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "media/FlvTags.h"
#include "media/Mp4Samples.h"
#include "media/Mp4Track.h"

namespace qx::media {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kCopyBuffer = 1 << 20;
constexpr std::int64_t kMaxFlvTime = 0x7fffffff;  // milliseconds in 31 bits

// Track units to milliseconds, halves away from zero.
std::int64_t toMs(std::int64_t t, std::uint32_t timescale) {
  const std::int64_t half = timescale / 2;
  return t >= 0 ? (t * 1000 + half) / timescale : -((-t * 1000 + half) / timescale);
}

// The temporary file, removed unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  fs::path path_;
};

class Remux {
 public:
  Remux(std::istream& tables, std::istream& payload, std::ostream& out, const Mp4Movie& movie)
      : payload_(payload), out_(out), movie_(movie), video_(tables, *movie.video, movie.fileSize) {
    if (movie.audio) audio_.emplace(tables, *movie.audio, movie.fileSize);
  }

  // The reason it stopped short, or nothing.
  std::optional<std::string> run(const RemuxProgress& progress) {
    writeStart();
    std::optional<Mp4Sample> v = video_.next(), a = audio_ ? audio_->next() : std::nullopt;
    for (std::uint64_t written = 0, reported = 0; v || a;) {
      // Interleaved by decode time; at equal times the track that comes first in the file.
      const bool takeVideo = v && (!a || earlier(*v, *movie_.video, *a, *movie_.audio));
      const Mp4Track& track = takeVideo ? *movie_.video : *movie_.audio;
      const Mp4Sample sample = takeVideo ? *v : *a;
      if (auto problem = writeSample(track, sample)) return problem;
      written += sample.size;
      (takeVideo ? v : a) = takeVideo ? video_.next() : audio_->next();
      if (progress && written - reported >= kCopyBuffer) {
        reported = written;
        const double seconds = double(sample.dts) / track.timescale;
        if (!progress(std::clamp(seconds / movie_.durationSeconds, 0.0, 1.0))) return "stopped";
      }
    }
    if (!video_.error().empty()) return video_.error();
    if (audio_ && !audio_->error().empty()) return audio_->error();
    if (progress && !progress(1.0)) return "stopped";
    return std::nullopt;
  }

 private:
  static bool earlier(const Mp4Sample& x, const Mp4Track& xt, const Mp4Sample& y,
                      const Mp4Track& yt) {
    const double xs = double(x.dts) / xt.timescale, ys = double(y.dts) / yt.timescale;
    return xs < ys || (xs == ys && xt.index < yt.index);
  }

  void writeTag(std::uint8_t type, std::uint32_t timeMs, const std::string& prefix,
                std::string_view body) {
    const auto size = static_cast<std::uint32_t>(prefix.size() + body.size());
    out_ << flvTagHeader(type, size, timeMs) << prefix << body << flvTagTrailer(size);
  }

  void writeStart() {
    const Mp4Track& video = *movie_.video;
    out_ << flvFileHeader(movie_.audio.has_value(), true);
    FlvMetaData meta;
    meta.duration = movie_.durationSeconds;
    meta.width = video.width, meta.height = video.height;
    if (video.mediaDuration > 0)
      meta.frameRate = double(video.sampleCount) * video.timescale / double(video.mediaDuration);
    if (movie_.audio) {
      meta.hasAudio = true;
      meta.audioSampleRate = movie_.audio->sampleRate;
      meta.stereo = movie_.audio->channels == 2;
    }
    writeTag(kFlvScriptTag, 0, {}, flvMetaDataBody(meta));
    const auto bytes = [](const std::vector<std::uint8_t>& v) {
      return std::string_view(reinterpret_cast<const char*>(v.data()), v.size());
    };
    writeTag(kFlvVideoTag, 0, flvAvcPrefix(true, true, 0), bytes(video.config));
    if (movie_.audio) writeTag(kFlvAudioTag, 0, flvAacPrefix(true), bytes(movie_.audio->config));
  }

  std::optional<std::string> writeSample(const Mp4Track& track, const Mp4Sample& sample) {
    if (sample.size == 0) return std::nullopt;  // nothing to show or play
    const std::int64_t dts = toMs(sample.dts, track.timescale);
    if (dts > kMaxFlvTime) return "the video is too long for an FLV";
    const std::string prefix =
        track.video
            ? flvAvcPrefix(sample.keyframe, false,
                           static_cast<std::int32_t>(std::clamp<std::int64_t>(
                               toMs(sample.pts, track.timescale) - dts, -0x800000, 0x7fffff)))
            : flvAacPrefix(false);
    if (sample.size > kFlvMaxTagBody - prefix.size()) return "a sample is too large for an FLV";
    const auto size = static_cast<std::uint32_t>(prefix.size() + sample.size);
    out_ << flvTagHeader(track.video ? kFlvVideoTag : kFlvAudioTag, size,
                         static_cast<std::uint32_t>(dts))
         << prefix;
    // Samples mostly follow each other in the file: a seek would throw the read buffer away.
    if (sample.offset != payloadAt_) {
      payload_.clear();
      payload_.seekg(static_cast<std::streamoff>(sample.offset));
    }
    payloadAt_ = sample.offset + sample.size;
    for (std::uint32_t left = sample.size; left > 0;) {
      const auto chunk = std::min<std::uint32_t>(left, kCopyBuffer);
      buffer_.resize(std::max<std::size_t>(buffer_.size(), chunk));
      payload_.read(buffer_.data(), chunk);
      if (payload_.gcount() != static_cast<std::streamsize>(chunk)) return "the file ends early";
      out_.write(buffer_.data(), chunk);
      left -= chunk;
    }
    out_ << flvTagTrailer(size);
    if (!out_) {
      outputFailed_ = true;
      return std::string(std::strerror(errno));
    }
    return std::nullopt;
  }

 public:
  // The problem lies with the written file (a full disk), not with the F4V.
  bool outputFailed() const { return outputFailed_; }

 private:
  std::istream& payload_;
  std::ostream& out_;
  const Mp4Movie& movie_;
  Mp4Samples video_;
  std::optional<Mp4Samples> audio_;
  std::vector<char> buffer_;
  std::uint64_t payloadAt_ = ~std::uint64_t{0};  // where the payload stream stands
  bool outputFailed_ = false;
};

}  // namespace

std::optional<FileError> remuxF4vToFlv(const fs::path& f4v, const fs::path& flv,
                                       const RemuxProgress& progress) {
  std::ifstream tables(f4v, std::ios::binary), payload(f4v, std::ios::binary);
  if (!tables || !payload) return FileError{f4v, std::strerror(errno)};
  auto read = readMp4Movie(tables);
  if (const auto* reason = std::get_if<std::string>(&read))
    return FileError{f4v, "cannot be made an FLV: " + *reason};
  const Mp4Movie& movie = std::get<Mp4Movie>(read);

  std::error_code ec;
  if (fs::is_directory(flv, ec)) return FileError{flv, "is a folder, not a file"};
  const fs::path target = writeTarget(flv);
  TemporaryFile temp(temporaryBeside(target));
  std::optional<std::string> problem;
  bool aboutOutput = true;
  {
    std::vector<char> outBuffer(kCopyBuffer);
    std::ofstream out;
    out.rdbuf()->pubsetbuf(outBuffer.data(), static_cast<std::streamsize>(outBuffer.size()));
    out.open(temp.path(), std::ios::binary | std::ios::trunc);
    if (!out) return FileError{flv, std::strerror(errno)};
    Remux remux(tables, payload, out, movie);
    problem = remux.run(progress);
    aboutOutput = !problem || *problem == "stopped" || remux.outputFailed();
    out.close();
    if (!problem && !out) problem = std::strerror(errno);
  }
  if (problem)
    return aboutOutput ? FileError{flv, *problem}
                       : FileError{f4v, "cannot be made an FLV: " + *problem};
  if (auto error = syncToDisk(temp.path())) return FileError{flv, error->reason};
  auto renamed = renameIntoPlace(temp.path(), target, flv);
  temp.release();
  return renamed;
}

}  // namespace qx::media
