#pragma once
// The command line as UTF-8, whatever the system: Windows hands `main` its arguments in the
// 8-bit code page, where a Cyrillic or Chinese folder name is lost; the wide command line keeps it.
#include <string>
#include <vector>

namespace qx::cli {

// The arguments after the program's name.
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace qx::cli
