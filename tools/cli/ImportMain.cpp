// qx_flash_hs-import: a camera's 360 video brought in as the FLV the page plays. A program of its
// own because it needs FFmpeg; qx_flash_hs-cli runs it for "import" and stays small.
#include "CompanionMain.h"

int main(int argc, char** argv) {
  constexpr std::string_view usage =
      "Usage: qx_flash_hs-import IN OUT.flv [--projection auto|equirect|eac|dual-fisheye|"
      "gopro-360]\n"
      "                          [--fov DEG] [--width N] [--progress-lines]\n"
      "       qx_flash_hs-import --probe IN\n"
      "  bring a 360 video in as an FLV the page plays: H.264 and AAC, equirectangular 2:1,\n"
      "  at most N wide (default 3840, 1024 to 4096); --fov is a dual fisheye lens's field of\n"
      "  view (default 190); --probe prints what the file holds, one key=value a line\n";
  return qx::cli::companionMain(argc, argv, "qx_flash_hs-import", QX_VERSION, usage,
                                qx::cli::runImport);
}
