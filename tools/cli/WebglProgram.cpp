// qx_flash_hs-cli webgl and import: run qx_flash_hs-webgl and qx_flash_hs-import, so that
// publishing never loads FFmpeg.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "Command.h"
#include "ProgramPath.h"
#include "QuotedArgument.h"
#include "project/PathText.h"

namespace qx::cli {

namespace fs = std::filesystem;

namespace {

// Runs `name` from this program's folder with `args`; its exit status is ours.
int runCompanion(std::string_view name, std::string_view what,
                 std::span<const std::string_view> args, Streams io) {
  const fs::path converter = companionProgram(name);
  if (converter.empty()) {
    printError(io, std::string(name) + " was not found beside this program; " + std::string(what) +
                       " comes with the desktop program's package");
    return kFailed;
  }
  io.out.flush();
  io.err.flush();
#ifdef _WIN32
  std::vector<std::wstring> quotedArgs{quotedArgument(converter.wstring())};
  for (const auto a : args) quotedArgs.push_back(quotedArgument(pathFromUtf8(a).wstring()));
  std::vector<const wchar_t*> argv;
  for (const auto& a : quotedArgs) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  const intptr_t status = _wspawnv(_P_WAIT, converter.c_str(), argv.data());
  if (status >= 0) return static_cast<int>(status);
#else
  std::vector<std::string> owned{converter.string()};
  owned.reserve(args.size() + 1);
  for (const auto a : args) owned.emplace_back(a);
  std::vector<char*> argv;
  argv.reserve(owned.size() + 1);
  for (auto& a : owned) argv.push_back(a.data());
  argv.push_back(nullptr);
  execv(converter.c_str(), argv.data());  // returns only when it failed
#endif
  printError(io, "cannot run " + converter.string() + ": " + std::strerror(errno));
  return kFailed;
}

}  // namespace

int runWebglProgram(std::span<const std::string_view> args, Streams io) {
  return runCompanion("qx_flash_hs-webgl", "the HTML5 conversion", args, io);
}

int runImportProgram(std::span<const std::string_view> args, Streams io) {
  return runCompanion("qx_flash_hs-import", "the import of camera videos", args, io);
}

}  // namespace qx::cli
