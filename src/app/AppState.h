#pragma once
// The one process-wide record: the remembered folders, the options file, the hot spots being
// edited and the settings that no control of the main window holds.
#include <cstdint>
#include <filesystem>

#include <QString>

#include "project/HotSpot.h"

namespace qx {

struct AppState {
  // Start folders of the file dialogs: video and project dialogs, and the publish dialog.
  QString lastOpenFolder;
  QString lastSaveFolder;
  // The options file, and the program's folder (redirect utility, guide); the folder defaults
  // to the options file's when not set before the window is built.
  std::filesystem::path optionsFilePath;
  std::filesystem::path programFolder;
  // The options file lies in the user's configuration folder, not beside the program: Save
  // Options makes that folder and says where it wrote.
  bool optionsInUserFolder = false;

  std::uint32_t htmlBgColor = 0xFFFFFF;
  std::uint32_t blackAreaColor = 0x000000;
  int tooltipHelp = 1;
  int zoomMax = 130;
  int iframe = 0;

  std::int16_t hotSpotYaw = 0;
  int currentHotSpot = 1;
  HotSpotList hotSpots;
};

// The state a start in `currentFolder` begins with. The main window sets the options path (and
// with it the program folder) when it is built.
AppState initialAppState(const QString& currentFolder);

}  // namespace qx
