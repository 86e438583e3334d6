#pragma once
// Publishing: every file a web server needs to show the video with its hot spots, written into
// the folder of the chosen page. The desktop window and the command-line publisher both run
// this; they ask for the page name and show the messages themselves.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/FileIo.h"
#include "project/HotSpot.h"
#include "project/ProjectSettings.h"
#include "publish/PublishValues.h"

namespace qx {

inline constexpr std::string_view kImagesFolderName = "images";

// "FLV file not selected" when the video path is empty after trimming, "FLV file not found" when
// no file is there, "Video the Flash page cannot play (why)" when its content is no FLV or F4V
// a Flash Player plays (a special or empty file, an MP4, HEVC, ...); nullopt when publishing
// may start.
std::optional<std::string> checkVideo(const ProjectSettings& settings);

// The page name the dialog's answer stands for: ".html" appended unless the name already ends in
// .html in any case (tour.htm becomes tour.htm.html, TOUR.HTML stays).
std::filesystem::path pageFileName(std::string_view chosen);

// The files of one publish run, every one in the page's folder.
struct OutputSet {
  std::filesystem::path page;
  std::filesystem::path viewer;                        // qx_flash_hs.swf
  std::filesystem::path images;                        // the icons' folder
  std::vector<std::filesystem::path> icons;            // images/hs1.gif ... images/hs10.gif
  std::filesystem::path video;                         // the copy of the project's video
  std::optional<std::filesystem::path> airDescriptor;  // for the AIR player type only
  std::filesystem::path config;                        // config.xml
};
OutputSet outputSetFor(const ProjectSettings& settings, const PublishValues& values);

struct PublishReport {
  std::vector<std::filesystem::path> written;    // in the order written
  std::vector<std::filesystem::path> unchanged;  // already in place: the video in its own folder
  std::vector<FileError> failures;               // what could not be made or written
  bool succeeded() const { return failures.empty(); }
};

// Writes the output set for `htmlPath` (already named by pageFileName): the viewer, the images
// folder and its ten icons, the video copy, the AIR descriptor (AIR only), the page and
// config.xml, in that order. A failure is recorded and the run goes on with the next file.
PublishReport publishOutputSet(const ProjectSettings& settings, const HotSpotList& hotSpots,
                               const std::filesystem::path& htmlPath);

// "Publishing succeeded", or the files that failed with their reasons, one a line.
std::string publishMessage(const PublishReport& report);

// Copies the video to `target` without reading it into memory; the target is replaced only once
// the copy is complete. Source and target being the same file leaves it alone (`copied` false).
struct VideoCopy {
  bool copied = false;
  std::optional<FileError> error;
};
VideoCopy copyVideo(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace qx
