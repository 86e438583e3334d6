// IN OUT.flv: the import of a camera's video; --probe IN: what the import would find in it.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <ostream>

#include "Command.h"
#include "ImportProgress.h"
#include "Interrupt.h"
#include "import/Import.h"
#include "project/PathText.h"

namespace qx::cli {
namespace {

using namespace qx::import;

double numberArgument(const Arguments& a, std::string_view name, double fallback, double low,
                      double high) {
  const auto values = a.option(name);
  if (!values) return fallback;
  const std::string_view text = values->front();
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high))
    throw UsageError{std::string(name) + " takes a number from " + std::to_string(int(low)) +
                     " to " + std::to_string(int(high)) + ", not " + std::string(text)};
  return value;
}

int probe(std::string_view path, Streams io) {
  const ProbeResult r = probeSource(pathFromUtf8(path));
  if (!r.info) {
    printError(io, r.error);
    return kFailed;
  }
  const SourceInfo& i = *r.info;
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.3f", i.duration);
  io.out << "container=" << i.container << "\nvideo_codec=" << i.videoCodec << "\nwidth=" << i.width
         << "\nheight=" << i.height << "\nduration=" << duration << "\naudio_codec=" << i.audioCodec
         << "\nprojection=" << projectionName(i.projection)
         << "\nprojection_from=" << projectionFromName(i.projectionFrom)
         << "\nstereo=" << stereoName(i.stereo) << "\ncopy=" << (i.copied() ? "yes" : "no") << '\n';
  return kSuccess;
}

}  // namespace

int runImport(std::span<const std::string_view> args, Streams io) {
  static constexpr std::pair<std::string_view, int> kOptions[] = {
      {"--probe", 1}, {"--projection", 1}, {"--fov", 1}, {"--width", 1}, {"--progress-lines", 0}};
  const Arguments a(args, kOptions);
  if (const auto in = a.option("--probe")) {
    a.expectPositionals(0);
    return probe(in->front(), io);
  }
  a.expectPositionals(2);
  ImportOptions options;
  if (const auto p = a.option("--projection"); p && p->front() != "auto") {
    options.projection = projectionFromWord(p->front());
    if (!options.projection)
      throw UsageError{"--projection takes auto, " + projectionChoices() + ", not " +
                       std::string(p->front())};
  }
  options.fov = numberArgument(a, "--fov", kDefaultFov, 90, 360);
  options.maxWidth =
      static_cast<int>(numberArgument(a, "--width", kDefaultWidth, kMinWidth, kMaxWidth));

  const StopOnInterrupt stopOnInterrupt;
  ImportProgress progress(a.option("--progress-lines") ? ImportProgress::Style::lines
                          : isatty(STDERR_FILENO) != 0 ? ImportProgress::Style::terminal
                                                       : ImportProgress::Style::none,
                          io.out, io.err);
  ImportControl control;
  control.cancel = &interruptFlag();
  control.progress = [&](double done) { progress(done); };
  control.note = [&](const std::string& text) {
    progress.interrupt();
    printError(io, text);
  };
  const ImportResult result =
      importVideo(pathFromUtf8(a.positional(0)), pathFromUtf8(a.positional(1)), options, control);
  switch (result.status) {
    case ImportStatus::done:
      progress.finished();
      return kSuccess;
    case ImportStatus::cancelled:
      progress.interrupt();
      printError(io, "interrupted; nothing was written");
      break;
    case ImportStatus::failed:
      progress.interrupt();
      printError(io, result.error);
      break;
  }
  return kFailed;
}

}  // namespace qx::cli
