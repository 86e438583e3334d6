// The hot-spot editor with the fake player: the three checks in their order, the read-outs,
// selecting, clearing, choosing a video and loading a project.
#include <fstream>

#include <QCheckBox>
#include <QSlider>

#include "WindowFixture.h"
#include "project/ProjectFile.h"

namespace qx::test {
namespace {

const QString kLinkMessage = QStringLiteral("The link of Hot Spot is empty");
const QString kPositionMessage =
    QStringLiteral("Current Hot Spot position in movie stream cannot be - \"0\"");
const QString kTimeMessage = QStringLiteral("The time for shown a Hot Spot is not determined");

class EditorTest : public WindowTest {
 protected:
  // Fills the editor and presses "Add Hot Spot" for the current slot.
  void add(const QString& link, double position, const QString& time, int yaw = 0) {
    box(167)->setText(link);
    player->position = position;
    box(230 + state.currentHotSpot)->setText(time);
    ctl<QSlider>(161)->setValue(yaw);
    window->mainWindowProc(163, 0);
  }
  QString lastMessage() const {
    return platform.messages.empty() ? QString() : platform.messages.back().text;
  }
};

TEST_F(EditorTest, ChecksComeInTheirOrderAndEachLeavesTheListAlone) {
  // Before any video the player stands at 0: the position message, the video paused.
  add(QStringLiteral("http://example.org"), 0, QStringLiteral("5.0"));
  EXPECT_EQ(lastMessage(), kPositionMessage);
  EXPECT_EQ(platform.messages.back().title, QStringLiteral("Warning"));
  EXPECT_EQ(platform.messages.back().icon, MessageIcon::Warning);
  EXPECT_NE(std::find(log.begin(), log.end(), "pause"), log.end());

  // An empty link, or one of spaces, is refused before the player is touched.
  log.clear();
  for (const char* link : {"", "    "}) {
    add(QString::fromLatin1(link), 4, QStringLiteral("5.0"));
    EXPECT_EQ(lastMessage(), kLinkMessage);
  }
  EXPECT_EQ(std::find(log.begin(), log.end(), "pause"), log.end());
  // The link is checked before the position, the position before the time.
  add(QString(), 0, QStringLiteral("0"));
  EXPECT_EQ(lastMessage(), kLinkMessage);
  add(QStringLiteral("x"), 0, QStringLiteral("0"));
  EXPECT_EQ(lastMessage(), kPositionMessage);

  for (const char* time : {"0", "0.0", "", "abc"}) {
    add(QStringLiteral("http://example.org"), 4, QString::fromLatin1(time));
    EXPECT_EQ(lastMessage(), kTimeMessage) << time;
  }
  EXPECT_EQ(state.hotSpots.countInUse(), 0);
  EXPECT_EQ(label(191)->text(), QString());

  const std::size_t messages = platform.messages.size();
  add(QStringLiteral("http://example.org"), 12.34, QStringLiteral("5.0"), -45);
  add(QStringLiteral("http://example.org"), 12.34, QStringLiteral("7"), 0);
  EXPECT_EQ(platform.messages.size(), messages);
  EXPECT_EQ(state.hotSpots.at(1).time, 7);
  EXPECT_EQ(state.hotSpots.at(1).yaw, 0);
  EXPECT_EQ(label(191)->text(), QStringLiteral("0"));
  EXPECT_EQ(label(211)->text(), QStringLiteral("12.3"));
  EXPECT_EQ(box(231)->text(), QStringLiteral("7"));  // the time box keeps what was typed
}

TEST_F(EditorTest, AddStoresTheSlotAsTheBoxesShowIt) {
  button(174)->click();
  button(243)->setChecked(false);
  // The boxes take no more than a hot spot keeps, so nothing is cut silently on Add.
  box(242)->setText(QString(50, u'T'));
  EXPECT_EQ(box(242)->text(), QString(40, u'T'));
  add(QStringLiteral("  http://example.org/") + QString(600, u'a'), 8.25, QStringLiteral("6.5"),
      -45);
  EXPECT_EQ(box(167)->text().size(), int(HotSpot::kLinkChars));
  const HotSpot& spot = state.hotSpots.at(4);
  EXPECT_EQ(spot.link, box(167)->text().trimmed().toStdString());
  EXPECT_EQ(spot.title, std::string(40, 'T'));
  EXPECT_EQ(spot.pos, 8.25);
  EXPECT_EQ(spot.yaw, -45);
  EXPECT_EQ(spot.time, 6.5);
  EXPECT_EQ(spot.self, 0);
  EXPECT_EQ(label(194)->text(), QStringLiteral("-45"));
  EXPECT_EQ(label(214)->text(), QStringLiteral("8.2"));  // a half goes to the even neighbour
  // Shown again, the title comes back cut to 40 and the link trimmed.
  button(174)->click();
  EXPECT_EQ(box(242)->text(), QString(40, u'T'));
  EXPECT_TRUE(box(167)->text().startsWith(QStringLiteral("http://")));
}

TEST_F(EditorTest, SelectingASlotShowsItAndFreezesTheVideoAtItsMoment) {
  button(173)->click();  // an empty slot: "self HS mode" unchecked
  button(243)->setChecked(true);
  add(QStringLiteral("http://example.org/3"), 21.5, QStringLiteral("4"), 120);
  box(242)->setText(QStringLiteral("left over"));

  // An empty slot: boxes emptied, self unchecked, yaw 0, the player left where it is.
  log.clear();
  button(172)->click();
  EXPECT_EQ(box(167)->text(), QString());
  EXPECT_EQ(box(242)->text(), QString());
  EXPECT_FALSE(checked(243));
  EXPECT_EQ(ctl<QSlider>(161)->value(), 0);
  EXPECT_EQ(state.hotSpotYaw, 0);
  EXPECT_EQ(player->markerYaw, 0);
  EXPECT_EQ(log, (Log{"sound:sound3/tick", "marker:0"}));

  // A filled slot: the video frozen at its position, the marker placed after the command.
  log.clear();
  button(173)->click();
  EXPECT_EQ(box(167)->text(), QStringLiteral("http://example.org/3"));
  EXPECT_TRUE(checked(243));
  EXPECT_EQ(ctl<QSlider>(161)->value(), 120);
  EXPECT_EQ(box(233)->text(), QStringLiteral("4.0"));
  EXPECT_EQ(log, (Log{"sound:sound3/tick", "marker:120", "freeze:21.500000", "markerLater:120"}));
  // The checked selector clicked again shows its slot again.
  log.clear();
  button(173)->click();
  EXPECT_TRUE(checked(173));
  EXPECT_EQ(log.back(), "markerLater:120");
}

TEST_F(EditorTest, ClearingOneSlotOrAll) {
  button(175)->click();
  add(QStringLiteral("http://example.org/5"), 3, QStringLiteral("5.0"), 30);
  button(176)->click();
  add(QStringLiteral("http://example.org/6"), 4, QStringLiteral("9"), 60);
  box(236)->setText(QStringLiteral("12"));

  window->mainWindowProc(164, 0);  // slot 6 only, the selection stays
  EXPECT_FALSE(state.hotSpots.at(6).inUse());
  EXPECT_TRUE(state.hotSpots.at(5).inUse());
  EXPECT_EQ(box(236)->text(), QStringLiteral("5.0"));
  EXPECT_EQ(label(196)->text(), QString());
  EXPECT_TRUE(checked(176));
  EXPECT_EQ(box(167)->text(), QString());
  EXPECT_EQ(ctl<QSlider>(161)->value(), 0);

  button(175)->click();
  button(243)->setChecked(true);
  window->mainWindowProc(165, 0);  // all: slot 1 becomes current and checked
  EXPECT_EQ(state.hotSpots.countInUse(), 0);
  EXPECT_EQ(state.currentHotSpot, 1);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(checked(170 + n), n == 1);
  EXPECT_EQ(label(195)->text(), QString());
  EXPECT_TRUE(checked(243));  // self mode is left as it is
  add(QStringLiteral("http://example.org/1"), 2, QStringLiteral("5.0"));
  EXPECT_TRUE(state.hotSpots.at(1).inUse());
}

TEST_F(EditorTest, SelectingAVideoTakesTheFirstFileAndClearsEveryHotSpot) {
  add(QStringLiteral("http://example.org/1"), 2, QStringLiteral("5.0"));
  // Cancel changes nothing.
  window->mainWindowProc(100, 0);
  const FileDialogRequest& r = platform.fileRequests.back();
  EXPECT_FALSE(r.save);
  EXPECT_FALSE(r.title.isEmpty());
  EXPECT_EQ(r.filterDescription, QStringLiteral("Video files (*.flv;*.f4v)"));
  EXPECT_EQ(r.initialName, QStringLiteral("*.flv;*.f4v"));
  EXPECT_EQ(r.startFolder, toQString(folder.path()));
  EXPECT_TRUE(state.hotSpots.at(1).inUse());

  std::filesystem::create_directories(folder.path() / "videos");
  platform.fileAnswers = {{file("videos/hall.flv"), file("videos/yard.flv")}};
  log.clear();
  window->mainWindowProc(100, 0);
  EXPECT_EQ(window->currentSettings().videoPath, (folder.path() / "videos/hall.flv").string());
  EXPECT_EQ(state.lastOpenFolder, file("videos"));
  EXPECT_EQ(state.hotSpots.countInUse(), 0);
  EXPECT_EQ(log.back(), "play:" + (folder.path() / "videos/hall.flv").string());
  // The same video again still clears and plays again.
  add(QStringLiteral("http://example.org/1"), 2, QStringLiteral("5.0"));
  platform.fileAnswers = {{file("videos/hall.flv")}};
  window->mainWindowProc(100, 0);
  EXPECT_EQ(state.hotSpots.countInUse(), 0);
  EXPECT_EQ(platform.fileRequests.back().startFolder, file("videos"));
}

TEST_F(EditorTest, LoadingAProjectShowsEverySlotSelectsSlotOneAndPlays) {
  HotSpotList spots;
  spots.set(1, {"http://example.org/one", "One", 30, 2.5, 5, 1});
  spots.set(3, {"http://example.org/three", "Three", -90, 7.75, 3, 0});
  ProjectSettings settings;
  settings.videoPath = (folder.path() / "hall.flv").string();
  std::ofstream(settings.videoPath) << "FLV";
  ASSERT_FALSE(saveProjectFile(folder.path() / "tour.pp", settings, spots));

  button(176)->click();
  add(QStringLiteral("http://example.org/old"), 9, QStringLiteral("5.0"));
  log.clear();
  platform.fileAnswers = {{file("tour.pp")}};
  window->mainWindowProc(463, 0);

  EXPECT_EQ(state.hotSpots.countInUse(), 2);
  EXPECT_FALSE(state.hotSpots.at(2).inUse());
  EXPECT_FALSE(state.hotSpots.at(6).inUse());
  EXPECT_EQ(state.currentHotSpot, 1);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(checked(170 + n), n == 1);
  EXPECT_EQ(label(191)->text(), QStringLiteral("30"));
  EXPECT_EQ(label(213)->text(), QStringLiteral("7.8"));
  EXPECT_EQ(box(233)->text(), QStringLiteral("3.0"));
  EXPECT_EQ(box(167)->text(), QStringLiteral("http://example.org/one"));
  EXPECT_EQ(state.hotSpotYaw, 30);
  // Each slot in turn, then the selection, then the new video: the old video is never sought
  // (a second's freeze on every slot in use).
  const Log expected = {"sound:sound3/tick", "dialog:Load a Project", "marker:30", "marker:0",
                        "marker:-90"};
  ASSERT_GE(log.size(), expected.size());
  EXPECT_EQ(Log(log.begin(), log.begin() + static_cast<long>(expected.size())), expected);
  for (const std::string& entry : log) EXPECT_NE(entry.rfind("freeze:", 0), 0u) << entry;
  EXPECT_EQ(log[log.size() - 2], "marker:30");
  EXPECT_EQ(log.back(), "play:" + settings.videoPath);
  EXPECT_EQ(state.lastOpenFolder, toQString(folder.path()));

  // A project whose video has gone says so at once and leaves the preview empty.
  std::filesystem::remove(settings.videoPath);
  platform.fileAnswers = {{file("tour.pp")}};
  window->mainWindowProc(463, 0);
  EXPECT_EQ(log.back(), "message:The video of this project was not found:\n" + settings.videoPath);
  EXPECT_EQ(log[log.size() - 2], "play:");
  EXPECT_EQ(state.hotSpots.countInUse(), 2);  // the project itself is loaded
}

}  // namespace
}  // namespace qx::test
