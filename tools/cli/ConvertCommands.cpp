// resave PROJECT.pp OUT.pp and save-options PROJECT.pp OUT.ini: the two file conversions.
#include <ostream>

#include "Command.h"
#include "project/OptionsFile.h"
#include "project/PathText.h"

namespace qx::cli {
namespace {

// Loads the project named first and hands it to `save` with the second name.
template <class Save>
int convert(std::span<const std::string_view> args, Streams io, Save save) {
  const Arguments a(args, {});
  a.expectPositionals(2);
  const auto project = loadProjectForCli(a.positional(0), io);
  if (!project) return kFailed;
  const auto [target, error] = save(*project, a.positional(1));
  if (error) {
    printError(io, error->message());
    return kFailed;
  }
  io.out << "wrote " << shownText(pathToUtf8(target)) << '\n';
  return kSuccess;
}

struct Saved {
  std::filesystem::path target;
  std::optional<FileError> error;
};

}  // namespace

int runResave(std::span<const std::string_view> args, Streams io) {
  return convert(args, io, [](const Project& p, std::string_view out) {
    const auto target = projectSaveName(out);
    return Saved{target, saveProjectFile(target, p.settings, p.hotSpots)};
  });
}

int runSaveOptions(std::span<const std::string_view> args, Streams io) {
  return convert(args, io, [](const Project& p, std::string_view out) {
    const std::filesystem::path target = pathFromUtf8(out);
    return Saved{target, saveOptionsFile(target, p.settings)};
  });
}

}  // namespace qx::cli
