#pragma once
// The window's side of the import program (qx_flash_hs-import): what its --probe answer and its
// progress lines say, the arguments of an import, and where the FLV goes. The program runs in a
// process of its own, so the window itself never loads FFmpeg.
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qx {

// What `--probe` found, one field a line of its answer.
struct ProbeFindings {
  QString container;
  QString videoCodec;
  int width = 0;
  int height = 0;
  double duration = 0;  // 0 when unknown
  QString audioCodec;   // "none" when the video has no sound
  QString projection;   // "equirect", "eac", "dual-fisheye", "gopro-360" or "unknown"
  QString projectionFrom;
  QString stereo;     // "mono", "top-bottom" or "left-right"
  bool copy = false;  // the streams go into the FLV as they are
};

// The findings, or nothing when the answer lacks a field or a number does not read.
[[nodiscard]] std::optional<ProbeFindings> parseProbe(const QByteArray& answer);

struct ImportProgress {
  double fraction = 0;   // 0..1
  int secondsLeft = -1;  // -1 while unknown
};

// One line "progress FRACTION SECONDS_LEFT"; nothing for any other line.
[[nodiscard]] std::optional<ImportProgress> parseProgressLine(const QByteArray& line);

// The projections the program takes, in the order the dialog offers them.
inline const QStringList kProjections{QStringLiteral("equirect"), QStringLiteral("eac"),
                                      QStringLiteral("dual-fisheye"), QStringLiteral("gopro-360")};

struct ImportChoices {
  QString projection = QStringLiteral("auto");
  int width = 3840;
  std::optional<int> fov;  // lens field of view, dual fisheye only
};

QStringList probeArguments(const QString& source);
QStringList importArguments(const QString& source, const QString& flv,
                            const ImportChoices& choices);

// NAME.flv beside NAME.mp4; an FLV the page cannot play becomes NAME-imported.flv, so that the
// import never writes over its own source.
QString importedFileName(const QString& source);

// "1:05 left", "about 2 s left", or "estimating the time left" while unknown.
QString timeLeftText(int secondsLeft);

// The program's own reason from what it wrote on stderr: its last non-empty lines, or `fallback`
// when it wrote nothing.
QString programMessage(const QByteArray& standardError, const QString& fallback);

// Whether a chosen file goes through the import: it can be read and the Flash page does not play
// it as it is (a file that is no video is then named so by the program). A file that cannot be
// read at all is taken as it is, as before: the publish check names it.
[[nodiscard]] bool needsImport(const QString& path);
// Whether the import can make an FLV of a file the page refused: a video, not a file that is no
// video or cannot be read.
[[nodiscard]] bool importable(const QString& path);

}  // namespace qx
