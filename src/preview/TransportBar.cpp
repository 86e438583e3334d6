#include "preview/TransportBar.h"

#include <QAudio>
#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace qx {

QString playTimeText(qint64 ms) {
  const qint64 seconds = ms > 0 ? ms / 1000 : 0;
  const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  if (h > 0) return QStringLiteral("%1:%2:%3").arg(h).arg(two(m), two(s));
  return QStringLiteral("%1:%2").arg(m).arg(two(s));
}

namespace {

QToolButton* makeButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(tip);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// The volume slider moves in steps the ear hears as even; the output wants a linear factor.
float linearVolume(int sliderValue) {
  return float(QAudio::convertVolume(sliderValue / 100.0, QAudio::LogarithmicVolumeScale,
                                     QAudio::LinearVolumeScale));
}

}  // namespace

TransportBar::TransportBar(QMediaPlayer& player, QAudioOutput& audio, QWidget* parent)
    : QWidget(parent),
      player_(player),
      audio_(audio),
      playPause_(makeButton(this, QStyle::SP_MediaPlay, QStringLiteral("Play"))),
      stop_(makeButton(this, QStyle::SP_MediaStop, QStringLiteral("Stop"))),
      position_(new QSlider(Qt::Horizontal, this)),
      time_(new QLabel(this)),
      mute_(makeButton(this, QStyle::SP_MediaVolume, QStringLiteral("Mute"))),
      volume_(new QSlider(Qt::Horizontal, this)) {
  setAutoFillBackground(true);  // drawn over the scene's black

  position_->setRange(0, 0);
  position_->setSingleStep(1000);
  position_->setPageStep(5000);
  position_->setFocusPolicy(Qt::NoFocus);
  position_->setToolTip(QStringLiteral("Position"));
  volume_->setRange(0, 100);
  volume_->setValue(100);
  volume_->setFixedWidth(64);
  volume_->setFocusPolicy(Qt::NoFocus);
  volume_->setToolTip(QStringLiteral("Volume"));
  mute_->setCheckable(true);
  time_->setMinimumWidth(time_->fontMetrics().horizontalAdvance(QStringLiteral("00:00 / 00:00")));
  time_->setAlignment(Qt::AlignCenter);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 0, 4, 0);
  row->setSpacing(2);
  row->addWidget(playPause_);
  row->addWidget(stop_);
  row->addWidget(position_, 1);
  row->addWidget(time_);
  row->addWidget(mute_);
  row->addWidget(volume_);

  connect(playPause_, &QToolButton::clicked, this, [this] {
    if (player_.playbackState() == QMediaPlayer::PlayingState)
      player_.pause();
    else
      player_.play();
  });
  connect(stop_, &QToolButton::clicked, &player_, &QMediaPlayer::stop);
  // A drag seeks once, when the handle is let go; clicks on the groove and keys seek at once.
  connect(position_, &QSlider::sliderMoved, this, [this](int ms) { showTime(ms); });
  connect(position_, &QSlider::sliderReleased, this, &TransportBar::seekToSlider);
  connect(position_, &QSlider::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderMove) seekToSlider();
  });
  connect(volume_, &QSlider::valueChanged, this,
          [this](int value) { audio_.setVolume(linearVolume(value)); });
  connect(mute_, &QToolButton::toggled, &audio_, &QAudioOutput::setMuted);
  connect(&audio_, &QAudioOutput::mutedChanged, this, &TransportBar::showVolume);
  connect(&player_, &QMediaPlayer::playbackStateChanged, this, &TransportBar::showPlaybackState);
  connect(&player_, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
    if (!position_->isSliderDown()) {
      position_->setValue(int(ms));
      showTime(ms);
    }
  });
  connect(&player_, &QMediaPlayer::durationChanged, this, &TransportBar::showDuration);

  audio_.setVolume(linearVolume(volume_->value()));
  showPlaybackState();
  showDuration(player_.duration());
  showVolume();
}

void TransportBar::showPlaybackState() {
  const bool playing = player_.playbackState() == QMediaPlayer::PlayingState;
  playPause_->setIcon(
      style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  playPause_->setToolTip(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
}

void TransportBar::showTime(qint64 ms) {
  time_->setText(playTimeText(ms) + QStringLiteral(" / ") + playTimeText(player_.duration()));
}

void TransportBar::showDuration(qint64 ms) {
  position_->setRange(0, int(qMin<qint64>(ms, INT_MAX)));
  position_->setValue(int(player_.position()));
  showTime(player_.position());
}

void TransportBar::showVolume() {
  const bool muted = audio_.isMuted();
  mute_->setChecked(muted);
  mute_->setIcon(
      style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
  mute_->setToolTip(muted ? QStringLiteral("Sound on") : QStringLiteral("Mute"));
}

void TransportBar::seekToSlider() {
  player_.setPosition(position_->sliderPosition());
  showTime(position_->sliderPosition());
}

}  // namespace qx
