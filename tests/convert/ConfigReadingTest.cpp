// config.xml and the Flash page as the publisher writes them, and as older runs, hand edits and
// damage leave them.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <random>

#include "project/FileIo.h"
#include "publish/JsonText.h"
#include "webgl/ConfigXmlReader.h"
#include "webgl/FlashPageReader.h"
#include "webgl/WebAssets.h"

using namespace qx;
using namespace qx::webgl;

namespace {

std::string publishedConfig(const std::string& hotSpotLines, const std::string& fov = "70") {
  const std::string crlf = "\r\n";
  return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>" + crlf + " <config>" + crlf +
         "        <main>" + crlf + "                <quality>true</quality>" + crlf +
         "                <movie>tour &amp; co.flv</movie>" + crlf + "                <fov>" + fov +
         "</fov>" + crlf + "                <yaw>30</yaw>" + crlf +
         "                <pitch>-10</pitch>" + crlf + "                <tilt>45</tilt>" + crlf +
         "                <controls>false</controls>" + crlf +
         "                <volume>80</volume>" + crlf +
         "                <StageColor>0xff8000</StageColor>" + crlf +
         "                <bufferingTime>500</bufferingTime>" + crlf +
         "                <bufferingTimeL>500</bufferingTimeL>" + crlf +
         "                <ViewMode>1</ViewMode>" + crlf +
         "                <PanningMode>1</PanningMode>" + crlf +
         "                <balance>60</balance>" + crlf + "                <zoommax>150</zoommax>" +
         crlf + "        </main>" + crlf + hotSpotLines + "</config>" + crlf;
}

std::string hotSpotLine(const std::string& id, const std::string& yaw, const std::string& pos,
                        const std::string& time, const std::string& self, const std::string& title,
                        const std::string& link) {
  return "        <hotspot id=\"hotspot" + id + "\" yaw=\"" + yaw + "\" pos=\"" + pos +
         "\" time=\"" + time + "\" self=\"" + self + "\" title=\"" + title + "\" link=\"" + link +
         "\"> </hotspot>\r\n";
}

}  // namespace

TEST(ConfigXml, ReadsEveryValueThePublisherWrites) {
  const ConfigXml c = readConfigXml(publishedConfig(
      hotSpotLine("1", "10", "12.3", "5.0", "0", "Shop &amp; caf\xC3\xA9", "shop.php?a=1&amp;b=2") +
      hotSpotLine("3", "-180", "0.4", "120.0", "1", "&lt;b&gt; &quot;x&quot;", "http://e.org/") +
      hotSpotLine("10", "150", "7.2", "1.5", "0", "only.html", "only.html")));
  EXPECT_EQ(c.main.smooth, true);
  EXPECT_EQ(c.movie, "tour & co.flv");
  EXPECT_EQ(c.main.fov, 70);
  EXPECT_EQ(c.main.yaw, 30);
  EXPECT_EQ(c.main.pitch, -10);
  EXPECT_EQ(c.main.tilt, 45);
  EXPECT_EQ(c.main.controls, false);
  EXPECT_EQ(c.main.volume, 80);
  EXPECT_EQ(c.main.stageColor, "#FF8000");
  EXPECT_EQ(c.main.bufferingTime, 500);
  EXPECT_EQ(c.main.viewMode, 1);
  EXPECT_EQ(c.main.panningMode, 1);
  EXPECT_EQ(c.main.balance, 60);
  EXPECT_EQ(c.main.zoomMax, 150);
  ASSERT_EQ(c.hotSpots.size(), 3u);
  EXPECT_TRUE(c.notes.empty());
  const WebHotSpot& a = c.hotSpots[0];
  EXPECT_EQ(a.id, 1);
  EXPECT_EQ(a.yaw, 10);
  EXPECT_DOUBLE_EQ(a.pos, 12.3);
  EXPECT_DOUBLE_EQ(a.time, 5.0);
  EXPECT_EQ(a.self, 0);
  EXPECT_EQ(a.title, "Shop & caf\xC3\xA9");
  EXPECT_EQ(a.link, "shop.php?a=1&b=2");
  EXPECT_EQ(c.hotSpots[1].id, 3);
  EXPECT_EQ(c.hotSpots[1].yaw, -180);
  EXPECT_EQ(c.hotSpots[1].self, 1);
  EXPECT_EQ(c.hotSpots[1].title, "<b> \"x\"");
  EXPECT_EQ(c.hotSpots[2].id, 10);
}

TEST(ConfigXml, OlderAndDamagedFilesAreReadAsFarAsTheyGo) {
  // An older run: no byte-order mark, Windows-1252, values unescaped, quotes inside the title.
  ConfigXml c = readConfigXml(
      publishedConfig(hotSpotLine("2", "20", "3.0", "4.0", "0", "Caf\xE9 \"Chez Lou\" & <co>",
                                  "a.html?x=\"1\"&y=2"))
          .substr(3));
  ASSERT_EQ(c.hotSpots.size(), 1u);
  EXPECT_EQ(c.hotSpots[0].title, "Caf\xC3\xA9 \"Chez Lou\" & <co>");
  EXPECT_EQ(c.hotSpots[0].link, "a.html?x=\"1\"&y=2");

  // A title holding the text of another attribute does not steal the link.
  c = readConfigXml(publishedConfig(
      hotSpotLine("4", "0", "1.0", "2.0", "0", "see link=\"x\" here", "real.html")));
  ASSERT_EQ(c.hotSpots.size(), 1u);
  EXPECT_EQ(c.hotSpots[0].title, "see link=\"x\" here");
  EXPECT_EQ(c.hotSpots[0].link, "real.html");

  // Empty values are null; unreadable ones keep the default and are noted.
  c = readConfigXml(publishedConfig("", ""));
  EXPECT_FALSE(c.main.fov.has_value());
  EXPECT_TRUE(c.notes.empty());
  c = readConfigXml(publishedConfig("", "wide"));
  EXPECT_EQ(c.main.fov, 70);
  ASSERT_EQ(c.notes.size(), 1u);
  EXPECT_NE(c.notes[0].find("fov"), std::string::npos);

  // Bad hot spots are left out with a note; an empty title takes the link; ids stay unique.
  c = readConfigXml(publishedConfig(hotSpotLine("11", "0", "1.0", "2.0", "0", "t", "l") +
                                    hotSpotLine("x", "0", "1.0", "2.0", "0", "t", "l") +
                                    hotSpotLine("5", "0", "", "2.0", "0", "t", "l") +
                                    hotSpotLine("6", "0", "1.0", "2.0", "7", "", "six.html") +
                                    hotSpotLine("6", "0", "9.0", "2.0", "0", "again", "l")));
  ASSERT_EQ(c.hotSpots.size(), 1u);
  EXPECT_EQ(c.hotSpots[0].id, 6);
  EXPECT_EQ(c.hotSpots[0].self, 0);
  EXPECT_EQ(c.hotSpots[0].title, "six.html");
  EXPECT_DOUBLE_EQ(c.hotSpots[0].pos, 1.0);
  EXPECT_EQ(c.notes.size(), 4u);

  // Nothing at all, and a file cut in the middle of a hot spot.
  c = readConfigXml("");
  EXPECT_EQ(c.main.fov, 70);
  EXPECT_TRUE(c.hotSpots.empty());
  const std::string full =
      publishedConfig(hotSpotLine("1", "10", "12.3", "5.0", "0", "Shop", "shop.html"));
  c = readConfigXml(full.substr(0, full.find("link=") + 9));
  ASSERT_EQ(c.hotSpots.size(), 1u);
  EXPECT_EQ(c.hotSpots[0].title, "Shop");
  const auto noted = [&](std::string_view text) {
    return std::any_of(c.notes.begin(), c.notes.end(),
                       [&](const std::string& n) { return n.find(text) != std::string::npos; });
  };
  EXPECT_TRUE(noted("may be cut short")) << ::testing::PrintToString(c.notes);

  // Cut inside <main>: said so, and each value that is missing for it is named.
  c = readConfigXml(full.substr(0, full.find("<bufferingTime>")));
  EXPECT_EQ(c.main.bufferingTime, 30000);
  EXPECT_TRUE(noted("the file is cut short"));
  for (const char* tag :
       {"<bufferingTime>", "<ViewMode>", "<PanningMode>", "<balance>", "<zoommax>"})
    EXPECT_TRUE(noted(tag)) << tag;
  EXPECT_FALSE(noted("<volume>"));
}

TEST(ConfigXml, NoInputCrashesTheReaders) {
  std::mt19937 random(42);
  const std::string seed =
      publishedConfig(hotSpotLine("1", "10", "12.3", "5.0", "0", "Shop", "a.html") +
                      hotSpotLine("2", "-5", "1", "2", "1", "&#x26;&#0;&#99999999;", "b"));
  for (int round = 0; round < 1000; ++round) {
    std::string bytes = seed;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 3) {
        case 0:
          bytes[at] = static_cast<char>(random());
          break;
        case 1:
          bytes.erase(at, random() % 40);
          break;
        default:
          bytes.insert(at, seed.substr(random() % seed.size(), random() % 60));
      }
    }
    const ConfigXml c = readConfigXml(bytes);
    for (const WebHotSpot& h : c.hotSpots) {
      EXPECT_GE(h.id, 1);
      EXPECT_LE(h.id, 10);
    }
    const PageLook page = readFlashPage(bytes);
    EXPECT_EQ(page.bgColor.size(), 7u);
  }
}

TEST(FlashPage, ReadsTheLookOfBothVariants) {
  const std::string crlf = "\r\n";
  const std::string head = "<html>" + crlf + "<head>" + crlf +
                           "    <title>Caf&eacute; &amp; &lt;bar&gt;</title>" + crlf +
                           "        html, body { height:100%; background-COLOR: ff8000;}" + crlf +
                           "</head>" + crlf + "<body>" + crlf;
  const std::string normal = head + "    <center>" + crlf + "        <br><br>" + crlf +
                             "     <div style=\"width: 1000px; height: 600px; margin: 0 auto; "
                             "border: solid 1px black;\">" +
                             crlf + "<div ID=\"flashContent\">" + crlf +
                             "   <object classid=\"clsid:d27cdb6e-ae6d-11cf-96b8-444553540000\" "
                             "width=1000 height=600 id=\"qx_flash_hs\" align=\"middle\">" +
                             crlf +
                             "       <object type=\"application/x-shockwave-flash\" "
                             "data=\"qx_flash_hs.swf\" width=1 height=2>" +
                             crlf + "        </center>" + crlf;
  PageLook p = readFlashPage(normal);
  EXPECT_EQ(p.title, "Caf&eacute; & <bar>");
  EXPECT_EQ(p.bgColor, "#FF8000");
  EXPECT_EQ(p.width, 1000);
  EXPECT_EQ(p.height, 600);
  EXPECT_TRUE(p.border);
  EXPECT_FALSE(p.iframe);

  // The IFRAME variant without a border, its size left empty.
  const std::string iframe = head + "<div ID=\"flashContent\">" + crlf +
                             "   <object classid=\"clsid:x\" width= height= id=\"qx_flash_hs\">" +
                             crlf + "        </center>" + crlf;
  p = readFlashPage(iframe);
  EXPECT_FALSE(p.width.has_value());
  EXPECT_FALSE(p.height.has_value());
  EXPECT_FALSE(p.border);
  EXPECT_TRUE(p.iframe);

  // A page that is not ours keeps the defaults where it says nothing.
  p = readFlashPage("<p>hello</p>");
  EXPECT_EQ(p.title, "");
  EXPECT_EQ(p.bgColor, "#FFFFFF");
  EXPECT_EQ(p.width, 400);
  EXPECT_EQ(p.height, 300);
}

TEST(ConfigJson, CannotCloseTheScriptItStandsIn) {
  WebglConfig c;
  c.video = "tour.mp4";
  c.flashPage = "tour.html";
  c.audio = false;
  c.page.title = "</script><script>alert(1)</script>";
  c.page.width.reset();
  c.main.fov.reset();
  c.hotSpots.push_back({3, -180, 12.3, 5, 1, "A \"quote\" \\ and\nline \xE2\x80\xA8", "x.html"});
  const std::string json = configJson(c);
  EXPECT_EQ(json.find('<'), std::string::npos);
  EXPECT_NE(json.find("\\u003c/script\\u003e"), std::string::npos);
  EXPECT_NE(json.find("\"width\": null"), std::string::npos);
  EXPECT_NE(json.find("\"audio\": false"), std::string::npos);
  EXPECT_NE(json.find("\"fov\": null"), std::string::npos);
  EXPECT_NE(
      json.find("{\"id\": 3, \"yaw\": -180, \"pos\": 12.3, \"time\": 5, \"self\": 1, "
                "\"title\": \"A \\\"quote\\\" \\\\ and\\nline \\u2028\", \"link\": \"x.html\", "
                "\"icon\": \"images/hs3.gif\"}"),
      std::string::npos)
      << json;
  EXPECT_NE(
      json.find("\"main\": {\"smooth\": false, \"fov\": null, \"yaw\": 0, \"pitch\": 0, "
                "\"tilt\": 90, \"controls\": true, \"volume\": 50, \"stageColor\": \"#000000\", "
                "\"bufferingTime\": 30000, \"viewMode\": 0, \"panningMode\": 0, \"balance\": 0, "
                "\"zoomMax\": 130}"),
      std::string::npos)
      << json;
  EXPECT_EQ(jsonNumber(-0.0), "0");
  EXPECT_EQ(jsonNumber(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(jsonString("\xE9"), "\"\xC3\xA9\"");  // stray Windows-1252 byte
}

TEST(Templates, FillEveryPlaceholderOnce) {
  EXPECT_EQ(fillTemplate("<t>{{TITLE}}</t>{{TITLE}}{{OTHER}}{{", {{"TITLE", "{{TITLE}}"}}),
            "<t>{{TITLE}}</t>{{TITLE}}{{OTHER}}{{");
  EXPECT_EQ(fillTemplate("{{X}}", {{"X", "{{Y}}"}, {"Y", "no"}}), "{{Y}}");
  EXPECT_EQ(fillTemplate("a{{X}}b{{Y}}c", {{"X", "1"}, {"Y", "22"}}), "a1b22c");
  EXPECT_EQ(fillTemplate("{{{X}}}", {{"X", "1"}}), "{1}");
}

TEST(ConfigXml, ReadsThePublishersOwnGoldenFile) {
  // The file the publisher's golden test holds byte for byte: what a real run writes.
  const auto bytes = qx::readFileBytes(std::filesystem::path(QX_SOURCE_DIR) /
                                       "tests/core/golden/config_hotspots.xml");
  ASSERT_TRUE(bytes) << bytes.error().message();
  const ConfigXml c = readConfigXml(bytes.value());
  EXPECT_TRUE(c.notes.empty());
  EXPECT_EQ(c.movie, "tour & co.flv");
  EXPECT_EQ(c.main.fov, 150);
  EXPECT_EQ(c.main.stageColor, "#FF0000");
  EXPECT_EQ(c.main.zoomMax, 200);
  ASSERT_EQ(c.hotSpots.size(), 3u);
  EXPECT_EQ(c.hotSpots[0].link, "shop.php?a=1&b=2");
  EXPECT_EQ(c.hotSpots[1].id, 3);
  EXPECT_EQ(c.hotSpots[1].title, "Caf\xC3\xA9 <\xCE\xA9>");
  EXPECT_DOUBLE_EQ(c.hotSpots[2].pos, 123456.8);
}

TEST(ConfigXml, HostileShapesAreReadInLinearTime) {
  const auto repeated = [](std::string_view unit, std::size_t size) {
    std::string text;
    while (text.size() < size) text += unit;
    return text;
  };
  // Processor time, not wall time: the machine may be busy with other work.
  const auto seconds = [](auto&& read) {
    const std::clock_t start = std::clock();
    read();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  };
  // Start tags with no end tag; a value of bare "&"; a page of bare "&" in its title.
  const std::vector<std::function<void(std::size_t)>> shapes = {
      [&](std::size_t n) {
        const auto c = readConfigXml("<main></main>" + repeated("<hotspot", n));
        EXPECT_LE(c.notes.size(), 22u);
      },
      [&](std::size_t n) {
        const auto c = readConfigXml("<main><movie>" + repeated("&", n) + "</movie></main>");
        EXPECT_EQ(c.movie.size(), n);
      },
      [&](std::size_t n) { readFlashPage("<title>" + repeated("&amp", n)); },
  };
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    const double small = seconds([&] { shapes[i](1 << 20); });
    const double large = seconds([&] { shapes[i](4 << 20); });
    EXPECT_LT(large, 8 * small + 0.5)
        << "shape " << i << ": 1 MB " << small << " s, 4 MB " << large << " s";
  }
}
