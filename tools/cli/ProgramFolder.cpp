#include "ProgramFolder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qx::cli {

std::filesystem::path programFolder() {
#ifdef _WIN32
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return std::filesystem::path(path).parent_path();
#else
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
#endif
}

}  // namespace qx::cli
