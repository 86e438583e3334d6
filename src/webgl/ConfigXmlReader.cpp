#include "webgl/ConfigXmlReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "project/TextCodec.h"
#include "webgl/MarkupText.h"

namespace qx::webgl {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kMaxNotes = 20;
// Ids run from 1 to 10; a file with far more hot-spot lines is damaged, and what follows the
// first of them is not read.
constexpr std::size_t kMaxHotSpotLines = 100;

// Reads one <main> value into `slot`: an empty element gives null, an unreadable one keeps the
// default and is noted.
template <class T, class Convert>
void readMainValue(std::string_view block, std::string_view tag, std::optional<T>& slot,
                   Convert convert, std::vector<std::string>& notes) {
  const auto raw = elementText(block, tag);
  if (!raw) {
    // The publisher writes every value; one missing means a damaged or cut-short file.
    if (!block.empty())
      notes.push_back("config.xml: no <" + std::string(tag) + ">; the default is used");
    return;
  }
  const std::string value = decodeEntities(trimBlanks(*raw));
  if (value.empty()) {
    slot.reset();
    return;
  }
  if (const std::optional<T> converted = convert(value)) {
    slot = converted;
  } else {
    notes.push_back("config.xml: <" + std::string(tag) + "> \"" + value +
                    "\" cannot be read; the default is used");
  }
}

std::optional<double> number(const std::string& text) {
  return strictNumber(text);
}

std::optional<bool> flag(const std::string& text) {
  if (findNoCase(text, "true") == 0 && text.size() == 4) return true;
  if (findNoCase(text, "false") == 0 && text.size() == 5) return false;
  if (const auto n = strictNumber(text)) return *n != 0;
  return std::nullopt;
}

// "0xRRGGBB" (or "#RRGGBB", or the bare digits) as "#RRGGBB".
std::optional<std::string> colour(const std::string& text) {
  std::string_view digits = text;
  if (digits.starts_with("0x") || digits.starts_with("0X"))
    digits.remove_prefix(2);
  else if (digits.starts_with("#"))
    digits.remove_prefix(1);
  if (digits.size() != 6 || !std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c));
      }))
    return std::nullopt;
  std::string out = "#";
  for (const char c : digits) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

constexpr std::array<std::string_view, 7> kAttributes = {"id",   "yaw",   "pos", "time",
                                                         "self", "title", "link"};

// The attribute values of one hot-spot element. Older publishers wrote titles and links
// unescaped, so a value runs from its opening quote to the quote before the next known
// attribute (or before the element's closing ">"), whatever quotes it holds itself.
std::array<std::optional<std::string>, kAttributes.size()> hotSpotAttributes(
    std::string_view element) {
  std::array<std::size_t, kAttributes.size()> starts{};
  std::array<std::size_t, kAttributes.size()> valueStarts{};
  for (std::size_t a = 0; a < kAttributes.size(); ++a) {
    const std::string key = " " + std::string(kAttributes[a]) + "=\"";
    // The link is the last attribute written, so its last occurrence is the real one even when
    // the title holds ' link="' itself.
    std::size_t at = findNoCase(element, key);
    if (kAttributes[a] == "link")
      for (std::size_t later = at; later != std::string_view::npos;
           later = findNoCase(element, key, later + 1))
        at = later;
    starts[a] = at;
    valueStarts[a] = at == std::string_view::npos ? at : at + key.size();
  }
  std::array<std::optional<std::string>, kAttributes.size()> values;
  for (std::size_t a = 0; a < kAttributes.size(); ++a) {
    if (valueStarts[a] == std::string_view::npos) continue;
    std::size_t end = std::string_view::npos;
    for (std::size_t b = 0; b < kAttributes.size(); ++b)
      if (starts[b] != std::string_view::npos && starts[b] >= valueStarts[a])
        end = std::min(end, starts[b]);
    if (end == std::string_view::npos) {
      // The last attribute: up to the quote before the closing ">" of the start tag.
      std::size_t close = element.find("\">", valueStarts[a]);
      const std::size_t endTag = findNoCase(element, "</hotspot>", valueStarts[a]);
      if (endTag != std::string_view::npos) {
        const std::size_t lastClose = element.rfind("\">", endTag);
        if (lastClose != std::string_view::npos && lastClose >= valueStarts[a]) close = lastClose;
      }
      end = close;
    } else if (end > valueStarts[a] && element[end - 1] == '"') {
      --end;
    }
    if (end == std::string_view::npos || end < valueStarts[a]) continue;
    values[a] = decodeEntities(element.substr(valueStarts[a], end - valueStarts[a]));
  }
  return values;
}

std::optional<WebHotSpot> readHotSpot(std::string_view element, std::vector<std::string>& notes) {
  const auto v = hotSpotAttributes(element);
  const auto num = [&](std::size_t a) -> std::optional<double> {
    return v[a] ? strictNumber(*v[a]) : std::nullopt;
  };
  WebHotSpot h;
  std::string_view id = v[0] ? std::string_view(*v[0]) : std::string_view();
  if (findNoCase(id, "hotspot") == 0) id.remove_prefix(7);
  const auto idNumber = strictNumber(id);
  const auto pos = num(2);
  const auto time = num(3);
  if (!idNumber || *idNumber != std::floor(*idNumber) || *idNumber < 1 || *idNumber > 10) {
    notes.push_back("config.xml: a hot spot with the id \"" + (v[0] ? *v[0] : std::string()) +
                    "\" is left out (ids run from hotspot1 to hotspot10)");
    return std::nullopt;
  }
  h.id = static_cast<int>(*idNumber);
  const std::string name = "hot spot " + std::to_string(h.id);
  if (!pos || !time || *pos < 0 || *time <= 0) {
    notes.push_back("config.xml: " + name + " has no readable pos or time and is left out");
    return std::nullopt;
  }
  h.pos = *pos;
  h.time = *time;
  h.yaw = num(1).value_or(0);
  if (!num(1)) notes.push_back("config.xml: " + name + " has no readable yaw; 0 is used");
  h.self = num(4).value_or(0) == 1 ? 1 : 0;
  h.link = v[6] ? std::string(trimBlanks(*v[6])) : std::string();
  h.title = v[5] ? std::string(trimBlanks(*v[5])) : std::string();
  if (h.title.empty()) h.title = h.link;
  return h;
}

}  // namespace

ConfigXml readConfigXml(std::string_view bytes) {
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  const std::string text = decodeFileText(bytes);
  ConfigXml out;
  auto& m = out.main;

  std::size_t mainStart = findNoCase(text, "<main>");
  std::size_t mainEnd = findNoCase(text, "</main>", mainStart == std::string::npos ? 0 : mainStart);
  if (mainStart == std::string::npos) {
    out.notes.push_back("config.xml: no <main> block; the defaults are used");
    mainStart = mainEnd = 0;
  } else if (mainEnd == std::string::npos) {
    out.notes.push_back("config.xml ends inside its <main> block: the file is cut short");
  } else if (findNoCase(text, "</config>", mainEnd) == std::string::npos) {
    out.notes.push_back("config.xml has no </config>: the file may be cut short");
  }
  const std::string_view block = std::string_view(text).substr(
      mainStart, mainEnd == std::string::npos ? std::string::npos : mainEnd - mainStart);
  auto& notes = out.notes;
  readMainValue(block, "quality", m.smooth, flag, notes);
  readMainValue(block, "fov", m.fov, number, notes);
  readMainValue(block, "yaw", m.yaw, number, notes);
  readMainValue(block, "pitch", m.pitch, number, notes);
  readMainValue(block, "tilt", m.tilt, number, notes);
  readMainValue(block, "controls", m.controls, flag, notes);
  readMainValue(block, "volume", m.volume, number, notes);
  readMainValue(block, "StageColor", m.stageColor, colour, notes);
  readMainValue(block, "bufferingTime", m.bufferingTime, number, notes);
  readMainValue(block, "ViewMode", m.viewMode, number, notes);
  readMainValue(block, "PanningMode", m.panningMode, number, notes);
  readMainValue(block, "balance", m.balance, number, notes);
  readMainValue(block, "zoommax", m.zoomMax, number, notes);
  if (const auto movie = elementText(block, "movie"))
    out.movie = decodeEntities(trimBlanks(*movie));

  // Hot spots after the <main> block, in file order; a later line with an id already read wins
  // nothing: the first one is kept, as the viewer would show it.
  const std::size_t from = mainEnd == std::string::npos ? 0 : mainEnd;
  // The end tag found last is kept while it lies ahead: searched afresh for every start tag, a
  // file of start tags alone would be read in quadratic time.
  std::size_t endTag = findNoCase(text, "</hotspot>", from);
  std::size_t dropped = 0;
  std::size_t lines = 0;
  for (std::size_t at = findNoCase(text, "<hotspot", from); at != std::string::npos; ++lines) {
    if (lines == kMaxHotSpotLines) {
      out.notes.push_back("config.xml: more than " + std::to_string(kMaxHotSpotLines) +
                          " hot-spot lines; the rest are not read");
      break;
    }
    const std::size_t next = findNoCase(text, "<hotspot", at + 8);
    if (endTag != std::string::npos && endTag < at) endTag = findNoCase(text, "</hotspot>", at);
    std::size_t end = std::min(next, endTag == std::string::npos ? next : endTag + 10);
    const std::string_view element =
        std::string_view(text).substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (auto h = readHotSpot(element, out.notes)) {
      const bool seen = std::any_of(out.hotSpots.begin(), out.hotSpots.end(),
                                    [&](const WebHotSpot& o) { return o.id == h->id; });
      if (seen)
        out.notes.push_back("config.xml: hot spot " + std::to_string(h->id) +
                            " appears twice; the first one is used");
      else
        out.hotSpots.push_back(std::move(*h));
    }
    // A damaged file can hold thousands of unreadable lines; the author needs the first few.
    for (; out.notes.size() > kMaxNotes; ++dropped) out.notes.pop_back();
    at = next;
  }
  if (dropped > 0)
    out.notes.push_back("config.xml: " + std::to_string(dropped) + " more problems like these");
  return out;
}

}  // namespace qx::webgl
