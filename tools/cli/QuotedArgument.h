#pragma once
// Windows passes a program one command line, which the C runtime splits again: each argument is
// quoted so that the split gives it back unchanged (quotes, spaces and backslashes included).
#include <string>

namespace qx {

inline std::wstring quotedArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t slashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  return out + L'"';
}

}  // namespace qx
