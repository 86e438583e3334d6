#pragma once
// Builds the user's guide as a PDF from chapters written in simple HTML. A chapter is a file
// NN-name.html; chapters are joined in file-name order, so a new chapter is a new file. Each
// chapter starts a new page with its <h1>; <h1> and <h2> headings make the table of contents.
// <img src="name.png"> finds the picture in the picture folders, the first folder first; a
// picture wider than the text is scaled down to the text's width.
#include <variant>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qx::guide {

struct Chapter {
  QString fileName;
  QString body;  // the HTML inside <body>, or the whole file when it has none
};

struct ContentsEntry {
  int level = 1;  // 1 for a chapter, 2 for a section
  QString title;
  int page = 0;  // counted from 1, the title page being page 1
};

struct Guide {
  QByteArray pdf;
  std::vector<ContentsEntry> contents;
  int pageCount = 0;
};

struct GuideError {
  QString message;
};

// The chapters of `folder` (every *.html) in file-name order; an error when there is none or
// one cannot be read.
std::variant<std::vector<Chapter>, GuideError> readChapters(const QString& folder);

// Lays out the title page (with the picture `cover` under the title, when given), the contents
// and the chapters on A4 pages and writes the PDF.
std::variant<Guide, GuideError> makeGuide(const std::vector<Chapter>& chapters,
                                          const QStringList& pictureFolders, const QString& title,
                                          const QString& subtitle, const QString& cover = {});

}  // namespace qx::guide
