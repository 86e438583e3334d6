#include "publish/ConfigXml.h"

#include <vector>

#include "project/ChoiceLists.h"
#include "project/NumberText.h"
#include "project/TextCodec.h"
#include "publish/MarkupText.h"

namespace qx {
namespace {

const std::string kIndent(16, ' ');

std::string element(std::string_view name, const std::string& value) {
  return kIndent + "<" + std::string(name) + ">" + value + "</" + std::string(name) + ">";
}

std::string trueFalse(int flag) {
  return flag != 0 ? "true" : "false";
}

// The zoom item's text, 30 + 10 x n; no list is ever longer than fifteen items.
std::string fovText(int zoom) {
  return zoom >= 1 && zoom <= 15 ? integerText(30 + 10 * zoom) : "";
}

std::string volumeText(int audio) {
  std::string_view item = itemText(audioItems(), audio);
  if (!item.empty() && item.back() == '%') item.remove_suffix(1);
  return std::string(item);
}

// Buffering seconds as milliseconds; nothing below one millisecond, so the viewer always waits.
std::string bufferingText(const std::string& seconds) {
  const int ms = roundToInt(readNumber(seconds) * 1000);
  return ms < 1 ? "100" : integerText(ms);
}

std::string panningText(int panningMode) {
  return integerText(fitListNumber(panningMode, panningModeItems().size()) - 1);
}

// The viewer counts directions from the opposite side of the picture: turn half a turn.
int viewerYaw(int yaw) {
  return yaw < 0 ? yaw + 180 : yaw - 180;
}

}  // namespace

std::string hotSpotLine(int slot, const HotSpot& spot, bool iframe) {
  const std::string link(trimSpacesAndNuls(spot.link));
  std::string title(trimSpacesAndNuls(spot.title));
  if (title.empty()) title = link;
  return "        <hotspot id=\"hotspot" + integerText(slot) + "\" yaw=\"" +
         maskText(viewerYaw(spot.yaw), 0) + "\" pos=\"" + maskText(spot.pos, 1) + "\" time=\"" +
         maskText(spot.time, 1) + "\" self=\"" + integerText(iframe ? 0 : spot.self) +
         "\" title=\"" + escapeMarkup(title) + "\" link=\"" + escapeMarkup(link) + "\"> </hotspot>";
}

std::string configXmlBytes(const ProjectSettings& s, const HotSpotList& hotSpots,
                           const PublishValues& values) {
  const std::string buffering = bufferingText(s.startBufferingTime);
  std::vector<std::string> lines = {
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
      " <config>",
      "        <main>",
      element("quality", trueFalse(s.smooth)),
      element("movie", escapeMarkup(values.videoName)),
      element("fov", fovText(s.zoom)),
      element("yaw", integerText(leadingNumber(itemText(yawItems(), s.yaw)))),
      element("pitch", integerText(values.pitchValue)),
      element("tilt", integerText(values.tiltValue)),
      element("controls", trueFalse(s.controls)),
      element("volume", volumeText(s.audio)),
      element("StageColor", "0x" + rgbText(s.blackAreaColor)),
      element("bufferingTime", buffering),
      element("bufferingTimeL", buffering),
      element("ViewMode", s.viewMode == 1 ? "1" : "0"),
      element("PanningMode", panningText(s.panningMode)),
      element("balance", integerText(leadingNumber(itemText(balanceItems(), s.balance)))),
      element("zoommax", integerText(s.zoomMax)),
      "        </main>",
  };
  for (int slot = 1; slot <= HotSpotList::kSlots; ++slot)
    if (hotSpots.at(slot).inUse())
      lines.push_back(hotSpotLine(slot, hotSpots.at(slot), s.iframe != 0));
  lines.push_back("</config>");
  return "\xEF\xBB\xBF" + crlfLines(lines);
}

std::optional<FileError> writeConfigXml(const ProjectSettings& settings,
                                        const HotSpotList& hotSpots, const PublishValues& values) {
  return writeFileReplacing(values.folder / kConfigXmlName,
                            configXmlBytes(settings, hotSpots, values), LinkPolicy::replaceLink);
}

}  // namespace qx
