// The host system through Qt: message boxes, file and colour dialogs, the desktop's default
// applications, the redirect utility's local server, processes and the click sound. The local
// socket and the sound output are the media module's, loaded when first needed.
#include <map>

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include "platform/InstanceName.h"
#include "platform/MediaModule.h"
#include "platform/MediaServices.h"
#include "platform/Platform.h"
#include "platform/WaveSound.h"
#include "resources/Resources.h"

namespace qx {
namespace {

QColor fromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t toBgr(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

class QtPlatform : public Platform {
 public:
  QtPlatform(const QString& redirectServer, MediaModule& media)
      : media_(media),
        programs_{
            {QStringLiteral("Velmora Flash - Html5 WebGl Selector Utility"), redirectServer}} {
    // The custom colours start black and are kept, shared by every colour dialog, until the end.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
      QColorDialog::setCustomColor(i, Qt::black);
    // The sound back end (audio devices, the sound server) is set up once the window has had
    // time to appear, not before it, and still before the first click needs it.
    QTimer::singleShot(kSoundWarmUpMs, &lifetime_, [this] { prepareClick("sound3", "tick"); });
  }

  MessageAnswer messageBox(QWidget* owner, const QString& text, const QString& title,
                           MessageIcon icon, bool okCancel) override {
    const auto qicon = icon == MessageIcon::Information ? QMessageBox::Information
                       : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                        : QMessageBox::Question;
    QMessageBox box(qicon, title, text,
                    okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  }

  QStringList runFileDialog(QWidget* owner, const FileDialogRequest& r) override {
    const QString start = r.startFolder.isEmpty() ? QDir::currentPath() : r.startFolder;
    const QStringList filters =
        QStringList{qtFileFilter(r.filterDescription, r.pattern)} + r.moreFilters;
    QFileDialog dialog(owner, r.title, start, filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFiles);
    // No overwrite question, and a link is returned as itself.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontResolveSymlinks);
    // The initial name shows in the name box, patterns such as "*.pp" included.
    if (!r.initialName.isEmpty()) dialog.selectFile(r.initialName);
    for (;;) {
      if (dialog.exec() != QDialog::Accepted) return {};
      const QStringList files = dialog.selectedFiles();
      // A pattern left in (or typed into) the name box filters the list instead of being taken
      // as a file called "*.pp".
      const QString name = files.isEmpty() ? QString() : QFileInfo(files.front()).fileName();
      if (!name.contains(u'*') && !name.contains(u'?')) {
        QStringList chosen;
        for (const QString& file : files) chosen << QDir::toNativeSeparators(file);
        return chosen;
      }
      dialog.setNameFilter(QString(name).replace(u';', u' '));
    }
  }

  void chooseColour(QWidget* owner, std::uint32_t initial,
                    std::function<void(std::optional<std::uint32_t>)> done) override {
    // Shown without a loop of its own: a second dialog opened meanwhile no longer holds back
    // the first one's answer until it closes too.
    auto* dialog = new QColorDialog(fromBgr(initial), owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, done = std::move(done)](int r) {
      done(r == QDialog::Accepted ? std::optional(toBgr(dialog->selectedColor())) : std::nullopt);
    });
    dialog->show();
  }

  void openDocument(const QString& pathOrUrl) override {
    const QUrl url(pathOrUrl);
    const bool address = url.scheme().size() > 1;  // "mailto:", "https:"; not a drive letter
    QDesktopServices::openUrl(address ? url : QUrl::fromLocalFile(pathOrUrl));
  }

  bool activateProgram(const QString& caption) override {
    const auto known = programs_.find(caption);
    if (known == programs_.end() || !socketAbsentOrOurs(known->second)) return false;
    MediaServices* services = media_.services();
    return services && services->sendToLocalServer(known->second, "raise\n", 500);
  }

  bool startProgram(const QString& path) override { return QProcess::startDetached(path, {}); }

  void playResourceSound(std::string_view type, std::string_view name) override {
    if (!prepareClick(type, name)) return;  // a missing sound or no device is silence
    sound_->play();                         // a new click cuts off the one still playing
  }

 private:
  static constexpr int kSoundWarmUpMs = 300;

  // The output for this sound, made on first need and kept while the same sound plays again;
  // false when there is no such sound, no audio device or no media module.
  bool prepareClick(std::string_view type, std::string_view name) {
    const std::string key = std::string(type) + "/" + std::string(name);
    if (sound_ && preparedSound_ == key) return true;
    const auto bytes = findResource(type, name);
    if (!bytes) return false;
    const auto wave = parseWave(*bytes);
    MediaServices* services = wave ? media_.services() : nullptr;
    if (!services) return false;
    sound_ = services->makeSoundOutput(*wave);
    preparedSound_ = sound_ ? key : std::string();
    return sound_ != nullptr;
  }

  MediaModule& media_;
  QObject lifetime_;  // ends the warm-up timer with the platform
  std::string preparedSound_;
  // Programs found by their window caption, and the local server each one listens on.
  std::map<QString, QString> programs_;
  std::unique_ptr<SoundOutput> sound_;
};

}  // namespace

QString qtFileFilter(const QString& description, const QString& pattern) {
  QString label = description;
  label.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
  QStringList patterns =
      pattern.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
  return label + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

std::unique_ptr<Platform> makeQtPlatform(const QString& redirectServer, MediaModule& media) {
  return std::make_unique<QtPlatform>(redirectServer, media);
}

}  // namespace qx
