#include "app/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qx {

ClickLabel::ClickLabel(const QString& text, QWidget* parent, std::function<void(int)> onCommand)
    : QLabel(text, parent), onCommand_(std::move(onCommand)) {}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    onCommand_(0);
  QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) onCommand_(1);
  QLabel::mouseDoubleClickEvent(event);
}

void DigitsLineEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
  const bool allDigits =
      std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
  if (printable && !allDigits && !(event->modifiers() & Qt::ControlModifier)) {
    event->accept();  // swallowed, as a digits-only box does
    return;
  }
  QLineEdit::keyPressEvent(event);
}

PathLabel::PathLabel(QWidget* parent) : QFrame(parent) {}

void PathLabel::setPath(const QString& path) {
  path_ = path;
  update();
}

void PathLabel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(2, 0, -2, 0);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(path_, Qt::ElideMiddle, area.width()));
}

}  // namespace qx
