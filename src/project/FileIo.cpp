#include "project/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#include "project/PathText.h"

namespace qx {

std::string FileError::message() const {
  return pathToUtf8(path) + ": " + reason;
}

std::string reasonText(const std::error_code& ec) {
  return ec.message();
}

Expected<std::string> readFileBytes(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return FileError{path, "is a folder, not a file"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileError{path, std::strerror(errno)};
  std::string bytes;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) bytes.reserve(static_cast<std::size_t>(size));
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return FileError{path, "could not be read"};
  return bytes;
}

std::optional<FileError> writeFileReplacing(const std::filesystem::path& path,
                                            std::string_view bytes) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::is_directory(path, ec)) return FileError{path, "is a folder, not a file"};
  std::random_device rd;
  fs::path temp = path;
  temp += ".tmp" + std::to_string(rd() % 1000000);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return FileError{path, std::strerror(errno)};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      const std::string reason = std::strerror(errno);
      fs::remove(temp, ec);
      return FileError{path, reason.empty() ? "could not be written" : reason};
    }
  }
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return FileError{path, reasonText(ec)};
  }
  return std::nullopt;
}

}  // namespace qx
