#include "serve/FlvCache.h"

#include <QStandardPaths>
#include <QString>
#include <functional>

#include "media/F4vToFlv.h"
#include "project/PathText.h"
#include "publish/FlvBesideF4v.h"
#include "serve/HttpRequest.h"

namespace qx::serve {
namespace fs = std::filesystem;

std::optional<fs::path> f4vAskedAsFlv(const fs::path& root, std::string_view target) {
  target = target.substr(0, target.find_first_of("?#"));
  constexpr std::string_view kFlv = ".flv";
  if (target.size() <= kFlv.size() || !target.ends_with(kFlv)) return std::nullopt;
  auto f4v = resolveTarget(root, target.substr(0, target.size() - kFlv.size()));
  if (!f4v || !flvBesideF4v(*f4v)) return std::nullopt;
  return f4v;
}

fs::path cachedFlvFor(const fs::path& f4v) {
  std::error_code ec;
  const auto size = fs::file_size(f4v, ec);
  const auto changed = fs::last_write_time(f4v, ec).time_since_epoch().count();
  const std::size_t key =
      std::hash<std::string>{}(pathToUtf8(fs::absolute(f4v, ec)) + "|" + std::to_string(size) +
                               "|" + std::to_string(changed));
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  const fs::path folder =
      (cache.isEmpty() ? fs::temp_directory_path(ec) : pathFromUtf8(cache.toStdString())) /
      "qx_flash_hs" / "flv";
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016zx", key);
  return folder / pathFromUtf8(pathToUtf8(f4v.stem()) + "-" + hex + ".flv");
}

bool makeCachedFlv(const fs::path& f4v, const fs::path& flv) {
  std::error_code ec;
  fs::create_directories(flv.parent_path(), ec);
  return !ec && !media::remuxF4vToFlv(f4v, flv);
}

}  // namespace qx::serve
