// What a publish may read and write when the folders around it are hostile: links planted in
// the output folder, a video named like a published file, special files as the video, a signal
// during the copy, a second publish into the same folder.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "common/FileContents.h"
#include "common/TempFolder.h"
#include "common/TestVideos.h"
#include "project/FileIo.h"
#include "project/PathText.h"
#include "publish/AirDescriptor.h"
#include "publish/FolderLock.h"
#include "publish/PublishOutputSet.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

using qx::test::contents;
using qx::test::writeFile;

std::vector<std::string> names(const fs::path& folder) {
  std::vector<std::string> list;
  for (const auto& e : fs::directory_iterator(folder)) list.push_back(e.path().filename());
  std::sort(list.begin(), list.end());
  return list;
}

struct Site {
  TempFolder temp;
  fs::path outside = temp.path() / "outside";
  fs::path site = temp.path() / "site";
  ProjectSettings settings;
  Site() {
    fs::create_directories(outside);
    fs::create_directories(site);
    settings.videoPath = (temp.path() / "tour.flv").string();
    writeFile(settings.videoPath, testvideos::flv(4, 2, 2000));
  }
  PublishReport publish() { return publishOutputSet(settings, {}, site / "index.html"); }
};

}  // namespace

TEST(PublishHardening, LinksInTheOutputFolderAreReplacedNotWrittenThrough) {
  Site s;
  for (const char* name : {"config.xml", "index.html", "qx_flash_hs.swf", "tour.flv"}) {
    writeFile(s.outside / name, "precious");
    fs::create_symlink(s.outside / name, s.site / name);
  }
  fs::create_directories(s.outside / "icons");
  fs::create_directory_symlink(s.outside / "icons", s.site / "images");
  s.settings.flashPlayer = 2;  // the AIR descriptor too
  writeFile(s.outside / "app.xml", "precious");
  fs::create_symlink(s.outside / "app.xml", s.site / std::string(kAirDescriptorName));

  const PublishReport report = s.publish();
  ASSERT_TRUE(report.succeeded()) << publishMessage(report);
  for (const char* name : {"config.xml", "index.html", "qx_flash_hs.swf", "tour.flv"})
    EXPECT_EQ(contents(s.outside / name), "precious") << name;
  EXPECT_EQ(contents(s.outside / "app.xml"), "precious");
  EXPECT_TRUE(fs::is_empty(s.outside / "icons"));
  for (const auto& e : fs::recursive_directory_iterator(s.site))
    EXPECT_FALSE(e.is_symlink()) << e.path();
  EXPECT_EQ(contents(s.site / "tour.flv"), contents(s.settings.videoPath));

  // The author's own files still follow their links, as saving always did.
  writeFile(s.outside / "project.pp", "old");
  fs::create_symlink(s.outside / "project.pp", s.temp.path() / "link.pp");
  ASSERT_FALSE(writeFileReplacing(s.temp.path() / "link.pp", "new"));
  EXPECT_EQ(contents(s.outside / "project.pp"), "new");
  EXPECT_TRUE(fs::is_symlink(s.temp.path() / "link.pp"));
}

TEST(PublishHardening, AVideoNamedLikeAPublishedFileIsRefusedUntouched) {
  for (const char* name : {"config.xml", "index.html", "qx_flash_hs.swf"}) {
    Site s;
    // In the output folder itself, or elsewhere under a name its copy would take.
    for (const fs::path& video : {s.site / name, s.temp.path() / name}) {
      writeFile(video, testvideos::flv());
      s.settings.videoPath = video.string();
      const PublishReport report = s.publish();
      ASSERT_FALSE(report.succeeded()) << name;
      EXPECT_NE(publishMessage(report).find(std::string("is named like ") + name),
                std::string::npos)
          << publishMessage(report);
      EXPECT_TRUE(report.written.empty());
      EXPECT_EQ(contents(video), testvideos::flv());
      fs::remove(video);
    }
  }
}

TEST(PublishHardening, OnlyRegularFilesAreCopiedAndNeverPastTheirStartSize) {
  TempFolder temp;
  const fs::path fifo = temp.path() / "pipe.flv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const fs::path& source : {fifo, fs::path("/dev/zero")}) {
    const auto error = copyFileReplacing(source, temp.path() / "copy.flv");
    ASSERT_TRUE(error) << source;
    EXPECT_EQ(error->reason, "is not a regular file");
  }
  // A file that claims no size (as /proc's do) copies as what it claimed.
  ASSERT_FALSE(copyFileReplacing("/proc/self/environ", temp.path() / "environ"));
  EXPECT_EQ(fs::file_size(temp.path() / "environ"), 0u);
  EXPECT_EQ(readFileBytes(fifo).error().reason, "is not a regular file");
  EXPECT_EQ(names(temp.path()), (std::vector<std::string>{"environ", "pipe.flv"}));
}

// The copy runs in a child, which a watcher thread signals once the part file shows: the child
// must end by that signal, and leave no part file.
TEST(PublishHardening, ASignalDuringTheCopyRemovesThePartFile) {
  TempFolder temp;
  const fs::path source = temp.path() / "big.flv";
  writeFile(source, "FLV");
  fs::resize_file(source, std::uintmax_t{1} << 30);  // sparse: the copy still writes 1 GiB
  const fs::path site = temp.path() / "site";
  fs::create_directories(site);
  for (const int signal : {SIGTERM, SIGINT}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::thread([&] {
        for (int i = 0; i < 20000; ++i) {
          for (const auto& e : fs::directory_iterator(site))
            if (e.path().filename().string().find(".qxpart-") != std::string::npos)
              ::kill(::getpid(), signal);
          std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
      }).detach();
      const auto error = copyFileReplacing(source, site / "big.flv");
      ::_exit(error ? 4 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "copied before a signal";
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signal);
    // The signal may land just after the rename: the whole copy may stay, never a part file.
    for (const auto& name : names(site)) {
      EXPECT_EQ(name.find(".qxpart-"), std::string::npos) << name;
      fs::remove(site / name);
    }
  }
}

TEST(PublishHardening, OnePublishAtATimePerFolder) {
  Site s;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const auto holdLock = [&](int milliseconds) {
    const pid_t child = ::fork();
    if (child == 0) {
      auto lock = FolderLock::acquire(s.site, std::chrono::milliseconds(0));
      char ok = lock ? 'y' : 'n';
      if (::write(ready[1], &ok, 1) != 1) ::_exit(2);
      std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
      ::_exit(0);
    }
    char ok = 0;
    EXPECT_EQ(::read(ready[0], &ok, 1), 1);
    EXPECT_EQ(ok, 'y');
    return child;
  };

  // Held briefly: the second run waits for it, then publishes.
  pid_t holder = holdLock(700);
  PublishReport report = s.publish();
  EXPECT_TRUE(report.succeeded()) << publishMessage(report);
  ::waitpid(holder, nullptr, 0);

  // Held on: the second run says who holds it, and writes nothing.
  fs::remove_all(s.site);
  fs::create_directories(s.site);
  holder = holdLock(6000);
  report = s.publish();
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  ASSERT_FALSE(report.succeeded());
  const std::string message = publishMessage(report);
  EXPECT_NE(message.find("another publish into this folder is running (process " +
                         std::to_string(holder) + ", core_tests)"),
            std::string::npos)
      << message;
  EXPECT_TRUE(report.written.empty());
  EXPECT_EQ(names(s.site), std::vector<std::string>{std::string(kFolderLockName)});
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST(PublishHardening, MessagesEscapeControlCharacters) {
  EXPECT_EQ(shownText("a\nPublishing succeeded\r\x1b[2J\x7f"),
            "a\\nPublishing succeeded\\r\\x1B[2J\\x7F");
  EXPECT_EQ(shownText("tour\xe2\x80\xae"
                      "vlf.exe \xc2\x85 caf\xc3\xa9 \xe2\x80\x94"),
            "tour\\u202Evlf.exe \\u0085 caf\xc3\xa9 \xe2\x80\x94");
  EXPECT_EQ(FileError({"/v/a\nb.flv", "gone"}).message(), "/v/a\\nb.flv: gone");
}
#endif
