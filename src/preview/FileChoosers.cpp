#include "preview/FileChoosers.h"

#include <QDir>
#include <QFileInfo>

namespace qx {
namespace {

FileDialogRequest request(bool save, const char* title, const char* description,
                          const char* pattern, const char* initialName,
                          const QString& startFolder) {
  return {save,
          QString::fromLatin1(title),
          QString::fromLatin1(description),
          QString::fromLatin1(pattern),
          QString::fromLatin1(initialName),
          startFolder,
          {}};
}

}  // namespace

FileDialogRequest videoDialog(const QString& startFolder) {
  FileDialogRequest r = request(false, "Select a 360 video (FLV/F4V)", "Video files (*.flv;*.f4v)",
                                "*.flv; *.f4v", "*.flv;*.f4v", startFolder);
  // Camera files are offered too: they are imported into an FLV once chosen.
  QStringList patterns;
  for (const char* extension : kVideoExtensions)
    patterns << QStringLiteral("*.") + QLatin1String(extension);
  r.moreFilters = {QStringLiteral("360 videos (%1)").arg(patterns.join(u' ')),
                   QStringLiteral("All files (*)")};
  return r;
}

FileDialogRequest loadProjectDialog(const QString& startFolder) {
  return request(false, "Load a Project", "Project files", "*.pp", "", startFolder);
}

FileDialogRequest saveProjectDialog(const QString& startFolder) {
  return request(true, "Save the Project", "Project file (*.pp)", "*.pp", "*.pp", startFolder);
}

FileDialogRequest publishDialog(const QString& startFolder) {
  return request(true, "Publish Html web page", "Html Web page (*.html)", "*.html", "*.html",
                 startFolder);
}

std::optional<QString> chosenFile(const QStringList& chosen) {
  if (chosen.isEmpty()) return std::nullopt;
  QString name = chosen.front();
  while (name.startsWith(u' ')) name.remove(0, 1);
  while (name.endsWith(u' ')) name.chop(1);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

QString folderOf(const QString& file) {
  return QDir::toNativeSeparators(QFileInfo(file).absolutePath());
}

}  // namespace qx
