#include "help/PopupHelp.h"

#include <vector>

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "help/HelpWidgets.h"
#include "help/PopupHelpTexts.h"

namespace qx {

namespace {

// The timing of the tips: the pointer rests this long before a tip shows, the tip stays this
// long, and moving on to the next control while a tip shows waits this long again.
constexpr int kInitialDelayMs = 500;
constexpr int kAutoPopMs = 5000;
constexpr int kReshowDelayMs = 500;
// Longer lines wrap at this width, so that a tip never grows wider than this.
constexpr int kMaxTipWidth = 300;
constexpr int kMargin = 8;
constexpr int kIconSize = 16;
constexpr const char* kRegisteredProperty = "qxPopupHelpTool";

const QColor kTipText(255, 255, 0);
const QColor kTipBackground(25, 29, 98);

// The balloon: a title line "Information:" with the information icon above the help text,
// yellow on dark blue.
class TipWindow : public QWidget {
 public:
  explicit TipWindow(QWidget* owner)
      : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowTransparentForInput) {
    setObjectName(QStringLiteral("qxPopupTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kTipBackground);
    colours.setColor(QPalette::WindowText, kTipText);
    setPalette(colours);
    setAutoFillBackground(true);
    setFont(help::helpWindowFont());  // the carried face, so tips wrap alike on every machine

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("icon"));
    icon_->setGeometry(kMargin, kMargin, kIconSize, kIconSize);

    title_ = new QLabel(QStringLiteral("Information:"), this);
    title_->setObjectName(QStringLiteral("title"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }

  void showText(const QString& text, const QPoint& pointer) {
    // Looked up at the first tip, not at the window's start: the standard icon searches the
    // icon theme's folders.
    if (icon_->pixmap().isNull())
      icon_->setPixmap(
          style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize, kIconSize));
    text_->setText(text);
    const QSize textSize =
        text_->fontMetrics()
            .boundingRect(QRect(0, 0, kMaxTipWidth, 100000), Qt::TextWordWrap, text)
            .size();
    const int titleLeft = kMargin + kIconSize + 6;
    const QSize titleSize = title_->sizeHint();
    const int titleHeight = std::max(kIconSize, titleSize.height());
    title_->setGeometry(titleLeft, kMargin + (titleHeight - titleSize.height()) / 2,
                        titleSize.width(), titleSize.height());
    const int textTop = kMargin + titleHeight + 4;
    text_->setGeometry(kMargin, textTop, textSize.width(), textSize.height());
    resize(std::max(titleLeft + titleSize.width(), kMargin + textSize.width()) + kMargin,
           textTop + textSize.height() + kMargin);
    move(placeBelow(pointer));
    show();
  }

 protected:
  // A thin frame in the text colour; a window of its own cannot take a balloon's shape on
  // every platform, so the tip stays a rectangle.
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(kTipText);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  // Just below the pointer, kept inside the screen's work area.
  QPoint placeBelow(const QPoint& pointer) const {
    QRect place(pointer + QPoint(0, 20), size());
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen) return place.topLeft();
    const QRect area = screen->availableGeometry();
    if (place.right() > area.right()) place.moveRight(area.right());
    if (place.bottom() > area.bottom()) place.moveBottom(pointer.y() - 4);
    if (place.left() < area.left()) place.moveLeft(area.left());
    if (place.top() < area.top()) place.moveTop(area.top());
    return place.topLeft();
  }

  QLabel* icon_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* text_ = nullptr;
};

// Watches the registered controls: the pointer resting on one starts the delay, leaving it or
// pressing a key or button takes the tip away.
class PopupHelpImpl final : public QObject, public PopupHelp {
 public:
  explicit PopupHelpImpl(QWidget* window) : tip_(new TipWindow(window)) {
    for (QTimer* timer : {&showTimer_, &hideTimer_}) {
      timer->setSingleShot(true);
      timer->setTimerType(Qt::PreciseTimer);
    }
    showTimer_.callOnTimeout(this, &PopupHelpImpl::showTip);
    hideTimer_.callOnTimeout(this, &PopupHelpImpl::hideTip);
  }

  ~PopupHelpImpl() override {
    for (const QPointer<QWidget>& control : controls_)
      if (control) control->setProperty(kRegisteredProperty, QVariant());
    delete tip_.data();
  }

  // A control is registered with one pop-up help at most, so a second build adds no second tip.
  void addTool(QWidget* control, const QString& text) {
    if (!control || control->property(kRegisteredProperty).toBool()) return;
    control->setProperty(kRegisteredProperty, true);
    control->installEventFilter(this);
    texts_.insert(control, text);
    controls_.emplace_back(control);
  }

  void setActive(bool active) override {
    active_ = active;
    if (!active) hideTip();
  }

  bool isActive() const override { return active_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!texts_.contains(watched)) return false;
    switch (event->type()) {
      case QEvent::Enter:
        hovered_ = static_cast<QWidget*>(watched);
        if (active_) showTimer_.start(tipWasShowing_ ? kReshowDelayMs : kInitialDelayMs);
        break;
      case QEvent::Leave:
      case QEvent::Hide:
        tipWasShowing_ = tip_ && tip_->isVisible();
        hovered_ = nullptr;
        hideTip();
        break;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
        // Until the pointer leaves and comes back, this control shows no more help.
        hovered_ = nullptr;
        hideTip();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void showTip() {
    if (!active_ || !hovered_ || !tip_) return;
    tipWasShowing_ = false;
    tip_->showText(texts_.value(hovered_.data()), QCursor::pos());
    hideTimer_.start(kAutoPopMs);
  }

  void hideTip() {
    showTimer_.stop();
    hideTimer_.stop();
    if (tip_) tip_->hide();
  }

  QPointer<TipWindow> tip_;
  QHash<const QObject*, QString> texts_;
  std::vector<QPointer<QWidget>> controls_;
  QPointer<QWidget> hovered_;
  QTimer showTimer_;
  QTimer hideTimer_;
  bool active_ = true;
  bool tipWasShowing_ = false;
};

}  // namespace

std::unique_ptr<PopupHelp> buildToolTips(QWidget* window,
                                         const std::function<QWidget*(int)>& control) {
  auto help = std::make_unique<PopupHelpImpl>(window);
  for (int id : controlsWithHelp()) help->addTool(control(id), popupHelpText(id));
  return help;
}

std::unique_ptr<PopupHelp> buildToolTips(QWidget* window,
                                         const std::vector<std::pair<QWidget*, QString>>& tools) {
  auto help = std::make_unique<PopupHelpImpl>(window);
  for (const auto& [control, text] : tools) help->addTool(control, text);
  return help;
}

}  // namespace qx
