// qx_flash_hs-webgl: the HTML5/WebGL version of a published page. A program of its own because
// it is the one that needs FFmpeg; qx_flash_hs-cli runs it for "webgl" and stays small.
#include "CompanionMain.h"

int main(int argc, char** argv) {
  constexpr std::string_view usage =
      "Usage: qx_flash_hs-webgl [--no-renditions] PAGE.html\n"
      "  write the HTML5/WebGL version of a published page and its selector page beside it;\n"
      "  a video wider than 1920 also gets a 1920-wide copy unless --no-renditions is given\n";
  return qx::cli::companionMain(argc, argv, "qx_flash_hs-webgl", QX_VERSION, usage,
                                qx::cli::runWebgl);
}
