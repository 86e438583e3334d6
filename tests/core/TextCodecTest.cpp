#include "project/TextCodec.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(TextCodec, Windows1252WhenEveryCharacterFitsElseUtf8) {
  EXPECT_EQ(encodeFileText("plain"), "plain");
  EXPECT_EQ(encodeFileText("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
  const std::string greek = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7";  // Kalh in Greek letters
  EXPECT_EQ(encodeFileText("caf\xC3\xA9 " + greek), "caf\xC3\xA9 " + greek);
}

TEST(TextCodec, ReadsUtf8OnlyWhenValidAndNotAscii) {
  EXPECT_EQ(decodeFileText("abc"), "abc");
  EXPECT_EQ(decodeFileText("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(decodeFileText("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(decodeFileText("\x81"), "\xC2\x81");
  EXPECT_EQ(decodeFileText("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(decodeFileText("\xC0\x80"), "\xC3\x80\xE2\x82\xAC");  // overlong form: not UTF-8
  for (const std::string s : {"Stra\xC3\x9F"
                              "e",
                              "\xE4\xB8\xAD\xE6\x96\x87", "\xD0\x9C\xD0\xB8\xD1\x80"})
    EXPECT_EQ(decodeFileText(encodeFileText(s)), s);
}

TEST(TextCodec, CutsByCharactersAndTrims) {
  EXPECT_EQ(cutToChars("abcdef", 3), "abc");
  EXPECT_EQ(cutToChars("\xC3\xA9\xC3\xA9\xC3\xA9", 2), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(cutToChars("ab", 5), "ab");
  EXPECT_EQ(cutToChars("\xFF\xFF\xFF", 2), "\xFF\xFF");
  EXPECT_EQ(trimSpaces("  a b  "), "a b");
  EXPECT_EQ(trimSpaces("\ta "), "\ta");
  EXPECT_EQ(trimSpaces("   "), "");
  EXPECT_EQ(trimSpacesAndNuls(std::string(" \0a\0 ", 5)), "a");
}

TEST(TextCodec, SuffixAppendedUnlessPresentInAnyCase) {
  EXPECT_EQ(withSuffix("tour", ".html"), "tour.html");
  EXPECT_EQ(withSuffix("TOUR.HTML", ".html"), "TOUR.HTML");
  EXPECT_EQ(withSuffix("tour.htm", ".html"), "tour.htm.html");
  EXPECT_EQ(withSuffix("p", ".pp"), "p.pp");
  EXPECT_EQ(withSuffix("", ".pp"), ".pp");
  EXPECT_EQ(asciiLower("Ab\xC3\x89Z"), "ab\xC3\x89z");
}
