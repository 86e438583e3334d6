// qx_flash_hs-cli webgl, run as a script would run it.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>

#include "common/TestMedia.h"
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

TEST(CliWebgl, TermStopsTheRunAtOnceAndLeavesNoFiles) {
  TempFolder dir;
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "tour.html", "<html><title>T</title><center>"),
            std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(dir.path() / "config.xml",
                                   "<config><main><movie>tour.flv</movie></main></config>"),
            std::nullopt);
  const fs::path flv = dir.path() / "tour.flv";
  ASSERT_TRUE(testmedia::makeVideo(flv, "-c:v flv1", "flv", 1, "320x160", false));
  // Junk after the frames keeps the reader busy for a long while.
  fs::resize_file(flv, fs::file_size(flv) + (std::uintmax_t{4} << 30));

  const std::string page = (dir.path() / "tour.html").string();
  char* const argv[] = {const_cast<char*>(QX_CLI), const_cast<char*>("webgl"),
                        const_cast<char*>(page.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, QX_CLI, &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  usleep(1500000);
  kill(pid, SIGTERM);
  const auto sent = std::chrono::steady_clock::now();
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(1));
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of stopping";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"config.xml", "tour.flv", "tour.html"}));
}
