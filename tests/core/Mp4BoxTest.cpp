#include "media/Mp4Box.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using qx::media::childBoxes;
using qx::media::findPath;
using qx::media::readBoxHeader;

std::string be32(std::uint64_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
std::string box(std::string_view type, const std::string& body) {
  return be32(8 + body.size()) + std::string(type) + body;
}

TEST(Mp4Box, WalksNestedLargeSizedAndUuidBoxes) {
  const std::string user(16, '\x7f');
  const std::string trak = box("trak", box("tkhd", "abcd"));
  const std::string large = be32(1) + "mdat" + std::string(4, '\0') + be32(16 + 3) + "xyz";
  const std::string file = box("ftyp", "f4v ") + box("moov", trak + box("uuid", user + "Q")) +
                           large + be32(0) + "free" + "tail";
  std::istringstream in(file);

  const auto top = childBoxes(in, 0, file.size());
  ASSERT_EQ(top.size(), 4u);
  EXPECT_TRUE(top[2].is("mdat"));
  EXPECT_EQ(top[2].bodySize(), 3u);
  EXPECT_TRUE(top[3].is("free"));
  EXPECT_EQ(top[3].end, file.size()) << "a size of 0 runs to the end";

  const auto tkhd = findPath(in, 0, file.size(), {"moov", "trak", "tkhd"});
  ASSERT_TRUE(tkhd);
  EXPECT_EQ(file.substr(tkhd->body, tkhd->bodySize()), "abcd");

  const auto uuid = findPath(in, 0, file.size(), {"moov", "uuid"});
  ASSERT_TRUE(uuid);
  EXPECT_EQ(uuid->userType[0], 0x7f);
  EXPECT_EQ(uuid->bodySize(), 1u);
}

TEST(Mp4Box, RefusesSizesItsParentCannotHold) {
  // A child claiming more than its parent, a size below its own header, a cut-off header.
  const std::string overlong = box("moov", be32(4000) + "trak" + "xx");
  std::istringstream in(overlong);
  EXPECT_TRUE(childBoxes(in, 8, overlong.size()).empty());
  EXPECT_FALSE(findPath(in, 0, overlong.size(), {"moov", "trak"}));

  const std::string tiny = be32(4) + "free";
  std::istringstream tinyIn(tiny);
  EXPECT_FALSE(readBoxHeader(tinyIn, 0, tiny.size()));

  const std::string cut = be32(1) + "mdat" + "\0\0";
  std::istringstream cutIn(cut);
  EXPECT_FALSE(readBoxHeader(cutIn, 0, cut.size()));
}

}  // namespace
