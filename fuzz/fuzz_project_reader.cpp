// Any bytes must read as a project, and write back, without a crash or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "project/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const qx::Project p = qx::readProjectFile(bytes, {}, 10, "/proj");
  (void)qx::readProjectFile(qx::writeProjectFile(p.settings, p.hotSpots), {}, 10, "/proj");
  return 0;
}
