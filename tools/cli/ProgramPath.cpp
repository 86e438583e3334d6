#include "ProgramPath.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>

#include <cstdint>
#endif

namespace qx::cli {

namespace fs = std::filesystem;

fs::path thisProgram() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return fs::path(buffer.substr(0, n));
    buffer.resize(buffer.size() * 2);
  }
#elif defined(__APPLE__)
  std::uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::string buffer(size, '\0');
  if (_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
  std::error_code ec;
  fs::path self = fs::canonical(buffer.c_str(), ec);
  return ec ? fs::path() : self;
#else
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self;
#endif
}

fs::path companionProgram(std::string_view name) {
  const fs::path self = thisProgram();
  if (self.empty()) return {};
  fs::path candidate = self.parent_path() / std::string(name);
#ifdef _WIN32
  candidate += ".exe";
#endif
  std::error_code ec;
  return fs::is_regular_file(candidate, ec) ? candidate : fs::path();
}

}  // namespace qx::cli
