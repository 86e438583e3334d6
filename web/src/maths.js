/**
 * Angles and rotations shared by the view, the renderer and the headset path. Degrees
 * throughout; a rotation is three rows.
 */

const DEG = Math.PI / 180;

const clamp = (v, lo, hi) => Math.min(hi, Math.max(lo, v));
const wrap360 = (v) => ((v % 360) + 360) % 360;
/** The view yaw at which the author saw a hot spot that config.xml places at yaw h. */
const hotSpotYaw = (h) => wrap360(h + 180);

const hexRgb = (hex) => [1, 3, 5].map((i) => parseInt(hex.substr(i, 2), 16) / 255);

/** The view rotation (yaw about the vertical axis after pitch about the horizontal one). */
function rotation(yaw, pitch) {
  const cy = Math.cos(yaw * DEG), sy = Math.sin(yaw * DEG);
  const cp = Math.cos(pitch * DEG), sp = Math.sin(pitch * DEG);
  // Rows of R = Ry(yaw) * Rx(pitch); R * (0, 0, -1) is the viewing direction.
  return [
    [cy, -sy * sp, -sy * cp],
    [0, cp, -sp],
    [sy, cy * sp, cy * cp],
  ];
}

/** Rows of the rotation of a unit quaternion (a WebXR view's orientation). */
function quaternionRows({ x, y, z, w }) {
  return [
    [1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)],
    [2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)],
    [2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)],
  ];
}

const multiply = (a, b) => a.map((row) => [0, 1, 2].map((c) =>
  row[0] * b[0][c] + row[1] * b[1][c] + row[2] * b[2][c]));

export { DEG, clamp, wrap360, hotSpotYaw, hexRgb, rotation, quaternionRows, multiply };
