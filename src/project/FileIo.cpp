#include "project/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#include "project/PathText.h"
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#endif
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPartMark = ".qxpart-";

std::string errnoText(int code) {
  return std::strerror(code);
}

#ifndef _WIN32
// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // The error of closing, which is where some file systems report a failed write.
  int close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// 0 or the errno of the first failed write.
int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// A part file being written, removed when SIGINT or SIGTERM ends the program first. A signal
// handler may only use lock-free atomics and async-signal-safe calls (unlink, sigaction,
// raise), so the one part file it knows of lives in this fixed slot, the only mutable state
// outside AppState: a writer claims it for the part file's life. A second writer at the same
// moment (another thread) goes unguarded; its part file is swept by the next run, as a dead
// process's are.
struct PartFileSlot {
  std::atomic<bool> claimed{false};
  std::atomic<bool> armed{false};
  char path[PATH_MAX]{};
  struct sigaction previous[2]{};
};
constinit PartFileSlot partFileSlot{};
constexpr int kGuardedSignals[2] = {SIGINT, SIGTERM};

extern "C" void removePartFileAndEnd(int signal) {
  if (partFileSlot.armed.load()) ::unlink(partFileSlot.path);
  // The program's own disposition decides what happens next (by default, it ends).
  ::sigaction(signal, &partFileSlot.previous[signal == SIGINT ? 0 : 1], nullptr);
  ::raise(signal);
}

class PartFileGuard {
 public:
  explicit PartFileGuard(const fs::path& part) {
    const std::string& text = part.native();
    bool expected = false;
    if (text.size() >= sizeof partFileSlot.path ||
        !partFileSlot.claimed.compare_exchange_strong(expected, true))
      return;
    owned_ = true;
    std::memcpy(partFileSlot.path, text.c_str(), text.size() + 1);
    struct sigaction action {};
    action.sa_handler = removePartFileAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : kGuardedSignals) sigaddset(&action.sa_mask, signal);
    for (int i = 0; i < 2; ++i) {
      ::sigaction(kGuardedSignals[i], nullptr, &partFileSlot.previous[i]);
      // A signal the program ignores stays ignored: it does not end the program.
      installed_[i] = partFileSlot.previous[i].sa_handler != SIG_IGN;
      if (installed_[i]) ::sigaction(kGuardedSignals[i], &action, nullptr);
    }
    partFileSlot.armed = true;
  }
  ~PartFileGuard() {
    if (!owned_) return;
    partFileSlot.armed = false;
    for (int i = 0; i < 2; ++i)
      if (installed_[i]) ::sigaction(kGuardedSignals[i], &partFileSlot.previous[i], nullptr);
    partFileSlot.claimed = false;
  }
  PartFileGuard(const PartFileGuard&) = delete;
  PartFileGuard& operator=(const PartFileGuard&) = delete;

 private:
  bool owned_ = false;
  bool installed_[2] = {false, false};
};

// Makes the rename that follows survive a power cut.
void syncFolder(const fs::path& folder) {
  Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// A regular file opened for reading, and its size then. Opened without waiting (a pipe with no
// writer would hold the open for ever), then refused unless it is a regular file: a device or a
// pipe has no end to read to.
struct OpenedFile {
  int fd = -1;
  std::uint64_t size = 0;
};
Expected<OpenedFile> openRegularFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return FileError{path, errnoText(errno)};
  struct stat st {};
  const bool statted = ::fstat(fd, &st) == 0;
  const int error = errno;
  if (statted && S_ISREG(st.st_mode)) return OpenedFile{fd, static_cast<std::uint64_t>(st.st_size)};
  ::close(fd);
  return FileError{path, statted ? "is not a regular file" : errnoText(error)};
}

std::string mebibytes(std::uint64_t bytes) {
  return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MiB";
}

// Copies the first `size` bytes of `in` to the empty file `out`, in the kernel where it can,
// as cp does: a reflink shares the blocks, copy_file_range copies them without a round trip
// through this process; a plain read/write loop where neither is offered. A failed write names
// its own cause ("No space left on device"). The error's path is `source` for a failed read.
std::optional<FileError> copyBytes(int in, int out, std::uint64_t size, const fs::path& source) {
#ifdef __linux__
  if (::ioctl(out, FICLONE, in) == 0) {
    // The clone took the file as it is now; what was added since the copy began is cut.
    struct stat now {};
    if (::fstat(out, &now) == 0 && static_cast<std::uint64_t>(now.st_size) > size &&
        ::ftruncate(out, static_cast<off_t>(size)) != 0)
      return FileError{{}, errnoText(errno)};
    return std::nullopt;
  }
#endif
  struct statvfs room {};
  if (::fstatvfs(out, &room) == 0) {
    const std::uint64_t free = std::uint64_t{room.f_bavail} * room.f_frsize;
    if (free < size)
      return FileError{{},
                       "not enough free space on the disk (" + mebibytes(size) + " needed, " +
                           mebibytes(free) + " free)"};
  }
  std::uint64_t done = 0;
#ifdef __linux__
  while (done < size) {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(size - done, 1 << 30));
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && done == 0 &&
        (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
      break;  // not offered between these two files: the loop below copies instead
    if (n < 0) return FileError{{}, errnoText(errno)};
    if (n == 0) return FileError{source, "became shorter while it was copied"};
    done += static_cast<std::uint64_t>(n);
  }
#endif
  std::string buffer(std::min<std::uint64_t>(size - done, 1 << 20), '\0');
  while (done < size) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(size - done, buffer.size()));
    const ssize_t n = ::read(in, buffer.data(), want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FileError{source, errnoText(errno)};
    if (n == 0) return FileError{source, "became shorter while it was copied"};
    if (const int error =
            writeAll(out, std::string_view(buffer.data(), static_cast<std::size_t>(n))))
      return FileError{{}, errnoText(error)};
    done += static_cast<std::uint64_t>(n);
  }
  return std::nullopt;
}
#endif

// A temporary file left by a process that no longer runs; ours (by process number) are not
// touched, as another thread may be writing it.
bool staleTemporary(const std::string& name, const std::string& prefix) {
  if (!name.starts_with(prefix)) return false;
  const std::string rest = name.substr(prefix.size());
  const std::size_t dash = rest.find('-');
  long pid = 0;
  try {
    pid = std::stol(rest.substr(0, dash));
  } catch (...) {
    return false;
  }
#ifndef _WIN32
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#else
  return false;
#endif
}

}  // namespace

std::string FileError::message() const {
  return shownText(pathToUtf8(path)) + ": " + shownText(reason);
}

std::string reasonText(const std::error_code& ec) {
  return ec.message();
}

Expected<std::string> readFileBytes(const fs::path& path, std::size_t maxSize) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return FileError{path, "is a folder, not a file"};
  const auto tooLarge = [&] {
    return FileError{path, "is larger than " + std::to_string(maxSize / (1024 * 1024)) +
                               " MiB, far more than any such file holds; it is not read"};
  };
#ifndef _WIN32
  const auto opened = openRegularFile(path);
  if (!opened) return opened.error();
  Descriptor fd(opened.value().fd);
  if (opened.value().size > maxSize) return tooLarge();
  std::string bytes(static_cast<std::size_t>(opened.value().size) + 1, '\0');
  std::size_t got = 0;
  while (true) {
    if (got == bytes.size()) {
      if (bytes.size() > maxSize) return tooLarge();
      bytes.resize(std::min(bytes.size() * 2, maxSize + 1));
    }
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FileError{path, "could not be read"};
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
#else
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileError{path, std::strerror(errno)};
  const auto size = fs::file_size(path, ec);
  if (!ec && size > maxSize) return tooLarge();
  // The size can change under us (or not be known, for a pipe): the read itself is bounded too.
  std::string bytes(ec ? 64 * 1024 : static_cast<std::size_t>(size) + 1, '\0');
  std::size_t got = 0;
  while (in) {
    if (got == bytes.size()) {
      if (bytes.size() > maxSize) return tooLarge();
      bytes.resize(std::min(bytes.size() * 2, maxSize + 1));
    }
    in.read(bytes.data() + got, static_cast<std::streamsize>(bytes.size() - got));
    got += static_cast<std::size_t>(in.gcount());
  }
  if (in.bad()) return FileError{path, "could not be read"};
#endif
  if (got > maxSize) return tooLarge();
  bytes.resize(got);
  return bytes;
}

std::optional<FileError> ensureFolderOfItsOwn(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_symlink(folder, ec) && !fs::remove(folder, ec))
    return FileError{folder, "is a link that cannot be replaced (" + reasonText(ec) + ")"};
  if (fs::is_directory(folder, ec)) return std::nullopt;
  if (fs::exists(folder, ec)) return FileError{folder, "is a file, not a folder"};
  fs::create_directories(folder, ec);
  if (ec) return FileError{folder, reasonText(ec)};
  return std::nullopt;
}

fs::path writeTarget(const fs::path& path) {
  fs::path target = path;
  std::error_code ec;
  // A chain of links is followed as open() would; a loop ends the walk where it stands.
  for (int hops = 0; hops < 40 && fs::is_symlink(target, ec); ++hops) {
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;
}

fs::path temporaryBeside(const fs::path& target) {
  const std::string prefix = "." + target.filename().string() + std::string(kPartMark);
  const fs::path folder = target.parent_path();
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
       !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    if (staleTemporary(it->path().filename().string(), prefix)) fs::remove(it->path(), ignored);
  }
#ifndef _WIN32
  const long pid = ::getpid();
#else
  const long pid = 0;
#endif
  return folder / (prefix + std::to_string(pid) + "-" + std::to_string(std::random_device{}()));
}

std::optional<FileError> writeFileReplacing(const fs::path& path, std::string_view bytes,
                                            LinkPolicy links) {
  std::error_code ec;
  const bool replaceLink = links == LinkPolicy::replaceLink && fs::is_symlink(path, ec);
  if (!replaceLink && fs::is_directory(path, ec)) return FileError{path, "is a folder, not a file"};
  // Saving onto a link replaces the file it points to and keeps the link, unless the link
  // itself is to be replaced.
  const fs::path target = replaceLink ? path : writeTarget(path);
  const fs::path temp = temporaryBeside(target);
  const auto failure = [&](std::string reason) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{path, std::move(reason)};
  };
#ifndef _WIN32
  // Guarded before it exists: a signal between the open and the guard would leave it.
  const PartFileGuard guard(temp);
  Descriptor out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (out.get() < 0) return FileError{path, errnoText(errno)};
  // The new file takes the old one's permissions and owner (the owner only where allowed); a
  // link being replaced has none of its own to give.
  struct stat old {};
  if (!replaceLink && ::stat(target.c_str(), &old) == 0) {
    ::fchmod(out.get(), old.st_mode & 07777);
    if (::fchown(out.get(), old.st_uid, old.st_gid) != 0) ::fchmod(out.get(), old.st_mode & 0777);
  }
  if (const int error = writeAll(out.get(), bytes)) return failure(errnoText(error));
  if (::fsync(out.get()) != 0) return failure(errnoText(errno));
  if (const int error = out.close()) return failure(errnoText(error));
#else
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return FileError{path, std::strerror(errno)};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return failure(errno ? errnoText(errno) : "could not be written");
  }
#endif
  return renameIntoPlace(temp, target, path);
}

std::optional<FileError> renameIntoPlace(const fs::path& temp, const fs::path& target,
                                         const fs::path& shownAs) {
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{shownAs, reasonText(ec)};
  }
#ifndef _WIN32
  syncFolder(target.parent_path());
#endif
  return std::nullopt;
}

std::optional<FileError> syncToDisk(const fs::path& file) {
#ifndef _WIN32
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0 || ::fsync(fd.get()) != 0) return FileError{file, errnoText(errno)};
#else
  (void)file;
#endif
  return std::nullopt;
}

std::optional<FileError> copyFileReplacing(const fs::path& source, const fs::path& path,
                                           LinkPolicy links) {
  std::error_code ec;
  const bool replaceLink = links == LinkPolicy::replaceLink && fs::is_symlink(path, ec);
  const fs::path target = replaceLink ? path : writeTarget(path);
#ifndef _WIN32
  const auto opened = openRegularFile(source);
  if (!opened) return opened.error();
  Descriptor in(opened.value().fd);
  // What the file holds now is what is copied, even if it grows while it is read.
  const std::uint64_t size = opened.value().size;

  const fs::path temp = temporaryBeside(target);
  // Guarded before it exists: a signal between the open and the guard would leave it.
  const PartFileGuard guard(temp);
  Descriptor out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (out.get() < 0) return FileError{path, errnoText(errno)};
  const auto failure = [&](const fs::path& which, std::string reason) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{which, std::move(reason)};
  };
  if (const auto error = copyBytes(in.get(), out.get(), size, source))
    return failure(error->path == source ? source : path, error->reason);
  if (::fsync(out.get()) != 0) return failure(path, errnoText(errno));
  if (const int error = out.close()) return failure(path, errnoText(error));
#else
  const fs::path temp = temporaryBeside(target);
  fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{path, reasonText(ec)};
  }
#endif
  return renameIntoPlace(temp, target, path);
}

}  // namespace qx
