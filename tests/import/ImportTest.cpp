// The import through the real program: camera-like videos are made with the ffmpeg command from
// an equirectangular pattern whose directions are known (a red band forward, a green one to the
// right, a blue cap above), turned into each camera's projection, and the imported FLV is
// checked by its pixels: forward at the centre, right at three quarters of the width, up at the
// top.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <thread>

#include "common/RunProgram.h"
#include "SphericalFixture.h"
#include "common/TestMedia.h"

namespace {

namespace fs = std::filesystem;
using testmedia::quoted;

// 256 x 128, ten frames: gray, the forward band, the right band, the cap above.
const std::string kPattern =
    "color=c=gray:s=256x128:r=25,"
    "drawbox=x=104:y=32:w=48:h=64:c=red:t=fill,"
    "drawbox=x=168:y=32:w=48:h=64:c=lime:t=fill,"
    "drawbox=x=0:y=0:w=256:h=20:c=blue:t=fill";

// A video of the pattern through `filter` ("" for none; [p] is the pattern, [v] the result).
bool makeSource(const fs::path& path, const std::string& filter, const std::string& codecs) {
  const std::string graph = "[0]null[p];" + (filter.empty() ? "[p]null[v]" : filter);
  const std::string command = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i '" + kPattern +
                              "' -f lavfi -i sine=frequency=440:sample_rate=48000 -t 0.4 "
                              "-filter_complex '" +
                              graph + "' -map '[v]' -map 1:a " + codecs + " " + quoted(path);
  return std::system(command.c_str()) == 0;
}

const std::string kH264 = "-c:v libx264 -pix_fmt yuv420p -c:a aac -f mp4";

struct Picture {
  int width = 0, height = 0;
  std::string rgb;
  std::array<int, 3> at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
            static_cast<unsigned char>(rgb[i + 2])};
  }
};

Picture firstFrame(const fs::path& video) {
  Picture p;
  const std::string size = testmedia::run(
      "ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 " +
      quoted(video));
  std::sscanf(size.c_str(), "%d,%d", &p.width, &p.height);
  p.rgb = testmedia::run("ffmpeg -v error -i " + quoted(video) +
                         " -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
  return p;
}

// Which of the pattern's colours a pixel is: 'r', 'g', 'b', 'k' for black, or '.' for the gray
// or anything else.
char colour(const std::array<int, 3>& c) {
  const auto strong = [](int v) { return v > 170; };
  const auto weak = [](int v) { return v < 90; };
  if (c[0] < 40 && c[1] < 40 && c[2] < 40) return 'k';
  if (strong(c[0]) && weak(c[1]) && weak(c[2])) return 'r';
  if (weak(c[0]) && strong(c[1]) && weak(c[2])) return 'g';
  if (weak(c[0]) && weak(c[1]) && strong(c[2])) return 'b';
  return '.';
}

// Forward, right, up, left and down of an equirectangular frame.
std::string directions(const Picture& p) {
  return {colour(p.at(p.width / 2, p.height / 2)), colour(p.at(p.width * 3 / 4, p.height / 2)),
          colour(p.at(p.width / 2, 2)), colour(p.at(p.width / 4, p.height / 2)),
          colour(p.at(p.width / 2, p.height - 3))};
}

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

RunResult import(const std::vector<std::string>& args) {
  return runProgram(QX_IMPORT, args);
}

struct Camera {
  std::string name;
  std::string filter;    // from [p] to [v]
  std::string metadata;  // "", "v1:<xml>", "v2-equi:<stereo>", "v2-cbmp"
  std::string option;    // --projection value, or ""
  std::string probe;     // expected probe lines
};

// The other eye shows the pattern mirrored: taking the wrong one puts green on the left.
const std::vector<Camera> kCameras = {
    {"eac-by-option", "[p]v360=e:eac:w=384:h=256[v]", "", "eac",
     "projection=unknown\nprojection_from=none\nstereo=mono\n"},
    {"eac-v2-cbmp", "[p]v360=e:eac:w=384:h=256[v]", "v2-cbmp", "",
     "projection=eac\nprojection_from=metadata\nstereo=mono\n"},
    {"dual-fisheye", "[p]v360=input=e:output=dfisheye:h_fov=190:v_fov=190:w=256:h=128[v]", "",
     "dual-fisheye", "projection=equirect\nprojection_from=aspect\nstereo=mono\n"},
    {"insv", "[p]v360=input=e:output=dfisheye:h_fov=190:v_fov=190:w=256:h=128[v]", "", "",
     "projection=dual-fisheye\nprojection_from=layout\nstereo=mono\n"},
    {"top-bottom-v2", "[p]split[a][b];[b]hflip[m];[a][m]vstack[v]", "v2-equi:1", "",
     "projection=equirect\nprojection_from=metadata\nstereo=top-bottom\n"},
    {"left-right-v1", "[p]split[a][b];[b]hflip[m];[a][m]hstack[v]",
     "v1:<GSpherical:StereoMode>left-right</GSpherical:StereoMode>", "",
     "projection=equirect\nprojection_from=metadata\nstereo=left-right\n"},
    // The frames hold only the top three quarters of the sphere; the rest becomes black.
    {"cropped-v1", "[p]crop=256:96:0:0[v]",
     "v1:<GSpherical:CroppedAreaImageWidthPixels>256</GSpherical:CroppedAreaImageWidthPixels>"
     "<GSpherical:CroppedAreaImageHeightPixels>96</GSpherical:CroppedAreaImageHeightPixels>"
     "<GSpherical:FullPanoWidthPixels>256</GSpherical:FullPanoWidthPixels>"
     "<GSpherical:FullPanoHeightPixels>128</GSpherical:FullPanoHeightPixels>"
     "<GSpherical:CroppedAreaLeftPixels>0</GSpherical:CroppedAreaLeftPixels>"
     "<GSpherical:CroppedAreaTopPixels>0</GSpherical:CroppedAreaTopPixels>",
     "", "projection=equirect\nprojection_from=metadata\nstereo=mono\n"},
    {"cropped-v2", "[p]crop=256:96:0:0[v]", "v2-equi-bottom-quarter", "",
     "projection=equirect\nprojection_from=metadata\nstereo=mono\n"},
};

void addMetadata(const fs::path& file, const std::string& metadata) {
  if (metadata.rfind("v1:", 0) == 0) fixture::writeV1(file, metadata.substr(3));
  if (metadata.rfind("v2-equi:", 0) == 0)
    fixture::writeV2(file, false, std::stoi(metadata.substr(8)));
  if (metadata == "v2-cbmp") fixture::writeV2(file, true, 0);
  if (metadata == "v2-equi-bottom-quarter") fixture::writeV2(file, false, 0, 0x40000000u);
}

std::string probeLines(const RunResult& r) {
  const std::size_t from = r.out.find("projection=");
  const std::size_t to = r.out.find("copy=");
  return from == std::string::npos || to == std::string::npos ? r.out
                                                              : r.out.substr(from, to - from);
}

TEST(Import, EveryProjectionAndStereoModeFacesAsTheCameraFaced) {
  for (const Camera& camera : kCameras) {
    SCOPED_TRACE(camera.name);
    TempFolder folder;
    const fs::path source = folder.path() / (camera.name == "insv" ? "camera.insv" : "camera.mp4");
    const fs::path target = folder.path() / "out.flv";
    ASSERT_TRUE(makeSource(source, camera.filter, kH264));
    addMetadata(source, camera.metadata);
    const RunResult probe = import({"--probe", source.string()});
    ASSERT_EQ(probe.exitCode, 0) << probe.err;
    EXPECT_EQ(probeLines(probe), camera.probe);

    std::vector<std::string> args{source.string(), target.string()};
    if (!camera.option.empty()) args.insert(args.end(), {"--projection", camera.option});
    const RunResult r = import(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("left eye") != std::string::npos,
              camera.probe.find("stereo=mono") == std::string::npos)
        << r.err;
    const Picture p = firstFrame(target);
    EXPECT_EQ(p.width, 2 * p.height);
    EXPECT_EQ(directions(p), camera.name.rfind("cropped", 0) == 0 ? "rgb.k" : "rgb..");
    EXPECT_EQ(testmedia::streamCodecs(target), "h264\naac\n");
  }
}

// GoPro's .360: two streams, each a strip of three cube faces; the outer faces carry the band
// where the lenses overlap (here 8 pixels) in their middle.
TEST(Import, GoproLayoutIsFoundByItsTwoStreams) {
  TempFolder folder;
  const fs::path source = folder.path() / "GS010001.360", target = folder.path() / "out.flv";
  const auto strip = [](const std::string& in, const std::string& out) {
    return in + "split=7[" + out + "0][" + out + "1][" + out + "2][" + out + "3][" + out + "4][" +
           out + "5][" + out + "6];[" + out + "0]crop=64:128:0:0[" + out + "a];[" + out +
           "1]crop=8:128:60:0[" + out + "b];[" + out + "2]crop=64:128:64:0[" + out + "c];[" + out +
           "3]crop=128:128:128:0[" + out + "d];[" + out + "4]crop=64:128:256:0[" + out + "e];[" +
           out + "5]crop=8:128:316:0[" + out + "f];[" + out + "6]crop=64:128:320:0[" + out +
           "g];[" + out + "a][" + out + "b][" + out + "c][" + out + "d][" + out + "e][" + out +
           "f][" + out + "g]hstack=inputs=7[" + out + "]";
  };
  const std::string graph =
      "[0]v360=e:eac:w=384:h=256,split[t][b];[t]crop=384:128:0:0[top];"
      "[b]crop=384:128:0:128[bottom];" +
      strip("[top]", "s") + ";" + strip("[bottom]", "u");
  const std::string command = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i '" + kPattern +
                              "' -t 0.4 -filter_complex '" + graph +
                              "' -map '[s]' -map '[u]' -c:v libx264 -pix_fmt yuv420p -f mp4 " +
                              quoted(source);
  ASSERT_EQ(std::system(command.c_str()), 0);
  const RunResult probe = import({"--probe", source.string()});
  EXPECT_EQ(probeLines(probe), "projection=gopro-360\nprojection_from=layout\nstereo=mono\n");
  const RunResult r = import({source.string(), target.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(directions(firstFrame(target)), "rgb..");
}

// An H.264 equirectangular video is copied packet for packet, and what Ruffle needs from the
// FLV's onMetaData is there; a wider or H.265 one is encoded down to the width asked for.
TEST(Import, CopiesWhatThePagePlaysAndEncodesTheRest) {
  TempFolder folder;
  const fs::path source = folder.path() / "plain.mp4", target = folder.path() / "plain.flv";
  ASSERT_TRUE(makeSource(source, "", kH264));
  const RunResult probe = import({"--probe", source.string()});
  EXPECT_EQ(probe.out,
            "container=mp4\nvideo_codec=h264\nwidth=256\nheight=128\nduration=0.400\n"
            "audio_codec=aac\nprojection=equirect\nprojection_from=aspect\nstereo=mono\n"
            "copy=yes\n");
  const RunResult r = import({source.string(), target.string(), "--progress-lines"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(testmedia::videoPacketHashes(target), testmedia::videoPacketHashes(source));
  ASSERT_GE(r.out.size(), 19u);
  EXPECT_EQ(r.out.substr(r.out.size() - 17), "progress 1.000 0\n");
  std::string header(1024, '\0');
  std::ifstream(target, std::ios::binary).read(header.data(), 1024);
  for (const char* key : {"duration", "width", "height", "videocodecid", "framerate"})
    EXPECT_NE(header.find(key), std::string::npos) << key;

  const fs::path wide = folder.path() / "wide.mkv", narrowed = folder.path() / "wide.flv";
  ASSERT_TRUE(makeSource(wide, "[p]scale=1280:640[v]",
                         "-c:v libx265 -x265-params log-level=none "
                         "-c:a libopus"));
  const RunResult w = import({wide.string(), narrowed.string(), "--width", "1024"});
  ASSERT_EQ(w.exitCode, 0) << w.err;
  const Picture p = firstFrame(narrowed);
  EXPECT_EQ(p.width, 1024);
  EXPECT_EQ(p.height, 512);
  EXPECT_EQ(directions(p), "rgb..");
  EXPECT_EQ(testmedia::streamCodecs(narrowed), "h264\naac\n");
}

TEST(Import, RefusesWhatItCannotTakeAndLeavesNothing) {
  TempFolder folder;
  const fs::path text = folder.path() / "notes.mp4", sound = folder.path() / "sound.m4a",
                 odd = folder.path() / "odd.mp4";
  std::ofstream(text) << "this is no video\n";
  ASSERT_EQ(
      std::system(
          ("ffmpeg -hide_banner -loglevel error -f lavfi -i sine -t 0.2 " + quoted(sound)).c_str()),
      0);
  ASSERT_TRUE(makeSource(odd, "[p]scale=240:160[v]", kH264));
  const std::vector<std::string> before = filesIn(folder.path());
  const auto out = (folder.path() / "out.flv").string();

  for (const fs::path& bad : {text, sound}) {
    const RunResult r = import({bad.string(), out});
    EXPECT_EQ(r.exitCode, 1) << bad;
    EXPECT_EQ(import({"--probe", bad.string()}).exitCode, 1) << bad;
  }
  EXPECT_NE(import({sound.string(), out}).err.find("no video stream"), std::string::npos);
  // The projection of a 3:2 picture without metadata is asked for, with the choices named.
  const RunResult unknown = import({odd.string(), out});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("--projection equirect, eac, dual-fisheye, gopro-360"),
            std::string::npos)
      << unknown.err;
  for (const std::vector<std::string>& args : {std::vector<std::string>{odd.string()},
                                               {odd.string(), out, "--width", "800"},
                                               {odd.string(), out, "--projection", "cylinder"},
                                               {odd.string(), out, "--fov", "x"}})
    EXPECT_EQ(import(args).exitCode, 2) << args.back();
  // The CLI hands the command to the import program and gives back its status.
  const RunResult cli = runProgram(QX_CLI, {"import", text.string(), out});
  EXPECT_EQ(cli.exitCode, 1);
  EXPECT_NE(cli.err.find("qx_flash_hs-import: "), std::string::npos) << cli.err;
  EXPECT_EQ(filesIn(folder.path()), before);
}

// SIGTERM in the middle of an import: the program stops, says so, and leaves no file.
TEST(Import, StoppedMidwayLeavesNothing) {
  TempFolder folder;
  const fs::path source = folder.path() / "long.mp4";
  const std::string command =
      "ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=s=1024x512:r=25 -t 20 "
      "-c:v libx264 -preset ultrafast " +
      quoted(source);
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::vector<std::string> before = filesIn(folder.path());
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const std::string target = (folder.path() / "out.flv").string();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    execl(QX_IMPORT, QX_IMPORT, source.c_str(), target.c_str(), "--projection", "eac",
          "--progress-lines", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  // The first progress line means the FLV is being written.
  std::string seen;
  char c;
  while (seen.find("progress 0.0") == std::string::npos && read(out[0], &c, 1) == 1) seen += c;
  kill(pid, SIGTERM);
  while (read(out[0], &c, 1) == 1) seen += c;
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << seen;
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(seen.find("progress 1.000"), std::string::npos);
  EXPECT_EQ(filesIn(folder.path()), before);
}

}  // namespace
