#include "project/HotSpot.h"

#include <stdexcept>

#include "project/TextCodec.h"

namespace qx {
namespace {

std::size_t indexOf(int slot) {
  if (slot < 1 || slot > HotSpotList::kSlots)
    throw std::out_of_range("hot-spot slot " + std::to_string(slot) + " is not 1 to 10");
  return static_cast<std::size_t>(slot - 1);
}

}  // namespace

HotSpot normalizedHotSpot(HotSpot spot) {
  spot.link = cutToChars(trimSpacesAndNuls(spot.link), HotSpot::kLinkChars);
  spot.title = cutToChars(trimSpacesAndNuls(spot.title), HotSpot::kTitleChars);
  return spot;
}

const HotSpot& HotSpotList::blank() {
  static const HotSpot empty{};
  return empty;
}

const HotSpot& HotSpotList::at(int slot) const {
  return slots_[indexOf(slot)];
}

void HotSpotList::set(int slot, HotSpot spot) {
  slots_[indexOf(slot)] = normalizedHotSpot(std::move(spot));
}

void HotSpotList::clear(int slot) {
  slots_[indexOf(slot)] = blank();
}

void HotSpotList::clearAll() {
  slots_.fill(blank());
}

int HotSpotList::countInUse() const {
  int n = 0;
  for (const HotSpot& s : slots_) n += s.inUse() ? 1 : 0;
  return n;
}

}  // namespace qx
