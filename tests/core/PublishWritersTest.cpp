// The published text files byte for byte, and the values they are made of.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "common/CrlfLines.h"
#include "project/FileIo.h"
#include "publish/AirDescriptor.h"
#include "publish/ConfigXml.h"
#include "publish/HtmlPage.h"
#include "publish/PublishValues.h"

using namespace qx;

namespace {

std::string golden(const std::string& name) {
  auto bytes = readFileBytes(std::filesystem::path(QX_GOLDEN_DIR) / name);
  EXPECT_TRUE(bytes) << name;
  return bytes ? bytes.value() : std::string();
}

HotSpot spot(std::string link, std::string title, int yaw, double pos, double time, int self) {
  return HotSpot{std::move(link), std::move(title), yaw, pos, time, self};
}

}  // namespace

TEST(ConfigXml, DefaultsWithoutHotSpotsGiveTwentyLines) {
  ProjectSettings s;
  s.videoPath = "/videos/demo.flv";
  HotSpotList hotSpots;
  hotSpots.set(4, spot("ignored.html", "pos 0", 10, 0, 5, 1));  // not in use: pos is 0
  const auto values = derivePublishValues(s, "/site/index.html");
  const std::string bytes = configXmlBytes(s, hotSpots, values);
  EXPECT_EQ(bytes, golden("config_empty.xml"));
  EXPECT_EQ(crlfLinesOf(bytes).size(), 20u);
}

TEST(ConfigXml, HotSpotsInSlotsOneThreeTenWithEveryRule) {
  ProjectSettings s;
  s.videoPath = "/videos/tour & co.flv";
  s.smooth = 1;
  s.zoomMax = 200;
  s.zoom = 12;
  s.yaw = 5;
  s.pitch = 6;
  s.tilt = 3;
  s.controls = 0;
  s.audio = 11;
  s.blackAreaColor = 0x0000FF;  // pure red as the colour dialog gives it
  s.startBufferingTime = "0.5";
  s.viewMode = 1;
  s.panningMode = 2;
  s.balance = 4;
  s.iframe = 1;
  HotSpotList hotSpots;
  hotSpots.set(1, spot("shop.php?a=1&b=2", "", 0, 7.25, 5, 1));
  hotSpots.set(2, spot("never.html", "unused", 30, 0, 5, 1));
  hotSpots.set(3, spot("  http://example.com/a  ", "Café <Ω>", -30, 0.4, 12.34, 0));
  hotSpots.set(10, spot("x.html", "Ten", 180, 123456.75, 2.25, 1));
  const auto values = derivePublishValues(s, "/site/tour.html");
  EXPECT_EQ(configXmlBytes(s, hotSpots, values), golden("config_hotspots.xml"));

  // Without IFRAME each hot spot keeps its own self value; 200 turns to 20.
  EXPECT_EQ(
      hotSpotLine(2, spot("a.html", "A", 200, 1, 1, 1), false),
      R"(        <hotspot id="hotspot2" yaw="20" pos="1.0" time="1.0" self="1" title="A" link="a.html"> </hotspot>)");
}

TEST(ConfigXml, MainValuesAtTheEdgesOfTheirLists) {
  const auto lineOf = [](const ProjectSettings& s, std::string_view tag) {
    const auto lines = crlfLinesOf(configXmlBytes(s, {}, derivePublishValues(s, "/a/b.html")));
    for (const auto& line : lines)
      if (line.find("<" + std::string(tag) + ">") != std::string::npos) return line.substr(16);
    return std::string("missing");
  };
  ProjectSettings s;
  for (const auto& [text, ms] : std::vector<std::pair<std::string, std::string>>{{"30", "30000"},
                                                                                 {"0.5", "500"},
                                                                                 {"0", "100"},
                                                                                 {"", "100"},
                                                                                 {"0.0005", "100"},
                                                                                 {"-4", "100"}}) {
    s.startBufferingTime = text;
    EXPECT_EQ(lineOf(s, "bufferingTime"), "<bufferingTime>" + ms + "</bufferingTime>") << text;
    EXPECT_EQ(lineOf(s, "bufferingTimeL"), "<bufferingTimeL>" + ms + "</bufferingTimeL>") << text;
  }
  s.zoom = 0, s.audio = 0, s.panningMode = 0, s.balance = 0, s.yaw = 0;
  EXPECT_EQ(lineOf(s, "fov"), "<fov></fov>");
  EXPECT_EQ(lineOf(s, "volume"), "<volume></volume>");
  EXPECT_EQ(lineOf(s, "PanningMode"), "<PanningMode>-1</PanningMode>");
  EXPECT_EQ(lineOf(s, "balance"), "<balance>0</balance>");
  EXPECT_EQ(lineOf(s, "yaw"), "<yaw>0</yaw>");
  s.zoom = 1, s.audio = 1, s.balance = 6, s.yaw = 13;
  EXPECT_EQ(lineOf(s, "fov"), "<fov>40</fov>");
  EXPECT_EQ(lineOf(s, "volume"), "<volume>0</volume>");
  EXPECT_EQ(lineOf(s, "balance"), "<balance>100</balance>");
  EXPECT_EQ(lineOf(s, "yaw"), "<yaw>330</yaw>");
}

namespace {

// The page's lines for one variant: the full template's line numbers that the variant keeps.
std::string pageVariant(bool iframe, bool border, bool title) {
  const auto full = crlfLinesOf(golden("page_full.html"));
  std::set<int> dropped;
  if (iframe) dropped.insert({12, 13, 14, 15, 16});
  if (!title) dropped.insert(14);
  if (!border) dropped.insert({17, 18, 54, 55});
  std::string text;
  for (int n = 1; n <= static_cast<int>(full.size()); ++n) {
    if (dropped.count(n)) continue;
    text += (n == 3 && !title ? std::string("    <title></title>") : full[n - 1]) + "\r\n";
  }
  return text;
}

}  // namespace

TEST(HtmlPage, FourVariantsWithAndWithoutTitle) {
  ProjectSettings s;
  s.htmlBgColor = 0x0080FF;  // orange, red in the lowest byte
  s.window = 12;
  s.optimize = 3;
  s.htmlQuality = 4;
  for (const bool iframe : {false, true})
    for (const bool border : {false, true})
      for (const bool title : {false, true}) {
        s.iframe = iframe, s.border = border;
        s.htmlTitle = title ? "  Tour <Ω> & more  " : "   ";
        const auto values = derivePublishValues(s, "/site/index.html");
        const std::string page = htmlPageBytes(s, values);
        EXPECT_EQ(page, pageVariant(iframe, border, title))
            << "iframe " << iframe << " border " << border << " title " << title;
      }
  // The two counts the layout is known by.
  EXPECT_EQ(crlfLinesOf(pageVariant(false, false, false)).size(), 54u);
  EXPECT_EQ(crlfLinesOf(pageVariant(true, true, true)).size(), 54u);
  EXPECT_EQ(crlfLinesOf(pageVariant(false, true, true)).size(), 59u);
}

TEST(HtmlPage, BlackBackgroundAndCustomSize) {
  ProjectSettings s;
  s.htmlBgColor = 0;
  s.customSize = 1, s.customWidth = " 640px ", s.customHeight = "480";
  const auto lines = crlfLinesOf(htmlPageBytes(s, derivePublishValues(s, "p.html")));
  EXPECT_EQ(lines[5], "        html, body { height:100%; background-COLOR: 000000;}");
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      R"(       <param name="bgcolor"           value="#000000" />)"),
            lines.end());
  EXPECT_NE(
      std::find(
          lines.begin(), lines.end(),
          R"(       <object type="application/x-shockwave-flash" data="qx_flash_hs.swf" width=640px height=480>)"),
      lines.end());
}

TEST(AirDescriptor, FixedThirtySixLines) {
  EXPECT_EQ(airDescriptorBytes(), golden("air_descriptor.xml"));
  EXPECT_EQ(crlfLinesOf(airDescriptorBytes()).size(), 36u);
  // An application id may hold letters, digits, dots and hyphens only.
  const std::string bytes = airDescriptorBytes();
  const auto from = bytes.find("<id>") + 4;
  const std::string id = bytes.substr(from, bytes.find("</id>") - from);
  EXPECT_EQ(
      id.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.-"),
      std::string::npos);
}
