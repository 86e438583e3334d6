#pragma once
// The preview player: a graphics view holding the video item, the transport controls and the
// green yaw marker. (A widget laid over a QVideoWidget would never show, as that widget draws in
// a surface of its own.) The media engine (the player, the audio output and the video item,
// from the media module) is made when a video is first loaded: loading Qt Multimedia, probing
// audio devices and video drivers at start would double the time the window takes to appear.
#include <memory>
#include <optional>

#include <QObject>
#include <QPointer>
#include <QRect>

#include "preview/MediaEngine.h"
#include "preview/PreviewPlayer.h"
#include "preview/TransportBar.h"

class QGraphicsRectItem;
class QGraphicsView;

namespace qx {

class MediaModule;

class QtPreviewPlayer : public QObject, public PreviewPlayer {
 public:
  // The area's place in the main window, and the marker's fixed size and top.
  static constexpr QRect kArea{250, 150, 448, 300};
  static constexpr int kControlsHeight = 28;
  // The marker runs down the video and stops short of the transport controls and their time.
  static constexpr int kMarkerTop = 152, kMarkerWidth = 3,
                       kMarkerHeight = kArea.height() - kControlsHeight - 2 - 2;
  // How long seekAndFreeze waits at most for the media to load. A file that has not loaded by
  // then (a damaged FLV can keep GStreamer loading for ever) is not waited for again.
  static constexpr int kLoadWaitMs = 5000;
  // How long pausePlayer waits at most for the frame that pausing brings to the picture.
  static constexpr int kPauseFrameWaitMs = 200;

  // `media` gives the engine, and must outlive the player.
  QtPreviewPlayer(QWidget* parent, MediaModule& media);
  ~QtPreviewPlayer() override;
  QtPreviewPlayer(const QtPreviewPlayer&) = delete;
  QtPreviewPlayer& operator=(const QtPreviewPlayer&) = delete;

  QWidget* widget() override;
  void loadAndPlay(const QString& path) override;
  void pausePlayer() override;
  void stopPlayer() override;
  double getPosition() const override;
  void seekAndFreeze(double seconds) override;
  void placeYawMarker(int yaw) override;
  void refreshYawMarkerLater(int yaw) override;
  void showOwnToolTips(bool shown) override;
  void releasePlayer() override;

  // The marker's rectangle in main-window coordinates, as it stands now (empty once the area
  // has gone with its window).
  QRect markerGeometry() const;
  // The media engine, made now if no video has been loaded yet; nullptr when the media module
  // cannot be loaded.
  MediaEngine* mediaEngine() { return media(); }
  bool mediaMade() const { return player_ != nullptr; }
  // The video's item in the area; nullptr before the engine is made.
  QGraphicsObject* videoItem() const { return player_ ? player_->videoItem() : nullptr; }
  TransportBar* transportBar() const { return controls_; }

 private:
  // Runs the event loop (timers and media events only, no user input) until the media has
  // loaded or failed, or the wait is over; true when it can be sought.
  bool waitUntilLoaded();
  void clearPicture();
  MediaEngine* media();

  MediaModule& module_;
  std::unique_ptr<MediaEngine> player_;
  bool playerTried_ = false;  // once only, also when the module could not be loaded
  QPointer<QGraphicsView> view_;
  QGraphicsRectItem* marker_ = nullptr;  // lives while view_ does
  QPointer<TransportBar> controls_;
  int requestedYaw_ = 0;
  // The start (in microseconds) of the frame the picture shows, -1 when none or not known, and
  // the media clock's position when the video was last paused, to tell a seek since then.
  qint64 frameShownUs_ = -1;
  std::optional<qint64> pausedAtMs_;
  bool loadGivenUp_ = false;
  bool released_ = false;
};

}  // namespace qx
