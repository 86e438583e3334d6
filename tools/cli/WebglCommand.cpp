// webgl PAGE.html: the HTML5/WebGL version of a published page, written beside it, as the
// selector utility's Convert does.
#include <unistd.h>

#include <ostream>

#include "Command.h"
#include "Interrupt.h"
#include "project/PathText.h"
#include "webgl/WebglVersion.h"

namespace qx::cli {

int runWebgl(std::span<const std::string_view> args, Streams io) {
  static constexpr std::pair<std::string_view, int> kOptions[] = {{"--no-renditions", 0}};
  const Arguments a(args, kOptions);
  a.expectPositionals(1);
  const std::filesystem::path page = pathFromUtf8(a.positional(0));

  // From the start: reading a long video takes a while too.
  const StopOnInterrupt stopOnInterrupt;

  auto plan = webgl::planWebglVersion(page, &interruptFlag());
  if (!plan) {
    printError(io, interruptFlag() ? "interrupted; nothing was written" : plan.error().message());
    return kFailed;
  }
  webgl::WebglPlan ready = std::move(plan).value();
  if (a.option("--no-renditions")) webgl::dropLighterVideo(ready);
  for (const webgl::Check& c : ready.checks)
    io.out << webgl::levelText(c.level) << ": " << c.text << '\n';
  if (!webgl::canConvert(ready.checks)) {
    printError(io, "the video cannot be made ready for browsers");
    return kFailed;
  }
  const auto assets = webgl::embeddedWebAssets();
  if (!assets) {
    printError(io, "this build carries no WebGL page templates");
    return kFailed;
  }

  webgl::ConversionControl control;
  control.cancel = &interruptFlag();
  // A progress line only for a person watching; scripts get the results alone.
  if (isatty(STDERR_FILENO)) {
    control.progress = [&io, shown = -1](double done) mutable {
      const int percent = static_cast<int>(done * 100);
      if (percent == shown) return;
      shown = percent;
      io.err << "\rconverting: " << percent << "%" << (percent == 100 ? "\n" : "") << std::flush;
    };
  }
  const webgl::WebglOutcome outcome = webgl::writeWebglVersion(ready, *assets, control);

  for (const auto& path : outcome.written)
    io.out << "wrote " << shownText(pathToUtf8(path)) << '\n';
  switch (outcome.status) {
    case webgl::ConversionStatus::Done:
      return kSuccess;
    case webgl::ConversionStatus::Cancelled:
      printError(io, "interrupted; nothing was written");
      break;
    case webgl::ConversionStatus::Failed:
      printError(io, outcome.error);
      break;
  }
  return kFailed;
}

}  // namespace qx::cli
