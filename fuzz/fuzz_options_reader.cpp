// Any bytes must read as an options file, and write back, without a crash or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "project/OptionsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)qx::readOptionsFile(qx::writeOptionsFile(qx::readOptionsFile(bytes, {})), {});
  return 0;
}
