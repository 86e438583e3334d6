#include "help/HelpWidgets.h"

#include <algorithm>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "fonts/BundledFonts.h"

namespace qx::help {

namespace {
constexpr const char* kControlIdProperty = "controlId";
}

QColor colourFromBgr(std::uint32_t bbggrr) {
  return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_)
    onClick_();
}

void setControlId(QWidget* control, int id) {
  control->setProperty(kControlIdProperty, id);
}

int controlIdOf(const QWidget* control) {
  return control->property(kControlIdProperty).toInt();
}

QWidget* findHelpControl(const QWidget* root, int id) {
  const auto children = root->findChildren<QWidget*>();
  const auto found = std::find_if(children.begin(), children.end(),
                                  [id](const QWidget* w) { return controlIdOf(w) == id; });
  return found == children.end() ? nullptr : *found;
}

template <class T>
T* placeLabel(QWidget* parent, int id, const QRect& place, const QString& text,
              const LabelLook& look) {
  auto* label = new T(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(place);
  label->setAlignment(look.alignment);
  // The texts bring their own leading spaces; a framed label adds no indent of its own.
  label->setIndent(0);
  if (id != 0) setControlId(label, id);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, look.text);
  if (look.background) {
    palette.setColor(QPalette::Window, *look.background);
    label->setAutoFillBackground(true);
  }
  label->setPalette(palette);
  switch (look.edge) {
    case LabelEdge::None:
      break;
    case LabelEdge::Sunken:
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      break;
    case LabelEdge::StaticEdge:
      label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      break;
  }
  label->setLineWidth(1);
  return label;
}

template QLabel* placeLabel<QLabel>(QWidget*, int, const QRect&, const QString&, const LabelLook&);
template LinkLabel* placeLabel<LinkLabel>(QWidget*, int, const QRect&, const QString&,
                                          const LabelLook&);

namespace {

// The font of `widget`, made smaller until every line of `text` fits `room` across and all the
// lines fit it down.
void fitFont(QWidget* widget, const QString& text, const QSize& room, int smallestPixelSize) {
  QFont font = widget->font();
  if (font.pixelSize() <= 0) font.setPixelSize(QFontInfo(font).pixelSize());
  const QStringList lines = text.split(QLatin1Char('\n'));
  const auto fits = [&lines, &room](const QFont& f) {
    const QFontMetrics metrics(f);
    int width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return width <= room.width() && int(lines.size()) * metrics.lineSpacing() <= room.height();
  };
  if (fits(font)) return;
  while (font.pixelSize() > smallestPixelSize && !fits(font))
    font.setPixelSize(font.pixelSize() - 1);
  widget->setFont(font);
}

}  // namespace

void fitTextsToWidth(QWidget* window, int smallestPixelSize) {
  for (QLabel* label : window->findChildren<QLabel*>())
    fitFont(label, label->text(), label->contentsRect().size(), smallestPixelSize);
  // A push button keeps a few pixels of its face for the frame.
  for (QPushButton* button : window->findChildren<QPushButton*>())
    fitFont(button, button->text(), button->size() - QSize(6, 2), smallestPixelSize);
}

QFont helpWindowFont() {
  QFont font;
  font.setFamilies({sansFamily()});
  font.setPixelSize(11);
  return font;
}

std::unique_ptr<QDialog> makeFixedDialog(QWidget* owner, const QString& title, const QSize& size,
                                         const QColor& background, Qt::WindowFlags extraButtons) {
  auto dialog = std::make_unique<QDialog>(
      owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | extraButtons);
  dialog->setWindowTitle(title);
  dialog->setFont(helpWindowFont());
  dialog->setFixedSize(size);
  QPalette colours = dialog->palette();
  colours.setColor(QPalette::Window, background);
  dialog->setPalette(colours);
  dialog->setAutoFillBackground(true);
  return dialog;
}

void finishDialog(QDialog* dialog, const QWidget* owner) {
  fitTextsToWidth(dialog);
  centreOnWorkArea(dialog, owner);
}

void centreOnWorkArea(QWidget* window, const QWidget* owner) {
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace qx::help
