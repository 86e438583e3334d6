#pragma once
// Which of the 39 stored viewers a project publishes, and the size the page gives it.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "project/FileIo.h"
#include "project/ProjectSettings.h"

namespace qx {

inline constexpr std::string_view kViewerFileName = "qx_flash_hs.swf";

struct ViewerChoice {
  std::string resourceName;  // "viewer" + (100 x player type + size index), "viewer104"
  std::string widthText;     // "" when no size is selected and no custom size applies
  std::string heightText;
};

// playerType 1..3 (anything else counts as 1), sizeIndex 1..13 (0 = none). A custom size
// replaces the texts when both values are greater than 0; the viewer stays that of the index.
ViewerChoice selectViewer(int playerType, int sizeIndex, bool customSize,
                          std::string_view customWidth, std::string_view customHeight);
ViewerChoice selectViewer(const ProjectSettings& settings);

// The stored viewer's bytes, empty when there is none of that name (no size selected).
std::span<const std::byte> viewerBytes(std::string_view resourceName);

// Writes folder/qx_flash_hs.swf, replacing a file of that name whole.
[[nodiscard]] std::optional<FileError> writeViewerSwf(const std::filesystem::path& folder,
                                                      std::string_view resourceName);

}  // namespace qx
