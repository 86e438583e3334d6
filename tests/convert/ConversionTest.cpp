// The browser copy of the video, checked with ffprobe: H.264 and AAC only, the index (moov)
// before the data (mdat), copied streams unchanged packet for packet.
#include <gtest/gtest.h>

#include "TestMedia.h"
#include "common/TempFolder.h"
#include "webgl/MediaProbe.h"
#include "webgl/VideoConverter.h"

using namespace qx::webgl;
namespace fs = std::filesystem;

namespace {

void expectBrowserReady(const fs::path& mp4, bool withAudio = true) {
  ASSERT_TRUE(fs::exists(mp4));
  EXPECT_EQ(testmedia::streamCodecs(mp4), withAudio ? "h264\naac\n" : "h264\n");
  const auto boxes = testmedia::topLevelBoxes(mp4);
  const auto moov = testmedia::indexOf(boxes, "moov");
  const auto mdat = testmedia::indexOf(boxes, "mdat");
  ASSERT_GE(moov, 0);
  ASSERT_GE(mdat, 0);
  EXPECT_LT(moov, mdat);
}

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path().filename());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(Conversion, H264FlvAndF4vAreCopiedWithoutReencoding) {
  TempFolder dir;
  const fs::path flv = dir.path() / "tour.flv";
  ASSERT_TRUE(testmedia::makeVideo(flv, "-c:v libx264 -preset ultrafast -c:a aac", "flv"));
  std::vector<double> progress;
  ConversionResult r = convertToMp4(flv, dir.path() / "tour.mp4",
                                    {[&](double p) { progress.push_back(p); }, nullptr});
  ASSERT_EQ(r.status, ConversionStatus::Done) << r.error;
  EXPECT_FALSE(r.reencodedVideo);
  EXPECT_FALSE(r.reencodedAudio);
  expectBrowserReady(dir.path() / "tour.mp4");
  const std::string hashes = testmedia::videoPacketHashes(flv);
  EXPECT_GT(hashes.size(), 100u);
  EXPECT_EQ(testmedia::videoPacketHashes(dir.path() / "tour.mp4"), hashes);
  ASSERT_FALSE(progress.empty());
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_EQ(progress.back(), 1.0);

  const fs::path f4v = dir.path() / "clip.f4v";
  ASSERT_TRUE(testmedia::makeVideo(f4v, "-c:v libx264 -preset ultrafast -c:a aac", "f4v"));
  r = convertToMp4(f4v, dir.path() / "clip.mp4");
  ASSERT_EQ(r.status, ConversionStatus::Done) << r.error;
  EXPECT_FALSE(r.reencodedVideo);
  expectBrowserReady(dir.path() / "clip.mp4");
  EXPECT_EQ(testmedia::videoPacketHashes(dir.path() / "clip.mp4"),
            testmedia::videoPacketHashes(f4v));
  EXPECT_EQ(filesIn(dir.path()),
            (std::vector<fs::path>{"clip.f4v", "clip.mp4", "tour.flv", "tour.mp4"}));
}

TEST(Conversion, SorensonAndMp3AreReencoded) {
  TempFolder dir;
  const fs::path flv = dir.path() / "old.flv";
  // An odd width, a rate AAC keeps (22050 Hz) and mono sound.
  ASSERT_TRUE(
      testmedia::makeVideo(flv, "-c:v flv1 -c:a libmp3lame -ar 22050 -ac 1", "flv", 2, "321x160"));
  const fs::path mp4 = dir.path() / "old.mp4";
  const ConversionResult r = convertToMp4(flv, mp4);
  ASSERT_EQ(r.status, ConversionStatus::Done) << r.error;
  EXPECT_TRUE(r.reencodedVideo);
  EXPECT_TRUE(r.reencodedAudio);
  expectBrowserReady(mp4);
  const auto info = probeMedia(mp4);
  ASSERT_TRUE(info);
  EXPECT_EQ(info.value().video->width, 320);
  EXPECT_EQ(info.value().video->height, 160);
  EXPECT_EQ(info.value().audio->sampleRate, 22050);
  EXPECT_EQ(info.value().audio->channels, 1);
  EXPECT_NEAR(info.value().duration, 2.0, 0.15);

  // Video alone, no sound track.
  const fs::path mute = dir.path() / "mute.flv";
  ASSERT_TRUE(testmedia::makeVideo(mute, "-c:v flv1", "flv", 1, "320x160", false));
  ASSERT_EQ(convertToMp4(mute, dir.path() / "mute.mp4").status, ConversionStatus::Done);
  expectBrowserReady(dir.path() / "mute.mp4", false);
}

TEST(Conversion, CancelAndFailureLeaveNothingHalfWritten) {
  TempFolder dir;
  const fs::path flv = dir.path() / "old.flv";
  ASSERT_TRUE(testmedia::makeVideo(flv, "-c:v flv1 -c:a libmp3lame", "flv", 4));
  const fs::path mp4 = dir.path() / "old.mp4";

  // Cancelled part way: the old copy stays as it was and no partial file is left.
  ASSERT_EQ(qx::writeFileReplacing(mp4, "previous copy"), std::nullopt);
  std::atomic<bool> cancel{false};
  double seen = 0;
  const ConversionResult r = convertToMp4(flv, mp4,
                                          {[&](double p) {
                                             seen = p;
                                             if (p > 0.3) cancel = true;
                                           },
                                           &cancel});
  EXPECT_EQ(r.status, ConversionStatus::Cancelled);
  EXPECT_LT(seen, 0.9);
  EXPECT_EQ(qx::readFileBytes(mp4).value(), "previous copy");
  EXPECT_EQ(filesIn(dir.path()), (std::vector<fs::path>{"old.flv", "old.mp4"}));

  // Not a video, a missing one, the video itself as target, a folder that cannot be written.
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "bad.flv", "FLV\x01 but nothing else"),
            std::nullopt);
  EXPECT_EQ(convertToMp4(dir.path() / "bad.flv", dir.path() / "bad.mp4").status,
            ConversionStatus::Failed);
  EXPECT_EQ(convertToMp4(dir.path() / "gone.flv", dir.path() / "gone.mp4").status,
            ConversionStatus::Failed);
  EXPECT_EQ(convertToMp4(flv, flv).status, ConversionStatus::Failed);
  const ConversionResult noFolder = convertToMp4(flv, dir.path() / "no" / "such.mp4");
  EXPECT_EQ(noFolder.status, ConversionStatus::Failed);
  EXPECT_FALSE(noFolder.error.empty());
  EXPECT_EQ(filesIn(dir.path()), (std::vector<fs::path>{"bad.flv", "old.flv", "old.mp4"}));
}
