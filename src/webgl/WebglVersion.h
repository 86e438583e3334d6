#pragma once
// The browser version of one published page, written beside it: for tour.html, tour.webgl.html
// (the WebGL page), the viewer script, <video stem>.mp4 and tour.select.html (which opens the
// Flash page where a Flash player is present and the WebGL page otherwise).
#include <filesystem>
#include <string>
#include <vector>

#include "project/FileIo.h"
#include "webgl/CaptionsFile.h"
#include "webgl/MediaChecks.h"
#include "webgl/MediaProbe.h"
#include "webgl/VideoConverter.h"
#include "webgl/WebAssets.h"
#include "webgl/WebglConfig.h"

namespace qx::webgl {

struct WebglNames {
  std::filesystem::path flashPage;     // /site/tour.html
  std::filesystem::path webglPage;     // /site/tour.webgl.html
  std::filesystem::path selectPage;    // /site/tour.select.html
  std::filesystem::path sourceVideo;   // /site/tour.flv
  std::filesystem::path video;         // /site/tour.mp4
  std::filesystem::path poster;        // /site/tour.poster.jpg
  std::filesystem::path lighterVideo;  // /site/tour.1920.mp4, when the video is wider
  std::filesystem::path captions;      // /site/tour.vtt, used when captionsSource is not empty
  std::filesystem::path captionsSource;
};

// The names for a page and the video file name config.xml gives.
WebglNames webglNames(const std::filesystem::path& flashPage, const std::string& movie);

// Everything read before converting: shown to the author, then handed to writeWebglVersion.
struct [[nodiscard]] WebglPlan {
  WebglNames names;
  WebglConfig config;
  MediaInfo media;
  std::vector<Check> checks;
};

// A video wider than this also gets a copy this wide, for small screens and slow links.
inline constexpr int kLighterVideoWidth = 1920;

// Reads the page, its config.xml and the video. Fails when one of them is missing or unreadable.
// `cancel` stops the reading of the video.
Expected<WebglPlan> planWebglVersion(const std::filesystem::path& flashPage,
                                     const std::atomic<bool>* cancel = nullptr);

// Whether the run writes the lighter copy of the video (on by default for a wide one).
bool writesLighterVideo(const WebglPlan& plan);
// Leaves the lighter copy out: the page then has one video only.
void dropLighterVideo(WebglPlan& plan);

struct [[nodiscard]] WebglOutcome {
  ConversionStatus status = ConversionStatus::Failed;
  std::string error;                           // why the run failed
  std::vector<std::filesystem::path> written;  // in the order written
};

// Converts the video, then writes the script and assets, the WebGL page and the selector last,
// so the selector never points at a page that is not there.
WebglOutcome writeWebglVersion(const WebglPlan& plan, const WebAssets& assets,
                               const ConversionControl& control = {});

// A file name as it may stand in a link: everything but letters, digits and -._~ percent-encoded.
std::string urlName(const std::string& utf8);

}  // namespace qx::webgl
