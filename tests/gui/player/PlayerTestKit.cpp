#include "gui/player/PlayerTestKit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGraphicsObject>
#include <QProcess>
#include <QThread>
#include <cmath>

namespace qx::test {

MediaModule& builtMediaModule() {
  static MediaModule module{std::filesystem::path(QX_MEDIA_MODULE_FILE)};
  return module;
}

std::filesystem::path makeTestVideo(const std::filesystem::path& folder, VideoKind kind,
                                    int seconds) {
  struct Format {
    const char* file;
    QStringList options;
  };
  const Format format = [kind]() -> Format {
    // No B-frames, and sound that starts with the picture, so that frame n begins at n / 10 s:
    // AAC's encoder delay would move every frame by 23 ms (ffmpeg shifts the FLV, GStreamer the
    // F4V), so the FLVs carry ADPCM sound and the F4V none.
    const QStringList h264{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
    const QStringList adpcm{"-c:a", "adpcm_swf", "-ar", "44100"};
    switch (kind) {
      case VideoKind::SorensonFlv:
        return {"sorenson.flv", QStringList{"-c:v", "flv1", "-q:v", "2"} + adpcm};
      case VideoKind::H264Flv:
        return {"h264.flv", h264 + adpcm};
      case VideoKind::F4v:
        return {"video.f4v", h264 + QStringList{"-an", "-f", "f4v"}};
    }
    return {};
  }();
  const QString bit = "bitand(N,pow(2,floor(X*6/W)))";
  const QString pattern = QString(
                              "color=black:s=192x96:r=%1:d=%2,format=gray,"
                              "geq=lum='if(lt(Y,H/2),if(%3,235,16),if(%3,16,235))'")
                              .arg(kFramesPerSecond)
                              .arg(seconds)
                              .arg(bit);
  const auto path = folder / format.file;
  QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i", pattern};
  args += QStringList{"-f", "lavfi", "-i", QString("sine=f=440:d=%1").arg(seconds)};
  args += QStringList{"-g", "1000", "-shortest"};
  args += format.options;
  args << QString::fromStdString(path.string());
  QProcess ffmpeg;
  ffmpeg.start(QX_FFMPEG, args);
  if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0) return {};
  return path;
}

std::optional<int> readFrameNumber(const QImage& picture, const QRectF& where) {
  const auto bright = [&](double x, double y) -> std::optional<bool> {
    const int grey = qGray(picture.pixel(int(std::lround(x)), int(std::lround(y))));
    if (grey > 170) return true;
    if (grey < 85) return false;
    return std::nullopt;
  };
  int number = 0;
  for (int i = 0; i < 6; ++i) {
    const double x = where.left() + (i + 0.5) * where.width() / 6;
    const auto upper = bright(x, where.top() + where.height() / 4);
    const auto lower = bright(x, where.top() + where.height() * 3 / 4);
    if (!upper || !lower || *upper == *lower) return std::nullopt;
    if (*upper) number |= 1 << i;
  }
  return number;
}

std::optional<int> frameShown(QtPreviewPlayer& player) {
  QGraphicsObject* item = player.videoItem();
  return readFrameNumber(player.widget()->grab().toImage(),
                         item->mapRectToScene(item->boundingRect()));
}

bool waitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

PlayerWithVideo::PlayerWithVideo(VideoKind kind, int seconds) {
  const auto path = makeTestVideo(folder.path(), kind, seconds);
  if (!path.empty()) video = QString::fromStdString(path.string());
  window.resize(950, 560);
  window.show();
}

bool PlayerWithVideo::playPast(double seconds) {
  player.loadAndPlay(video);
  return waitUntil([&] { return player.getPosition() > seconds; }, 10000);
}

}  // namespace qx::test
