#pragma once
// Whole-file reading and the safe replacement of a file: the new content is written beside the
// old file and renamed over it, so a failed save leaves the old file whole.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace qx {

struct FileError {
  std::filesystem::path path;
  std::string reason;
  // "PATH: reason", for messages to the user.
  std::string message() const;
};

// A value or the file error that prevented it.
template <class T>
class Expected {
 public:
  Expected(T value) : v_(std::move(value)) {}
  Expected(FileError error) : v_(std::move(error)) {}
  bool hasValue() const { return v_.index() == 0; }
  explicit operator bool() const { return hasValue(); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  const FileError& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, FileError> v_;
};

// Every file read whole is a text file of a project or a published page; none written by this
// program comes near this size, so a larger one is refused rather than read.
inline constexpr std::size_t kMaxReadSize = 8 * 1024 * 1024;

// Regular files only: a pipe, a device or a folder is refused without waiting on it.
Expected<std::string> readFileBytes(const std::filesystem::path& path,
                                    std::size_t maxSize = kMaxReadSize);

// What a replacing write does with a symbolic link at its path. The author's own files (the
// project, the options) follow it to the file it names; published files replace the link with
// a file of their own, so that nothing is ever written through a link in the output folder.
enum class LinkPolicy { followLink, replaceLink };

// Replaces `path` with `bytes` only once they are completely written and flushed to disk. The
// new file keeps the old one's permissions and, where allowed, its owner; when `path` is a
// symbolic link, the file it points to is replaced and the link kept (unless `links` says
// replaceLink).
std::optional<FileError> writeFileReplacing(const std::filesystem::path& path,
                                            std::string_view bytes,
                                            LinkPolicy links = LinkPolicy::followLink);

// Copies `source` over `path` the same way: a failed copy leaves `path` as it was. Only a
// regular file is copied, up to the size it had when the copy started, after checking that the
// disk has room for it; the kernel copies it where it can (a reflink, copy_file_range). A
// SIGINT or SIGTERM during the copy removes the part file before the program ends.
std::optional<FileError> copyFileReplacing(const std::filesystem::path& source,
                                           const std::filesystem::path& path,
                                           LinkPolicy links = LinkPolicy::followLink);

// `folder` exists as a folder of its own afterwards, or the reason it does not: a symbolic link
// there is replaced by a new, empty folder, so that what is written into it stays inside.
std::optional<FileError> ensureFolderOfItsOwn(const std::filesystem::path& folder);

// The file a write to `path` lands in: `path` itself, or the end of its chain of links.
std::filesystem::path writeTarget(const std::filesystem::path& path);

// A fresh temporary name beside `target` (hidden, carrying the process number), after removing
// the ones earlier runs that no longer live left for the same target.
std::filesystem::path temporaryBeside(const std::filesystem::path& target);

// Renames a complete temporary file over `target` and makes the rename durable; on failure the
// temporary file is removed and the error names `shownAs`.
std::optional<FileError> renameIntoPlace(const std::filesystem::path& temp,
                                         const std::filesystem::path& target,
                                         const std::filesystem::path& shownAs);

// The reason an operation on the file system failed, in words.
std::string reasonText(const std::error_code& ec);

}  // namespace qx
