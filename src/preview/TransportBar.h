#pragma once
// The preview's own transport controls: play/pause, stop, a position slider with the time and
// the duration, and the volume, bound to one media player.
#include <QString>
#include <QWidget>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QSlider;
class QToolButton;

namespace qx {

// "0:07", "12:34", "1:02:03" for a time in milliseconds (negative counts as 0).
QString playTimeText(qint64 ms);

class TransportBar : public QWidget {
 public:
  TransportBar(QMediaPlayer& player, QAudioOutput& audio, QWidget* parent = nullptr);

  QToolButton* playPauseButton() const { return playPause_; }
  QToolButton* stopButton() const { return stop_; }
  QToolButton* muteButton() const { return mute_; }
  QSlider* positionSlider() const { return position_; }
  QSlider* volumeSlider() const { return volume_; }
  QLabel* timeLabel() const { return time_; }

 private:
  void showPlaybackState();
  void showTime(qint64 ms);
  void showDuration(qint64 ms);
  void showVolume();
  void seekToSlider();

  QMediaPlayer& player_;
  QAudioOutput& audio_;
  QToolButton* playPause_;
  QToolButton* stop_;
  QSlider* position_;
  QLabel* time_;
  QToolButton* mute_;
  QSlider* volume_;
};

}  // namespace qx
