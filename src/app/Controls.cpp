#include "app/Controls.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace qx {

CommandLabel::CommandLabel(const QString& text, QWidget* parent, std::function<void(int)> onCommand)
    : QLabel(text, parent), onCommand_(std::move(onCommand)) {}

void CommandLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    onCommand_(0);
  QLabel::mouseReleaseEvent(event);
}

void CommandLabel::mouseDoubleClickEvent(QMouseEvent* event) {
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

QRect CompactComboBox::textRect() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QRect arrow =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
  return QRect(3, 0, arrow.left() - 4, height());
}

QFont CompactComboBox::fittedFont(const QString& text) const {
  QFont fitted = font();
  const int room = textRect().width();
  int stretch = fitted.stretch() > 0 ? fitted.stretch() : 100;
  while (QFontMetrics(fitted).horizontalAdvance(text) > room && stretch > 60) {
    stretch -= 2;
    fitted.setStretch(stretch);
  }
  return fitted;
}

void CompactComboBox::showPopup() {
  // The widest entry and the scroll bar, as a list wider than its box shows it.
  view()->setMinimumWidth(view()->sizeHintForColumn(0) +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
  QComboBox::showPopup();
}

void CompactComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QString text = option.currentText;
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.setFont(fittedFont(text));
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
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
