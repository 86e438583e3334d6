#pragma once
// The host system behind one interface: message boxes, file and colour dialogs, opening a
// document, finding or starting another program, the click sound. The window never calls the
// host directly, so tests answer instead of a person (see the recording fake in tests/gui).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QString>
#include <QStringList>

class QWidget;

namespace qx {

class MediaModule;

enum class MessageIcon { Information, Warning, Question };
enum class MessageAnswer { Ok, Cancel };

struct FileDialogRequest {
  bool save = false;
  QString title;
  QString filterDescription;  // "Project files"
  QString pattern;            // "*.pp"
  QString initialName;        // "*.pp", or empty
  QString startFolder;
  // Further filters offered after the first, in Qt's form ("All files (*)").
  QStringList moreFilters;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box; with okCancel it offers OK and Cancel, otherwise OK alone.
  virtual MessageAnswer messageBox(QWidget* owner, const QString& text, const QString& title,
                                   MessageIcon icon, bool okCancel = false) = 0;
  // The files chosen, in the order chosen; empty when cancelled.
  virtual QStringList runFileDialog(QWidget* owner, const FileDialogRequest& request) = 0;
  // Opens a colour dialog and returns at once, leaving the owner usable; `done` gets the colour
  // as 0x00BBGGRR, or nothing when cancelled, when that dialog closes. Several dialogs may be
  // open together, and each answers as soon as it is closed.
  virtual void chooseColour(QWidget* owner, std::uint32_t initial,
                            std::function<void(std::optional<std::uint32_t>)> done) = 0;
  // Opens a file or an address with the desktop's default application.
  virtual void openDocument(const QString& pathOrUrl) = 0;
  // Brings forward a running program whose main window has this caption; false when none runs.
  virtual bool activateProgram(const QString& caption) = 0;
  // Starts a program without waiting for it; false when it could not be started.
  virtual bool startProgram(const QString& path) = 0;
  // Plays a sound resource asynchronously (type and name as in resources/<TYPE>/<NAME>.wav).
  virtual void playResourceSound(std::string_view type, std::string_view name) = 0;
};

// The click that every command and "Exit Help" play: the sound "tick" of type "sound3".
inline void playClick(Platform& platform) {
  platform.playResourceSound("sound3", "tick");
}

// The host system through Qt. The redirect utility (caption "Velmora Flash - Html5 WebGl Selector
// Utility") is found through the local server it listens on, `redirectServer` (for the real
// utility, redirectInstanceName() of platform/InstanceName.h). The local socket and the sound
// come from `media`, which must outlive the platform.
std::unique_ptr<Platform> makeQtPlatform(const QString& redirectServer, MediaModule& media);

// The file name of a program beside this one ("velmora_redirect.exe" on Windows).
inline std::string executableName(std::string_view base) {
#ifdef _WIN32
  return std::string(base) + ".exe";
#else
  return std::string(base);
#endif
}

// A file-dialog filter in Qt's form: the description with the patterns, separated by spaces, in
// its final parentheses ("Video files (*.flv;*.f4v)", "*.flv; *.f4v" -> "Video files (*.flv
// *.f4v)").
QString qtFileFilter(const QString& description, const QString& pattern);

}  // namespace qx
