#include "app/ImportProgram.h"

#include "media/VideoContent.h"
#include "platform/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <cmath>
#include <map>

namespace qx {

std::optional<ProbeFindings> parseProbe(const QByteArray& answer) {
  std::map<QByteArray, QString> fields;
  for (const QByteArray& line : answer.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0)
      fields[line.left(equals).trimmed()] = QString::fromUtf8(line.mid(equals + 1).trimmed());
  }
  const auto field = [&](const char* key) -> std::optional<QString> {
    const auto found = fields.find(key);
    if (found == fields.end()) return std::nullopt;
    return found->second;
  };
  const char* keys[] = {"container",   "video_codec", "width",           "height", "duration",
                        "audio_codec", "projection",  "projection_from", "stereo", "copy"};
  for (const char* key : keys)
    if (!field(key)) return std::nullopt;
  ProbeFindings f;
  bool widthRead = false, heightRead = false, durationRead = false;
  f.container = *field("container");
  f.videoCodec = *field("video_codec");
  f.width = field("width")->toInt(&widthRead);
  f.height = field("height")->toInt(&heightRead);
  f.duration = field("duration")->toDouble(&durationRead);
  f.audioCodec = *field("audio_codec");
  f.projection = *field("projection");
  f.projectionFrom = *field("projection_from");
  f.stereo = *field("stereo");
  f.copy = *field("copy") == QStringLiteral("yes");
  if (!widthRead || !heightRead || !durationRead || f.width <= 0 || f.height <= 0 ||
      !std::isfinite(f.duration) || f.duration < 0)
    return std::nullopt;
  return f;
}

std::optional<ImportProgress> parseProgressLine(const QByteArray& line) {
  const QList<QByteArray> words = line.simplified().split(' ');
  if (words.size() != 3 || words[0] != "progress") return std::nullopt;
  bool fractionRead = false, secondsRead = false;
  ImportProgress p{words[1].toDouble(&fractionRead), words[2].toInt(&secondsRead)};
  if (!fractionRead || !secondsRead || !std::isfinite(p.fraction)) return std::nullopt;
  p.fraction = std::clamp(p.fraction, 0.0, 1.0);
  if (p.secondsLeft < 0) p.secondsLeft = -1;
  return p;
}

QStringList probeArguments(const QString& source) {
  return {QStringLiteral("--probe"), source};
}

QStringList importArguments(const QString& source, const QString& flv,
                            const ImportChoices& choices) {
  QStringList args{source,
                   flv,
                   QStringLiteral("--projection"),
                   choices.projection,
                   QStringLiteral("--width"),
                   QString::number(choices.width)};
  if (choices.fov) args << QStringLiteral("--fov") << QString::number(*choices.fov);
  args << QStringLiteral("--progress-lines");
  return args;
}

QString importedFileName(const QString& source) {
  const QFileInfo info(source);
  const bool flv = info.suffix().compare(QStringLiteral("flv"), Qt::CaseInsensitive) == 0;
  const QString name = info.completeBaseName() + (flv ? QStringLiteral("-imported") : QString());
  return info.dir().filePath(name + QStringLiteral(".flv"));
}

QString timeLeftText(int secondsLeft) {
  if (secondsLeft < 0) return QStringLiteral("Estimating the time left");
  if (secondsLeft < 60) return QStringLiteral("About %1 s left").arg(secondsLeft);
  const int hours = secondsLeft / 3600, minutes = secondsLeft / 60 % 60, seconds = secondsLeft % 60;
  const QString clock =
      hours > 0 ? QStringLiteral("%1:%2:%3")
                      .arg(hours)
                      .arg(minutes, 2, 10, QLatin1Char('0'))
                      .arg(seconds, 2, 10, QLatin1Char('0'))
                : QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
  return clock + QStringLiteral(" left");
}

QString programMessage(const QByteArray& standardError, const QString& fallback) {
  QStringList lines;
  // A progress line redrawn with \r counts as a line of its own.
  for (const QByteArray& line : QByteArray(standardError).replace('\r', '\n').split('\n'))
    if (!line.trimmed().isEmpty()) lines << QString::fromUtf8(line.trimmed());
  if (lines.isEmpty()) return fallback;
  // The reason comes last; a long run of FFmpeg's own lines before it is not the user's concern.
  constexpr qsizetype kShown = 4;
  return lines.mid(std::max<qsizetype>(0, lines.size() - kShown)).join(u'\n');
}

bool needsImport(const QString& path) {
  const media::VideoContent content = media::readVideoContent(toPath(path));
  return content.container != media::Container::unreadable && !content.flashPlays;
}

bool importable(const QString& path) {
  const media::Container c = media::readVideoContent(toPath(path)).container;
  return c != media::Container::unreadable && c != media::Container::notVideo;
}

}  // namespace qx
