#pragma once
// What the FFmpeg programs' main functions share: the arguments as UTF-8, --help, --version, and
// a usage error printed with the usage.
#include <string_view>

#include "Command.h"

namespace qx::cli {

int companionMain(int argc, char** argv, std::string_view program, std::string_view version,
                  std::string_view usage, int (*run)(std::span<const std::string_view>, Streams));

}  // namespace qx::cli
