#pragma once
// Stand-ins for the host system, the preview player and the help windows. They answer as a
// test tells them and write every call into one shared log, so tests can check the order.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "app/HelpHooks.h"
#include "help/PopupHelp.h"
#include "platform/Platform.h"
#include "preview/PreviewPlayer.h"

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

  explicit FakePlatform(Log& log) : log_(log) {}

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
  int clicks = 0;

 private:
  Log& log_;
};

class FakePlayer : public PreviewPlayer {
 public:
  explicit FakePlayer(Log& log);
  QWidget* widget() override { return widget_.get(); }
  void loadAndPlay(const QString& path) override;
  void pausePlayer() override;
  void stopPlayer() override;
  double getPosition() const override { return position; }
  void seekAndFreeze(double seconds) override;
  void placeYawMarker(int yaw) override;
  void refreshYawMarkerLater(int yaw) override;
  void showOwnToolTips(bool shown) override { ownToolTips = shown; }
  void releasePlayer() override;

  // What getPosition answers (0 until a video plays, as with the real player).
  double position = 0;
  int markerYaw = 0;
  bool ownToolTips = true;

 private:
  Log& log_;
  std::unique_ptr<QWidget> widget_;
};

class FakePopupHelp : public PopupHelp {
 public:
  void setActive(bool on) override { active = on; }
  bool isActive() const override { return active; }
  bool active = true;
};

// Help hooks that record instead of opening windows.
struct FakeHelp {
  FakePopupHelp* popup = nullptr;
  int shortHelpShown = 0;
  int aboutShown = 0;
  HelpHooks hooks();
};

}  // namespace qx::test
