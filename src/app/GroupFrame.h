#pragma once
// A group box as the window draws it: an etched frame with its caption on the caption's own
// background, lying behind the controls it groups (they are its siblings, not its children).
#include <QWidget>

namespace qx {

class GroupFrame : public QWidget {
 public:
  GroupFrame(const QString& caption, QWidget* parent);
  const QString& caption() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace qx
