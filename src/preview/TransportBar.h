#pragma once
// The preview's own transport controls: play/pause, stop, a position slider with the time and
// the duration, and the volume. They are bound to the media player once it exists (it is made
// on first need, not at start); until then they show 0:00 and do nothing.
#include <QString>
#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace qx {

class MediaEngine;

// "0:07", "12:34", "1:02:03" for a time in milliseconds (negative counts as 0).
QString playTimeText(qint64 ms);

// The audio output's linear factor for a volume slider at `percent` (0..100): the slider moves
// in steps the ear hears as even, as Qt's logarithmic volume scale does.
float linearVolume(int percent);

class TransportBar : public QWidget {
 public:
  explicit TransportBar(QWidget* parent = nullptr);
  void bind(MediaEngine& player);
  // Whether the controls show their own tool tips (they follow the window's pop-up help); their
  // names stay with screen readers either way.
  void setToolTipsShown(bool shown);

  QToolButton* playPauseButton() const { return playPause_; }
  QToolButton* stopButton() const { return stop_; }
  QToolButton* muteButton() const { return mute_; }
  QSlider* positionSlider() const { return position_; }
  QSlider* volumeSlider() const { return volume_; }
  QLabel* timeLabel() const { return time_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showPlaybackState();
  void showTime(qint64 ms);
  void showDuration(qint64 ms);
  void showVolume();
  void seekToSlider();

  MediaEngine* player_ = nullptr;
  bool toolTipsShown_ = true;
  QToolButton* playPause_;
  QToolButton* stop_;
  QSlider* position_;
  QLabel* time_;
  QToolButton* mute_;
  QSlider* volume_;
};

}  // namespace qx
