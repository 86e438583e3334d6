#include "webgl/WebglConfig.h"

#include <cmath>

#include "publish/JsonText.h"

namespace qx::webgl {
namespace {

std::string number(double v) {
  return jsonNumber(v);
}
std::string boolean(bool v) {
  return jsonBool(v);
}
std::string text(const std::string& v) {
  return jsonString(v);
}

std::string nameOrNull(const std::string& name) {
  return name.empty() ? "null" : jsonString(name);
}

std::string pageJson(const PageLook& p) {
  return "{\"title\": " + jsonString(p.title) + ", \"bgColor\": " + jsonString(p.bgColor) +
         ", \"width\": " + jsonOrNull(p.width, [](int v) { return number(v); }) +
         ", \"height\": " + jsonOrNull(p.height, [](int v) { return number(v); }) +
         ", \"border\": " + jsonBool(p.border) + ", \"iframe\": " + jsonBool(p.iframe) + "}";
}

std::string mainJson(const MainValues& m) {
  return "{\"smooth\": " + jsonOrNull(m.smooth, boolean) +
         ", \"fov\": " + jsonOrNull(m.fov, number) + ", \"yaw\": " + jsonOrNull(m.yaw, number) +
         ", \"pitch\": " + jsonOrNull(m.pitch, number) +
         ", \"tilt\": " + jsonOrNull(m.tilt, number) +
         ", \"controls\": " + jsonOrNull(m.controls, boolean) +
         ", \"volume\": " + jsonOrNull(m.volume, number) +
         ", \"stageColor\": " + jsonOrNull(m.stageColor, text) +
         ", \"bufferingTime\": " + jsonOrNull(m.bufferingTime, number) +
         ", \"viewMode\": " + jsonOrNull(m.viewMode, number) +
         ", \"panningMode\": " + jsonOrNull(m.panningMode, number) +
         ", \"balance\": " + jsonOrNull(m.balance, number) +
         ", \"zoomMax\": " + jsonOrNull(m.zoomMax, number) + "}";
}

std::string hotSpotJson(const WebHotSpot& h) {
  return "{\"id\": " + number(h.id) + ", \"yaw\": " + number(h.yaw) +
         ", \"pos\": " + number(h.pos) + ", \"time\": " + number(h.time) +
         ", \"self\": " + number(h.self) + ", \"title\": " + jsonString(h.title) +
         ", \"link\": " + jsonString(h.link) +
         ", \"icon\": " + jsonString("images/hs" + std::to_string(h.id) + ".gif") + "}";
}

std::string renditionsJson(const std::vector<VideoRendition>& list) {
  std::string out;
  for (const auto& r : list) {
    out += out.empty() ? "" : ", ";
    out += "{\"video\": " + jsonString(r.video) + ", \"width\": " + number(r.width) +
           ", \"height\": " + number(r.height) + ", \"bytes\": " + std::to_string(r.bytes) +
           ", \"bitrate\": " + std::to_string(std::llround(r.bitrate)) + "}";
  }
  return "[" + out + "]";
}

}  // namespace

std::string configJson(const WebglConfig& config) {
  std::string hotSpots;
  for (const auto& h : config.hotSpots) {
    hotSpots += hotSpots.empty() ? "\n    " : ",\n    ";
    hotSpots += hotSpotJson(h);
  }
  if (!hotSpots.empty()) hotSpots += "\n  ";
  return "{\n  \"version\": 1,\n  \"video\": " + jsonString(config.video) +
         ",\n  \"flashPage\": " + jsonString(config.flashPage) +
         ",\n  \"poster\": " + nameOrNull(config.poster) +
         ",\n  \"captions\": " + nameOrNull(config.captions) +
         ",\n  \"renditions\": " + renditionsJson(config.renditions) +
         ",\n  \"audio\": " + (config.audio ? "true" : "false") +
         ",\n  \"page\": " + pageJson(config.page) + ",\n  \"main\": " + mainJson(config.main) +
         ",\n  \"hotspots\": [" + hotSpots + "]\n}";
}

}  // namespace qx::webgl
