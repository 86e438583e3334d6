#include "app/ImportDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>
#include <utility>
#include <vector>

#include "app/Look.h"
#include "app/MainWindow.h"
#include "app/OwnerDrawnButton.h"
#include "help/PopupHelp.h"
#include "help/PopupHelpTexts.h"
#include "platform/Platform.h"

namespace qx {
namespace {

// How long a stopped import may take to tidy up before it is killed.
constexpr int kStopWaitMs = 5000;
// Only the end of what the program writes on stderr is kept: its reason comes last.
constexpr qsizetype kErrorsKept = 16 * 1024;
constexpr int kProgressSteps = 1000;
constexpr int kDefaultFieldOfView = 190;
const int kWidths[] = {1024, 2048, 3072, 3840, 4096};
constexpr int kDefaultWidth = 3840;

QString projectionName(const QString& projection) {
  if (projection == QStringLiteral("equirect")) return QStringLiteral("Equirectangular");
  if (projection == QStringLiteral("eac")) return QStringLiteral("EAC cubemap");
  if (projection == QStringLiteral("dual-fisheye")) return QStringLiteral("Dual fisheye");
  if (projection == QStringLiteral("gopro-360")) return QStringLiteral("GoPro .360");
  return QStringLiteral("Unknown");
}

QString foundText(const ProbeFindings& f) {
  QStringList lines;
  lines << QStringLiteral("Container: %1").arg(f.container);
  lines << QStringLiteral("Video: %1, %2 x %3").arg(f.videoCodec).arg(f.width).arg(f.height) +
               (f.duration > 0 ? QStringLiteral(", %1 s").arg(f.duration, 0, 'f', 1) : QString());
  lines << QStringLiteral("Sound: %1").arg(f.audioCodec);
  QString from;
  if (f.projectionFrom == QStringLiteral("metadata"))
    from = QStringLiteral(" (from the file's metadata)");
  else if (f.projectionFrom == QStringLiteral("layout"))
    from = QStringLiteral(" (from the streams' layout)");
  else if (f.projectionFrom == QStringLiteral("aspect"))
    from = QStringLiteral(" (taken from its 2:1 shape)");
  if (f.projection == QStringLiteral("unknown")) from = QStringLiteral(": please choose it below");
  lines << QStringLiteral("Projection: %1").arg(projectionName(f.projection)) + from;
  if (f.stereo == QStringLiteral("mono"))
    lines << QStringLiteral("Stereo: none");
  else
    lines << QStringLiteral("Stereo: %1; the left eye becomes the panorama").arg(f.stereo);
  lines << (f.copy ? QStringLiteral("Its streams are copied into the FLV as they are.")
                   : QStringLiteral("It is converted to H.264 video and AAC sound."));
  return lines.join(u'\n');
}

QLabel* caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  look::setColours(label, look::kWhite, look::kBlack);
  look::setEdge(label, look::Edge::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(99);
  return label;
}

}  // namespace

ImportDialog::ImportDialog(QWidget* owner, Platform& platform, const QString& program,
                           const QString& source, bool popupHelp)
    : QDialog(owner),
      platform_(platform),
      program_(program),
      source_(source),
      flv_(importedFileName(source)) {
  build();
  help_ = buildToolTips(this, {{found_, importHelpText(ImportHelp::Found)},
                               {projection_, importHelpText(ImportHelp::Projection)},
                               {fov_, importHelpText(ImportHelp::FieldOfView)},
                               {width_, importHelpText(ImportHelp::Width)},
                               {destination_, importHelpText(ImportHelp::Destination)},
                               {progress_, importHelpText(ImportHelp::Progress)},
                               {import_, importHelpText(ImportHelp::Import)},
                               {cancel_, importHelpText(ImportHelp::Cancel)}});
  help_->setActive(popupHelp);
  enableChoices();
  // Started from the dialog's own events, so that a program that cannot start is reported over
  // a dialog that is up.
  QTimer::singleShot(0, this, [this] {
    if (stage_ != Stage::Probing) return;
    connect(startProgram(probeArguments(source_)), &QProcess::finished, this,
            &ImportDialog::probeFinished);
  });
}

ImportDialog::~ImportDialog() {
  // A dialog destroyed mid-import still stops the program, which then removes its part file.
  if (process_ && process_->state() != QProcess::NotRunning) {
    process_->disconnect(this);
    process_->terminate();
    if (!process_->waitForFinished(kStopWaitMs)) process_->kill();
    process_->waitForFinished(1000);
  }
}

void ImportDialog::build() {
  setWindowTitle(QStringLiteral("Import a 360 video"));
  setFont(MainWindow::defaultFont());
  QPalette grey = palette();
  grey.setColor(QPalette::Window, look::kWindowGrey);
  grey.setColor(QPalette::WindowText, Qt::black);
  setPalette(grey);
  setAutoFillBackground(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(5);

  auto* source = new QLabel(QDir::toNativeSeparators(source_), this);
  look::setEdge(source, look::Edge::ClientEdge);
  look::setColours(source, look::kBlack, QColor(199, 199, 199));
  source->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(caption(QStringLiteral("Video"), this), 0, 0);
  grid->addWidget(source, 0, 1, 1, 3);

  found_ = new QLabel(QStringLiteral("Reading the video..."), this);
  found_->setObjectName(QStringLiteral("found"));
  look::setEdge(found_, look::Edge::ClientEdge);
  look::setColours(found_, look::kBlack, QColor(199, 199, 199));
  found_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  found_->setMinimumHeight(6 * found_->fontMetrics().lineSpacing() + 16);
  found_->setMargin(2);
  grid->addWidget(caption(QStringLiteral("Found"), this), 1, 0, Qt::AlignTop);
  grid->addWidget(found_, 1, 1, 1, 3);

  projection_ = new QComboBox(this);
  projection_->setAccessibleName(QStringLiteral("Projection"));
  fov_ = new QSpinBox(this);
  fov_->setAccessibleName(QStringLiteral("Lens field of view"));
  fov_->setRange(100, 360);
  fov_->setValue(kDefaultFieldOfView);
  fov_->setSuffix(QStringLiteral(" degrees"));
  grid->addWidget(caption(QStringLiteral("Projection"), this), 2, 0);
  grid->addWidget(projection_, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Lens field of view"), this), 2, 2, Qt::AlignRight);
  grid->addWidget(fov_, 2, 3);

  width_ = new QComboBox(this);
  width_->setAccessibleName(QStringLiteral("Width"));
  for (int w : kWidths) width_->addItem(QStringLiteral("%1 x %2").arg(w).arg(w / 2), w);
  width_->setCurrentIndex(width_->findData(kDefaultWidth));
  grid->addWidget(caption(QStringLiteral("Width"), this), 3, 0);
  grid->addWidget(width_, 3, 1);

  destination_ = new QLabel(QDir::toNativeSeparators(flv_), this);
  destination_->setObjectName(QStringLiteral("destination"));
  look::setEdge(destination_, look::Edge::ClientEdge);
  look::setColours(destination_, look::kBlack, QColor(199, 199, 199));
  grid->addWidget(caption(QStringLiteral("FLV file"), this), 4, 0);
  grid->addWidget(destination_, 4, 1, 1, 3);

  progress_ = new QProgressBar(this);
  progress_->setRange(0, kProgressSteps);
  progress_->setValue(0);
  progress_->setAccessibleName(QStringLiteral("Import progress"));
  timeLeft_ = new QLabel(this);
  timeLeft_->setMinimumWidth(150);
  grid->addWidget(caption(QStringLiteral("Progress"), this), 5, 0);
  grid->addWidget(progress_, 5, 1, 1, 2);
  grid->addWidget(timeLeft_, 5, 3);

  import_ = new OwnerDrawnButton(QStringLiteral("Import"), gradient::kBlue, look::kWhite, this);
  cancel_ = new OwnerDrawnButton(QStringLiteral("Cancel"), gradient::kRed, look::kWhite, this);
  for (QPushButton* b : {import_, cancel_}) {
    b->setFixedSize(99, 22);
    b->setAutoDefault(false);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(import_);
  buttons->addWidget(cancel_);
  grid->addLayout(buttons, 6, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  setMinimumWidth(560);

  connect(import_, &QPushButton::clicked, this, &ImportDialog::startImport);
  connect(cancel_, &QPushButton::clicked, this, &ImportDialog::reject);
  connect(projection_, &QComboBox::currentIndexChanged, this, &ImportDialog::enableChoices);
}

QProcess* ImportDialog::startProgram(const QStringList& arguments) {
  auto* process = new QProcess(this);
  process_ = process;
  pendingOutput_.clear();
  errors_.clear();
  connect(process, &QProcess::readyReadStandardError, this, [this, process] {
    errors_ += process->readAllStandardError();
    if (errors_.size() > kErrorsKept) errors_ = errors_.right(kErrorsKept);
  });
  connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart || process != process_) return;
    process_ = nullptr;
    process->deleteLater();
    failed(QStringLiteral("The import program could not be started:\n%1")
               .arg(QDir::toNativeSeparators(program_)),
           stage_ == Stage::Probing);
  });
  process->start(program_, arguments);
  return process;
}

void ImportDialog::probeFinished(int exitCode, QProcess::ExitStatus status) {
  const QByteArray answer = process_->readAllStandardOutput();
  errors_ += process_->readAllStandardError();
  process_->deleteLater();
  process_ = nullptr;
  if (stage_ != Stage::Probing) return;
  const auto found =
      status == QProcess::NormalExit && exitCode == 0 ? parseProbe(answer) : std::nullopt;
  if (!found)
    return failed(programMessage(errors_, QStringLiteral("The video could not be read.")), true);
  showFindings(*found);
}

void ImportDialog::showFindings(const ProbeFindings& found) {
  findings_ = found;
  found_->setText(foundText(found));
  projection_->clear();
  if (found.projection == QStringLiteral("unknown"))
    projection_->addItem(QStringLiteral("Choose the projection"), QString());
  else
    projection_->addItem(QStringLiteral("As found: %1").arg(projectionName(found.projection)),
                         QStringLiteral("auto"));
  for (const QString& p : kProjections) projection_->addItem(projectionName(p), p);
  stage_ = Stage::Ready;
  enableChoices();
}

ImportChoices ImportDialog::choices() const {
  ImportChoices c;
  c.projection = projection_->currentData().toString();
  c.width = width_->currentData().toInt();
  const bool fisheye = c.projection == QStringLiteral("dual-fisheye") ||
                       (c.projection == QStringLiteral("auto") && findings_ &&
                        findings_->projection == QStringLiteral("dual-fisheye"));
  if (fisheye) c.fov = fov_->value();
  return c;
}

void ImportDialog::enableChoices() {
  const bool ready = stage_ == Stage::Ready;
  projection_->setEnabled(ready);
  width_->setEnabled(ready);
  fov_->setEnabled(ready && choices().fov.has_value());
  import_->setEnabled(ready && !projection_->currentData().toString().isEmpty());
  cancel_->setEnabled(stage_ != Stage::Cancelling && stage_ != Stage::Finished);
}

void ImportDialog::startImport() {
  if (stage_ != Stage::Ready) return;
  const ImportChoices chosen = choices();
  if (chosen.projection.isEmpty()) return;
  if (QFileInfo::exists(flv_) &&
      platform_.messageBox(this,
                           QStringLiteral("%1 already exists.\nDo you want to replace it?")
                               .arg(QDir::toNativeSeparators(flv_)),
                           QStringLiteral("Warning"), MessageIcon::Question,
                           true) != MessageAnswer::Ok)
    return;
  stage_ = Stage::Importing;
  progress_->setValue(0);
  timeLeft_->setText(timeLeftText(-1));
  enableChoices();
  QProcess* process = startProgram(importArguments(source_, flv_, chosen));
  connect(process, &QProcess::readyReadStandardOutput, this, &ImportDialog::readProgress);
  connect(process, &QProcess::finished, this, &ImportDialog::importFinished);
}

void ImportDialog::readProgress() {
  if (!process_) return;
  pendingOutput_ += process_->readAllStandardOutput();
  for (qsizetype end; (end = pendingOutput_.indexOf('\n')) >= 0;) {
    const QByteArray line = pendingOutput_.left(end);
    pendingOutput_.remove(0, end + 1);
    if (const auto p = parseProgressLine(line); p && stage_ == Stage::Importing) {
      progress_->setValue(int(std::lround(p->fraction * kProgressSteps)));
      timeLeft_->setText(timeLeftText(p->secondsLeft));
    }
  }
  // A program that never ends a line does not fill the memory.
  if (pendingOutput_.size() > 4096) pendingOutput_.clear();
}

void ImportDialog::importFinished(int exitCode, QProcess::ExitStatus status) {
  readProgress();
  errors_ += process_->readAllStandardError();
  process_->deleteLater();
  process_ = nullptr;
  if (stage_ == Stage::Cancelling) {
    stage_ = Stage::Finished;
    return QDialog::reject();
  }
  if (status != QProcess::NormalExit || exitCode != 0 || !QFileInfo(flv_).isFile()) {
    // Back to the choices: another projection or width may well succeed.
    stage_ = Stage::Ready;
    progress_->setValue(0);
    timeLeft_->clear();
    enableChoices();
    return failed(programMessage(errors_, QStringLiteral("The import did not succeed.")), false);
  }
  stage_ = Stage::Finished;
  progress_->setValue(kProgressSteps);
  imported_ = flv_;
  accept();
}

void ImportDialog::failed(const QString& message, bool closeAfter) {
  platform_.messageBox(this, message, QStringLiteral("Warning"), MessageIcon::Warning);
  if (closeAfter) {
    stage_ = Stage::Finished;
    QDialog::reject();
  } else {
    if (stage_ == Stage::Importing) stage_ = Stage::Ready;
    enableChoices();
  }
}

void ImportDialog::reject() {
  switch (stage_) {
    case Stage::Probing:
      stage_ = Stage::Finished;
      if (process_) {
        process_->disconnect(this);
        process_->kill();  // reading writes nothing
        process_->waitForFinished(1000);
      }
      QDialog::reject();
      break;
    case Stage::Importing: {
      stage_ = Stage::Cancelling;
      timeLeft_->setText(QStringLiteral("Stopping..."));
      enableChoices();
      // SIGTERM: the program removes what it has written, then ends.
      process_->terminate();
      QPointer<QProcess> stopping = process_;
      QTimer::singleShot(kStopWaitMs, this, [stopping] {
        if (stopping && stopping->state() != QProcess::NotRunning) stopping->kill();
      });
      break;
    }
    case Stage::Cancelling:
      break;  // closes once the program has ended
    case Stage::Ready:
    case Stage::Finished:
      stage_ = Stage::Finished;
      QDialog::reject();
      break;
  }
}

std::optional<QString> runImportDialog(QWidget* owner, Platform& platform, const QString& program,
                                       const QString& source, bool popupHelp) {
  ImportDialog dialog(owner, platform, program, source, popupHelp);
  dialog.exec();
  return dialog.importedVideo();
}

}  // namespace qx
