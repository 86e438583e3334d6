#include "publish/ViewerSelection.h"

#include <algorithm>
#include <array>

#include "project/NumberText.h"
#include "project/TextCodec.h"
#include "resources/Resources.h"

namespace qx {
namespace {

struct SizeTexts {
  std::string_view width, height;
};

// Index 2 is a 300-wide stage shown in a 305-wide object: the page has always been so.
constexpr std::array<SizeTexts, 13> kSizes = {{{"266", "200"},
                                               {"305", "230"},
                                               {"320", "480"},
                                               {"400", "300"},
                                               {"480", "360"},
                                               {"480", "800"},
                                               {"600", "400"},
                                               {"640", "480"},
                                               {"700", "300"},
                                               {"800", "480"},
                                               {"800", "600"},
                                               {"1000", "600"},
                                               {"1200", "720"}}};

}  // namespace

ViewerChoice selectViewer(int playerType, int sizeIndex, bool customSize,
                          std::string_view customWidth, std::string_view customHeight) {
  if (playerType < 1 || playerType > 3) playerType = 1;
  ViewerChoice choice;
  choice.resourceName = "viewer" + std::to_string(100 * playerType + std::max(sizeIndex, 0));
  if (sizeIndex >= 1 && sizeIndex <= static_cast<int>(kSizes.size())) {
    const SizeTexts& size = kSizes[static_cast<std::size_t>(sizeIndex - 1)];
    choice.widthText = size.width;
    choice.heightText = size.height;
  }
  if (customSize && readNumber(customWidth) > 0 && readNumber(customHeight) > 0) {
    choice.widthText = trimSpaces(customWidth);
    choice.heightText = trimSpaces(customHeight);
  }
  return choice;
}

ViewerChoice selectViewer(const ProjectSettings& settings) {
  return selectViewer(settings.flashPlayer, settings.window, settings.customSize != 0,
                      settings.customWidth, settings.customHeight);
}

std::span<const std::byte> viewerBytes(std::string_view resourceName) {
  return findResource("RCDATA", resourceName).value_or(std::span<const std::byte>{});
}

std::optional<FileError> writeViewerSwf(const std::filesystem::path& folder,
                                        std::string_view resourceName) {
  const auto bytes = viewerBytes(resourceName);
  return writeFileReplacing(folder / kViewerFileName,
                            {reinterpret_cast<const char*>(bytes.data()), bytes.size()},
                            LinkPolicy::replaceLink);
}

}  // namespace qx
