/**
 * Hot spots: links over the picture at a direction and for a stretch of the video, kept in the
 * tab order, announced when they appear. Methods of the Viewer (see viewer.js).
 */
import { el } from './dom.js';
import { hotSpotYaw } from './maths.js';
import { linkAllowed } from './safeLink.js';

export class HotSpots {
  makeHotSpot(spot) {
    // A link that would run script is never followed: the hot spot shows, but leads nowhere.
    const safe = linkAllowed(spot.link);
    const link = el('a', safe ? { class: 'qx-hs', href: spot.link || '#' }
      : { class: 'qx-hs', tabindex: '0', 'aria-disabled': 'true' });
    link.hidden = true;
    if (!spot.self) {
      link.target = '_blank';
      link.rel = 'noopener';
    }
    const icon = el('img', { alt: '', src: spot.icon, draggable: 'false' });
    icon.addEventListener('load', () => {
      link.style.setProperty('--qx-half', icon.naturalHeight / 2 + 'px');
    });
    link.append(icon, el('span', { class: 'qx-title', text: spot.title }));
    if (!spot.self) link.append(el('span', { class: 'qx-sr', text: ' (opens in a new window)' }));
    this.layer.append(link);
    const entry = { spot, link, active: false, away: false, x: NaN, y: NaN };
    link.addEventListener('focus', () => this.lookAtHotSpot(entry));
    link.addEventListener('click', () => this.emit('hotspotclicked', this.spotDetail(spot)));
    return entry;
  }

  /** A hot spot reached with Tab but outside the view turns the view towards it. */
  lookAtHotSpot(entry) {
    if (!entry.away) return;
    this.view.set(hotSpotYaw(entry.spot.yaw), 0);
    this.updateHotSpots(this.video.currentTime, true);
  }

  updateHotSpots(time, viewChanged) {
    const width = this.canvas.clientWidth, height = this.canvas.clientHeight;
    const appeared = [];
    for (const entry of this.hotSpots) {
      const { spot, link } = entry;
      const active = time >= spot.pos && time < spot.pos + spot.time;
      entry.shown = active && !entry.away;
      if (active !== entry.active) {
        entry.active = active;
        link.hidden = !active;
        if (active) {
          appeared.push(spot.title);
          this.emit('hotspotshown', this.spotDetail(spot));
        }
        else if (link === document.activeElement) this.canvas.focus();
        viewChanged = true;
      }
      if (!active || !viewChanged) continue;
      const at = this.view.project(hotSpotYaw(spot.yaw), 0);
      const away = !at || at.x < 0 || at.x > 1 || at.y < 0 || at.y > 1;
      // Out of view it stays in the tab order, parked inside the box and transparent.
      const x = away ? width / 2 : at.x * width;
      const y = away ? height / 2 : at.y * height;
      entry.shown = !away;
      if (away !== entry.away) {
        entry.away = away;
        link.classList.toggle('qx-away', away);
      }
      if (x !== entry.x || y !== entry.y) {
        entry.x = x;
        entry.y = y;
        link.style.left = x.toFixed(1) + 'px';
        link.style.top = y.toFixed(1) + 'px';
      }
    }
    if (appeared.length) {
      this.announce(`${appeared.length > 1 ? 'Hot spots' : 'Hot spot'}: ${appeared.join(', ')}`);
    }
  }

  spotDetail(spot) {
    return { slot: spot.slot, title: spot.title, link: spot.link, time: this.video.currentTime };
  }
}
