#include "publish/FolderLock.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

#include "project/PathText.h"
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qx {
namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

std::string programName() {
#ifdef __GLIBC__
  return program_invocation_short_name;
#else
  return "unknown program";
#endif
}

// Who holds the lock, as the holder wrote it: "process 1234, qx_flash_hs-cli".
std::string holderText(int fd) {
  char text[256] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  std::string holder(text, n > 0 ? static_cast<std::size_t>(n) : 0);
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0')) holder.pop_back();
  if (holder.empty()) return "another run";
  return shownText(holder);
}

}  // namespace

Expected<FolderLock> FolderLock::acquire(const fs::path& folder,
                                         std::chrono::milliseconds patience) {
  const fs::path path = folder / kFolderLockName;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (true) {
    // O_NOFOLLOW: a link planted under the lock's name is not followed (nor written through).
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
      return FileError{path, "cannot be made (" + std::string(std::strerror(errno)) + ")"};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before us may have removed the file after we opened it: lock the one there.
      struct stat held {
      }, named{};
      if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
          held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
        const std::string holder =
            "process " + std::to_string(::getpid()) + ", " + programName() + "\n";
        if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, holder.data(), holder.size(), 0) < 0) {
          // The lock holds without its note; the waiter then says "another run".
        }
        return FolderLock(fd, path);
      }
      ::close(fd);
      continue;
    }
    if (errno != EWOULDBLOCK) {
      const int error = errno;
      ::close(fd);
      return FileError{path, "cannot be locked (" + std::string(std::strerror(error)) + ")"};
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      const std::string holder = holderText(fd);
      ::close(fd);
      return FileError{folder, "another publish into this folder is running (" + holder +
                                   "); try again when it has finished"};
    }
    ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

FolderLock::~FolderLock() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
}
#else
Expected<FolderLock> FolderLock::acquire(const fs::path& folder, std::chrono::milliseconds) {
  return FolderLock(-1, folder / kFolderLockName);
}
FolderLock::~FolderLock() = default;
#endif

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

}  // namespace qx
