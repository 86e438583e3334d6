// What the player does with files it cannot play: it shows nothing, reports 0, and neither
// stops nor hangs the program.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QToolButton>
#include <QWidget>
#include <fstream>

#include "common/TempFolder.h"
#include "gui/player/PlayerTestKit.h"
#include "preview/QtPreviewPlayer.h"

namespace qx {
namespace {

// True when no pixel of the video part of the area (above the controls) is lit, the marker's
// columns aside.
bool videoPartDark(QtPreviewPlayer& player) {
  const QImage picture = player.widget()->grab().toImage();
  const int markerLeft = player.markerGeometry().x() - 250;
  for (int y = 0; y < 300 - QtPreviewPlayer::kControlsHeight; y += 3)
    for (int x = 0; x < 448; x += 3)
      if ((x < markerLeft || x >= markerLeft + 3) && qGray(picture.pixel(x, y)) > 40) return false;
  return true;
}

TEST(FailureTest, UnplayableFilesShowNothingAndReadZero) {
  test::PlayerWithVideo preview(test::VideoKind::SorensonFlv);
  ASSERT_FALSE(preview.video.isEmpty());
  QtPreviewPlayer& player = preview.player;
  const std::filesystem::path folder = preview.folder.path();
  const auto text = folder / "notes.flv";
  std::ofstream(text) << "only some text that calls itself a video";
  // FLV's signature and nothing after it: GStreamer takes it up and never finishes loading.
  const auto stub = folder / "stub.flv";
  std::ofstream(stub) << "FLV\x01\x05";

  EXPECT_EQ(player.getPosition(), 0) << "nothing loaded yet";
  player.seekAndFreeze(2.0);
  player.pausePlayer();
  player.stopPlayer();
  EXPECT_EQ(player.getPosition(), 0);

  const auto pathText = [](const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
  };
  for (const QString& path : {pathText(text), pathText(stub), pathText(folder / "gone.flv"),
                              pathText(folder), QString()}) {
    SCOPED_TRACE(path.toStdString());
    // A good video first, so that there is a picture to lose.
    ASSERT_TRUE(preview.playPast(0.2));
    ASSERT_FALSE(videoPartDark(player));

    player.loadAndPlay(path);
    EXPECT_EQ(player.getPosition(), 0);
    QElapsedTimer clock;
    clock.start();
    player.seekAndFreeze(1.0);
    EXPECT_LT(clock.elapsed(), QtPreviewPlayer::kLoadWaitMs + 1000);
    clock.restart();
    player.seekAndFreeze(1.5);
    EXPECT_LT(clock.elapsed(), 500) << "waited again for a file that does not load";
    test::waitUntil([] { return false; }, 100);
    EXPECT_EQ(player.getPosition(), 0);
    EXPECT_TRUE(videoPartDark(player));
    // Nor do the controls pretend to play it.
    EXPECT_EQ(player.transportBar()->playPauseButton()->accessibleName(), "Play");
  }
}

TEST(FailureTest, ReleasedPlayerIgnoresEveryCall) {
  test::PlayerWithVideo preview(test::VideoKind::H264Flv);
  ASSERT_FALSE(preview.video.isEmpty());
  QtPreviewPlayer& player = preview.player;
  ASSERT_TRUE(preview.playPast(0.2));

  player.releasePlayer();
  EXPECT_EQ(player.mediaEngine()->playbackState(), PlaybackState::Stopped);
  player.loadAndPlay(preview.video);
  player.seekAndFreeze(1.0);
  EXPECT_EQ(player.getPosition(), 0);
  EXPECT_EQ(player.mediaEngine()->playbackState(), PlaybackState::Stopped);
  player.releasePlayer();
}

TEST(FailureTest, WindowMayGoBeforeThePlayer) {
  TempFolder folder;
  const auto video = test::makeTestVideo(folder.path(), test::VideoKind::SorensonFlv);
  ASSERT_FALSE(video.empty());
  auto window = std::make_unique<QWidget>();
  auto player = makePreviewPlayer(window.get(), test::builtMediaModule());
  player->loadAndPlay(QString::fromStdString(video.string()));
  ASSERT_TRUE(test::waitUntil([&] { return player->getPosition() > 0.2; }, 10000));
  window.reset();  // takes the player's area with it
  EXPECT_EQ(player->widget(), nullptr);
  player->loadAndPlay(QString::fromStdString(video.string()));
  player->seekAndFreeze(1.0);
  player->placeYawMarker(20);
  player->refreshYawMarkerLater(30);
  test::waitUntil([] { return false; }, 200);
  player->releasePlayer();
  player.reset();
}

}  // namespace
}  // namespace qx
