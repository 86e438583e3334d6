#pragma once
// Ruffle's players read FLV only, so a page published for today's web gets an FLV beside an F4V
// video, made without re-encoding: the viewer asks for the movie's name + ".flv" first and falls
// back to the movie itself, which a Flash Player plays.
#include <filesystem>
#include <optional>

#include "media/F4vToFlv.h"
#include "publish/PublishOutputSet.h"

namespace qx {

// "NAME.f4v.flv" beside a video named NAME.f4v (in any case); nothing for other videos.
[[nodiscard]] std::optional<std::filesystem::path> flvBesideF4v(const std::filesystem::path& video);

// Writes the FLV for the published copy `video` when it is an F4V; the file written or the
// failure goes into `report`. `progress` as for the remux.
void addFlvBesideF4v(const std::filesystem::path& video, PublishReport& report,
                     const media::RemuxProgress& progress = {});

}  // namespace qx
