// "Publish for today's web": what "Publish FLV" writes, and in the same run, under one progress
// display, what a page needs to play where no browser has Flash: Ruffle beside the page with its
// script line, an F4V's FLV, and when chosen the HTML5 version with its selector page (written by
// qx_flash_hs-webgl, run as a separate process). It ends by saying what to upload.
#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <functional>
#include <set>
#include <thread>

#include "app/InstallLayout.h"
#include "app/MainWindow.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/FileChoosers.h"
#include "preview/PreviewPlayer.h"
#include "publish/FlvBesideF4v.h"
#include "publish/PublishOutputSet.h"
#include "publish/RufflePage.h"

namespace qx {
namespace fs = std::filesystem;
namespace {

const QString kTitle = QStringLiteral("Publish for today's web");

// Waits, with the window's events going on, until `finished` says so; the dialog's Cancel sets
// `stopped`.
void waitFor(QProgressDialog& progress, const std::function<bool()>& finished,
             const std::function<void()>& onCancel = {}) {
  QEventLoop loop;
  QTimer timer;
  bool cancelled = false;
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    if (progress.wasCanceled() && !cancelled) {
      cancelled = true;
      if (onCancel) onCancel();
    }
    if (finished()) loop.quit();
  });
  timer.start(30);
  loop.exec();
}

// The FLV of an F4V, made on a worker thread; false when stopped, the failure in `report`.
bool writeFlvOffUiThread(QProgressDialog& progress, const fs::path& video, PublishReport& report) {
  if (!flvBesideF4v(video)) return true;
  progress.setLabelText(QStringLiteral("Writing the FLV that Ruffle plays..."));
  std::atomic<int> permille = 0;
  std::atomic<bool> stop = false, done = false;
  PublishReport flv;
  std::thread worker([&] {
    addFlvBesideF4v(video, flv, [&](double f) {
      permille = static_cast<int>(f * 1000);
      return !stop.load();
    });
    done = true;
  });
  waitFor(
      progress,
      [&] {
        progress.setValue(std::min(999, permille.load()));
        return done.load();
      },
      [&] { stop = true; });
  worker.join();
  report.written.insert(report.written.end(), flv.written.begin(), flv.written.end());
  if (stop) return false;
  report.failures.insert(report.failures.end(), flv.failures.begin(), flv.failures.end());
  return true;
}

// The HTML5 version and the selector page, by qx_flash_hs-webgl; false when stopped. What it
// wrote goes into `report`; its failure, in its own words, too.
bool writeHtml5Version(QProgressDialog& progress, const fs::path& converter, const fs::path& page,
                       PublishReport& report) {
  progress.setLabelText(QStringLiteral("Writing the HTML5 version and its selector page..."));
  progress.setRange(0, 0);  // the converter tells no share done
  QProcess process;
  process.start(toQString(converter), {toQString(page)});
  if (!process.waitForStarted(10000)) {
    report.failures.push_back({converter, "could not be started"});
    return true;
  }
  bool stopped = false;
  waitFor(
      progress, [&] { return process.state() == QProcess::NotRunning; },
      [&] {
        stopped = true;
        process.terminate();  // it removes what it had begun
      });
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
    if (line.startsWith(QStringLiteral("wrote ")))
      report.written.push_back(toPath(line.mid(6).trimmed()));
  }
  if (stopped) return false;
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    const QString why = QString::fromUtf8(process.readAllStandardError()).trimmed();
    report.failures.push_back(
        {page, "the HTML5 version was not written: " +
                   utf8(why.isEmpty() ? QStringLiteral("the converter failed") : why)});
  }
  return true;
}

// "Upload the folder ... with everything in it", naming what lies at its top.
QString uploadText(const fs::path& folder, const fs::path& page, const PublishReport& report) {
  std::vector<QString> names;
  std::set<QString> seen;
  for (const auto* list : {&report.written, &report.unchanged}) {
    for (const fs::path& path : *list) {
      const fs::path relative = path.lexically_relative(folder);
      if (relative.empty() || *relative.begin() == "..") continue;
      QString name = toQString(*relative.begin());
      if (std::next(relative.begin()) != relative.end()) name += '/';
      if (seen.insert(name).second) names.push_back(name);
    }
  }
  QString list;
  for (const QString& name : names) {
    if (!list.isEmpty()) list += QStringLiteral(", ");
    list += name;
  }
  return QStringLiteral(
             "Published for today's web.\n\nUpload the folder %1 with everything in it to your "
             "web server: %2.\n\nVisitors open %3; Ruffle, beside it, plays the viewer in "
             "browsers without Flash.")
      .arg(toQString(folder), list, toQString(page.filename()));
}

}  // namespace

void MainWindow::publishForWeb() {
  if (const auto problem = checkVideo(currentSettings())) return warnAbout(qtext(*problem));
  // Looked for before anything is written: without Ruffle the page would play nowhere.
  const auto ruffle = findRuffleFolder(state_.programFolder);
  if (!ruffle) return warnAbout(qtext(std::string(kRuffleNotFoundMessage)));
  player_->stopPlayer();
  const auto chosen =
      chosenFile(platform_.runFileDialog(this, publishDialog(state_.lastSaveFolder)));
  if (!chosen) return;
  state_.lastSaveFolder = folderOf(*chosen);
  const fs::path page = toPath(qtext(pageFileName(utf8(*chosen)).string()));
  const bool html5 =
      platform_.messageBox(
          this,
          QStringLiteral("Also write the HTML5 version of the page and its selector page?\n\n"
                         "The HTML5 version plays in every browser without Ruffle; the selector "
                         "page opens the version a visitor's browser plays best.\n\n"
                         "OK writes them too; Cancel publishes the Flash page with Ruffle alone."),
          kTitle, MessageIcon::Question, true) == MessageAnswer::Ok;

  QProgressDialog progress(QStringLiteral("Publishing the page, the viewer and the video..."),
                           QStringLiteral("Stop"), 0, 1000, this);
  progress.setWindowTitle(kTitle);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.setValue(0);
  QApplication::processEvents();

  const ProjectSettings settings = currentSettings();
  PublishReport report = publishOutputSet(settings, state_.hotSpots, page);
  bool finished = true;
  if (report.succeeded()) {
    progress.setLabelText(QStringLiteral("Copying Ruffle beside the page..."));
    addRuffleToPage(page, *ruffle, report);
    finished = writeFlvOffUiThread(
        progress, outputSetFor(settings, derivePublishValues(settings, page)).video, report);
  }
  if (finished && html5 && report.succeeded())
    finished = writeHtml5Version(
        progress, ffmpegProgramFile(state_.programFolder, executableName("qx_flash_hs-webgl")),
        page, report);
  progress.reset();

  if (!finished)
    return warnAbout(
        QStringLiteral("Stopped. Nothing of the step stopped was left behind; "
                       "publish again for the whole set."));
  if (!report.succeeded()) return warnAbout(qtext(publishMessage(report)));
  platform_.messageBox(this, uploadText(page.parent_path(), page, report),
                       QStringLiteral("Information:"), MessageIcon::Information);
}

}  // namespace qx
