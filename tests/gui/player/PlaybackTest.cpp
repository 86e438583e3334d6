// The real player on videos of each kind the program takes: it plays, tells where it is, and
// seekAndFreeze leaves it paused on the very frame asked for.
#include <gtest/gtest.h>

#include <filesystem>

#include "gui/player/PlayerTestKit.h"

namespace qx {
namespace {

using test::VideoKind;

class PlaybackTest : public testing::TestWithParam<VideoKind> {};

TEST_P(PlaybackTest, PlaysThenFreezesOnTheFrameAskedFor) {
  test::PlayerWithVideo preview(GetParam());
  ASSERT_FALSE(preview.video.isEmpty()) << "ffmpeg could not make the video";
  QtPreviewPlayer& player = preview.player;
  const auto freezesOn = [&](double seconds, int frame) {
    player.seekAndFreeze(seconds);
    EXPECT_EQ(player.mediaEngine()->playbackState(), PlaybackState::Paused);
    EXPECT_DOUBLE_EQ(player.getPosition(), seconds);
    // The frame comes once the decoder has worked its way there from the key frame.
    EXPECT_TRUE(test::waitUntil([&] { return test::frameShown(player) == frame; }, 2000))
        << "shows " << test::frameShown(player).value_or(-1) << " instead of " << frame;
    test::waitUntil([] { return false; }, 300);  // and it stands still there
    EXPECT_DOUBLE_EQ(player.getPosition(), seconds);
    EXPECT_EQ(test::frameShown(player), frame);
  };

  // Straight after loading, as a project does when it shows its first hot spot: a seek issued
  // while the media is still loading would be lost.
  player.loadAndPlay(preview.video);
  freezesOn(1.5, 15);

  ASSERT_TRUE(preview.playPast(0.3)) << player.mediaEngine()->errorString().toStdString();
  EXPECT_EQ(player.mediaEngine()->playbackState(), PlaybackState::Playing);
  const double early = player.getPosition();
  ASSERT_TRUE(test::waitUntil([&] { return player.getPosition() > early + 0.2; }, 5000));
  EXPECT_LT(player.getPosition(), 4.0);

  freezesOn(2.0, 20);
  if (const QString shot = qEnvironmentVariable("QX_PLAYER_SCREENSHOT"); !shot.isEmpty()) {
    player.placeYawMarker(-45);
    player.widget()->grab().save(shot);
  }
  freezesOn(0.7, 7);  // backwards, far from the only key frame
}

TEST(PlaybackPathTest, PlaysFromAFolderWithSpacesAndUrlCharacters) {
  test::PlayerWithVideo preview(VideoKind::SorensonFlv);
  ASSERT_FALSE(preview.video.isEmpty());
  const auto folder = preview.folder.path() / u8"Vidéos #1 100% ?a=b";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(preview.video.toStdString(), folder / "my video.flv");
  preview.video = QString::fromStdString((folder / "my video.flv").string());
  EXPECT_TRUE(preview.playPast(0.2)) << preview.player.mediaEngine()->errorString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EachKind, PlaybackTest,
                         testing::Values(VideoKind::SorensonFlv, VideoKind::H264Flv,
                                         VideoKind::F4v),
                         [](const testing::TestParamInfo<VideoKind>& info) {
                           switch (info.param) {
                             case VideoKind::SorensonFlv:
                               return "SorensonFlv";
                             case VideoKind::H264Flv:
                               return "H264Flv";
                             case VideoKind::F4v:
                               return "F4v";
                           }
                           return "Unknown";
                         });

}  // namespace
}  // namespace qx
