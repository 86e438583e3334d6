#include "media/VideoContent.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "media/EsDescriptor.h"
#include "media/Mp4Box.h"

namespace qx::media {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// An FLV's header, its onMetaData and its first audio and video tags lie in its first few KiB;
// a file that holds no video tag there is not taken as a video.
constexpr std::uint64_t kHeadSize = 128 * 1024;
constexpr int kMaxFlvTags = 256;
// A real MP4 holds a handful of tracks and a dozen boxes at each level; the walk reads headers
// only, so these counts bound what a hostile file costs.
constexpr std::size_t kMaxTopBoxes = 64;
constexpr std::size_t kMaxChildBoxes = 64;
constexpr std::size_t kMaxTracks = 16;

std::string lowerCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  });
  return out;
}

// A four-character code as text, with anything unprintable shown as '?'.
std::string fourccText(const std::uint8_t* p) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += (p[i] >= 0x20 && p[i] < 0x7f) ? char(p[i]) : '?';
  return out;
}

std::uint64_t bigEndian(const std::uint8_t* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
  return v;
}

VideoContent refused(Container container, std::string reason) {
  VideoContent c;
  c.container = container;
  c.reason = std::move(reason);
  return c;
}

Bytes readHead(std::istream& in, std::uint64_t size) {
  Bytes head(static_cast<std::size_t>(std::min(size, kHeadSize)));
  in.clear();
  in.seekg(0);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return head;
}

// ---- Codecs: names, and whether a Flash Player plays them ----

struct Codec {
  std::string name;
  bool flashPlays = false;
};

Codec flvVideoCodec(std::uint8_t id) {
  switch (id) {
    case 2:
      return {"sorenson", true};
    case 3:
      return {"screen", true};
    case 4:
      return {"vp6", true};
    case 5:
      return {"vp6a", true};
    case 6:
      return {"screen2", true};
    case 7:
      return {"h264", true};
    case 1:
      return {"jpeg", false};
    case 12:
      return {"hevc", false};
    case 13:
      return {"av1", false};
    default:
      return {"FLV video codec " + std::to_string(id), false};
  }
}

Codec flvAudioCodec(std::uint8_t format) {
  switch (format) {
    case 0:
    case 3:
      return {"pcm", true};
    case 1:
      return {"adpcm", true};
    case 2:
    case 14:
      return {"mp3", true};
    case 4:
    case 5:
    case 6:
      return {"nellymoser", true};
    case 10:
      return {"aac", true};
    case 11:
      return {"speex", true};
    case 7:
      return {"alaw", false};
    case 8:
      return {"mulaw", false};
    default:
      return {"FLV sound format " + std::to_string(format), false};
  }
}

// The codecs of the enhanced FLV's four-character codes: none of them is played by Flash.
std::string fourccCodec(std::string_view fourcc) {
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"avc1", "h264"},   {"avc3", "h264"},   {"hvc1", "hevc"},   {"hev1", "hevc"},
      {"av01", "av1"},    {"vp09", "vp9"},    {"vp08", "vp8"},    {"mp4v", "mpeg4"},
      {"apch", "prores"}, {"apcn", "prores"}, {"apcs", "prores"}, {"apco", "prores"},
      {"ap4h", "prores"}, {"ap4x", "prores"}, {"jpeg", "mjpeg"},  {"mjpa", "mjpeg"},
      {"s263", "h263"},   {"h263", "h263"},   {"mp4a", "aac"},    {".mp3", "mp3"},
      {"ac-3", "ac3"},    {"ec-3", "eac3"},   {"Opus", "opus"},   {"fLaC", "flac"},
      {"alac", "alac"},   {"lpcm", "pcm"},    {"sowt", "pcm"},    {"twos", "pcm"},
      {"ipcm", "pcm"},    {"samr", "amr"},    {"dvh1", "hevc"},   {"dvhe", "hevc"}};
  for (const auto& [code, name] : kNames)
    if (code == fourcc) return std::string(name);
  return lowerCase(fourcc);
}

std::string shownCodec(const std::string& name) {
  static constexpr std::pair<std::string_view, std::string_view> kShown[] = {
      {"h264", "H.264"}, {"hevc", "H.265 (HEVC)"}, {"av1", "AV1"},     {"vp9", "VP9"},
      {"vp8", "VP8"},    {"prores", "ProRes"},     {"aac", "AAC"},     {"mp3", "MP3"},
      {"opus", "Opus"},  {"ac3", "AC-3"},          {"eac3", "E-AC-3"}, {"mpeg4", "MPEG-4 Part 2"}};
  for (const auto& [code, shown] : kShown)
    if (code == name) return std::string(shown);
  return name;
}

// Fills flashPlays and reason from the codecs found, for a container the Flash Player reads.
void judgeCodecs(VideoContent& c, const std::optional<Codec>& video,
                 const std::optional<Codec>& audio) {
  if (!video) {
    c.reason = "It holds no video.";
    return;
  }
  if (!video->flashPlays) {
    c.reason = "Its video is " + shownCodec(video->name) + ", which no Flash runtime plays.";
    return;
  }
  if (audio && !audio->flashPlays) {
    c.reason = "Its sound is " + shownCodec(audio->name) + ", which no Flash runtime plays.";
    return;
  }
  c.flashPlays = true;
}

// ---- FLV ----

// A bounded reader of AMF0, enough to find onMetaData's numbers.
class Amf0 {
 public:
  Amf0(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
  bool atEnd() const { return at_ >= n_; }
  std::optional<std::uint8_t> byte() {
    if (at_ >= n_) return std::nullopt;
    return p_[at_++];
  }
  std::optional<std::string> shortString() {
    if (n_ - at_ < 2) return fail();
    const std::size_t len = static_cast<std::size_t>(bigEndian(p_ + at_, 2));
    at_ += 2;
    if (n_ - at_ < len) return fail();
    std::string s(reinterpret_cast<const char*>(p_ + at_), len);
    at_ += len;
    return s;
  }
  // A value: its number when it is one (or a string naming a codec), else skipped.
  struct Value {
    std::optional<double> number;
    std::optional<std::string> text;
  };
  std::optional<Value> value(int depth = 0) {
    const auto type = byte();
    if (!type || depth > 16) return std::nullopt;
    Value v;
    switch (*type) {
      case 0x00: {  // number
        if (n_ - at_ < 8) return std::nullopt;
        const std::uint64_t bits = bigEndian(p_ + at_, 8);
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        v.number = d;
        at_ += 8;
        return v;
      }
      case 0x01:
        return skip(1) ? std::optional(v) : std::nullopt;  // boolean
      case 0x02: {                                         // string
        auto s = shortString();
        if (!s) return std::nullopt;
        v.text = std::move(s);
        return v;
      }
      case 0x03:  // object
        return properties(depth, nullptr) ? std::optional(v) : std::nullopt;
      case 0x05:
      case 0x06:
        return v;  // null, undefined
      case 0x07:
        return skip(2) ? std::optional(v) : std::nullopt;  // reference
      case 0x08:                                           // ECMA array
        return skip(4) && properties(depth, nullptr) ? std::optional(v) : std::nullopt;
      case 0x0A: {  // strict array
        if (n_ - at_ < 4) return std::nullopt;
        const std::uint64_t count = bigEndian(p_ + at_, 4);
        at_ += 4;
        for (std::uint64_t i = 0; i < count; ++i)
          if (!value(depth + 1)) return std::nullopt;  // each value takes a byte: bounded
        return v;
      }
      case 0x0B:
        return skip(10) ? std::optional(v) : std::nullopt;  // date
      case 0x0C: {                                          // long string
        if (n_ - at_ < 4) return std::nullopt;
        const std::uint64_t len = bigEndian(p_ + at_, 4);
        at_ += 4;
        return skip(len) ? std::optional(v) : std::nullopt;
      }
      default:
        return std::nullopt;
    }
  }
  // Name/value pairs up to the end marker; `seen` is told each top-level pair.
  template <class Seen>
  bool properties(int depth, Seen* seen) {
    while (!atEnd()) {
      const auto name = shortString();
      if (!name) return false;
      if (name->empty() && at_ < n_ && p_[at_] == 0x09) {
        ++at_;
        return true;
      }
      const auto v = value(depth + 1);
      if (!v) return false;
      if (seen) (*seen)(*name, *v);
    }
    return true;  // cut off by the tag's end: what was read stands
  }
  bool properties(int depth, std::nullptr_t) {
    auto none = [](const std::string&, const Value&) {};
    return properties(depth, &none);
  }

  bool skip(std::uint64_t count) {
    if (n_ - at_ < count) return false;
    at_ += static_cast<std::size_t>(count);
    return true;
  }

 private:
  std::nullopt_t fail() {
    at_ = n_;
    return std::nullopt;
  }
  const std::uint8_t* p_;
  std::size_t n_;
  std::size_t at_ = 0;
};

struct FlvMetadata {
  std::optional<Codec> video, audio;
  int width = 0, height = 0;
};

FlvMetadata readOnMetaData(const std::uint8_t* p, std::size_t n) {
  FlvMetadata meta;
  Amf0 amf(p, n);
  const auto first = amf.value();
  if (!first || first->text != "onMetaData") return meta;
  const auto type = amf.byte();
  if (!type || (*type != 0x08 && *type != 0x03)) return meta;
  if (*type == 0x08 && !amf.skip(4)) return meta;  // the array's count, not trusted
  auto seen = [&](const std::string& name, const Amf0::Value& v) {
    const auto whole = [&](double max) -> std::optional<int> {
      if (!v.number || !(*v.number >= 0 && *v.number <= max)) return std::nullopt;
      return static_cast<int>(*v.number);
    };
    if (name == "width" && whole(65535)) meta.width = *whole(65535);
    if (name == "height" && whole(65535)) meta.height = *whole(65535);
    if (name == "videocodecid") {
      if (const auto id = whole(255)) meta.video = flvVideoCodec(static_cast<std::uint8_t>(*id));
      if (v.text && v.text->size() == 4) meta.video = Codec{fourccCodec(*v.text), false};
    }
    if (name == "audiocodecid") {
      if (const auto id = whole(255)) meta.audio = flvAudioCodec(static_cast<std::uint8_t>(*id));
      if (v.text && v.text->size() == 4) meta.audio = Codec{fourccCodec(*v.text), false};
    }
  };
  amf.properties(0, &seen);
  return meta;
}

VideoContent readFlv(const Bytes& head) {
  VideoContent c;
  c.container = Container::flv;
  if (head.size() < 9 || head[3] != 1) {
    c.reason = "Its FLV header is damaged.";
    return c;
  }
  const std::uint64_t dataOffset = bigEndian(&head[5], 4);
  std::optional<Codec> video, audio;
  FlvMetadata meta;
  bool sawMeta = false;
  // Tags follow the header, each after the 4-byte size of the one before it.
  std::uint64_t at = std::max<std::uint64_t>(dataOffset, 9) + 4;
  for (int tags = 0; tags < kMaxFlvTags && at + 11 <= head.size(); ++tags) {
    const std::uint8_t type = head[at] & 0x1f;
    const std::uint64_t dataSize = bigEndian(&head[at + 1], 3);
    const std::uint64_t data = at + 11;
    const std::size_t inHead = static_cast<std::size_t>(
        std::min<std::uint64_t>(dataSize, data < head.size() ? head.size() - data : 0));
    if (type == 9 && !video && inHead >= 1) {
      const std::uint8_t b = head[data];
      // An enhanced FLV names its codec by four characters; no Flash Player reads those.
      if ((b & 0x80) && inHead >= 5)
        video = Codec{fourccCodec(fourccText(&head[data + 1])), false};
      else
        video = flvVideoCodec(b & 0x0f);
    } else if (type == 8 && !audio && inHead >= 1) {
      const std::uint8_t format = head[data] >> 4;
      if (format == 9 && inHead >= 5)
        audio = Codec{fourccCodec(fourccText(&head[data + 1])), false};
      else
        audio = flvAudioCodec(format);
    } else if (type == 18 && !sawMeta) {
      sawMeta = true;
      meta = readOnMetaData(&head[data], inHead);
    }
    if (video && audio) break;
    at = data + dataSize + 4;
  }
  // The tags decide; the metadata speaks only for what no tag in the head showed.
  if (!video) video = meta.video;
  if (!audio) audio = meta.audio;
  if (video) c.videoCodec = video->name;
  if (audio) c.audioCodec = audio->name;
  c.width = meta.width;
  c.height = meta.height;
  judgeCodecs(c, video, audio);
  return c;
}

// ---- The MP4 family ----

bool isF4vBrand(std::string_view brand) {
  return brand == "f4v " || brand == "f4p " || brand == "f4a " || brand == "f4b ";
}

std::optional<Bytes> boxField(std::istream& in, const Mp4Box& box, std::uint64_t offset,
                              std::size_t count) {
  if (box.bodySize() < offset || box.bodySize() - offset < count) return std::nullopt;
  return readBytes(in, box.body + offset, count);
}

std::optional<Mp4Box> child(std::istream& in, const Mp4Box& parent, std::string_view type,
                            std::uint64_t skip = 0) {
  if (parent.bodySize() < skip) return std::nullopt;
  for (const Mp4Box& box : childBoxes(in, parent.body + skip, parent.end, kMaxChildBoxes))
    if (box.is(type)) return box;
  return std::nullopt;
}

std::optional<Mp4Box> childPath(std::istream& in, Mp4Box box,
                                std::initializer_list<std::string_view> path) {
  for (const std::string_view type : path) {
    const auto next = child(in, box, type);
    if (!next) return std::nullopt;
    box = *next;
  }
  return box;
}

// The object type in an esds box's decoder configuration: MPEG-1/2 layer 3 sound is MP3.
std::string esdsAudioCodec(std::istream& in, const Mp4Box& esds) {
  const auto body = boxField(
      in, esds, 0, static_cast<std::size_t>(std::min<std::uint64_t>(esds.bodySize(), 256)));
  if (!body) return "aac";
  const auto config = readEsDecoderConfig(*body);
  if (!config) return "aac";
  const std::uint8_t objectType = config->objectType;
  if (isMp3ObjectType(objectType)) return "mp3";
  if (isAacObjectType(objectType)) return "aac";
  return "MPEG-4 object type " + std::to_string(objectType);
}

struct TrackInfo {
  std::string handler;  // "vide", "soun", ...
  std::string codec;
  int width = 0, height = 0;
};

std::optional<TrackInfo> readTrack(std::istream& in, const Mp4Box& trak) {
  const auto mdia = child(in, trak, "mdia");
  if (!mdia) return std::nullopt;
  const auto hdlr = child(in, *mdia, "hdlr");
  const auto handler = hdlr ? boxField(in, *hdlr, 8, 4) : std::nullopt;
  if (!handler) return std::nullopt;
  TrackInfo track;
  track.handler = fourccText(handler->data());
  if (track.handler != "vide" && track.handler != "soun") return track;

  if (const auto tkhd = child(in, trak, "tkhd")) {
    const auto version = boxField(in, *tkhd, 0, 1);
    const std::uint64_t sizeAt = version && (*version)[0] == 1 ? 88 : 76;
    if (const auto size = boxField(in, *tkhd, sizeAt, 8)) {
      track.width = static_cast<int>(bigEndian(size->data(), 2));
      track.height = static_cast<int>(bigEndian(size->data() + 4, 2));
    }
  }
  const auto stsd = childPath(in, *mdia, {"minf", "stbl", "stsd"});
  // The first sample entry: its size and format follow the version, flags and entry count.
  const auto entry = stsd ? readBoxHeader(in, stsd->body + 8, stsd->end) : std::nullopt;
  if (!entry) return track;
  track.codec = fourccCodec(std::string_view(entry->type.data(), 4));
  if (track.handler == "vide") {
    if (const auto size = boxField(in, *entry, 24, 4)) {
      const int w = static_cast<int>(bigEndian(size->data(), 2));
      const int h = static_cast<int>(bigEndian(size->data() + 2, 2));
      if (w > 0 && h > 0) track.width = w, track.height = h;
    }
  } else if (entry->is("mp4a")) {
    // The sound entry's fields take 28 bytes, 16 or 36 more in QuickTime's versions 1 and 2.
    const auto version = boxField(in, *entry, 8, 2);
    const std::uint64_t v = version ? bigEndian(version->data(), 2) : 0;
    const std::uint64_t fields = 28 + (v == 1 ? 16 : v == 2 ? 36 : 0);
    const auto esds = child(in, *entry, "esds", fields);
    const auto wave = esds ? std::nullopt : child(in, *entry, "wave", fields);
    const auto inWave = wave ? child(in, *wave, "esds") : std::nullopt;
    if (esds || inWave) track.codec = esdsAudioCodec(in, esds ? *esds : *inWave);
  }
  return track;
}

VideoContent readMp4Family(std::istream& in, std::uint64_t size, std::string_view fileName) {
  VideoContent c;
  c.container = Container::mp4Family;
  const auto top = childBoxes(in, 0, size, kMaxTopBoxes);
  std::string major;
  bool f4vBrand = false;
  for (const Mp4Box& box : top) {
    if (!box.is("ftyp")) continue;
    const auto brands = boxField(
        in, box, 0, static_cast<std::size_t>(std::min<std::uint64_t>(box.bodySize(), 4 * 32)));
    if (brands && brands->size() >= 4) {
      major = fourccText(brands->data());
      for (std::size_t at = 0; at + 4 <= brands->size(); at += at == 0 ? 8 : 4)
        f4vBrand = f4vBrand || isF4vBrand(fourccText(brands->data() + at));
    }
    break;
  }
  const std::string extension = lowerCase(fs::path(fileName).extension().string());
  const bool f4v = f4vBrand || extension == ".f4v";
  if (f4v) c.container = Container::f4v;

  std::optional<Codec> video, audio;
  std::size_t tracks = 0;
  for (const Mp4Box& box : top) {
    if (!box.is("moov")) continue;
    for (const Mp4Box& trak : childBoxes(in, box.body, box.end, kMaxChildBoxes)) {
      if (!trak.is("trak") || ++tracks > kMaxTracks) continue;
      const auto track = readTrack(in, trak);
      if (!track) continue;
      if (track->handler == "vide" && !video) {
        video = Codec{track->codec, track->codec == "h264"};
        c.width = track->width;
        c.height = track->height;
      } else if (track->handler == "soun" && !audio) {
        audio = Codec{track->codec, track->codec == "aac" || track->codec == "mp3"};
      }
    }
    break;
  }
  if (video) c.videoCodec = video->name;
  if (audio) c.audioCodec = audio->name;
  if (!f4v) {
    const bool quickTime = major == "qt  ";
    c.reason = std::string(quickTime ? "It is a MOV file" : "It is an MP4 file") +
               ", not an F4V; the Flash page plays FLV and F4V videos only.";
    if (!video) c.reason = "It holds no video.";
    return c;
  }
  judgeCodecs(c, video, audio);
  return c;
}

// ---- Other containers, by their magic ----

bool startsWith(const Bytes& head, std::string_view magic, std::size_t at = 0) {
  return head.size() >= at + magic.size() &&
         std::equal(magic.begin(), magic.end(), head.begin() + static_cast<std::ptrdiff_t>(at),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

bool looksLikeMp4(std::istream& in, std::uint64_t size) {
  const auto first = readBoxHeader(in, 0, size);
  if (!first) return false;
  if (first->is("ftyp")) return true;
  // An old QuickTime file may start with another box; it is one when a movie box follows.
  for (const std::string_view type : {"moov", "mdat", "wide", "free", "skip", "pnot"}) {
    if (!first->is(type)) continue;
    const auto top = childBoxes(in, 0, size, kMaxTopBoxes);
    return std::any_of(top.begin(), top.end(), [](const Mp4Box& b) { return b.is("moov"); });
  }
  return false;
}

// Matroska names its codecs in plain text near the start: enough to say what the file holds.
void matroskaCodecs(VideoContent& c, const Bytes& head) {
  static constexpr std::pair<std::string_view, std::string_view> kIds[] = {
      {"V_MPEG4/ISO/AVC", "h264"},
      {"V_MPEGH/ISO/HEVC", "hevc"},
      {"V_VP9", "vp9"},
      {"V_VP8", "vp8"},
      {"V_AV1", "av1"},
      {"A_AAC", "aac"},
      {"A_OPUS", "opus"},
      {"A_VORBIS", "vorbis"},
      {"A_MPEG/L3", "mp3"}};
  const std::string_view text(reinterpret_cast<const char*>(head.data()), head.size());
  for (const auto& [id, name] : kIds) {
    if (text.find(id) == std::string_view::npos) continue;
    std::string& slot = id[0] == 'V' ? c.videoCodec : c.audioCodec;
    if (slot.empty()) slot = name;
  }
}

std::string_view otherVideoName(const Bytes& head) {
  if (startsWith(head, "RIFF") && startsWith(head, "AVI ", 8)) return "an AVI";
  if (head.size() >= 377 && head[0] == 0x47 && head[188] == 0x47 && head[376] == 0x47)
    return "an MPEG transport stream";
  if (startsWith(head, std::string_view("\x00\x00\x01\xba", 4))) return "an MPEG program stream";
  if (startsWith(head, std::string_view("\x30\x26\xb2\x75\x8e\x66\xcf\x11", 8)))
    return "a Windows Media";
  return {};
}

}  // namespace

VideoContent readVideoContent(std::istream& in, std::uint64_t size, std::string_view fileName) {
  if (size == 0) return refused(Container::notVideo, "The file is empty.");
  const Bytes head = readHead(in, size);
  if (head.empty()) return refused(Container::unreadable, "The file cannot be read.");
  if (startsWith(head, "FLV")) return readFlv(head);
  if (looksLikeMp4(in, size)) return readMp4Family(in, size, fileName);
  if (startsWith(head, "\x1a\x45\xdf\xa3")) {
    VideoContent c = refused(Container::matroska,
                             "It is a Matroska or WebM file; the Flash page plays FLV and F4V "
                             "videos only.");
    matroskaCodecs(c, head);
    return c;
  }
  if (const std::string_view name = otherVideoName(head); !name.empty())
    return refused(
        Container::otherVideo,
        "It is " + std::string(name) + " file; the Flash page plays FLV and F4V videos only.");
  return refused(Container::notVideo, "It is not a video file (neither FLV nor F4V).");
}

VideoContent readVideoContent(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec || !fs::exists(status)) return refused(Container::unreadable, "The file cannot be found.");
  // Checked before opening: opening a pipe waits for a writer, and a device never ends.
  if (!fs::is_regular_file(status))
    return refused(Container::notVideo,
                   "It is not a regular file (a folder, a device or a pipe), so it is no video.");
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) return refused(Container::unreadable, "The file cannot be read.");
  if (size == 0) return refused(Container::notVideo, "The file is empty.");
  std::ifstream in;
  // Unbuffered: each field is read with a read of its own size, not a buffer's worth.
  in.rdbuf()->pubsetbuf(nullptr, 0);
  in.open(file, std::ios::binary);
  if (!in) return refused(Container::unreadable, "The file cannot be read.");
  return readVideoContent(in, size, file.filename().string());
}

}  // namespace qx::media
