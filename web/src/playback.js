/**
 * Buffering and the start: the wait for bufferingTime of video, autoplay (muted where the browser
 * wants a gesture for sound), the play and sound buttons, the poster, the buffering spinner, and
 * play/pause. Methods of the Viewer (see viewer.js).
 */
import { el, setIcon } from './dom.js';
import { clamp } from './maths.js';

export class Playback {
  /** Plays once bufferingTime of video is loaded (or the whole video, if it is shorter). */
  waitForBuffer() {
    const video = this.video;
    const note = this.message('Loading video…');
    const check = () => {
      if (this.started) return;
      if (video.readyState < 1) return;
      const need = Math.min(this.main.bufferingTime / 1000, video.duration || 0);
      let have = 0;
      for (let i = 0; i < video.buffered.length; i++) {
        if (video.buffered.start(i) <= video.currentTime + 0.1) {
          have = Math.max(have, video.buffered.end(i) - video.currentTime);
        }
      }
      note.textContent = `Loading video… ${Math.floor(clamp(have / (need || 1), 0, 1) * 100)}%`;
      // The browser may stop loading on its own before the wanted amount: start then too.
      const idle = video.networkState === video.NETWORK_IDLE && video.readyState >= 3;
      if ((have >= need - 0.05 && video.readyState >= 3) || idle) this.begin(false);
    };
    this.bufferTimer = setInterval(check, 200);
    for (const type of ['loadedmetadata', 'progress', 'canplay', 'canplaythrough', 'suspend']) {
      video.addEventListener(type, check);
    }
  }

  /** Starts playing; where the browser refuses sound without a gesture, plays muted. */
  begin(byUser) {
    if (this.started) return;
    this.started = true;
    clearInterval(this.bufferTimer);
    this.center.replaceChildren();
    const video = this.video;
    if (this.held) {
      this.offer('play');
      return;
    }
    video.play().catch((error) => {
      if (byUser || error.name !== 'NotAllowedError' || video.muted) {
        this.offer('play');
        return;
      }
      video.muted = true;
      // A video without sound has nothing to unmute: it simply plays.
      video.play().then(() => this.config.audio && this.offer('unmute'), () => this.offer('play'));
    });
  }

  /**
   * The tap-to-play button in the middle, or the tap-for-sound button in a corner, out of the
   * way of the picture that is already moving.
   */
  offer(what) {
    const play = what === 'play';
    const button = el('button', { class: play ? 'qx-big' : 'qx-big qx-corner', type: 'button',
      'aria-label': play ? 'Play video' : 'Turn the sound on' });
    setIcon(button, play ? 'play' : 'muted');
    button.append(play ? 'Play' : 'Tap for sound');
    button.addEventListener('click', () => {
      this.userGesture();
      this.video.muted = this.main.volume === 0;
      this.video.play().catch(() => {});
      this.center.replaceChildren();
      this.canvas.focus({ preventScroll: true });
    });
    this.center.replaceChildren(button);
  }

  /** The poster stands in for the video, through the same view, until its first frame. */
  showPoster() {
    if (!this.config.poster) return;
    const image = new Image();
    image.addEventListener('load', () => {
      this.poster = image;
      this.measureLink(image.src);
    });
    image.src = this.config.poster;
  }

  /** A spinner whenever playback waits for data; the last picture stays beneath it. */
  watchBuffering() {
    const video = this.video;
    const spinner = el('div', { class: 'qx-buffering', role: 'img', 'aria-label': 'Buffering' });
    spinner.hidden = true;
    this.root.append(spinner);
    const show = (on) => () => { spinner.hidden = !(on && this.started && !this.error); };
    video.addEventListener('waiting', show(true));
    // 'stalled' only says the download paused: a video with enough data keeps playing.
    video.addEventListener('stalled', () => video.readyState < 3 && show(true)());
    for (const type of ['playing', 'canplay', 'seeked', 'error']) {
      video.addEventListener(type, () => (video.readyState >= 3 || type === 'error') &&
        show(false)());
    }
  }

  /** Plays or pauses; `want` (true: play) from the embedding page, none: the other of the two. */
  togglePlay(want) {
    const play = want ?? (!this.started || this.video.paused);
    if (!play) {
      this.held = !this.started;
      this.video.pause();
    } else if (!this.started) {
      this.held = false;
      this.begin(want === undefined);
    } else if (this.video.paused) {
      this.video.play().catch(() => this.offer('play'));
    }
  }
}
