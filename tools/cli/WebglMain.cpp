// qx_flash_hs-webgl: the HTML5/WebGL version of a published page. A program of its own because
// it is the one that needs FFmpeg; qx_flash_hs-cli runs it for "webgl" and stays small.
#include <exception>
#include <iostream>
#include <vector>

#include "Command.h"
#include "Utf8Arguments.h"

int main(int argc, char** argv) {
  using namespace qx::cli;
  const std::vector<std::string> utf8 = utf8Arguments(argc, argv);
  const std::vector<std::string_view> args(utf8.begin(), utf8.end());
  const Streams io{std::cout, std::cerr, "qx_flash_hs-webgl"};
  constexpr std::string_view usage =
      "Usage: qx_flash_hs-webgl [--no-renditions] PAGE.html\n"
      "  write the HTML5/WebGL version of a published page and its selector page beside it;\n"
      "  a video wider than 1920 also gets a 1920-wide copy unless --no-renditions is given\n";
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    io.out << usage;
    return kSuccess;
  }
  if (args.size() == 1 && args[0] == "--version") {
    io.out << "qx_flash_hs-webgl " << QX_VERSION << '\n';
    return kSuccess;
  }
  try {
    return runWebgl(args, io);
  } catch (const UsageError& e) {
    printError(io, e.message);
    io.err << usage;
    return kUsage;
  } catch (const std::exception& e) {
    printError(io, e.what());
    return kFailed;
  }
}
