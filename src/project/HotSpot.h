#pragma once
// Hot spots: ten numbered slots, a slot being in use when its pos is greater than 0.
#include <array>
#include <cstddef>
#include <string>

namespace qx {

struct HotSpot {
  static constexpr std::size_t kLinkChars = 512;
  static constexpr std::size_t kTitleChars = 40;

  std::string link;   // at most kLinkChars characters
  std::string title;  // at most kTitleChars characters
  int yaw = 0;        // whole degrees, -179..180 from the yaw track bar
  double pos = 0;     // seconds into the video at which it appears
  double time = 0;    // seconds it stays
  int self = 0;       // 1 opens the link in the same window

  bool inUse() const { return pos > 0; }
  bool operator==(const HotSpot&) const = default;
};

// A hot spot as stored: link and title trimmed of spaces and NULs at both ends and cut to length.
HotSpot normalizedHotSpot(HotSpot spot);

class HotSpotList {
 public:
  static constexpr int kSlots = 10;

  // The empty record every cleared slot is a copy of.
  static const HotSpot& blank();

  // Slots are numbered 1..kSlots; other numbers throw std::out_of_range.
  const HotSpot& at(int slot) const;
  void set(int slot, HotSpot spot);
  void clear(int slot);
  void clearAll();
  int countInUse() const;

  bool operator==(const HotSpotList&) const = default;

 private:
  std::array<HotSpot, kSlots> slots_{};
};

}  // namespace qx
