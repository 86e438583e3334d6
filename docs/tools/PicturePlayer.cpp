#include "PicturePlayer.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace qx::guide {

namespace {

constexpr int kStrip = 28;  // the transport strip under the video

QString timeText(double seconds) {
  const int whole = int(seconds);
  return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// A landscape around the camera: sky, hills, a row of houses and a meadow, wide enough to read
// as a panorama unrolled into the frame.
void paintLandscape(QPainter& painter, const QRect& area) {
  QLinearGradient sky(area.topLeft(), QPoint(area.left(), area.center().y()));
  sky.setColorAt(0, QColor(70, 120, 200));
  sky.setColorAt(1, QColor(190, 215, 240));
  painter.fillRect(area, sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 240, 180));
  painter.drawEllipse(QPoint(area.left() + 330, area.top() + 45), 16, 16);

  const int horizon = area.top() + area.height() * 55 / 100;
  QPainterPath hills(QPointF(area.left(), horizon));
  for (int x = 0; x <= area.width(); x += 4)
    hills.lineTo(area.left() + x,
                 horizon - 18 - 14 * std::sin(x / 37.0) - 8 * std::sin(x / 11.0 + 1.3));
  hills.lineTo(area.right(), horizon);
  hills.closeSubpath();
  painter.setBrush(QColor(95, 125, 105));
  painter.drawPath(hills);

  QLinearGradient meadow(QPoint(area.left(), horizon), area.bottomLeft());
  meadow.setColorAt(0, QColor(110, 160, 80));
  meadow.setColorAt(1, QColor(60, 110, 45));
  painter.fillRect(QRect(QPoint(area.left(), horizon), area.bottomRight()), meadow);

  for (int i = 0; i < 7; ++i) {
    const int x = area.left() + 20 + i * 62 + (i % 2) * 9;
    const int width = 28 + (i % 3) * 8;
    const int height = 22 + (i % 2) * 10;
    painter.setBrush(i % 2 ? QColor(230, 220, 200) : QColor(215, 195, 170));
    painter.drawRect(x, horizon - height + 4, width, height);
    painter.setBrush(QColor(150, 60, 45));
    painter.drawPolygon(
        QPolygon({QPoint(x - 3, horizon - height + 4), QPoint(x + width / 2, horizon - height - 10),
                  QPoint(x + width + 3, horizon - height + 4)}));
  }
}

void paintTransport(QPainter& painter, const QRect& strip, double position) {
  painter.fillRect(strip, QColor(40, 40, 40));
  painter.setBrush(QColor(220, 220, 220));
  painter.setPen(Qt::NoPen);
  const int middle = strip.center().y();
  painter.drawPolygon(
      QPolygon({QPoint(strip.left() + 10, middle - 6), QPoint(strip.left() + 20, middle),
                QPoint(strip.left() + 10, middle + 6)}));
  painter.drawRect(strip.left() + 30, middle - 5, 10, 10);
  const QRect groove(strip.left() + 50, middle - 2, 250, 4);
  painter.fillRect(groove, QColor(110, 110, 110));
  const int handle = groove.left() + int(groove.width() * std::min(position / 90.0, 1.0));
  painter.fillRect(QRect(groove.left(), groove.top(), handle - groove.left(), 4),
                   QColor(80, 150, 230));
  painter.drawEllipse(QPoint(handle, middle), 6, 6);
  painter.setPen(QColor(220, 220, 220));
  painter.drawText(QRect(groove.right() + 10, strip.top(), 90, strip.height()), Qt::AlignVCenter,
                   timeText(position) + QStringLiteral(" / 1:30"));
}

}  // namespace

class PicturePlayer::Scene : public QWidget {
 public:
  double* position = nullptr;
  int markerLeft = markerX(0) - 250;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect video(0, 0, width(), height() - kStrip);
    paintLandscape(painter, video);
    paintTransport(painter, QRect(0, video.bottom() + 1, width(), kStrip), *position);
    // The marker line is 268 high at y 152 in the window, two pixels below the area's top, and
    // stops above the transport strip.
    painter.fillRect(QRect(markerLeft, 2, 3, 268), QColor(0, 255, 0));
  }
};

PicturePlayer::PicturePlayer() : scene_(std::make_unique<Scene>()) {
  scene_->position = &position;
}

PicturePlayer::~PicturePlayer() = default;

QWidget* PicturePlayer::widget() {
  return scene_.get();
}

void PicturePlayer::placeYawMarker(int yaw) {
  scene_->markerLeft = markerX(yaw) - 250;
  scene_->update();
}

}  // namespace qx::guide
