#pragma once
// A platform layer that answers instead of a person and records what the program asked of it.
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

class RecordingPlatform : public qx::Platform {
 public:
  qx::MessageAnswer messageBox(QWidget*, const QString& text, const QString& title, qx::MessageIcon,
                               bool) override {
    messages.emplace_back(title, text);
    return qx::MessageAnswer::Ok;
  }
  QStringList runFileDialog(QWidget*, const qx::FileDialogRequest&) override { return {}; }
  void chooseColour(QWidget*, std::uint32_t,
                    std::function<void(std::optional<std::uint32_t>)> done) override {
    done(std::nullopt);
  }
  void openDocument(const QString& pathOrUrl) override { opened.push_back(pathOrUrl); }
  bool activateProgram(const QString&) override { return false; }
  bool startProgram(const QString&) override { return false; }
  void playResourceSound(std::string_view type, std::string_view name) override {
    sounds.emplace_back(std::string(type), std::string(name));
  }

  std::vector<std::pair<QString, QString>> messages;  // title, text
  std::vector<QString> opened;
  std::vector<std::pair<std::string, std::string>> sounds;  // type, name
};
