#include "app/InstallLayout.h"

#include <string>
#include <system_error>

// Paths from the program's folder (bin/) to the install folders, given by the build.
#ifndef QX_BIN_TO_LIBEXEC
#define QX_BIN_TO_LIBEXEC "../libexec/qx_flash_hs"
#endif
#ifndef QX_BIN_TO_DOC
#define QX_BIN_TO_DOC "../share/doc/qx_flash_hs"
#endif
// The media module's file name, as the build makes it.
#ifndef QX_MEDIA_MODULE
#ifdef _WIN32
#define QX_MEDIA_MODULE "qx_flash_hs-media.dll"
#else
#define QX_MEDIA_MODULE "qx_flash_hs-media.so"
#endif
#endif

namespace qx {

namespace fs = std::filesystem;

fs::path programFile(const fs::path& programFolder, std::string_view besideName,
                     std::string_view installedRelative) {
  fs::path beside = programFolder / std::string(besideName);
  std::error_code ec;
  if (fs::exists(beside, ec)) return beside;
  const fs::path installed = (programFolder / std::string(installedRelative)).lexically_normal();
  return fs::exists(installed, ec) ? installed : beside;
}

fs::path redirectUtilityFile(const fs::path& programFolder, std::string_view executableName) {
  return programFile(programFolder, executableName,
                     std::string(QX_BIN_TO_LIBEXEC) + "/" + std::string(executableName));
}

fs::path ffmpegProgramFile(const fs::path& programFolder, std::string_view executableName) {
  return programFile(programFolder, executableName, "../tools/cli/" + std::string(executableName));
}

fs::path mediaModuleFile(const fs::path& programFolder) {
  return programFile(programFolder, QX_MEDIA_MODULE, QX_BIN_TO_LIBEXEC "/" QX_MEDIA_MODULE);
}

fs::path usersGuideFile(const fs::path& programFolder) {
  return programFile(programFolder, "qx_flash_hs.pdf", QX_BIN_TO_DOC "/qx_flash_hs.pdf");
}

}  // namespace qx
