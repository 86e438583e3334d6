#pragma once
// Runs a program with arguments and collects its exit status and both output streams. Arguments
// are UTF-8 on every system.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "QuotedArgument.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "common/TempFolder.h"

struct RunResult {
  int exitCode = -1;  // -1 when the program did not exit normally (a crash)
  int signal = 0;
  std::string out;
  std::string err;
};

namespace runprogram_detail {

inline std::filesystem::path fromUtf8(const std::string& text) {
#ifdef _WIN32
  // Bytes that are not UTF-8 (a test's odd argument) become U+FFFD rather than an exception.
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
#endif
}

inline std::string slurp(const std::filesystem::path& p) {
  std::ostringstream s;
  s << std::ifstream(p, std::ios::binary).rdbuf();
  return s.str();
}

#ifdef _WIN32
inline HANDLE inheritableFile(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

}  // namespace runprogram_detail

inline RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::filesystem::path& workingFolder = {}) {
  using namespace runprogram_detail;
  TempFolder streams;
  const auto outPath = streams.path() / "out", errPath = streams.path() / "err";
  RunResult result;
#ifdef _WIN32
  std::wstring commandLine = qx::quotedArgument(fromUtf8(program).wstring());
  for (const auto& a : args) commandLine += L" " + qx::quotedArgument(fromUtf8(a).wstring());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritableFile(outPath);
  startup.hStdError = inheritableFile(errPath);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(fromUtf8(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                     nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                     &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    // Exit codes from 0xC0000000 up are exceptions (access violation, abort), not exits.
    if (code < 0xC0000000u)
      result.exitCode = static_cast<int>(code);
    else
      result.signal = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(startup.hStdOutput);
  CloseHandle(startup.hStdError);
#else
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
#endif
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}
