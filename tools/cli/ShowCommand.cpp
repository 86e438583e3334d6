// show PROJECT.pp [--json]: the settings and the hot spots in use, for people or for scripts.
#include <ostream>
#include <variant>

#include "Command.h"
#include "project/ChoiceLists.h"
#include "project/NumberText.h"
#include "project/TextCodec.h"
#include "publish/JsonText.h"

namespace qx::cli {
namespace {

struct Field {
  std::string_view name;
  std::variant<long long, std::string> value;
  std::string item = {};  // the list's item text, for list fields
};

Field listField(std::string_view name, int number, ItemList items) {
  return {name, number, std::string(itemText(items, number))};
}

std::vector<Field> fieldsOf(const ProjectSettings& s) {
  // The zoom list as this program builds it: from the project's own ZOOMMAX.
  const auto zoom = zoomItems(s.zoomMax);
  const auto zoomItem =
      fitListNumber(s.zoom, zoom.size()) ? zoom[static_cast<std::size_t>(s.zoom) - 1] : "";
  return {listField("window", s.window, windowItems()),
          {"smooth", s.smooth},
          {"controls", s.controls},
          {"zoom", s.zoom, zoomItem},
          listField("yaw", s.yaw, yawItems()),
          listField("pitch", s.pitch, pitchItems()),
          listField("tilt", s.tilt, tiltItems()),
          listField("audio", s.audio, audioItems()),
          {"htmlBgColor", "#" + rgbText(s.htmlBgColor)},
          {"htmlTitle", s.htmlTitle},
          {"startBufferingTime", s.startBufferingTime},
          {"border", s.border},
          {"viewMode", s.viewMode, s.viewMode == 1 ? "Black Areas" : "Classic"},
          {"hsIcon", s.hsIcon, s.hsIcon == 1 ? "icon1" : "icon2"},
          listField("panningMode", s.panningMode, panningModeItems()),
          {"blackAreaColor", "#" + rgbText(s.blackAreaColor)},
          listField("flashPlayer", s.flashPlayer, flashPlayerItems()),
          {"tooltipHelp", s.tooltipHelp},
          listField("balance", s.balance, balanceItems()),
          listField("optimize", s.optimize, optimizeItems()),
          listField("htmlQuality", s.htmlQuality, qualityItems()),
          {"zoomMax", s.zoomMax},
          {"videoPath", s.videoPath},
          {"iframe", s.iframe}};
}

std::string valueText(const Field& f, bool json) {
  if (const auto* n = std::get_if<long long>(&f.value)) return std::to_string(*n);
  const auto& text = std::get<std::string>(f.value);
  return json ? jsonString(text) : text;
}

void printJson(std::ostream& out, const Project& p) {
  const auto fields = fieldsOf(p.settings);
  out << "{\n  \"settings\": {\n";
  for (std::size_t i = 0; i < fields.size(); ++i)
    out << "    " << jsonString(fields[i].name) << ": " << valueText(fields[i], true)
        << (i + 1 < fields.size() ? ",\n" : "\n");
  out << "  },\n  \"hotSpots\": [";
  bool first = true;
  for (int slot = 1; slot <= HotSpotList::kSlots; ++slot) {
    const HotSpot& h = p.hotSpots.at(slot);
    if (!h.inUse()) continue;
    out << (first ? "\n" : ",\n") << "    {\"slot\": " << slot
        << ", \"link\": " << jsonString(h.link) << ", \"title\": " << jsonString(h.title)
        << ", \"yaw\": " << h.yaw << ", \"pos\": " << jsonNumber(h.pos)
        << ", \"time\": " << jsonNumber(h.time) << ", \"self\": " << h.self << "}";
    first = false;
  }
  out << (first ? "]\n}\n" : "\n  ]\n}\n");
}

void printText(std::ostream& out, const Project& p) {
  for (const Field& f : fieldsOf(p.settings)) {
    std::string line = std::string(f.name) + ":";
    line.resize(20, ' ');
    out << line << valueText(f, false);
    if (!f.item.empty()) out << "  (" << trimSpaces(f.item) << ")";
    out << '\n';
  }
  out << "hot spots in use:   " << p.hotSpots.countInUse() << '\n';
  for (int slot = 1; slot <= HotSpotList::kSlots; ++slot) {
    const HotSpot& h = p.hotSpots.at(slot);
    if (!h.inUse()) continue;
    out << "  " << slot << ": at " << jsonNumber(h.pos) << " s for " << jsonNumber(h.time)
        << " s, yaw " << h.yaw << ", self " << h.self << ", title \"" << h.title << "\", link \""
        << h.link << "\"\n";
  }
}

}  // namespace

int runShow(std::span<const std::string_view> args, Streams io) {
  static constexpr std::pair<std::string_view, int> kOptions[] = {{"--json", 0}};
  const Arguments a(args, kOptions);
  a.expectPositionals(1);
  const auto project = loadProjectForCli(a.positional(0), io);
  if (!project) return kFailed;
  if (a.option("--json"))
    printJson(io.out, *project);
  else
    printText(io.out, *project);
  return kSuccess;
}

}  // namespace qx::cli
