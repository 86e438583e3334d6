#include "app/AppState.h"

#include <QDir>

namespace qx {

AppState initialAppState(const QString& currentFolder) {
  AppState state;
  state.lastOpenFolder = QDir::toNativeSeparators(currentFolder);
  state.lastSaveFolder = state.lastOpenFolder;
  return state;
}

}  // namespace qx
