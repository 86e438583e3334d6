#include "publish/RufflePage.h"

#include <cstdlib>

#include "project/FileIo.h"
#include "project/TextCodec.h"

namespace qx {
namespace fs = std::filesystem;
namespace {

bool holdsRuffle(const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(folder / kRuffleScript, ec);
}

// Ruffle's own files: its scripts, the WebAssembly builds and the licences. Source maps and the
// npm package's description are of no use to a visitor.
bool isRuffleFile(const fs::path& name) {
  const std::string ext = asciiLower(name.extension().string());
  return ext == ".js" || ext == ".wasm" || name.filename().string().starts_with("LICENSE");
}

}  // namespace

std::optional<fs::path> findRuffleFolder(const fs::path& programFolder) {
  if (const char* dir = std::getenv("QX_RUFFLE_DIR"); dir && *dir) {
    if (holdsRuffle(dir)) return fs::path(dir);
    return std::nullopt;  // asked for this one: never fall back to another unseen
  }
  for (const fs::path& candidate :
       {programFolder / kRuffleFolderName,
        programFolder.parent_path() / "share" / "qx_flash_hs" / kRuffleFolderName})
    if (holdsRuffle(candidate)) return candidate;
  return std::nullopt;
}

bool needsRuffle(std::string_view page) {
  const std::string lower = asciiLower(page);
  return lower.find("application/x-shockwave-flash") != std::string::npos &&
         lower.find(kRuffleScript) == std::string::npos;
}

std::string withRuffleScript(std::string_view page, std::string_view scriptUrl) {
  const std::string_view eol = page.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
  const std::string line =
      "    <script src=\"" + std::string(scriptUrl) + "\"></script>" + std::string(eol);
  const std::size_t head = asciiLower(page).find("</head>");
  if (head == std::string::npos) return line + std::string(page);
  const std::size_t lineStart = page.rfind('\n', head);
  const std::size_t at = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  // A line of its own before the line that closes the head: every other byte stays as it was.
  return std::string(page.substr(0, at)) + line + std::string(page.substr(at));
}

void addRuffleToPage(const fs::path& page, const fs::path& ruffle, PublishReport& report) {
  const fs::path target = page.parent_path() / kRuffleFolderName;
  if (auto error = ensureFolderOfItsOwn(target)) {
    report.failures.push_back(std::move(*error));
    return;
  }
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(ruffle, ec)) {
    if (!entry.is_regular_file(ec) || !isRuffleFile(entry.path().filename())) continue;
    // Replaced only once copied whole, as the video is: a failed copy keeps the older Ruffle.
    const fs::path to = target / entry.path().filename();
    if (auto error = copyFileReplacing(entry.path(), to, LinkPolicy::replaceLink))
      report.failures.push_back(std::move(*error));
    else
      report.written.push_back(to);
  }
  if (ec) report.failures.push_back({ruffle, reasonText(ec)});

  auto bytes = readFileBytes(page);
  if (!bytes) {
    report.failures.push_back(bytes.error());
    return;
  }
  if (!needsRuffle(bytes.value())) return;  // it loads Ruffle already
  const std::string script = std::string(kRuffleFolderName) + "/" + std::string(kRuffleScript);
  if (auto error = writeFileReplacing(page, withRuffleScript(bytes.value(), script),
                                      LinkPolicy::replaceLink))
    report.failures.push_back(*error);
}

}  // namespace qx
