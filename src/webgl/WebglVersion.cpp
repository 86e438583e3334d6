#include "webgl/WebglVersion.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "project/TextCodec.h"
#include "publish/MarkupText.h"
#include "webgl/ConfigXmlReader.h"
#include "webgl/FlashPageReader.h"
#include "webgl/MarkupText.h"
#include "webgl/PosterFrame.h"

namespace qx::webgl {
namespace {

namespace fs = std::filesystem;

// The page's name without its last extension: tour.html gives tour, tour.htm.html tour.htm.
std::string pageStem(const fs::path& page) {
  return page.stem().string();
}

// The video config.xml names, when it is missing: the one FLV or F4V of the folder.
std::string guessMovie(const fs::path& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string ext = asciiLower(entry.path().extension().string());
    if ((ext == ".flv" || ext == ".f4v") && entry.is_regular_file(ec))
      found.push_back(entry.path().filename().string());
  }
  return found.size() == 1 ? found.front() : std::string();
}

// The captions beside the video, named in the page when they can be used.
void addCaptions(WebglPlan& plan) {
  const auto found = findCaptions(plan.names.sourceVideo);
  if (!found) return;
  if (!found->problem.empty()) {
    plan.checks.push_back({CheckLevel::Warning, found->problem});
    return;
  }
  plan.names.captionsSource = found->source;
  plan.config.captions = urlName(plan.names.captions.filename().string());
  plan.checks.push_back({CheckLevel::Ok, "Captions: " + found->source.filename().string() +
                                             " is shown over the picture."});
}

// The page's versions of the video: the copy at the source's size and, for a wide source, a
// lighter one. Sizes are even, as the encoder makes them.
void addRenditions(WebglPlan& plan) {
  const auto& v = plan.media.video;
  if (!v || v->width <= kLighterVideoWidth || v->height <= 0) return;
  const bool copied = plan.media.videoCopied();
  const int height =
      static_cast<int>(std::lround(static_cast<double>(v->height) * kLighterVideoWidth / v->width));
  plan.config.renditions = {
      {plan.config.video, copied ? v->width : v->width & ~1, copied ? v->height : v->height & ~1},
      {urlName(plan.names.lighterVideo.filename().string()), kLighterVideoWidth,
       std::max(2, height & ~1)}};
}

// The poster and the captions, written beside the converted video; false with the reason set.
bool writeCompanions(const WebglPlan& plan, WebglOutcome& outcome) {
  auto error = writePosterFrame(plan.names.video, plan.names.poster);
  if (!error) outcome.written.push_back(plan.names.poster);
  if (!error && !plan.names.captionsSource.empty()) {
    error = copyCaptions(plan.names.captionsSource, plan.names.captions);
    if (!error) outcome.written.push_back(plan.names.captions);
  }
  if (!error) return true;
  outcome.status = ConversionStatus::Failed;
  outcome.error = *error;
  return false;
}

}  // namespace

std::string urlName(const std::string& utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

WebglNames webglNames(const fs::path& flashPage, const std::string& movie) {
  WebglNames n;
  n.flashPage = flashPage;
  const fs::path folder = flashPage.parent_path();
  const std::string stem = pageStem(flashPage);
  n.webglPage = folder / (stem + ".webgl.html");
  n.selectPage = folder / (stem + ".select.html");
  // Only the file name counts: config.xml cannot send the copy out of the page's folder.
  n.sourceVideo = folder / fs::path(movie).filename();
  n.video = folder / (fs::path(movie).filename().stem().string() + ".mp4");
  // A video that already is an MP4 is not overwritten by its own copy.
  if (asciiLower(n.sourceVideo.filename().string()) == asciiLower(n.video.filename().string()))
    n.video = folder / (fs::path(movie).filename().stem().string() + ".browser.mp4");
  n.poster = folder / (n.video.stem().string() + ".poster.jpg");
  n.lighterVideo =
      folder / (n.video.stem().string() + "." + std::to_string(kLighterVideoWidth) + ".mp4");
  n.captions = folder / (n.video.stem().string() + ".vtt");
  return n;
}

Expected<WebglPlan> planWebglVersion(const fs::path& flashPage, const std::atomic<bool>* cancel) {
  const auto pageBytes = readFileBytes(flashPage);
  if (!pageBytes) return pageBytes.error();
  const fs::path folder = flashPage.parent_path();
  const auto configBytes = readFileBytes(folder / "config.xml");
  if (!configBytes)
    return FileError{folder / "config.xml", "cannot be read (" + configBytes.error().reason +
                                                "); is this a published page?"};
  ConfigXml configXml = readConfigXml(configBytes.value());
  std::string movie = fs::path(configXml.movie).filename().string();
  if (movie.empty()) movie = guessMovie(folder);
  if (movie.empty())
    return FileError{folder / "config.xml",
                     "names no video, and the folder holds no single FLV or F4V"};

  WebglPlan plan;
  plan.names = webglNames(flashPage, movie);
  auto media = probeMedia(plan.names.sourceVideo, cancel);
  if (!media) return media.error();
  plan.media = std::move(media).value();

  WebglConfig& c = plan.config;
  // Both are used as links by the page.
  c.video = urlName(plan.names.video.filename().string());
  c.flashPage = urlName(flashPage.filename().string());
  c.audio = plan.media.audio.has_value();
  c.poster = urlName(plan.names.poster.filename().string());
  addCaptions(plan);
  addRenditions(plan);
  c.page = readFlashPage(pageBytes.value());
  c.main = configXml.main;
  c.hotSpots = std::move(configXml.hotSpots);
  for (std::string& note : configXml.notes)
    plan.checks.push_back({CheckLevel::Warning, std::move(note)});
  const auto checks = mediaChecks(plan.media, c);
  plan.checks.insert(plan.checks.begin(), checks.begin(), checks.end());
  return plan;
}

bool writesLighterVideo(const WebglPlan& plan) {
  return plan.config.renditions.size() > 1;
}

void dropLighterVideo(WebglPlan& plan) {
  plan.config.renditions.clear();
}

WebglOutcome writeWebglVersion(const WebglPlan& plan, const WebAssets& assets,
                               const ConversionControl& control) {
  WebglOutcome outcome;
  if (!canConvert(plan.checks)) {
    outcome.error = "the video cannot be made ready for browsers (see the checks)";
    return outcome;
  }
  // Copying the stream is quick beside the lighter copy's re-encoding: the bar says so.
  std::vector<Mp4Output> videos{{plan.names.video, 0, plan.media.remuxOnly() ? 0.1 : 1.0}};
  if (writesLighterVideo(plan))
    videos.push_back({plan.names.lighterVideo, kLighterVideoWidth, 1.0});
  const ConversionResult converted = convertToMp4s(plan.names.sourceVideo, videos, control);
  outcome.status = converted.status;
  outcome.error = converted.error;
  if (converted.status != ConversionStatus::Done) return outcome;
  WebglConfig c = plan.config;
  for (std::size_t i = 0; i < videos.size(); ++i) {
    outcome.written.push_back(videos[i].target);
    std::error_code ec;
    const std::uintmax_t bytes = fs::file_size(videos[i].target, ec);
    if (i >= c.renditions.size() || ec) continue;
    c.renditions[i].bytes = bytes;
    // The page weighs this against the speed it measures the link at.
    if (plan.media.duration > 0)
      c.renditions[i].bitrate = static_cast<double>(bytes) * 8 / plan.media.duration;
  }
  if (!writeCompanions(plan, outcome)) return outcome;

  const fs::path folder = plan.names.flashPage.parent_path();
  const auto write = [&](const fs::path& path, std::string_view bytes) {
    if (const auto failure = writeFileReplacing(path, bytes, LinkPolicy::replaceLink)) {
      outcome.status = ConversionStatus::Failed;
      outcome.error = failure->message();
      return false;
    }
    outcome.written.push_back(path);
    return true;
  };
  for (const WebAsset& asset : assets.files)
    if (!write(folder / fs::path(asset.name).filename(), asset.bytes)) return outcome;

  // Written with "<" escaped, the configuration cannot end the script element it sits in.
  const std::string page = fillTemplate(assets.pageTemplate, {{"TITLE", escapeMarkup(c.page.title)},
                                                              {"BGCOLOR", c.page.bgColor},
                                                              {"CONFIG_JSON", configJson(c)},
                                                              {"SCRIPT", "qx_webgl.js"}});
  if (!write(plan.names.webglPage, page)) return outcome;
  const std::string select = fillTemplate(
      assets.selectTemplate, {{"TITLE", escapeMarkup(c.page.title)},
                              {"FLASH_PAGE", urlName(plan.names.flashPage.filename().string())},
                              {"WEBGL_PAGE", urlName(plan.names.webglPage.filename().string())}});
  write(plan.names.selectPage, select);
  return outcome;
}

}  // namespace qx::webgl
