#pragma once
// A stand-in for the import program: a shell script that answers --probe with the lines it is
// given, and imports by writing a part file beside the output with progress lines, renaming it
// at the end. On SIGTERM it removes the part file and notes that it was stopped.
#include <filesystem>
#include <string>

namespace qx::test {

struct FakeImport {
  std::string projection = "equirect";
  std::string stereo = "mono";
  std::string probeError;   // when set: --probe fails with this message
  std::string importError;  // when set: the import fails with this message
  int steps = 4;            // progress lines before the end
  double stepSeconds = 0.05;
  std::filesystem::path outputFrom;  // when set: the FLV written is a copy of this file
};

// Writes the script as `folder`/qx_flash_hs-import. It writes its arguments to
// `folder`/arguments and, when stopped, `folder`/terminated.
std::filesystem::path writeFakeImportProgram(const std::filesystem::path& folder,
                                             const FakeImport& fake);

}  // namespace qx::test
