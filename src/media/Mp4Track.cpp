#include "media/Mp4Track.h"

#include <algorithm>
#include <cmath>

#include "media/EsDescriptor.h"
#include "media/Mp4Box.h"
#include "media/Mp4Samples.h"

namespace qx::media {
namespace {

using Result = std::variant<Mp4Movie, std::string>;

// A box and the stream it is read from, for short field reads.
struct Reader {
  std::istream& in;
  std::optional<std::uint64_t> at(std::uint64_t offset, int bytes) const {
    return readBigEndian(in, offset, bytes);
  }
  std::optional<Mp4Box> child(const Mp4Box& parent, std::string_view type) const {
    return findBox(in, parent.body, parent.end, type);
  }
};

// A full box's table: version and flags, a 32-bit count, then `count` entries that must fit.
std::optional<Mp4Table> tableIn(const Reader& r, const Mp4Box& box, std::uint32_t entrySize,
                                std::uint64_t headerBytes = 8) {
  auto table = readTable(r.in, box, headerBytes - 4, headerBytes, entrySize);
  if (!table || !table->fits) return std::nullopt;
  return table;
}

// The AudioSpecificConfig of an esds box, for the FLV's AAC sequence header.
std::optional<std::vector<std::uint8_t>> aacConfig(const std::vector<std::uint8_t>& b) {
  const auto config = readEsDecoderConfig(b);
  if (!config || !isAacObjectType(config->objectType) || config->specificInfo.empty())
    return std::nullopt;
  return std::vector<std::uint8_t>(config->specificInfo.begin(), config->specificInfo.end());
}

std::optional<std::vector<std::uint8_t>> wholeBody(std::istream& in, const Mp4Box& box) {
  return readBytes(in, box.body, static_cast<std::size_t>(box.bodySize()));
}

// The codec set-up from the first sample description; a reason when it is not H.264 or AAC.
std::optional<std::string> readDescription(const Reader& r, const Mp4Box& stsd, Mp4Track& t) {
  const auto entry = readBoxHeader(r.in, stsd.body + 8, stsd.end);
  if (!entry) return "the sample description is missing";
  if (t.video) {
    if (!entry->is("avc1") && !entry->is("avc3")) return "the video is not H.264";
    const auto width = r.at(entry->body + 24, 2), height = r.at(entry->body + 26, 2);
    const auto avcC = findBox(r.in, entry->body + 78, entry->end, "avcC");
    const auto config = avcC ? wholeBody(r.in, *avcC) : std::nullopt;
    if (!width || !height || !config || config->size() < 7) return "the H.264 set-up is missing";
    t.width = static_cast<int>(*width);
    t.height = static_cast<int>(*height);
    t.config = *config;
    return std::nullopt;
  }
  if (!entry->is("mp4a")) return "the audio is not AAC";
  const auto version = r.at(entry->body + 8, 2);
  const auto channels = r.at(entry->body + 16, 2), rate = r.at(entry->body + 24, 4);
  if (!version || !channels || !rate) return "the audio description is cut short";
  const std::uint64_t extra = *version == 1 ? 16 : *version == 2 ? 36 : 0;
  const auto esds = findBox(r.in, entry->body + 28 + extra, entry->end, "esds");
  const auto body = esds ? wholeBody(r.in, *esds) : std::nullopt;
  const auto config = body ? aacConfig(*body) : std::nullopt;
  if (!config) return "the audio is not AAC";
  t.channels = static_cast<int>(*channels);
  t.sampleRate = static_cast<std::uint32_t>(*rate >> 16);
  t.config = *config;
  return std::nullopt;
}

// Where the tables lie, each checked against its box.
std::optional<std::string> readTables(const Reader& r, const Mp4Box& stbl, std::uint64_t fileSize,
                                      Mp4Track& t) {
  const auto stts = r.child(stbl, "stts"), stsc = r.child(stbl, "stsc");
  const auto stsz = r.child(stbl, "stsz");
  const auto stco = r.child(stbl, "stco"), co64 = r.child(stbl, "co64");
  if (!stts || !stsc || !stsz || (!stco && !co64)) return "a sample table is missing";
  const auto times = tableIn(r, *stts, 8), chunks = tableIn(r, *stsc, 12);
  const auto offsets = stco ? tableIn(r, *stco, 4) : tableIn(r, *co64, 8);
  const auto constant = r.at(stsz->body + 4, 4), count = r.at(stsz->body + 8, 4);
  if (!times || !chunks || !offsets || !constant || !count)
    return "a sample table claims more entries than it holds";
  t.times = *times, t.chunks = *chunks, t.chunkOffsets = *offsets;
  t.constantSize = static_cast<std::uint32_t>(*constant);
  t.sampleCount = static_cast<std::uint32_t>(*count);
  if (t.constantSize == 0) {
    const auto sizes = tableIn(r, *stsz, 4, 12);
    if (!sizes) return "the size table claims more entries than it holds";
    t.sizes = *sizes;
  } else if (std::uint64_t{t.constantSize} * t.sampleCount > fileSize) {
    return "the samples claim more bytes than the file holds";
  }
  if (const auto ctts = r.child(stbl, "ctts")) {
    const auto table = tableIn(r, *ctts, 8);
    if (!table) return "the composition table claims more entries than it holds";
    t.offsets = *table, t.hasOffsets = true;
  }
  if (const auto stss = r.child(stbl, "stss")) {
    const auto table = tableIn(r, *stss, 4);
    if (!table) return "the keyframe table claims more entries than it holds";
    t.syncSamples = *table, t.hasSyncTable = true;
  }
  // The media's length: the sum of the durations (entries bounded by the box, so by the file).
  Mp4TableReader reader(r.in, t.times);
  while (const auto entry = reader.next()) {
    t.mediaDuration += bigEndian(*entry, 4) * bigEndian(entry->subspan(4), 4);
    if (t.mediaDuration > (std::uint64_t{1} << 52)) return "the times are beyond any real length";
  }
  return std::nullopt;
}

// The edit list's start: leading empty edits delay the track; the first real edit skips its
// media time, except for samples (an encoder's priming) that come before it.
void readEdits(const Reader& r, const Mp4Box& trak, std::uint32_t movieScale, Mp4Track& t) {
  constexpr std::uint64_t kLongest = std::uint64_t{1} << 31;  // what an FLV's times can reach
  const auto edts = r.child(trak, "edts");
  const auto elst = edts ? r.child(*edts, "elst") : std::nullopt;
  const auto version = elst ? r.at(elst->body, 1) : std::nullopt;
  if (!version || movieScale == 0) return;
  const int wide = *version == 1 ? 8 : 4;
  const auto table = tableIn(r, *elst, static_cast<std::uint32_t>(2 * wide + 4));
  if (!table) return;
  std::uint64_t empty = 0;
  std::optional<std::int64_t> mediaTime;
  Mp4TableReader reader(r.in, *table);
  for (int i = 0; i < 16 && !mediaTime; ++i) {
    const auto entry = reader.next();
    if (!entry) break;
    const std::uint64_t duration = bigEndian(*entry, static_cast<std::size_t>(wide));
    const std::uint64_t time =
        bigEndian(entry->subspan(static_cast<std::size_t>(wide)), static_cast<std::size_t>(wide));
    const bool isEmpty = wide == 8 ? time == ~std::uint64_t{0} : time == 0xffffffffu;
    if (isEmpty)
      empty = std::min(empty + std::min(duration, kLongest), kLongest);
    else
      mediaTime = static_cast<std::int64_t>(std::min(time, kLongest));
  }
  std::int64_t firstPts = 0;
  if (t.hasOffsets) {
    Mp4TableReader offsets(r.in, t.offsets);
    if (const auto first = offsets.next())
      firstPts = static_cast<std::int32_t>(bigEndian(first->subspan(4), 4));
  }
  // Rounded down, as other readers of the file do, so both agree to the millisecond.
  const auto emptyInTrack = static_cast<std::int64_t>(
      empty / movieScale * t.timescale + empty % movieScale * t.timescale / movieScale);
  t.shift = emptyInTrack - std::min(mediaTime.value_or(0), firstPts);
}

}  // namespace

std::variant<Mp4Movie, std::string> readMp4Movie(std::istream& in) {
  Mp4Movie movie;
  const auto size = streamSize(in);
  if (!size) return std::string("the file cannot be read");
  movie.fileSize = *size;
  const Reader r{in};
  const auto moov = findBox(in, 0, *size, "moov");
  if (!moov) return std::string("the file has no movie header (moov)");
  std::uint32_t movieScale = 0;
  if (const auto mvhd = r.child(*moov, "mvhd")) {
    const auto version = r.at(mvhd->body, 1);
    const std::uint64_t at = mvhd->body + (version == 1u ? 20 : 12);
    const auto scale = r.at(at, 4), duration = r.at(at + 4, version == 1u ? 8 : 4);
    movieScale = static_cast<std::uint32_t>(scale.value_or(0));
    if (movieScale && duration) movie.durationSeconds = double(*duration) / movieScale;
  }
  std::uint32_t index = 0;
  for (const Mp4Box& trak : childBoxes(in, moov->body, moov->end)) {
    if (!trak.is("trak")) continue;
    ++index;
    const auto mdia = r.child(trak, "mdia");
    const auto hdlr = mdia ? r.child(*mdia, "hdlr") : std::nullopt;
    const auto handler = hdlr ? r.at(hdlr->body + 8, 4) : std::nullopt;
    const bool video = handler == 0x76696465u;                      // "vide"
    if (!handler || (!video && *handler != 0x736f756eu)) continue;  // "soun"
    if ((video && movie.video) || (!video && movie.audio)) continue;
    Mp4Track track;
    track.video = video;
    track.index = index;
    const auto mdhd = r.child(*mdia, "mdhd");
    const auto version = mdhd ? r.at(mdhd->body, 1) : std::nullopt;
    const auto scale = version ? r.at(mdhd->body + (version == 1u ? 20 : 12), 4) : std::nullopt;
    const auto stbl = findPath(in, mdia->body, mdia->end, {"minf", "stbl"});
    const auto stsd = stbl ? r.child(*stbl, "stsd") : std::nullopt;
    if (!scale || *scale == 0 || !stsd) return std::string("a track's header is damaged");
    track.timescale = static_cast<std::uint32_t>(*scale);
    if (auto problem = readDescription(r, *stsd, track)) return *problem;
    if (auto problem = readTables(r, *stbl, *size, track)) return *problem;
    readEdits(r, trak, movieScale, track);
    (video ? movie.video : movie.audio) = std::move(track);
  }
  if (!movie.video || movie.video->sampleCount == 0) return std::string("the file has no video");
  if (movie.durationSeconds <= 0)
    movie.durationSeconds = double(movie.video->mediaDuration) / movie.video->timescale;
  // FLV times cannot be negative: a track starting before 0 moves both by as much.
  double lag = 0;
  for (const auto* t : {&movie.video, &movie.audio})
    if (*t && (*t)->shift < 0) lag = std::max(lag, -double((*t)->shift) / (*t)->timescale);
  for (auto* t : {&movie.video, &movie.audio})
    if (*t) (*t)->shift += static_cast<std::int64_t>(std::ceil(lag * (*t)->timescale));
  return movie;
}

}  // namespace qx::media
