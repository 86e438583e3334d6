#pragma once
// Paths kept as UTF-8 text. std::filesystem::path built from a narrow string takes the system's
// 8-bit code page on Windows; these go through char8_t so that any name survives on every system.
#include <filesystem>
#include <string>
#include <string_view>

namespace qx {

std::filesystem::path pathFromUtf8(std::string_view text);
std::string pathToUtf8(const std::filesystem::path& path);

// A project's VIDEO1 as a path: a relative one is taken from `projectFolder`, with "\" read as a
// folder separator on every system (projects travel between Windows and the rest). A Windows
// absolute path ("C:\...", "\\server\...") is kept as written, so that where it cannot exist
// the user sees the very path the project names.
// `text` fit to stand in a message: control characters (line breaks, escape sequences, C1
// controls) and the marks that reverse the direction of text are written as \n, \xNN or
// \uNNNN, so that a file's name or content can never forge a line of the message around it.
std::string shownText(std::string_view text);

std::string resolveVideoPath(std::string_view text, const std::filesystem::path& projectFolder);

}  // namespace qx
