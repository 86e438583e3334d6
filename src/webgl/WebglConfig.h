#pragma once
// What the browser page needs to know about one published page: the values of config.xml's
// <main> block, its hot spots, and how the Flash page framed the viewer. An empty optional is
// a value that config.xml left empty; it is written as null.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::webgl {

struct PageLook {
  std::string title;
  std::string bgColor = "#FFFFFF";
  std::optional<int> width = 400;
  std::optional<int> height = 300;
  bool border = true;
  bool iframe = false;
};

struct MainValues {
  std::optional<bool> smooth = false;
  std::optional<double> fov = 70;
  std::optional<double> yaw = 0;
  std::optional<double> pitch = 0;
  std::optional<double> tilt = 90;
  std::optional<bool> controls = true;
  std::optional<double> volume = 50;
  std::optional<std::string> stageColor = "#000000";
  std::optional<double> bufferingTime = 30000;
  std::optional<double> viewMode = 0;
  std::optional<double> panningMode = 0;
  std::optional<double> balance = 0;
  std::optional<double> zoomMax = 130;
};

struct WebHotSpot {
  int id = 0;
  double yaw = 0;
  double pos = 0;
  double time = 0;
  int self = 0;
  std::string title;
  std::string link;
};

// One version of the video the page can play, e.g. tour.1920.mp4, 1920 x 960, 8 MB.
struct VideoRendition {
  std::string video;
  int width = 0;
  int height = 0;
  std::uintmax_t bytes = 0;  // 0 until the file is written
  double bitrate = 0;        // bits per second on average; 0 when unknown
};

struct WebglConfig {
  std::string video;      // file name of the browser copy of the video, e.g. "tour.mp4"
  std::string flashPage;  // file name of the Flash page, e.g. "tour.html"
  std::string poster;     // the still shown while the video loads, e.g. "tour.poster.jpg"
  std::string captions;   // WebVTT captions, e.g. "tour.vtt"; empty when there are none
  bool audio = true;      // the video has a sound track: without one the page offers no sound
  // Every version of the video, widest (the one above) first; empty when there is only one.
  std::vector<VideoRendition> renditions;
  PageLook page;
  MainValues main;
  std::vector<WebHotSpot> hotSpots;
};

// The configuration as the browser page reads it: one JSON object in which every "<" is written
// as \u003c, so the text can stand inside a <script> element.
std::string configJson(const WebglConfig& config);

}  // namespace qx::webgl
