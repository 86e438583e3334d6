#pragma once
// The H.264 video and AAC audio tracks of an MP4-family file (F4V), read for remuxing: the codec
// set-up, the time base and where the sample tables lie. The tables themselves stay in the file
// and are streamed by Mp4Samples, so a table's claims cost no memory; every table's entry count is
// checked against the box that holds it before it is used.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "media/Mp4Box.h"

namespace qx::media {

struct Mp4Track {
  bool video = false;                // H.264 video; otherwise AAC audio
  std::uint32_t index = 0;           // the track's place in the file, for ties in time
  std::uint32_t timescale = 0;       // units a second of the track's times
  std::vector<std::uint8_t> config;  // the AVC decoder configuration, or the AudioSpecificConfig
  int width = 0, height = 0;         // video
  int channels = 0;                  // audio
  std::uint32_t sampleRate = 0;      // audio
  std::uint32_t sampleCount = 0;
  std::uint32_t constantSize = 0;  // every sample's size, or 0 when `sizes` lists them
  Mp4Table sizes, times, offsets, syncSamples, chunks, chunkOffsets;
  bool hasOffsets = false;          // composition offsets (ctts)
  bool hasSyncTable = false;        // without stss every sample is a keyframe
  std::uint64_t mediaDuration = 0;  // the sum of the sample durations, in timescale units
  std::int64_t shift = 0;           // added to every time: the edit list's start, in track units
};

struct Mp4Movie {
  std::optional<Mp4Track> video;
  std::optional<Mp4Track> audio;
  double durationSeconds = 0;
  std::uint64_t fileSize = 0;
};

// The movie, or why it cannot be remuxed (one English sentence).
[[nodiscard]] std::variant<Mp4Movie, std::string> readMp4Movie(std::istream& in);

}  // namespace qx::media
