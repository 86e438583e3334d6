#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/CrlfLines.h"
#include "common/FileSizeLimit.h"
#include "common/TempFolder.h"
#include "project/OptionsFile.h"

using namespace qx;

namespace {

std::string slotLines(int i, const std::string& link, const std::string& title,
                      const std::string& pos, const std::string& yaw, const std::string& time,
                      const std::string& self) {
  const auto n = std::to_string(i);
  const auto t = [&](const std::string& tag, const std::string& v) {
    return "<" + tag + n + ">" + v + "</" + tag + n + ">\r\n";
  };
  return t("HSLINK", link) + t("HSTITLE", title) + t("HSPOS", pos) + t("HSYAW", yaw) +
         t("HSTIME", time) + t("HSSELF", self);
}

std::string defaultProjectFile() {
  std::string options = writeOptionsFile(ProjectSettings{});
  options = options.substr(options.find("<WINDOW>"));  // the option block, lines 3 to 24
  std::string out =
      "Generatad by Velmora Rede5 Zorarozo Devodarov, d'not edit!\r\n"
      "------------------------------------------------\r\n"
      "Generatad by Velmora Vozaz Izuzizaz Azaziveve, d'not edit!\r\n"
      "------------------------------------------------\r\n" +
      options +
      "-----------------------------------------------\r\n"
      "<VIDEO1></VIDEO1>\r\n"
      "<IFRAME>0</IFRAME>\r\n"
      "-----------------------------------------------\r\n";
  for (int i = 1; i <= 10; ++i) out += slotLines(i, "", "", "0", "0.000", "0.000", "0");
  return out;
}

}  // namespace

TEST(ProjectFile, DefaultProjectIsByteExact) {
  const std::string bytes = writeProjectFile(ProjectSettings{}, HotSpotList{});
  EXPECT_EQ(bytes, defaultProjectFile());
  EXPECT_EQ(crlfLinesOf(bytes).size(), 90u);
}

TEST(ProjectFile, HotSpotRenderingsAreByteExact) {
  HotSpotList spots;
  spots.set(1, {"shop.html", "Shop", -45, 12.5, 5, 1});
  spots.set(2, {"  a.html ", "", 180, 0.75, 1.23456, 0});
  spots.set(10, {"z", "Zed", 7, 1200, 0.25, 1});
  ProjectSettings s;
  s.videoPath = "  /videos/tour.flv ";
  s.iframe = 1;
  const auto lines = crlfLinesOf(writeProjectFile(s, spots));
  ASSERT_EQ(lines.size(), 90u);
  EXPECT_EQ(lines[27], "<VIDEO1>/videos/tour.flv</VIDEO1>");
  EXPECT_EQ(lines[28], "<IFRAME>1</IFRAME>");
  std::string slots;
  for (std::size_t i = 30; i < 48; ++i) slots += lines[i] + "\r\n";
  EXPECT_EQ(slots, slotLines(1, "shop.html", "Shop", "12.5", "-45.000", "5.000", "1") +
                       slotLines(2, "a.html", "", ".75", "180.000", "1.235", "0") +
                       slotLines(3, "", "", "0", "0.000", "0.000", "0"));
  EXPECT_EQ(lines[84], "<HSLINK10>z</HSLINK10>");
  EXPECT_EQ(lines[86], "<HSPOS10>1200</HSPOS10>");
  EXPECT_EQ(lines[88], "<HSTIME10>0.250</HSTIME10>");
}

TEST(ProjectFile, RoundTripKeepsEverythingTheFileCarries) {
  ProjectSettings s;
  s.window = 12, s.zoom = 2, s.htmlTitle = "a</b & \xCE\xB1", s.videoPath = "/v/x.f4v";
  s.iframe = 1, s.hsIcon = 2, s.tooltipHelp = 0;
  HotSpotList spots;
  spots.set(1, {"shop.php?a=1&b=2", "a</b", -179, 0.75, 1.23456, 1});
  spots.set(3, {"x", "T", 180, 7.25, 5, 0});
  const Project p = readProjectFile(writeProjectFile(s, spots), ProjectSettings{}, 10, "/proj");
  EXPECT_EQ(p.settings, s);
  EXPECT_EQ(p.hotSpots.at(1).link, "shop.php?a=1&b=2");
  EXPECT_EQ(p.hotSpots.at(1).title, "a</b");
  EXPECT_EQ(p.hotSpots.at(1).pos, 0.75);
  EXPECT_EQ(p.hotSpots.at(1).time, 1.235);
  EXPECT_EQ(p.hotSpots.at(3).yaw, 180);
  EXPECT_EQ(p.hotSpots.at(3).pos, 7.25);
  EXPECT_EQ(p.hotSpots.countInUse(), 2);
}

TEST(ProjectFile, ReadingCases) {
  ProjectSettings current;
  current.customSize = 1, current.customWidth = "640", current.tiltManual = "45";
  current.hsSelfMode = 0, current.videoPath = "/old.flv";
  const std::string only13 =
      "<HSLINK1>one</HSLINK1><HSPOS1>1</HSPOS1><HSYAW1>-2.5</HSYAW1><HSSELF1>1.5</HSSELF1>"
      "<HSLINK3>" +
      std::string(600, 'L') + "</HSLINK3><HSTITLE3>  " + std::string(60, 'T') +
      "</HSTITLE3><HSPOS3>3</HSPOS3><ZOOMMAX>200</ZOOMMAX><ZOOM>12</ZOOM>";
  const Project p = readProjectFile(only13, current, 10, "/proj");
  EXPECT_EQ(p.hotSpots.at(1).link, "one");
  EXPECT_EQ(p.hotSpots.at(1).yaw, -2);
  EXPECT_EQ(p.hotSpots.at(1).self, 2);
  EXPECT_EQ(p.hotSpots.at(3).link.size(), 512u);
  EXPECT_EQ(p.hotSpots.at(3).title, std::string(40, 'T'));
  for (int slot : {2, 4, 5, 6, 7, 8, 9, 10}) EXPECT_EQ(p.hotSpots.at(slot), HotSpot{});
  // Fields no file stores keep their values; the video is replaced (here by nothing).
  EXPECT_EQ(p.settings.customSize, 1);
  EXPECT_EQ(p.settings.customWidth, "640");
  EXPECT_EQ(p.settings.tiltManual, "45");
  EXPECT_EQ(p.settings.hsSelfMode, 0);
  EXPECT_EQ(p.settings.videoPath, "");
  // ZOOMMAX is taken, but the zoom number must fit the window's list, which a load keeps.
  EXPECT_EQ(p.settings.zoomMax, 200);
  EXPECT_EQ(p.settings.zoom, 0);
  EXPECT_EQ(readProjectFile("<ZOOM>10</ZOOM>", current, 10, "/").settings.zoom, 10);
}

TEST(ProjectFile, RelativeVideoIsTakenFromTheProjectFolder) {
  // Compared as paths: Windows writes its own separator.
  const auto video = [](const char* text, const char* folder) {
    return std::filesystem::path(readProjectFile(text, {}, 10, folder).settings.videoPath);
  };
  EXPECT_EQ(video("<VIDEO1> demo.flv </VIDEO1>", "/p/q"), "/p/q/demo.flv");
  EXPECT_EQ(video("<VIDEO1>../v/demo.flv</VIDEO1>", "/p/q"), "/p/v/demo.flv");
  EXPECT_EQ(video("<VIDEO1>..\\v\\demo.flv</VIDEO1>", "/p/q"), "/p/v/demo.flv");
  EXPECT_EQ(readProjectFile("<VIDEO1>/abs/demo.flv</VIDEO1>", {}, 10, "/p").settings.videoPath,
            "/abs/demo.flv");
}

TEST(ProjectFile, SaveName) {
  EXPECT_EQ(projectSaveName("tour"), "tour.pp");
  EXPECT_EQ(projectSaveName("tour.PP"), "tour.PP");
  EXPECT_EQ(projectSaveName("tour.p"), "tour.p.pp");
  EXPECT_EQ(projectSaveName(" tour.pp "), "tour.pp");
}

TEST(ProjectFile, FailedSaveLeavesTheOldFileWhole) {
  TempFolder dir;
  const auto path = dir.path() / "p.pp";
  HotSpotList spots;
  ASSERT_FALSE(saveProjectFile(path, {}, spots));
  const auto before = readFileBytes(path).value();

  // A full disk, simulated by a file-size limit smaller than the project.
  ProjectSettings changed;
  changed.htmlTitle = "changed";
  std::optional<FileError> error;
  {
    const FileSizeLimit limit(1000);
    if (!limit.active()) GTEST_SKIP() << "no file-size limit on this system";
    error = saveProjectFile(path, changed, spots);
  }

  ASSERT_TRUE(error);
  EXPECT_EQ(error->path, path);
  EXPECT_FALSE(error->reason.empty());
  EXPECT_EQ(readFileBytes(path).value(), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // A folder that does not exist: an error naming the file.
  const auto missing = saveProjectFile(dir.path() / "no" / "p.pp", {}, spots);
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->message().find("p.pp"), std::string::npos);
  EXPECT_FALSE(loadProjectFile(dir.path() / "none.pp", {}, 10));
  EXPECT_FALSE(loadProjectFile(dir.path(), {}, 10));
}

TEST(ProjectFile, AnyBytesReadWithoutHarm) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  garbage += "<HSPOS1><HSPOS1></HSPOS1></HSPOS1><<>>></</" + std::string(3, '\0');
  EXPECT_NO_THROW(readProjectFile(garbage, {}, 10, "/"));
  const std::string big(50 * 1024 * 1024, 'x');
  EXPECT_EQ(readProjectFile(big + "<HSPOS2>4</HSPOS2>", {}, 10, "/").hotSpots.at(2).pos, 4);
}

TEST(ProjectFile, HostileFilesAreReadInLinearTimeAndHugeOnesRefused) {
  TempFolder dir;
  const auto secondsToLoad = [&](const std::string& bytes) {
    const auto path = dir.path() / "hostile.pp";
    std::ofstream(path, std::ios::binary) << bytes;
    // Processor time, not wall time: the machine may be busy with other work.
    const std::clock_t start = std::clock();
    // The options file goes through the same folding and tag index.
    EXPECT_TRUE(loadProjectFile(path, {}, 10));
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  };
  // Every "</" once started a search for its '>' to the end of the file.
  const auto closers = [](std::size_t size) {
    std::string text;
    while (text.size() < size) text += "</";
    return text;
  };
  const double small = secondsToLoad(closers(1 << 20));
  const double large = secondsToLoad(closers(4 << 20));
  EXPECT_LT(large, 8 * small + 0.5) << "1 MB: " << small << " s, 4 MB: " << large << " s";

  const auto huge = dir.path() / "huge.pp";
  std::ofstream(huge, std::ios::binary) << std::string(kMaxReadSize + 1, 'x');
  const auto refused = loadProjectFile(huge, {}, 10);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().reason.find("larger than 8 MiB"), std::string::npos);
}
