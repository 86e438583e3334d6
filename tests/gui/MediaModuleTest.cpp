// A media module that is missing or cannot be loaded: the user hears of it once, in a Warning
// that names the file and where it was looked for, and everything else works on without it.
#include <fstream>

#include "WindowFixture.h"
#include "common/TestVideos.h"
#include "platform/Platform.h"
#include "preview/QtPreviewPlayer.h"

namespace qx::test {
namespace {

class MediaModuleTest : public WindowTest {
 protected:
  std::filesystem::path moduleFolder() const { return folder.path() / "libexec"; }
  std::filesystem::path moduleFile() const { return moduleFolder() / "qx_flash_hs-media.so"; }

  // The window, with the fake player, on `module` instead of the built one.
  void buildOn(MediaModule& module) {
    window.reset();
    auto fake = std::make_unique<FakePlayer>(log);
    player = fake.get();
    window = std::make_unique<MainWindow>(state, platform, module, std::move(fake), optionsPath(),
                                          help.hooks());
    window->show();
  }
  std::vector<FakePlatform::Message> warnings() const {
    std::vector<FakePlatform::Message> found;
    for (const auto& m : platform.messages)
      if (m.icon == MessageIcon::Warning) found.push_back(m);
    return found;
  }
};

TEST_F(MediaModuleTest, MissingModuleIsToldOnceAndPublishTestOpensThePageAsAFile) {
  MediaModule missing(moduleFile());
  buildOn(missing);
  const auto ruffle = folder.path() / "ruffle";
  std::filesystem::create_directories(ruffle);
  std::ofstream(ruffle / "ruffle.js") << "// ruffle";
  setenv("QX_RUFFLE_DIR", ruffle.c_str(), 1);
  std::ofstream(folder.path() / "hall.flv", std::ios::binary) << testvideos::flv();
  platform.fileAnswers = {{toQString(folder.path() / "hall.flv")}};
  window->mainWindowProc(100, 0);
  std::filesystem::create_directories(folder.path() / "site");
  const auto page = folder.path() / "site" / "tour.html";
  for (int round = 0; round < 2; ++round) {
    platform.fileAnswers = {{toQString(page)}};
    window->mainWindowProc(134, 0);  // Publish FLV/Test
    ASSERT_EQ(platform.opened.size(), std::size_t(round + 1));
    EXPECT_EQ(platform.opened.back(), toQString(page)) << "opened as a file, not over a server";
  }
  unsetenv("QX_RUFFLE_DIR");
  ASSERT_EQ(warnings().size(), 1u) << "told once, not at every need";
  const QString text = warnings()[0].text;
  EXPECT_EQ(warnings()[0].title, QStringLiteral("Warning"));
  EXPECT_TRUE(text.contains(QStringLiteral("qx_flash_hs-media.so is missing from ") +
                            toQString(moduleFolder())))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Publish FLV/Test opens the page as a file")));
  EXPECT_TRUE(std::filesystem::exists(page));
}

TEST_F(MediaModuleTest, BrokenModuleIsToldOnceAndPlayerAndPlatformWorkOn) {
  std::filesystem::create_directories(moduleFolder());
  std::ofstream(moduleFile()) << "not a shared object";
  MediaModule broken(moduleFile());
  buildOn(broken);
  QtPreviewPlayer preview(window.get(), broken);
  const auto qtPlatform = makeQtPlatform(QStringLiteral("qx-media-module-test-none"), broken);

  preview.loadAndPlay(toQString(folder.path() / "hall.flv"));
  EXPECT_EQ(preview.mediaEngine(), nullptr);
  preview.seekAndFreeze(1.0);
  preview.pausePlayer();
  EXPECT_EQ(preview.getPosition(), 0);
  preview.placeYawMarker(40);
  EXPECT_EQ(preview.markerGeometry().x(), markerX(40));
  qtPlatform->playResourceSound("sound3", "tick");
  EXPECT_FALSE(
      qtPlatform->activateProgram(QStringLiteral("Velmora Flash - Html5 WebGl Selector Utility")));

  ASSERT_EQ(warnings().size(), 1u);
  const QString text = warnings()[0].text;
  EXPECT_TRUE(
      text.contains(QStringLiteral("%1 could not be loaded: ").arg(toQString(moduleFile()))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("videos do not play in the preview")));
}

}  // namespace
}  // namespace qx::test
