#pragma once
// The FLVs the server makes of F4V videos on demand, for Ruffle, which plays FLV only: kept in
// the user's cache folder, one per F4V path, size and time of change, never beside the video.
#include <filesystem>
#include <optional>
#include <string_view>

namespace qx::serve {

// The F4V inside `root` that a request for "NAME.f4v.flv" stands for, when no such FLV is there.
[[nodiscard]] std::optional<std::filesystem::path> f4vAskedAsFlv(const std::filesystem::path& root,
                                                                 std::string_view target);

// Where the FLV of `f4v` is kept: $XDG_CACHE_HOME/qx_flash_hs/flv/ or the system's equivalent.
[[nodiscard]] std::filesystem::path cachedFlvFor(const std::filesystem::path& f4v);

// Makes it (written beside its name, then renamed); false when the F4V cannot be remuxed.
bool makeCachedFlv(const std::filesystem::path& f4v, const std::filesystem::path& flv);

}  // namespace qx::serve
