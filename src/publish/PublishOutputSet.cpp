#include "publish/PublishOutputSet.h"

#include "media/VideoContent.h"
#include "project/PathText.h"
#include "project/TextCodec.h"
#include "publish/AirDescriptor.h"
#include "publish/ConfigXml.h"
#include "publish/FolderLock.h"
#include "publish/HtmlPage.h"
#include "publish/ViewerSelection.h"
#include "resources/Resources.h"

namespace qx {
namespace fs = std::filesystem;
namespace {

constexpr int kIconCount = 10;
constexpr int kAirPlayer = 2;
// Long enough for another publish of the same folder to end, short enough to be an answer.
constexpr std::chrono::milliseconds kLockPatience{3000};

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
  if (auto error = ensureFolderOfItsOwn(set.images)) {
    run.fail(error->path, error->reason + " (the ten icons were not written)");
    return;
  }
  const auto icon =
      findResource("RCDATA", hotSpotIconName(hsIcon)).value_or(std::span<const std::byte>{});
  const std::string_view bytes(reinterpret_cast<const char*>(icon.data()), icon.size());
  for (const fs::path& path : set.icons)
    run.note(path, writeFileReplacing(path, bytes, LinkPolicy::replaceLink));
}

// A video named like a file the run writes (config.xml, the page, the viewer, an icon) would
// be overwritten by it, or overwrite it, and the page would not work: the run is refused.
std::optional<FileError> videoNameClash(const OutputSet& set, const fs::path& source) {
  std::vector<fs::path> others{set.page, set.viewer, set.config, set.images,
                               set.images.parent_path() / kFolderLockName};
  others.insert(others.end(), set.icons.begin(), set.icons.end());
  if (set.airDescriptor) others.push_back(*set.airDescriptor);
  std::error_code ec;
  for (const fs::path& other : others) {
    const bool sameName = other.lexically_normal() == set.video.lexically_normal();
    if (sameName || (fs::exists(other, ec) && fs::equivalent(source, other, ec)))
      return FileError{source, "is named like " + pathToUtf8(other.filename()) +
                                   ", which publishing writes in the page's folder; rename "
                                   "the video, or publish into another folder"};
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> checkVideo(const ProjectSettings& settings) {
  const std::string_view path = trimSpaces(settings.videoPath);
  if (path.empty()) return "FLV file not selected";
  const fs::path video = pathFromUtf8(path);
  std::error_code ec;
  if (!fs::exists(video, ec) || fs::is_directory(video, ec)) return "FLV file not found";
  // What the page would name as its movie must be one the Flash Player plays: an MP4 would be
  // published "successfully" and never play, a device or a pipe would never end its copy.
  const media::VideoContent content = media::readVideoContent(video);
  if (content.flashPlays) return std::nullopt;
  std::string why = content.reason;
  if (!why.empty() && why.back() == '.') why.pop_back();
  if (!why.empty() && why[0] >= 'A' && why[0] <= 'Z') why[0] = static_cast<char>(why[0] + 32);
  return "Video the Flash page cannot play (" + why + ")";
}

fs::path pageFileName(std::string_view chosen) {
  return pathFromUtf8(withSuffix(chosen, ".html"));
}

VideoCopy copyVideo(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return {};
  // Copied beside the target, then renamed: an interrupted copy never leaves a truncated video.
  if (auto error = copyFileReplacing(source, target, LinkPolicy::replaceLink))
    return {false, std::move(error)};
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
  bool folderMade = true;
  if (!values.folder.empty()) {
    if (auto error = ensureFolder(values.folder)) {
      run.fail(error->path, error->reason);
      folderMade = false;
    }
  }
  const fs::path source = pathFromUtf8(trimSpaces(settings.videoPath));
  if (auto clash = videoNameClash(set, source)) {
    run.fail(clash->path, clash->reason);
    return report;
  }
  // Held to the end of the run; where the folder could not be made, every file fails anyway.
  std::optional<FolderLock> lock;
  if (folderMade) {
    auto held =
        FolderLock::acquire(values.folder.empty() ? fs::path(".") : values.folder, kLockPatience);
    if (!held) {
      run.fail(held.error().path, held.error().reason);
      return report;
    }
    lock.emplace(std::move(held).value());
  }

  run.note(set.viewer, writeViewerSwf(values.folder, values.viewerName));
  writeIcons(run, set, settings.hsIcon);

  const VideoCopy copy = copyVideo(source, set.video);
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
