#pragma once
// Files the program uses at run time that are not inside it: the selector utility, the import
// program, the media module and the user's guide. A build tree or a portable copy has them beside
// the program; an installed copy has them where the install put them, found relative to the program
// so that any prefix works.
#include <filesystem>
#include <string_view>

namespace qx {

// `besideName` in `programFolder` when it is there; else `installedRelative` (a path relative to
// the program's folder, as the install lays it out) when that is there; else the first.
std::filesystem::path programFile(const std::filesystem::path& programFolder,
                                  std::string_view besideName, std::string_view installedRelative);

// The two files, as this build installs them.
std::filesystem::path redirectUtilityFile(const std::filesystem::path& programFolder,
                                          std::string_view executableName);
std::filesystem::path usersGuideFile(const std::filesystem::path& programFolder);
// The media module (platform/MediaModule.h): beside the program in a build tree, in the
// program's libexec folder once installed.
std::filesystem::path mediaModuleFile(const std::filesystem::path& programFolder);
// The programs that load FFmpeg (the HTML5 converter, the import): beside the program once
// installed, in tools/cli of a build tree.
std::filesystem::path ffmpegProgramFile(const std::filesystem::path& programFolder,
                                        std::string_view executableName);

}  // namespace qx
