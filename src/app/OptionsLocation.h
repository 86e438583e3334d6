#pragma once
// Where the options file lives: beside the program when its folder can be written (a portable
// copy, or a build tree), otherwise in the user's own configuration folder, since an installed
// program's folder belongs to the system.
#include <filesystem>

namespace qx {

struct OptionsLocation {
  std::filesystem::path file;
  bool besideProgram = true;
};

// `executable` is the program's own path, `userConfigFolder` the user's folder for this program.
OptionsLocation chooseOptionsLocation(const std::filesystem::path& executable,
                                      const std::filesystem::path& userConfigFolder);

// Whether a file can be made in `folder` right now: tried for real, since permissions alone do
// not tell (read-only mounts, access lists, a folder of another user).
bool folderIsWritable(const std::filesystem::path& folder);

}  // namespace qx
