// The preview's own controls drive the same player the program drives, and the program's
// seekAndFreeze still works after the author has let the video run out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAudio>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "gui/player/PlayerTestKit.h"
#include "preview/TransportBar.h"

namespace qx {
namespace {

TEST(TransportTest, PlayTimeText) {
  EXPECT_EQ(playTimeText(0), "0:00");
  EXPECT_EQ(playTimeText(-40), "0:00");
  EXPECT_EQ(playTimeText(7999), "0:07");
  EXPECT_EQ(playTimeText(754000), "12:34");
  EXPECT_EQ(playTimeText(3723000), "1:02:03");
}

// The program has the volume curve without Qt Multimedia: it must stay Qt's.
TEST(TransportTest, VolumeCurveIsQtsLogarithmicScale) {
  for (int percent = 0; percent <= 100; ++percent)
    EXPECT_NEAR(linearVolume(percent),
                QAudio::convertVolume(percent / 100.0f, QAudio::LogarithmicVolumeScale,
                                      QAudio::LinearVolumeScale),
                1e-6)
        << percent;
}

TEST(TransportTest, ControlsPlayPauseStopSeekAndSetTheVolume) {
  test::PlayerWithVideo preview(test::VideoKind::H264Flv);
  ASSERT_FALSE(preview.video.isEmpty());
  QtPreviewPlayer& player = preview.player;
  TransportBar& bar = *player.transportBar();
  const MediaEngine& media = *player.mediaEngine();
  EXPECT_EQ(bar.timeLabel()->text(), "0:00 / 0:00");

  ASSERT_TRUE(preview.playPast(0.2));
  EXPECT_NEAR(bar.positionSlider()->maximum(), 4000, 100);
  EXPECT_TRUE(bar.timeLabel()->text().endsWith(" / 0:04")) << bar.timeLabel()->text().toStdString();
  EXPECT_GT(bar.positionSlider()->value(), 0);

  bar.playPauseButton()->click();
  EXPECT_EQ(media.playbackState(), PlaybackState::Paused);
  bar.playPauseButton()->click();
  EXPECT_EQ(media.playbackState(), PlaybackState::Playing);
  bar.stopButton()->click();
  EXPECT_EQ(media.playbackState(), PlaybackState::Stopped);
  EXPECT_EQ(player.getPosition(), 0);

  // From stopped (publishing stops the preview) to a hot spot's moment; then a step on the
  // slider seeks on to 2.0 s and shows that frame while paused.
  player.seekAndFreeze(1.0);
  EXPECT_TRUE(test::waitUntil([&] { return test::frameShown(player) == 10; }, 2000));
  EXPECT_EQ(bar.positionSlider()->value(), 1000);
  EXPECT_EQ(bar.timeLabel()->text(), "0:01 / 0:04");
  bar.positionSlider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(test::waitUntil([&] { return test::frameShown(player) == 20; }, 3000))
      << test::frameShown(player).value_or(-1);
  EXPECT_DOUBLE_EQ(player.getPosition(), 2.0);
  EXPECT_EQ(media.playbackState(), PlaybackState::Paused);

  EXPECT_FLOAT_EQ(media.volume(), 1.0f);
  bar.volumeSlider()->setValue(0);
  EXPECT_FLOAT_EQ(media.volume(), 0.0f);
  bar.volumeSlider()->setValue(50);
  EXPECT_FLOAT_EQ(media.volume(), linearVolume(50));  // even to the ear, not in amplitude
  bar.muteButton()->click();
  EXPECT_TRUE(media.isMuted());
  EXPECT_EQ(bar.muteButton()->accessibleName(), "Sound on");
  bar.muteButton()->click();
  EXPECT_FALSE(media.isMuted());
}

TEST(TransportTest, PublishingAndRunningOutKeepThePlaceAndThePicture) {
  test::PlayerWithVideo preview(test::VideoKind::SorensonFlv, 2);
  ASSERT_FALSE(preview.video.isEmpty());
  QtPreviewPlayer& player = preview.player;
  ASSERT_TRUE(preview.playPast(0.5));
  player.stopPlayer();  // as publishing does, even when its dialog is cancelled
  EXPECT_EQ(player.mediaEngine()->playbackState(), PlaybackState::Paused);
  EXPECT_GT(player.getPosition(), 0.5);
  test::waitUntil([] { return false; }, 200);
  EXPECT_TRUE(test::frameShown(player).has_value()) << "the preview went black";

  // Run out, then Add Hot Spot pauses and reads the position: the end, not 0.
  player.mediaEngine()->play();
  ASSERT_TRUE(test::waitUntil(
      [&] { return player.mediaEngine()->mediaStatus() == MediaStatus::EndOfMedia; }, 8000));
  player.pausePlayer();
  EXPECT_GT(player.getPosition(), 1.5);
}

TEST(TransportTest, TabWalksThroughTheControlsAndOnOut) {
  QWidget window;
  auto* before = new QLineEdit(&window);
  QtPreviewPlayer player(&window, test::builtMediaModule());
  auto* after = new QLineEdit(&window);
  before->setGeometry(0, 0, 100, 20);
  after->setGeometry(0, 500, 100, 20);
  QWidget::setTabOrder(before, player.widget());
  QWidget::setTabOrder(player.widget(), after);
  window.resize(950, 560);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  before->setFocus(Qt::TabFocusReason);
  TransportBar& bar = *player.transportBar();
  std::vector<QWidget*> inside;
  for (int i = 0; i < 8 && QApplication::focusWidget() != after; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    if (QApplication::focusWidget() == player.widget()) inside.push_back(bar.focusWidget());
  }
  EXPECT_EQ(QApplication::focusWidget(), after);
  EXPECT_EQ(inside,
            (std::vector<QWidget*>{bar.playPauseButton(), bar.stopButton(), bar.positionSlider(),
                                   bar.muteButton(), bar.volumeSlider()}));
}

TEST(TransportTest, OwnToolTipsFollowThePopUpHelp) {
  QWidget window;
  QtPreviewPlayer player(&window, test::builtMediaModule());
  window.resize(950, 560);
  window.show();
  QToolButton* play = player.transportBar()->playPauseButton();
  const auto tipShown = [play] {
    QHelpEvent ask(QEvent::ToolTip, QPoint(4, 4), play->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(play, &ask);
    const bool shown = QToolTip::isVisible();
    QToolTip::hideText();
    return shown;
  };
  player.showOwnToolTips(false);
  EXPECT_FALSE(tipShown());
  player.showOwnToolTips(true);
  EXPECT_TRUE(tipShown());
}

TEST(TransportTest, FreezesAgainAfterTheVideoHasRunOut) {
  test::PlayerWithVideo preview(test::VideoKind::SorensonFlv, 2);
  ASSERT_FALSE(preview.video.isEmpty());
  QtPreviewPlayer& player = preview.player;
  player.loadAndPlay(preview.video);
  ASSERT_TRUE(test::waitUntil(
      [&] { return player.mediaEngine()->mediaStatus() == MediaStatus::EndOfMedia; }, 8000));

  player.seekAndFreeze(1.0);
  EXPECT_EQ(player.mediaEngine()->playbackState(), PlaybackState::Paused);
  test::waitUntil([] { return false; }, 200);
  EXPECT_DOUBLE_EQ(player.getPosition(), 1.0);
  EXPECT_EQ(test::frameShown(player), 10);
}

}  // namespace
}  // namespace qx
