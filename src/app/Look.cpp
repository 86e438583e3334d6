#include "app/Look.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

namespace qx::look {

void setColours(QWidget* widget, const QColor& text, const std::optional<QColor>& back) {
  QPalette palette = widget->palette();
  const bool editable = qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(role, text);
  if (back) {
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
      palette.setColor(role, *back);
    widget->setAutoFillBackground(!editable);
  }
  widget->setPalette(palette);
}

void setEdge(QWidget* widget, Edge edge) {
  auto* frame = qobject_cast<QFrame*>(widget);
  if (!frame) return;
  switch (edge) {
    case Edge::None:
      frame->setFrameStyle(QFrame::NoFrame);
      break;
    case Edge::Sunken:
    case Edge::StaticEdge:
      frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      frame->setLineWidth(1);
      break;
    case Edge::Border:
      frame->setFrameStyle(QFrame::Box | QFrame::Plain);
      frame->setLineWidth(1);
      break;
    case Edge::ClientEdge:
      frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
      break;
  }
}

}  // namespace qx::look
