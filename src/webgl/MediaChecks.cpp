#include "webgl/MediaChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qx::webgl {
namespace {

// Wider (or taller) than this, many phones' decoders refuse the video.
constexpr int kPhoneLimit = 4096;

std::string seconds(double s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f s", s);
  return buffer;
}

void videoChecks(const MediaInfo& media, std::vector<Check>& out) {
  if (!media.video) {
    out.push_back({CheckLevel::Problem, "Video: the file holds no video picture."});
    return;
  }
  const VideoStreamInfo& v = *media.video;
  if (media.videoCopied()) {
    out.push_back(
        {CheckLevel::Ok, "Video: " + v.codecLabel + ", copied as it is (no re-encoding)."});
  } else if (!v.decodable) {
    out.push_back({CheckLevel::Problem, "Video: " + v.codecLabel + " cannot be decoded here."});
    return;
  } else {
    out.push_back({CheckLevel::Note, "Video: " + v.codecLabel +
                                         ", which browsers cannot play; it is re-encoded to H.264 "
                                         "(this takes a while)."});
  }
  if (media.videoFrames == 0) {
    out.push_back({CheckLevel::Problem, "Video: the file holds no video frames."});
    return;
  }
  std::string size = "Size: " + std::to_string(v.width) + " x " + std::to_string(v.height) + " px";
  if (v.width > maxPictureSide() || v.height > maxPictureSide() ||
      static_cast<std::int64_t>(v.width) * v.height > maxPicturePixels()) {
    out.push_back({CheckLevel::Problem, size + ": larger than the " +
                                            std::to_string(maxPictureSide()) + " x " +
                                            std::to_string(maxPicturePixels() / maxPictureSide()) +
                                            " px this program converts."});
    return;
  }
  if (v.width > kPhoneLimit || v.height > kPhoneLimit) {
    out.push_back(
        {CheckLevel::Warning, size + ": larger than 4096 px, which will not play on many phones."});
  } else if ((v.width <= 0 || v.height <= 0) && !media.videoCopied()) {
    // Re-encoding needs the size, and a decoder finds none when every frame it was shown was
    // refused: too large, or damaged.
    out.push_back({CheckLevel::Problem,
                   "Size: unknown, as no frame could be decoded (a picture larger than " +
                       std::to_string(maxPictureSide()) + " x " +
                       std::to_string(maxPicturePixels() / maxPictureSide()) +
                       " px is refused, and so is a damaged one)."});
    return;
  } else if (v.width <= 0 || v.height <= 0) {
    out.push_back({CheckLevel::Warning, "Size: unknown."});
  } else {
    out.push_back({CheckLevel::Ok, size + "."});
  }
  if (!media.videoCopied() && ((v.width | v.height) & 1))
    out.push_back({CheckLevel::Note,
                   "Size: odd widths and heights lose their last column or row "
                   "when re-encoded."});
  if (v.width > 0 && v.height > 0 && std::abs(static_cast<double>(v.width) / v.height - 2.0) > 0.02)
    out.push_back({CheckLevel::Note,
                   "Shape: the picture is not twice as wide as high; the page "
                   "wraps its full width around the view all the same."});
}

void audioChecks(const MediaInfo& media, const MainValues& main, std::vector<Check>& out) {
  if (!media.audio) {
    const bool wantsSound = main.volume.value_or(0) > 0 || main.balance.value_or(0) > 0;
    out.push_back({wantsSound ? CheckLevel::Note : CheckLevel::Ok,
                   wantsSound ? "Audio: none, so the volume and audio panning settings do nothing."
                              : "Audio: none."});
    return;
  }
  const AudioStreamInfo& a = *media.audio;
  const std::string what = a.codecLabel + ", " + std::to_string(a.sampleRate) + " Hz, " +
                           (a.channels == 1   ? "mono"
                            : a.channels == 2 ? "stereo"
                                              : std::to_string(a.channels) + " channels");
  if (media.audioCopied()) {
    out.push_back({CheckLevel::Ok, "Audio: " + what + ", copied as it is."});
  } else if (!a.decodable) {
    out.push_back({CheckLevel::Warning, "Audio: " + what +
                                            " cannot be decoded here; the browser "
                                            "copy will be silent."});
    return;
  } else {
    out.push_back({CheckLevel::Note, "Audio: " + what + ", re-encoded to AAC" +
                                         (a.channels > 2 ? " (as stereo)." : ".")});
  }
  if (main.volume.value_or(0) > 0)
    out.push_back({CheckLevel::Note,
                   "Sound: browsers do not start a video with sound by "
                   "themselves; the page asks for one tap to play or unmute."});
}

void timingChecks(const MediaInfo& media, const WebglConfig& config, std::vector<Check>& out) {
  double d = media.duration;
  if (!(d > 0)) {
    out.push_back(
        {CheckLevel::Warning, "Duration: unknown, so the hot-spot times cannot be checked."});
    return;
  }
  // A file cut short still says in its header how long it was meant to be.
  const double end = media.videoEnd;
  if (media.video && end > 0 && end + std::max(0.5, d * 0.02) < d) {
    out.push_back({CheckLevel::Warning, "Duration: the video stops at " + durationText(end) +
                                            ", though the file says " + durationText(d) +
                                            "; it looks cut short (an unfinished copy or "
                                            "download). Only what is there is converted."});
    d = end;
  } else {
    out.push_back({CheckLevel::Ok, "Duration: " + durationText(d) + "."});
  }
  for (const WebHotSpot& h : config.hotSpots) {
    const std::string name = "Hot spot " + std::to_string(h.id);
    if (h.pos >= d)
      out.push_back({CheckLevel::Warning, name + " starts at " + seconds(h.pos) +
                                              ", after the video ends: it never shows."});
    else if (h.pos + h.time > d + 0.05)
      out.push_back({CheckLevel::Note, name + " would show until " + seconds(h.pos + h.time) +
                                           "; it ends with the video at " + seconds(d) + "."});
  }
  if (config.main.bufferingTime && *config.main.bufferingTime > d * 1000)
    out.push_back({CheckLevel::Note, "Buffering: " + seconds(*config.main.bufferingTime / 1000) +
                                         " is longer than the video; the page buffers the whole "
                                         "video before it starts."});
}

void configChecks(const WebglConfig& config, std::vector<Check>& out) {
  const MainValues& m = config.main;
  const auto empty = [&](bool isEmpty, const char* what) {
    if (isEmpty)
      out.push_back({CheckLevel::Note, std::string("config.xml leaves the ") + what +
                                           " empty; the page uses its own default."});
  };
  empty(!m.fov, "start zoom (fov)");
  empty(!m.volume, "volume");
  empty(!m.panningMode || *m.panningMode < 0, "panning mode");
  empty(!m.smooth || !m.controls || !m.yaw || !m.pitch || !m.tilt || !m.stageColor ||
            !m.bufferingTime || !m.viewMode || !m.balance || !m.zoomMax,
        "value of at least one other setting");
  if (m.fov && m.zoomMax && *m.fov > *m.zoomMax)
    out.push_back({CheckLevel::Note,
                   "Zoom: the start view is wider than the widest zoom allowed; "
                   "the page starts at the widest allowed."});
  for (const WebHotSpot& h : config.hotSpots)
    if (h.link.empty())
      out.push_back({CheckLevel::Warning, "Hot spot " + std::to_string(h.id) +
                                              " has no link: activating it does nothing."});
  if (!config.page.width || !config.page.height)
    out.push_back({CheckLevel::Note,
                   "The Flash page gives no viewer size; the WebGL page sizes "
                   "the view itself."});
}

}  // namespace

std::vector<Check> mediaChecks(const MediaInfo& media, const WebglConfig& config) {
  std::vector<Check> out;
  videoChecks(media, out);
  audioChecks(media, config.main, out);
  timingChecks(media, config, out);
  configChecks(config, out);
  return out;
}

bool canConvert(const std::vector<Check>& checks) {
  return std::none_of(checks.begin(), checks.end(),
                      [](const Check& c) { return c.level == CheckLevel::Problem; });
}

const char* levelText(CheckLevel level) {
  switch (level) {
    case CheckLevel::Ok:
      return "OK";
    case CheckLevel::Note:
      return "Note";
    case CheckLevel::Warning:
      return "Warning";
    case CheckLevel::Problem:
      return "Problem";
  }
  return "";
}

}  // namespace qx::webgl
