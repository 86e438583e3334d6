#include "project/OptionsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/TempFolder.h"
#include "project/ChoiceLists.h"

using namespace qx;

namespace {

const std::string kDefaultOptionsFile =
    "Generatad by Velmora Vozaz Izuzizaz Azaziveve, d'not edit!\r\n"
    "------------------------------------------------\r\n"
    "<WINDOW>4</WINDOW>\r\n"
    "<SMOOTH>0</SMOOTH>\r\n"
    "<CONTROLS>1</CONTROLS>\r\n"
    "<ZOOM>4</ZOOM>\r\n"
    "<YAW>1</YAW>\r\n"
    "<PITCH>1</PITCH>\r\n"
    "<TILT>1</TILT>\r\n"
    "<AUDIO>6</AUDIO>\r\n"
    "<HTMLBGCOLOR>FFFFFF</HTMLBGCOLOR>\r\n"
    "<HTMLTITLE></HTMLTITLE>\r\n"
    "<STARTBUFFERINGTIME>30</STARTBUFFERINGTIME>\r\n"
    "<BORDER>1</BORDER>\r\n"
    "<VIEWMODE>0</VIEWMODE>  //   0 - classic, 1 - black areas\r\n"
    "<PANNINGMODE>1</PANNINGMODE>  //   1 - classic, 2 - Half Area\r\n"
    "<BLACKAREACOLOR>000000</BLACKAREACOLOR>\r\n"
    "<FLASHPLAYER>1</FLASHPLAYER>  //   0 - FP9, 1 - FP10\r\n"
    "<TOOLTIPHELP>1</TOOLTIPHELP>\r\n"
    "<HS_ICON>1</HS_ICON>\r\n"
    "<BALANCE>1</BALANCE>\r\n"
    "<OPTIMIZE>1</OPTIMIZE>\r\n"
    "<HTML_QUALITY>3</HTML_QUALITY>\r\n"
    "<ZOOMMAX>130</ZOOMMAX>\r\n";

ProjectSettings changedSettings() {
  ProjectSettings s;
  s.window = 13, s.smooth = 1, s.controls = 0, s.zoom = 10, s.yaw = 13, s.pitch = 8, s.tilt = 13;
  s.audio = 11, s.htmlBgColor = 0x0080FF, s.htmlTitle = "My tour", s.startBufferingTime = "12";
  s.border = 0, s.viewMode = 1, s.panningMode = 2, s.blackAreaColor = 0x123456;
  s.flashPlayer = 3, s.tooltipHelp = 0, s.hsIcon = 2, s.balance = 6, s.optimize = 3;
  s.htmlQuality = 4, s.zoomMax = 180;
  return s;
}

}  // namespace

TEST(OptionsFile, DefaultFileIsByteExact) {
  EXPECT_EQ(writeOptionsFile(ProjectSettings{}), kDefaultOptionsFile);
  EXPECT_EQ(readOptionsFile(kDefaultOptionsFile, changedSettings()), ProjectSettings{});
}

TEST(OptionsFile, EveryOptionRoundTrips) {
  const ProjectSettings s = changedSettings();
  const ProjectSettings back = readOptionsFile(writeOptionsFile(s), ProjectSettings{});
  EXPECT_EQ(back, s);
}

TEST(OptionsFile, BufferingIsWrittenAsARoundedWholeNumber) {
  ProjectSettings s;
  for (const auto& [typed, written] : std::vector<std::pair<std::string, std::string>>{
           {"2.5", "2"}, {"3.5", "4"}, {" 7 sec", "7"}, {"", "0"}, {"abc", "0"}}) {
    s.startBufferingTime = typed;
    EXPECT_NE(writeOptionsFile(s).find("<STARTBUFFERINGTIME>" + written + "</"), std::string::npos)
        << typed;
  }
}

TEST(OptionsFile, OnlyZoomMaxPresent) {
  const ProjectSettings s = readOptionsFile("<ZOOMMAX>180</ZOOMMAX>", changedSettings());
  EXPECT_EQ(s.zoomMax, 180);
  EXPECT_EQ(zoomItemCount(s.zoomMax), 15);
  EXPECT_EQ(s.window, 0);
  EXPECT_EQ(s.zoom, 0);
  EXPECT_EQ(s.yaw, 0);
  EXPECT_EQ(s.pitch, 0);
  EXPECT_EQ(s.tilt, 0);
  EXPECT_EQ(s.audio, 0);
  EXPECT_EQ(s.balance, 0);
  EXPECT_EQ(s.optimize, 0);
  EXPECT_EQ(s.htmlQuality, 0);
  EXPECT_EQ(s.flashPlayer, 0);
  EXPECT_EQ(s.panningMode, 1);  // 0 is taken as the first item
  EXPECT_EQ(s.smooth, 0);
  EXPECT_EQ(s.controls, 0);
  EXPECT_EQ(s.border, 0);
  EXPECT_EQ(s.viewMode, 0);
  EXPECT_EQ(s.hsIcon, 1);
  EXPECT_EQ(s.htmlBgColor, 0u);
  EXPECT_EQ(s.blackAreaColor, 0u);
  EXPECT_EQ(s.htmlTitle, "");
  EXPECT_EQ(s.startBufferingTime, "");
  EXPECT_EQ(s.tooltipHelp, 0);
}

TEST(OptionsFile, ReadingCases) {
  const ProjectSettings base;
  EXPECT_EQ(readOptionsFile("<ZOOMMAX>0</ZOOMMAX>", base).zoomMax, 130);
  EXPECT_EQ(readOptionsFile("<ZOOMMAX>-5</ZOOMMAX>", base).zoomMax, 130);
  EXPECT_EQ(readOptionsFile("<HTMLTITLE>  spaced  </HTMLTITLE>", base).htmlTitle, "spaced");
  EXPECT_EQ(readOptionsFile("<HTMLTITLE>a</b</HTMLTITLE>", base).htmlTitle, "a</b");
  EXPECT_EQ(readOptionsFile("<HTMLBGCOLOR>0000FF</HTMLBGCOLOR>", base).htmlBgColor, 0x0000FFu);
  EXPECT_EQ(readOptionsFile("<HTMLBGCOLOR> FFFFFF</HTMLBGCOLOR>", base).htmlBgColor, 0u);
  EXPECT_EQ(readOptionsFile("<HTMLBGCOLOR>1FFFFFFFF</HTMLBGCOLOR>", base).htmlBgColor, 0xFFFFFFu);
  EXPECT_EQ(readOptionsFile("<YAW> 3</YAW>", base).yaw, 3);
  EXPECT_EQ(readOptionsFile("<YAW>14</YAW>", base).yaw, 0);
  EXPECT_EQ(readOptionsFile("<VIEWMODE>7</VIEWMODE>", base).viewMode, 1);
  EXPECT_EQ(readOptionsFile("<HS_ICON>0</HS_ICON>", base).hsIcon, 1);
  EXPECT_EQ(readOptionsFile("<HS_ICON>5</HS_ICON>", base).hsIcon, 2);
  EXPECT_EQ(readOptionsFile("<PANNINGMODE>3</PANNINGMODE>", base).panningMode, 0);
  EXPECT_EQ(readOptionsFile("<TOOLTIPHELP>5</TOOLTIPHELP>", base).tooltipHelp, 5);
  // The zoom number must fit the list that the ZOOMMAX read gives.
  EXPECT_EQ(readOptionsFile("<ZOOMMAX>90</ZOOMMAX><ZOOM>6</ZOOM>", base).zoom, 6);
  EXPECT_EQ(readOptionsFile("<ZOOMMAX>90</ZOOMMAX><ZOOM>7</ZOOM>", base).zoom, 0);
  // Tags in any order, the closing tag of the last value missing.
  const auto s = readOptionsFile("junk<AUDIO>3</AUDIO>\r\n<YAW>5 and the rest\r\n", base);
  EXPECT_EQ(s.audio, 3);
  EXPECT_EQ(s.yaw, 5);
  // The old writer's files fold exactly as before.
  EXPECT_EQ(readOptionsFile(kDefaultOptionsFile, base), base);
}

TEST(OptionsFile, TextsOutsideWindows1252SurviveAsUtf8) {
  ProjectSettings s;
  s.htmlTitle = "\xD0\x9F\xD0\xB0\xD0\xBD\xD0\xBE\xD1\x80\xD0\xB0\xD0\xBC\xD0\xB0";  // Cyrillic
  EXPECT_EQ(readOptionsFile(writeOptionsFile(s), {}).htmlTitle, s.htmlTitle);
  s.htmlTitle = "Caf\xC3\xA9";
  const std::string bytes = writeOptionsFile(s);
  EXPECT_NE(bytes.find("Caf\xE9<"), std::string::npos);  // Windows-1252 when it fits
  EXPECT_EQ(readOptionsFile(bytes, {}).htmlTitle, s.htmlTitle);
}

TEST(OptionsFile, PathBesideTheProgram) {
  EXPECT_EQ(optionsFilePath("/opt/qx/bin/demo"), std::filesystem::path("/opt/qx/bin/demo.ini"));
  EXPECT_EQ(optionsFilePath("/opt/qx/qx_flash_hs.exe"),
            std::filesystem::path("/opt/qx/qx_flash_hs.ini"));
}

TEST(OptionsFile, SaveAndLoadThroughTheFileSystem) {
  TempFolder dir;
  const auto path = dir.path() / "qx_flash_hs.ini";
  const auto missing = loadOptionsFile(path, changedSettings());
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing.value(), changedSettings());
  ASSERT_FALSE(saveOptionsFile(path, changedSettings()));
  const auto loaded = loadOptionsFile(path, {});
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded.value(), changedSettings());
}
