#include "FakeImportProgram.h"

#include <fstream>

namespace qx::test {

std::filesystem::path writeFakeImportProgram(const std::filesystem::path& folder,
                                             const FakeImport& fake) {
  const auto program = folder / "qx_flash_hs-import";
  const std::string here = folder.string();
  std::ofstream script(program);
  script << "#!/bin/sh\n"
         << "if [ \"$1\" = --probe ]; then\n";
  if (!fake.probeError.empty())
    script << "  echo 'qx_flash_hs-import: " << fake.probeError << "' >&2; exit 1\n";
  script
      << "  printf 'container=mov\\nvideo_codec=hevc\\nwidth=512\\nheight=256\\nduration=1.5\\n'\n"
      << "  printf 'audio_codec=aac\\nprojection=" << fake.projection
      << "\\nprojection_from=metadata\\nstereo=" << fake.stereo << "\\ncopy=no\\n'\n"
      << "  exit 0\nfi\n"
      << "echo \"$@\" > '" << here << "/arguments'\n"
      << "part=\"$2.part\"\n"
      << "trap 'rm -f \"$part\"; touch \"" << here << "/terminated\"; exit 143' TERM\n"
      << ": > \"$part\"\n"
      << "echo 'not a progress line'\n"
      << "echo 'progress 0.000 -1'\n"
      << "i=1\nwhile [ $i -le " << fake.steps << " ]; do\n"
      << "  sleep " << fake.stepSeconds << "\n"
      << "  printf 'progress 0.%03d %d\\n' $((i * 900 / " << fake.steps << ")) $((" << fake.steps
      << " - i))\n"
      << "  i=$((i + 1))\ndone\n";
  if (!fake.importError.empty())
    script << "rm -f \"$part\"; echo 'qx_flash_hs-import: " << fake.importError
           << "' >&2; exit 1\n";
  if (fake.outputFrom.empty())
    script << "echo FLV > \"$part\"\n";
  else
    script << "cat '" << fake.outputFrom.string() << "' > \"$part\"\n";
  script << "mv \"$part\" \"$2\"\n"
         << "echo 'progress 1.000 0'\nexit 0\n";
  script.close();
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  return program;
}

}  // namespace qx::test
