#pragma once
// The application descriptor the AIR packaging tools need beside the viewer, written for the
// AIR player type only. Its content never varies.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "project/FileIo.h"

namespace qx {

inline constexpr std::string_view kAirDescriptorName = "qx_flash_hs-app.xml";

// The descriptor's bytes: 36 fixed lines, each ended by CR LF.
std::string airDescriptorBytes();

// Writes folder/qx_flash_hs-app.xml.
[[nodiscard]] std::optional<FileError> writeAirDescriptor(const std::filesystem::path& folder);

}  // namespace qx
