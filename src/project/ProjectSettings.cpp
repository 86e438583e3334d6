#include "project/ProjectSettings.h"

namespace qx {

void resetToDefaults(ProjectSettings& s) {
  const ProjectSettings d;
  s.window = d.window;
  s.yaw = d.yaw;
  s.zoom = d.zoom;
  s.tilt = d.tilt;
  s.pitch = d.pitch;
  s.audio = d.audio;
  s.balance = d.balance;
  s.smooth = d.smooth;
  s.controls = d.controls;
  s.border = d.border;
  s.htmlTitle = d.htmlTitle;
  s.startBufferingTime = d.startBufferingTime;
  s.hsSelfMode = d.hsSelfMode;
  s.htmlBgColor = d.htmlBgColor;
  s.blackAreaColor = d.blackAreaColor;
  s.flashPlayer = d.flashPlayer;
  s.panningMode = d.panningMode;
  s.hsIcon = d.hsIcon;
  s.viewMode = d.viewMode;
  s.videoPath = d.videoPath;
  s.customSize = d.customSize;
  s.customWidth = d.customWidth;
  s.customHeight = d.customHeight;
}

}  // namespace qx
