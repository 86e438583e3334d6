#include "fonts/BundledFonts.h"

#include <QByteArray>
#include <QFont>
#include <QFontDatabase>
#include <QString>

#include "qxfonts_resources.h"

namespace qx {

void registerBundledFonts() {
  for (const auto& file : fonts::embedded::embeddedFiles()) {
    if (!file.path.ends_with(".ttf")) continue;
    // The bytes live in the executable for the whole process, so Qt may keep pointing at them.
    const auto bytes = file.bytes();
    QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
        reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  }
  // Without this a face the system lacks goes to whatever its font configuration prefers
  // (DejaVu on one machine, Nimbus or Noto on another), and captions no longer fit their boxes.
  for (const auto& [face, twin] :
       {std::pair{kSansFace, "Liberation Sans"}, std::pair{kSerifFace, "Liberation Serif"}}) {
    const QString name = QString::fromLatin1(face);
    if (!QFontDatabase::hasFamily(name)) QFont::insertSubstitution(name, QString::fromLatin1(twin));
  }
}

}  // namespace qx
