#include "media/Mp4Samples.h"

#include <algorithm>

namespace qx::media {
namespace {

constexpr std::size_t kTableBuffer = 16 * 1024;

}  // namespace

std::uint64_t bigEndian(std::span<const std::uint8_t> from, std::size_t bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < bytes && i < from.size(); ++i) value = value << 8 | from[i];
  return value;
}

Mp4TableReader::Mp4TableReader(std::istream& in, const Mp4Table& table) : in_(&in), table_(table) {}

std::optional<std::span<const std::uint8_t>> Mp4TableReader::next() {
  if (atEnd() || table_.entrySize == 0) return std::nullopt;
  if (at_ + table_.entrySize > filled_) {
    // Refilled with whole entries only, from where the next entry lies.
    const std::uint64_t left = std::uint64_t{table_.count - read_} * table_.entrySize;
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(left, kTableBuffer / table_.entrySize * table_.entrySize));
    buffer_.resize(std::max(buffer_.size(), want));
    in_->clear();
    in_->seekg(
        static_cast<std::streamoff>(table_.offset + std::uint64_t{read_} * table_.entrySize));
    in_->read(reinterpret_cast<char*>(buffer_.data()), static_cast<std::streamsize>(want));
    if (!*in_ || static_cast<std::size_t>(in_->gcount()) != want) return std::nullopt;
    at_ = 0;
    filled_ = want;
  }
  const std::span<const std::uint8_t> entry(buffer_.data() + at_, table_.entrySize);
  at_ += table_.entrySize;
  ++read_;
  return entry;
}

Mp4Samples::Mp4Samples(std::istream& in, const Mp4Track& track, std::uint64_t fileSize)
    : track_(track),
      fileSize_(fileSize),
      sizes_(in, track.sizes),
      times_(in, track.times),
      offsets_(in, track.offsets),
      sync_(in, track.syncSamples),
      chunks_(in, track.chunks),
      chunkOffsets_(in, track.chunkOffsets) {
  dts_ = track.shift;
}

std::optional<Mp4Sample> Mp4Samples::fail(std::string reason) {
  if (error_.empty()) error_ = "the sample tables are damaged: " + std::move(reason);
  return std::nullopt;
}

bool Mp4Samples::enterNextChunk() {
  // Chunks holding no samples are passed over; their number is bounded by the chunk table.
  while (leftInChunk_ == 0) {
    ++chunk_;
    while (nextRunChunk_ && *nextRunChunk_ <= chunk_) {
      perChunk_ = nextRunPerChunk_;
      nextRunChunk_.reset();
      if (const auto entry = chunks_.next()) {
        nextRunChunk_ = bigEndian(*entry, 4);
        nextRunPerChunk_ = static_cast<std::uint32_t>(bigEndian(entry->subspan(4), 4));
      }
    }
    const auto offset = chunkOffsets_.next();
    if (!offset) return false;
    position_ = bigEndian(*offset, offset->size());
    leftInChunk_ = perChunk_;
  }
  return true;
}

std::uint32_t Mp4Samples::nextDuration() {
  while (timeLeft_ == 0) {
    const auto entry = times_.next();
    if (!entry) return timeDelta_;  // a short table: the last duration goes on
    timeLeft_ = static_cast<std::uint32_t>(bigEndian(*entry, 4));
    timeDelta_ = static_cast<std::uint32_t>(bigEndian(entry->subspan(4), 4));
  }
  --timeLeft_;
  return timeDelta_;
}

std::int64_t Mp4Samples::nextOffset() {
  if (!track_.hasOffsets) return 0;
  while (offsetLeft_ == 0) {
    const auto entry = offsets_.next();
    if (!entry) return 0;
    offsetLeft_ = static_cast<std::uint32_t>(bigEndian(*entry, 4));
    // Signed in version 1 and, as writers use it, in version 0 too.
    offsetValue_ = static_cast<std::int32_t>(bigEndian(entry->subspan(4), 4));
  }
  --offsetLeft_;
  return offsetValue_;
}

bool Mp4Samples::isKeyframe(std::uint32_t number) {
  if (!track_.hasSyncTable) return true;
  while (nextSync_ < number) {
    const auto entry = sync_.next();
    if (!entry) return false;
    nextSync_ = bigEndian(*entry, 4);
  }
  return nextSync_ == number;
}

std::optional<Mp4Sample> Mp4Samples::next() {
  if (!error_.empty() || index_ >= track_.sampleCount) return std::nullopt;
  if (chunk_ == 0) {
    // The first run of chunks starts at chunk 1 whatever the table says.
    const auto first = chunks_.next();
    if (!first) return fail("no chunk table");
    perChunk_ = static_cast<std::uint32_t>(bigEndian(first->subspan(4), 4));
    if (const auto entry = chunks_.next()) {
      nextRunChunk_ = bigEndian(*entry, 4);
      nextRunPerChunk_ = static_cast<std::uint32_t>(bigEndian(entry->subspan(4), 4));
    }
  }
  if (!enterNextChunk()) return fail("more samples than its chunks hold");
  Mp4Sample sample;
  sample.offset = position_;
  if (track_.constantSize != 0) {
    sample.size = track_.constantSize;
  } else {
    const auto size = sizes_.next();
    if (!size) return fail("the size table ends early");
    sample.size = static_cast<std::uint32_t>(bigEndian(*size, 4));
  }
  if (sample.offset > fileSize_ || sample.size > fileSize_ - sample.offset)
    return fail("a sample lies outside the file");
  // A track's samples never share bytes: more of them than the file holds is a hostile table.
  total_ += sample.size;
  if (total_ > fileSize_) return fail("the samples overlap");
  position_ += sample.size;
  --leftInChunk_;
  ++index_;
  sample.dts = dts_;
  sample.pts = dts_ + nextOffset();
  dts_ += nextDuration();
  // Far past any real length (years at any timescale), and safe to scale to milliseconds.
  if (dts_ > (std::int64_t{1} << 52)) return fail("times beyond any real length");
  sample.keyframe = isKeyframe(index_);
  return sample;
}

}  // namespace qx::media
