#include "webgl/CaptionsFile.h"

#include "project/FileIo.h"

namespace qx::webgl {

namespace fs = std::filesystem;

std::optional<CaptionsFile> findCaptions(const fs::path& sourceVideo) {
  std::error_code ec;
  for (const char* ext : {".vtt", ".VTT"}) {
    fs::path candidate = sourceVideo;
    candidate.replace_extension(ext);
    if (!fs::is_regular_file(candidate, ec)) continue;
    CaptionsFile found{candidate, {}};
    const auto bytes = readFileBytes(candidate);
    std::string_view text = bytes ? std::string_view(bytes.value()) : std::string_view();
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    // A browser drops a file without the signature as a whole: say so now rather than never.
    if (!bytes)
      found.problem = "Captions: " + bytes.error().message() + ".";
    else if (!text.starts_with("WEBVTT"))
      found.problem = "Captions: " + candidate.filename().string() +
                      " is left out: a WebVTT file starts with \"WEBVTT\".";
    return found;
  }
  return std::nullopt;
}

std::optional<std::string> copyCaptions(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  if (fs::equivalent(source, target, ec)) return std::nullopt;
  const auto bytes = readFileBytes(source);
  if (!bytes) return bytes.error().message();
  if (const auto failure = writeFileReplacing(target, bytes.value(), LinkPolicy::replaceLink)) return failure->message();
  return std::nullopt;
}

}  // namespace qx::webgl
