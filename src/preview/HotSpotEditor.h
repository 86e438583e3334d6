#pragma once
// Editing the ten hot-spot slots against the playing video: add at the player's position and the
// yaw trackbar's direction, show a slot (the video frozen at its moment), select, clear.
#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

namespace qx {

class HotSpotList;
class Platform;
class PreviewPlayer;

// The main window's controls the editor reads and sets; index 0 of each row array is slot 1.
struct HotSpotControls {
  QLineEdit* link = nullptr;
  QLineEdit* title = nullptr;
  QCheckBox* selfMode = nullptr;
  QSlider* trackbar = nullptr;
  std::array<QCheckBox*, 10> selectors{};
  std::array<QLabel*, 10> yawReadouts{};
  std::array<QLabel*, 10> posReadouts{};
  std::array<QLineEdit*, 10> timeBoxes{};
};

// The application state the editor works on.
struct HotSpotState {
  HotSpotList& hotSpots;
  int& currentHotSpot;
  std::int16_t& hotSpotYaw;
};

class HotSpotEditor {
 public:
  HotSpotEditor(HotSpotState state, HotSpotControls controls, PreviewPlayer& player,
                Platform& platform, QWidget* owner);

  // Checks link, position and time in that order (one message for the first that fails) and
  // stores slot n.
  void addHotSpot(int n);
  // Puts slot n into the controls; a slot in use also freezes the video at its moment, unless
  // `freezeVideo` is false.
  void showHotSpot(int n, bool freezeVideo = true);
  // Makes slot n the one checked selector, then shows it.
  void selectHotSpot(int n, bool freezeVideo = true);
  // Clears slot n, or every slot (and makes slot 1 current) for n = 0.
  void clearHotSpot(int n);

  static constexpr const char* kDefaultTime = "5.0";

 private:
  void setYaw(int yaw);
  void warn(const char* text);

  HotSpotState state_;
  HotSpotControls c_;
  PreviewPlayer& player_;
  Platform& platform_;
  QWidget* owner_;
};

}  // namespace qx
