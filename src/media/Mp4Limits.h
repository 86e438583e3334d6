#pragma once
// What an MP4-family file's sample tables may claim before a demuxer is let at it. A demuxer
// allocates an index entry per sample and a stream per track as the tables say; a file of a
// few KB claiming 85 million samples or a thousand tracks would cost gigabytes.
#include <filesystem>
#include <optional>
#include <string>

namespace qx::media {

// A file holds a handful of tracks; this many is far beyond any camera or editor's output.
inline constexpr std::size_t kMaxMp4Tracks = 64;

// Why the MP4-family file's tables cannot be true for its size (every sample takes at least a
// byte of the file, every table entry its bytes in its box), or nullopt when they can, or when
// the file is no MP4-family file at all.
[[nodiscard]] std::optional<std::string> mp4TablesProblem(const std::filesystem::path& file);

}  // namespace qx::media
