#pragma once
// Paths kept as UTF-8 text. std::filesystem::path built from a narrow string takes the system's
// 8-bit code page on Windows; these go through char8_t so that any name survives on every system.
#include <filesystem>
#include <string>
#include <string_view>

namespace qx {

std::filesystem::path pathFromUtf8(std::string_view text);
std::string pathToUtf8(const std::filesystem::path& path);

}  // namespace qx
