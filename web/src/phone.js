/**
 * Phones: look-around by moving the phone, and filling the window where element full screen is
 * missing. Methods of the Viewer (see viewer.js).
 */
import { DEG, clamp } from './maths.js';

/**
 * Where the back of a phone points, from a deviceorientation event: heading (degrees clockwise
 * from the alpha origin) and pitch (degrees up). The phone's frame is turned by
 * Rz(alpha) Rx(beta) Ry(gamma) from the earth's (x east, y north, z up); its back is -z.
 */
function deviceLook(e) {
  if (typeof e.beta !== 'number' || typeof e.gamma !== 'number') return null;
  const a = (e.alpha || 0) * DEG, b = e.beta * DEG, g = e.gamma * DEG;
  const [sa, ca, sb, cb, sg, cg] = [a, b, g].flatMap((v) => [Math.sin(v), Math.cos(v)]);
  const x = -ca * sg - sa * sb * cg;
  const y = -sa * sg + ca * sb * cg;
  const z = -cb * cg;
  return { yaw: Math.atan2(x, y) / DEG, pitch: Math.asin(clamp(z, -1, 1)) / DEG };
}

export class Phone {
  /** Look-around by moving the phone; iOS grants it only from a tap, hence a button. */
  async toggleOrientation() {
    const button = this.bar.motion;
    if (this.orientation) {
      window.removeEventListener('deviceorientation', this.orientation);
      this.orientation = null;
    } else {
      const ask = window.DeviceOrientationEvent.requestPermission;
      if (typeof ask === 'function') {
        let answer = 'denied';
        try {
          answer = await ask.call(window.DeviceOrientationEvent);
        } catch {
          // asked outside a tap, or refused for good
        }
        if (answer !== 'granted') {
          this.announce('The browser does not let moving the phone turn the view.');
          return;
        }
      }
      // The heading only turns the view by as much as the phone turns, so dragging still
      // works; the pitch follows the phone, so the horizon stays level with the real one.
      let heading = null;
      this.orientation = (e) => {
        const look = deviceLook(e);
        if (!look) return;
        const turn = heading === null ? 0 : ((look.yaw - heading + 540) % 360) - 180;
        heading = look.yaw;
        this.view.set(this.view.yaw + turn, look.pitch);
      };
      window.addEventListener('deviceorientation', this.orientation);
    }
    button.setAttribute('aria-pressed', String(Boolean(this.orientation)));
  }

  /** Where element full screen is missing (iPhone): the viewer fills the window instead. */
  setFullWindow(on) {
    this.fullWindow = on;
    this.root.classList.toggle('qx-fullwindow', on);
    document.documentElement.style.overflow = on ? 'hidden' : '';
  }
}
