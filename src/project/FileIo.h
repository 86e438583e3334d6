#pragma once
// Whole-file reading and the safe replacement of a file: the new content is written beside the
// old file and renamed over it, so a failed save leaves the old file whole.
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

Expected<std::string> readFileBytes(const std::filesystem::path& path);

// Replaces `path` with `bytes` only once they are completely written.
std::optional<FileError> writeFileReplacing(const std::filesystem::path& path,
                                            std::string_view bytes);

// The reason an operation on the file system failed, in words.
std::string reasonText(const std::error_code& ec);

}  // namespace qx
