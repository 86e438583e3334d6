#include "preview/HotSpotEditor.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "platform/Platform.h"
#include "platform/QtText.h"
#include "preview/PreviewPlayer.h"
#include "project/HotSpot.h"
#include "project/NumberText.h"
#include "project/TextCodec.h"

namespace qx {
namespace {

std::size_t row(int n) {
  return static_cast<std::size_t>(n - 1);
}

}  // namespace

HotSpotEditor::HotSpotEditor(HotSpotState state, HotSpotControls controls, PreviewPlayer& player,
                             Platform& platform, QWidget* owner)
    : state_(state), c_(controls), player_(player), platform_(platform), owner_(owner) {}

void HotSpotEditor::warn(const char* message) {
  platform_.messageBox(owner_, QString::fromUtf8(message), QStringLiteral("Warning"),
                       MessageIcon::Warning);
}

void HotSpotEditor::addHotSpot(int n) {
  const std::string link = utf8(c_.link->text());
  const std::string title = utf8(c_.title->text());
  if (trimSpaces(link).empty()) {
    warn("The link of Hot Spot is empty");
    return;
  }
  player_.pausePlayer();
  const double position = player_.getPosition();
  if (!(position > 0)) {
    warn("Current Hot Spot position in movie stream cannot be - \"0\"");
    return;
  }
  const double time = readNumber(utf8(c_.timeBoxes[row(n)]->text()));
  if (!(time > 0)) {
    warn("The time for shown a Hot Spot is not determined");
    return;
  }
  HotSpot spot;
  spot.link = link;
  spot.title = title;
  spot.pos = position;
  spot.yaw = state_.hotSpotYaw;
  spot.time = time;
  spot.self = c_.selfMode->isChecked() ? 1 : 0;
  state_.hotSpots.set(n, std::move(spot));
  c_.yawReadouts[row(n)]->setText(qtext(maskText(state_.hotSpotYaw, 0)));
  c_.posReadouts[row(n)]->setText(qtext(maskText(position, 1)));
}

void HotSpotEditor::showHotSpot(int n, bool freezeVideo) {
  const HotSpot& spot = state_.hotSpots.at(n);
  c_.link->setText(qtext(std::string(trimSpacesAndNuls(spot.link))));
  c_.title->setText(qtext(std::string(trimSpacesAndNuls(spot.title))));
  c_.selfMode->setChecked(spot.self != 0);
  setYaw(spot.yaw);
  if (spot.pos == 0) return;
  c_.yawReadouts[row(n)]->setText(qtext(maskText(spot.yaw, 0)));
  c_.posReadouts[row(n)]->setText(qtext(maskText(spot.pos, 1)));
  c_.timeBoxes[row(n)]->setText(qtext(maskText(spot.time, 1)));
  if (!freezeVideo) return;
  player_.seekAndFreeze(spot.pos);
  player_.refreshYawMarkerLater(state_.hotSpotYaw);
}

void HotSpotEditor::selectHotSpot(int n, bool freezeVideo) {
  for (QCheckBox* selector : c_.selectors) selector->setChecked(false);
  c_.selectors[row(n)]->setChecked(true);
  showHotSpot(n, freezeVideo);
}

void HotSpotEditor::clearHotSpot(int n) {
  if (n == 0) {
    state_.hotSpots.clearAll();
    for (int i = 1; i <= HotSpotList::kSlots; ++i) {
      c_.selectors[row(i)]->setChecked(false);
      c_.yawReadouts[row(i)]->clear();
      c_.posReadouts[row(i)]->clear();
      c_.timeBoxes[row(i)]->setText(QString::fromLatin1(kDefaultTime));
    }
    c_.selectors[0]->setChecked(true);
    state_.currentHotSpot = 1;
  } else {
    state_.hotSpots.clear(n);
    c_.yawReadouts[row(n)]->clear();
    c_.posReadouts[row(n)]->clear();
    c_.timeBoxes[row(n)]->setText(QString::fromLatin1(kDefaultTime));
  }
  c_.link->clear();
  c_.title->clear();
  setYaw(0);
}

void HotSpotEditor::setYaw(int yaw) {
  // The yaw is clamped into the 16 bits the trackbar position has; a stored yaw beyond the
  // trackbar's range still reaches the marker as it is.
  state_.hotSpotYaw = static_cast<std::int16_t>(std::clamp(yaw, -32768, 32767));
  {
    const QSignalBlocker quiet(c_.trackbar);  // only a user's scroll is a trackbar notification
    c_.trackbar->setValue(state_.hotSpotYaw);
  }
  player_.placeYawMarker(state_.hotSpotYaw);
}

}  // namespace qx
