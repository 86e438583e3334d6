#include "project/FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/FileSizeLimit.h"
#include "common/TempFolder.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path) {
  return readFileBytes(path).value();
}

std::vector<std::string> names(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

#ifndef _WIN32
// File modes, symbolic links and process numbers are POSIX matters.
TEST(FileIo, SavingKeepsModeAndLinksAndClearsStaleTemporaries) {
  TempFolder dir;
  const fs::path file = dir.path() / "private.pp";
  ASSERT_FALSE(writeFileReplacing(file, "old"));
  ASSERT_EQ(chmod(file.c_str(), 0600), 0);
  ASSERT_FALSE(writeFileReplacing(file, "new"));
  struct stat st {};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u) << "a private file became readable by others";

  // Through a link (relative, in another folder): the file it names changes, the link stays.
  fs::create_directory(dir.path() / "real");
  const fs::path real = dir.path() / "real" / "tour.pp";
  ASSERT_FALSE(writeFileReplacing(real, "first"));
  const fs::path link = dir.path() / "link.pp";
  fs::create_symlink("real/tour.pp", link);
  ASSERT_FALSE(writeFileReplacing(link, "second"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(real), "second");

  // A temporary file left by a run that was killed is removed by the next save of that file;
  // one of a process that still runs (this one) is not.
  const fs::path stale = dir.path() / ".private.pp.qxpart-999999999-1";
  const fs::path live = dir.path() / (".private.pp.qxpart-" + std::to_string(getpid()) + "-1");
  std::ofstream(stale) << "left over";
  std::ofstream(live) << "being written";
  ASSERT_FALSE(writeFileReplacing(file, "again"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));
}
#endif

TEST(FileIo, FailedWriteNamesItsCauseAndLeavesNothingBehind) {
  TempFolder dir;
  const fs::path source = dir.path() / "video.flv";
  std::ofstream(source, std::ios::binary) << std::string(300000, 'v');
  const fs::path target = dir.path() / "copy.flv";
  ASSERT_FALSE(writeFileReplacing(target, "earlier copy"));

  // A full disk, simulated by a file-size limit: the write fails with the limit's own error,
  // which the library copy turned into "Input/output error".
  if (!FileSizeLimit::kSupported) GTEST_SKIP() << "no per-process file-size limit here";
  std::optional<FileError> copyError, writeError;
  {
    const FileSizeLimit limit(100000);
    copyError = copyFileReplacing(source, target);
    writeError = writeFileReplacing(target, std::string(200000, 'w'));
  }

  ASSERT_TRUE(copyError);
  ASSERT_TRUE(writeError);
  EXPECT_EQ(copyError->reason, std::strerror(EFBIG));
  EXPECT_EQ(writeError->reason, std::strerror(EFBIG));
  EXPECT_EQ(contents(target), "earlier copy");
  EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"copy.flv", "video.flv"}));

  ASSERT_FALSE(copyFileReplacing(source, target));
  EXPECT_EQ(contents(target), contents(source));
}
