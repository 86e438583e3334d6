#include "publish/PublishValues.h"

#include "project/ChoiceLists.h"
#include "project/NumberText.h"
#include "project/PathText.h"
#include "project/TextCodec.h"
#include "publish/ViewerSelection.h"

namespace qx {

namespace {

// The selected item's text in lower case without its leading space (" GPU" -> "gpu").
std::string lowerItem(ItemList items, int number, std::string_view none) {
  const std::string_view item = trimSpaces(itemText(items, number));
  if (item.empty()) return std::string(none);
  return asciiLower(item);
}

}  // namespace

std::string wmodeFor(int optimize) {
  return lowerItem(optimizeItems(), optimize, "none");
}

std::string qualityFor(int htmlQuality) {
  return lowerItem(qualityItems(), htmlQuality, "high");
}

int tiltValueFor(int tilt, std::string_view tiltManual) {
  if (const int fromList = leadingNumber(itemText(tiltItems(), tilt)); fromList != 0)
    return fromList;
  // The range is checked before rounding: 29.9 is outside and gives 90, 90.5 too.
  const double manual = readNumber(tiltManual);
  return manual >= 30 && manual <= 90 ? roundToInt(manual) : 90;
}

int pitchValueFor(int pitch) {
  return leadingNumber(itemText(pitchItems(), pitch));
}

std::string_view hotSpotIconName(int hsIcon) {
  return hsIcon == 1 ? "152" : "151";
}

PublishValues derivePublishValues(const ProjectSettings& settings,
                                  const std::filesystem::path& htmlPath) {
  PublishValues v;
  v.htmlPath = htmlPath;
  v.folder = htmlPath.parent_path();
  v.videoName = pathToUtf8(pathFromUtf8(trimSpaces(settings.videoPath)).filename());
  const ViewerChoice viewer = selectViewer(settings);
  v.viewerName = viewer.resourceName;
  v.widthText = viewer.widthText;
  v.heightText = viewer.heightText;
  v.wmodeText = wmodeFor(settings.optimize);
  v.qualityText = qualityFor(settings.htmlQuality);
  v.tiltValue = tiltValueFor(settings.tilt, settings.tiltManual);
  v.pitchValue = pitchValueFor(settings.pitch);
  return v;
}

}  // namespace qx
