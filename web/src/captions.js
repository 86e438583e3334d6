// Captions drawn over the picture. Methods of the Viewer (see viewer.js).
import { el } from './dom.js';

export class Captions {
  /**
   * Captions from the WebVTT file beside the video. The browser reads the file and keeps time
   * (a hidden track); the active cues are drawn here, since the video itself is never shown.
   * Not a live region: a screen reader would read every cue over the sound.
   */
  makeCaptions() {
    if (!this.config.captions) return;
    const track = el('track', { kind: 'captions', src: this.config.captions, default: '' });
    this.video.append(track);
    const box = el('div', { class: 'qx-captions', 'aria-live': 'off' });
    box.hidden = true;
    this.root.append(box);
    this.captions = { box, track: track.track, on: true };
    track.track.mode = 'hidden';
    track.track.addEventListener('cuechange', () => this.showCues());
  }

  showCues() {
    const { box, track, on } = this.captions;
    const lines = [...(track.activeCues || [])].map((cue) =>
      el('span', {}, cue.getCueAsHTML ? cue.getCueAsHTML() : cue.text));
    box.replaceChildren(...lines.flatMap((line, i) => (i ? [el('br'), line] : [line])));
    box.hidden = !on || !lines.length;
  }
}
