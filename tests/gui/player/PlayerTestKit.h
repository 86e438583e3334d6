#pragma once
// What the player tests share: short videos made with ffmpeg while the tests run, the reading of
// the frame number that each of their frames shows, and a shown player with such a video.
#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "common/TempFolder.h"
#include "platform/MediaModule.h"
#include "preview/QtPreviewPlayer.h"

namespace qx::test {

// The media module of this build, loaded from its file as the program loads it.
MediaModule& builtMediaModule();

enum class VideoKind { SorensonFlv, H264Flv, F4v };

inline constexpr int kFramesPerSecond = 10;

// A 192 x 96 video of `seconds` at 10 frames a second (the FLVs with a tone), one key frame only
// (so every seek has to decode its way to the frame). Frame n shows n as six blocks in a row, the
// lowest bit on the left, bright for 1 in the upper half and the other way round in the lower
// half. Returns the path, or an empty path when ffmpeg failed.
std::filesystem::path makeTestVideo(const std::filesystem::path& folder, VideoKind kind,
                                    int seconds = 4);

// The frame number shown in `where` of `picture`, or nothing when the two halves do not
// agree (no picture, a half-drawn one, or something else on top).
std::optional<int> readFrameNumber(const QImage& picture, const QRectF& where);

// The frame number that the player's area shows now, read from a grab of the area.
std::optional<int> frameShown(QtPreviewPlayer& player);

// Runs the event loop until `done` holds or `ms` have passed; the last value of `done`.
bool waitUntil(const std::function<bool()>& done, int ms);

// A shown window with the real player in it, and a video of one kind in a folder of its own.
struct PlayerWithVideo {
  explicit PlayerWithVideo(VideoKind kind, int seconds = 4);
  // Loads the video and lets it play past `seconds`; false when it does not within 10 s.
  bool playPast(double seconds);

  TempFolder folder;
  QWidget window;
  QtPreviewPlayer player{&window, builtMediaModule()};
  QString video;  // empty when ffmpeg failed
};

}  // namespace qx::test
