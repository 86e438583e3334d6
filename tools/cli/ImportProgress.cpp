#include "ImportProgress.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

namespace qx::cli {

int secondsLeft(double done, double elapsed) {
  // The first moments (opening, the encoder's start) say little of the rate.
  if (done < 0.01 || elapsed < 1) return -1;
  if (done >= 1) return 0;
  return static_cast<int>(std::lround(elapsed * (1 - done) / done));
}

ImportProgress::ImportProgress(Style style, std::ostream& out, std::ostream& err)
    : style_(style), out_(out), err_(err) {}

void ImportProgress::operator()(double done) {
  const auto now = std::chrono::steady_clock::now();
  if (style_ == Style::none || (drawn_ && now - last_ < std::chrono::milliseconds(250))) return;
  last_ = now;
  show(done, secondsLeft(done, std::chrono::duration<double>(now - start_).count()));
}

void ImportProgress::finished() {
  if (style_ == Style::none) return;
  show(1, 0);
  interrupt();
}

void ImportProgress::interrupt() {
  if (style_ == Style::terminal && drawn_) err_ << '\n' << std::flush;
  drawn_ = false;
}

void ImportProgress::show(double done, int left) {
  if (style_ == Style::lines) {
    char fraction[16];
    std::snprintf(fraction, sizeof fraction, "%.3f", std::min(1.0, std::max(0.0, done)));
    out_ << "progress " << fraction << ' ' << left << '\n' << std::flush;
  } else {
    std::string text = "\rimporting: " + std::to_string(static_cast<int>(done * 100)) + "%";
    if (left > 0)
      text += left >= 60 ? ", about " + std::to_string(left / 60) + " min " +
                               std::to_string(left % 60) + " s left"
                         : ", about " + std::to_string(left) + " s left";
    // Spaces cover the end of a longer line drawn before.
    err_ << text << "          " << std::flush;
  }
  drawn_ = true;
}

}  // namespace qx::cli
