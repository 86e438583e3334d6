#include "project/ChoiceLists.h"

#include <algorithm>

#include "project/NumberText.h"

namespace qx {
namespace {

using namespace std::string_view_literals;

constexpr std::array kWindow = {
    " 01.266x200 Small"sv,    " 02.300x230 Small"sv,    " 03.320x480 Small"sv,
    " 04.400x300 Small"sv,    " 05.480x360 Mobile"sv,   " 06.480x800 Mobile"sv,
    " 07.600x400 Standard"sv, " 08.640x480 Standard"sv, " 09.700x300 Wide"sv,
    " 10.800x480 Mobile"sv,   " 11.800x600 Big"sv,      " 12.1000x600 Big"sv,
    " 13.1200x720 Big"sv};
constexpr std::array kYaw = {" auto"sv,       " 0 degree"sv,   " 30 degree"sv,  " 60 degree"sv,
                             " 90 degree"sv,  " 120 degree"sv, " 150 degree"sv, " 180 degree"sv,
                             " 210 degree"sv, " 240 degree"sv, " 270 degree"sv, " 300 degree"sv,
                             " 330 degree"sv};
constexpr std::array kPitch = {" auto"sv, " 30 degree"sv, " 20 degree"sv, " 10 degree"sv,
                               " 0"sv,    "-10 degree"sv, "-20 degree"sv, "-30 degree"sv};
constexpr std::array kTilt = {" auto"sv,      " 40 degree"sv, " 45 degree"sv, " 50 degree"sv,
                              " 55 degree"sv, " 60 degree"sv, " 65 degree"sv, " 70 degree"sv,
                              " 75 degree"sv, " 80 degree"sv, " 85 degree"sv, " 90 degree"sv,
                              " manual"sv};
constexpr std::array kAudio = {"0%"sv,  "10%"sv, "20%"sv, "30%"sv, "40%"sv, "50%"sv,
                               "60%"sv, "70%"sv, "80%"sv, "90%"sv, "100%"sv};
constexpr std::array kPanning = {" 1.Classic"sv, " 2.Half Area"sv};
constexpr std::array kPlayer = {" 1. Flash Player"sv, " 2. AIR"sv, " 3. Flash Lite"sv};
constexpr std::array kBalance = {"   0% Off"sv, "  20% Pan"sv, "  40% Pan"sv,
                                 "  60% Pan"sv, "  80% Pan"sv, " 100% Max"sv};
constexpr std::array kOptimize = {" None"sv, " Direct"sv, " GPU"sv};
constexpr std::array kQuality = {" Low"sv, " Medium"sv, " High"sv, " Best"sv};

}  // namespace

ItemList windowItems() {
  return kWindow;
}
ItemList yawItems() {
  return kYaw;
}
ItemList pitchItems() {
  return kPitch;
}
ItemList tiltItems() {
  return kTilt;
}
ItemList audioItems() {
  return kAudio;
}
ItemList panningModeItems() {
  return kPanning;
}
ItemList flashPlayerItems() {
  return kPlayer;
}
ItemList balanceItems() {
  return kBalance;
}
ItemList optimizeItems() {
  return kOptimize;
}
ItemList qualityItems() {
  return kQuality;
}

int zoomItemCount(int zoomMax) {
  // Truncation toward zero, in 64 bits so that any stored value is safe.
  const long long count = (static_cast<long long>(zoomMax) - 30) / 10;
  return static_cast<int>(std::clamp<long long>(count, 0, 15));
}

std::vector<std::string> zoomItems(int zoomMax) {
  std::vector<std::string> items;
  for (int i = 1; i <= zoomItemCount(zoomMax); ++i) items.push_back(std::to_string(30 + 10 * i));
  return items;
}

int fitListNumber(int number, std::size_t count) {
  return number >= 1 && static_cast<std::size_t>(number) <= count ? number : 0;
}

std::string_view itemText(ItemList items, int number) {
  return fitListNumber(number, items.size()) ? items[static_cast<std::size_t>(number) - 1] : ""sv;
}

int leadingNumber(std::string_view itemText) {
  return readWholeNumber(itemText);
}

}  // namespace qx
