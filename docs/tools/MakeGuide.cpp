// Builds the user's guide: qx_guide_pdf OUTPUT.pdf CHAPTER_FOLDER PICTURE_FOLDER...
// The PDF replaces the old one only once it is complete.
#include <cstdio>
#include <string_view>

#include <QGuiApplication>

#include "GuideBuilder.h"
#include "project/FileIo.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.pdf CHAPTER_FOLDER [PICTURE_FOLDER...]\n", argv[0]);
    return 2;
  }
  QStringList pictureFolders;
  for (int i = 3; i < argc; ++i) pictureFolders << QString::fromLocal8Bit(argv[i]);

  auto chapters = qx::guide::readChapters(QString::fromLocal8Bit(argv[2]));
  if (const auto* error = std::get_if<qx::guide::GuideError>(&chapters)) {
    std::fprintf(stderr, "%s\n", qPrintable(error->message));
    return 1;
  }
  const auto guide = qx::guide::makeGuide(
      std::get<0>(chapters), pictureFolders, QStringLiteral("qx_flash_hs User's Guide"),
      QStringLiteral("Publishing 360-degree videos with hot spots on the web"),
      QStringLiteral("main-window.png"));
  if (const auto* error = std::get_if<qx::guide::GuideError>(&guide)) {
    std::fprintf(stderr, "%s\n", qPrintable(error->message));
    return 1;
  }
  const QByteArray& pdf = std::get<0>(guide).pdf;
  if (const auto failed =
          qx::writeFileReplacing(argv[1], std::string_view(pdf.constData(), pdf.size()))) {
    std::fprintf(stderr, "%s\n", failed->message().c_str());
    return 1;
  }
  std::printf("%s: %d pages\n", argv[1], std::get<0>(guide).pageCount);
  return 0;
}
