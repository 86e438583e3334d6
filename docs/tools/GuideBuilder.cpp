#include "GuideBuilder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace qx::guide {

namespace {

// A4 with 20 mm margins at the sides and a strip at the foot for the page number.
constexpr double kSideMarginMm = 20;
constexpr double kTopMarginMm = 18;
constexpr double kBottomMarginMm = 14;
constexpr double kFooterMm = 10;
// Pictures are measured in pixels of a 96 dpi screen, as the text layout measures them.
constexpr double kPicturePixelsPerMm = 96 / 25.4;

const char* const kStyleSheet = R"(
body { font-family: "DejaVu Sans"; font-size: 10pt; }
h1 { font-size: 20pt; color: #1a3a8a; margin-top: 0px; margin-bottom: 14px; }
h2 { font-size: 14pt; color: #1a3a8a; margin-top: 18px; margin-bottom: 8px; }
h3 { font-size: 11pt; margin-top: 12px; margin-bottom: 6px; }
p { margin-top: 0px; margin-bottom: 8px; }
ul, ol { margin-top: 0px; margin-bottom: 8px; }
li { margin-bottom: 3px; }
table { margin-top: 2px; margin-bottom: 10px; border-color: #777777; }
td, th { padding: 4px; }
th { background-color: #d8dff0; text-align: left; }
pre { font-family: "DejaVu Sans Mono"; font-size: 9pt; margin-left: 16px; margin-bottom: 8px; }
code, .mono { font-family: "DejaVu Sans Mono"; font-size: 9pt; }
.note { background-color: #fff6d0; }
.caption { font-size: 9pt; color: #444444; margin-bottom: 14px; }
.title { font-size: 30pt; font-weight: bold; color: #1a3a8a; }
.subtitle { font-size: 14pt; color: #333333; }
.contents-title { font-size: 20pt; font-weight: bold; color: #1a3a8a; margin-bottom: 14px; }
)";

QString escaped(const QString& text) {
  return text.toHtmlEscaped();
}

// Every <img src="..."> of the HTML.
QStringList pictureNames(const QString& html) {
  static const QRegularExpression image(QStringLiteral(R"re(<img\b[^>]*\bsrc\s*=\s*"([^"]+)")re"),
                                        QRegularExpression::CaseInsensitiveOption);
  QStringList names;
  for (auto it = image.globalMatch(html); it.hasNext();) names << it.next().captured(1);
  names.removeDuplicates();
  return names;
}

std::optional<QImage> findPicture(const QString& name, const QStringList& folders) {
  for (const QString& folder : folders) {
    const QString path = QDir(folder).filePath(name);
    if (QFile::exists(path)) {
      QImage picture(path);
      if (!picture.isNull()) return picture;
    }
  }
  return std::nullopt;
}

// Gives every picture wider than the text a width attribute of the text's width.
QString fitPictures(QString html, const std::map<QString, QImage>& pictures, int textWidth) {
  static const QRegularExpression image(QStringLiteral(R"re(<img\b([^>]*)>)re"),
                                        QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression source(QStringLiteral(R"re(\bsrc\s*=\s*"([^"]+)")re"));
  static const QRegularExpression width(QStringLiteral(R"re(\bwidth\s*=)re"));
  QString result;
  qsizetype done = 0;
  for (auto it = image.globalMatch(html); it.hasNext();) {
    const auto match = it.next();
    result += html.mid(done, match.capturedStart() - done);
    QString tag = match.captured(0);
    const auto found = pictures.find(source.match(tag).captured(1));
    if (found != pictures.end() && !width.match(tag).hasMatch() &&
        found->second.width() > textWidth)
      tag.insert(4, QStringLiteral(" width=\"%1\"").arg(textWidth));
    result += tag;
    done = match.capturedEnd();
  }
  return result + html.mid(done);
}

QString contentsHtml(const std::vector<ContentsEntry>& contents) {
  QString html = QStringLiteral(
      "<p class=\"contents-title\" style=\"page-break-before: always\">Contents</p>"
      "<table width=\"100%\" cellspacing=\"0\">");
  for (const ContentsEntry& entry : contents) {
    const QString indent =
        entry.level == 1 ? QString() : QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
    const QString weight = entry.level == 1 ? QStringLiteral("bold") : QStringLiteral("normal");
    html += QStringLiteral(
                "<tr><td style=\"font-weight: %1; padding: 1px\">%2%3</td>"
                "<td align=\"right\" style=\"font-weight: %1; padding: 1px\">%4</td></tr>")
                .arg(weight, indent, escaped(entry.title), QString::number(entry.page));
  }
  return html + QStringLiteral("</table>");
}

struct Layout {
  QSizeF page;  // the text area of one page, in the writer's device pixels
  std::vector<ContentsEntry> contents;
  int pageCount = 0;
};

Layout layOut(QTextDocument& document, QPdfWriter& writer, const QString& html) {
  document.documentLayout()->setPaintDevice(&writer);
  document.setHtml(html);
  const double footer = kFooterMm * writer.resolution() / 25.4;
  Layout layout;
  layout.page = QSizeF(writer.width(), writer.height() - footer);
  document.setPageSize(layout.page);
  layout.pageCount = document.pageCount();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 1 || level > 2) continue;
    const QRectF place = document.documentLayout()->blockBoundingRect(block);
    layout.contents.push_back(
        {level, block.text().simplified(), int(place.top() / layout.page.height()) + 1});
  }
  return layout;
}

void print(QTextDocument& document, QPdfWriter& writer, const Layout& layout,
           const QString& title) {
  QPainter painter(&writer);
  QFont footerFont(QStringLiteral("DejaVu Sans"), 8);
  for (int page = 0; page < layout.pageCount; ++page) {
    if (page > 0) writer.newPage();
    const QRectF area(QPointF(0, page * layout.page.height()), layout.page);
    painter.save();
    painter.setClipRect(QRectF(QPointF(0, 0), layout.page));
    painter.translate(0, -area.top());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = area;
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    if (page == 0) continue;  // the title page carries no number
    painter.setFont(footerFont);
    painter.setPen(QColor(90, 90, 90));
    const QRectF foot(0, layout.page.height(), layout.page.width(),
                      writer.height() - layout.page.height());
    painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, title);
    painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, QString::number(page + 1));
  }
}

}  // namespace

std::variant<std::vector<Chapter>, GuideError> readChapters(const QString& folder) {
  const QDir dir(folder);
  const QStringList names =
      dir.entryList({QStringLiteral("*.html")}, QDir::Files | QDir::Readable, QDir::Name);
  if (names.isEmpty()) return GuideError{QStringLiteral("no chapter (*.html) in ") + folder};
  static const QRegularExpression body(
      QStringLiteral(R"re(<body[^>]*>(.*)</body>)re"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  std::vector<Chapter> chapters;
  for (const QString& name : names) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
      return GuideError{file.fileName() + QStringLiteral(": ") + file.errorString()};
    const QString html = QString::fromUtf8(file.readAll());
    const auto match = body.match(html);
    chapters.push_back({name, match.hasMatch() ? match.captured(1) : html});
  }
  return chapters;
}

std::variant<Guide, GuideError> makeGuide(const std::vector<Chapter>& chapters,
                                          const QStringList& pictureFolders, const QString& title,
                                          const QString& subtitle, const QString& cover) {
  QString titlePage = QStringLiteral(
                          "<p style=\"margin-top: %3px\" class=\"title\" align=\"center\">%1</p>"
                          "<p class=\"subtitle\" align=\"center\">%2</p>")
                          .arg(escaped(title), escaped(subtitle), cover.isEmpty() ? "240" : "60");
  if (!cover.isEmpty())
    titlePage +=
        QStringLiteral("<p align=\"center\" style=\"margin-top: 40px\"><img src=\"%1\"></p>")
            .arg(cover.toHtmlEscaped());

  // The title page is searched for its picture like a chapter.
  std::vector<Chapter> parts{{QStringLiteral("title page"), titlePage}};
  parts.insert(parts.end(), chapters.begin(), chapters.end());
  std::map<QString, QImage> pictures;
  for (const Chapter& part : parts)
    for (const QString& name : pictureNames(part.body)) {
      if (pictures.count(name)) continue;
      auto picture = findPicture(name, pictureFolders);
      if (!picture)
        return GuideError{part.fileName + QStringLiteral(": no picture ") + name +
                          QStringLiteral(" in ") + pictureFolders.join(QStringLiteral(", "))};
      pictures.emplace(name, std::move(*picture));
    }
  QString body;
  for (const Chapter& chapter : chapters)
    body += QStringLiteral("<div style=\"page-break-before: always\">") + chapter.body +
            QStringLiteral("</div>");
  const int textWidth = int(std::floor((210 - 2 * kSideMarginMm) * kPicturePixelsPerMm));
  titlePage = fitPictures(titlePage, pictures, textWidth);
  body = fitPictures(body, pictures, textWidth);

  QBuffer output;
  output.open(QIODevice::WriteOnly);
  QPdfWriter writer(&output);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("qx_flash_hs guide builder"));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(kSideMarginMm, kTopMarginMm, kSideMarginMm, kBottomMarginMm),
                        QPageLayout::Millimeter);

  QTextDocument document;
  document.setDefaultStyleSheet(QString::fromUtf8(kStyleSheet));
  document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  for (const auto& [name, picture] : pictures)
    document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
  // The contents' own length decides where the chapters start: lay out until the page numbers
  // no longer move.
  Layout layout;
  std::vector<ContentsEntry> contents;
  for (int pass = 0; pass < 4; ++pass) {
    layout = layOut(document, writer, titlePage + contentsHtml(contents) + body);
    if (pass > 0 && layout.contents.size() == contents.size() &&
        std::equal(contents.begin(), contents.end(), layout.contents.begin(),
                   [](const ContentsEntry& a, const ContentsEntry& b) { return a.page == b.page; }))
      break;
    contents = layout.contents;
  }
  print(document, writer, layout, title);
  output.close();
  return Guide{output.data(), layout.contents, layout.pageCount};
}

}  // namespace qx::guide
