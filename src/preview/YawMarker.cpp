#include "preview/PreviewPlayer.h"

#include "project/NumberText.h"

namespace qx {

int markerX(int yaw) {
  // The middle of the 448-wide player area at 250, less one for the marker's own width, plus
  // 224 pixels per 185 degrees; the trackbar handler moves the marker by the same rule.
  return roundToInt(223.0 + 250.0 - 1.0 + 224.0 * yaw / 185.0);
}

}  // namespace qx
