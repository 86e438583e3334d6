#pragma once
// Stand-ins for the preview player and the help windows (the host system's: FakePlatform.h).
// They write every call into the log they share with the platform's.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "app/HelpHooks.h"
#include "gui/FakePlatform.h"
#include "help/PopupHelp.h"
#include "preview/PreviewPlayer.h"

namespace qx::test {

class FakePlayer : public PreviewPlayer {
 public:
  explicit FakePlayer(Log& log);
  QWidget* widget() override { return widget_.get(); }
  void loadAndPlay(const QString& path) override;
  void pausePlayer() override;
  void stopPlayer() override;
  double getPosition() const override { return position; }
  void seekAndFreeze(double seconds) override;
  void placeYawMarker(int yaw) override;
  void refreshYawMarkerLater(int yaw) override;
  void showOwnToolTips(bool shown) override { ownToolTips = shown; }
  void releasePlayer() override;

  // What getPosition answers (0 until a video plays, as with the real player).
  double position = 0;
  int markerYaw = 0;
  bool ownToolTips = true;

 private:
  Log& log_;
  std::unique_ptr<QWidget> widget_;
};

class FakePopupHelp : public PopupHelp {
 public:
  void setActive(bool on) override { active = on; }
  bool isActive() const override { return active; }
  bool active = true;
};

// Help hooks that record instead of opening windows.
struct FakeHelp {
  FakePopupHelp* popup = nullptr;
  int shortHelpShown = 0;
  int aboutShown = 0;
  HelpHooks hooks();
};

}  // namespace qx::test
