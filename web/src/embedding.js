/**
 * Links and the embedding page: a link's #yaw=..&t=.., "Copy link to this view", and the
 * messages a parent page sends and hears. Methods of the Viewer (see viewer.js).
 */
import { el } from './dom.js';
import { clamp } from './maths.js';
import { given } from './config.js';

export class Embedding {
  /** A link's #yaw=..&pitch=..&fov=..&t=.. opens that view and that moment. */
  followLink() {
    const params = new URLSearchParams(location.hash.slice(1));
    const [yaw, pitch, fov, t] = ['yaw', 'pitch', 'fov', 't'].map((k) => given(params.get(k)));
    if (yaw !== undefined || pitch !== undefined || fov !== undefined) this.look(yaw, pitch, fov);
    if (t !== undefined) this.seekTo(t);
  }

  look(yaw, pitch, fov) {
    this.view.set(yaw ?? this.view.yaw, pitch ?? this.view.wantedPitch, fov);
  }

  seekTo(t) {
    const video = this.video;
    const go = () => { video.currentTime = clamp(t, 0, video.duration || 0); };
    if (video.readyState >= 1) go();
    else video.addEventListener('loadedmetadata', go, { once: true });
  }

  /** A link to this page that opens the view and moment shown now. */
  linkHere() {
    const r = (v) => Math.round(v * 10) / 10;
    const v = this.view;
    return `${location.href.split('#')[0]}#yaw=${r(v.yaw)}&pitch=${r(v.pitch)}` +
      `&fov=${r(v.fov)}&t=${r(this.video.currentTime)}`;
  }

  async copyLink() {
    const text = this.linkHere();
    let copied = false;
    try {
      await navigator.clipboard.writeText(text);
      copied = true;
    } catch {
      // Without the clipboard API (or its permission) the old way still works on most pages.
      const area = el('textarea', { class: 'qx-sr', 'aria-hidden': 'true' });
      area.value = text;
      this.root.append(area);
      area.select();
      try {
        copied = document.execCommand('copy');
      } catch {
        copied = false;
      }
      area.remove();
      this.bar.copy.focus();
    }
    const said = copied ? 'Link copied' : `The link could not be copied: ${text}`;
    this.announce(said);
    this.confirm(said, copied ? 2500 : 10000);
  }

  /**
   * A short note over the bar's right end for those who see it; the status region has already
   * told screen readers, so the note itself is hidden from them.
   */
  confirm(text, ms) {
    this.confirmation?.remove();
    const note = el('div', { class: 'qx-toast', 'aria-hidden': 'true', text });
    this.root.append(note);
    this.confirmation = note;
    setTimeout(() => note.remove(), ms);
  }

  /**
   * Messages from the page this one is embedded in: qx-set-view {yaw, pitch, fov},
   * qx-seek {t}, qx-play, qx-pause. Other windows are not listened to.
   */
  listenToParent() {
    window.addEventListener('message', (e) => {
      const m = e.data;
      if (e.source !== window.parent || !m || typeof m.type !== 'string') return;
      if (m.type === 'qx-set-view') this.look(given(m.yaw), given(m.pitch), given(m.fov));
      else if (m.type === 'qx-seek' && given(m.t) !== undefined) this.seekTo(m.t);
      else if (m.type === 'qx-play') this.togglePlay(true);
      else if (m.type === 'qx-pause') this.togglePlay(false);
    });
    this.video.addEventListener('timeupdate', () =>
      this.pendingTime === undefined && this.emit('timeupdate', this.position()));
  }
}
