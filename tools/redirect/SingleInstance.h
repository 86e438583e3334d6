#pragma once
// One copy of the utility per user at a time. The running copy listens on a local socket in the
// user's own runtime folder (or, without one, on a name carrying the user's number); a second
// start (and the main program's menu item) connects and writes "raise\n", and the running copy
// brings its window forward. A socket at that name that another user holds is never trusted.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace qx::redirect {

// The full path of this user's instance socket.
QString instanceServerName();

enum class RunningCopy {
  None,      // nobody answers: this start is the first
  Raised,    // a copy of this user was found and asked to come forward
  Stranger,  // the name is held by something that is not this user's socket
};

RunningCopy askRunningCopyToRaise(int timeoutMs = 1000);

// Words for the user when the name is held by someone else.
QString strangerText();

class InstanceListener : public QObject {
 public:
  // Calls `raise` each time another start asks for it.
  InstanceListener(std::function<void()> raise, QObject* parent = nullptr);
  // False when the name cannot be taken (another copy got there first, or a stranger holds it).
  bool listen();

 private:
  QLocalServer server_;
  std::function<void()> raise_;
};

}  // namespace qx::redirect
