#pragma once
// The import dialog: a video the Flash page cannot play becomes an FLV beside it. It shows what
// the import program found, offers the choices (the projection where the file does not say, the
// width), and runs the program in a process of its own with a progress bar and the time left;
// Cancel stops it, and the program then leaves nothing behind.
#include <optional>

#include <QDialog>
#include <QPointer>
#include <QProcess>

#include "app/ImportProgram.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace qx {

class Platform;
class PopupHelp;

class ImportDialog : public QDialog {
 public:
  enum class Stage { Probing, Ready, Importing, Cancelling, Finished };

  // Starts reading the video once the dialog's events run. `program` is the import program's
  // path; `popupHelp` whether the new controls show their pop-up help, as the window's do.
  ImportDialog(QWidget* owner, Platform& platform, const QString& program, const QString& source,
               bool popupHelp);
  ~ImportDialog() override;

  // The FLV written, once the import has succeeded.
  const std::optional<QString>& importedVideo() const { return imported_; }
  Stage stage() const { return stage_; }
  const QString& destination() const { return flv_; }

  // Cancel, Escape and closing the dialog: a running import is stopped first.
  void reject() override;

  QLabel* foundLabel() const { return found_; }
  QComboBox* projectionBox() const { return projection_; }
  QSpinBox* fieldOfViewBox() const { return fov_; }
  QComboBox* widthBox() const { return width_; }
  QLabel* destinationLabel() const { return destination_; }
  QProgressBar* progressBar() const { return progress_; }
  QLabel* timeLeftLabel() const { return timeLeft_; }
  QPushButton* importButton() const { return import_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void build();
  QProcess* startProgram(const QStringList& arguments);
  void probeFinished(int exitCode, QProcess::ExitStatus status);
  void showFindings(const ProbeFindings& found);
  void startImport();
  void readProgress();
  void importFinished(int exitCode, QProcess::ExitStatus status);
  void failed(const QString& message, bool closeAfter);
  void enableChoices();
  [[nodiscard]] ImportChoices choices() const;

  Platform& platform_;
  QString program_;
  QString source_;
  QString flv_;
  Stage stage_ = Stage::Probing;
  QPointer<QProcess> process_;
  QByteArray pendingOutput_;
  QByteArray errors_;
  std::optional<ProbeFindings> findings_;
  std::optional<QString> imported_;
  std::unique_ptr<PopupHelp> help_;

  QLabel* found_ = nullptr;
  QComboBox* projection_ = nullptr;
  QSpinBox* fov_ = nullptr;
  QComboBox* width_ = nullptr;
  QLabel* destination_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* timeLeft_ = nullptr;
  QPushButton* import_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// Runs the dialog for `source` and returns the FLV it wrote, or nothing when it was cancelled or
// failed (the failure has been shown as a Warning).
std::optional<QString> runImportDialog(QWidget* owner, Platform& platform, const QString& program,
                                       const QString& source, bool popupHelp);

}  // namespace qx
