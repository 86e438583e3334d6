// The direction and zoom of the view, and where a direction lands on the screen.
import { DEG, clamp, wrap360, rotation } from './maths.js';

const MIN_FOV = 30;
const MAX_FOV = 170; // rectilinear projection: tan() grows without bound near 180

/**
 * Direction and zoom, kept inside their limits. Classic mode keeps the whole view inside the
 * picture (and inside the tilt limit), zooming in if the view is taller than what may be shown;
 * Black Areas lets the view centre go up to the poles, showing the stage colour beyond the
 * picture.
 */
class View {
  constructor(main) {
    this.mode = main.viewMode;
    this.tilt = main.tilt;
    this.maxFov = clamp(main.zoomMax, MIN_FOV, MAX_FOV);
    this.yaw = wrap360(main.yaw);
    this.pitch = this.wantedPitch = main.pitch;
    this.fov = clamp(main.fov, MIN_FOV, this.maxFov);
    this.aspect = 0.75; // height / width of the canvas
    this.pictureHalf = 90; // degrees above and below the horizon that the picture covers
    this.version = 0; // grows on every change, so that the owner knows when to redraw
    this.update();
  }

  setAspect(aspect) {
    this.aspect = aspect > 0 ? aspect : 0.75;
    this.update();
  }

  /** Frame size known: a frame wider than 2:1 covers less than the whole sphere vertically. */
  setPicture(width, height) {
    this.pictureHalf = Math.min(90, (180 * height) / width);
    this.update();
  }

  /** Asks for a view; what is shown is the nearest view inside the limits. */
  set(yaw, pitch, fov) {
    this.yaw = wrap360(yaw);
    this.wantedPitch = pitch;
    if (fov !== undefined) this.fov = clamp(fov, MIN_FOV, this.maxFov);
    this.update();
  }

  turn(dYaw, dPitch) {
    this.set(this.yaw + dYaw, this.pitch + dPitch);
  }

  zoom(factor) {
    this.set(this.yaw, this.pitch, this.fov * factor);
  }

  /** Vertical half-angle (degrees) of a view with the horizontal field of view fov. */
  halfHeight(fov) {
    return Math.atan(Math.tan((fov / 2) * DEG) * this.aspect) / DEG;
  }

  // The wanted pitch survives changes of the limits (the canvas size and the frame size are
  // learnt after start), so a start pitch is not lost to a provisional limit.
  update() {
    let fov = this.fov;
    let pitch = this.wantedPitch;
    if (this.mode === 0) {
      const limit = Math.min(this.tilt, this.pictureHalf);
      // Too tall a view for the allowed band: show less, keeping the user's zoom for later.
      if (this.halfHeight(fov) > limit) {
        fov = (2 * Math.atan(Math.tan(limit * DEG) / this.aspect)) / DEG;
      }
      const room = Math.max(0, limit - this.halfHeight(fov));
      pitch = clamp(pitch, -room, room);
    } else {
      pitch = clamp(pitch, -90, 90);
    }
    this.pitch = pitch;
    this.shownFov = fov;
    this.tanH = Math.tan((fov / 2) * DEG);
    this.tanV = this.tanH * this.aspect;
    this.matrix = rotation(this.yaw, this.pitch);
    this.version++;
  }

  /** Screen position (0..1 across, 0..1 down) of a direction, or null when it is behind. */
  project(yaw, pitch) {
    const cp = Math.cos(pitch * DEG);
    const d = [Math.sin(yaw * DEG) * cp, Math.sin(pitch * DEG), -Math.cos(yaw * DEG) * cp];
    const r = this.matrix;
    // Camera coordinates: the transpose of the rotation undoes it.
    const x = r[0][0] * d[0] + r[1][0] * d[1] + r[2][0] * d[2];
    const y = r[0][1] * d[0] + r[1][1] * d[1] + r[2][1] * d[2];
    const z = r[0][2] * d[0] + r[1][2] * d[1] + r[2][2] * d[2];
    if (z > -1e-3) return null;
    return { x: (1 + x / -z / this.tanH) / 2, y: (1 - y / -z / this.tanV) / 2 };
  }
}

export { View };
