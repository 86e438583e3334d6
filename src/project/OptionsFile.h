#pragma once
// The options file: the saved default options, 24 tagged lines beside the program. The project
// file repeats its option block (lines 3 to 24), so the block's writer and reader live here too.
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/FileIo.h"
#include "project/ProjectSettings.h"

namespace qx {

// The 22 option lines, without line ends, as the program's text (UTF-8).
std::vector<std::string> optionBlockLines(const ProjectSettings& settings);
// Names of the option tags ("WINDOW", ... "ZOOMMAX").
std::span<const std::string> optionTagNames();
// Applies the option block found in folded `text` (closing tags already folded) over `base`.
// `zoomItemCount` is the length of the zoom list the ZOOM number must fit; when absent the list
// is the one that the ZOOMMAX read here gives (as at start-up).
ProjectSettings applyOptionBlock(std::string_view text, ProjectSettings base,
                                 std::optional<int> zoomItemCount);

// Bytes of the options file for `settings`: 24 lines, each ended by CR LF.
std::string writeOptionsFile(const ProjectSettings& settings);
// The settings an options file gives, over `base` (the values in force before it is read).
ProjectSettings readOptionsFile(std::string_view bytes, ProjectSettings base);

// Program folder + program base name + ".ini".
std::filesystem::path optionsFilePath(const std::filesystem::path& executable);

[[nodiscard]] std::optional<FileError> saveOptionsFile(const std::filesystem::path& path,
                                                       const ProjectSettings& settings);
// A missing file gives `base` unchanged; an unreadable one an error.
Expected<ProjectSettings> loadOptionsFile(const std::filesystem::path& path, ProjectSettings base);

// Lines joined with CR LF after each, then encoded for the file.
std::string fileBytes(const std::vector<std::string>& lines);

}  // namespace qx
