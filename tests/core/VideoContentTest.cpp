#include "media/VideoContent.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "common/TempFolder.h"
#include "common/TestVideos.h"

namespace {

namespace tv = testvideos;
using qx::media::Container;
using qx::media::readVideoContent;
using qx::media::VideoContent;

VideoContent read(const std::string& bytes, std::string_view name = "video") {
  std::istringstream in(bytes);
  return readVideoContent(in, bytes.size(), name);
}

TEST(VideoContent, FlvCodecsDecideWhatFlashPlays) {
  const VideoContent sorenson = read(tv::flv(2, 2));
  EXPECT_EQ(sorenson.container, Container::flv);
  EXPECT_EQ(sorenson.videoCodec, "sorenson");
  EXPECT_EQ(sorenson.audioCodec, "mp3");
  EXPECT_TRUE(sorenson.flashPlays) << sorenson.reason;
  EXPECT_TRUE(read(tv::flv(4, 6)).flashPlays);             // VP6, Nellymoser
  EXPECT_TRUE(read(tv::flv(7, 10)).flashPlays);            // H.264, AAC
  EXPECT_TRUE(read(tv::flv(3, std::nullopt)).flashPlays);  // screen video, silent

  const VideoContent alaw = read(tv::flv(7, 7));
  EXPECT_FALSE(alaw.flashPlays);
  EXPECT_EQ(alaw.audioCodec, "alaw");
  EXPECT_EQ(read(tv::flv(std::nullopt, 2)).reason, "It holds no video.");

  // An enhanced FLV names HEVC by four characters.
  std::string hevc = tv::flv(std::nullopt, 10);
  hevc += tv::flvTag(9, "\x90hvc1" + std::string(20, '\0'));
  const VideoContent h265 = read(hevc);
  EXPECT_EQ(h265.videoCodec, "hevc");
  EXPECT_FALSE(h265.flashPlays);
  EXPECT_NE(h265.reason.find("HEVC"), std::string::npos) << h265.reason;

  // Size from onMetaData; its codec ids speak where no tag in the head does.
  std::string meta = tv::flv(std::nullopt, std::nullopt);
  meta += tv::flvMetadata(3840, 1920, 12, 10);
  const VideoContent m = read(meta);
  EXPECT_EQ(m.width, 3840);
  EXPECT_EQ(m.height, 1920);
  EXPECT_EQ(m.videoCodec, "hevc");
  EXPECT_FALSE(m.flashPlays);
  std::string metaFirst = tv::flv(std::nullopt, std::nullopt) + tv::flvMetadata(640, 320, 12, 2);
  metaFirst += tv::flvTag(9, "\x17" + std::string(8, '\0'));  // the tag says H.264
  EXPECT_TRUE(read(metaFirst).flashPlays);
}

TEST(VideoContent, Mp4FamilyIsAnF4vOnlyByBrandOrName) {
  const VideoContent f4v = read(tv::mp4Video("f4v "));
  EXPECT_EQ(f4v.container, Container::f4v);
  EXPECT_EQ(f4v.videoCodec, "h264");
  EXPECT_EQ(f4v.audioCodec, "aac");
  EXPECT_EQ(f4v.width, 256);
  EXPECT_EQ(f4v.height, 128);
  EXPECT_TRUE(f4v.flashPlays) << f4v.reason;

  const VideoContent mp4 = read(tv::mp4Video("mp42"), "camera.mp4");
  EXPECT_EQ(mp4.container, Container::mp4Family);
  EXPECT_EQ(mp4.videoCodec, "h264");
  EXPECT_FALSE(mp4.flashPlays);
  EXPECT_NE(mp4.reason.find("not an F4V"), std::string::npos);
  EXPECT_NE(read(tv::mp4Video("qt  "), "a.mov").reason.find("MOV"), std::string::npos);

  // Named .f4v: an F4V, but HEVC in it still plays nowhere.
  EXPECT_TRUE(read(tv::mp4Video("isom"), "tour.F4V").flashPlays);
  const VideoContent hevc = read(tv::mp4Video("isom", "hvc1", 5760, 2880), "tour.f4v");
  EXPECT_EQ(hevc.container, Container::f4v);
  EXPECT_EQ(hevc.videoCodec, "hevc");
  EXPECT_EQ(hevc.width, 5760);
  EXPECT_FALSE(hevc.flashPlays);

  // MP3 sound is told from AAC by the esds object type; a track with no video is none.
  const std::string mp3 = tv::mp4("f4v ", tv::track("vide", tv::videoEntry("avc1", 64, 32)) +
                                              tv::track("soun", tv::mp4aEntry(0x6B)));
  EXPECT_EQ(read(mp3).audioCodec, "mp3");
  EXPECT_TRUE(read(mp3).flashPlays);
  const VideoContent soundOnly = read(tv::mp4("f4v ", tv::track("soun", tv::mp4aEntry())));
  EXPECT_TRUE(soundOnly.videoCodec.empty());
  EXPECT_FALSE(soundOnly.flashPlays);
}

TEST(VideoContent, OtherContainersAndNonVideosAreNamed) {
  EXPECT_EQ(read("\x1a\x45\xdf\xa3 webm V_VP9 A_OPUS").container, Container::matroska);
  EXPECT_EQ(read("\x1a\x45\xdf\xa3 webm V_VP9 A_OPUS").videoCodec, "vp9");
  EXPECT_EQ(read(std::string("RIFF\x10\0\0\0AVI LIST", 16) + std::string(20, '\0')).container,
            Container::otherVideo);
  std::string ts(188 * 3, '\xff');
  ts[0] = ts[188] = ts[376] = 0x47;
  EXPECT_EQ(read(ts).container, Container::otherVideo);
  EXPECT_EQ(read("#!/bin/sh\nHOME=/root\n").container, Container::notVideo);
  EXPECT_EQ(read(std::string("RIFF\x10\0\0\0WAVEfmt ", 16)).container, Container::notVideo);
}

// A stream that counts the bytes taken from it, through reads and seeks alike.
class CountingBuffer : public std::streambuf {
 public:
  explicit CountingBuffer(std::string bytes) : bytes_(std::move(bytes)) {}
  std::size_t taken = 0;

 protected:
  std::streamsize xsgetn(char* out, std::streamsize n) override {
    const auto count = std::min<std::streamsize>(n, bytes_.size() - at_);
    std::copy_n(bytes_.data() + at_, count, out);
    at_ += count, taken += count;
    return count;
  }
  int_type underflow() override { return at_ < bytes_.size() ? bytes_[at_] : traits_type::eof(); }
  int_type uflow() override {
    return at_ < bytes_.size() ? (++taken, traits_type::to_int_type(bytes_[at_++]))
                               : traits_type::eof();
  }
  pos_type seekoff(off_type off, std::ios::seekdir dir, std::ios::openmode) override {
    const off_type base = dir == std::ios::beg ? 0 : dir == std::ios::cur ? at_ : bytes_.size();
    return seekpos(base + off, std::ios::in);
  }
  pos_type seekpos(pos_type pos, std::ios::openmode) override {
    if (pos < 0 || static_cast<std::size_t>(pos) > bytes_.size()) return pos_type(off_type(-1));
    at_ = static_cast<std::size_t>(pos);
    return pos;
  }

 private:
  std::string bytes_;
  std::size_t at_ = 0;
};

TEST(VideoContent, ReadsAFewHundredKibWhateverTheFileHolds) {
  // 400,000 empty boxes in the movie box and 100,000 tracks of one box each, 8 MB in all.
  const std::string freeBox = tv::box("free", ""), trakBox = tv::box("trak", "");
  std::string filler;
  for (int i = 0; i < 400000; ++i) filler += freeBox;
  for (int i = 0; i < 100000; ++i) filler += trakBox;
  const std::string file = tv::box("ftyp", "f4v \0\0\0\0") + tv::box("moov", filler) +
                           tv::track("vide", tv::videoEntry("avc1", 64, 32));
  CountingBuffer buffer(file);
  std::istream in(&buffer);
  const VideoContent c = readVideoContent(in, file.size(), "x.f4v");
  EXPECT_EQ(c.container, Container::f4v);
  EXPECT_LT(buffer.taken, 300u * 1024) << "bytes read from an 8 MB file";

  // An FLV of a million tiny tags: only the head is looked at.
  std::string tags = tv::flv(std::nullopt, std::nullopt);
  const std::string emptyTag = tv::flvTag(18, "");
  for (int i = 0; i < 1000000 / 16; ++i) tags += emptyTag;
  CountingBuffer flvBuffer(tags + tv::flvTag(9, "\x12"));
  std::istream flvIn(&flvBuffer);
  EXPECT_FALSE(readVideoContent(flvIn, tags.size() + 16, "x.flv").flashPlays);
  EXPECT_LT(flvBuffer.taken, 300u * 1024);
}

TEST(VideoContent, SpecialEmptyAndMissingFilesAreNoVideos) {
  TempFolder temp;
  const auto fifo = temp.path() / "pipe.flv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Opening the pipe would wait for a writer for ever.
  EXPECT_EQ(readVideoContent(fifo).container, Container::notVideo);
  EXPECT_EQ(readVideoContent("/dev/zero").container, Container::notVideo);
  EXPECT_EQ(readVideoContent(temp.path()).container, Container::notVideo);
  EXPECT_EQ(readVideoContent("/proc/self/environ").container, Container::notVideo);
  EXPECT_EQ(readVideoContent(temp.path() / "missing.flv").container, Container::unreadable);
  std::ofstream(temp.path() / "empty.flv").close();
  EXPECT_EQ(readVideoContent(temp.path() / "empty.flv").reason, "The file is empty.");

  std::ofstream(temp.path() / "tour.flv", std::ios::binary) << tv::flv(4, 2);
  EXPECT_TRUE(readVideoContent(temp.path() / "tour.flv").flashPlays);
  if (::geteuid() != 0) {
    ::chmod((temp.path() / "tour.flv").c_str(), 0);
    EXPECT_EQ(readVideoContent(temp.path() / "tour.flv").container, Container::unreadable);
  }
}

}  // namespace
