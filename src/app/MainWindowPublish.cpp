// The two publish commands: the video check, the preview stopped, the page name asked for, the
// output set written by the core, then one message and, for the test variant, the page opened.
#include <QApplication>
#include <QUrl>

#include "app/MainWindow.h"
#include "platform/MediaModule.h"
#include "platform/MediaServices.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/FileChoosers.h"
#include "preview/PreviewPlayer.h"
#include "publish/PublishOutputSet.h"

namespace qx {
namespace {

// The wait cursor while the program works; set aside while a dialog or message waits for the
// user, so that it never shows over them.
class WaitCursor {
 public:
  WaitCursor() { resume(); }
  ~WaitCursor() { pause(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  void pause() {
    if (shown_) QApplication::restoreOverrideCursor();
    shown_ = false;
  }
  void resume() {
    if (!shown_) QApplication::setOverrideCursor(Qt::WaitCursor);
    shown_ = true;
  }

 private:
  bool shown_ = false;
};

}  // namespace

void MainWindow::publish(bool openAfter) {
  WaitCursor wait;
  if (const auto problem = checkVideo(currentSettings())) {
    wait.pause();
    warnAbout(qtext(*problem));
    // A camera's video is offered the import, and published on once it is an FLV.
    if (!offerImport()) return;
    if (const auto again = checkVideo(currentSettings())) return warnAbout(qtext(*again));
    wait.resume();
  }
  player_->stopPlayer();  // nothing plays while its files are written
  wait.pause();
  const auto chosen =
      chosenFile(platform_.runFileDialog(this, publishDialog(state_.lastSaveFolder)));
  if (!chosen) return;
  state_.lastSaveFolder = folderOf(*chosen);
  const std::filesystem::path page = toPath(qtext(pageFileName(utf8(*chosen)).string()));

  wait.resume();
  const PublishReport report = publishOutputSet(currentSettings(), state_.hotSpots, page);
  wait.pause();
  if (report.succeeded())
    platform_.messageBox(this, qtext(publishMessage(report)), QStringLiteral("Information:"),
                         MessageIcon::Information);
  else
    warnAbout(qtext(publishMessage(report)));
  // The page opens after the message has been closed, and only when it was written.
  const bool pageWritten =
      std::find(report.written.begin(), report.written.end(), page) != report.written.end();
  if (openAfter && pageWritten) openPublishedPage(page);
}

// No browser has a Flash plug-in any more: where Ruffle is at hand, the page is shown over the
// local folder server, which adds Ruffle as it sends the page (the file stays as published).
// Without Ruffle (or the media module, which holds the server) the file is opened as it is.
void MainWindow::openPublishedPage(const std::filesystem::path& page) {
  const std::filesystem::path folder = page.parent_path();
  if (!testServer_ || testServer_->root() != folder) {
    testServer_.reset();
    MediaServices* services = media_.services();
    ServedFolderResult served =
        services ? services->serveFolder(folder, true, state_.programFolder) : ServedFolderResult{};
    if (!served.server) return platform_.openDocument(toQString(page));
    testServer_ = std::move(served.server);
  }
  const QByteArray name = QUrl::toPercentEncoding(toQString(page.filename()));
  platform_.openDocument(testServer_->baseUrl() + QString::fromLatin1(name));
}

}  // namespace qx
