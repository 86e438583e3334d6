// qx_flash_hs-cli through its real executable: what it writes, prints and exits with.
#include <gtest/gtest.h>

#include <fstream>

#include "common/Environment.h"
#include "common/FileContents.h"
#include "common/RunProgram.h"
#include "common/TempFolder.h"
#include "common/TestVideos.h"
#include "project/FileIo.h"
#include "project/OptionsFile.h"
#include "project/PathText.h"
#include "project/ProjectFile.h"
#include "publish/PublishOutputSet.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

using qx::test::contents;
using qx::test::writeFile;

RunResult cli(const std::vector<std::string>& args, const fs::path& folder = {}) {
  return runProgram(QX_CLI_PATH, args, folder);
}

const std::string kClip = testvideos::flv(2, 2, 5000);

// A project beside its video, which it names relative to itself.
struct ProjectFolder {
  TempFolder temp;
  fs::path project = temp.path() / "tour.pp";
  ProjectSettings settings;
  HotSpotList hotSpots;
  ProjectFolder() {
    writeFile(temp.path() / "clip.flv", kClip);
    settings.videoPath = "clip.flv";
    settings.htmlTitle = "Tour & more";
    settings.tilt = 13;
    settings.zoomMax = 200;
    settings.zoom = 12;  // fits only the list that ZOOMMAX 200 gives
    hotSpots.set(1, HotSpot{"a.html?x=1&y=2", "A", 30, 2.5, 4, 1});
    hotSpots.set(7, HotSpot{"b.html", "", -90, 8, 1.25, 0});
    save();
  }
  void save() { ASSERT_FALSE(saveProjectFile(project, settings, hotSpots)); }
};

}  // namespace

TEST(Cli, PublishWritesWhatTheLibraryWrites) {
  ProjectFolder p;
  const fs::path site = p.temp.path() / "site";
  const auto r = cli({"publish", p.project.string(), (site / "index").string(), "--tilt-manual",
                      "45.5", "--custom-size", "640", "480"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("wrote " + (site / "config.xml").string() + "\n"), std::string::npos);
  EXPECT_NE(r.out.find("wrote " + (site / "images" / "hs10.gif").string() + "\n"),
            std::string::npos);
  EXPECT_TRUE(r.out.ends_with("Publishing succeeded\n")) << r.out;

  // The same project published in-process with the same extra fields gives the same bytes.
  auto loaded = loadProjectFile(p.project, {}, 15);
  ASSERT_TRUE(loaded);
  Project expected = loaded.value();
  expected.settings.tiltManual = "45.5";
  expected.settings.customSize = 1, expected.settings.customWidth = "640";
  expected.settings.customHeight = "480";
  const fs::path reference = p.temp.path() / "reference";
  ASSERT_TRUE(
      publishOutputSet(expected.settings, expected.hotSpots, reference / "index.html").succeeded());
  for (const char* name :
       {"index.html", "config.xml", "qx_flash_hs.swf", "clip.flv", "images/hs3.gif"})
    EXPECT_EQ(contents(site / name), contents(reference / name)) << name;
  const std::string config = contents(site / "config.xml");
  EXPECT_NE(config.find("<tilt>46</tilt>"), std::string::npos);
  EXPECT_NE(config.find("<fov>150</fov>"), std::string::npos);
  EXPECT_NE(contents(site / "index.html").find("width=640 height=480"), std::string::npos);
}

// For hosting on today's web: Ruffle's runtime files beside the page and one line in the page,
// once however often the page is published; the rest as a plain publish writes it.
TEST(Cli, PublishWithRuffleAddsItBesideThePage) {
  ProjectFolder p;
  const fs::path ruffle = p.temp.path() / "ruffle-package";
  fs::create_directories(ruffle);
  for (const char* name : {"ruffle.js", "core.ruffle.1.js", "a1.wasm", "LICENSE_MIT", "README.md",
                           "ruffle.js.map", "package.json"})
    writeFile(ruffle / name, name);
  const fs::path site = p.temp.path() / "site";
  ASSERT_EQ(cli({"publish", p.project.string(), (site / "plain.html").string()}).exitCode, 0);

  setEnvironment("QX_RUFFLE_DIR", pathToUtf8(ruffle));
  RunResult r;
  for (int run = 0; run < 2; ++run)
    r = cli({"publish", p.project.string(), (site / "index.html").string(), "--with-ruffle"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("wrote " + (site / "ruffle" / "a1.wasm").string() + "\n"),
            std::string::npos);
  for (const char* name : {"ruffle.js", "core.ruffle.1.js", "a1.wasm", "LICENSE_MIT"})
    EXPECT_EQ(contents(site / "ruffle" / name), name);
  for (const char* name : {"README.md", "ruffle.js.map", "package.json"})
    EXPECT_FALSE(fs::exists(site / "ruffle" / name)) << name;
  std::string expected = contents(site / "plain.html");
  const std::string line =
      "    <script>window.RufflePlayer = window.RufflePlayer || {}; RufflePlayer.config = "
      "{allowFullscreen: true, ...RufflePlayer.config};</script>"
      "<script src=\"ruffle/ruffle.js\"></script>\r\n";
  expected.insert(expected.find("</head>\r\n"), line);
  EXPECT_EQ(contents(site / "index.html"), expected);

  // Asked for Ruffle where there is none: an error, and no page half made.
  setEnvironment("QX_RUFFLE_DIR", pathToUtf8(p.temp.path() / "none"));
  r = cli({"publish", p.project.string(), (site / "other.html").string(), "--with-ruffle"});
  unsetEnvironment("QX_RUFFLE_DIR");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Ruffle not found"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(site / "other.html"));
}

TEST(Cli, PublishReportsChecksAndFailures) {
  ProjectFolder p;
  fs::remove(p.temp.path() / "clip.flv");
  auto r = cli({"publish", p.project.string(), (p.temp.path() / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "qx_flash_hs-cli: FLV file not found: " + (p.temp.path() / "clip.flv").string() + "\n");
  EXPECT_FALSE(fs::exists(p.temp.path() / "x.html"));

  // A camera's MP4 under an FLV's name: refused by what it holds, and nothing written.
  writeFile(p.temp.path() / "clip.flv", testvideos::mp4Video("mp42", "hvc1"));
  r = cli({"publish", p.project.string(), (p.temp.path() / "site" / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "qx_flash_hs-cli: Video the Flash page cannot play (it is an MP4 file, not an "
            "F4V; the Flash page plays FLV and F4V videos only): " +
                (p.temp.path() / "clip.flv").string() + "\n");
  EXPECT_FALSE(fs::exists(p.temp.path() / "site"));

  // A name with a line break cannot print a line of its own.
  p.settings.videoPath = "clip\nPublishing succeeded\n.flv";
  p.save();
  r = cli({"publish", p.project.string(), (p.temp.path() / "site" / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "qx_flash_hs-cli: FLV file not found: " + (p.temp.path() / "clip").string() +
                       "\\nPublishing succeeded\\n.flv\n");
  p.settings.videoPath = "clip.flv";

  p.settings.videoPath = "  ";
  p.save();
  r = cli({"publish", p.project.string(), (p.temp.path() / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "qx_flash_hs-cli: FLV file not selected\n");

  // A hand-written project without a window size has no viewer to publish: nothing is written.
  writeFile(p.temp.path() / "clip.flv", testvideos::flv());
  p.settings.videoPath = "clip.flv";
  p.settings.window = 0;
  p.save();
  r = cli({"publish", p.project.string(), (p.temp.path() / "site" / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "qx_flash_hs-cli: Window size not selected\n");
  EXPECT_FALSE(fs::exists(p.temp.path() / "site"));
  p.settings.window = 4;

  // The page's folder is below a regular file: every file fails, each is named.
  writeFile(p.temp.path() / "clip.flv", kClip);
  p.settings.videoPath = "clip.flv";
  p.save();
  r = cli({"publish", p.project.string(), (p.project / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Publishing failed"), std::string::npos);
  EXPECT_NE(r.err.find((p.project / "config.xml").string() + ": "), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("Publishing succeeded"), std::string::npos);

  fs::create_directory(p.temp.path() / "page.html");
  r = cli({"publish", p.project.string(), (p.temp.path() / "page.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("is a folder"), std::string::npos);

  r = cli({"publish", (p.temp.path() / "none.pp").string(), "x.html"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find((p.temp.path() / "none.pp").string() + ": "), std::string::npos) << r.err;
}

// Projects saved on Windows name their video with "\\"; a relative one resolves everywhere, an
// absolute one is reported as the project wrote it.
TEST(Cli, WindowsVideoPathsInAProject) {
  ProjectFolder p;
  fs::create_directory(p.temp.path() / "sub");
  fs::rename(p.temp.path() / "clip.flv", p.temp.path() / "sub" / "clip.flv");
  p.settings.videoPath = "sub\\clip.flv";
  p.save();
  auto r = cli({"publish", p.project.string(), (p.temp.path() / "site" / "x.html").string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(contents(p.temp.path() / "site" / "clip.flv"), kClip);

  p.settings.videoPath = "C:\\Videos\\clip.flv";
  p.save();
  r = cli({"publish", p.project.string(), (p.temp.path() / "x.html").string()});
  EXPECT_EQ(r.exitCode, 1);
#ifndef _WIN32
  EXPECT_EQ(r.err, "qx_flash_hs-cli: FLV file not found: C:\\Videos\\clip.flv\n");
#endif
}

TEST(Cli, PublishIntoTheCurrentFolderWithRelativeNames) {
  ProjectFolder p;
  const auto r = cli({"publish", "tour.pp", "page"}, p.temp.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("kept  clip.flv (already in place)"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::exists(p.temp.path() / "page.html"));
  EXPECT_EQ(contents(p.temp.path() / "clip.flv"), kClip);
}

TEST(Cli, ResaveAndSaveOptionsMatchTheWindowsSaves) {
  ProjectFolder p;
  auto r = cli({"resave", p.project.string(), (p.temp.path() / "copy").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "wrote " + (p.temp.path() / "copy.pp").string() + "\n");
  auto loaded = loadProjectFile(p.project, {}, 15);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(contents(p.temp.path() / "copy.pp"),
            writeProjectFile(loaded.value().settings, loaded.value().hotSpots));
  EXPECT_NE(contents(p.temp.path() / "copy.pp").find("<ZOOM>12</ZOOM>"), std::string::npos);

  r = cli({"resave", p.project.string(), (p.temp.path() / "same.PP").string()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(fs::exists(p.temp.path() / "same.PP"));

  r = cli({"save-options", p.project.string(), (p.temp.path() / "o.ini").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(contents(p.temp.path() / "o.ini"), writeOptionsFile(loaded.value().settings));

  r = cli({"save-options", p.project.string(), p.temp.path().string()});  // a folder
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("is a folder"), std::string::npos);
}

TEST(Cli, ShowPrintsSettingsAndHotSpotsInUse) {
  ProjectFolder p;
  auto r = cli({"show", p.project.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("zoom:               12  (150)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("hot spots in use:   2\n"), std::string::npos);
  EXPECT_NE(r.out.find("  7: at 8 s for 1.25 s, yaw -90"), std::string::npos);

  r = cli({"show", p.project.string(), "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // "&", "<" and ">" are written as \u escapes, which every JSON reader takes for the characters.
  EXPECT_NE(r.out.find(R"("htmlTitle": "Tour \u0026 more")"), std::string::npos) << r.out;
  EXPECT_NE(
      r.out.find(
          R"({"slot": 1, "link": "a.html?x=1\u0026y=2", "title": "A", "yaw": 30, "pos": 2.5, "time": 4, "self": 1})"),
      std::string::npos)
      << r.out;
  std::string video = (p.temp.path() / "clip.flv").string();
  for (auto at = video.find('\\'); at != std::string::npos; at = video.find('\\', at + 2))
    video.insert(at, 1, '\\');  // JSON doubles Windows' separators
  EXPECT_NE(r.out.find(R"("videoPath": ")" + video + "\""), std::string::npos) << r.out;

  writeFile(p.project, std::string("\0\xff<HSPOS2>1<HSLINK2>q\"\\\x01", 25));
  r = cli({"show", p.project.string(), "--json"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find(R"("link": "q\"\\\u0001")"), std::string::npos) << r.out;
}

TEST(Cli, HelpVersionAndBadArguments) {
  auto r = cli({"--version"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, std::string("qx_flash_hs-cli ") + QX_VERSION + "\n");
  r = cli({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* command : {"publish", "resave", "save-options", "show"})
    EXPECT_NE(r.out.find(std::string("  ") + command + " "), std::string::npos) << command;
  r = cli({"publish", "--help"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("--custom-size W H"), std::string::npos);

  const std::vector<std::vector<std::string>> usageErrors = {
      {},
      {"frobnicate"},
      {"publish"},
      {"publish", "a.pp"},
      {"publish", "a.pp", "b.html", "c"},
      {"publish", "a.pp", "b.html", "--custom-size", "640"},
      {"publish", "a.pp", "b.html", "--tilt-manual"},
      {"publish", "a.pp", "b.html", "--bogus"},
      {"publish", "a.pp", "folder/"},
      {"resave", "a.pp"},
      {"save-options"},
      {"show", "a.pp", "--jsn"},
      {"show", "a.pp", "b.pp"},
      {"--versions"},
  };
  for (const auto& args : usageErrors) {
    r = cli(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.exitCode, 2) << joined << r.err;
    EXPECT_NE(r.err.find("Usage: qx_flash_hs-cli"), std::string::npos) << joined;
    EXPECT_EQ(r.out, "") << joined;
  }
}

TEST(Cli, OddArgumentsNeverCrashIt) {
  TempFolder temp;
  writeFile(temp.path() / "bin.pp", std::string(3000, '\xff') + std::string(100, '\0'));
  const std::string bin = (temp.path() / "bin.pp").string();
  const std::vector<std::vector<std::string>> cases = {
      {""},
      {"", "", ""},
      {"publish", "", ""},
      {"publish", bin, ""},
      {"publish", bin, std::string(5000, 'x')},
      {"publish", "--", bin, (temp.path() / "-p").string()},
      {"show", bin},
      {"show", "/"},
      {"resave", bin, "/"},
      {"resave", bin, ""},
      {"save-options", "/dev/null", "/dev/full"},
      {"publish", bin, "x.html", "--custom-size", "\xff\xfe", "-1e999"},
      {"publish", bin, "x.html", "--tilt-manual", "nan"},
  };
  for (const auto& args : cases) {
    const auto r = cli(args, temp.path());
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.signal, 0) << joined;
    EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1 || r.exitCode == 2) << joined << r.exitCode;
  }
}

// The conversion is a program of its own: a publisher copied without it says what is missing.
TEST(Cli, WebglWithoutTheConverterBesideIt) {
  TempFolder temp;
  const fs::path copy = temp.path() / fs::path(QX_CLI_PATH).filename();
  fs::copy_file(QX_CLI_PATH, copy);
  const auto r = runProgram(copy.string(), {"webgl", "page.html"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("qx_flash_hs-webgl was not found"), std::string::npos) << r.err;
}
