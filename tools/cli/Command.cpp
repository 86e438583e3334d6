#include "Command.h"

#include <algorithm>
#include <ostream>

#include "project/ChoiceLists.h"
#include "project/FileIo.h"
#include "project/PathText.h"

namespace qx::cli {

Arguments::Arguments(std::span<const std::string_view> args,
                     std::span<const std::pair<std::string_view, int>> options) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--" && !optionsEnded) {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positionals_.push_back(arg);
      continue;
    }
    const auto known =
        std::find_if(options.begin(), options.end(), [&](const auto& o) { return o.first == arg; });
    if (known == options.end()) throw UsageError{"unknown option " + std::string(arg)};
    const auto count = static_cast<std::size_t>(known->second);
    if (args.size() - i - 1 < count)
      throw UsageError{std::string(arg) + " needs " + std::to_string(count) +
                       (count == 1 ? " value" : " values")};
    options_.push_back({arg,
                        {args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         args.begin() + static_cast<std::ptrdiff_t>(i + 1 + count)}});
    i += count;
  }
}

void Arguments::expectPositionals(std::size_t count) const {
  if (positionals_.size() < count) throw UsageError{"missing arguments"};
  if (positionals_.size() > count)
    throw UsageError{"unexpected argument " + std::string(positionals_[count])};
}

std::optional<std::vector<std::string_view>> Arguments::option(std::string_view name) const {
  // The last one given counts, as usual for command lines.
  for (auto it = options_.rbegin(); it != options_.rend(); ++it)
    if (it->first == name) return it->second;
  return std::nullopt;
}

void printError(Streams io, std::string_view text) {
  io.err << io.program << ": " << text << '\n';
}

std::optional<Project> loadProjectForCli(std::string_view path, Streams io) {
  const auto bytes = readFileBytes(pathFromUtf8(path));
  if (!bytes) {
    printError(io, bytes.error().message());
    return std::nullopt;
  }
  std::error_code ec;
  const auto folder = std::filesystem::absolute(pathFromUtf8(path), ec).parent_path();
  // A first reading tells the project's ZOOMMAX; the zoom list it gives decides what ZOOM fits.
  const int zoomMax = readProjectFile(bytes.value(), {}, 0, folder).settings.zoomMax;
  return readProjectFile(bytes.value(), {}, zoomItemCount(zoomMax), folder);
}

}  // namespace qx::cli
