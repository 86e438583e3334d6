// The number reading is total and its renderings read back to what they show.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double v = qx::readNumber(text);
  if (!std::isfinite(v)) std::abort();
  (void)qx::readWholeNumber(text);
  (void)qx::readColour(text);
  const std::string pos = qx::positionText(v);
  if (qx::positionText(qx::readNumber(pos)) != pos) std::abort();
  for (int decimals : {0, 1, 3}) {
    const std::string masked = qx::maskText(v, decimals);
    if (qx::maskText(qx::readNumber(masked), decimals) != masked) std::abort();
  }
  return 0;
}
