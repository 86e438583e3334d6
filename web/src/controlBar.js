// The control bar under the picture. Methods of the Viewer (see viewer.js).
import { el, setIcon } from './dom.js';
import { clamp } from './maths.js';

const SEEK_STEP = 5; // seconds per arrow key press on the position slider

function formatTime(seconds) {
  const s = Math.max(0, Math.floor(Number.isFinite(seconds) ? seconds : 0));
  const mm = String(Math.floor(s / 60) % 60);
  const ss = String(s % 60).padStart(2, '0');
  return s >= 3600 ? `${Math.floor(s / 3600)}:${mm.padStart(2, '0')}:${ss}` : `${mm}:${ss}`;
}

export class ControlBar {
  makeBar() {
    const button = (label, icon, action) => {
      const b = el('button', { type: 'button', 'aria-label': label, title: label });
      setIcon(b, icon);
      b.addEventListener('click', action);
      return b;
    };
    const video = this.video;
    const play = button('Play', 'play', () => this.togglePlay());
    const time = el('span', { class: 'qx-time', text: '0:00 / 0:00' });
    const seek = el('input', { class: 'qx-seek', type: 'range', min: '0', max: '1000',
      value: '0', 'aria-label': 'Position' });
    seek.addEventListener('input', () => {
      if (video.duration) video.currentTime = (seek.value / 1000) * video.duration;
    });
    // The slider's own keys would move a thousandth of the video: keys move by seconds here.
    seek.addEventListener('keydown', (e) => {
      const d = video.duration;
      const to = { ArrowLeft: -SEEK_STEP, ArrowDown: -SEEK_STEP, ArrowRight: SEEK_STEP,
        ArrowUp: SEEK_STEP, PageDown: -d / 10, PageUp: d / 10 }[e.key];
      if (!d || (to === undefined && e.key !== 'Home' && e.key !== 'End')) return;
      e.preventDefault();
      video.currentTime = e.key === 'Home' ? 0 : e.key === 'End' ? Math.max(0, d - 0.1)
        : clamp(video.currentTime + to, 0, d);
      seek.value = String(Math.round((video.currentTime / d) * 1000));
    });
    const mute = button('Mute', 'volume', () => {
      video.muted = !video.muted;
      if (!video.muted && video.volume === 0) video.volume = 0.5;
      this.center.replaceChildren();
    });
    const volume = el('input', { class: 'qx-volume', type: 'range', min: '0', max: '100',
      value: String(this.main.volume), 'aria-label': 'Volume' });
    volume.addEventListener('input', () => {
      video.volume = volume.value / 100;
      video.muted = video.volume === 0;
    });
    const bar = el('div', { class: 'qx-bar' }, play, time, seek,
      ...(this.config.audio ? [mute, volume] : []));
    let captions = null, motion = null;
    if (this.captions) {
      captions = button('Captions', 'captions', () => {
        this.captions.on = !this.captions.on;
        captions.setAttribute('aria-pressed', String(this.captions.on));
        this.showCues();
      });
      captions.setAttribute('aria-pressed', 'true');
      bar.append(captions);
    }
    const touch = 'ontouchstart' in window || matchMedia('(pointer: coarse)').matches;
    if (window.DeviceOrientationEvent && touch) {
      motion = button('Look around by moving the phone', 'phone', () => this.toggleOrientation());
      motion.setAttribute('aria-pressed', 'false');
      bar.append(motion);
    }
    const copy = button('Copy link to this view', 'link', () => this.copyLink());
    bar.append(copy);
    const fullscreenTarget = this.root.requestFullscreen ? 'requestFullscreen'
      : this.root.webkitRequestFullscreen ? 'webkitRequestFullscreen' : null;
    let full = null;
    if (fullscreenTarget && (document.fullscreenEnabled || document.webkitFullscreenEnabled)) {
      full = button('Full screen', 'full', () => {
        const current = document.fullscreenElement || document.webkitFullscreenElement;
        if (current) (document.exitFullscreen || document.webkitExitFullscreen).call(document);
        else this.root[fullscreenTarget]();
      });
    } else {
      full = button('Full screen', 'full', () => this.setFullWindow(!this.fullWindow));
      document.addEventListener('keydown', (e) => {
        if (e.key === 'Escape' && this.fullWindow) this.setFullWindow(false);
      });
    }
    bar.append(full);
    this.root.append(bar);
    this.bar = { element: bar, play, time, seek, mute, volume, full, captions, motion, copy,
      shown: {} };
  }

  updateBar() {
    const video = this.video;
    const bar = this.bar;
    const set = (key, value, apply) => {
      if (bar.shown[key] !== value) {
        bar.shown[key] = value;
        apply(value);
      }
    };
    const playing = !video.paused;
    set('playing', playing, (p) => {
      setIcon(bar.play, p ? 'pause' : 'play');
      bar.play.setAttribute('aria-label', p ? 'Pause' : 'Play');
      bar.play.title = p ? 'Pause' : 'Play';
    });
    set('time', `${formatTime(video.currentTime)} / ${formatTime(video.duration)}`,
      (t) => { bar.time.textContent = t; });
    set('spoken', `${formatTime(video.currentTime)} of ${formatTime(video.duration)}`,
      (t) => bar.seek.setAttribute('aria-valuetext', t));
    if (document.activeElement !== bar.seek && video.duration) {
      set('seek', Math.round((video.currentTime / video.duration) * 1000),
        (v) => { bar.seek.value = String(v); });
    }
    set('muted', video.muted, (m) => {
      setIcon(bar.mute, m ? 'muted' : 'volume');
      bar.mute.setAttribute('aria-label', m ? 'Sound on' : 'Mute');
      bar.mute.title = m ? 'Sound on' : 'Mute';
    });
    if (bar.full) {
      const isFull = Boolean(document.fullscreenElement || document.webkitFullscreenElement ||
        this.fullWindow);
      set('full', isFull, (f) => {
        setIcon(bar.full, f ? 'exit' : 'full');
        bar.full.setAttribute('aria-label', f ? 'Leave full screen' : 'Full screen');
        bar.full.title = f ? 'Leave full screen' : 'Full screen';
      });
    }
  }
}
