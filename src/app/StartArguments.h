#pragma once
// The desktop program's own command line: a project to open, --help and --version. Read before
// the window system is started, so that --help works without a display. Options meant for Qt
// (-platform, -style, ...) are left to it.
#include <span>
#include <string>
#include <string_view>

namespace qx {

struct StartArguments {
  enum class Action { OpenWindow, PrintHelp, PrintVersion, Refuse };
  Action action = Action::OpenWindow;
  std::string project;  // a .pp to load once the window shows; empty for none
  std::string message;  // what was wrong, for Refuse
};

StartArguments readStartArguments(std::span<const std::string_view> args);

// The text --help prints.
std::string startUsage();

}  // namespace qx
