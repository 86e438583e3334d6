// The resources compiled into the program: all of them, byte for byte, found by any case.
#include <gtest/gtest.h>

#include <cstring>

#include "project/FileIo.h"
#include "qxcore_resources.h"
#include "resources/Resources.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

std::string_view asText(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

unsigned le16(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

}  // namespace

TEST(Resources, EveryFileOfTheFolderIsCarriedUnchanged) {
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(QX_RESOURCES_DIR)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    ++files;
    const auto onDisk = readFileBytes(entry.path());
    ASSERT_TRUE(onDisk);
    const auto rel = entry.path().lexically_relative(QX_RESOURCES_DIR);
    const auto* embedded = embedded::findEmbeddedPath(rel.generic_string());
    ASSERT_NE(embedded, nullptr) << rel;
    EXPECT_EQ(asText(embedded->bytes()), onDisk.value()) << rel;
    const auto found = findResource(rel.begin()->string(), entry.path().stem().string());
    ASSERT_TRUE(found) << rel;
  }
  EXPECT_EQ(files, embedded::embeddedFiles().size());
  EXPECT_GE(files, 41u);  // 39 viewers and 2 icons at least
}

TEST(Resources, NamesWithoutRegardToCase) {
  const auto upper = findResource("RCDATA", "VIEWER101");
  const auto lower = findResource("rcdata", "viewer101");
  const auto mixed = findResource("RcData", "Viewer101");
  ASSERT_TRUE(upper && lower && mixed);
  EXPECT_EQ(upper->data(), lower->data());
  EXPECT_EQ(upper->data(), mixed->data());
  EXPECT_FALSE(findResource("RCDATA", "VIEWER100"));
  EXPECT_FALSE(findResource("RCDATA", "VIEWER1"));
  EXPECT_FALSE(findResource("RCDAT", "VIEWER101"));
  EXPECT_FALSE(findResource("", ""));
}

TEST(Resources, ThirtyNineViewersWithTheirVersions) {
  for (int player = 1; player <= 3; ++player)
    for (int index = 1; index <= 13; ++index) {
      const std::string name = "viewer" + std::to_string(player * 100 + index);
      const auto bytes = findResource("RCDATA", name);
      ASSERT_TRUE(bytes) << name;
      const std::string_view swf = asText(*bytes);
      ASSERT_GT(swf.size(), 8u);
      EXPECT_EQ(swf.substr(0, 3), "CWS") << name;
      EXPECT_EQ(static_cast<int>(swf[3]), player == 1 ? 17 : 10) << name;
      // Compressed: the length the header promises is that of the inflated movie.
      const std::uint32_t inflated = le16(swf, 4) | le16(swf, 6) << 16;
      EXPECT_GT(inflated, 20u) << name;
    }
}

TEST(Resources, TwoDistinctIcons) {
  const auto red = findResource("RCDATA", "151");
  const auto blue = findResource("RCDATA", "152");
  ASSERT_TRUE(red && blue);
  for (const auto icon : {asText(*red), asText(*blue)}) {
    EXPECT_EQ(icon.substr(0, 6), "GIF89a");
    EXPECT_EQ(le16(icon, 6), 48u);
    EXPECT_EQ(le16(icon, 8), 48u);
    EXPECT_EQ(icon.back(), ';');  // the trailer: the picture is complete
  }
  EXPECT_NE(red->size(), blue->size());  // publishing tells them apart by length too
}
