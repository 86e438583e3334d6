#pragma once
// The texts and numbers one publish run derives once from the settings and hands to the
// writers of the page, config.xml and the viewer.
#include <filesystem>
#include <string>
#include <string_view>

#include "project/ProjectSettings.h"

namespace qx {

struct PublishValues {
  std::filesystem::path htmlPath;  // the page, as chosen (after the ".html" rule)
  std::filesystem::path folder;    // the page's folder; every other file goes here
  std::string videoName;           // file name of the video copy, with extension
  std::string widthText;           // viewer size as pasted into the page
  std::string heightText;
  std::string wmodeText;    // "none", "direct", "gpu"
  std::string qualityText;  // "low", "medium", "high", "best"
  int tiltValue = 90;       // vertical angle limit in degrees
  int pitchValue = 0;       // vertical viewing position in degrees
  std::string viewerName;   // stored viewer, "viewer104"
};

PublishValues derivePublishValues(const ProjectSettings& settings,
                                  const std::filesystem::path& htmlPath);

// The pieces of the derivation, each from its list number (0 = nothing selected).
std::string wmodeFor(int optimize);
std::string qualityFor(int htmlQuality);
// The number of the tilt item; for " auto", " manual" or no selection the manual text when it
// lies in 30..90 (rounded, halves to even), otherwise 90.
int tiltValueFor(int tilt, std::string_view tiltManual);
int pitchValueFor(int pitch);
// The icon resource (type RCDATA) for the hot-spot icon choice: "152" blue for "icon1", "151" red
// otherwise.
std::string_view hotSpotIconName(int hsIcon);

}  // namespace qx
