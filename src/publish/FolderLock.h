#pragma once
// One publish at a time into a folder: two runs writing the same files at once would each leave
// every file whole, yet mix two projects' files. A lock file in the folder says who writes.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>

#include "project/FileIo.h"

namespace qx {

inline constexpr std::string_view kFolderLockName = ".qx_flash_hs-publish.lock";

class FolderLock {
 public:
  // The folder's lock, waiting up to `patience` for another run to finish; after that the error
  // names the run that holds it (its process number and program).
  [[nodiscard]] static Expected<FolderLock> acquire(const std::filesystem::path& folder,
                                                    std::chrono::milliseconds patience);
  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&&) = delete;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();  // removes the lock file, then lets go of the lock

 private:
  FolderLock(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
  int fd_ = -1;
  std::filesystem::path path_;
};

}  // namespace qx
