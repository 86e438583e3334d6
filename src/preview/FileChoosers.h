#pragma once
// The four file dialogs of the program (title, filter, initial name, start folder) and what is
// taken from their answer.
#include <optional>

#include <QString>
#include <QStringList>

#include "platform/Platform.h"

namespace qx {

// The extensions of the videos the program takes, the page's own (FLV, F4V) and those the import
// turns into an FLV (the dialog's filters match them in any case).
inline constexpr const char* kVideoExtensions[] = {
    "flv", "f4v", "mp4", "mov", "m4v", "mkv", "webm", "avi", "ts", "m2ts", "mts", "insv", "360"};

FileDialogRequest videoDialog(const QString& startFolder);
FileDialogRequest loadProjectDialog(const QString& startFolder);
FileDialogRequest saveProjectDialog(const QString& startFolder);
FileDialogRequest publishDialog(const QString& startFolder);

// The file to work on: the first one chosen, trimmed of spaces at both ends; nothing when the
// dialog was cancelled or the name is empty.
std::optional<QString> chosenFile(const QStringList& chosen);

// The folder a chosen file lies in, as the next dialog's start folder.
QString folderOf(const QString& file);

}  // namespace qx
