// The bundled example: an H.264 FLV and a project that publishes with three hot spots.
#include <gtest/gtest.h>

#include "common/RunProgram.h"
#include "common/TempFolder.h"
#include "project/FileIo.h"

namespace fs = std::filesystem;

namespace {

// The codec of the first video tag of an FLV file; -1 when there is none.
int flvVideoCodec(std::string_view flv) {
  if (flv.substr(0, 3) != "FLV") return -1;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(flv[i]); };
  std::size_t at = (byte(5) << 24 | byte(6) << 16 | byte(7) << 8 | byte(8)) + 4;
  while (at + 12 <= flv.size()) {
    const std::size_t size = byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    if (byte(at) == 9) return byte(at + 11) & 0x0F;
    at += 11 + size + 4;
  }
  return -1;
}

}  // namespace

TEST(Demo, VideoIsH264InFlvOfAFewHundredKilobytes) {
  const auto video = qx::readFileBytes(fs::path(QX_DEMO_DIR) / "demo.flv");
  ASSERT_TRUE(video);
  EXPECT_EQ(flvVideoCodec(video.value()), 7);  // AVC
  EXPECT_GT(video.value().size(), 50'000u);
  EXPECT_LT(video.value().size(), 1'000'000u);
}

TEST(Demo, PublishesWithThreeHotSpots) {
  TempFolder temp;
  const auto r = runProgram(QX_CLI_PATH, {"publish", std::string(QX_DEMO_DIR) + "/demo.pp",
                                          (temp.path() / "site" / "index.html").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto config = qx::readFileBytes(temp.path() / "site" / "config.xml");
  ASSERT_TRUE(config);
  for (const char* id : {"hotspot1", "hotspot2", "hotspot3"})
    EXPECT_NE(config.value().find(std::string("id=\"") + id + "\""), std::string::npos) << id;
  EXPECT_EQ(config.value().find("hotspot4"), std::string::npos);
  EXPECT_NE(config.value().find("<movie>demo.flv</movie>"), std::string::npos);
  EXPECT_EQ(qx::readFileBytes(temp.path() / "site" / "demo.flv").value(),
            qx::readFileBytes(fs::path(QX_DEMO_DIR) / "demo.flv").value());
}
