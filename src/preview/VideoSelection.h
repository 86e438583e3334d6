#pragma once
// "Select FLV": the video dialog, then the new video with every hot spot cleared, playing.
#include <functional>

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
};

// When several files are chosen the first one is taken. Cancel or an empty name changes nothing.
void selectVideo(const VideoSelection& s);

}  // namespace qx
