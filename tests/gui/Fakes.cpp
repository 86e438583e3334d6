#include "Fakes.h"

#include <QPainter>

namespace qx::test {
namespace {

// A black preview with the green marker line, so pictures of the window show where it stands.
class FakePreview : public QWidget {
 public:
  explicit FakePreview(const int& yaw) : yaw_(yaw) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int x = static_cast<int>(std::lround(222.0 + 224.0 * yaw_ / 185.0));
    painter.fillRect(QRect(x, 2, 3, 268), QColor(0, 255, 0));
  }

 private:
  const int& yaw_;
};

}  // namespace

FakePlayer::FakePlayer(Log& log) : log_(log), widget_(std::make_unique<FakePreview>(markerYaw)) {}

void FakePlayer::loadAndPlay(const QString& path) {
  log_.push_back("play:" + path.toStdString());
}
void FakePlayer::pausePlayer() {
  log_.push_back("pause");
}
void FakePlayer::stopPlayer() {
  log_.push_back("stop");
}
void FakePlayer::seekAndFreeze(double seconds) {
  position = seconds;
  log_.push_back("freeze:" + std::to_string(seconds));
}
void FakePlayer::placeYawMarker(int yaw) {
  markerYaw = yaw;
  widget_->update();
  log_.push_back("marker:" + std::to_string(yaw));
}
void FakePlayer::refreshYawMarkerLater(int yaw) {
  log_.push_back("markerLater:" + std::to_string(yaw));
}
void FakePlayer::releasePlayer() {
  log_.push_back("release");
}

HelpHooks FakeHelp::hooks() {
  return {[this](QWidget*, const std::function<QWidget*(int)>&) {
            auto help = std::make_unique<FakePopupHelp>();
            popup = help.get();
            return std::unique_ptr<PopupHelp>(std::move(help));
          },
          [this](QWidget*, Platform&) { ++shortHelpShown; },
          [this](QWidget*, Platform&) { ++aboutShown; }};
}

}  // namespace qx::test
