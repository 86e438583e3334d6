#pragma once
// The program's one window: menu, accelerators and every control with its fixed identifier;
// every command goes through mainWindowProc. Most options live in the controls themselves:
// currentSettings() reads them, applySettings() sets them.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QRect>

#include "app/AppState.h"
#include "app/HelpHooks.h"
#include "app/Look.h"
#include "project/FileIo.h"
#include "project/ProjectSettings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qx {

class CommandLabel;
class ColourButton;
class FolderServer;
class HotSpotEditor;
class MediaModule;
class Platform;
class PopupHelp;
class PreviewPlayer;

class MainWindow : public QMainWindow {
 public:
  // Builds the window (not shown) with the options read from `optionsFilePath` part way through;
  // the pop-up help is built last. The window tells the user when `media` (whose folder server
  // shows published pages, and which the real player and platform use too) cannot be loaded.
  MainWindow(AppState& state, Platform& platform, MediaModule& media,
             std::unique_ptr<PreviewPlayer> player, std::filesystem::path optionsFilePath,
             HelpHooks help = defaultHelpHooks());
  ~MainWindow() override;

  // The control with this identifier; nullptr for none.
  QWidget* control(int id) const;
  // The identifiers of every control, in increasing order.
  std::vector<int> controlIds() const;
  // The menu item with this command identifier; nullptr for none.
  QAction* menuItem(int id) const;

  // Every command: code 0 from menu items, buttons, check boxes and label clicks; code 1 from
  // accelerators and list selections. Other codes are ignored.
  void mainWindowProc(int id, int code);

  // The options as the controls show them now, and the reverse.
  ProjectSettings currentSettings() const;
  void applySettings(const ProjectSettings& settings);

  // Loads a project as Load Project does once its file is chosen (a .pp given at start).
  void openProject(const std::filesystem::path& file);

  PopupHelp* popupHelp() const { return popupHelp_.get(); }
  PreviewPlayer& player() { return *player_; }
  HotSpotEditor& editor() { return *editor_; }

  // The compact font of every control but the two title labels.
  static QFont defaultFont();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Building, in the order the controls are created.
  void buildMenu();
  void buildHeaderAndCommands();
  void buildYawSelector();
  void buildHotSpotEditor();
  void buildHotSpotRows();
  void buildFirstOptions();
  ProjectSettings readOptionsPartWay();
  void buildRemainingOptions(const ProjectSettings& s);
  void buildAccelerators();
  void setUpKeyboardAccess();
  void connectEditor();

  // Commands.
  bool confirmExit();
  void setToolTipHelp(bool on);
  void optionsByDefault();
  void saveOptions();
  void loadProject();
  void saveProject();
  void publish(bool openAfter);
  void openPublishedPage(const std::filesystem::path& page);
  void publishForWeb();
  void startRedirectUtility();
  void openUsersGuide();
  // A video the page cannot play, imported into an FLV through the import dialog.
  std::optional<QString> importVideo(const QString& video);
  // After the publish check refused the video: the import, offered when it can help; true when
  // the video has been imported and become the project's.
  bool offerImport();
  void warnAbout(const QString& text);
  void warnNotSaved(const char* what, const FileError& error);

  template <class W>
  W* as(int id) const {
    return static_cast<W*>(control(id));
  }

  // Control factories: each registers the control under its identifier.
  template <class W>
  W* add(int id, W* widget, int x, int y, int w, int h);
  QComboBox* list(int id, const std::vector<QString>& items, int selected, int x, int y, int w);
  CommandLabel* label(int id, const QString& text, QRect place, look::Edge edge,
                      const QColor& textColour, const std::optional<QColor>& back, bool clicks);
  QCheckBox* checkBox(int id, const QString& text, QRect place, const QColor& textColour,
                      const QColor& back, bool checked, bool textLeft);
  QLineEdit* textBox(int id, const QString& text, QRect place, const QColor& textColour,
                     const QColor& back, bool digits, bool centred);
  void button(int id, const QString& caption, QRect place, QRgb key, const QColor& textColour);
  void group(int id, const QString& caption, QRect place);
  void colourButton(int id, QRect place, std::unique_ptr<ColourButton>& handler,
                    std::uint32_t& setting, QWidget* swatch);

  AppState& state_;
  Platform& platform_;
  MediaModule& media_;
  std::unique_ptr<PreviewPlayer> player_;
  HelpHooks help_;
  QWidget* client_ = nullptr;
  std::map<int, QWidget*> controls_;
  std::map<int, QAction*> menuItems_;
  std::unique_ptr<HotSpotEditor> editor_;
  std::unique_ptr<ColourButton> bgColourButton_;
  std::unique_ptr<ColourButton> blackColourButton_;
  std::unique_ptr<PopupHelp> popupHelp_;
  // Serves the folder of the last page "Publish FLV/Test" showed, for as long as the window lives.
  std::unique_ptr<FolderServer> testServer_;
  bool exitConfirmed_ = false;
};

}  // namespace qx
