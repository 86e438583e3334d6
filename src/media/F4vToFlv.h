#pragma once
// An F4V's H.264 video and AAC audio put into an FLV without re-encoding, for players that read
// FLV only: the samples become tags in time order, after onMetaData and the two decoder
// configurations. Streamed: memory stays a few buffers whatever the file's size.
#include <filesystem>
#include <functional>
#include <optional>

#include "project/FileIo.h"

namespace qx::media {

// Told the share done (0 to 1) now and then; answers false to stop.
using RemuxProgress = std::function<bool(double fraction)>;

// Writes `flv` beside itself and renames it into place at the end: a failure or a stop leaves
// nothing behind and an older `flv` as it was. A stop is reported as the reason "stopped".
[[nodiscard]] std::optional<FileError> remuxF4vToFlv(const std::filesystem::path& f4v,
                                                     const std::filesystem::path& flv,
                                                     const RemuxProgress& progress = {});

}  // namespace qx::media
