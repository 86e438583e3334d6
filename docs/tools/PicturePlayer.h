#pragma once
// A stand-in for the preview player in the guide's pictures: no video engine, a painted 360-degree
// scene with the player's transport strip, and the green yaw marker where the window puts it.
#include <memory>

#include "preview/PreviewPlayer.h"

namespace qx::guide {

class PicturePlayer : public PreviewPlayer {
 public:
  PicturePlayer();
  ~PicturePlayer() override;

  QWidget* widget() override;
  void loadAndPlay(const QString&) override {}
  void pausePlayer() override {}
  void stopPlayer() override {}
  double getPosition() const override { return position; }
  void seekAndFreeze(double seconds) override { position = seconds; }
  void placeYawMarker(int yaw) override;
  void refreshYawMarkerLater(int yaw) override { placeYawMarker(yaw); }
  void showOwnToolTips(bool) override {}
  void releasePlayer() override {}

  // Where the video stands, as the picture's transport strip and Add Hot Spot see it.
  double position = 0;

 private:
  class Scene;
  std::unique_ptr<Scene> scene_;
};

}  // namespace qx::guide
