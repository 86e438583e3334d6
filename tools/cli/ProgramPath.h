#pragma once
// Where this program lies, and the programs installed beside it.
#include <filesystem>
#include <string_view>

namespace qx::cli {

// The running executable's own path; empty when the system does not say.
std::filesystem::path thisProgram();
// `name` (plus ".exe" on Windows) in this program's folder when it is there, else empty.
std::filesystem::path companionProgram(std::string_view name);

}  // namespace qx::cli
