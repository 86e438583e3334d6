#include "project/OptionsFile.h"

#include <array>

#include "project/ChoiceLists.h"
#include "project/NumberText.h"
#include "project/TagValue.h"
#include "project/TextCodec.h"

namespace qx {
namespace {

const std::string kOptionsHeader = "Generatad by Velmora Vozaz Izuzizaz Azaziveve, d'not edit!";
const std::string kRule48(48, '-');

std::string tagged(const std::string& name, const std::string& value) {
  return "<" + name + ">" + value + "</" + name + ">";
}

int flag(int n) {
  return n != 0 ? 1 : 0;
}

}  // namespace

std::span<const std::string> optionTagNames() {
  static const std::array<std::string, 22> kNames = {"WINDOW",
                                                     "SMOOTH",
                                                     "CONTROLS",
                                                     "ZOOM",
                                                     "YAW",
                                                     "PITCH",
                                                     "TILT",
                                                     "AUDIO",
                                                     "HTMLBGCOLOR",
                                                     "HTMLTITLE",
                                                     "STARTBUFFERINGTIME",
                                                     "BORDER",
                                                     "VIEWMODE",
                                                     "PANNINGMODE",
                                                     "BLACKAREACOLOR",
                                                     "FLASHPLAYER",
                                                     "TOOLTIPHELP",
                                                     "HS_ICON",
                                                     "BALANCE",
                                                     "OPTIMIZE",
                                                     "HTML_QUALITY",
                                                     "ZOOMMAX"};
  return kNames;
}

std::vector<std::string> optionBlockLines(const ProjectSettings& s) {
  const auto n = [](long long v) { return integerText(v); };
  return {
      tagged("WINDOW", n(s.window)),
      tagged("SMOOTH", n(s.smooth)),
      tagged("CONTROLS", n(s.controls)),
      tagged("ZOOM", n(s.zoom)),
      tagged("YAW", n(s.yaw)),
      tagged("PITCH", n(s.pitch)),
      tagged("TILT", n(s.tilt)),
      tagged("AUDIO", n(s.audio)),
      tagged("HTMLBGCOLOR", colourText(s.htmlBgColor)),
      tagged("HTMLTITLE", s.htmlTitle),
      tagged("STARTBUFFERINGTIME", n(readWholeNumber(s.startBufferingTime))),
      tagged("BORDER", n(s.border)),
      tagged("VIEWMODE", n(s.viewMode)) + "  //   0 - classic, 1 - black areas",
      tagged("PANNINGMODE", n(s.panningMode)) + "  //   1 - classic, 2 - Half Area",
      tagged("BLACKAREACOLOR", colourText(s.blackAreaColor)),
      tagged("FLASHPLAYER", n(s.flashPlayer)) + "  //   0 - FP9, 1 - FP10",
      tagged("TOOLTIPHELP", n(s.tooltipHelp)),
      tagged("HS_ICON", s.hsIcon == 1 ? "1" : "2"),
      tagged("BALANCE", n(s.balance)),
      tagged("OPTIMIZE", n(s.optimize)),
      tagged("HTML_QUALITY", n(s.htmlQuality)),
      tagged("ZOOMMAX", n(s.zoomMax)),
  };
}

ProjectSettings applyOptionBlock(std::string_view text, ProjectSettings s,
                                 std::optional<int> zoomItemCount) {
  const TaggedValues values(text, optionTagNames());
  const auto value = [&](std::string_view name) { return values.value(name); };
  const auto number = [&](std::string_view name) { return readWholeNumber(value(name)); };
  const auto list = [&](std::string_view name, std::size_t count) {
    return fitListNumber(number(name), count);
  };

  const int zoomMax = number("ZOOMMAX");
  s.zoomMax = zoomMax > 0 ? zoomMax : 130;
  const int zoomCount = zoomItemCount.value_or(qx::zoomItemCount(s.zoomMax));

  s.window = list("WINDOW", windowItems().size());
  s.smooth = flag(number("SMOOTH"));
  s.controls = flag(number("CONTROLS"));
  s.zoom = fitListNumber(number("ZOOM"), static_cast<std::size_t>(zoomCount));
  s.yaw = list("YAW", yawItems().size());
  s.pitch = list("PITCH", pitchItems().size());
  s.tilt = list("TILT", tiltItems().size());
  s.audio = list("AUDIO", audioItems().size());
  s.htmlBgColor = readColour(value("HTMLBGCOLOR"));
  s.htmlTitle = std::string(trimSpaces(value("HTMLTITLE")));
  s.startBufferingTime = std::string(trimSpaces(value("STARTBUFFERINGTIME")));
  s.border = flag(number("BORDER"));
  s.viewMode = flag(number("VIEWMODE"));
  const int icon = number("HS_ICON");
  s.hsIcon = (icon == 0 || icon == 1) ? 1 : 2;
  const int panning = number("PANNINGMODE");
  s.panningMode = fitListNumber(panning == 0 ? 1 : panning, panningModeItems().size());
  s.blackAreaColor = readColour(value("BLACKAREACOLOR"));
  s.flashPlayer = list("FLASHPLAYER", flashPlayerItems().size());
  s.tooltipHelp = number("TOOLTIPHELP");
  s.balance = list("BALANCE", balanceItems().size());
  s.optimize = list("OPTIMIZE", optimizeItems().size());
  s.htmlQuality = list("HTML_QUALITY", qualityItems().size());
  return s;
}

std::string fileBytes(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return encodeFileText(text);
}

std::string writeOptionsFile(const ProjectSettings& settings) {
  std::vector<std::string> lines = {kOptionsHeader, kRule48};
  for (auto& line : optionBlockLines(settings)) lines.push_back(std::move(line));
  return fileBytes(lines);
}

ProjectSettings readOptionsFile(std::string_view bytes, ProjectSettings base) {
  const std::string text = foldClosingTags(decodeFileText(bytes), optionTagNames());
  return applyOptionBlock(text, std::move(base), std::nullopt);
}

std::filesystem::path optionsFilePath(const std::filesystem::path& executable) {
  return executable.parent_path() / (executable.stem().string() + ".ini");
}

std::optional<FileError> saveOptionsFile(const std::filesystem::path& path,
                                         const ProjectSettings& settings) {
  return writeFileReplacing(path, writeOptionsFile(settings));
}

Expected<ProjectSettings> loadOptionsFile(const std::filesystem::path& path, ProjectSettings base) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return base;
  auto bytes = readFileBytes(path);
  if (!bytes) return bytes.error();
  return readOptionsFile(bytes.value(), std::move(base));
}

}  // namespace qx
