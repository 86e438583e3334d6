#include "publish/PublishOutputSet.h"

#include "project/PathText.h"
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

void writeIcons(Run& run, const OutputSet& set, int hsIcon) {
  if (auto error = ensureFolder(set.images)) {
    run.fail(error->path, error->reason + " (the ten icons were not written)");
    return;
  }
  const auto icon =
      findResource("RCDATA", hotSpotIconName(hsIcon)).value_or(std::span<const std::byte>{});
  const std::string_view bytes(reinterpret_cast<const char*>(icon.data()), icon.size());
  for (const fs::path& path : set.icons) run.note(path, writeFileReplacing(path, bytes));
}

}  // namespace

std::optional<std::string> checkVideo(const ProjectSettings& settings) {
  const std::string_view path = trimSpaces(settings.videoPath);
  if (path.empty()) return "FLV file not selected";
  std::error_code ec;
  if (!fs::is_regular_file(pathFromUtf8(path), ec)) return "FLV file not found";
  // Without a size there is no stored viewer: the page would get an empty viewer and no size.
  if (viewerBytes(selectViewer(settings).resourceName).empty())
    return std::string(kNoWindowSizeMessage);
  return std::nullopt;
}

fs::path pageFileName(std::string_view chosen) {
  return pathFromUtf8(withSuffix(chosen, ".html"));
}

VideoCopy copyVideo(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return {};
  // Copied beside the target, then renamed: an interrupted copy never leaves a truncated video.
  if (auto error = copyFileReplacing(source, target)) return {false, std::move(error)};
  return {true, std::nullopt};
}

OutputSet outputSetFor(const ProjectSettings& settings, const PublishValues& values) {
  OutputSet set;
  set.page = values.htmlPath;
  set.viewer = values.folder / kViewerFileName;
  set.images = values.folder / kImagesFolderName;
  for (int i = 1; i <= kIconCount; ++i)
    set.icons.push_back(set.images / ("hs" + std::to_string(i) + ".gif"));
  set.video = values.folder / values.videoName;
  if (settings.flashPlayer == kAirPlayer) set.airDescriptor = values.folder / kAirDescriptorName;
  set.config = values.folder / kConfigXmlName;
  return set;
}

PublishReport publishOutputSet(const ProjectSettings& settings, const HotSpotList& hotSpots,
                               const fs::path& htmlPath) {
  PublishReport report;
  Run run(report);
  const PublishValues values = derivePublishValues(settings, htmlPath);
  const OutputSet set = outputSetFor(settings, values);
  if (!values.folder.empty()) {
    if (auto error = ensureFolder(values.folder)) run.fail(error->path, error->reason);
  }

  run.note(set.viewer, writeViewerSwf(values.folder, values.viewerName));
  writeIcons(run, set, settings.hsIcon);

  const VideoCopy copy = copyVideo(pathFromUtf8(trimSpaces(settings.videoPath)), set.video);
  if (copy.error)
    run.fail(copy.error->path, copy.error->reason);
  else if (copy.copied)
    run.note(set.video, std::nullopt);
  else
    run.keep(set.video);

  if (set.airDescriptor) run.note(*set.airDescriptor, writeAirDescriptor(values.folder));
  run.note(set.page, writeHtmlPage(settings, values));
  run.note(set.config, writeConfigXml(settings, hotSpots, values));
  return report;
}

std::string publishMessage(const PublishReport& report) {
  if (report.succeeded()) return "Publishing succeeded";
  std::string text = "Publishing failed; not written:";
  for (const FileError& failure : report.failures) text += "\n" + failure.message();
  return text;
}

}  // namespace qx
