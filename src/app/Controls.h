#pragma once
// The few kinds of control the main window needs beyond Qt's own: labels that report clicks,
// text boxes that take digits only, the path display that shortens long paths in the middle.
#include <functional>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace qx {

// Reports a click with code 0 and a double click with code 1, as the window's commands expect.
class ClickLabel : public QLabel {
 public:
  ClickLabel(const QString& text, QWidget* parent, std::function<void(int code)> onCommand);

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
