// The whole run on a published folder: reading, converting, and the files written beside the page.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "common/TempFolder.h"
#include "common/TestMedia.h"
#include "project/FileIo.h"
#include "webgl/WebglVersion.h"

using namespace qx::webgl;
namespace fs = std::filesystem;

namespace {

// Stand-ins for the browser page's templates: every placeholder, nothing else.
const WebAssets kAssets{
    "<title>{{TITLE}}</title><body style=\"background:{{BGCOLOR}}\"><script id=\"qx-config\" "
    "type=\"application/json\">{{CONFIG_JSON}}</script><script src=\"{{SCRIPT}}\"></script>",
    "<title>{{TITLE}}</title><a href=\"{{FLASH_PAGE}}\">Flash</a> <a "
    "href=\"{{WEBGL_PAGE}}\">WebGL</a>",
    {{"qx_webgl.js", "console.log('viewer');"}, {"qx_extra.css", "body{}"}}};

void publishFolder(const fs::path& dir, const std::string& title, const std::string& movie) {
  ASSERT_EQ(qx::writeFileReplacing(
                dir / "my tour.html",
                "<html>\r\n<head>\r\n    <title>" + title +
                    "</title>\r\n        html, body { height:100%; background-COLOR: 000080;}\r\n"
                    "<body>\r\n    <center>\r\n   <object classid=\"x\" width=800 height=400 "
                    "id=\"qx_flash_hs\">\r\n"),
            std::nullopt);
  ASSERT_EQ(
      qx::writeFileReplacing(
          dir / "config.xml",
          "\xEF\xBB\xBF<config>\r\n<main>\r\n<movie>" + movie +
              "</movie>\r\n<fov>80</fov>\r\n</main>\r\n"
              "        <hotspot id=\"hotspot2\" yaw=\"-180\" pos=\"0.5\" time=\"1.0\" self=\"1\" "
              "title=\"Door\" link=\"door.html\"> </hotspot>\r\n</config>\r\n"),
      std::nullopt);
}

std::string read(const fs::path& p) {
  return qx::readFileBytes(p).value();
}

}  // namespace

TEST(WebglVersion, WritesTheSetBesideThePage) {
  TempFolder dir;
  publishFolder(dir.path(), "Tour &lt;1&gt; &amp; more", "tour.flv");
  ASSERT_TRUE(testmedia::makeVideo(dir.path() / "tour.flv",
                                   "-c:v libx264 -preset ultrafast -c:a aac", "flv", 2));
  auto plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_TRUE(plan) << plan.error().message();
  EXPECT_EQ(plan.value().names.video, dir.path() / "tour.mp4");
  EXPECT_EQ(plan.value().config.flashPage, "my%20tour.html");
  EXPECT_TRUE(canConvert(plan.value().checks));

  const WebglOutcome out = writeWebglVersion(plan.value(), kAssets);
  ASSERT_EQ(out.status, ConversionStatus::Done) << out.error;
  EXPECT_EQ(out.written,
            (std::vector<fs::path>{dir.path() / "tour.mp4", dir.path() / "tour.poster.jpg",
                                   dir.path() / "qx_webgl.js", dir.path() / "qx_extra.css",
                                   dir.path() / "my tour.webgl.html",
                                   dir.path() / "my tour.select.html"}));
  EXPECT_EQ(read(dir.path() / "qx_webgl.js"), "console.log('viewer');");

  const std::string page = read(dir.path() / "my tour.webgl.html");
  EXPECT_NE(page.find("<title>Tour &lt;1&gt; &amp; more</title>"), std::string::npos);
  EXPECT_NE(page.find("background:#000080"), std::string::npos);
  EXPECT_NE(page.find("<script src=\"qx_webgl.js\">"), std::string::npos);
  EXPECT_NE(page.find("\"video\": \"tour.mp4\""), std::string::npos);
  EXPECT_NE(page.find("\"title\": \"Tour \\u003c1\\u003e \\u0026 more\""), std::string::npos);
  EXPECT_NE(page.find("\"width\": 800, \"height\": 400, \"border\": false, \"iframe\": false"),
            std::string::npos);
  EXPECT_NE(page.find("\"fov\": 80"), std::string::npos);
  EXPECT_NE(
      page.find(
          "{\"id\": 2, \"yaw\": -180, \"pos\": 0.5, \"time\": 1, \"self\": 1, \"title\": \"Door\""),
      std::string::npos);
  const std::string select = read(dir.path() / "my tour.select.html");
  EXPECT_NE(select.find("href=\"my%20tour.html\""), std::string::npos);
  EXPECT_NE(select.find("href=\"my%20tour.webgl.html\""), std::string::npos);
}

TEST(WebglVersion, RefusesFoldersItCannotUse) {
  TempFolder dir;
  // No config.xml.
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "tour.html", "<html></html>"), std::nullopt);
  auto plan = planWebglVersion(dir.path() / "tour.html");
  ASSERT_FALSE(plan);
  EXPECT_NE(plan.error().message().find("config.xml"), std::string::npos);
  // No page.
  EXPECT_FALSE(planWebglVersion(dir.path() / "none.html"));
  // config.xml names a video that is not there; a path in it cannot leave the folder.
  publishFolder(dir.path(), "T", "../../etc/tour.flv");
  plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_FALSE(plan);
  EXPECT_EQ(plan.error().path, dir.path() / "tour.flv");
  // Not a video: nothing is written.
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "tour.flv", "not a video"), std::nullopt);
  EXPECT_FALSE(planWebglVersion(dir.path() / "my tour.html"));
  // No movie named but one FLV in the folder: that one is used.
  publishFolder(dir.path(), "T", "");
  fs::remove(dir.path() / "tour.flv");
  ASSERT_TRUE(
      testmedia::makeVideo(dir.path() / "only.flv", "-c:v flv1", "flv", 1, "320x160", false));
  plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_TRUE(plan) << plan.error().message();
  EXPECT_EQ(plan.value().names.video.filename(), "only.mp4");
}

TEST(WebglVersion, WritesPosterAndCaptionsBesideTheVideo) {
  TempFolder dir;
  // An MP4 source keeps its name, so its copy and the captions' copy get new ones. One frame
  // only: the decoder gives it up only when told the stream has ended. Wider than a poster is.
  publishFolder(dir.path(), "T", "tour.mp4");
  ASSERT_TRUE(testmedia::makeVideo(dir.path() / "tour.mp4", "-frames:v 1 -c:v libx264", "mp4", 0.04,
                                   "2560x1280", false));
  const std::string vtt = "WEBVTT\n\n00:00.000 --> 00:01.000\nHello <b>there</b>\n";
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "tour.vtt", vtt), std::nullopt);
  auto plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_TRUE(plan) << plan.error().message();
  const WebglOutcome out = writeWebglVersion(plan.value(), kAssets);
  ASSERT_EQ(out.status, ConversionStatus::Done) << out.error;
  EXPECT_EQ(std::vector<fs::path>(out.written.begin(), out.written.begin() + 4),
            (std::vector<fs::path>{
                dir.path() / "tour.browser.mp4", dir.path() / "tour.browser.1920.mp4",
                dir.path() / "tour.browser.poster.jpg", dir.path() / "tour.browser.vtt"}));
  EXPECT_EQ(read(dir.path() / "tour.browser.vtt"), vtt);
  EXPECT_EQ(testmedia::run("ffprobe -v error -show_entries stream=codec_name,width,height -of "
                           "csv=p=0 " +
                           testmedia::quoted(dir.path() / "tour.browser.poster.jpg")),
            "mjpeg,2048,1024\n");
  const std::string page = read(dir.path() / "my tour.webgl.html");
  EXPECT_NE(page.find("\"poster\": \"tour.browser.poster.jpg\""), std::string::npos);
  EXPECT_NE(page.find("\"captions\": \"tour.browser.vtt\""), std::string::npos);

  // A file that is not WebVTT is left out with a warning, not copied for the browser to drop.
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "tour.vtt", "1\n00:00:00,000 --> 00:00:01,000\n"),
            std::nullopt);
  plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_TRUE(plan);
  EXPECT_TRUE(plan.value().config.captions.empty());
  EXPECT_TRUE(
      std::any_of(plan.value().checks.begin(), plan.value().checks.end(),
                  [](const Check& c) { return c.text.find("WEBVTT") != std::string::npos; }));
}

TEST(WebglVersion, WideVideoGetsALighterCopyAndCancelLeavesNothing) {
  TempFolder dir;
  publishFolder(dir.path(), "T", "tour.flv");
  ASSERT_TRUE(testmedia::makeVideo(
      dir.path() / "tour.flv", "-c:v libx264 -preset ultrafast -c:a aac", "flv", 2, "2560x1280"));
  auto plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_TRUE(plan) << plan.error().message();
  ASSERT_TRUE(writesLighterVideo(plan.value()));

  // Cancelled in the lighter copy's pass: the copy already made is not left behind either.
  std::atomic<bool> cancel{false};
  double last = 0;
  WebglOutcome out = writeWebglVersion(plan.value(), kAssets,
                                       {[&](double p) {
                                          EXPECT_GE(p, last);
                                          last = p;
                                          if (p > 0.5) cancel = true;
                                        },
                                        &cancel});
  EXPECT_EQ(out.status, ConversionStatus::Cancelled);
  EXPECT_TRUE(out.written.empty());
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"config.xml", "my tour.html", "tour.flv"}));

  last = 0;
  out = writeWebglVersion(plan.value(), kAssets, {[&](double p) { last = p; }, nullptr});
  ASSERT_EQ(out.status, ConversionStatus::Done) << out.error;
  EXPECT_EQ(last, 1.0);
  const fs::path lighter = dir.path() / "tour.1920.mp4";
  EXPECT_EQ(out.written[1], lighter);
  EXPECT_EQ(testmedia::run("ffprobe -v error -show_entries stream=codec_name,width,height -of "
                           "csv=p=0 " +
                           testmedia::quoted(lighter)),
            "h264,1920,960\naac\n");
  const auto boxes = testmedia::topLevelBoxes(lighter);
  EXPECT_LT(testmedia::indexOf(boxes, "moov"), testmedia::indexOf(boxes, "mdat"));
  const std::string page = read(dir.path() / "my tour.webgl.html");
  // Named widest first, with the sizes the page chooses by.
  const auto entry = [&](const std::string& name, const std::string& size) {
    return "{\"video\": \"" + name + "\", " + size +
           ", \"bytes\": " + std::to_string(fs::file_size(dir.path() / name)) + ", \"bitrate\": ";
  };
  const auto first = page.find(entry("tour.mp4", "\"width\": 2560, \"height\": 1280"));
  const auto second = page.find(entry("tour.1920.mp4", "\"width\": 1920, \"height\": 960"));
  EXPECT_NE(first, std::string::npos) << page;
  EXPECT_NE(second, std::string::npos) << page;
  EXPECT_LT(first, second);

  // A video 1920 wide or less has one version only.
  fs::remove(dir.path() / "tour.flv");
  ASSERT_TRUE(testmedia::makeVideo(dir.path() / "tour.flv", "-c:v libx264 -preset ultrafast", "flv",
                                   0.2, "1024x512", false));
  plan = planWebglVersion(dir.path() / "my tour.html");
  ASSERT_TRUE(plan);
  EXPECT_FALSE(writesLighterVideo(plan.value()));
  EXPECT_TRUE(plan.value().config.renditions.empty());
}
