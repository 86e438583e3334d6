// Save Options, Save and Load Project and the two publish commands through fake dialogs: every
// option round-trips, failures show as a Warning naming the file, messages come in order.
#include <fstream>

#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSlider>

#include "WindowFixture.h"
#include "common/TestVideos.h"
#include "project/FileIo.h"
#include "project/ProjectFile.h"

namespace qx::test {
namespace {

// Every option set away from its default, as a user would in the window.
ProjectSettings unusualSettings(const std::filesystem::path& video) {
  ProjectSettings s;
  s.window = 11;
  s.smooth = 1;
  s.controls = 0;
  s.zoom = 9;
  s.yaw = 5;
  s.pitch = 6;
  s.tilt = 13;
  s.audio = 3;
  s.htmlBgColor = 0x0000FF;
  s.htmlTitle = "Hall of mirrors \xC3\xA9t\xC3\xA9";
  s.startBufferingTime = "12";
  s.border = 0;
  s.viewMode = 1;
  s.hsIcon = 2;
  s.panningMode = 2;
  s.blackAreaColor = 0x204060;
  s.flashPlayer = 2;
  s.tooltipHelp = 0;
  s.balance = 4;
  s.optimize = 3;
  s.htmlQuality = 4;
  s.zoomMax = 130;
  s.videoPath = video.string();
  s.iframe = 1;
  return s;
}

// Only the fields the options file carries.
ProjectSettings optionsPart(ProjectSettings s) {
  const ProjectSettings d;
  s.videoPath = d.videoPath;
  s.iframe = d.iframe;
  s.customSize = d.customSize;
  s.customWidth = d.customWidth;
  s.customHeight = d.customHeight;
  s.tiltManual = d.tiltManual;
  s.hsSelfMode = d.hsSelfMode;
  return s;
}

TEST_F(WindowTest, SaveOptionsRoundTripsEveryOptionThroughTheNextStart) {
  window->applySettings(unusualSettings(folder.path() / "hall.flv"));
  window->mainWindowProc(155, 0);
  EXPECT_TRUE(platform.messages.empty());
  build();
  EXPECT_EQ(optionsPart(window->currentSettings()),
            optionsPart(unusualSettings(folder.path() / "hall.flv")));
}

TEST_F(WindowTest, SaveAndLoadProjectRoundTripEveryOptionAndHotSpot) {
  const ProjectSettings settings = unusualSettings(folder.path() / "hall.flv");
  std::ofstream(settings.videoPath) << "FLV";
  window->applySettings(settings);
  button(173)->click();
  box(167)->setText(QStringLiteral("http://example.org/three"));
  box(242)->setText(QStringLiteral("Three"));
  box(233)->setText(QStringLiteral("4"));
  ctl<QSlider>(161)->setValue(-120);
  player->position = 7.25;
  window->mainWindowProc(163, 0);
  const HotSpotList spots = state.hotSpots;

  std::filesystem::create_directories(folder.path() / "projects");
  platform.fileAnswers = {{file("projects/tour")}};
  window->mainWindowProc(464, 0);
  const FileDialogRequest& save = platform.fileRequests.back();
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.filterDescription, QStringLiteral("Project file (*.pp)"));
  EXPECT_EQ(save.initialName, QStringLiteral("*.pp"));
  EXPECT_EQ(save.startFolder, toQString(folder.path()));  // lastOpenFolder, not lastSaveFolder
  ASSERT_TRUE(std::filesystem::exists(folder.path() / "projects/tour.pp"));
  EXPECT_EQ(state.lastSaveFolder, file("projects"));
  EXPECT_EQ(state.lastOpenFolder, toQString(folder.path()));
  EXPECT_TRUE(platform.messages.empty());

  window->mainWindowProc(104, 0);
  window->mainWindowProc(165, 0);
  platform.fileAnswers = {{file("projects/tour.pp")}};
  window->mainWindowProc(463, 0);
  const FileDialogRequest& load = platform.fileRequests.back();
  EXPECT_FALSE(load.save);
  EXPECT_EQ(load.filterDescription, QStringLiteral("Project files"));
  EXPECT_EQ(load.pattern, QStringLiteral("*.pp"));
  EXPECT_EQ(load.initialName, QString());

  // Slot 1, empty, is shown last, which unchecks "self HS mode" (a field no file carries).
  ProjectSettings expected = settings;
  expected.hsSelfMode = 0;
  EXPECT_EQ(window->currentSettings(), expected);
  EXPECT_EQ(state.hotSpots, spots);
  EXPECT_EQ(state.lastOpenFolder, file("projects"));
  EXPECT_EQ(log.back(), "play:" + settings.videoPath);
}

TEST_F(WindowTest, FilesThatCannotBeWrittenOrReadAreShownAsWarnings) {
  // Save Options into a folder that does not exist.
  window.reset();
  auto fake = std::make_unique<FakePlayer>(log);
  player = fake.get();
  const auto missing = folder.path() / "gone" / "qx_flash_hs.ini";
  window =
      std::make_unique<MainWindow>(state, platform, media, std::move(fake), missing, help.hooks());
  window->mainWindowProc(155, 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].title, QStringLiteral("Warning"));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(platform.messages[0].text.contains(toQString(missing)))
      << platform.messages[0].text.toStdString();

  // Save Project the same way. Both say what could not be saved, then why.
  platform.fileAnswers = {{file("gone/tour.pp")}};
  window->mainWindowProc(464, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[1].text.contains(file("gone/tour.pp")));
  EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Could not save the options.")));
  EXPECT_TRUE(platform.messages[1].text.startsWith(QStringLiteral("Could not save the project.")));

  // A project that cannot be read changes nothing, and says why.
  const ProjectSettings before = window->currentSettings();
  platform.fileAnswers = {{file("gone/other.pp")}};
  window->mainWindowProc(463, 0);
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[2].title, QStringLiteral("Warning"));
  EXPECT_TRUE(platform.messages[2].text.contains(file("gone/other.pp")));
  EXPECT_EQ(window->currentSettings(), before);
  EXPECT_EQ(log.back().rfind("play:", 0), std::string::npos);
}

class PublishTest : public WindowTest {
 protected:
  std::filesystem::path video() const { return folder.path() / "hall.flv"; }
  void SetUp() override {
    WindowTest::SetUp();
    std::ofstream(video(), std::ios::binary) << testvideos::flv();
    std::filesystem::create_directories(folder.path() / "site");
  }
  void chooseVideo() {
    platform.fileAnswers = {{toQString(video())}};
    window->mainWindowProc(100, 0);
  }
  std::size_t indexOf(const std::string& entry) const {
    return static_cast<std::size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
  }
};

TEST_F(PublishTest, VideoIsCheckedBeforeAnythingElse) {
  window->mainWindowProc(101, 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, QStringLiteral("FLV file not selected"));
  EXPECT_EQ(platform.messages[0].title, QStringLiteral("Warning"));
  EXPECT_EQ(indexOf("stop"), log.size());  // the preview is not touched
  EXPECT_TRUE(platform.fileRequests.empty());

  chooseVideo();
  std::filesystem::remove(video());
  window->mainWindowProc(134, 0);
  EXPECT_EQ(platform.messages.back().text, QStringLiteral("FLV file not found"));
  EXPECT_EQ(platform.fileRequests.size(), 1u);  // only the video dialog
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PublishTest, CancelEndsSilentlyWithThePreviewStopped) {
  chooseVideo();
  window->mainWindowProc(101, 0);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_LT(indexOf("stop"), indexOf("dialog:Publish Html web page"));
  const FileDialogRequest& r = platform.fileRequests.back();
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.filterDescription, QStringLiteral("Html Web page (*.html)"));
  EXPECT_EQ(r.pattern, QStringLiteral("*.html"));
  EXPECT_EQ(r.initialName, QStringLiteral("*.html"));
  EXPECT_EQ(r.startFolder, toQString(folder.path()));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PublishTest, TestVariantShowsSuccessThenOpensThePage) {
  chooseVideo();
  platform.fileAnswers = {{file("site/tour.htm")}};
  window->mainWindowProc(134, 0);
  const auto page = folder.path() / "site" / "tour.htm.html";
  ASSERT_TRUE(std::filesystem::exists(page));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "site" / "config.xml"));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "site" / "hall.flv"));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, QStringLiteral("Publishing succeeded"));
  EXPECT_EQ(platform.messages[0].title, QStringLiteral("Information:"));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
  EXPECT_LT(indexOf("message:Publishing succeeded"), indexOf("open:" + page.string()));
  EXPECT_EQ(indexOf("open:" + page.string()), log.size() - 1);
  EXPECT_EQ(state.lastSaveFolder, file("site"));
  EXPECT_EQ(state.lastOpenFolder, toQString(folder.path()));  // the video's folder

  // Plain "Publish FLV" opens nothing, and starts in the folder of the last page.
  platform.fileAnswers = {{file("site/index.HTML")}};
  window->mainWindowProc(101, 0);
  EXPECT_EQ(platform.fileRequests.back().startFolder, file("site"));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "site" / "index.HTML"));
  EXPECT_EQ(platform.opened.size(), 1u);
}

// What a browser gets for `url` from a server running in this thread.
QByteArray httpGet(const QString& url) {
  QNetworkAccessManager manager;
  QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url)));
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  loop.exec();
  reply->deleteLater();
  return reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray("<failed>");
}

// With Ruffle at hand, the test variant shows the page over the local server, Ruffle added as the
// page is sent; the page on disk stays as published.
TEST_F(PublishTest, TestVariantShowsTheFlashPageWithRuffle) {
  const auto ruffle = folder.path() / "ruffle";
  std::filesystem::create_directories(ruffle);
  std::ofstream(ruffle / "ruffle.js") << "// ruffle";
  setenv("QX_RUFFLE_DIR", ruffle.c_str(), 1);
  chooseVideo();
  platform.fileAnswers = {{file("site/my tour.html")}};
  window->mainWindowProc(134, 0);
  unsetenv("QX_RUFFLE_DIR");
  ASSERT_EQ(platform.opened.size(), 1u);
  const QString url = platform.opened[0];
  EXPECT_TRUE(url.startsWith("http://127.0.0.1:")) << url.toStdString();
  EXPECT_TRUE(url.endsWith("/my%20tour.html")) << url.toStdString();

  const QByteArray served = httpGet(url);
  const QByteArray onDisk =
      QByteArray::fromStdString(readFileBytes(folder.path() / "site" / "my tour.html").value());
  EXPECT_FALSE(onDisk.contains("ruffle"));
  EXPECT_EQ(served,
            QByteArray(onDisk).replace(
                "</head>",
                "    <script>window.RufflePlayer = window.RufflePlayer || {}; RufflePlayer.config "
                "= {allowFullscreen: true, ...RufflePlayer.config};</script>"
                "<script src=\"/.qx-ruffle/ruffle.js\"></script>\r\n</head>"));
  EXPECT_EQ(httpGet(url.section('/', 0, 2) + "/.qx-ruffle/ruffle.js"), "// ruffle");
  EXPECT_EQ(httpGet(url.section('/', 0, 2) + "/config.xml").left(3), "\xEF\xBB\xBF");
}

TEST_F(PublishTest, FailuresAreShownAsAWarningNamingEveryFile) {
  chooseVideo();
  // A file where the images folder should go: its icons cannot be written.
  std::ofstream(folder.path() / "site" / "images") << "in the way";
  platform.fileAnswers = {{file("site/tour.html")}};
  window->mainWindowProc(134, 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  const auto& warning = platform.messages[0];
  EXPECT_EQ(warning.title, QStringLiteral("Warning"));
  EXPECT_EQ(warning.icon, MessageIcon::Warning);
  EXPECT_FALSE(warning.text.contains(QStringLiteral("Publishing succeeded")));
  EXPECT_TRUE(warning.text.contains(QStringLiteral("images")));
  // The page itself was written, so the test variant still opens it.
  EXPECT_EQ(platform.opened.size(), 1u);
}

}  // namespace
}  // namespace qx::test
