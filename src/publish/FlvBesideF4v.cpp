#include "publish/FlvBesideF4v.h"

#include "project/PathText.h"
#include "project/TextCodec.h"

namespace qx {
namespace fs = std::filesystem;

std::optional<fs::path> flvBesideF4v(const fs::path& video) {
  const std::string name = pathToUtf8(video.filename());
  if (name.size() <= 4 || !asciiLower(name).ends_with(".f4v")) return std::nullopt;
  return video.parent_path() / pathFromUtf8(name + ".flv");
}

void addFlvBesideF4v(const fs::path& video, PublishReport& report,
                     const media::RemuxProgress& progress) {
  const auto flv = flvBesideF4v(video);
  if (!flv) return;
  if (auto error = media::remuxF4vToFlv(video, *flv, progress))
    report.failures.push_back(std::move(*error));
  else
    report.written.push_back(*flv);
}

}  // namespace qx
