#pragma once
// Ruffle, the open Flash runtime in WebAssembly, plays the published viewer in today's browsers,
// where no Flash plug-in is left. It is not carried inside the programs (about 30 MB): it is
// found on disk, beside the program or in its installed data folder, and added to a page in one
// of two ways: served with the page by the local folder server (the page on disk unchanged), or
// copied beside the page with its script line for hosting on the web.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "publish/PublishOutputSet.h"

namespace qx {

inline constexpr std::string_view kRuffleFolderName = "ruffle";
inline constexpr std::string_view kRuffleScript = "ruffle.js";
inline constexpr std::string_view kRuffleNotFoundMessage =
    "Ruffle not found (looked for ruffle/ruffle.js beside the program and in share/qx_flash_hs; "
    "QX_RUFFLE_DIR names another folder)";

// The first of these folders that holds ruffle.js: $QX_RUFFLE_DIR, programFolder/ruffle (a
// portable copy, or the build tree), programFolder/../share/qx_flash_hs/ruffle (installed).
std::optional<std::filesystem::path> findRuffleFolder(const std::filesystem::path& programFolder);

// True for a page that embeds a Flash movie and does not load Ruffle yet.
bool needsRuffle(std::string_view page);

// Ruffle's settings for the published viewer, set before Ruffle loads: full screen allowed (the
// page's own <object> says nothing of it, and its bytes are fixed). Settings a page made itself
// win.
inline constexpr std::string_view kRuffleConfigScript =
    "window.RufflePlayer = window.RufflePlayer || {}; "
    "RufflePlayer.config = {allowFullscreen: true, ...RufflePlayer.config};";

// `page` with one line that sets Ruffle's settings and loads Ruffle from `scriptUrl`, placed
// before </head> (first in the page when it has no head), ended like the page's own lines.
std::string withRuffleScript(std::string_view page, std::string_view scriptUrl);

// For hosting on today's web: copies Ruffle's files from `ruffle` into the page's folder
// (folder/ruffle, older copies replaced) and adds the script line "ruffle/ruffle.js" to the page,
// which is rewritten safely. A page that loads Ruffle already keeps its one line. Every file
// written and every failure goes into `report`.
void addRuffleToPage(const std::filesystem::path& page, const std::filesystem::path& ruffle,
                     PublishReport& report);

}  // namespace qx
