#include "project/ChoiceLists.h"

#include <gtest/gtest.h>

#include "project/HotSpot.h"
#include "project/ProjectSettings.h"

using namespace qx;

TEST(ChoiceLists, ZoomListFollowsZoomMax) {
  const auto z130 = zoomItems(130);
  ASSERT_EQ(z130.size(), 10u);
  EXPECT_EQ(z130.front(), "40");
  EXPECT_EQ(z130.back(), "130");
  EXPECT_EQ(z130[ProjectSettings{}.zoom - 1], "70");
  EXPECT_EQ(zoomItems(200).size(), 15u);
  EXPECT_EQ(zoomItems(200).back(), "180");
  EXPECT_EQ(zoomItemCount(135), 10);
  EXPECT_EQ(zoomItemCount(90), 6);
  EXPECT_EQ(zoomItemCount(35), 0);
  EXPECT_EQ(zoomItemCount(0), 0);
  EXPECT_EQ(zoomItemCount(-2147483647 - 1), 0);
  EXPECT_EQ(zoomItemCount(2147483647), 15);
}

TEST(ChoiceLists, ItemTextsAndNumbers) {
  EXPECT_EQ(windowItems().size(), 13u);
  EXPECT_EQ(yawItems().size(), 13u);
  EXPECT_EQ(yawItems()[1], " 0 degree");
  EXPECT_EQ(yawItems()[12], " 330 degree");
  EXPECT_EQ(audioItems().size(), 11u);
  EXPECT_EQ(audioItems()[10], "100%");
  EXPECT_EQ(itemText(pitchItems(), 6), "-10 degree");
  EXPECT_EQ(itemText(pitchItems(), 0), "");
  EXPECT_EQ(itemText(pitchItems(), 9), "");
  EXPECT_EQ(leadingNumber(itemText(pitchItems(), 6)), -10);
  EXPECT_EQ(leadingNumber(itemText(tiltItems(), 2)), 40);
  EXPECT_EQ(leadingNumber(itemText(tiltItems(), 13)), 0);
  EXPECT_EQ(leadingNumber(itemText(balanceItems(), 6)), 100);
  EXPECT_EQ(fitListNumber(-1, 3), 0);
  EXPECT_EQ(fitListNumber(3, 3), 3);
  EXPECT_EQ(fitListNumber(4, 3), 0);
}

TEST(Settings, ResetToDefaultsTouchesOnlyTheNamedFields) {
  ProjectSettings s;
  s.window = 9, s.yaw = 3, s.zoom = 2, s.tilt = 13, s.pitch = 5, s.audio = 1, s.balance = 4;
  s.smooth = 1, s.controls = 0, s.border = 0, s.htmlTitle = "T", s.startBufferingTime = "5";
  s.hsSelfMode = 0, s.htmlBgColor = 1, s.blackAreaColor = 2, s.flashPlayer = 3;
  s.panningMode = 2, s.hsIcon = 2, s.viewMode = 1, s.videoPath = "/v.flv", s.customSize = 1;
  s.customWidth = "640", s.customHeight = "480";
  s.optimize = 3, s.htmlQuality = 1, s.tooltipHelp = 0, s.zoomMax = 90, s.iframe = 1;
  s.tiltManual = "45";
  resetToDefaults(s);
  ProjectSettings expected;
  expected.optimize = 3, expected.htmlQuality = 1, expected.tooltipHelp = 0;
  expected.zoomMax = 90, expected.iframe = 1, expected.tiltManual = "45";
  EXPECT_EQ(s, expected);
}

TEST(HotSpots, SlotsSetClearAndCut) {
  HotSpotList list;
  EXPECT_EQ(list.countInUse(), 0);
  list.set(3, {"  " + std::string(600, 'l') + " ", std::string(50, 't'), -45, 12.5, 5, 1});
  EXPECT_EQ(list.at(3).link.size(), 512u);
  EXPECT_EQ(list.at(3).title.size(), 40u);
  EXPECT_TRUE(list.at(3).inUse());
  list.set(10, {"only a link", "", 0, 0, 5, 0});
  EXPECT_FALSE(list.at(10).inUse());  // pos 0 is not in use, whatever else it holds
  EXPECT_EQ(list.countInUse(), 1);
  list.clear(3);
  EXPECT_EQ(list.at(3), HotSpotList::blank());
  list.set(1, {"a", "b", 1, 1, 1, 1});
  list.clearAll();
  EXPECT_EQ(list, HotSpotList{});
  EXPECT_THROW(list.at(0), std::out_of_range);
  EXPECT_THROW(list.set(11, {}), std::out_of_range);
}
