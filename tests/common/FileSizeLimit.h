#pragma once
// A full disk, simulated for this process: while a FileSizeLimit lives, a write that would make a
// file longer than the limit fails (EFBIG) instead of killing the process. Windows has no such
// limit; there active() is false and the caller leaves that case out.
#include <cstdint>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uintmax_t bytes) {
#ifndef _WIN32
    if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_;
    small.rlim_cur = static_cast<rlim_t>(bytes);
    active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
#else
    (void)bytes;
#endif
  }
  ~FileSizeLimit() {
#ifndef _WIN32
    if (active_) setrlimit(RLIMIT_FSIZE, &saved_);
    if (oldHandler_ != SIG_ERR) std::signal(SIGXFSZ, oldHandler_);
#endif
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const {
    return active_;
  }
#ifndef _WIN32
  static constexpr bool kSupported = true;
#else
  static constexpr bool kSupported = false;
#endif

 private:
  bool active_ = false;
#ifndef _WIN32
  rlimit saved_{};
  void (*oldHandler_)(int) = SIG_ERR;
#endif
};
