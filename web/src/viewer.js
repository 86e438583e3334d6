/**
 * The viewer: its state, the start, the frame loop and the size. Each of its other concepts lives
 * in a module of its own as a class of methods that are added to Viewer here; they share the
 * viewer's fields, as methods of one class would.
 */
import { el } from './dom.js';
import { Renderer } from './renderer.js';
import { View } from './view.js';
import { HotSpots } from './hotspots.js';
import { Playback } from './playback.js';
import { Renditions } from './renditions.js';
import { Captions } from './captions.js';
import { Embedding } from './embedding.js';
import { Phone } from './phone.js';
import { Xr } from './xr.js';
import { AudioPanning } from './audio.js';
import { Input } from './input.js';
import { ControlBar } from './controlBar.js';

export class Viewer {
  constructor(root, config) {
    this.root = root;
    this.config = config;
    this.main = config.main;
    root.classList.add('qx-viewer');
    root.style.background = this.main.stageColor;
    this.status = el('div', { class: 'qx-sr', role: 'status', 'aria-live': 'polite' });
    this.center = el('div', { class: 'qx-center' });
    root.append(this.center, this.status);
  }

  /**
   * A message in the middle of the viewer; role 'alert' or 'status' has screen readers read it
   * out, none leaves it to be found (for texts that change often).
   */
  message(text, role) {
    if (role === 'alert') this.error = text;
    const box = el('div', { class: 'qx-message', text });
    if (role) box.setAttribute('role', role);
    this.center.replaceChildren(box);
    return box;
  }

  /**
   * What is shown, for a page's script and the tests; the Flash viewer answers the same
   * question with the same fields through ExternalInterface.
   */
  state() {
    const video = this.video;
    return {
      yaw: this.view ? this.view.yaw : 0,
      pitch: this.view ? this.view.pitch : 0,
      fov: this.view ? this.view.shownFov : 0,
      time: this.pendingTime ?? (video ? video.currentTime : 0),
      framesDrawn: this.framesDrawn || 0,
      videoWidth: video ? video.videoWidth : 0,
      videoHeight: video ? video.videoHeight : 0,
      visible: (this.hotSpots || []).filter((e) => e.shown).map((e) => e.spot.slot),
      ready: Boolean(this.drawn && this.drawn.frame) && !this.error,
      error: this.error || null,
      video: this.videoName || '',
    };
  }

  start() {
    window.qxViewerState = () => this.state();
    if (location.protocol === 'file:') {
      this.message(
        'This page must be served over HTTP: opened from disk, a browser does not let it ' +
        'show its video. Open it through a web server, for example with "Test in browser" ' +
        'in the selector utility.', 'alert');
      return;
    }
    this.video = this.makeVideo();
    this.canvas = el('canvas', {
      tabindex: '0',
      role: 'application',
      'aria-roledescription': '360-degree video',
      'aria-label': (this.config.page.title ? this.config.page.title + ': ' : '') +
        '360-degree video. Arrow keys look around, plus and minus zoom, space plays and pauses.',
    });
    let renderer = null;
    try {
      renderer = new Renderer(this.canvas, this.main.smooth, this.main.stageColor);
    } catch (error) {
      console.error(error);
    }
    if (!renderer || !renderer.gl) {
      this.showFlat();
      return;
    }
    this.renderer = renderer;
    this.view = new View(this.main);
    this.layer = el('div', { class: 'qx-layer' });
    this.root.prepend(this.video, this.canvas, this.layer);
    this.hotSpots = this.config.hotspots.map((h) => this.makeHotSpot(h));
    this.drawn = { version: -1, time: -1, frame: false };
    this.showPoster();
    this.watchBuffering();
    this.watchStalls();
    this.makeCaptions();
    if (this.main.controls) this.makeBar();
    this.watchSize();
    this.listen();
    this.listenToParent();
    this.offerVr();
    this.followLink();
    window.addEventListener('hashchange', () => this.followLink());
    this.waitForBuffer();
    const loop = () => {
      try {
        this.frame();
        requestAnimationFrame(loop);
      } catch (error) {
        // For instance a video from another site without CORS: it cannot become a texture.
        console.error(error);
        this.message(`The 360-degree view stopped: ${error.message}`, 'alert');
      }
    };
    requestAnimationFrame(loop);
  }

  makeVideo() {
    const video = el('video', { playsinline: '', 'webkit-playsinline': '', preload: 'auto' });
    video.hidden = true; // its frames reach the screen through the canvas
    video.playsInline = true;
    video.loop = true;
    video.volume = this.main.volume / 100;
    video.muted = this.main.volume === 0;
    this.rendition = this.pickRendition();
    this.videoName = this.rendition < 0 ? this.config.video
      : this.config.renditions[this.rendition].video;
    video.src = this.videoName;
    video.addEventListener('error', () => this.videoFailed());
    return video;
  }

  /**
   * The video will not play. A browser reports a missing file as a format it cannot play, so
   * the server is asked whether the file is there before the visitor is told which it is.
   */
  async videoFailed() {
    clearInterval(this.bufferTimer);
    if (this.bar) this.bar.element.remove(); // nothing left to control
    const name = this.videoName;
    let status = 0;
    if (location.protocol.startsWith('http')) {
      try {
        status = (await fetch(name, { method: 'HEAD', cache: 'no-store' })).status;
      } catch {
        status = -1; // the server cannot be reached any more
      }
    }
    const code = this.video.error ? this.video.error.code : 0;
    this.message(status >= 400 ? `The video ${name} is missing on the server (HTTP ${status}).`
      : status === -1 ? `The video ${name} could not be loaded: the server does not answer.`
      : code === 4 ? `The video ${name} could not be played by this browser.`
      : `The video ${name} could not be loaded.`, 'alert');
  }

  /** Without WebGL the video still plays, flat, with the browser's own controls. */
  showFlat() {
    const video = this.video;
    video.className = 'qx-fallback';
    if (this.config.poster) video.poster = this.config.poster;
    video.hidden = false;
    video.controls = true;
    this.root.prepend(video);
    this.message('This browser cannot show the 360-degree view (WebGL is not available); ' +
      'the video is shown flat.', 'status');
    setTimeout(() => this.center.replaceChildren(), 6000);
  }

  // ---- size

  watchSize() {
    const resize = () => {
      const ratio = Math.min(window.devicePixelRatio || 1, 2);
      const w = Math.max(1, Math.round(this.canvas.clientWidth * ratio));
      const h = Math.max(1, Math.round(this.canvas.clientHeight * ratio));
      if (w !== this.canvas.width || h !== this.canvas.height) {
        this.canvas.width = w;
        this.canvas.height = h;
      }
      this.view.setAspect(this.canvas.clientHeight / Math.max(1, this.canvas.clientWidth));
    };
    if (window.ResizeObserver) new ResizeObserver(resize).observe(this.root);
    else window.addEventListener('resize', resize);
    resize();
  }

  // ---- per frame

  frame() {
    const video = this.video;
    const renderer = this.renderer;
    if (renderer.gl.isContextLost()) return;
    this.applyHeldPointer();
    // In a headset the session's own frames draw; the page keeps its hot spots and bar.
    const fresh = this.xr ? false : this.uploadFrame();
    const viewChanged = this.view.version !== this.drawn.version;
    if (!this.xr && (fresh || viewChanged)) {
      renderer.draw(this.view);
      this.framesDrawn = (this.framesDrawn || 0) + 1;
    }
    this.drawn.version = this.view.version;
    if (viewChanged) this.viewMoved = true;
    // Parents hear of a moving view ten times a second at most, and of where it came to rest.
    const now = performance.now();
    if (this.viewMoved && now - (this.viewSent || 0) >= 100) {
      this.viewMoved = false;
      this.viewSent = now;
      this.emit('viewchange', this.position());
    }
    this.updateHotSpots(this.pendingTime ?? video.currentTime, viewChanged);
    if (this.audio) this.audio.follow(this.view.yaw);
    if (this.bar && this.pendingTime === undefined) this.updateBar();
  }

  /** Brings the texture up to date: the video's frame, or the poster until there is one. */
  uploadFrame() {
    const video = this.video;
    const renderer = this.renderer;
    let fresh = false;
    if (video.readyState >= 2 && (video.currentTime !== this.drawn.time || !this.drawn.frame)) {
      const first = !this.drawn.frame;
      // Another version of the video may be switched to; its shape is taken again.
      if (video.videoWidth !== this.drawn.width) {
        this.view.setPicture(video.videoWidth, video.videoHeight);
        this.drawn.width = video.videoWidth;
      }
      renderer.upload(video);
      this.drawn.time = video.currentTime;
      this.drawn.frame = true;
      fresh = true;
      if (first) setTimeout(() => this.emit('ready', this.state()));
    } else if (!this.drawn.frame && this.poster && !this.drawn.poster) {
      this.view.setPicture(this.poster.naturalWidth, this.poster.naturalHeight);
      renderer.upload(this.poster);
      this.drawn.poster = fresh = true;
    }
    return fresh;
  }

  announce(text) {
    // Cleared first so that the same text is read again when it comes back.
    this.status.textContent = '';
    setTimeout(() => { this.status.textContent = text; }, 50);
  }

  /** An event on the viewer element (qx-NAME, the facts in detail), also sent to a parent. */
  emit(name, detail) {
    this.root.dispatchEvent(new CustomEvent(`qx-${name}`, { detail }));
    if (window.parent !== window) window.parent.postMessage({ type: `qx-${name}`, ...detail }, '*');
  }

  position() {
    const { yaw, pitch, fov, time } = this.state();
    return { yaw, pitch, fov, time };
  }
}

const parts = [HotSpots, Playback, Renditions, Captions, Embedding, Phone, Xr, AudioPanning,
  Input, ControlBar];
for (const part of parts) {
  for (const name of Object.getOwnPropertyNames(part.prototype)) {
    if (name === 'constructor') continue;
    if (name in Viewer.prototype) throw new Error(`Viewer.${name} is defined twice`);
    Viewer.prototype[name] = part.prototype[name];
  }
}
