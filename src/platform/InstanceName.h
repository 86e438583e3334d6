#pragma once
// Where the selector utility's single-instance socket lives for this user: the utility listens
// there, and the main program's menu item looks there before starting another copy.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace qx {

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

}  // namespace qx
