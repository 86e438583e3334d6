#include "app/OptionsLocation.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "project/OptionsFile.h"

namespace qx {

namespace fs = std::filesystem;

bool folderIsWritable(const fs::path& folder) {
  std::random_device random;
  const fs::path probe = folder / (".qx_flash_hs-write-test-" + std::to_string(random()));
  bool made = false;
  {
    std::ofstream out(probe, std::ios::binary);
    made = out.is_open();
  }
  std::error_code ec;
  if (made) fs::remove(probe, ec);
  return made;
}

OptionsLocation chooseOptionsLocation(const fs::path& executable,
                                      const fs::path& userConfigFolder) {
  const fs::path beside = optionsFilePath(executable);
  if (userConfigFolder.empty() || folderIsWritable(beside.parent_path())) return {beside, true};
  return {userConfigFolder / beside.filename(), false};
}

}  // namespace qx
