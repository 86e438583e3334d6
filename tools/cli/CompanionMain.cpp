#include "CompanionMain.h"

#include <exception>
#include <iostream>
#include <vector>

#include "Utf8Arguments.h"

namespace qx::cli {

int companionMain(int argc, char** argv, std::string_view program, std::string_view version,
                  std::string_view usage, int (*run)(std::span<const std::string_view>, Streams)) {
  const std::vector<std::string> utf8 = utf8Arguments(argc, argv);
  const std::vector<std::string_view> args(utf8.begin(), utf8.end());
  const Streams io{std::cout, std::cerr, program};
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    io.out << usage;
    return kSuccess;
  }
  if (args.size() == 1 && args[0] == "--version") {
    io.out << program << ' ' << version << '\n';
    return kSuccess;
  }
  try {
    return run(args, io);
  } catch (const UsageError& e) {
    printError(io, e.message);
    io.err << usage;
    return kUsage;
  } catch (const std::exception& e) {
    printError(io, e.what());
    return kFailed;
  }
}

}  // namespace qx::cli
