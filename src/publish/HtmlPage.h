#pragma once
// The web page that embeds the viewer: a centred box under the title, or (for an IFRAME) the
// box alone at the top; optionally framed by a thin black border.
#include <optional>
#include <string>

#include "project/FileIo.h"
#include "project/ProjectSettings.h"
#include "publish/PublishValues.h"

namespace qx {

// The page's bytes, UTF-8, every line ended by CR LF.
std::string htmlPageBytes(const ProjectSettings& settings, const PublishValues& values);

// Writes values.htmlPath.
[[nodiscard]] std::optional<FileError> writeHtmlPage(const ProjectSettings& settings,
                                                     const PublishValues& values);

}  // namespace qx
