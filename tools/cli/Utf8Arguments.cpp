#include "Utf8Arguments.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <filesystem>
#endif

namespace qx::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) {
    const std::u8string text = std::filesystem::path(wide[i]).u8string();
    args.emplace_back(text.begin(), text.end());
  }
  LocalFree(wide);
  // Text printed to a console then shows as written; pipes and files get the bytes unchanged,
  // with "\n" line ends as on every other system (scripts compare them).
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return args;
#else
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
#endif
}

}  // namespace qx::cli
