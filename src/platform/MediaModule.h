#pragma once
// The program's media module (MediaServices.h), loaded the first time something needs it: a
// video to preview, the click to play, a page to serve, the selector utility to call. Loaded
// once, it stays for the rest of the process, as the objects it made point into it. When it
// cannot be loaded, every need gets nothing, and the first need that can tell the user does.
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

class QLibrary;

namespace qx {

class MediaServices;

class MediaModule {
 public:
  // The module is looked for at `file` only, and not before the first need.
  explicit MediaModule(std::filesystem::path file);
  // Services linked into this program instead (tests of the module's own code).
  explicit MediaModule(MediaServices& linkedIn);
  ~MediaModule();
  MediaModule(const MediaModule&) = delete;
  MediaModule& operator=(const MediaModule&) = delete;

  // The module's services, loaded on the first call; nullptr when it cannot be loaded.
  MediaServices* services();
  // Where the user hears of a module that cannot be loaded: once, at the first need from the
  // moment this is set (a need before that is told later).
  void setWarning(std::function<void(const QString& text)> warn);
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  std::unique_ptr<QLibrary> library_;  // its destructor leaves the module loaded
  MediaServices* services_ = nullptr;
  bool tried_ = false;
  QString failure_;
  bool warned_ = false;
  std::function<void(const QString&)> warn_;
};

}  // namespace qx
