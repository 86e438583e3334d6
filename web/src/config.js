/**
 * The page's inline configuration (written by the converter from config.xml), read defensively:
 * a hand-edited page must still show something.
 */
import { clamp } from './maths.js';

const num = (v, def) => (typeof v === 'number' && Number.isFinite(v) ? v : def);
const str = (v, def) => (typeof v === 'string' ? v : def);
const bool = (v, def) => (typeof v === 'boolean' ? v : def);
const colour = (v, def) => (typeof v === 'string' && /^#[0-9a-f]{6}$/i.test(v) ? v : def);

/** The configuration with every missing, null or malformed value replaced by its default. */
function readConfig(raw) {
  const page = raw.page || {};
  const main = raw.main || {};
  const hotspots = Array.isArray(raw.hotspots) ? raw.hotspots : [];
  const size = (v) => (typeof v === 'number' && v > 0 ? v : null);
  return {
    video: str(raw.video, ''),
    poster: str(raw.poster, ''),
    captions: str(raw.captions, ''),
    // Versions of the video, widest first; fewer than two means there is nothing to choose.
    renditions: (Array.isArray(raw.renditions) ? raw.renditions : [])
      .filter((r) => r && typeof r.video === 'string' && num(r.width, 0) > 0)
      .map((r) => ({ video: r.video, width: r.width, bitrate: num(r.bitrate, 0) }))
      .sort((a, b) => b.width - a.width),
    audio: bool(raw.audio, true),
    page: {
      title: str(page.title, ''),
      bgColor: colour(page.bgColor, '#FFFFFF'),
      width: page.width === undefined ? 400 : size(page.width),
      height: page.height === undefined ? 300 : size(page.height),
      border: bool(page.border, true),
      iframe: bool(page.iframe, false),
    },
    main: {
      smooth: bool(main.smooth, false),
      fov: num(main.fov, 70),
      yaw: num(main.yaw, 0),
      pitch: num(main.pitch, 0),
      // The publisher writes 30 to 90; a hand-made smaller limit would leave a keyhole of a view.
      tilt: clamp(num(main.tilt, 90), 30, 90),
      controls: bool(main.controls, true),
      volume: clamp(num(main.volume, 50), 0, 100),
      stageColor: colour(main.stageColor, '#000000'),
      bufferingTime: Math.max(0, num(main.bufferingTime, 30000)),
      viewMode: main.viewMode === 1 ? 1 : 0,
      panningMode: main.panningMode === 1 ? 1 : 0,
      balance: clamp(num(main.balance, 0), 0, 100),
      zoomMax: num(main.zoomMax, 130),
    },
    hotspots: hotspots
      .filter((h) => h && [h.yaw, h.pos, h.time].every(Number.isFinite))
      .map((h) => ({
        slot: num(h.id, 0),
        yaw: h.yaw,
        pos: h.pos,
        time: h.time,
        self: h.self === 1,
        link: str(h.link, ''),
        title: str(h.title, '') || str(h.link, ''),
        icon: str(h.icon, ''),
      })),
  };
}

/** A number from a link or a message, or undefined. */
const given = (v) => {
  const n = typeof v === 'string' ? parseFloat(v) : v;
  return typeof n === 'number' && Number.isFinite(n) ? n : undefined;
};

export { readConfig, given };
