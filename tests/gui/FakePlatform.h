#pragma once
// The host system as a test sees it: answers as the test tells it, and writes every call into a
// log (shared with the other fakes, so tests can check the order). The one stand-in for
// Platform, used by the window's tests and the help windows' tests alike.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace qx::test {

using Log = std::vector<std::string>;

class FakePlatform : public Platform {
 public:
  struct Message {
    QString text;
    QString title;
    MessageIcon icon;
    bool okCancel;
  };

  // Writes into `log`, shared with the other fakes; alone, into a log of its own.
  explicit FakePlatform(Log& log) : log_(log) {}
  FakePlatform() : log_(ownLog_) {}
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  MessageAnswer messageBox(QWidget*, const QString& text, const QString& title, MessageIcon icon,
                           bool okCancel) override;
  QStringList runFileDialog(QWidget*, const FileDialogRequest& request) override;
  void chooseColour(QWidget*, std::uint32_t initial,
                    std::function<void(std::optional<std::uint32_t>)> done) override;
  void openDocument(const QString& pathOrUrl) override;
  bool activateProgram(const QString& caption) override;
  bool startProgram(const QString& path) override;
  void playResourceSound(std::string_view type, std::string_view name) override;

  // Answers, taken in order; when none is left: OK, Cancel (no file), Cancel (no colour).
  std::deque<MessageAnswer> messageAnswers;
  std::deque<QStringList> fileAnswers;
  std::deque<std::optional<std::uint32_t>> colourAnswers;
  // Runs while a colour dialog is "open", as a person clicking elsewhere would.
  std::function<void()> whileColourDialogOpen;
  // With this set, colour dialogs stay open (in openColourDialogs) until a test answers them.
  bool holdColourDialogs = false;
  std::vector<std::function<void(std::optional<std::uint32_t>)>> openColourDialogs;
  bool programRunning = false;

  std::vector<Message> messages;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::uint32_t> colourRequests;
  std::vector<QString> opened;
  std::vector<QString> started;
  std::vector<std::pair<std::string, std::string>> sounds;  // type, name
  int clicks = 0;                                           // the click sound alone

 private:
  Log ownLog_;
  Log& log_;
};

}  // namespace qx::test
