// "Publish for today's web" through the dispatcher and the fake platform: Ruffle checked first,
// then one run writes the Flash set, Ruffle, an F4V's FLV and, when chosen, the HTML5 version
// (by the converter beside the program, a stand-in here), and says what to upload.
#include <fstream>

#include "WindowFixture.h"
#include "app/ControlIds.h"
#include "common/Environment.h"
#include "common/TestMedia.h"
#include "project/FileIo.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

class WebPublishTest : public WindowTest {
 protected:
  fs::path site() const { return folder.path() / "site"; }
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(testmedia::makeVideo(folder.path() / "hall.f4v",
                                     "-c:v libx264 -preset ultrafast -c:a aac", "f4v", 0.5,
                                     "128x64"));
    fs::create_directories(folder.path() / "ruffle");
    std::ofstream(folder.path() / "ruffle" / "ruffle.js") << "// ruffle";
    // The converter's stand-in writes the page it is given a sibling and says so, as it does.
    const fs::path converter = folder.path() / "qx_flash_hs-webgl";
    std::ofstream(converter) << "#!/bin/sh\nout=\"${1%.html}.webgl.html\"\necho html5 > \"$out\"\n"
                                "echo \"wrote $out\"\n";
    fs::permissions(converter, fs::perms::owner_all);
    platform.fileAnswers = {{toQString(folder.path() / "hall.f4v")}};
    window->mainWindowProc(id::kSelectVideo, 0);
  }
  void TearDown() override { unsetEnvironment("QX_RUFFLE_DIR"); }
  void useRuffle() { setEnvironment("QX_RUFFLE_DIR", (folder.path() / "ruffle").string()); }
};

TEST_F(WebPublishTest, WithoutRuffleNothingIsAskedOrWritten) {
  setEnvironment("QX_RUFFLE_DIR", (folder.path() / "none").string());
  const auto dialogs = platform.fileRequests.size();
  window->mainWindowProc(id::kPublishForWeb, 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(platform.messages[0].text.startsWith("Ruffle not found"));
  EXPECT_EQ(platform.fileRequests.size(), dialogs);
}

TEST_F(WebPublishTest, OneRunWritesEverythingAndSaysWhatToUpload) {
  useRuffle();
  platform.fileAnswers = {{toQString(site() / "tour.html")}};
  platform.messageAnswers = {MessageAnswer::Ok};  // the HTML5 version too
  window->mainWindowProc(id::kPublishForWeb, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Question);
  const auto& done = platform.messages[1];
  EXPECT_EQ(done.icon, MessageIcon::Information) << done.text.toStdString();
  for (const char* name : {"tour.html", "qx_flash_hs.swf", "config.xml", "images/", "hall.f4v",
                           "hall.f4v.flv", "ruffle/", "tour.webgl.html"})
    EXPECT_TRUE(done.text.contains(QString::fromLatin1(name))) << name << "\n"
                                                               << done.text.toStdString();
  EXPECT_TRUE(done.text.contains(toQString(site()))) << done.text.toStdString();
  EXPECT_EQ(readFileBytes(site() / "hall.f4v.flv").value().substr(0, 3), "FLV");
  EXPECT_EQ(readFileBytes(site() / "ruffle" / "ruffle.js").value(), "// ruffle");
  EXPECT_NE(readFileBytes(site() / "tour.html").value().find("ruffle/ruffle.js"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(site() / "tour.webgl.html"));
}

TEST_F(WebPublishTest, Html5VersionOnlyWhenChosen) {
  useRuffle();
  platform.fileAnswers = {{toQString(site() / "tour.html")}};
  platform.messageAnswers = {MessageAnswer::Cancel};
  window->mainWindowProc(id::kPublishForWeb, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].icon, MessageIcon::Information);
  EXPECT_FALSE(platform.messages[1].text.contains("webgl"));
  EXPECT_FALSE(fs::exists(site() / "tour.webgl.html"));
  EXPECT_TRUE(fs::exists(site() / "hall.f4v.flv"));
}

}  // namespace
}  // namespace qx::test
