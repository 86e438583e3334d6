#pragma once
// One copy of the utility at a time. The running copy listens on the local socket
// "velmora_redirect"; a second start (and the main program's menu item) connects and writes
// "raise\n", and the running copy brings its window forward.
#include <QLocalServer>
#include <QObject>
#include <functional>

namespace qx::redirect {

inline constexpr char kInstanceName[] = "velmora_redirect";

// True when a running copy was found and asked to come forward: the caller then exits.
bool askRunningCopyToRaise(int timeoutMs = 1000);

class InstanceListener : public QObject {
 public:
  // Calls `raise` each time another start asks for it.
  InstanceListener(std::function<void()> raise, QObject* parent = nullptr);
  // False when the name cannot be taken (another copy got there first).
  bool listen();

 private:
  QLocalServer server_;
  std::function<void()> raise_;
};

}  // namespace qx::redirect
