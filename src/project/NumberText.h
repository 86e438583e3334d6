#pragma once
// Reading numbers out of the tagged files and writing them back in the renderings the files and
// the viewer expect. Every reading is total: any text gives a finite number.
#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// The longest number at the start of `text`: leading blanks (space, tab, CR, LF), sign, digits,
// point, digits, exponent; "&H"/"&O"/"&Q"/"&B" read hexadecimal, octal or binary digits.
// No number gives 0; a value too large for a double reads as the largest finite one.
double readNumber(std::string_view text);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);
// roundHalfEven clamped into the int range (NaN gives 0).
int roundToInt(double value);
// readNumber followed by roundToInt: how the files read list numbers, flags and whole numbers.
int readWholeNumber(std::string_view text);
// The hexadecimal digits at the very start of `text` (no blanks skipped), cut to 24 bits.
std::uint32_t readColour(std::string_view text);

// "0", "4", "-30".
std::string integerText(long long value);
// Six upper-case hex digits of a 0x00BBGGRR colour, in that order ("0000FF" for pure red).
std::string colourText(std::uint32_t bgr);
// The same colour as RRGGBB, for the page and the viewer ("FF0000" for pure red).
std::string rgbText(std::uint32_t bgr);
// Shortest decimal text with at most 15 significant digits and no 0 before the point (.75).
std::string positionText(double value);
// Fixed decimals with at least one integer digit: decimals 3 is the mask "#####.000" (0.250),
// 1 the masks "######.0"/"###.0" (7.2), 0 the masks "####"/"###". Rounding is on the value's
// 15 significant decimal digits, halves to even.
std::string maskText(double value, int decimals);

}  // namespace qx
