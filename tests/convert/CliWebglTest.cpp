// qx_flash_hs-cli webgl, run as a script would run it.
#include <gtest/gtest.h>

#include "TestMedia.h"
#include "cli/RunProgram.h"
#include "common/TempFolder.h"
#include "project/FileIo.h"
#include "webgl/WebAssets.h"

namespace fs = std::filesystem;

TEST(CliWebgl, WritesTheSetAndReportsFailures) {
  EXPECT_EQ(runProgram(QX_CLI, {"webgl"}).exitCode, 2);
  EXPECT_EQ(runProgram(QX_CLI, {"webgl", "a.html", "b.html"}).exitCode, 2);
  EXPECT_EQ(runProgram(QX_CLI, {"webgl", "a.html", "--fast"}).exitCode, 2);

  TempFolder dir;
  RunResult r = runProgram(QX_CLI, {"webgl", (dir.path() / "tour.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("tour.html"), std::string::npos) << r.err;

  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "tour.html", "<html><title>T</title><center>"),
            std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "config.xml",
                                   "<config><main><movie>tour.flv</movie></main></config>"),
            std::nullopt);
  r = runProgram(QX_CLI, {"webgl", (dir.path() / "tour.html").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("tour.flv"), std::string::npos) << r.err;

  ASSERT_TRUE(testmedia::makeVideo(dir.path() / "tour.flv", "-c:v flv1 -c:a libmp3lame", "flv", 1));
  r = runProgram(QX_CLI, {"webgl", (dir.path() / "tour.html").string()});
  EXPECT_NE(r.out.find("Note: Video: Sorenson Spark (H.263), which browsers cannot play"),
            std::string::npos)
      << r.out;
  if (!qx::webgl::embeddedWebAssets()) {
    EXPECT_EQ(r.exitCode, 1);
    GTEST_SKIP() << "this build carries no web/ templates";
  }
  EXPECT_EQ(r.exitCode, 0) << r.err;
  for (const char* name : {"tour.mp4", "qx_webgl.js", "tour.webgl.html", "tour.select.html"}) {
    EXPECT_NE(r.out.find("wrote " + (dir.path() / name).string() + "\n"), std::string::npos)
        << name;
    EXPECT_TRUE(fs::exists(dir.path() / name)) << name;
  }
  EXPECT_EQ(testmedia::streamCodecs(dir.path() / "tour.mp4"), "h264\naac\n");
}
