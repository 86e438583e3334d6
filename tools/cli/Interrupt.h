#pragma once
// Ctrl+C (and a plain kill) stop a long conversion cleanly instead of killing it mid-write.
#include <atomic>

namespace qx::cli {

// Set by SIGINT or SIGTERM while a StopOnInterrupt lives; a signal handler can only reach a flag
// with static storage.
std::atomic<bool>& interruptFlag();

// Catches SIGINT and SIGTERM for its lifetime, then gives back the handlers that were there.
class StopOnInterrupt {
 public:
  StopOnInterrupt();
  ~StopOnInterrupt();
  StopOnInterrupt(const StopOnInterrupt&) = delete;
  StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

 private:
  void (*previousInt_)(int);
  void (*previousTerm_)(int);
};

}  // namespace qx::cli
