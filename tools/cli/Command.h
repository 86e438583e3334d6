#pragma once
// The subcommands of qx_flash_hs-cli. Each lives in its own file and is listed once in main.cpp;
// a new one needs a run function, a usage text and a row there.
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProjectFile.h"

namespace qx::cli {

enum ExitCode : int { kSuccess = 0, kFailed = 1, kUsage = 2 };

// Thrown for arguments that do not fit the command; main prints the message and the usage.
struct UsageError {
  std::string message;
};

struct Streams {
  std::ostream& out;
  std::ostream& err;
  std::string_view program = "qx_flash_hs-cli";  // prefix of error messages
};

struct Command {
  std::string_view name;
  std::string_view usage;    // arguments after the name
  std::string_view summary;  // one line
  int (*run)(std::span<const std::string_view> args, Streams io);
};

// The arguments of one command: positionals in order, and options with their values.
class Arguments {
 public:
  // `options` maps each accepted option to the number of values it takes.
  Arguments(std::span<const std::string_view> args,
            std::span<const std::pair<std::string_view, int>> options);
  // Exactly `count` positionals, or a UsageError.
  void expectPositionals(std::size_t count) const;
  std::string_view positional(std::size_t i) const { return positionals_[i]; }
  // The values of an option, nullopt when it was not given.
  std::optional<std::vector<std::string_view>> option(std::string_view name) const;

 private:
  std::vector<std::string_view> positionals_;
  std::vector<std::pair<std::string_view, std::vector<std::string_view>>> options_;
};

// Loads a project as the window would with the default options, the zoom list being built from
// the project's own ZOOMMAX. Prints the file and the reason on failure.
std::optional<Project> loadProjectForCli(std::string_view path, Streams io);

// The program's name + ": " + text on the error stream.
void printError(Streams io, std::string_view text);

int runPublish(std::span<const std::string_view> args, Streams io);
int runResave(std::span<const std::string_view> args, Streams io);
int runSaveOptions(std::span<const std::string_view> args, Streams io);
int runShow(std::span<const std::string_view> args, Streams io);
// The conversion itself, in qx_flash_hs-webgl (the only program that loads FFmpeg).
int runWebgl(std::span<const std::string_view> args, Streams io);
// qx_flash_hs-cli webgl: hands the arguments to qx_flash_hs-webgl and returns its exit status.
int runWebglProgram(std::span<const std::string_view> args, Streams io);
// The import of a camera's video, in qx_flash_hs-import.
int runImport(std::span<const std::string_view> args, Streams io);
// qx_flash_hs-cli import: hands the arguments to qx_flash_hs-import likewise.
int runImportProgram(std::span<const std::string_view> args, Streams io);

}  // namespace qx::cli
