#include "project/NumberText.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace qx;

TEST(ReadNumber, TakesTheLongestNumericPrefix) {
  EXPECT_EQ(readNumber(""), 0);
  EXPECT_EQ(readNumber("abc"), 0);
  EXPECT_EQ(readNumber(" \t\r\n3"), 3);
  EXPECT_EQ(readNumber("12.5abc"), 12.5);
  EXPECT_EQ(readNumber("-30.000"), -30);
  EXPECT_EQ(readNumber("+7"), 7);
  EXPECT_EQ(readNumber(".75"), 0.75);
  EXPECT_EQ(readNumber("5."), 5);
  EXPECT_EQ(readNumber("1e3x"), 1000);
  EXPECT_EQ(readNumber("1D2"), 100);
  EXPECT_EQ(readNumber("2e"), 2);  // an exponent without digits is not part of the number
  EXPECT_EQ(readNumber("2e+"), 2);
  EXPECT_EQ(readNumber("1 2"), 1);  // a space ends the number
  EXPECT_EQ(readNumber("-"), 0);
  EXPECT_EQ(readNumber("."), 0);
  EXPECT_EQ(readNumber("640px"), 640);
}

TEST(ReadNumber, ReadsPrefixedRadixes) {
  EXPECT_EQ(readNumber("&HFF"), 255);
  EXPECT_EQ(readNumber("&h1g"), 1);
  EXPECT_EQ(readNumber("&O17"), 15);
  EXPECT_EQ(readNumber("&q17"), 15);
  EXPECT_EQ(readNumber("&B101"), 5);
  EXPECT_EQ(readNumber("&H"), 0);
  EXPECT_EQ(readNumber("&X1"), 0);
  EXPECT_EQ(readNumber("  &H10"), 16);
}

TEST(ReadNumber, HugeInputStaysFiniteAndSafe) {
  EXPECT_EQ(readNumber("1e999"), std::numeric_limits<double>::max());
  EXPECT_EQ(readNumber("-1e999"), std::numeric_limits<double>::lowest());
  EXPECT_EQ(readNumber("1e-999"), 0);
  const std::string million(1'000'000, '9');
  EXPECT_EQ(readNumber(million), std::numeric_limits<double>::max());
  EXPECT_EQ(readWholeNumber(million), std::numeric_limits<int>::max());
  EXPECT_EQ(readWholeNumber("-" + million), std::numeric_limits<int>::min());
  EXPECT_NO_THROW(readNumber("&H" + million));
  EXPECT_EQ(readColour(std::string(100000, 'F')), 0xFFFFFFu);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(readWholeNumber("2.5"), 2);
  EXPECT_EQ(readWholeNumber("3.5"), 4);
  EXPECT_EQ(readWholeNumber("-2.5"), -2);
  EXPECT_EQ(readWholeNumber("44.5"), 44);
  EXPECT_EQ(readWholeNumber("45.5"), 46);
  EXPECT_EQ(readWholeNumber("45.51"), 46);
}

TEST(Colour, ReadsHexDigitsAtTheStartAndCutsTo24Bits) {
  EXPECT_EQ(readColour("0000FF"), 0x0000FFu);
  EXPECT_EQ(readColour("ffffff"), 0xFFFFFFu);
  EXPECT_EQ(readColour(" FFFFFF"), 0u);  // a blank ends the hexadecimal digits at once
  EXPECT_EQ(readColour(""), 0u);
  EXPECT_EQ(readColour("1FF8000"), 0xFF8000u);
  EXPECT_EQ(colourText(0x0000FF), "0000FF");
  EXPECT_EQ(colourText(0xFFFFFF), "FFFFFF");
  EXPECT_EQ(colourText(0), "000000");
  EXPECT_EQ(rgbText(0x0000FF), "FF0000");
  EXPECT_EQ(rgbText(0x0080FF), "FF8000");
}

TEST(Renderings, PositionNumber) {
  EXPECT_EQ(positionText(0), "0");
  EXPECT_EQ(positionText(-0.0), "0");
  EXPECT_EQ(positionText(0.75), ".75");
  EXPECT_EQ(positionText(0.25), ".25");
  EXPECT_EQ(positionText(12.5), "12.5");
  EXPECT_EQ(positionText(-0.5), "-.5");
  EXPECT_EQ(positionText(30), "30");
  EXPECT_EQ(positionText(1200), "1200");
  EXPECT_EQ(positionText(0.1 + 0.2), ".3");  // 15 significant digits
  EXPECT_EQ(positionText(1.0 / 3), ".333333333333333");
  EXPECT_EQ(positionText(0.001), ".001");
  for (const double v : {0.75, 12.5, 123456.789, 1e-7, 1e30, -2.25, 3599.999})
    EXPECT_DOUBLE_EQ(readNumber(positionText(v)), v) << positionText(v);
}

TEST(Renderings, MasksRoundOnDecimalDigitsHalvesToEven) {
  EXPECT_EQ(maskText(0.25, 3), "0.250");
  EXPECT_EQ(maskText(-30, 3), "-30.000");
  EXPECT_EQ(maskText(2.5, 3), "2.500");
  EXPECT_EQ(maskText(0, 3), "0.000");
  EXPECT_EQ(maskText(1.23456, 3), "1.235");
  EXPECT_EQ(maskText(123456789, 3), "123456789.000");
  EXPECT_EQ(maskText(7.25, 1), "7.2");
  EXPECT_EQ(maskText(12.35, 1), "12.4");
  EXPECT_EQ(maskText(12.34, 1), "12.3");
  EXPECT_EQ(maskText(0.5, 1), "0.5");
  EXPECT_EQ(maskText(5, 1), "5.0");
  EXPECT_EQ(maskText(9.96, 1), "10.0");
  EXPECT_EQ(maskText(0.04, 1), "0.0");
  EXPECT_EQ(maskText(-0.04, 1), "0.0");
  EXPECT_EQ(maskText(-170, 0), "-170");
  EXPECT_EQ(maskText(0, 0), "0");
  EXPECT_EQ(maskText(0.5, 0), "0");
  EXPECT_EQ(maskText(1.5, 0), "2");
  EXPECT_EQ(maskText(0.51, 0), "1");
  EXPECT_EQ(maskText(0.0005, 3), "0.000");
  EXPECT_EQ(maskText(0.0015, 3), "0.002");
}
