#include "preview/VideoSelection.h"

#include <QString>
#include <QWidget>

#include "platform/Platform.h"
#include "preview/FileChoosers.h"
#include "preview/HotSpotEditor.h"
#include "preview/PreviewPlayer.h"

namespace qx {

void selectVideo(const VideoSelection& s) {
  auto video = chosenFile(s.platform.runFileDialog(s.owner, videoDialog(s.lastOpenFolder)));
  if (!video) return;
  s.lastOpenFolder = folderOf(*video);
  if (s.needsImport && s.importVideo && s.needsImport(*video)) {
    video = s.importVideo(*video);
    if (!video) return;
  }
  s.showPath(*video);
  s.editor.clearHotSpot(0);  // a new video, even the same one again, starts without hot spots
  s.player.loadAndPlay(*video);
}

}  // namespace qx
