#include "import/Projection.h"

#include <array>
#include <utility>

namespace qx::import {
namespace {

constexpr std::array<std::pair<Projection, std::string_view>, 4> kChoices = {{
    {Projection::equirect, "equirect"},
    {Projection::eac, "eac"},
    {Projection::dualFisheye, "dual-fisheye"},
    {Projection::gopro360, "gopro-360"},
}};

}  // namespace

std::string_view projectionName(Projection p) {
  for (const auto& [value, word] : kChoices)
    if (value == p) return word;
  return "unknown";
}

std::string_view projectionFromName(ProjectionFrom f) {
  switch (f) {
    case ProjectionFrom::metadata:
      return "metadata";
    case ProjectionFrom::layout:
      return "layout";
    case ProjectionFrom::aspect:
      return "aspect";
    case ProjectionFrom::none:
      break;
  }
  return "none";
}

std::string_view stereoName(Stereo s) {
  switch (s) {
    case Stereo::topBottom:
      return "top-bottom";
    case Stereo::leftRight:
      return "left-right";
    case Stereo::mono:
      break;
  }
  return "mono";
}

std::optional<Projection> projectionFromWord(std::string_view word) {
  for (const auto& [value, name] : kChoices)
    if (name == word) return value;
  return std::nullopt;
}

std::string projectionChoices() {
  std::string text;
  for (const auto& [value, name] : kChoices) text += (text.empty() ? "" : ", ") + std::string(name);
  return text;
}

}  // namespace qx::import
