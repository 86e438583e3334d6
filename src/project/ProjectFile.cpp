#include "project/ProjectFile.h"

#include <vector>

#include "project/NumberText.h"
#include "project/OptionsFile.h"
#include "project/PathText.h"
#include "project/TagValue.h"
#include "project/TextCodec.h"

namespace qx {
namespace {

const std::string kHtml5Header = "Generatad by Velmora Rede5 Zorarozo Devodarov, d'not edit!";
const std::string kFlashHeader = "Generatad by Velmora Vozaz Izuzizaz Azaziveve, d'not edit!";
const std::string kRule48(48, '-');
const std::string kRule47(47, '-');

constexpr std::array<const char*, 6> kSlotTags = {"HSLINK", "HSTITLE", "HSPOS",
                                                  "HSYAW",  "HSTIME",  "HSSELF"};

std::string tagged(const std::string& name, const std::string& value) {
  return "<" + name + ">" + value + "</" + name + ">";
}

std::string slotTag(const char* name, int slot) {
  return std::string(name) + std::to_string(slot);
}

const std::vector<std::string>& projectTagNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all(optionTagNames().begin(), optionTagNames().end());
    all.push_back("VIDEO1");
    all.push_back("IFRAME");
    for (int slot = 1; slot <= HotSpotList::kSlots; ++slot)
      for (const char* t : kSlotTags) all.push_back(slotTag(t, slot));
    return all;
  }();
  return names;
}

}  // namespace

std::string writeProjectFile(const ProjectSettings& settings, const HotSpotList& hotSpots) {
  std::vector<std::string> lines = {kHtml5Header, kRule48, kFlashHeader, kRule48};
  for (auto& line : optionBlockLines(settings)) lines.push_back(std::move(line));
  lines.push_back(kRule47);
  lines.push_back(tagged("VIDEO1", std::string(trimSpaces(settings.videoPath))));
  lines.push_back(tagged("IFRAME", integerText(settings.iframe)));
  lines.push_back(kRule47);
  for (int slot = 1; slot <= HotSpotList::kSlots; ++slot) {
    const HotSpot& hs = hotSpots.at(slot);
    lines.push_back(tagged(slotTag("HSLINK", slot), std::string(trimSpacesAndNuls(hs.link))));
    lines.push_back(tagged(slotTag("HSTITLE", slot), std::string(trimSpacesAndNuls(hs.title))));
    lines.push_back(tagged(slotTag("HSPOS", slot), positionText(hs.pos)));
    lines.push_back(tagged(slotTag("HSYAW", slot), maskText(hs.yaw, 3)));
    lines.push_back(tagged(slotTag("HSTIME", slot), maskText(hs.time, 3)));
    lines.push_back(tagged(slotTag("HSSELF", slot), integerText(hs.self)));
  }
  return fileBytes(lines);
}

Project readProjectFile(std::string_view bytes, ProjectSettings settings, int zoomItemCount,
                        const std::filesystem::path& projectFolder) {
  const std::string text = foldClosingTags(decodeFileText(bytes), projectTagNames());
  const TaggedValues values(text, projectTagNames());
  const auto value = [&](const std::string& name) { return values.value(name); };

  Project p{applyOptionBlock(text, std::move(settings), zoomItemCount), {}};
  p.settings.videoPath = resolveVideoPath(trimSpaces(value("VIDEO1")), projectFolder);
  p.settings.iframe = readWholeNumber(value("IFRAME")) != 0 ? 1 : 0;
  for (int slot = 1; slot <= HotSpotList::kSlots; ++slot) {
    HotSpot hs;
    hs.link = std::string(trimSpacesAndNuls(value(slotTag("HSLINK", slot))));
    hs.title = std::string(trimSpacesAndNuls(value(slotTag("HSTITLE", slot))));
    hs.pos = readNumber(value(slotTag("HSPOS", slot)));
    hs.yaw = readWholeNumber(value(slotTag("HSYAW", slot)));
    hs.time = readNumber(value(slotTag("HSTIME", slot)));
    hs.self = readWholeNumber(value(slotTag("HSSELF", slot)));
    p.hotSpots.set(slot, std::move(hs));
  }
  return p;
}

std::filesystem::path projectSaveName(std::string_view chosen) {
  return pathFromUtf8(withSuffix(trimSpaces(chosen), ".pp"));
}

std::optional<FileError> saveProjectFile(const std::filesystem::path& path,
                                         const ProjectSettings& settings,
                                         const HotSpotList& hotSpots) {
  return writeFileReplacing(path, writeProjectFile(settings, hotSpots));
}

Expected<Project> loadProjectFile(const std::filesystem::path& path, ProjectSettings settings,
                                  int zoomItemCount) {
  auto bytes = readFileBytes(path);
  if (!bytes) return bytes.error();
  const auto folder = std::filesystem::absolute(path).parent_path();
  return readProjectFile(bytes.value(), std::move(settings), zoomItemCount, folder);
}

}  // namespace qx
