#pragma once
// config.xml: the viewer's only source of the project's options and hot spots. The viewer
// reads it as it stands, so its bytes are fixed line by line.
#include <filesystem>
#include <optional>
#include <string>

#include "project/FileIo.h"
#include "project/HotSpot.h"
#include "project/ProjectSettings.h"
#include "publish/PublishValues.h"

namespace qx {

inline constexpr std::string_view kConfigXmlName = "config.xml";

// The file's bytes: the UTF-8 byte order mark, 19 lines of options, one line per hot spot in use
// (in slot order), then "</config>"; every line ended by CR LF.
std::string configXmlBytes(const ProjectSettings& settings, const HotSpotList& hotSpots,
                           const PublishValues& values);

// The "<hotspot .../>" line of one hot spot in `slot`.
std::string hotSpotLine(int slot, const HotSpot& spot, bool iframe);

// Writes values.folder/config.xml.
[[nodiscard]] std::optional<FileError> writeConfigXml(const ProjectSettings& settings,
                                                      const HotSpotList& hotSpots,
                                                      const PublishValues& values);

}  // namespace qx
