#pragma once
// The only way the rest of the program touches the preview: a small player interface, so tests
// can use a fake and the real one (Qt Multimedia, in the media module) can be tested on its own.
#include <memory>

class QString;
class QWidget;

namespace qx {

class MediaModule;

class PreviewPlayer {
 public:
  virtual ~PreviewPlayer() = default;

  // The 448 x 300 preview area (video, yaw marker and transport controls), to be placed by the
  // main window at (250, 150).
  virtual QWidget* widget() = 0;

  // Points the player at a file and starts it; a file it cannot open shows nothing.
  virtual void loadAndPlay(const QString& path) = 0;
  // Pauses a playing video; one that has stopped or run out stays as it is.
  virtual void pausePlayer() = 0;
  // Nothing plays on; the picture stays where it was.
  virtual void stopPlayer() = 0;
  // Seconds into the current video; 0 when nothing is loaded.
  virtual double getPosition() const = 0;
  // Leaves the video paused at `seconds` with that frame shown.
  virtual void seekAndFreeze(double seconds) = 0;
  // Moves the green marker to the given hot-spot yaw (-179..180) at once ...
  virtual void placeYawMarker(int yaw) = 0;
  // ... or after the command that asks for it has returned.
  virtual void refreshYawMarkerLater(int yaw) = 0;
  // Whether the player's own controls show tool tips: they follow the window's pop-up help.
  virtual void showOwnToolTips(bool shown) = 0;
  virtual void releasePlayer() = 0;
};

// The marker's x in main-window coordinates for a yaw: 223 + 250 - 1 + 224 * yaw / 185, rounded
// with halves to even (yaw -179, 0 and 179 give 255, 472 and 689).
int markerX(int yaw);

// The real player, a child of `parent`, on the engine of `media` (which must outlive it).
std::unique_ptr<PreviewPlayer> makePreviewPlayer(QWidget* parent, MediaModule& media);

}  // namespace qx
