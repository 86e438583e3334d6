#include "import/SphericalV1.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <fstream>
#include <string>

#include "media/Mp4Box.h"

namespace qx::import {
namespace {

constexpr std::array<std::uint8_t, 16> kSphericalUuid = {
    0xff, 0xcc, 0x82, 0x63, 0xf8, 0x55, 0x4a, 0x93, 0x88, 0x14, 0x58, 0x7a, 0x02, 0x52, 0x1f, 0xdd};

// The text of the element named `name` in any namespace prefix ("<GSpherical:Name>" or
// "<Name>"), trimmed; empty when absent.
std::string element(std::string_view xml, std::string_view name) {
  for (std::size_t at = 0; (at = xml.find(name, at)) != std::string_view::npos; at += name.size()) {
    const std::size_t end = at + name.size();
    if (at == 0 || end >= xml.size() || xml[end] != '>') continue;
    const char before = xml[at - 1];
    // "<Name>" or "<prefix:Name>", not "</Name>".
    std::size_t open = xml.rfind('<', at);
    if (open == std::string_view::npos || xml.substr(open, 2) == "</") continue;
    if (before != '<' && before != ':') continue;
    const std::size_t close = xml.find('<', end);
    if (close == std::string_view::npos) return {};
    std::string_view value = xml.substr(end + 1, close - end - 1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front())))
      value.remove_prefix(1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
      value.remove_suffix(1);
    return std::string(value);
  }
  return {};
}

int number(std::string_view xml, std::string_view name) {
  const std::string text = element(xml, name);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0 ? value : 0;
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool isVideoTrack(std::istream& in, const media::Mp4Box& trak) {
  const auto hdlr = media::findPath(in, trak.body, trak.end, {"mdia", "hdlr"});
  if (!hdlr || hdlr->bodySize() < 12) return false;
  const auto type = media::readBytes(in, hdlr->body + 8, 4);
  return type && std::string_view(reinterpret_cast<const char*>(type->data()), 4) == "vide";
}

}  // namespace

std::optional<SphericalMetadata> parseSphericalV1Xml(std::string_view xml) {
  if (lower(element(xml, "Spherical")) != "true") return std::nullopt;
  SphericalMetadata meta;
  const std::string projection = lower(element(xml, "ProjectionType"));
  // The form knows one projection; a missing type means it too.
  meta.projection = projection.empty() || projection == "equirectangular" ? Projection::equirect
                                                                          : Projection::unknown;
  const std::string stereo = lower(element(xml, "StereoMode"));
  meta.stereo = stereo == "top-bottom"   ? Stereo::topBottom
                : stereo == "left-right" ? Stereo::leftRight
                                         : Stereo::mono;
  const int croppedWidth = number(xml, "CroppedAreaImageWidthPixels");
  const int croppedHeight = number(xml, "CroppedAreaImageHeightPixels");
  const int fullWidth = number(xml, "FullPanoWidthPixels");
  const int fullHeight = number(xml, "FullPanoHeightPixels");
  // Only a cropped area that really is a part of the whole panorama means anything.
  if (croppedWidth > 0 && croppedHeight > 0 && fullWidth >= croppedWidth &&
      fullHeight >= croppedHeight && (fullWidth > croppedWidth || fullHeight > croppedHeight)) {
    const int left = number(xml, "CroppedAreaLeftPixels");
    const int top = number(xml, "CroppedAreaTopPixels");
    if (left + croppedWidth <= fullWidth && top + croppedHeight <= fullHeight) {
      // In the file's units; the caller scales to the frame (see PanoramaArea).
      meta.area = {fullWidth, fullHeight, left, top, croppedWidth, croppedHeight};
    }
  }
  return meta;
}

std::optional<SphericalMetadata> readSphericalV1(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const auto size = media::streamSize(in);
  if (!size) return std::nullopt;
  const auto moov = media::findBox(in, 0, *size, "moov");
  if (!moov) return std::nullopt;
  for (const media::Mp4Box& trak : media::childBoxes(in, moov->body, moov->end)) {
    if (!trak.is("trak") || !isVideoTrack(in, trak)) continue;
    for (const media::Mp4Box& box : media::childBoxes(in, trak.body, trak.end)) {
      if (!box.is("uuid") || box.userType != kSphericalUuid) continue;
      // The XML is a few hundred bytes; a larger claim is read only as far as the walker allows.
      const auto bytes =
          media::readBytes(in, box.body, std::min<std::uint64_t>(box.bodySize(), 65536));
      if (!bytes) return std::nullopt;
      return parseSphericalV1Xml(
          std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    }
  }
  return std::nullopt;
}

}  // namespace qx::import
