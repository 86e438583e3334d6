#pragma once
// The project file (.pp): the option block, the video, the IFRAME flag and all ten hot-spot
// slots, 90 tagged lines.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "project/FileIo.h"
#include "project/HotSpot.h"
#include "project/ProjectSettings.h"

namespace qx {

struct Project {
  ProjectSettings settings;
  HotSpotList hotSpots;
  bool operator==(const Project&) const = default;
};

// Bytes of the project file: 90 lines, each ended by CR LF.
std::string writeProjectFile(const ProjectSettings& settings, const HotSpotList& hotSpots);

// What a project file gives over the current `settings`: every field the file carries and every
// hot-spot slot are replaced; the others keep their values. `zoomItemCount` is the length of the
// window's zoom list, which a load does not rebuild. A relative VIDEO1 is taken relative to
// `projectFolder`.
Project readProjectFile(std::string_view bytes, ProjectSettings settings, int zoomItemCount,
                        const std::filesystem::path& projectFolder);

// The name a project is saved under: ".pp" appended unless it ends in .pp in any case.
std::filesystem::path projectSaveName(std::string_view chosen);

[[nodiscard]] std::optional<FileError> saveProjectFile(const std::filesystem::path& path,
                                                       const ProjectSettings& settings,
                                                       const HotSpotList& hotSpots);
Expected<Project> loadProjectFile(const std::filesystem::path& path, ProjectSettings settings,
                                  int zoomItemCount);

}  // namespace qx
