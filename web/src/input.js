/**
 * Mouse, touch, wheel and keys turn and zoom the view. Methods of the Viewer (see viewer.js).
 */
import { clamp } from './maths.js';

const KEY_STEP = 5; // degrees per arrow key press at a 70 degree field of view

export class Input {
  listen() {
    const canvas = this.canvas;
    for (const type of ['pointerdown', 'pointerup', 'keydown', 'touchend', 'click']) {
      this.root.addEventListener(type, () => this.userGesture(), { capture: true });
    }
    this.pointers = new Map();
    canvas.addEventListener('pointerdown', (e) => this.pointerDown(e));
    canvas.addEventListener('pointermove', (e) => this.pointerMove(e));
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) {
      canvas.addEventListener(type, (e) => this.pointerUp(e));
    }
    canvas.addEventListener('wheel', (e) => {
      e.preventDefault();
      const lines = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? 400 : 1;
      this.view.zoom(Math.exp(clamp(e.deltaY * lines, -200, 200) * 0.0015));
    }, { passive: false });
    this.root.addEventListener('keydown', (e) => this.key(e));
    canvas.addEventListener('webglcontextlost', (e) => e.preventDefault());
    canvas.addEventListener('webglcontextrestored', () => {
      this.renderer.setUp();
      this.drawn = { version: -1, time: -1, frame: false, poster: false };
    });
  }

  key(e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    const inSlider = e.target instanceof HTMLInputElement;
    const step = (KEY_STEP * this.view.fov) / 70;
    const moves = {
      ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, step], ArrowDown: [0, -step],
    };
    if (moves[e.key] && !inSlider) {
      this.view.turn(...moves[e.key]);
    } else if (e.key === '+' || e.key === '=' || e.key === 'Add') {
      this.view.zoom(1 / 1.1);
    } else if (e.key === '-' || e.key === '_' || e.key === 'Subtract') {
      this.view.zoom(1.1);
    } else if ((e.key === ' ' || e.key === 'k') && e.target === this.canvas) {
      this.togglePlay();
    } else {
      return;
    }
    e.preventDefault();
  }

  pointerDown(e) {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    try {
      this.canvas.setPointerCapture(e.pointerId);
    } catch {
      // a pointer the browser no longer knows: follow it without capture
    }
    this.canvas.classList.add('qx-dragging');
    this.pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    this.pinch = null;
    this.lastTick = performance.now();
  }

  pointerMove(e) {
    const p = this.pointers.get(e.pointerId);
    if (!p) return;
    const dx = e.clientX - p.x, dy = e.clientY - p.y;
    p.x = e.clientX;
    p.y = e.clientY;
    if (this.pointers.size >= 2) {
      const [a, b] = [...this.pointers.values()];
      const distance = Math.hypot(a.x - b.x, a.y - b.y);
      if (this.pinch && distance > 0) this.view.zoom(this.pinch / distance);
      this.pinch = distance;
    } else if (this.main.panningMode === 0) {
      // The picture follows the finger: a drag across the whole view turns it by its fov.
      const perPixel = this.view.shownFov / Math.max(1, this.canvas.clientWidth);
      this.view.turn(-dx * perPixel, dy * perPixel);
    }
  }

  pointerUp(e) {
    this.pointers.delete(e.pointerId);
    if (this.pointers.size < 2) this.pinch = null;
    if (this.pointers.size === 0) this.canvas.classList.remove('qx-dragging');
  }

  /** Half-area panning: while held, the view turns at a speed that grows from the centre. */
  applyHeldPointer() {
    const now = performance.now();
    const seconds = Math.min(0.1, (now - (this.lastTick || now)) / 1000);
    this.lastTick = now;
    if (this.main.panningMode !== 1 || this.pointers.size !== 1) return;
    const p = this.pointers.values().next().value;
    const box = this.canvas.getBoundingClientRect();
    const speed = (offset) => (Math.abs(offset) < 0.05 ? 0 : offset) * 1.5 * this.view.fov;
    const ox = (p.x - box.left) / box.width * 2 - 1;
    const oy = (p.y - box.top) / box.height * 2 - 1;
    this.view.turn(speed(clamp(ox, -1, 1)) * seconds, -speed(clamp(oy, -1, 1)) * seconds / 2);
  }
}
