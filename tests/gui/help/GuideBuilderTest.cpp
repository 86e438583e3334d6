// The user's guide builder: chapters in file-name order, pictures from the picture folders, the
// contents with the pages the chapters really start on, and a readable error for a lost picture.
#include <fstream>

#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "GuideBuilder.h"
#include "common/TempFolder.h"

namespace {

using namespace qx::guide;

void writeText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

QString folderOf(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

std::vector<Chapter> chaptersOf(const TempFolder& folder) {
  auto read = readChapters(folderOf(folder.path()));
  EXPECT_TRUE(std::holds_alternative<std::vector<Chapter>>(read));
  return std::get<std::vector<Chapter>>(read);
}

// The page count that the PDF itself declares.
int declaredPages(const QByteArray& pdf) {
  const auto match =
      QRegularExpression(R"(/Type\s*/Pages\b[^>]*/Count\s+(\d+))").match(QString::fromLatin1(pdf));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST(GuideBuilder, ChaptersJoinInFileNameOrderWithTheirPictures) {
  TempFolder chapters;
  TempFolder pictures;
  TempFolder rendered;
  writeText(chapters.path() / "70-projects.html", "<h1>Projects</h1><p>Saving.</p>");
  writeText(chapters.path() / "10-start.html",
            "<html><head><title>x</title></head><body><h1>Start</h1><h2>First steps</h2>"
            "<p><img src=\"window.png\"></p></body></html>");
  writeText(chapters.path() / "60-html5.html",
            "<h1>The HTML5 version</h1><p><img src=\"wide.png\"></p>");
  writeText(chapters.path() / "notes.txt", "not a chapter");
  QImage(300, 200, QImage::Format_RGB32).save(folderOf(pictures.path() / "window.png"));
  QImage(2000, 100, QImage::Format_RGB32).save(folderOf(rendered.path() / "wide.png"));

  const auto read = chaptersOf(chapters);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].fileName, "10-start.html");
  EXPECT_EQ(read[1].fileName, "60-html5.html");
  EXPECT_EQ(read[2].fileName, "70-projects.html");
  EXPECT_FALSE(read[0].body.contains("<title>"));  // only what is inside <body>

  const auto made =
      makeGuide(read, {folderOf(rendered.path()), folderOf(pictures.path())}, "Guide", "Sub");
  ASSERT_TRUE(std::holds_alternative<Guide>(made))
      << std::get<GuideError>(made).message.toStdString();
  const Guide& guide = std::get<Guide>(made);
  EXPECT_TRUE(guide.pdf.startsWith("%PDF-"));
  EXPECT_EQ(declaredPages(guide.pdf), guide.pageCount);
  ASSERT_EQ(guide.contents.size(), 4u);
  EXPECT_EQ(guide.contents[0].title, "Start");
  EXPECT_EQ(guide.contents[1].title, "First steps");
  EXPECT_EQ(guide.contents[1].level, 2);
  EXPECT_EQ(guide.contents[2].title, "The HTML5 version");
  EXPECT_EQ(guide.contents[3].title, "Projects");
  // Title page, contents, then every chapter on a page of its own.
  EXPECT_EQ(guide.contents[0].page, 3);
  EXPECT_EQ(guide.contents[1].page, 3);
  EXPECT_EQ(guide.contents[2].page, 4);
  EXPECT_EQ(guide.contents[3].page, 5);
  EXPECT_EQ(guide.pageCount, 5);
}

TEST(GuideBuilder, LongContentsStillPointAtTheRightPages) {
  TempFolder chapters;
  for (int i = 10; i < 40; ++i)
    writeText(chapters.path() / (std::to_string(i) + "-chapter.html"),
              "<h1>Chapter " + std::to_string(i) +
                  "</h1><h2>A</h2><h2>B</h2><h2>C</h2><h2>D</h2><h2>E</h2><p>Text.</p>");
  const auto made = makeGuide(chaptersOf(chapters), {}, "Guide", "Sub");
  ASSERT_TRUE(std::holds_alternative<Guide>(made));
  const Guide& guide = std::get<Guide>(made);
  ASSERT_EQ(guide.contents.size(), 180u);
  // 180 lines of contents take several pages; the chapters follow them one page each.
  const int firstChapter = guide.contents.front().page;
  EXPECT_GT(firstChapter, 3);
  for (std::size_t i = 0; i < guide.contents.size(); i += 6)
    EXPECT_EQ(guide.contents[i].page, firstChapter + int(i / 6)) << i;
  EXPECT_EQ(guide.pageCount, firstChapter + 29);
  EXPECT_EQ(declaredPages(guide.pdf), guide.pageCount);
}

TEST(GuideBuilder, MissingPicturesAndChaptersAreNamed) {
  TempFolder chapters;
  TempFolder pictures;
  EXPECT_TRUE(std::holds_alternative<GuideError>(readChapters(folderOf(chapters.path()))));

  writeText(chapters.path() / "30-window.html", "<h1>Window</h1><img src=\"main-window.png\">");
  const auto made = makeGuide(chaptersOf(chapters), {folderOf(pictures.path())}, "Guide", "Sub");
  ASSERT_TRUE(std::holds_alternative<GuideError>(made));
  const QString message = std::get<GuideError>(made).message;
  EXPECT_TRUE(message.contains("30-window.html")) << message.toStdString();
  EXPECT_TRUE(message.contains("main-window.png")) << message.toStdString();

  // The cover picture is looked for like the chapters' pictures.
  QImage(300, 200, QImage::Format_RGB32).save(folderOf(pictures.path() / "main-window.png"));
  ASSERT_TRUE(std::holds_alternative<Guide>(
      makeGuide(chaptersOf(chapters), {folderOf(pictures.path())}, "Guide", "Sub")));
  const auto noCover =
      makeGuide(chaptersOf(chapters), {folderOf(pictures.path())}, "Guide", "Sub", "cover.png");
  ASSERT_TRUE(std::holds_alternative<GuideError>(noCover));
  EXPECT_TRUE(std::get<GuideError>(noCover).message.startsWith("title page: no picture cover.png"));
}

}  // namespace
