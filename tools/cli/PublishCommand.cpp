// publish PROJECT.pp PAGE.html: what "Publish FLV" does with that project loaded; with
// --with-ruffle, also Ruffle beside the page, for hosting it on today's web.
#include <ostream>

#include "Command.h"
#include "ProgramPath.h"
#include "project/PathText.h"
#include "publish/PublishOutputSet.h"
#include "publish/RufflePage.h"

namespace qx::cli {

int runPublish(std::span<const std::string_view> args, Streams io) {
  static constexpr std::pair<std::string_view, int> kOptions[] = {
      {"--custom-size", 2}, {"--tilt-manual", 1}, {"--with-ruffle", 0}};
  const Arguments a(args, kOptions);
  a.expectPositionals(2);
  const std::filesystem::path page = pageFileName(a.positional(1));
  if (pathFromUtf8(a.positional(1)).filename().empty())
    throw UsageError{"PAGE.html must name a file, not a folder"};

  auto project = loadProjectForCli(a.positional(0), io);
  if (!project) return kFailed;
  ProjectSettings& settings = project->settings;
  if (const auto size = a.option("--custom-size")) {
    settings.customSize = 1;
    settings.customWidth = (*size)[0];
    settings.customHeight = (*size)[1];
  }
  if (const auto tilt = a.option("--tilt-manual")) settings.tiltManual = (*tilt)[0];

  if (const auto problem = checkVideo(settings)) {
    // The window's message alone; a script's log also needs the path the project names.
    printError(io, settings.videoPath.empty() ? *problem
                                              : *problem + ": " + shownText(settings.videoPath));
    return kFailed;
  }
  // Looked for before anything is written: a missing Ruffle must not leave a half-made site.
  std::optional<std::filesystem::path> ruffle;
  if (a.option("--with-ruffle")) {
    ruffle = findRuffleFolder(thisProgram().parent_path());
    if (!ruffle) {
      printError(io,
                 "Ruffle not found (looked for ruffle/ruffle.js beside the program and in "
                 "share/qx_flash_hs; QX_RUFFLE_DIR names another folder)");
      return kFailed;
    }
  }
  std::error_code ec;
  if (std::filesystem::is_directory(page, ec)) {
    printError(io, shownText(pathToUtf8(page)) + ": is a folder, not a file");
    return kFailed;
  }

  PublishReport report = publishOutputSet(settings, project->hotSpots, page);
  if (ruffle && report.succeeded()) addRuffleToPage(page, *ruffle, report);
  for (const auto& path : report.written) io.out << "wrote " << shownText(pathToUtf8(path)) << '\n';
  for (const auto& path : report.unchanged)
    io.out << "kept  " << shownText(pathToUtf8(path)) << " (already in place)\n";
  if (!report.succeeded()) {
    printError(io, publishMessage(report));
    return kFailed;
  }
  io.out << publishMessage(report) << '\n';
  return kSuccess;
}

}  // namespace qx::cli
