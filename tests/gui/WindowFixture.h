#pragma once
// A main window built in a fresh folder with the fake platform, player and help.
#include <memory>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>
#include "Fakes.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "common/TempFolder.h"
#include "platform/MediaModule.h"
#include "platform/QtText.h"

namespace qx::test {

class WindowTest : public ::testing::Test {
 protected:
  TempFolder folder;
  Log log;
  FakePlatform platform{log};
  FakeHelp help;
  MediaModule media{std::filesystem::path(QX_MEDIA_MODULE_FILE)};
  AppState state = initialAppState(toQString(folder.path()));
  FakePlayer* player = nullptr;
  std::unique_ptr<MainWindow> window;

  std::filesystem::path optionsPath() const { return folder.path() / "qx_flash_hs.ini"; }

  void build() {
    window.reset();
    state = initialAppState(toQString(folder.path()));
    auto fake = std::make_unique<FakePlayer>(log);
    player = fake.get();
    window = std::make_unique<MainWindow>(state, platform, media, std::move(fake), optionsPath(),
                                          help.hooks());
    window->show();
  }
  void SetUp() override { build(); }

  template <class W>
  W* ctl(int id) const {
    return qobject_cast<W*>(window->control(id));
  }
  QComboBox* list(int id) const { return ctl<QComboBox>(id); }
  QLineEdit* box(int id) const { return ctl<QLineEdit>(id); }
  QAbstractButton* button(int id) const { return ctl<QAbstractButton>(id); }
  QLabel* label(int id) const { return ctl<QLabel>(id); }
  bool checked(int id) const { return button(id)->isChecked(); }
  QStringList entries(int id) const {
    QStringList items;
    for (int i = 0; i < list(id)->count(); ++i) items << list(id)->itemText(i);
    return items;
  }
  // A path in the test folder as the dialogs would give it.
  QString file(const char* name) const { return toQString(folder.path() / name); }
};

}  // namespace qx::test
