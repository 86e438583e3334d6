// The browser copy of the video, checked with ffprobe: H.264 and AAC only, the index (moov)
// before the data (mdat), copied streams unchanged packet for packet.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/TempFolder.h"
#include "common/TestMedia.h"
#include "webgl/MediaChecks.h"
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

TEST(Conversion, OnlyFlvAndMp4FilesAreOpened) {
  TempFolder dir;
  // A playlist under a video's name would pull in files from anywhere; an image is no video.
  const fs::path outside = dir.path() / "secret.ts";
  ASSERT_TRUE(testmedia::makeVideo(outside, "-c:v libx264", "mpegts", 1));
  std::ofstream(dir.path() / "list.flv") << "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n"
                                         << outside.string() << "\n#EXT-X-ENDLIST\n";
  ASSERT_EQ(std::system(("ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=64x32 "
                         "-frames:v 1 -f image2 " +
                         testmedia::quoted(dir.path() / "still.flv"))
                            .c_str()),
            0);
  for (const char* name : {"list.flv", "still.flv"}) {
    const auto info = probeMedia(dir.path() / name);
    ASSERT_FALSE(info) << name;
    EXPECT_NE(info.error().reason.find("not an FLV, F4V or MP4 video"), std::string::npos)
        << info.error().reason;
    EXPECT_EQ(convertToMp4(dir.path() / name, dir.path() / "out.mp4").status,
              ConversionStatus::Failed);
  }
  EXPECT_FALSE(fs::exists(dir.path() / "out.mp4"));
  // By content, not by name: an F4V named .flv is read.
  ASSERT_TRUE(testmedia::makeVideo(dir.path() / "f4v.flv", "-c:v libx264", "f4v", 1));
  EXPECT_TRUE(probeMedia(dir.path() / "f4v.flv"));
}

TEST(Conversion, GiantFramesAreRefusedBeforeTheyAreDecoded) {
  TempFolder dir;
  const fs::path flv = dir.path() / "big.flv";
  ASSERT_TRUE(testmedia::makeVideo(flv, "-c:v flv1", "flv", 2, "320x160", false));
  // The first frames are honest, the later ones claim 16000 x 16000: only the frames tell.
  testmedia::claimPictureSize(flv, 16000, 16000, 10);
  const auto info = probeMedia(flv);
  ASSERT_TRUE(info);
  EXPECT_EQ(info.value().video->width, 320);
  const ConversionResult r = convertToMp4(flv, dir.path() / "big.mp4");
  EXPECT_EQ(r.status, ConversionStatus::Failed);
  EXPECT_NE(r.error.find("larger than the 8192 x 4096 px"), std::string::npos) << r.error;
  EXPECT_EQ(filesIn(dir.path()), std::vector<fs::path>{"big.flv"});

  // Every frame giant: the checks stop it before any conversion.
  testmedia::claimPictureSize(flv, 16000, 16000);
  const auto all = probeMedia(flv);
  ASSERT_TRUE(all);
  const auto checks = mediaChecks(all.value(), {});
  EXPECT_FALSE(canConvert(checks));
  EXPECT_TRUE(std::any_of(checks.begin(), checks.end(), [](const Check& c) {
    return c.level == CheckLevel::Problem && c.text.find("8192 x 4096 px") != std::string::npos;
  }));
}

TEST(Conversion, CancelStopsWithinASecondEvenInJunk) {
  TempFolder dir;
  const fs::path flv = dir.path() / "junk.flv";
  ASSERT_TRUE(testmedia::makeVideo(flv, "-c:v flv1", "flv", 1, "320x160", false));
  // Zeros after the last frame, which the reader skips in search of the next one.
  fs::resize_file(flv, fs::file_size(flv) + (std::uintmax_t{512} << 20));
  std::atomic<bool> cancel{false};
  std::chrono::steady_clock::time_point stopAt;
  std::thread stopper([&] {
    // The few real frames take a moment; the rest of the run is spent in the zeros.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    stopAt = std::chrono::steady_clock::now();
    cancel = true;
  });
  const ConversionResult r = convertToMp4(flv, dir.path() / "junk.mp4", {{}, &cancel});
  const auto latency = std::chrono::steady_clock::now() - stopAt;
  stopper.join();
  EXPECT_EQ(r.status, ConversionStatus::Cancelled) << r.error;
  EXPECT_LT(latency, std::chrono::seconds(1));
  EXPECT_EQ(filesIn(dir.path()), std::vector<fs::path>{"junk.flv"});
}

TEST(Conversion, CutShortOrFramelessVideosAreToldBeforeConverting) {
  TempFolder dir;
  const fs::path whole = dir.path() / "whole.flv";
  ASSERT_TRUE(testmedia::makeVideo(whole, "-c:v flv1 -c:a libmp3lame", "flv", 4));
  const auto checksOf = [](const fs::path& video) {
    const auto info = probeMedia(video);
    EXPECT_TRUE(info) << (info ? "" : info.error().reason);
    return info ? mediaChecks(info.value(), {}) : std::vector<Check>{};
  };
  const auto has = [](const std::vector<Check>& checks, CheckLevel level, const std::string& part) {
    return std::any_of(checks.begin(), checks.end(), [&](const Check& c) {
      return c.level == level && c.text.find(part) != std::string::npos;
    });
  };
  EXPECT_TRUE(has(checksOf(whole), CheckLevel::Ok, "Duration: 4.0 s"));

  // Half the file: the header still says 4 s.
  const fs::path half = dir.path() / "half.flv";
  fs::copy_file(whole, half);
  fs::resize_file(half, fs::file_size(whole) / 2);
  const auto halfChecks = checksOf(half);
  EXPECT_TRUE(has(halfChecks, CheckLevel::Warning, "looks cut short")) << halfChecks.front().text;
  EXPECT_TRUE(canConvert(halfChecks));

  // Cut before the first frame: a Sorenson file after its stream description, an H.264 one
  // after its decoder setup too.
  const fs::path h264 = dir.path() / "h264.flv";
  ASSERT_TRUE(testmedia::makeVideo(h264, "-c:v libx264", "flv", 1, "320x160", false));
  for (const auto& [video, tags] : {std::pair{whole, 1}, std::pair{h264, 2}}) {
    const fs::path empty = dir.path() / "empty.flv";
    fs::copy_file(video, empty, fs::copy_options::overwrite_existing);
    std::ifstream in(video, std::ios::binary);
    std::uintmax_t end = 13;
    for (int t = 0; t < tags; ++t) {
      unsigned char tag[4] = {};
      in.seekg(static_cast<std::streamoff>(end));
      in.read(reinterpret_cast<char*>(tag), 4);
      end += 11 + ((tag[1] << 16) | (tag[2] << 8) | tag[3]) + 4;
    }
    fs::resize_file(empty, end);
    const auto emptyChecks = checksOf(empty);
    EXPECT_TRUE(has(emptyChecks, CheckLevel::Problem, "Video: the file holds no video")) << video;
    EXPECT_FALSE(canConvert(emptyChecks));
  }
}
