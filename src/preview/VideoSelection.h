#pragma once
// "Select FLV": the video dialog, then the new video with every hot spot cleared, playing. A
// video the Flash page cannot play is imported first, into an FLV that then takes its place.
#include <functional>
#include <optional>

class QString;
class QWidget;

namespace qx {

class HotSpotEditor;
class Platform;
class PreviewPlayer;

struct VideoSelection {
  QWidget* owner;
  Platform& platform;
  PreviewPlayer& player;
  HotSpotEditor& editor;
  QString& lastOpenFolder;
  std::function<void(const QString&)> showPath;  // the path display of the window
  // Whether a file goes through the import first, and that import: the FLV written, or nothing
  // when cancelled or failed.
  std::function<bool(const QString&)> needsImport;
  std::function<std::optional<QString>(const QString&)> importVideo;
};

// When several files are chosen the first one is taken. Cancel or an empty name, or an import
// cancelled or failed, changes nothing.
void selectVideo(const VideoSelection& s);

}  // namespace qx
