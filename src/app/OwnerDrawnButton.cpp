#include "app/OwnerDrawnButton.h"

#include <qdrawutil.h>
#include <QPainter>

#include "project/NumberText.h"

namespace qx {

std::optional<QColor> gradientBandColour(QRgb key, int band) {
  const int i = band;
  switch (key) {
    case gradient::kBlue:
      return QColor(0, 199 - i, 255 - i);
    case gradient::kGreen:
      return QColor(0, 199 - i, 199 - i);
    case gradient::kGrey:
      return QColor(255 - i, 255 - i, 255 - i);
    case gradient::kRed:
      return QColor(255 - i, 0, 0);
    case gradient::kOlive:
      return QColor(0, 255 - i, 255 - i);
    default:
      return std::nullopt;
  }
}

void fillGradient(QPainter& painter, QSize size, QRgb key) {
  if (!gradientBandColour(key, 0)) return;
  // The band edges are computed in single precision, as the bands always were.
  const float step = 0.005f * static_cast<float>(size.height());
  for (int i = 0; i < 200; ++i) {
    const int top = roundToInt(static_cast<double>(step * static_cast<float>(i)));
    const int bottom = roundToInt(static_cast<double>(step * static_cast<float>(i + 1)));
    if (bottom > top)
      painter.fillRect(QRect(0, top, size.width() + 1, bottom - top), *gradientBandColour(key, i));
  }
}

OwnerDrawnButton::OwnerDrawnButton(const QString& caption, QRgb key, QColor textColour,
                                   QWidget* parent)
    : QPushButton(caption, parent), key_(key), textColour_(textColour) {}

void OwnerDrawnButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (isDown()) {
    fillGradient(painter, size(), gradient::kNone);
    qDrawWinPanel(&painter, rect(), palette(), true);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("Process"));
    return;
  }
  fillGradient(painter, size(), key_);
  painter.setPen(textColour_);
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
  if (hasFocus()) {
    // Reached with Tab: a dotted frame in the caption's colour shows where Space will act.
    QPen dots(textColour_, 1, Qt::DotLine);
    painter.setPen(dots);
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
  }
}

}  // namespace qx
