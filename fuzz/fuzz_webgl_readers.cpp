// Any bytes must read as config.xml and as a Flash page, and give valid JSON text, without a
// crash or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "webgl/ConfigXmlReader.h"
#include "webgl/FlashPageReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qx::webgl::ConfigXml xml = qx::webgl::readConfigXml(bytes);
  qx::webgl::WebglConfig config;
  config.page = qx::webgl::readFlashPage(bytes);
  config.main = xml.main;
  config.hotSpots = xml.hotSpots;
  config.video = xml.movie;
  // The configuration stands inside a <script> element: it must never hold a "<".
  if (qx::webgl::configJson(config).find('<') != std::string::npos) std::abort();
  return 0;
}
