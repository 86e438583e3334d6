/**
 * Versions of the video: which to start with (canvas width, measured link speed) and a lighter one
 * when playback keeps stalling. Methods of the Viewer (see viewer.js).
 */

export class Renditions {
  /**
   * The version to start with: the lightest one still as wide as the canvas's pixels, and
   * lighter still while it needs more than the link was measured to carry. -1: only one.
   */
  pickRendition() {
    const list = this.config.renditions;
    if (list.length < 2) return -1;
    const need = this.root.clientWidth * (window.devicePixelRatio || 1);
    let i = list.length - 1;
    while (i > 0 && list[i].width < need) i--;
    const link = this.linkSpeed();
    while (link && i < list.length - 1 && list[i].bitrate > 0.8 * link) i++;
    return i;
  }

  /** Bits per second measured on this page or an earlier one of the visit; 0 when unknown. */
  linkSpeed() {
    if (this.linkBits) return this.linkBits;
    try {
      return Number(sessionStorage.getItem('qx-link-speed')) || 0;
    } catch {
      return 0; // storage refused (private mode, sandboxed frame)
    }
  }

  /**
   * The poster's download measures the link (without the wait for the first byte, which a
   * file this small would be mostly). Before the start, a version the link cannot carry is
   * changed for a lighter one.
   */
  measureLink(url) {
    const entry = performance.getEntriesByName(url).pop();
    const seconds = entry ? (entry.responseEnd - entry.responseStart) / 1000 : 0;
    if (!entry || entry.transferSize < 65536 || seconds <= 0) return;
    this.linkBits = (entry.transferSize * 8) / seconds;
    try {
      sessionStorage.setItem('qx-link-speed', String(this.linkBits));
    } catch {
      // not kept for the next page; this one still knows
    }
    if (!this.started && this.rendition >= 0) this.switchRendition(this.pickRendition());
  }

  /**
   * Two stalls of over a second within 20 s: the link does not carry this version, and the
   * next lighter one is played from the same moment. Waiting after a seek does not count.
   */
  watchStalls() {
    const video = this.video;
    let stalls = [];
    const stalled = () => {
      if (!this.started || this.stalledAt || video.seeking) return;
      if (this.pendingTime !== undefined) return;
      const at = performance.now();
      this.stalledAt = at;
      setTimeout(() => {
        if (this.stalledAt !== at || video.readyState >= 3 || video.paused) return;
        stalls = stalls.filter((t) => at - t < 20000).concat(at);
        if (stalls.length < 2 || this.rendition < 0) return;
        stalls = [];
        this.switchRendition(this.rendition + 1);
      }, 1000);
    };
    video.addEventListener('waiting', stalled);
    // 'stalled' alone only says the download paused; it counts when playback waits too.
    video.addEventListener('stalled', () => video.readyState < 3 && stalled());
    for (const type of ['playing', 'pause', 'emptied']) {
      video.addEventListener(type, () => { this.stalledAt = 0; });
    }
  }

  /** Plays another version from the same moment; view, captions and play state stay. */
  switchRendition(index) {
    const list = this.config.renditions;
    if (index === this.rendition || index < 0 || index >= list.length) return;
    const video = this.video;
    const playing = this.started && !video.paused;
    // Before its metadata a video has no moment to keep (a link's t is still waiting).
    const time = video.readyState >= 1 ? video.currentTime : undefined;
    this.rendition = index;
    this.videoName = list[index].video;
    this.pendingTime = time;
    video.src = this.videoName;
    video.addEventListener('loadedmetadata', () => {
      if (time !== undefined) video.currentTime = time;
      this.pendingTime = undefined;
      if (playing) video.play().catch(() => this.offer('play'));
    }, { once: true });
    this.emit('renditionchange', { video: this.videoName, width: list[index].width });
  }
}
