// The F4V to FLV remux, read back by ffprobe and compared with ffmpeg's own stream copy of the
// same file; and F4Vs whose tables lie.
#include <gtest/gtest.h>

#include <fstream>

#include "common/Environment.h"
#include "common/RunProgram.h"
#include "common/TempFolder.h"
#include "common/TestMedia.h"
#include "media/F4vToFlv.h"
#include "media/Mp4Box.h"
#include "project/ProjectFile.h"

namespace fs = std::filesystem;
using testmedia::quoted;
using testmedia::run;

namespace {

// Every packet: stream, times, flags, size and a checksum of its bytes.
std::string packets(const fs::path& file) {
  return run(
      "ffprobe -v error -show_entries packet=stream_index,pts,dts,flags,size,data_hash "
      "-show_data_hash CRC32 -of csv=p=0 " +
      quoted(file));
}

std::string streams(const fs::path& file) {
  return run(
      "ffprobe -v error -show_entries stream=codec_name,profile,width,height,sample_rate,"
      "channels,extradata_hash -show_data_hash CRC32 -of csv=p=0 " +
      quoted(file));
}

// A small F4V with B-frames (so composition offsets) and AAC after two keyframes a second.
fs::path makeF4v(const fs::path& folder) {
  const fs::path f4v = folder / "clip.f4v";
  EXPECT_TRUE(testmedia::makeVideo(
      f4v, "-c:v libx264 -preset ultrafast -bf 2 -g 12 -pix_fmt yuv420p -c:a aac -b:a 48k", "f4v",
      1, "256x128"));
  return f4v;
}

struct Patch {
  std::uint64_t offset;
  std::string bytes;
};

// A copy of `from` with the patches' bytes written over it.
fs::path patched(const fs::path& from, const fs::path& to, const std::vector<Patch>& patches) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  std::fstream f(to, std::ios::in | std::ios::out | std::ios::binary);
  for (const Patch& p : patches) {
    f.seekp(static_cast<std::streamoff>(p.offset));
    f.write(p.bytes.data(), static_cast<std::streamsize>(p.bytes.size()));
  }
  return to;
}

std::string be32(std::uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// The body of the first box at `path` in the video track (the first trak).
std::uint64_t videoBox(const fs::path& f4v, std::initializer_list<std::string_view> path) {
  std::ifstream in(f4v, std::ios::binary);
  const auto box = qx::media::findPath(in, 0, fs::file_size(f4v), path);
  EXPECT_TRUE(box);
  return box ? box->body : 0;
}

}  // namespace

TEST(Remux, F4vBecomesTheFlvFfmpegMakesOfIt) {
  TempFolder temp;
  const fs::path f4v = makeF4v(temp.path());
  const fs::path flv = temp.path() / "clip.f4v.flv", reference = temp.path() / "reference.flv";
  ASSERT_EQ(std::system(("ffmpeg -hide_banner -loglevel error -y -i " + quoted(f4v) +
                         " -c copy -f flv " + quoted(reference))
                            .c_str()),
            0);
  std::vector<double> progress;
  ASSERT_FALSE(qx::media::remuxF4vToFlv(f4v, flv, [&](double f) {
    progress.push_back(f);
    return true;
  }));
  const std::string ours = packets(flv);
  EXPECT_GT(std::count(ours.begin(), ours.end(), '\n'), 60) << ours;  // 25 pictures, 44 frames
  EXPECT_NE(ours.find(",K_"), std::string::npos);
  EXPECT_EQ(ours, packets(reference));
  EXPECT_EQ(streams(flv), streams(reference));
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 1.0);

  // What a player sets the video up from, read by ffprobe from onMetaData.
  const std::string meta =
      run("ffprobe -v error -show_entries stream=avg_frame_rate:format="
          "duration -of csv=p=0 " +
          quoted(flv));
  EXPECT_NE(meta.find("25/1"), std::string::npos) << meta;
  EXPECT_NE(meta.find("1.0"), std::string::npos) << meta;

  // Stopped half way: nothing new is left, the earlier FLV stays whole.
  EXPECT_TRUE(qx::media::remuxF4vToFlv(f4v, flv, [](double) { return false; }));
  EXPECT_EQ(packets(flv), ours);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(temp.path())) ++entries;
  EXPECT_EQ(entries, 3);
}

// Tables that claim more than the file holds are refused before anything is allocated for them,
// and a refused remux leaves no file.
TEST(Remux, LyingTablesAreRefused) {
  TempFolder temp;
  const fs::path f4v = makeF4v(temp.path());
  const fs::path out = temp.path() / "out.flv";
  const auto stsz = videoBox(f4v, {"moov", "trak", "mdia", "minf", "stbl", "stsz"});
  const auto stco = videoBox(f4v, {"moov", "trak", "mdia", "minf", "stbl", "stco"});
  const auto stsc = videoBox(f4v, {"moov", "trak", "mdia", "minf", "stbl", "stsc"});
  const auto nearlyAll = static_cast<std::uint32_t>(fs::file_size(f4v) - 16);
  const std::string three = be32(nearlyAll) + be32(nearlyAll) + be32(nearlyAll);
  const struct {
    const char* name;
    std::vector<Patch> patches;
    const char* reason;
  } cases[] = {
      {"four billion sizes in a small box", {{stsz + 8, be32(0xffffffff)}}, "more entries"},
      {"four billion one-byte samples", {{stsz + 4, be32(1) + be32(0xffffffff)}}, "more bytes"},
      {"a chunk past the end", {{stco + 8, be32(0x7fffffff)}}, "outside the file"},
      // Three samples of nearly the whole file, one a chunk: each lies inside the file, but
      // together they would write the file three times over (a full disk from a small file).
      {"samples overlapping",
       {{stsc + 4, be32(1) + be32(1) + be32(1) + be32(1)},
        {stco + 8, be32(8) + be32(8) + be32(8)},
        {stsz + 12, three}},
       "overlap"},
  };
  for (const auto& c : cases) {
    const fs::path bad = patched(f4v, temp.path() / "bad.f4v", c.patches);
    const auto error = qx::media::remuxF4vToFlv(bad, out);
    ASSERT_TRUE(error) << c.name;
    EXPECT_NE(error->reason.find(c.reason), std::string::npos) << c.name << ": " << error->reason;
    EXPECT_FALSE(fs::exists(out)) << c.name;
  }
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(temp.path())) ++entries;
  EXPECT_EQ(entries, 2) << "a temporary file was left behind";

  // Not an F4V at all.
  std::ofstream(temp.path() / "text.f4v") << "hello";
  const auto text = qx::media::remuxF4vToFlv(temp.path() / "text.f4v", out);
  ASSERT_TRUE(text);
  EXPECT_NE(text->message().find("cannot be made an FLV"), std::string::npos);
}

// Published for today's web, an F4V gets its FLV beside the copy; a plain publish writes none.
TEST(Remux, PublishWithRuffleWritesTheFlvBesideAnF4v) {
  TempFolder temp;
  const fs::path f4v = makeF4v(temp.path());
  qx::ProjectSettings settings;
  settings.videoPath = "clip.f4v";
  ASSERT_FALSE(qx::saveProjectFile(temp.path() / "tour.pp", settings, {}));
  const fs::path ruffle = temp.path() / "ruffle-package";
  fs::create_directories(ruffle);
  std::ofstream(ruffle / "ruffle.js") << "//";
  const fs::path site = temp.path() / "site";
  const std::string project = (temp.path() / "tour.pp").string();

  RunResult r = runProgram(QX_CLI, {"publish", project, (site / "plain.html").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(fs::exists(site / "clip.f4v.flv"));

  setEnvironment("QX_RUFFLE_DIR", ruffle.string());
  r = runProgram(QX_CLI, {"publish", project, (site / "index.html").string(), "--with-ruffle"});
  unsetEnvironment("QX_RUFFLE_DIR");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("wrote " + (site / "clip.f4v.flv").string() + "\n"), std::string::npos)
      << r.out;
  const fs::path direct = temp.path() / "direct.flv";
  ASSERT_FALSE(qx::media::remuxF4vToFlv(f4v, direct));
  EXPECT_EQ(packets(site / "clip.f4v.flv"), packets(direct));
}
