#include "Fakes.h"

#include <QPainter>

namespace qx::test {
namespace {

template <class T>
T next(std::deque<T>& answers, T otherwise) {
  if (answers.empty()) return otherwise;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

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

MessageAnswer FakePlatform::messageBox(QWidget*, const QString& text, const QString& title,
                                       MessageIcon icon, bool okCancel) {
  messages.push_back({text, title, icon, okCancel});
  log_.push_back("message:" + text.toStdString());
  return next(messageAnswers, MessageAnswer::Ok);
}

QStringList FakePlatform::runFileDialog(QWidget*, const FileDialogRequest& request) {
  fileRequests.push_back(request);
  log_.push_back("dialog:" + request.title.toStdString());
  return next(fileAnswers, QStringList{});
}

void FakePlatform::chooseColour(QWidget*, std::uint32_t initial,
                                std::function<void(std::optional<std::uint32_t>)> done) {
  colourRequests.push_back(initial);
  log_.push_back("colour");
  if (holdColourDialogs) {
    openColourDialogs.push_back(std::move(done));
    return;
  }
  if (whileColourDialogOpen) whileColourDialogOpen();
  done(next(colourAnswers, std::optional<std::uint32_t>{}));
}

void FakePlatform::openDocument(const QString& pathOrUrl) {
  opened.push_back(pathOrUrl);
  log_.push_back("open:" + pathOrUrl.toStdString());
}

bool FakePlatform::activateProgram(const QString& caption) {
  log_.push_back("activate:" + caption.toStdString());
  return programRunning;
}

bool FakePlatform::startProgram(const QString& path) {
  started.push_back(path);
  log_.push_back("start:" + path.toStdString());
  return true;
}

void FakePlatform::playResourceSound(std::string_view type, std::string_view name) {
  if (type == "sound3" && name == "tick") ++clicks;
  log_.push_back("sound:" + std::string(type) + "/" + std::string(name));
}

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
