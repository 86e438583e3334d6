#pragma once
// A track's samples in decode order, streamed from its tables in the file: where each lies, its
// size, times and whether it is a keyframe. Memory stays a few small buffers however long the
// tables are; a table that contradicts the file ends the walk with a reason.
#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/Mp4Track.h"

namespace qx::media {

// The entries of one table, read through a small buffer.
class Mp4TableReader {
 public:
  Mp4TableReader(std::istream& in, const Mp4Table& table);
  // The next entry's bytes (entrySize of them), or nothing at the end or where the file ends.
  [[nodiscard]] std::optional<std::span<const std::uint8_t>> next();
  [[nodiscard]] bool atEnd() const { return read_ >= table_.count; }

 private:
  std::istream* in_;
  Mp4Table table_;
  std::vector<std::uint8_t> buffer_;
  std::size_t at_ = 0, filled_ = 0;
  std::uint32_t read_ = 0;  // entries handed out
};

// A big-endian number of `bytes` at the start of `from`.
[[nodiscard]] std::uint64_t bigEndian(std::span<const std::uint8_t> from, std::size_t bytes);

struct Mp4Sample {
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
  std::int64_t dts = 0, pts = 0;  // in the track's timescale, the edit shift applied
  bool keyframe = false;
};

class Mp4Samples {
 public:
  Mp4Samples(std::istream& in, const Mp4Track& track, std::uint64_t fileSize);
  // The next sample, or nothing after the last one or when the tables are damaged (error()).
  [[nodiscard]] std::optional<Mp4Sample> next();
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  std::optional<Mp4Sample> fail(std::string reason);
  bool enterNextChunk();
  std::uint32_t nextDuration();
  std::int64_t nextOffset();
  bool isKeyframe(std::uint32_t number);

  const Mp4Track& track_;
  std::uint64_t fileSize_;
  Mp4TableReader sizes_, times_, offsets_, sync_, chunks_, chunkOffsets_;
  std::uint32_t index_ = 0;
  std::uint64_t chunk_ = 0;  // 1-based number of the chunk being read; 0 before the first
  std::uint32_t perChunk_ = 0, leftInChunk_ = 0;
  std::optional<std::uint64_t> nextRunChunk_;  // where the next stsc entry starts
  std::uint32_t nextRunPerChunk_ = 0;
  std::uint64_t position_ = 0;
  std::uint32_t timeLeft_ = 0, timeDelta_ = 0, offsetLeft_ = 0;
  std::int64_t offsetValue_ = 0;
  std::uint64_t nextSync_ = 0;
  std::int64_t dts_ = 0;
  std::uint64_t total_ = 0;
  std::string error_;
};

}  // namespace qx::media
