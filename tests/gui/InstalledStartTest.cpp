// How an installed copy starts: its command line, where its options file goes when the program's
// folder is the system's, and where it finds the selector utility and the guide.
#include <QDir>

#include "WindowFixture.h"
#include "app/InstallLayout.h"
#include "app/OptionsLocation.h"
#include "app/StartArguments.h"
#include "project/FileIo.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;
using Action = StartArguments::Action;

StartArguments read(std::vector<std::string_view> args) {
  return readStartArguments(args);
}

TEST(StartArguments, ProjectHelpVersionAndQtsOwnOptions) {
  EXPECT_EQ(read({}).action, Action::OpenWindow);
  EXPECT_EQ(read({}).project, "");
  // Qt's options and their values are not taken for the project.
  auto r = read({"-platform", "offscreen", "-style=Fusion", "-reverse", "tour.pp"});
  EXPECT_EQ(r.action, Action::OpenWindow);
  EXPECT_EQ(r.project, "tour.pp");
  EXPECT_EQ(read({"--", "-odd name.pp"}).project, "-odd name.pp");
  EXPECT_EQ(read({"tour.pp", "--help"}).action, Action::PrintHelp);
  EXPECT_EQ(read({"--version"}).action, Action::PrintVersion);
  r = read({"a.pp", "b.pp"});
  EXPECT_EQ(r.action, Action::Refuse);
  EXPECT_NE(r.message.find("b.pp"), std::string::npos);
}

TEST(OptionsLocation, BesideTheProgramOnlyWhenItsFolderCanBeWritten) {
  TempFolder temp;
  const auto writable = chooseOptionsLocation(temp.path() / "qx_flash_hs", "/home/u/.config/q");
  EXPECT_EQ(writable.file, temp.path() / "qx_flash_hs.ini");
  EXPECT_TRUE(writable.besideProgram);
  EXPECT_TRUE(fs::is_empty(temp.path()));  // the probe leaves nothing behind

  // A folder that cannot take a file (here: one that does not exist; root writes anywhere else).
  const auto system = chooseOptionsLocation(temp.path() / "absent" / "qx_flash_hs", "/cfg/q");
  EXPECT_EQ(system.file, fs::path("/cfg/q/qx_flash_hs.ini"));
  EXPECT_FALSE(system.besideProgram);
}

TEST_F(WindowTest, SaveOptionsInTheUsersFolderMakesItAndSaysWhere) {
  window.reset();
  const fs::path userFile = folder.path() / "config" / "qx_flash_hs" / "qx_flash_hs.ini";
  state.programFolder = folder.path() / "bin";
  state.optionsInUserFolder = true;
  window = std::make_unique<MainWindow>(state, platform, media, std::make_unique<FakePlayer>(log),
                                        userFile, help.hooks());
  window->mainWindowProc(155, 0);
  ASSERT_TRUE(fs::exists(userFile));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
  EXPECT_TRUE(platform.messages[0].text.contains(QDir::toNativeSeparators(toQString(userFile))))
      << platform.messages[0].text.toStdString();

  // Beside the program nothing is said: the user knows where that file is.
  build();
  window->mainWindowProc(155, 0);
  EXPECT_TRUE(fs::exists(optionsPath()));
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST(InstallLayout, InstalledFilesAreFoundFromTheProgramsFolder) {
  TempFolder prefix;
  const fs::path bin = prefix.path() / "bin";
  fs::create_directories(bin);
  // Nothing anywhere: the path beside the program, for the error message to name.
  EXPECT_EQ(usersGuideFile(bin), bin / "qx_flash_hs.pdf");

  const fs::path guide = prefix.path() / "share/doc/qx_flash_hs/qx_flash_hs.pdf";
  const fs::path utility = prefix.path() / "libexec/qx_flash_hs/velmora_redirect";
  const fs::path module = prefix.path() / "libexec/qx_flash_hs/qx_flash_hs-media.so";
  for (const auto& p : {guide, utility, module}) {
    fs::create_directories(p.parent_path());
    ASSERT_EQ(writeFileReplacing(p, "x"), std::nullopt);
  }
  EXPECT_EQ(usersGuideFile(bin), guide);
  EXPECT_EQ(redirectUtilityFile(bin, "velmora_redirect"), utility);
  EXPECT_EQ(mediaModuleFile(bin), module);
  // A portable copy's own file wins over an installed one.
  ASSERT_EQ(writeFileReplacing(bin / "qx_flash_hs.pdf", "x"), std::nullopt);
  EXPECT_EQ(usersGuideFile(bin), bin / "qx_flash_hs.pdf");
}

}  // namespace
}  // namespace qx::test
