#include "preview/TransportIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qx {
namespace {

// The speaker shared by Sound and Muted: a box and its cone, on the left half.
QPainterPath speaker() {
  QPainterPath path;
  path.addPolygon(QPolygonF{{1.5, 6}, {4.5, 6}, {8.5, 2.5}, {8.5, 13.5}, {4.5, 10}, {1.5, 10}});
  path.closeSubpath();
  return path;
}

// Draws one picture on a 16 x 16 grid.
void draw(QPainter& p, TransportPicture picture, const QColor& ink) {
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  QPen line(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  switch (picture) {
    case TransportPicture::Play:
      p.drawPolygon(QPolygonF{{4, 2.5}, {13.5, 8}, {4, 13.5}});
      break;
    case TransportPicture::Pause:
      p.drawRect(QRectF(3.5, 3, 3.5, 10));
      p.drawRect(QRectF(9, 3, 3.5, 10));
      break;
    case TransportPicture::Stop:
      p.drawRect(QRectF(3.5, 3.5, 9, 9));
      break;
    case TransportPicture::Sound:
      p.drawPath(speaker());
      p.setBrush(Qt::NoBrush);
      p.setPen(line);
      p.drawArc(QRectF(6.5, 5, 4, 6), -60 * 16, 120 * 16);
      p.drawArc(QRectF(6, 2.5, 8, 11), -60 * 16, 120 * 16);
      break;
    case TransportPicture::Muted:
      p.drawPath(speaker());
      p.setPen(line);
      p.drawLine(QPointF(10.5, 5.5), QPointF(14.5, 10.5));
      p.drawLine(QPointF(14.5, 5.5), QPointF(10.5, 10.5));
      break;
  }
}

}  // namespace

QIcon transportIcon(TransportPicture picture, const QColor& ink) {
  QIcon icon;
  for (const int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter, picture, ink);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace qx
