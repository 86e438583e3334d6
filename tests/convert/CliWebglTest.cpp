// qx_flash_hs-cli webgl, run as a script would run it.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>

#include "common/RunProgram.h"
#include "common/TempFolder.h"
#include "common/TestMedia.h"
#include "common/TestVideos.h"
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

namespace {

struct Ended {
  bool inTime = false;
  int exitCode = -1;
  long peakKib = 0;  // the largest resident size of the run and the programs it waited for
};

// Runs the CLI's webgl on `page`, killed after `seconds`; how it ended and its peak memory.
Ended webglWithin(const fs::path& page, int seconds) {
  const std::string text = page.string();
  char* const argv[] = {const_cast<char*>(QX_CLI), const_cast<char*>("webgl"),
                        const_cast<char*>(text.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  Ended ended;
  const int spawned = posix_spawn(&pid, QX_CLI, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return ended;
  int status = 0;
  struct rusage usage {};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (wait4(pid, &status, WNOHANG, &usage) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      return ended;
    }
    usleep(20000);
  }
  ended.inTime = true;
  ended.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  ended.peakKib = usage.ru_maxrss;
  return ended;
}

void publishedPage(const fs::path& folder, const std::string& movie) {
  ASSERT_FALSE(qx::writeFileReplacing(folder / "tour.html", "<html><title>T</title><center>"));
  ASSERT_FALSE(qx::writeFileReplacing(
      folder / "config.xml", "<config><main><movie>" + movie + "</movie></main></config>"));
}

}  // namespace

TEST(CliWebgl, PipesAsPageOrConfigAreRefusedAtOnce) {
  for (const char* name : {"config.xml", "tour.html"}) {
    TempFolder dir;
    publishedPage(dir.path(), "tour.flv");
    fs::remove(dir.path() / name);
    ASSERT_EQ(mkfifo((dir.path() / name).c_str(), 0600), 0);
    const Ended ended = webglWithin(dir.path() / "tour.html", 20);
    ASSERT_TRUE(ended.inTime) << name << " as a pipe held the converter";
    EXPECT_EQ(ended.exitCode, 1) << name;
  }
}

// Sample tables that claim far more than the file holds: 85 million samples in a few KB, and
// 999 tracks. The claim is refused before the demuxer sizes its index or streams by it.
TEST(CliWebgl, TablesClaimingMoreThanTheFileHoldsCostLittleMemory) {
  namespace tv = testvideos;
  const auto stbl = [](std::uint64_t samples) {
    return tv::fullBox("stsd", tv::bigEndian(1, 4) + tv::videoEntry("avc1", 256, 128)) +
           tv::fullBox("stts",
                       tv::bigEndian(1, 4) + tv::bigEndian(samples, 4) + tv::bigEndian(1, 4)) +
           tv::fullBox("stsc", tv::bigEndian(1, 4) + tv::bigEndian(1, 4) +
                                   tv::bigEndian(samples, 4) + tv::bigEndian(1, 4)) +
           tv::fullBox("stsz", tv::bigEndian(1, 4) + tv::bigEndian(samples, 4)) +
           tv::fullBox("stco", tv::bigEndian(1, 4) + tv::bigEndian(64, 4));
  };
  const auto trak = [&](std::uint64_t samples) {
    const std::string hdlr =
        tv::fullBox("hdlr", std::string(4, '\0') + "vide" + std::string(13, '\0'));
    const std::string mdhd =
        tv::fullBox("mdhd", std::string(8, '\0') + tv::bigEndian(1000, 4) +
                                tv::bigEndian(samples, 4) + std::string(4, '\0'));
    return tv::box(
        "trak", tv::fullBox("tkhd", std::string(80, '\0')) +
                    tv::box("mdia", mdhd + hdlr + tv::box("minf", tv::box("stbl", stbl(samples)))));
  };
  std::string manyTracks;
  for (int i = 0; i < 999; ++i) manyTracks += trak(1);
  const std::string moovHead = tv::box("ftyp", "isom" + tv::bigEndian(0, 4) + "isomavc1") +
                               tv::fullBox("mvhd", std::string(96, '\0'));
  for (const std::string& file :
       {moovHead + tv::box("moov", trak(85'000'000)), moovHead + tv::box("moov", manyTracks)}) {
    TempFolder dir;
    publishedPage(dir.path(), "tour.f4v");
    std::ofstream(dir.path() / "tour.f4v", std::ios::binary)
        << file << tv::box("mdat", std::string(4096, '\0'));
    ASSERT_LT(fs::file_size(dir.path() / "tour.f4v"), 1u << 20);
    const Ended ended = webglWithin(dir.path() / "tour.html", 120);
    ASSERT_TRUE(ended.inTime);
    EXPECT_EQ(ended.exitCode, 1);
    EXPECT_LT(ended.peakKib, 256 * 1024) << "KiB at the peak";
  }
}

TEST(CliWebgl, ALinkedWebglPageIsReplacedNotWrittenThrough) {
  if (!qx::webgl::embeddedWebAssets()) GTEST_SKIP() << "this build carries no web/ templates";
  TempFolder dir;
  publishedPage(dir.path(), "tour.flv");
  ASSERT_TRUE(
      testmedia::makeVideo(dir.path() / "tour.flv", "-c:v flv1", "flv", 1, "256x128", false));
  fs::create_directories(dir.path() / "outside");
  std::ofstream(dir.path() / "outside" / "kept.html") << "precious";
  fs::create_symlink(dir.path() / "outside" / "kept.html", dir.path() / "tour.webgl.html");
  const RunResult r = runProgram(QX_CLI, {"webgl", (dir.path() / "tour.html").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(fs::is_symlink(dir.path() / "tour.webgl.html"));
  EXPECT_EQ(qx::readFileBytes(dir.path() / "outside" / "kept.html").value(), "precious");
}
