#pragma once
// The fixed choice lists of the option drop-downs. Publishing takes numbers out of some item
// texts, so the texts are data: the window fills its lists from here.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

using ItemList = std::span<const std::string_view>;

ItemList windowItems();       // 13 sizes, " 01.266x200 Small" ...
ItemList yawItems();          // " auto", " 0 degree" ... " 330 degree"
ItemList pitchItems();        // " auto", " 30 degree" ... "-30 degree"
ItemList tiltItems();         // " auto", " 40 degree" ... " manual"
ItemList audioItems();        // "0%" ... "100%"
ItemList panningModeItems();  // " 1.Classic", " 2.Half Area"
ItemList flashPlayerItems();  // " 1. Flash Player", " 2. AIR", " 3. Flash Lite"
ItemList balanceItems();      // "   0% Off" ... " 100% Max"
ItemList optimizeItems();     // " None", " Direct", " GPU"
ItemList qualityItems();      // " Low", " Medium", " High", " Best"

// Items of the zoom list for a largest field of view: "40", "50", ... at most fifteen.
int zoomItemCount(int zoomMax);
std::vector<std::string> zoomItems(int zoomMax);

// A list number that does not fit a list of `count` items reads as 0 (nothing selected).
int fitListNumber(int number, std::size_t count);
// Text of item `number` (1-based), "" when nothing fits.
std::string_view itemText(ItemList items, int number);
// The leading number of an item text (" 40 degree" -> 40, "-10 degree" -> -10); 0 for none.
int leadingNumber(std::string_view itemText);

}  // namespace qx
