#pragma once
// The utility's window: choose a published page, read what the video is and what the checks
// say, convert (on a worker thread, with progress and Cancel), see the files written, and test
// the result in the browser through the folder server.
#include <QMainWindow>
#include <QThread>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>

#include "webgl/WebglVersion.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace qx::serve {
class FileServer;
}

namespace qx::redirect {

inline constexpr char kWindowTitle[] = "Velmora Flash - Html5 WebGl Selector Utility";

class SelectorWindow : public QMainWindow {
 public:
  SelectorWindow();
  ~SelectorWindow() override;

  // Reads a page and shows its checks; what the Choose button does after the dialog.
  void openPage(const std::filesystem::path& page);
  void convert();
  void cancel();
  void testInBrowser();
  // Brings the window forward when another start asks for it.
  void bringForward();

  // For tests: the state the window shows.
  bool converting() const { return worker_ != nullptr; }
  QListWidget* checksView() const { return checks_; }
  QListWidget* writtenView() const { return written_; }
  QLabel* statusLabel() const { return status_; }
  const serve::FileServer* server() const { return server_.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void choosePage();
  void conversionEnded(const webgl::WebglOutcome& outcome);
  void updateButtons();

  QLineEdit* pagePath_;
  QLabel* summary_;
  QListWidget* checks_;
  QPushButton* convert_;
  QPushButton* cancel_;
  QProgressBar* progress_;
  QLabel* status_;
  QListWidget* written_;
  QPushButton* test_;

  std::optional<webgl::WebglPlan> plan_;
  bool testable_ = false;
  std::atomic<bool> cancelFlag_{false};
  std::unique_ptr<QThread> worker_;
  std::unique_ptr<serve::FileServer> server_;
};

}  // namespace qx::redirect
