// The green yaw marker: where markerX puts it, that placeYawMarker moves it at once and
// refreshYawMarkerLater only once the event loop has run, and that it is drawn over the area.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "gui/player/PlayerTestKit.h"
#include "preview/QtPreviewPlayer.h"

namespace qx {
namespace {

TEST(YawMarkerTest, MarkerXFollowsTheTrackbarRule) {
  EXPECT_EQ(markerX(-179), 255);
  EXPECT_EQ(markerX(0), 472);
  EXPECT_EQ(markerX(179), 689);
  EXPECT_EQ(markerX(180), 690);
  EXPECT_EQ(markerX(-90), 363);  // 472 - 108.97
  EXPECT_EQ(markerX(37), 517);   // 472 + 44.8
}

TEST(YawMarkerTest, PlacedAtOnceOrAfterTheCommandHasReturned) {
  QWidget window;
  QtPreviewPlayer player(&window, test::builtMediaModule());
  EXPECT_EQ(player.widget()->geometry(), QRect(250, 150, 448, 300));
  EXPECT_EQ(player.markerGeometry(), QRect(472, 152, 3, 268));
  // The media back end waits for the first video: the window appears without it.
  EXPECT_FALSE(player.mediaMade());
  // The marker stops above the transport controls and their time.
  EXPECT_LT(player.markerGeometry().bottom(), 150 + 300 - QtPreviewPlayer::kControlsHeight);

  player.placeYawMarker(-179);
  EXPECT_EQ(player.markerGeometry(), QRect(255, 152, 3, 268));

  player.refreshYawMarkerLater(179);
  EXPECT_EQ(player.markerGeometry().x(), 255) << "moved before the command returned";
  QCoreApplication::processEvents();
  EXPECT_EQ(player.markerGeometry().x(), 689);

  // Several requests in a row (a project shows its slots one after the other): the last wins.
  player.refreshYawMarkerLater(10);
  player.refreshYawMarkerLater(-30);
  player.placeYawMarker(0);
  player.refreshYawMarkerLater(90);
  EXPECT_EQ(player.markerGeometry().x(), 472);
  QCoreApplication::processEvents();
  EXPECT_EQ(player.markerGeometry().x(), markerX(90));
}

TEST(YawMarkerTest, DrawnGreenDownTheVideoAndClearOfTheControls) {
  QWidget window;
  QtPreviewPlayer player(&window, test::builtMediaModule());
  window.show();
  const auto column = [&](int yaw) {
    player.placeYawMarker(yaw);
    return markerX(yaw) - 250 + 1;  // the marker's middle column inside the area
  };
  const int left = column(-179);
  const QImage picture = player.widget()->grab().toImage();
  for (int y : {2, 100, 250, 269}) EXPECT_EQ(picture.pixel(left, y), qRgb(0, 255, 0)) << y;
  EXPECT_NE(picture.pixel(left, 0), qRgb(0, 255, 0));
  // Not a pixel of it over the transport controls (and the time they show).
  for (int y = 300 - QtPreviewPlayer::kControlsHeight; y < 300; ++y)
    for (int x = 0; x < 448; ++x) ASSERT_NE(picture.pixel(x, y), qRgb(0, 255, 0)) << x << "," << y;
  EXPECT_NE(picture.pixel(left + 2, 100), qRgb(0, 255, 0));
  EXPECT_NE(picture.pixel(left - 2, 100), qRgb(0, 255, 0));
}

}  // namespace
}  // namespace qx
