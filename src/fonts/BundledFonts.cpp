#include "fonts/BundledFonts.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QStringList>

#include "qxfonts_resources.h"

namespace qx {
namespace {

QString installedOr(const char* face, const char* twin) {
  const QString name = QString::fromLatin1(face);
  return QFontDatabase::families().contains(name, Qt::CaseInsensitive) ? name
                                                                       : QString::fromLatin1(twin);
}

}  // namespace

void registerBundledFonts() {
  for (const auto& file : fonts::embedded::embeddedFiles()) {
    if (!file.path.ends_with(".ttf")) continue;
    // The bytes live in the executable for the whole process, so Qt may keep pointing at them.
    const auto bytes = file.bytes();
    QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
        reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  }
}

QString sansFamily() {
  // The installed families do not change while the program runs.
  static const QString family = installedOr("Arial", "Liberation Sans");
  return family;
}

QString serifFamily() {
  static const QString family = installedOr("Times New Roman", "Liberation Serif");
  return family;
}

}  // namespace qx
