// Whole publish runs into temporary folders: what lands on disk, and what is reported.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <fstream>

#include "common/FileContents.h"
#include "common/FileSizeLimit.h"
#include "common/TempFolder.h"
#include "common/TestVideos.h"
#include "project/FileIo.h"
#include "publish/PublishOutputSet.h"
#include "resources/Resources.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

using qx::test::contents;
using qx::test::writeFile;

std::string resource(std::string_view name) {
  const auto bytes = findResource("RCDATA", name);
  return bytes ? std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size()) : "";
}

struct Fixture {
  TempFolder temp;
  fs::path videos = temp.path() / "videos";
  fs::path site = temp.path() / "site";
  ProjectSettings settings;
  HotSpotList hotSpots;
  Fixture() {
    fs::create_directories(videos);
    fs::create_directories(site);
    settings.videoPath = (videos / "tour.flv").string();
    writeFile(settings.videoPath, std::string(100000, 'v') + "end");
    hotSpots.set(2, HotSpot{"shop.html", "Shop", 45, 3, 4, 1});
  }
  PublishReport publish(const std::string& page = "index") {
    return publishOutputSet(settings, hotSpots, pageFileName((site / page).string()));
  }
};

std::vector<std::string> failedNames(const PublishReport& report) {
  std::vector<std::string> names;
  for (const auto& f : report.failures) names.push_back(f.path.filename().string());
  return names;
}

}  // namespace

TEST(PublishOutputSet, WritesTheWholeSetInOrder) {
  Fixture f;
  const PublishReport report = f.publish("index");
  EXPECT_TRUE(report.succeeded()) << publishMessage(report);
  EXPECT_EQ(publishMessage(report), "Publishing succeeded");

  std::vector<fs::path> expected = {f.site / "qx_flash_hs.swf"};
  for (int i = 1; i <= 10; ++i)
    expected.push_back(f.site / "images" / ("hs" + std::to_string(i) + ".gif"));
  expected.insert(expected.end(),
                  {f.site / "tour.flv", f.site / "index.html", f.site / "config.xml"});
  EXPECT_EQ(report.written, expected);
  EXPECT_TRUE(report.unchanged.empty());

  EXPECT_EQ(contents(f.site / "qx_flash_hs.swf"), resource("VIEWER104"));
  EXPECT_EQ(contents(f.site / "images" / "hs7.gif"), resource("152"));
  EXPECT_EQ(contents(f.site / "tour.flv"), contents(f.settings.videoPath));
  EXPECT_FALSE(fs::exists(f.site / "qx_flash_hs-app.xml"));
  const std::string config = contents(f.site / "config.xml");
  EXPECT_NE(config.find("<movie>tour.flv</movie>"), std::string::npos);
  EXPECT_NE(config.find(
                R"(<hotspot id="hotspot2" yaw="-135" pos="3.0" time="4.0" self="1" title="Shop")"),
            std::string::npos);
  // Nothing but the set: no temporary files left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::recursive_directory_iterator(f.site)) ++entries;
  EXPECT_EQ(entries, 5 + 10);
}

TEST(PublishOutputSet, RepublishingReplacesWholeFiles) {
  Fixture f;
  f.settings.hsIcon = 2;  // red
  f.settings.flashPlayer = 2;
  ASSERT_TRUE(f.publish().succeeded());
  const std::string descriptor = contents(f.site / "qx_flash_hs-app.xml");
  EXPECT_EQ(contents(f.site / "images" / "hs1.gif"), resource("151"));
  EXPECT_EQ(contents(f.site / "qx_flash_hs.swf"), resource("VIEWER204"));

  // A longer viewer and video from some earlier run must not leave a tail behind.
  writeFile(f.site / "qx_flash_hs.swf", std::string(100000, 'x'));
  writeFile(f.site / "tour.flv", std::string(300000, 'x'));
  f.settings.hsIcon = 1;  // blue
  f.settings.flashPlayer = 3;
  f.settings.window = 13;
  ASSERT_TRUE(f.publish().succeeded());
  for (int i = 1; i <= 10; ++i)
    EXPECT_EQ(fs::file_size(f.site / "images" / ("hs" + std::to_string(i) + ".gif")),
              resource("152").size());
  EXPECT_EQ(contents(f.site / "qx_flash_hs.swf"), resource("VIEWER313"));
  EXPECT_EQ(contents(f.site / "tour.flv"), contents(f.settings.videoPath));
  // Flash Lite writes no descriptor and leaves the earlier one as it was.
  EXPECT_EQ(contents(f.site / "qx_flash_hs-app.xml"), descriptor);

  f.settings.flashPlayer = 2;
  ASSERT_TRUE(f.publish().succeeded());
  EXPECT_EQ(contents(f.site / "qx_flash_hs-app.xml"), descriptor);
}

TEST(PublishOutputSet, IntoTheVideosOwnFolder) {
  Fixture f;
  const std::string before = contents(f.settings.videoPath);
  const auto report = publishOutputSet(f.settings, f.hotSpots, f.videos / "tour.html");
  EXPECT_TRUE(report.succeeded()) << publishMessage(report);
  EXPECT_EQ(report.unchanged, std::vector<fs::path>{f.videos / "tour.flv"});
  EXPECT_EQ(contents(f.settings.videoPath), before);
  EXPECT_TRUE(fs::exists(f.videos / "config.xml"));

  // The same file under another name (a hard link) is also left alone.
  fs::create_hard_link(f.settings.videoPath, f.site / "tour.flv");
  EXPECT_TRUE(f.publish().succeeded());
  EXPECT_EQ(contents(f.site / "tour.flv"), before);
}

TEST(PublishOutputSet, CustomSizeAndManualTiltReachThePageAndConfig) {
  Fixture f;
  f.settings.customSize = 1, f.settings.customWidth = "720", f.settings.customHeight = " 360 ";
  f.settings.tilt = 13;
  for (const auto& [manual, tilt] : std::vector<std::pair<std::string, std::string>>{
           {"29.9", "90"}, {"90.5", "90"}, {"30", "30"}, {"45.5", "46"}, {"44.5", "44"}}) {
    f.settings.tiltManual = manual;
    ASSERT_TRUE(f.publish().succeeded());
    EXPECT_NE(contents(f.site / "config.xml").find("<tilt>" + tilt + "</tilt>"), std::string::npos)
        << manual;
  }
  const std::string page = contents(f.site / "index.html");
  EXPECT_NE(page.find("width=720 height=360 id=\"qx_flash_hs\""), std::string::npos);
  EXPECT_EQ(contents(f.site / "qx_flash_hs.swf"), resource("VIEWER104"));  // still index 4
}

TEST(PublishOutputSet, LongPathsAndColonsAreOrdinary) {
#ifdef _WIN32
  GTEST_SKIP() << "a colon cannot be part of a Windows file name";
#endif
  Fixture f;
  fs::path deep = f.site;
  for (int i = 0; i < 6; ++i) deep /= std::string(60, static_cast<char>('a' + i)) + ":x";
  ASSERT_GT(deep.string().size(), 360u);
  const auto report = publishOutputSet(f.settings, f.hotSpots, deep / "p:1.html");
  EXPECT_TRUE(report.succeeded()) << publishMessage(report);
  EXPECT_TRUE(fs::exists(deep / "p:1.html"));
  EXPECT_TRUE(fs::exists(deep / "images" / "hs10.gif"));
}

TEST(PublishOutputSet, FailuresAreReportedAndTheRunGoesOn) {
  {  // The page's folder lies below a regular file: nothing can be written, all is said.
    Fixture f;
    writeFile(f.site / "blocker", "x");
    const auto report = publishOutputSet(f.settings, f.hotSpots, f.site / "blocker" / "in.html");
    EXPECT_FALSE(report.succeeded());
    EXPECT_TRUE(report.written.empty());
    // The folder, the viewer, the images folder, the video, the page and config.xml.
    EXPECT_EQ(report.failures.size(), 6u) << publishMessage(report);
    EXPECT_EQ(publishMessage(report).rfind("Publishing failed; not written:\n", 0), 0u);
  }
  {  // "images" is a file and config.xml a folder: those fail, everything else is written.
    Fixture f;
    writeFile(f.site / "images", "not a folder");
    fs::create_directory(f.site / "config.xml");
    const auto report = f.publish();
    EXPECT_EQ(failedNames(report), (std::vector<std::string>{"images", "config.xml"}));
    EXPECT_EQ(report.written.size(), 3u);  // viewer, video, page
    EXPECT_EQ(contents(f.site / "images"), "not a folder");
  }
  {  // The video is gone by the time of the copy.
    Fixture f;
    fs::remove(f.settings.videoPath);
    const auto report = f.publish();
    EXPECT_EQ(failedNames(report), std::vector<std::string>{"tour.flv"});
    EXPECT_TRUE(fs::exists(f.site / "config.xml"));
  }
  if (FileSizeLimit::kSupported) {  // A full disk stops the video copy part way; the old copy
                                    // stays whole.
    Fixture f;
    writeFile(f.site / "tour.flv", "earlier copy");
    std::optional<FileSizeLimit> limit(std::in_place, 50000);
    const auto report = f.publish();
    limit.reset();
    EXPECT_EQ(failedNames(report), std::vector<std::string>{"tour.flv"});
    EXPECT_EQ(contents(f.site / "tour.flv"), "earlier copy");
    EXPECT_EQ(report.written.size(), 13u);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(f.site)) ++entries;
    EXPECT_EQ(entries, 5) << "a partial copy was left behind";
  }
#ifndef _WIN32
  if (geteuid() != 0) {  // Without root a read-only folder refuses every file.
    Fixture f;
    fs::permissions(f.site, fs::perms::owner_read | fs::perms::owner_exec);
    const auto report = f.publish();
    EXPECT_FALSE(report.succeeded());
    EXPECT_TRUE(report.written.empty());
  }
#endif
}

TEST(CheckVideo, MessagesBeforeAnythingIsWritten) {
  TempFolder temp;
  ProjectSettings s;
  s.videoPath = "";
  EXPECT_EQ(checkVideo(s), "FLV file not selected");
  s.videoPath = "    ";
  EXPECT_EQ(checkVideo(s), "FLV file not selected");
  s.videoPath = (temp.path() / "missing.flv").string();
  EXPECT_EQ(checkVideo(s), "FLV file not found");
  s.videoPath = temp.path().string();  // a folder is no video
  EXPECT_EQ(checkVideo(s), "FLV file not found");
  writeFile(temp.path() / "v.flv", testvideos::flv());
  s.videoPath = "  " + (temp.path() / "v.flv").string() + " ";
  EXPECT_EQ(checkVideo(s), std::nullopt);
  // No size selected: no stored viewer, even where a custom size would fill the page's texts.
  s.window = 0;
  s.customSize = 1, s.customWidth = "640", s.customHeight = "480";
  EXPECT_EQ(checkVideo(s), "Window size not selected");
  s.window = 13, s.flashPlayer = 3;
  EXPECT_EQ(checkVideo(s), std::nullopt);
  writeFile(temp.path() / "v.f4v", testvideos::mp4Video("f4v "));
  s.videoPath = (temp.path() / "v.f4v").string();
  EXPECT_EQ(checkVideo(s), std::nullopt);

  // What the page cannot play, and files that are no video at all, are refused by content.
  const auto refusal = [&](const fs::path& path, std::string_view bytes) {
    if (!bytes.empty() || !fs::exists(path)) writeFile(path, bytes);
    s.videoPath = path.string();
    return checkVideo(s).value_or("accepted");
  };
  EXPECT_EQ(refusal(temp.path() / "camera.flv", testvideos::mp4Video("mp42")),
            "Video the Flash page cannot play (it is an MP4 file, not an F4V; the Flash page "
            "plays FLV and F4V videos only)");
  EXPECT_EQ(refusal(temp.path() / "empty.flv", ""),
            "Video the Flash page cannot play (the file is empty)");
  EXPECT_NE(refusal(temp.path() / "h265.f4v", testvideos::mp4Video("f4v ", "hev1")).find("HEVC"),
            std::string::npos);
  EXPECT_NE(refusal(temp.path() / "notes.flv", "HOME=/root\n").find("not a video file"),
            std::string::npos);
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((temp.path() / "pipe.flv").c_str(), 0600), 0);
  EXPECT_NE(refusal(temp.path() / "pipe.flv", "").find("not a regular file"), std::string::npos);
  EXPECT_NE(refusal("/dev/zero", "").find("not a regular file"), std::string::npos);
  EXPECT_NE(refusal("/proc/self/pagemap", "").find("empty"), std::string::npos);
#endif
}
