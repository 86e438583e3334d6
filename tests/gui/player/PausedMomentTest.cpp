// Pausing a playing video, as Add Hot Spot does, then reading the position: the moment given is
// the one of the frame the preview shows, not the media clock's, which runs ahead of the picture.
#include <gtest/gtest.h>

#include <cmath>

#include "gui/player/PlayerTestKit.h"

namespace qx {
namespace {

using test::VideoKind;

class PausedMomentTest : public testing::TestWithParam<VideoKind> {};

TEST_P(PausedMomentTest, PositionAfterPauseIsTheMomentOfTheFrameShown) {
  test::PlayerWithVideo preview(GetParam());
  ASSERT_FALSE(preview.video.isEmpty()) << "ffmpeg could not make the video";
  QtPreviewPlayer& player = preview.player;
  ASSERT_TRUE(preview.playPast(0.2)) << player.mediaEngine()->errorString().toStdString();
  // Several pauses at whatever moments playing reaches, each played on from the last.
  for (const double past : {0.9, 1.7, 2.6}) {
    ASSERT_TRUE(test::waitUntil([&] { return player.getPosition() > past; }, 5000));
    player.pausePlayer();
    const double position = player.getPosition();
    test::waitUntil([] { return false; }, 300);  // a late frame would still come now
    const auto frame = test::frameShown(player);
    ASSERT_TRUE(frame.has_value());
    // Frame n is shown from n / 10 s until the next one.
    EXPECT_GE(position, *frame / double(test::kFramesPerSecond) - 1e-6)
        << "position " << position << " for frame " << *frame;
    EXPECT_LT(position, (*frame + 1) / double(test::kFramesPerSecond) - 1e-6)
        << "position " << position << " for frame " << *frame;
    EXPECT_EQ(player.getPosition(), position) << "the position moved after the pause";
    player.mediaEngine()->play();
  }
}

INSTANTIATE_TEST_SUITE_P(EachKind, PausedMomentTest,
                         testing::Values(VideoKind::SorensonFlv, VideoKind::F4v),
                         [](const testing::TestParamInfo<VideoKind>& info) {
                           return info.param == VideoKind::F4v ? "F4v" : "SorensonFlv";
                         });

}  // namespace
}  // namespace qx
