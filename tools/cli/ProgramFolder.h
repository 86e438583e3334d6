#pragma once
#include <filesystem>

namespace qx::cli {

// The folder of the running executable, where its portable companions (Ruffle) are looked for.
std::filesystem::path programFolder();

}  // namespace qx::cli
