#include "app/StartArguments.h"

#include <array>

namespace qx {

namespace {

// Qt's own options that take a value (QGuiApplication's documentation lists them).
constexpr std::array kQtOptionsWithValue = {
    std::string_view("-platform"),        std::string_view("-platformpluginpath"),
    std::string_view("-platformtheme"),   std::string_view("-plugin"),
    std::string_view("-qwindowgeometry"), std::string_view("-qwindowicon"),
    std::string_view("-qwindowtitle"),    std::string_view("-style"),
    std::string_view("-stylesheet"),      std::string_view("-display"),
    std::string_view("-geometry"),        std::string_view("-title"),
};

bool isQtOptionWithValue(std::string_view arg) {
  if (arg.starts_with("--")) arg.remove_prefix(1);
  for (const auto option : kQtOptionsWithValue)
    if (arg == option) return true;
  return false;
}

}  // namespace

StartArguments readStartArguments(std::span<const std::string_view> args) {
  StartArguments result;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      return {StartArguments::Action::PrintHelp, {}, {}};
    } else if (!optionsEnded && arg == "--version") {
      return {StartArguments::Action::PrintVersion, {}, {}};
    } else if (!optionsEnded && isQtOptionWithValue(arg)) {
      ++i;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      // Qt's other options are switches (-reverse, -nograb, ...); it removes what it knows.
    } else if (!result.project.empty()) {
      return {StartArguments::Action::Refuse, {}, "one project at a time: " + std::string(arg)};
    } else {
      result.project = arg;
    }
  }
  return result;
}

std::string startUsage() {
  return "Usage: qx_flash_hs [PROJECT.pp]\n"
         "       qx_flash_hs --help | --version\n\n"
         "Opens the main window, with PROJECT.pp loaded when one is given.\n"
         "Publishing without a window: qx_flash_hs-cli --help\n";
}

}  // namespace qx
