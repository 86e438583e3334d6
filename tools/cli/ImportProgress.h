#pragma once
// The import's progress for whoever runs it: "progress FRACTION SECONDS_LEFT" lines for a program
// (the window), or one line redrawn on a terminal for a person.
#include <chrono>
#include <iosfwd>

namespace qx::cli {

// The seconds left after `elapsed` seconds with `done` (0 to 1) done; -1 while too early to tell.
int secondsLeft(double done, double elapsed);

class ImportProgress {
 public:
  enum class Style { none, lines, terminal };
  ImportProgress(Style style, std::ostream& out, std::ostream& err);
  // The share done; shown at most four times a second.
  void operator()(double done);
  // The end of a successful import: "progress 1.000 0", or the terminal line ended.
  void finished();
  // A message is about to go to the terminal: the redrawn line is ended first.
  void interrupt();

 private:
  void show(double done, int left);

  Style style_;
  std::ostream& out_;
  std::ostream& err_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
  bool drawn_ = false;
};

}  // namespace qx::cli
