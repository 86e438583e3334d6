// What the author is told before converting.
#include <gtest/gtest.h>

#include <algorithm>

#include "webgl/MediaChecks.h"

using namespace qx::webgl;

namespace {

MediaInfo h264Video(int width, int height, double duration) {
  MediaInfo m;
  m.duration = duration;
  m.video = VideoStreamInfo{"h264", "H.264", width, height, 25, true};
  m.audio = AudioStreamInfo{"aac", "AAC", 44100, 2, true};
  return m;
}

bool has(const std::vector<Check>& checks, CheckLevel level, const std::string& part) {
  return std::any_of(checks.begin(), checks.end(), [&](const Check& c) {
    return c.level == level && c.text.find(part) != std::string::npos;
  });
}

}  // namespace

TEST(Checks, TellWhatHappensToTheVideo) {
  WebglConfig config;
  auto checks = mediaChecks(h264Video(1920, 960, 60), config);
  EXPECT_TRUE(has(checks, CheckLevel::Ok, "H.264, copied as it is"));
  EXPECT_TRUE(has(checks, CheckLevel::Ok, "1920 x 960"));
  EXPECT_TRUE(has(checks, CheckLevel::Ok, "Duration: 1:00.0"));
  EXPECT_TRUE(has(checks, CheckLevel::Ok, "AAC, 44100 Hz, stereo, copied"));
  EXPECT_TRUE(canConvert(checks));

  // Sorenson with MP3 is re-encoded, both streams; an odd size loses a column.
  MediaInfo sorenson = h264Video(641, 320, 10);
  sorenson.video = VideoStreamInfo{"flv1", "Sorenson Spark (H.263)", 641, 320, 25, true};
  sorenson.audio = AudioStreamInfo{"mp3", "MP3", 22050, 1, true};
  checks = mediaChecks(sorenson, config);
  EXPECT_TRUE(has(checks, CheckLevel::Note, "re-encoded to H.264"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "MP3, 22050 Hz, mono, re-encoded to AAC"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "odd widths"));

  // Too wide for phones; no decoder stops the run; no video at all stops it too.
  EXPECT_TRUE(has(mediaChecks(h264Video(5760, 2880, 10), config), CheckLevel::Warning, "4096 px"));
  EXPECT_FALSE(has(mediaChecks(h264Video(4096, 2048, 10), config), CheckLevel::Warning, "4096 px"));
  MediaInfo vp6 = sorenson;
  vp6.video->decodable = false;
  EXPECT_FALSE(canConvert(mediaChecks(vp6, config)));
  MediaInfo none;
  EXPECT_TRUE(has(mediaChecks(none, config), CheckLevel::Problem, "no video"));
  EXPECT_FALSE(canConvert(mediaChecks(none, config)));
}

TEST(Checks, NameWhatThePageCannotDo) {
  WebglConfig config;
  config.hotSpots = {{1, 0, 5, 3, 0, "fits", "a.html"},
                     {2, 0, 9, 3, 0, "runs over", "b.html"},
                     {3, 0, 12, 1, 0, "too late", ""}};
  config.main.bufferingTime = 60000;
  auto checks = mediaChecks(h264Video(1920, 960, 10), config);
  EXPECT_FALSE(has(checks, CheckLevel::Note, "Hot spot 1"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "Hot spot 2 would show until 12.0 s"));
  EXPECT_TRUE(
      has(checks, CheckLevel::Warning, "Hot spot 3 starts at 12.0 s, after the video ends"));
  EXPECT_TRUE(has(checks, CheckLevel::Warning, "Hot spot 3 has no link"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "Buffering: 60.0 s is longer than the video"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "tap to play"));
  EXPECT_TRUE(canConvert(checks));

  // Silent video with a volume set; unknown duration; empty values in config.xml.
  MediaInfo silent = h264Video(1920, 960, 0);
  silent.audio.reset();
  config.main.fov.reset();
  config.page.width.reset();
  checks = mediaChecks(silent, config);
  EXPECT_TRUE(has(checks, CheckLevel::Note, "Audio: none, so the volume"));
  EXPECT_TRUE(has(checks, CheckLevel::Warning, "Duration: unknown"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "start zoom (fov) empty"));
  EXPECT_TRUE(has(checks, CheckLevel::Note, "no viewer size"));
  EXPECT_FALSE(has(checks, CheckLevel::Note, "not twice as wide"));
}
