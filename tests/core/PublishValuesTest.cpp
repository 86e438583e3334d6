// What one publish run derives from the settings: names, sizes, the viewer and the numbers.
#include <gtest/gtest.h>

#include "publish/PublishOutputSet.h"
#include "publish/PublishValues.h"
#include "publish/ViewerSelection.h"

using namespace qx;

TEST(PublishValues, TiltFromTheListOrTheManualText) {
  const int manual = 13, autoItem = 1;
  for (const auto& [text, tilt] : std::vector<std::pair<std::string, int>>{{"29.9", 90},
                                                                           {"90.5", 90},
                                                                           {"30", 30},
                                                                           {"45.5", 46},
                                                                           {"44.5", 44},
                                                                           {"90", 90},
                                                                           {"", 90},
                                                                           {"abc", 90},
                                                                           {" 60 degrees", 60},
                                                                           {"-45", 90}}) {
    EXPECT_EQ(tiltValueFor(manual, text), tilt) << text;
    EXPECT_EQ(tiltValueFor(autoItem, text), tilt) << text;
  }
  EXPECT_EQ(tiltValueFor(0, "45"), 45);   // nothing selected
  EXPECT_EQ(tiltValueFor(2, "60"), 40);   // " 40 degree": the manual text does not count
  EXPECT_EQ(tiltValueFor(12, "60"), 90);  // " 90 degree"
}

TEST(PublishValues, ListTextsAndPitch) {
  EXPECT_EQ(wmodeFor(1), "none");
  EXPECT_EQ(wmodeFor(2), "direct");
  EXPECT_EQ(wmodeFor(3), "gpu");
  EXPECT_EQ(wmodeFor(0), "none");
  EXPECT_EQ(wmodeFor(7), "none");
  EXPECT_EQ(qualityFor(1), "low");
  EXPECT_EQ(qualityFor(2), "medium");
  EXPECT_EQ(qualityFor(3), "high");
  EXPECT_EQ(qualityFor(4), "best");
  EXPECT_EQ(qualityFor(0), "high");
  EXPECT_EQ(qualityFor(-3), "high");
  EXPECT_EQ(pitchValueFor(1), 0);
  EXPECT_EQ(pitchValueFor(2), 30);
  EXPECT_EQ(pitchValueFor(5), 0);
  EXPECT_EQ(pitchValueFor(8), -30);
  EXPECT_EQ(pitchValueFor(0), 0);
  EXPECT_EQ(hotSpotIconName(1), "152");
  EXPECT_EQ(hotSpotIconName(2), "151");
}

TEST(PublishValues, FolderAndVideoNameFollowLinuxPaths) {
  ProjectSettings s;
  s.videoPath = "  /media/c:/takes/2024:05 tour.flv  ";
  const auto v = derivePublishValues(s, "/srv/www/a:b/tour.html");
  EXPECT_EQ(v.folder, "/srv/www/a:b");
  EXPECT_EQ(v.videoName, "2024:05 tour.flv");  // ":" is an ordinary character here
  EXPECT_EQ(derivePublishValues(s, "/tour.html").folder, "/");
  EXPECT_EQ(derivePublishValues(s, "tour.html").folder, "");
}

TEST(PageFileName, HtmlAppendedUnlessPresentInAnyCase) {
  EXPECT_EQ(pageFileName("index.HTML"), "index.HTML");
  EXPECT_EQ(pageFileName("/w/index"), "/w/index.html");
  EXPECT_EQ(pageFileName("index.htm"), "index.htm.html");
  EXPECT_EQ(pageFileName("a.Html"), "a.Html");
  EXPECT_EQ(pageFileName("html"), "html.html");
  EXPECT_EQ(pageFileName(""), ".html");
}

TEST(ViewerSelection, NameAndSizeTexts) {
  auto c = selectViewer(3, 13, false, "", "");
  EXPECT_EQ(c.resourceName, "viewer313");
  EXPECT_EQ(c.widthText, "1200");
  EXPECT_EQ(c.heightText, "720");
  c = selectViewer(2, 1, false, "", "");
  EXPECT_EQ(c.resourceName, "viewer201");
  EXPECT_EQ(c.widthText + "x" + c.heightText, "266x200");
  c = selectViewer(0, 2, false, "", "");  // no player type selected counts as the first
  EXPECT_EQ(c.resourceName, "viewer102");
  EXPECT_EQ(c.widthText + "x" + c.heightText, "305x230");  // the page's width, not the stage's

  c = selectViewer(1, 4, true, "  640 ", " 480");
  EXPECT_EQ(c.widthText + "x" + c.heightText, "640x480");
  for (const char* height : {"0", "", "px", "-3"}) {
    c = selectViewer(1, 4, true, "640", height);
    EXPECT_EQ(c.widthText + "x" + c.heightText, "400x300") << height;
  }
  c = selectViewer(1, 4, false, "640", "480");  // box not checked
  EXPECT_EQ(c.widthText + "x" + c.heightText, "400x300");

  c = selectViewer(1, 0, true, "640px", "480");  // no size: custom page size, no viewer
  EXPECT_EQ(c.resourceName, "viewer100");
  EXPECT_EQ(c.widthText + "x" + c.heightText, "640pxx480");
  EXPECT_TRUE(viewerBytes(c.resourceName).empty());
  EXPECT_TRUE(selectViewer(1, 0, false, "", "").widthText.empty());
}
