// The import dialog with a stand-in for the import program: what it found, the choices it
// passes on, the progress, Cancel, the program's errors, and the window taking the FLV.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <set>

#include <gtest/gtest.h>
#include "FakeImportProgram.h"
#include "Fakes.h"
#include "WindowFixture.h"
#include "app/ControlIds.h"
#include "app/ImportDialog.h"
#include "common/TempFolder.h"
#include "common/TestVideos.h"
#include "media/VideoContent.h"
#include "platform/QtText.h"

namespace qx {
namespace {

std::string contentOf(const std::filesystem::path& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool waitFor(const std::function<bool()>& done, int ms = 5000) {
  return QTest::qWaitFor(done, ms);
}

class ImportDialogTest : public ::testing::Test {
 protected:
  TempFolder folder;
  test::Log log;
  test::FakePlatform platform{log};
  QString source = toQString(folder.path() / "camera.mov");
  QString flv = toQString(folder.path() / "camera.flv");

  // The stand-in as `change` leaves it.
  static test::FakeImport fake(const std::function<void(test::FakeImport&)>& change) {
    test::FakeImport f;
    change(f);
    return f;
  }

  std::unique_ptr<ImportDialog> open(const test::FakeImport& fake) {
    std::ofstream(folder.path() / "camera.mov") << "a camera's video";
    const auto program = test::writeFakeImportProgram(folder.path(), fake);
    auto dialog =
        std::make_unique<ImportDialog>(nullptr, platform, toQString(program), source, true);
    dialog->show();
    return dialog;
  }
};

TEST_F(ImportDialogTest, ShowsWhatWasFoundPassesTheChoicesAndFinishesWithTheFlv) {
  auto dialog = open(fake([](auto& f) {
    f.projection = "unknown";
    f.stereo = "top-bottom";
  }));
  EXPECT_EQ(dialog->destination(), flv);
  ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Ready; }));
  const QString found = dialog->foundLabel()->text();
  for (const char* part : {"mov", "hevc, 512 x 256, 1.5 s", "aac", "Projection: Unknown",
                           "top-bottom; the left eye becomes the panorama", "converted"})
    EXPECT_TRUE(found.contains(QLatin1String(part))) << part << " in " << found.toStdString();

  // An unknown projection has to be chosen before the import can start.
  EXPECT_FALSE(dialog->importButton()->isEnabled());
  EXPECT_FALSE(dialog->fieldOfViewBox()->isEnabled());
  dialog->projectionBox()->setCurrentIndex(dialog->projectionBox()->findData("dual-fisheye"));
  EXPECT_TRUE(dialog->importButton()->isEnabled());
  EXPECT_TRUE(dialog->fieldOfViewBox()->isEnabled());
  dialog->fieldOfViewBox()->setValue(200);
  dialog->widthBox()->setCurrentIndex(dialog->widthBox()->findData(2048));

  std::set<int> progressSeen;
  QObject::connect(dialog->progressBar(), &QProgressBar::valueChanged,
                   [&](int v) { progressSeen.insert(v); });
  std::set<QString> timesSeen;
  QObject::connect(dialog->progressBar(), &QProgressBar::valueChanged,
                   [&] { timesSeen.insert(dialog->timeLeftLabel()->text()); });
  dialog->importButton()->click();
  EXPECT_FALSE(dialog->widthBox()->isEnabled()) << "the choices stay while the import runs";
  if (const QString shot = qEnvironmentVariable("QX_IMPORT_SCREENSHOT"); !shot.isEmpty()) {
    waitFor([&] { return dialog->progressBar()->value() >= 450; });
    dialog->grab().save(shot);
  }
  ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Finished; }));
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->importedVideo(), flv);
  EXPECT_EQ(contentOf(folder.path() / "arguments"),
            source.toStdString() + " " + flv.toStdString() +
                " --projection dual-fisheye --width 2048 --fov 200 --progress-lines\n");
  EXPECT_EQ(progressSeen, (std::set<int>{225, 450, 675, 900, 1000}));
  EXPECT_TRUE(timesSeen.count(QStringLiteral("About 1 s left"))) << timesSeen.size();
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImportDialogTest, AKnownProjectionIsPassedOnAsFoundAndAnFlvIsAskedBeforeReplacing) {
  std::ofstream(folder.path() / "camera.flv") << "the earlier import";
  auto dialog = open({});
  ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Ready; }));
  EXPECT_TRUE(dialog->importButton()->isEnabled());
  EXPECT_EQ(dialog->projectionBox()->currentText(), QStringLiteral("As found: Equirectangular"));

  platform.messageAnswers = {MessageAnswer::Cancel};
  dialog->importButton()->click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].okCancel);
  EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("camera.flv already exists")));
  EXPECT_EQ(dialog->stage(), ImportDialog::Stage::Ready);
  EXPECT_EQ(contentOf(folder.path() / "camera.flv"), "the earlier import");

  dialog->importButton()->click();  // OK this time
  ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Finished; }));
  EXPECT_EQ(contentOf(folder.path() / "camera.flv"), "FLV\n");
  EXPECT_TRUE(contentOf(folder.path() / "arguments")
                  .find("--projection auto --width 3840 "
                        "--progress-lines") != std::string::npos);
}

TEST_F(ImportDialogTest, CancelStopsTheProgramAndWaitsUntilItHasTidiedUp) {
  auto dialog = open(fake([](auto& f) {
    f.steps = 400;
    f.stepSeconds = 0.02;
  }));
  ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Ready; }));
  dialog->importButton()->click();
  ASSERT_TRUE(waitFor([&] { return dialog->progressBar()->value() > 0; }));
  ASSERT_TRUE(std::filesystem::exists(folder.path() / "camera.flv.part"));
  dialog->cancelButton()->click();
  EXPECT_EQ(dialog->stage(), ImportDialog::Stage::Cancelling);
  EXPECT_FALSE(dialog->cancelButton()->isEnabled());
  ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Finished; }));
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(dialog->importedVideo());
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "terminated")) << "not stopped by SIGTERM";
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "camera.flv.part"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "camera.flv"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImportDialogTest, TheProgramsErrorsAreWarningsWithItsMessage) {
  {
    auto dialog = open(fake([](auto& f) { f.probeError = "no video stream"; }));
    ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Finished; }));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("qx_flash_hs-import: no video stream"));
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
  }
  {
    // A failed import goes back to the choices, to try another one.
    auto dialog =
        open(fake([](auto& f) { f.importError = "the conversion failed: out of space"; }));
    ASSERT_TRUE(waitFor([&] { return dialog->stage() == ImportDialog::Stage::Ready; }));
    dialog->importButton()->click();
    ASSERT_TRUE(waitFor([&] { return platform.messages.size() == 2; }));
    EXPECT_EQ(platform.messages[1].text,
              QStringLiteral("qx_flash_hs-import: the conversion failed: out of space"));
    EXPECT_EQ(dialog->stage(), ImportDialog::Stage::Ready);
    EXPECT_TRUE(dialog->importButton()->isEnabled());
    EXPECT_EQ(dialog->progressBar()->value(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "camera.flv"));
  }
  {
    ImportDialog dialog(nullptr, platform, toQString(folder.path() / "missing"), source, false);
    dialog.show();
    ASSERT_TRUE(waitFor([&] { return dialog.stage() == ImportDialog::Stage::Finished; }));
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_TRUE(platform.messages[2].text.startsWith(
        QStringLiteral("The import program could not be started")));
  }
}

// Clicks Import (or Cancel) in the import dialog that the next command opens, once it is ready.
void clickInImportDialog(bool cancel) {
  QTimer::singleShot(0, [cancel] {
    waitFor([] { return QApplication::activeModalWidget() != nullptr; });
    auto* dialog = dynamic_cast<ImportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    waitFor([&] { return dialog->stage() == ImportDialog::Stage::Ready; });
    (cancel ? dialog->cancelButton() : dialog->importButton())->click();
  });
}

// Through the window: a camera file chosen in the video dialog is imported, and the FLV becomes
// the project's video and plays; a cancelled import changes nothing.
class WindowImportTest : public test::WindowTest {};

TEST_F(WindowImportTest, ACameraFileChosenIsImportedAndItsFlvPlays) {
  test::writeFakeImportProgram(folder.path(), {});
  std::ofstream(folder.path() / "camera.MP4") << "a camera's video";

  platform.fileAnswers = {{file("camera.MP4")}};
  clickInImportDialog(true);
  window->mainWindowProc(100, 0);
  EXPECT_EQ(window->currentSettings().videoPath, "");
  const auto& request = platform.fileRequests.back();
  ASSERT_EQ(request.moreFilters.size(), 2u);
  EXPECT_TRUE(request.moreFilters[0].startsWith(QStringLiteral("360 videos (*.flv *.f4v *.mp4 ")));
  EXPECT_EQ(request.moreFilters[1], QStringLiteral("All files (*)"));

  platform.fileAnswers = {{file("camera.MP4")}};
  clickInImportDialog(false);
  log.clear();
  window->mainWindowProc(100, 0);
  EXPECT_EQ(window->currentSettings().videoPath, (folder.path() / "camera.flv").string());
  EXPECT_EQ(log.back(), "play:" + (folder.path() / "camera.flv").string());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(WindowImportTest, PublishRefusesACameraFileAndPublishesOnceItIsImported) {
  namespace tv = testvideos;
  std::ofstream(folder.path() / "camera.mp4", std::ios::binary) << tv::mp4Video("isom", "hvc1");
  std::ofstream(folder.path() / "made.flv", std::ios::binary) << tv::flv(7, 10);
  auto made = test::FakeImport{};
  made.outputFrom = folder.path() / "made.flv";
  test::writeFakeImportProgram(folder.path(), made);
  ProjectSettings settings = window->currentSettings();
  settings.videoPath = (folder.path() / "camera.mp4").string();
  window->applySettings(settings);

  // Cancel at the offer: nothing is written, the video stays.
  platform.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Cancel};
  window->mainWindowProc(id::kPublish, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Video the Flash page cannot")));
  EXPECT_EQ(platform.messages[1].text.right(14), QStringLiteral("Import it now?"));
  EXPECT_TRUE(platform.messages[1].okCancel);
  EXPECT_TRUE(platform.fileRequests.empty()) << "the page dialog came up";
  EXPECT_EQ(window->currentSettings().videoPath, settings.videoPath);

  // OK: the import runs, its FLV becomes the project's video, and the publish goes on.
  platform.messages.clear();
  platform.fileAnswers = {{file("tour.html")}};
  clickInImportDialog(false);
  window->mainWindowProc(id::kPublish, 0);
  EXPECT_EQ(window->currentSettings().videoPath, (folder.path() / "camera.flv").string());
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[2].icon, MessageIcon::Information)
      << platform.messages[2].text.toStdString();
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "tour.html"));
}

// The real import program on a small video that the page cannot play (MPEG-4 Part 2 in AVI).
TEST_F(ImportDialogTest, TheImportProgramMakesAnFlvThePagePlays) {
#ifndef QX_IMPORT_PROGRAM
  GTEST_SKIP() << "the import program is not built";
#else
  const QString avi = toQString(folder.path() / "camera.avi");
  QProcess ffmpeg;
  ffmpeg.start(QStringLiteral(QX_FFMPEG), {"-v", "error", "-f", "lavfi", "-i",
                                           "testsrc=s=256x128:r=10:d=0.5", "-c:v", "mpeg4", avi});
  ASSERT_TRUE(ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0);
  ImportDialog dialog(nullptr, platform, QStringLiteral(QX_IMPORT_PROGRAM), avi, false);
  dialog.show();
  ASSERT_TRUE(waitFor([&] { return dialog.stage() != ImportDialog::Stage::Probing; }, 30000));
  ASSERT_EQ(dialog.stage(), ImportDialog::Stage::Ready)
      << (platform.messages.empty() ? "" : platform.messages[0].text.toStdString());
  EXPECT_TRUE(dialog.foundLabel()->text().contains(QStringLiteral("256 x 128")));
  EXPECT_TRUE(dialog.foundLabel()->text().contains(QStringLiteral("Equirectangular")));
  dialog.widthBox()->setCurrentIndex(dialog.widthBox()->findData(1024));
  dialog.importButton()->click();
  ASSERT_TRUE(waitFor([&] { return dialog.stage() == ImportDialog::Stage::Finished; }, 60000));
  ASSERT_EQ(dialog.importedVideo(), toQString(folder.path() / "camera.flv"))
      << (platform.messages.empty() ? "" : platform.messages[0].text.toStdString());
  const media::VideoContent flv = media::readVideoContent(folder.path() / "camera.flv");
  EXPECT_TRUE(flv.flashPlays) << flv.reason;
  EXPECT_EQ(flv.videoCodec, "h264");
  EXPECT_EQ(dialog.progressBar()->value(), dialog.progressBar()->maximum());
#endif
}

}  // namespace
}  // namespace qx
