#include "serve/HttpRequest.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <vector>

namespace qx::serve {
namespace {

namespace fs = std::filesystem;

std::string lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

bool isToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
    return std::isalnum(c) ||
           std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
  });
}

// Digits only; a number too large for 64 bits reads as the largest one.
std::optional<std::uint64_t> digits(std::string_view text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    return std::nullopt;
  std::uint64_t value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec == std::errc::result_out_of_range) return std::numeric_limits<std::uint64_t>::max();
  return value;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int hi = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
    const int lo = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

bool inside(const fs::path& root, const fs::path& path) {
  auto r = root.begin();
  auto p = path.begin();
  for (; r != root.end(); ++r, ++p)
    if (p == path.end() || *r != *p) return false;
  return true;
}

}  // namespace

std::optional<std::string> RequestHead::header(const std::string& lowerName) const {
  const auto it = headers.find(lowerName);
  if (it == headers.end()) return std::nullopt;
  return it->second;
}

bool RequestHead::keepAlive() const {
  const std::string connection = lowered(header("connection").value_or(""));
  if (version == "HTTP/1.0") return connection.find("keep-alive") != std::string::npos;
  return connection.find("close") == std::string::npos;
}

std::optional<RequestHead> parseRequestHead(std::string_view head) {
  if (head.size() > kMaxHeadSize) return std::nullopt;
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= head.size();) {
    const std::size_t end = head.find('\n', start);
    lines.push_back(trimmed(head.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  // A client may send blank lines before the request line.
  while (!lines.empty() && lines.front().empty()) lines.erase(lines.begin());
  if (lines.empty()) return std::nullopt;

  RequestHead request;
  const std::string_view first = lines.front();
  const std::size_t sp1 = first.find(' ');
  const std::size_t sp2 = sp1 == std::string_view::npos ? sp1 : first.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || first.find(' ', sp2 + 1) != std::string_view::npos)
    return std::nullopt;
  request.method = first.substr(0, sp1);
  request.target = first.substr(sp1 + 1, sp2 - sp1 - 1);
  request.version = first.substr(sp2 + 1);
  if (!isToken(request.method) || request.target.empty() ||
      (request.version != "HTTP/1.1" && request.version != "HTTP/1.0"))
    return std::nullopt;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const std::size_t colon = lines[i].find(':');
    if (colon == std::string_view::npos || !isToken(lines[i].substr(0, colon))) return std::nullopt;
    std::string& value = request.headers[lowered(lines[i].substr(0, colon))];
    const std::string_view more = trimmed(lines[i].substr(colon + 1));
    value = value.empty() ? std::string(more) : value + ", " + std::string(more);
  }
  return request;
}

RangeAnswer answerRange(const std::optional<std::string>& header, std::uint64_t size) {
  if (!header) return {};
  std::string_view spec = trimmed(*header);
  if (lowered(spec.substr(0, 6)) != "bytes=") return {};
  spec = trimmed(spec.substr(6));
  if (spec.find(',') != std::string_view::npos) return {};
  const std::size_t dash = spec.find('-');
  if (dash == std::string_view::npos) return {};
  const std::string_view a = trimmed(spec.substr(0, dash));
  const std::string_view b = trimmed(spec.substr(dash + 1));
  if (a.empty()) {  // the last n bytes
    const auto n = digits(b);
    if (!n) return {};
    if (*n == 0 || size == 0) return {RangeKind::Unsatisfiable};
    return {RangeKind::Partial, size - std::min(*n, size), size - 1};
  }
  const auto first = digits(a);
  if (!first) return {};
  std::optional<std::uint64_t> last;
  if (!b.empty()) {
    last = digits(b);
    if (!last || *last < *first) return {};
  }
  if (*first >= size) return {RangeKind::Unsatisfiable};
  return {RangeKind::Partial, *first, std::min(last.value_or(size - 1), size - 1)};
}

std::optional<fs::path> resolveTarget(const fs::path& root, std::string_view target) {
  target = target.substr(0, target.find_first_of("?#"));
  // An absolute URL ("http://127.0.0.1:8080/x") names its path after the authority.
  if (const std::size_t scheme = target.find("://");
      scheme != std::string_view::npos && target.front() != '/') {
    const std::size_t path = target.find('/', scheme + 3);
    if (path == std::string_view::npos) return std::nullopt;
    target = target.substr(path);
  }
  if (target.empty() || target.front() != '/') return std::nullopt;
  const auto decoded = percentDecoded(target);
  if (!decoded || decoded->find('\0') != std::string::npos ||
      decoded->find('\\') != std::string::npos)
    return std::nullopt;

  fs::path path = root;
  std::string_view rest = *decoded;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (segment.empty() || segment == ".") continue;
    if (segment.front() == '.') return std::nullopt;  // "..", ".git", ".htpasswd"
    path /= std::string(segment);
  }
  // Symbolic links are followed, but only to files that are inside the folder too.
  std::error_code ec;
  std::error_code rootEc;
  const fs::path real = fs::canonical(path, ec);
  const fs::path realRoot = fs::canonical(root, rootEc);
  if (ec || rootEc || !inside(realRoot, real) || !fs::is_regular_file(real, ec))
    return std::nullopt;
  return real;
}

bool hostAllowed(const RequestHead& request, std::uint16_t port) {
  const auto host = request.header("host");
  // A repeated Host header arrives joined with ", " and is refused with the rest.
  if (!host) return false;
  const std::string suffix = ":" + std::to_string(port);
  const auto ours = [&](std::string_view authority) {
    const std::string a = lowered(authority);
    return a == "127.0.0.1" + suffix || a == "localhost" + suffix;
  };
  if (!ours(*host)) return false;
  // An absolute target ("http://host:port/x") names the server too; it must be the same one.
  const std::string_view target = request.target;
  if (const std::size_t scheme = target.find("://");
      scheme != std::string_view::npos && !target.starts_with("/")) {
    const std::string_view rest = target.substr(scheme + 3);
    return ours(rest.substr(0, rest.find_first_of("/?#")));
  }
  return true;
}

std::string contentType(const fs::path& file) {
  static const std::map<std::string, std::string> kTypes = {
      {".html", "text/html; charset=utf-8"},
      {".htm", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".mjs", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".json", "application/json"},
      {".xml", "application/xml"},
      {".txt", "text/plain; charset=utf-8"},
      {".mp4", "video/mp4"},
      {".m4v", "video/mp4"},
      {".f4v", "video/mp4"},
      {".flv", "video/x-flv"},
      {".webm", "video/webm"},
      {".gif", "image/gif"},
      {".png", "image/png"},
      {".jpg", "image/jpeg"},
      {".jpeg", "image/jpeg"},
      {".svg", "image/svg+xml"},
      {".ico", "image/x-icon"},
      {".swf", "application/x-shockwave-flash"},
      {".pdf", "application/pdf"},
      {".wasm", "application/wasm"},  // browsers compile WebAssembly by streaming only with it
  };
  const auto it = kTypes.find(lowered(file.extension().string()));
  return it == kTypes.end() ? "application/octet-stream" : it->second;
}

}  // namespace qx::serve
