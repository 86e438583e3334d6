#include "app/GroupFrame.h"

#include <qdrawutil.h>
#include <QPainter>

namespace qx {

GroupFrame::GroupFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const int top = metrics.height() / 2;
  qDrawShadeRect(&painter, 0, top, width(), height() - top, palette(), true, 1);
  const QRect text(8, 0, metrics.horizontalAdvance(caption_), metrics.height());
  painter.fillRect(text, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

}  // namespace qx
