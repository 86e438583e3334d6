#include "project/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#include "project/PathText.h"
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
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

// Makes the rename that follows survive a power cut.
void syncFolder(const fs::path& folder) {
  Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
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
  return pathToUtf8(path) + ": " + reason;
}

std::string reasonText(const std::error_code& ec) {
  return ec.message();
}

Expected<std::string> readFileBytes(const fs::path& path, std::size_t maxSize) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return FileError{path, "is a folder, not a file"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileError{path, std::strerror(errno)};
  const auto tooLarge = [&] {
    return FileError{path, "is larger than " + std::to_string(maxSize / (1024 * 1024)) +
                               " MiB, far more than any such file holds; it is not read"};
  };
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
  if (got > maxSize) return tooLarge();
  bytes.resize(got);
  return bytes;
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

std::optional<FileError> writeFileReplacing(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return FileError{path, "is a folder, not a file"};
  // Saving onto a link replaces the file it points to and keeps the link.
  const fs::path target = writeTarget(path);
  const fs::path temp = temporaryBeside(target);
  const auto failure = [&](std::string reason) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{path, std::move(reason)};
  };
#ifndef _WIN32
  Descriptor out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (out.get() < 0) return FileError{path, errnoText(errno)};
  // The new file takes the old one's permissions and owner (the owner only where allowed).
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
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

std::optional<FileError> copyFileReplacing(const fs::path& source, const fs::path& path) {
  const fs::path target = writeTarget(path);
  const fs::path temp = temporaryBeside(target);
#ifndef _WIN32
  const auto failure = [&](const fs::path& which, int error) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{which, errnoText(error)};
  };
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return FileError{source, errnoText(errno)};
  Descriptor out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (out.get() < 0) return FileError{path, errnoText(errno)};
  // A plain read/write loop: each failed write names its own cause ("No space left on device"),
  // which the library copy reports as a general input/output error.
  std::string buffer(256 * 1024, '\0');
  while (true) {
    const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failure(source, errno);
    if (n == 0) break;
    if (const int error = writeAll(out.get(), std::string_view(buffer.data(), n)))
      return failure(path, error);
  }
  if (::fsync(out.get()) != 0) return failure(path, errno);
  if (const int error = out.close()) return failure(path, error);
#else
  std::error_code ec;
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
