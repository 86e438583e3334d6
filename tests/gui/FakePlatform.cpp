#include "gui/FakePlatform.h"

namespace qx::test {
namespace {

template <class T>
T next(std::deque<T>& answers, T otherwise) {
  if (answers.empty()) return otherwise;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

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
  sounds.emplace_back(type, name);
  if (type == "sound3" && name == "tick") ++clicks;
  log_.push_back("sound:" + std::string(type) + "/" + std::string(name));
}

}  // namespace qx::test
