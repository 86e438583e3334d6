// qx_flash_hs-cli: publishing and project conversion without a display.
#include <array>
#include <exception>
#include <iostream>
#include <vector>

#include "Command.h"
#include "Utf8Arguments.h"

namespace qx::cli {
namespace {

constexpr std::array kCommands = {
    Command{"publish",
            "PROJECT.pp PAGE.html [--custom-size W H] [--tilt-manual DEG] [--with-ruffle]",
            "write the web page and every file it needs into the page's folder", runPublish},
    Command{"resave", "PROJECT.pp OUT.pp", "read a project and write it back as Save Project does",
            runResave},
    Command{"save-options", "PROJECT.pp OUT.ini",
            "write the options file that Save Options would write for the project", runSaveOptions},
    Command{"show", "PROJECT.pp [--json]", "print the settings and the hot spots in use", runShow},
    Command{"webgl", "[--no-renditions] PAGE.html",
            "write the HTML5/WebGL version of a published page and its selector page beside it",
            runWebglProgram},
    Command{"import",
            "IN OUT.flv [--projection auto|equirect|eac|dual-fisheye|gopro-360] [--fov DEG] "
            "[--width N]",
            "bring a camera's 360 video in as an FLV the page plays (equirectangular H.264, AAC)",
            runImportProgram},
};

void printUsage(std::ostream& out) {
  out << "Usage: qx_flash_hs-cli COMMAND ARGUMENTS\n"
         "       qx_flash_hs-cli --help | --version\n\nCommands:\n";
  for (const Command& c : kCommands)
    out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
  out << "\nExit status: 0 success, 1 a failed check or file, 2 wrong arguments.\n";
}

void printCommandUsage(std::ostream& out, const Command& c) {
  out << "Usage: qx_flash_hs-cli " << c.name << ' ' << c.usage << "\n  " << c.summary << '\n';
}

int dispatch(const std::vector<std::string_view>& args, Streams io) {
  if (args.empty()) {
    printUsage(io.err);
    return kUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printUsage(io.out);
    return kSuccess;
  }
  if (args[0] == "--version") {
    io.out << "qx_flash_hs-cli " << QX_VERSION << '\n';
    return kSuccess;
  }
  for (const Command& c : kCommands) {
    if (c.name != args[0]) continue;
    const std::span<const std::string_view> rest(args.begin() + 1, args.end());
    for (const auto arg : rest)
      if (arg == "--help" || arg == "-h") {
        printCommandUsage(io.out, c);
        return kSuccess;
      }
    try {
      return c.run(rest, io);
    } catch (const UsageError& e) {
      printError(io, e.message);
      printCommandUsage(io.err, c);
      return kUsage;
    }
  }
  printError(io, "unknown command " + std::string(args[0]));
  printUsage(io.err);
  return kUsage;
}

}  // namespace
}  // namespace qx::cli

int main(int argc, char** argv) {
  const std::vector<std::string> utf8 = qx::cli::utf8Arguments(argc, argv);
  const std::vector<std::string_view> args(utf8.begin(), utf8.end());
  const qx::cli::Streams io{std::cout, std::cerr};
  try {
    return qx::cli::dispatch(args, io);
  } catch (const std::exception& e) {
    qx::cli::printError(io, e.what());
    return qx::cli::kFailed;
  }
}
