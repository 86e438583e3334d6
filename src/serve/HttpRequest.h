#pragma once
// The parts of HTTP the folder server needs, kept free of Qt so they are easy to test: the
// request head, the byte range a request asks for, and the file a request path names.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qx::serve {

// Requests whose head is longer than this are refused (431).
constexpr std::size_t kMaxHeadSize = 16 * 1024;

struct RequestHead {
  std::string method;                          // "GET"
  std::string target;                          // "/tour.html?x=1"
  std::string version;                         // "HTTP/1.1"
  std::map<std::string, std::string> headers;  // names in lower case, values trimmed
  std::optional<std::string> header(const std::string& lowerName) const;
  // HTTP/1.1 keeps the connection unless told to close; HTTP/1.0 closes unless told to keep it.
  bool keepAlive() const;
};

// The head (everything before the blank line, without it); nullopt when malformed.
std::optional<RequestHead> parseRequestHead(std::string_view head);

enum class RangeKind { Whole, Partial, Unsatisfiable };
struct RangeAnswer {
  RangeKind kind = RangeKind::Whole;
  std::uint64_t first = 0;  // for Partial: the first and last byte sent, inclusive
  std::uint64_t last = 0;
};

// How to answer a Range header for a file of `size` bytes. One range ("bytes=0-99", "bytes=100-",
// "bytes=-500") is answered; several ranges, other units and malformed headers are ignored (the
// whole file is sent), as HTTP allows.
RangeAnswer answerRange(const std::optional<std::string>& header, std::uint64_t size);

// The regular file inside `root` that `target` names, or nullopt: query and fragment dropped,
// percent-escapes decoded, "." segments skipped; "..", hidden names, NULs, backslashes, folders
// and symbolic links that lead outside `root` are refused.
std::optional<std::filesystem::path> resolveTarget(const std::filesystem::path& root,
                                                   std::string_view target);

// True when the request names this server itself: Host (and an absolute target's authority) is
// 127.0.0.1:PORT or localhost:PORT. Anything else may be a page of another site that had its own
// name point here (DNS rebinding) to read the served folder.
bool hostAllowed(const RequestHead& request, std::uint16_t port);

// "text/html; charset=utf-8" and so on, by extension.
std::string contentType(const std::filesystem::path& file);

}  // namespace qx::serve
