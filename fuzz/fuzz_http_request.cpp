// Any bytes must parse (or be refused) as a request head, a Range header and a request path of
// the folder server, and an accepted path must stay inside the served folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "serve/HttpRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)qx::serve::parseRequestHead(text);
  for (const std::uint64_t fileSize : {0ULL, 1ULL, 1000ULL}) {
    const auto range = qx::serve::answerRange(text, fileSize);
    if (range.kind == qx::serve::RangeKind::Partial &&
        (range.first > range.last || range.last >= fileSize))
      std::abort();
  }
  static const std::filesystem::path root = std::filesystem::temp_directory_path();
  if (const auto path = qx::serve::resolveTarget(root, text)) {
    const auto real = std::filesystem::canonical(root).string() + "/";
    if (path->string().rfind(real, 0) != 0) std::abort();
  }
  return 0;
}
