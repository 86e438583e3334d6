#pragma once
// Where the selector utility's single-instance socket lives for this user: the utility listens
// there, and the main program's menu item looks there before starting another copy. On Windows
// the name is a named pipe's, made per user from the user's security identifier; elsewhere a
// local socket in a folder only this user may write.
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

#ifdef _WIN32
#include <windows.h>
// windows.h first: sddl.h needs its types.
#include <sddl.h>

#include <memory>
#include <vector>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qx {

#ifdef _WIN32

namespace instance_detail {

// "S-1-5-21-...": this process's user, unique on the machine (user names can be reused), or
// empty when Windows does not say.
inline QString userSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const std::unique_ptr<void, decltype(&CloseHandle)> tokenOwner(token, &CloseHandle);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::vector<unsigned char> buffer(size);
  if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid, &text))
    return {};
  const QString sid = QString::fromWCharArray(text);
  LocalFree(text);
  return sid;
}

}  // namespace instance_detail

// A pipe name without a folder: Qt's local socket makes it \\.\pipe\NAME, and the utility's
// server allows only this user (QLocalServer::UserAccessOption).
inline QString redirectInstanceName() {
  const QString sid = instance_detail::userSid();
  if (!sid.isEmpty()) return QStringLiteral("velmora_redirect-") + sid;
  return QStringLiteral("velmora_redirect-") + qEnvironmentVariable("USERNAME");
}

// Pipe names have no file to check: the pipe's own access list keeps other users out.
inline bool socketAbsentOrOurs(const QString&) {
  return true;
}

#else

inline QString redirectInstanceName() {
  // Qt hands out the runtime folder only when it belongs to this user with mode 0700.
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty()) return runtime + QStringLiteral("/velmora_redirect");
  return QDir::tempPath() + QStringLiteral("/velmora_redirect-%1").arg(geteuid());
}

// False when a file at the socket path `name` is anything but this user's socket: what another
// user put there is never spoken to. Names without a folder are Qt's own and not checked.
inline bool socketAbsentOrOurs(const QString& name) {
  if (!name.contains(u'/')) return true;
  struct stat st {};
  if (lstat(QFile::encodeName(name).constData(), &st) != 0) return true;
  return S_ISSOCK(st.st_mode) && st.st_uid == geteuid();
}

#endif

}  // namespace qx
