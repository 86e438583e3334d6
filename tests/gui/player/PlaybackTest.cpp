// The real player on videos of each kind the program takes: it plays, tells where it is, and
// seekAndFreeze leaves it paused on the very frame asked for.
#include <gtest/gtest.h>

#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QWidget>
#include <memory>

#include "common/TempFolder.h"
#include "gui/player/TestVideos.h"
#include "preview/QtPreviewPlayer.h"

namespace qx {
namespace {

using test::VideoKind;

struct Preview {
  QWidget window;
  QtPreviewPlayer player{&window};

  Preview() {
    window.resize(950, 560);
    window.show();
  }
  QImage picture() { return player.widget()->grab().toImage(); }
  // Where the video shows inside the player area.
  QRectF videoRect() const {
    QGraphicsVideoItem* item = player.videoItem();
    return item->mapRectToScene(item->boundingRect());
  }
  std::optional<int> frameShown() { return test::readFrameNumber(picture(), videoRect()); }
};

class PlaybackTest : public testing::TestWithParam<VideoKind> {};

TEST_P(PlaybackTest, PlaysThenFreezesOnTheFrameAskedFor) {
  TempFolder folder;
  const auto video = test::makeTestVideo(folder.path(), GetParam());
  ASSERT_FALSE(video.empty()) << "ffmpeg could not make the video";
  Preview preview;
  QtPreviewPlayer& player = preview.player;

  player.loadAndPlay(QString::fromStdString(video.string()));
  ASSERT_TRUE(test::waitUntil([&] { return player.getPosition() > 0.3; }, 10000))
      << "status " << player.mediaPlayer().mediaStatus() << " error "
      << player.mediaPlayer().errorString().toStdString();
  EXPECT_EQ(player.mediaPlayer().playbackState(), QMediaPlayer::PlayingState);
  const double early = player.getPosition();
  ASSERT_TRUE(test::waitUntil([&] { return player.getPosition() > early + 0.2; }, 5000));

  player.seekAndFreeze(2.0);
  EXPECT_EQ(player.mediaPlayer().playbackState(), QMediaPlayer::PausedState);
  EXPECT_DOUBLE_EQ(player.getPosition(), 2.0);
  test::waitUntil([] { return false; }, 300);
  EXPECT_DOUBLE_EQ(player.getPosition(), 2.0);
  EXPECT_EQ(preview.frameShown(), 20);

  // Backwards, between key frames.
  player.seekAndFreeze(0.7);
  test::waitUntil([] { return false; }, 200);
  EXPECT_DOUBLE_EQ(player.getPosition(), 0.7);
  EXPECT_EQ(preview.frameShown(), 7);
}

INSTANTIATE_TEST_SUITE_P(EachKind, PlaybackTest,
                         testing::Values(VideoKind::SorensonFlv, VideoKind::H264Flv,
                                         VideoKind::F4v));

}  // namespace
}  // namespace qx
