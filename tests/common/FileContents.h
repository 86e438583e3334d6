#pragma once
// Writing a test's input file and reading back what a run wrote, for the tests that look at
// files on disk.
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "project/FileIo.h"

namespace qx::test {

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file's bytes, or "<unreadable>" so that a comparison fails with a readable message.
inline std::string contents(const std::filesystem::path& path) {
  auto bytes = readFileBytes(path);
  return bytes ? bytes.value() : "<unreadable>";
}

}  // namespace qx::test
