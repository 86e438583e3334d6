#pragma once
// The few kinds of control the main window needs beyond Qt's own: labels that report clicks,
// text boxes that take digits only, the path display that shortens long paths in the middle.
#include <functional>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace qx {

// Reports a click with code 0 and a double click with code 1, as the window's commands expect.
class CommandLabel : public QLabel {
 public:
  CommandLabel(const QString& text, QWidget* parent, std::function<void(int code)> onCommand);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::function<void(int)> onCommand_;
};

// Typing inserts digits only; text set by the program (such as "5.0") is kept as it is.
class DigitsLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A drop-down list whose shown entry is drawn whole: narrowed as far as needed to fit the field
// beside the arrow, rather than cut off ("08.640x480 Stand"). The open list is as wide as its
// widest entry.
class CompactComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  // Where the shown entry is drawn, and the font that makes `text` fit there.
  QRect textRect() const;
  QFont fittedFont(const QString& text) const;
  void showPopup() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Shows a path whole when it fits, otherwise with an ellipsis in its middle.
class PathLabel : public QFrame {
 public:
  explicit PathLabel(QWidget* parent);
  void setPath(const QString& path);
  const QString& path() const { return path_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString path_;
};

}  // namespace qx
