#pragma once
// All options of one project. List fields are 1-based list numbers (0 = nothing selected), flags
// 0/1, colours 0x00BBGGRR as the colour dialog gives them, texts UTF-8. Field names follow the
// tags of the files (htmlBgColor for HTMLBGCOLOR).
#include <cstdint>
#include <string>

namespace qx {

struct ProjectSettings {
  int window = 4;
  int smooth = 0;
  int controls = 1;
  int zoom = 4;
  int yaw = 1;
  int pitch = 1;
  int tilt = 1;
  int audio = 6;
  std::uint32_t htmlBgColor = 0xFFFFFF;
  std::string htmlTitle;
  std::string startBufferingTime = "30";
  int border = 1;
  int viewMode = 0;  // 0 Classic, 1 Black Areas
  int hsIcon = 1;    // 1 "icon1" (blue), 2 "icon2" (red)
  int panningMode = 1;
  std::uint32_t blackAreaColor = 0x000000;
  int flashPlayer = 1;
  int tooltipHelp = 1;
  int balance = 1;
  int optimize = 1;
  int htmlQuality = 3;
  int zoomMax = 130;
  // Stored in the project file only.
  std::string videoPath;
  int iframe = 0;
  // Stored in neither file; read by publishing.
  int customSize = 0;
  std::string customWidth;
  std::string customHeight;
  std::string tiltManual;
  int hsSelfMode = 1;

  bool operator==(const ProjectSettings&) const = default;
};

// "Options by default": resets the options the command names and leaves optimize, htmlQuality,
// tooltipHelp, zoomMax, iframe and tiltManual alone.
void resetToDefaults(ProjectSettings& settings);

}  // namespace qx
