#include "platform/MediaModule.h"

#include <QDir>
#include <QLibrary>
#include <system_error>

#include "platform/MediaServices.h"
#include "platform/QtText.h"

namespace qx {

namespace {

const QString kWithout = QStringLiteral(
    "Until it is there, videos do not play in the preview, the click is silent and Publish "
    "FLV/Test opens the page as a file.");

}  // namespace

MediaModule::MediaModule(std::filesystem::path file) : file_(std::move(file)) {}

MediaModule::MediaModule(MediaServices& linkedIn) : services_(&linkedIn), tried_(true) {}

MediaModule::~MediaModule() = default;

MediaServices* MediaModule::services() {
  if (!tried_) {
    tried_ = true;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file_, ec)) {
      failure_ = QStringLiteral("The program's media module %1 is missing from %2.\n\n%3")
                     .arg(toQString(file_.filename()),
                          QDir::toNativeSeparators(toQString(file_.parent_path())), kWithout);
    } else {
      library_ = std::make_unique<QLibrary>(toQString(file_));
      const auto entry =
          library_->load()
              ? reinterpret_cast<MediaServicesEntry>(library_->resolve(kMediaServicesEntry))
              : nullptr;
      services_ = entry ? entry() : nullptr;
      if (!services_)
        failure_ =
            QStringLiteral("The program's media module %1 could not be loaded: %2\n\n%3")
                .arg(QDir::toNativeSeparators(toQString(file_)), library_->errorString(), kWithout);
    }
  }
  if (!services_ && !warned_ && warn_) {
    warned_ = true;
    warn_(failure_);
  }
  return services_;
}

void MediaModule::setWarning(std::function<void(const QString& text)> warn) {
  warn_ = std::move(warn);
}

}  // namespace qx
