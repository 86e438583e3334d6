// mainWindowProc: every command of the window, the click first, then one branch by identifier.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include "app/ControlIds.h"
#include "app/Controls.h"
#include "app/ImportDialog.h"
#include "app/ImportProgram.h"
#include "app/InstallLayout.h"
#include "app/MainWindow.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/FileChoosers.h"
#include "preview/HotSpotEditor.h"
#include "preview/PreviewPlayer.h"
#include "preview/VideoSelection.h"
#include "project/OptionsFile.h"
#include "project/PathText.h"
#include "project/ProjectFile.h"
#include "project/TextCodec.h"

namespace qx {

namespace {
const QString kRedirectCaption = QStringLiteral("Velmora Flash - Html5 WebGl Selector Utility");
}

void MainWindow::mainWindowProc(int id, int code) {
  if (code != 0 && code != 1) return;
  playClick(platform_);
  switch (id) {
    case id::kAbout:
      if (help_.showAbout) help_.showAbout(this, platform_);
      break;
    case id::kExit:
      if (confirmExit()) {
        exitConfirmed_ = true;
        close();
      }
      break;
    case id::kToolTipHelp:
      state_.tooltipHelp = state_.tooltipHelp == 0 ? 1 : 0;
      setToolTipHelp(state_.tooltipHelp == 1);
      break;
    case id::kOptionsByDefault:
      optionsByDefault();
      break;
    case id::kRedirectUtility:
      startRedirectUtility();
      break;
    case id::kSelectVideo:
      selectVideo({this, platform_, *player_, *editor_, state_.lastOpenFolder,
                   [this](const QString& path) { as<PathLabel>(id::kVideoPath)->setPath(path); },
                   needsImport, [this](const QString& video) { return importVideo(video); }});
      break;
    case id::kPublish:
      publish(false);
      break;
    case id::kPublishTest:
      publish(true);
      break;
    case id::kPublishForWeb:
      publishForWeb();
      break;
    case id::kSaveOptions:
      saveOptions();
      break;
    case id::kUsersGuide:
      openUsersGuide();
      break;
    case id::kShortHelp:
      if (help_.showShortHelp) help_.showShortHelp(this, platform_);
      break;
    case id::kLoadProject:
      loadProject();
      break;
    case id::kSaveProject:
      saveProject();
      break;
    case id::kIcon1:
    case id::kIcon2:
      as<QCheckBox>(id::kIcon1)->setChecked(id == id::kIcon1);
      as<QCheckBox>(id::kIcon2)->setChecked(id == id::kIcon2);
      break;
    case id::kIframe:
      state_.iframe = as<QCheckBox>(id::kIframe)->isChecked() ? 1 : 0;
      break;
    case id::kAddHotSpot:
      if (state_.currentHotSpot != 0) editor_->addHotSpot(state_.currentHotSpot);
      break;
    case id::kClearHotSpot:
      editor_->clearHotSpot(state_.currentHotSpot);
      break;
    case id::kClearAllHotSpots:
      editor_->clearHotSpot(0);
      break;
    default:
      if (id >= id::kRowSelector && id < id::kRowSelector + 10) {
        state_.currentHotSpot = id - id::kRowSelector + 1;
        editor_->selectHotSpot(state_.currentHotSpot);
      }
      break;
  }
}

void MainWindow::optionsByDefault() {
  // The GPU and quality lists, the IFRAME box, the manual limit, the trackbar, the hot spots,
  // zoomMax and the pop-up help stay as they are: resetToDefaults leaves them in the snapshot.
  ProjectSettings s = currentSettings();
  resetToDefaults(s);
  applySettings(s);
}

std::optional<QString> MainWindow::importVideo(const QString& video) {
  player_->stopPlayer();  // the preview keeps still while its next video is made
  const auto program =
      ffmpegProgramFile(state_.programFolder, executableName("qx_flash_hs-import"));
  return runImportDialog(this, platform_, toQString(program), video, state_.tooltipHelp == 1);
}

bool MainWindow::offerImport() {
  const QString video = qtext(std::string(trimSpaces(currentSettings().videoPath)));
  if (!importable(video)) return false;
  if (platform_.messageBox(this,
                           QStringLiteral("The import can turn this video into an FLV that the "
                                          "Flash page plays.\nImport it now?"),
                           QStringLiteral("Import"), MessageIcon::Question,
                           true) != MessageAnswer::Ok)
    return false;
  const auto flv = importVideo(video);
  if (!flv) return false;
  // The same video, its moments unchanged: the hot spots stay as they are.
  as<PathLabel>(id::kVideoPath)->setPath(*flv);
  player_->loadAndPlay(*flv);
  return true;
}

void MainWindow::warnAbout(const QString& text) {
  platform_.messageBox(this, text, QStringLiteral("Warning"), MessageIcon::Warning);
}

void MainWindow::warnNotSaved(const char* what, const FileError& error) {
  warnAbout(QStringLiteral("Could not save the %1.\n\n%2")
                .arg(QLatin1String(what), QString::fromStdString(error.message())));
}

void MainWindow::saveOptions() {
  if (state_.optionsInUserFolder) {
    std::error_code ec;  // a failure shows as the save's own error just below
    std::filesystem::create_directories(state_.optionsFilePath.parent_path(), ec);
  }
  if (const auto error = saveOptionsFile(state_.optionsFilePath, currentSettings())) {
    warnNotSaved("options", *error);
    return;
  }
  // Beside the program the user knows where the file is; anywhere else, say so.
  if (state_.optionsInUserFolder)
    platform_.messageBox(this,
                         QStringLiteral("Options saved in %1")
                             .arg(QDir::toNativeSeparators(toQString(state_.optionsFilePath))),
                         QStringLiteral("Save Options"), MessageIcon::Information);
}

void MainWindow::loadProject() {
  const auto file =
      chosenFile(platform_.runFileDialog(this, loadProjectDialog(state_.lastOpenFolder)));
  if (!file) return;
  state_.lastOpenFolder = folderOf(*file);
  openProject(toPath(*file));
}

void MainWindow::openProject(const std::filesystem::path& file) {
  auto loaded = loadProjectFile(file, currentSettings(), as<QComboBox>(id::kZoom)->count());
  if (!loaded) {
    warnAbout(QString::fromStdString(loaded.error().message()));
    return;
  }
  const Project project = std::move(loaded).value();
  applySettings(project.settings);
  state_.hotSpots = project.hotSpots;
  // The slots are shown without seeking: the video on screen is about to be replaced.
  for (int slot = 1; slot <= HotSpotList::kSlots; ++slot) editor_->showHotSpot(slot, false);
  state_.currentHotSpot = 1;
  editor_->selectHotSpot(1, false);
  const QString video = qtext(project.settings.videoPath);
  if (!video.isEmpty() && !QFileInfo::exists(video)) {
    // Said now rather than at Publish; the preview shows nothing instead of a video at 0:00.
    player_->loadAndPlay(QString());
    warnAbout(QStringLiteral("The video of this project was not found:\n%1")
                  .arg(qtext(shownText(project.settings.videoPath))));
    return;
  }
  player_->loadAndPlay(video);
}

void MainWindow::saveProject() {
  const auto file =
      chosenFile(platform_.runFileDialog(this, saveProjectDialog(state_.lastOpenFolder)));
  if (!file) return;
  state_.lastSaveFolder = folderOf(*file);
  const auto name = toPath(toQString(projectSaveName(file->toStdString())));
  if (const auto error = saveProjectFile(name, currentSettings(), state_.hotSpots))
    warnNotSaved("project", *error);
}

void MainWindow::startRedirectUtility() {
  // One copy only: a running utility is brought forward instead of started again.
  if (platform_.activateProgram(kRedirectCaption)) return;
  platform_.startProgram(
      toQString(redirectUtilityFile(state_.programFolder, executableName("velmora_redirect"))));
}

void MainWindow::openUsersGuide() {
  platform_.openDocument(toQString(usersGuideFile(state_.programFolder)));
}

}  // namespace qx
