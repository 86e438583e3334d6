#include "publish/PublishOutputSet.h"

#include <algorithm>
#include <random>

#include "project/TextCodec.h"
#include "publish/AirDescriptor.h"
#include "publish/ConfigXml.h"
#include "publish/HtmlPage.h"
#include "publish/ViewerSelection.h"
#include "resources/Resources.h"

namespace qx {
namespace fs = std::filesystem;
namespace {

constexpr int kIconCount = 10;
constexpr int kAirPlayer = 2;

class Run {
 public:
  explicit Run(PublishReport& report) : report_(report) {}
  // Records the outcome of writing `path`.
  void note(const fs::path& path, const std::optional<FileError>& error) {
    if (error)
      report_.failures.push_back(*error);
    else
      report_.written.push_back(path);
  }
  void fail(const fs::path& path, std::string reason) {
    report_.failures.push_back({path, std::move(reason)});
  }
  void keep(const fs::path& path) { report_.unchanged.push_back(path); }

 private:
  PublishReport& report_;
};

// The folder exists as a folder afterwards, or the reason it does not.
std::optional<FileError> ensureFolder(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return std::nullopt;
  if (fs::exists(folder, ec)) return FileError{folder, "is a file, not a folder"};
  fs::create_directories(folder, ec);
  if (ec) return FileError{folder, reasonText(ec)};
  return std::nullopt;
}

void writeIcons(Run& run, const fs::path& folder, int hsIcon) {
  const fs::path images = folder / kImagesFolderName;
  if (auto error = ensureFolder(images)) {
    run.fail(error->path, error->reason + " (the ten icons were not written)");
    return;
  }
  const auto icon =
      findResource("RCDATA", hotSpotIconName(hsIcon)).value_or(std::span<const std::byte>{});
  const std::string_view bytes(reinterpret_cast<const char*>(icon.data()), icon.size());
  for (int i = 1; i <= kIconCount; ++i) {
    const fs::path path = images / ("hs" + std::to_string(i) + ".gif");
    run.note(path, writeFileReplacing(path, bytes));
  }
}

}  // namespace

std::optional<std::string> checkVideo(const ProjectSettings& settings) {
  const std::string_view path = trimSpaces(settings.videoPath);
  if (path.empty()) return "FLV file not selected";
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(path), ec)) return "FLV file not found";
  return std::nullopt;
}

fs::path pageFileName(std::string_view chosen) {
  std::string name(chosen);
  std::string tail = name.size() >= 5 ? name.substr(name.size() - 5) : name;
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (tail != ".html") name += ".html";
  return name;
}

VideoCopy copyVideo(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return {};
  // Copy beside the target, then rename: an interrupted copy never leaves a truncated video.
  fs::path temp = target;
  temp += ".part" + std::to_string(std::random_device{}() % 1000000);
  fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return {false, FileError{target, reasonText(ec)}};
  }
  return {true, std::nullopt};
}

PublishReport publishOutputSet(const ProjectSettings& settings, const HotSpotList& hotSpots,
                               const fs::path& htmlPath) {
  PublishReport report;
  Run run(report);
  const PublishValues values = derivePublishValues(settings, htmlPath);
  if (!values.folder.empty()) {
    if (auto error = ensureFolder(values.folder)) run.fail(error->path, error->reason);
  }

  const fs::path viewer = values.folder / kViewerFileName;
  run.note(viewer, writeViewerSwf(values.folder, values.viewerName));
  writeIcons(run, values.folder, settings.hsIcon);

  const fs::path video = values.folder / values.videoName;
  const VideoCopy copy = copyVideo(fs::path(trimSpaces(settings.videoPath)), video);
  if (copy.error)
    run.fail(copy.error->path, copy.error->reason);
  else if (copy.copied)
    run.note(video, std::nullopt);
  else
    run.keep(video);

  if (settings.flashPlayer == kAirPlayer)
    run.note(values.folder / kAirDescriptorName, writeAirDescriptor(values.folder));
  run.note(values.htmlPath, writeHtmlPage(settings, values));
  run.note(values.folder / kConfigXmlName, writeConfigXml(settings, hotSpots, values));
  return report;
}

std::string publishMessage(const PublishReport& report) {
  if (report.succeeded()) return "Publishing succeeded";
  std::string text = "Publishing failed; not written:";
  for (const FileError& failure : report.failures) text += "\n" + failure.message();
  return text;
}

}  // namespace qx
