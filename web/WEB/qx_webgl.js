/*
 * qx_webgl.js: the viewer of the HTML5/WebGL page that qx_flash_hs writes beside a published
 * Flash page. One classic script, no framework, WebGL 1: the video frame is an equirectangular
 * texture and a fragment shader casts one ray per pixel, so the view is exact at every zoom and
 * the areas beyond a cylindrical picture can show the stage colour. Joined by web/build.sh from
 * the modules in web/src/ (this file is src/main.js there); edit those, not the joined script.
 *
 * The page carries its configuration inline (<script id="qx-config" type="application/json">)
 * because a page opened from disk can neither fetch config.xml nor use its video as a texture.
 *
 * Directions: yaw 0 faces the centre of the video frame, where a 360-degree camera looks; a yaw
 * of θ degrees looks at the column u = (0.5 + θ / 360) mod 1 (u = 0 the frame's left edge), so a
 * positive yaw turns right; a positive pitch looks up; fov is the horizontal field of view in
 * degrees. A hot spot's yaw in config.xml is the preview's turned half a turn, so the viewer
 * turns it back: it shows where the author saw it. The Flash viewer reads directions the same way.
 *
 * Licence: GPL-3.0-or-later, as the rest of qx_flash_hs.
 */
'use strict';
(() => {
  // src/dom.js
  var ICONS = {
    play: "M8 5v14l11-7z",
    pause: "M6 5h4v14H6zm8 0h4v14h-4z",
    volume: "M3 9v6h4l5 5V4L7 9zm13.5 3A4.5 4.5 0 0 0 14 8v8a4.5 4.5 0 0 0 2.5-4z",
    muted: "M3 9v6h4l5 5V4L7 9zm18.7 1.7-1.4-1.4L18 11.6l-2.3-2.3-1.4 1.4 2.3 2.3-2.3 2.3 1.4 1.4 2.3-2.3 2.3 2.3 1.4-1.4-2.3-2.3z",
    full: "M5 5h5v2H7v3H5zm9 0h5v5h-2V7h-3zM5 14h2v3h3v2H5zm12 0h2v5h-5v-2h3z",
    exit: "M8 5h2v5H5V8h3zm6 0h2v3h3v2h-5zM5 14h5v5H8v-3H5zm9 0h5v2h-3v3h-2z",
    link: "M10.6 13.4a1 1 0 0 1 0-1.4l3.5-3.5a3 3 0 0 1 4.2 4.2l-2 2-1.4-1.4 2-2a1 1 0 0 0-1.4-1.4l-3.5 3.5a1 1 0 0 1-1.4 0zm2.8-2.8a1 1 0 0 1 0 1.4l-3.5 3.5a3 3 0 0 1-4.2-4.2l2-2 1.4 1.4-2 2a1 1 0 0 0 1.4 1.4l3.5-3.5a1 1 0 0 1 1.4 0z",
    captions: "M3 5h18v14H3zm2 2v10h14V7zm2 3h4v1.5H8.5v1H11V14H7zm6 0h4v1.5h-2.5v1H17V14h-4z",
    vr: "M3 7h18a1 1 0 0 1 1 1v9a1 1 0 0 1-1 1h-5l-2-3h-4l-2 3H3a1 1 0 0 1-1-1V8a1 1 0 0 1 1-1zm4 3a2 2 0 1 0 0 4 2 2 0 0 0 0-4zm10 0a2 2 0 1 0 0 4 2 2 0 0 0 0-4z",
    phone: "M8 2h8a2 2 0 0 1 2 2v16a2 2 0 0 1-2 2H8a2 2 0 0 1-2-2V4a2 2 0 0 1 2-2zm0 3v13h8V5zm4 14.2a1 1 0 1 0 0 .1z"
  };
  function el(tag, attrs, ...children) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attrs || {})) {
      if (name === "class") node.className = value;
      else if (name === "text") node.textContent = value;
      else node.setAttribute(name, value);
    }
    for (const child of children) node.append(child);
    return node;
  }
  function setIcon(button, name) {
    const path = `<path d="${ICONS[name]}"/>`;
    button.innerHTML = `<svg viewBox="0 0 24 24" aria-hidden="true">${path}</svg>`;
  }

  // src/styles.js
  var CSS = `
.qx-viewer { position: relative; overflow: hidden; overflow: clip; color: #fff;
font: 13px/1.3 system-ui, -apple-system, "Segoe UI", sans-serif; -webkit-user-select: none;
user-select: none; -webkit-tap-highlight-color: transparent; }
.qx-viewer:fullscreen { width: 100% !important; height: 100% !important; border: 0; }
.qx-viewer canvas { display: block; width: 100%; height: 100%; touch-action: none; cursor: grab;
outline: none; }
.qx-viewer canvas.qx-dragging { cursor: grabbing; }
/* The ring goes on the layer over the canvas: a canvas paints its picture over its own inset
   shadow. White inside black shows on light and dark pictures alike. */
.qx-viewer canvas:focus-visible + .qx-layer { box-shadow: inset 0 0 0 3px #fff,
  inset 0 0 0 5px #000; }
.qx-layer { position: absolute; inset: 0; pointer-events: none; overflow: hidden; }
.qx-hs { position: absolute; left: 0; top: 0; display: flex; flex-direction: column;
align-items: center; pointer-events: auto; color: #fff; text-decoration: none;
transform: translate(-50%, calc(-1 * var(--qx-half, 24px))); }
.qx-hs[hidden] { display: none; }
.qx-hs.qx-away { opacity: 0; pointer-events: none; }
.qx-hs img { display: block; }
.qx-hs .qx-title { margin-top: 2px; padding: 1px 6px; max-width: 14em; border-radius: 3px;
background: rgba(0, 0, 0, .6); white-space: nowrap; overflow: hidden; text-overflow: ellipsis; }
.qx-hs:focus { outline: none; }
.qx-hs:focus-visible img, .qx-hs:hover img { outline: 3px solid #fff; outline-offset: 1px;
border-radius: 4px; }
.qx-hs:focus-visible .qx-title { outline: 2px solid #000; }
.qx-sr { position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0);
clip-path: inset(50%); white-space: nowrap; }
.qx-center { position: absolute; inset: 0; display: flex; align-items: center;
justify-content: center; pointer-events: none; }
.qx-center > * { pointer-events: auto; }
.qx-big { font: inherit; font-size: 16px; color: #fff; background: rgba(0, 0, 0, .65);
border: 2px solid #fff; border-radius: 24px; padding: 10px 20px; cursor: pointer; }
.qx-big:focus-visible { outline: 3px solid #fff; outline-offset: 2px; }
.qx-big svg { width: 22px; height: 22px; margin-right: 6px; fill: currentColor;
vertical-align: -5px; }
.qx-corner { position: absolute; left: 8px; top: 8px; font-size: 14px; padding: 6px 12px; }
.qx-message { max-width: 80%; padding: 12px 16px; border-radius: 6px; text-align: center;
background: rgba(0, 0, 0, .75); }
.qx-bar { position: absolute; left: 0; right: 0; bottom: 0; display: flex; align-items: center;
gap: 6px; padding: 4px 8px; background: linear-gradient(transparent, rgba(0, 0, 0, .7)); }
.qx-bar button { width: 30px; height: 30px; padding: 5px; border: 0; border-radius: 4px;
color: #fff; background: transparent; cursor: pointer; flex: none; }
.qx-bar button:hover { background: rgba(255, 255, 255, .2); }
.qx-bar button:focus-visible, .qx-bar input:focus-visible { outline: 2px solid #fff; }
.qx-bar svg { display: block; width: 20px; height: 20px; fill: currentColor; }
.qx-bar input { accent-color: #fff; margin: 0; min-width: 0; }
.qx-seek { flex: 1 1 auto; }
.qx-volume { flex: 0 1 70px; width: 70px; }
.qx-time { font-variant-numeric: tabular-nums; white-space: nowrap; }
.qx-fallback { width: 100%; height: 100%; object-fit: contain; background: #000; }
.qx-bar button[aria-pressed="true"] { background: rgba(255, 255, 255, .3); }
.qx-buffering { position: absolute; left: 50%; top: 50%; width: 44px; height: 44px;
margin: -22px; border: 4px solid rgba(255, 255, 255, .3); border-top-color: #fff;
border-radius: 50%; animation: qx-spin 1s linear infinite; pointer-events: none; }
.qx-buffering[hidden] { display: none; }
@keyframes qx-spin { to { transform: rotate(360deg); } }
@media (prefers-reduced-motion: reduce) { .qx-buffering { animation-duration: 4s; } }
.qx-toast { position: absolute; right: 8px; bottom: 44px; max-width: calc(100% - 16px);
  padding: 4px 10px; border-radius: 4px; background: rgba(0, 0, 0, .8); pointer-events: none;
  overflow-wrap: anywhere; }
.qx-captions { position: absolute; left: 5%; right: 5%; bottom: 48px; text-align: center;
pointer-events: none; font-size: 16px; line-height: 1.35; }
.qx-captions span { background: rgba(0, 0, 0, .8); padding: 1px 6px; white-space: pre-line;
-webkit-box-decoration-break: clone; box-decoration-break: clone; }
.qx-captions[hidden] { display: none; }
.qx-viewer.qx-fullwindow { position: fixed !important; inset: 0; z-index: 2147483647;
width: 100% !important; height: 100% !important; max-height: none !important; margin: 0 !important;
border: 0 !important; }
`;

  // src/maths.js
  var DEG = Math.PI / 180;
  var clamp = (v, lo, hi) => Math.min(hi, Math.max(lo, v));
  var wrap360 = (v) => (v % 360 + 360) % 360;
  var hotSpotYaw = (h) => wrap360(h + 180);
  var hexRgb = (hex) => [1, 3, 5].map((i) => parseInt(hex.substr(i, 2), 16) / 255);
  function rotation(yaw, pitch) {
    const cy = Math.cos(yaw * DEG), sy = Math.sin(yaw * DEG);
    const cp = Math.cos(pitch * DEG), sp = Math.sin(pitch * DEG);
    return [
      [cy, -sy * sp, -sy * cp],
      [0, cp, -sp],
      [sy, cy * sp, cy * cp]
    ];
  }
  function quaternionRows({ x, y, z, w }) {
    return [
      [1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)],
      [2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)],
      [2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)]
    ];
  }
  var multiply = (a, b) => a.map((row) => [0, 1, 2].map((c) => row[0] * b[0][c] + row[1] * b[1][c] + row[2] * b[2][c]));

  // src/config.js
  var num = (v, def) => typeof v === "number" && Number.isFinite(v) ? v : def;
  var str = (v, def) => typeof v === "string" ? v : def;
  var bool = (v, def) => typeof v === "boolean" ? v : def;
  var colour = (v, def) => typeof v === "string" && /^#[0-9a-f]{6}$/i.test(v) ? v : def;
  function readConfig(raw) {
    const page = raw.page || {};
    const main2 = raw.main || {};
    const hotspots = Array.isArray(raw.hotspots) ? raw.hotspots : [];
    const size = (v) => typeof v === "number" && v > 0 ? v : null;
    return {
      video: str(raw.video, ""),
      poster: str(raw.poster, ""),
      captions: str(raw.captions, ""),
      // Versions of the video, widest first; fewer than two means there is nothing to choose.
      renditions: (Array.isArray(raw.renditions) ? raw.renditions : []).filter((r) => r && typeof r.video === "string" && num(r.width, 0) > 0).map((r) => ({ video: r.video, width: r.width, bitrate: num(r.bitrate, 0) })).sort((a, b) => b.width - a.width),
      audio: bool(raw.audio, true),
      page: {
        title: str(page.title, ""),
        bgColor: colour(page.bgColor, "#FFFFFF"),
        width: page.width === void 0 ? 400 : size(page.width),
        height: page.height === void 0 ? 300 : size(page.height),
        border: bool(page.border, true),
        iframe: bool(page.iframe, false)
      },
      main: {
        smooth: bool(main2.smooth, false),
        fov: num(main2.fov, 70),
        yaw: num(main2.yaw, 0),
        pitch: num(main2.pitch, 0),
        // The publisher writes 30 to 90; a hand-made smaller limit would leave a keyhole of a view.
        tilt: clamp(num(main2.tilt, 90), 30, 90),
        controls: bool(main2.controls, true),
        volume: clamp(num(main2.volume, 50), 0, 100),
        stageColor: colour(main2.stageColor, "#000000"),
        bufferingTime: Math.max(0, num(main2.bufferingTime, 3e4)),
        viewMode: main2.viewMode === 1 ? 1 : 0,
        panningMode: main2.panningMode === 1 ? 1 : 0,
        balance: clamp(num(main2.balance, 0), 0, 100),
        zoomMax: num(main2.zoomMax, 130)
      },
      hotspots: hotspots.filter((h) => h && [h.yaw, h.pos, h.time].every(Number.isFinite)).map((h) => ({
        slot: num(h.id, 0),
        yaw: h.yaw,
        pos: h.pos,
        time: h.time,
        self: h.self === 1,
        link: str(h.link, ""),
        title: str(h.title, "") || str(h.link, ""),
        icon: str(h.icon, "")
      }))
    };
  }
  var given = (v) => {
    const n = typeof v === "string" ? parseFloat(v) : v;
    return typeof n === "number" && Number.isFinite(n) ? n : void 0;
  };

  // src/renderer.js
  var VERTEX_SHADER = `
attribute vec2 aPos;
varying vec2 vPos;
void main() { vPos = aPos; gl_Position = vec4(aPos, 0.0, 1.0); }`;
  var FRAGMENT_SHADER = `
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D uFrame;
uniform mat3 uRotation;
uniform vec2 uTan;
uniform vec2 uShift;
uniform float uHalf;
uniform vec3 uStage;
uniform bool uHasFrame;
varying vec2 vPos;
void main() {
vec3 ray = uRotation * vec3((vPos + uShift) * uTan, -1.0);
float lon = atan(ray.x, -ray.z);
float lat = atan(ray.y, length(ray.xz));
float v = 0.5 - 0.5 * lat / uHalf;
if (!uHasFrame || v < 0.0 || v > 1.0) {
  gl_FragColor = vec4(uStage, 1.0);
} else {
  gl_FragColor = texture2D(uFrame, vec2(fract(lon / 6.28318530718 + 0.5), v));
}
}`;
  var Renderer = class {
    constructor(canvas, smooth, stageColour) {
      this.canvas = canvas;
      this.filter = smooth;
      this.stage = hexRgb(stageColour);
      this.frameSize = [0, 0];
      this.hasFrame = false;
      this.gl = canvas.getContext("webgl", { alpha: false, antialias: false }) || canvas.getContext("experimental-webgl", { alpha: false, antialias: false });
      if (this.gl) this.setUp();
    }
    setUp() {
      const gl = this.gl;
      const compile = (type, source) => {
        const shader = gl.createShader(type);
        gl.shaderSource(shader, source);
        gl.compileShader(shader);
        if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS) && !gl.isContextLost()) {
          throw new Error("shader: " + gl.getShaderInfoLog(shader));
        }
        return shader;
      };
      const program = gl.createProgram();
      gl.attachShader(program, compile(gl.VERTEX_SHADER, VERTEX_SHADER));
      gl.attachShader(program, compile(gl.FRAGMENT_SHADER, FRAGMENT_SHADER));
      gl.linkProgram(program);
      gl.useProgram(program);
      this.uniforms = {};
      for (const name of ["uFrame", "uRotation", "uTan", "uShift", "uHalf", "uStage", "uHasFrame"]) {
        this.uniforms[name] = gl.getUniformLocation(program, name);
      }
      gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
      gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 3, -1, -1, 3]), gl.STATIC_DRAW);
      const aPos = gl.getAttribLocation(program, "aPos");
      gl.enableVertexAttribArray(aPos);
      gl.vertexAttribPointer(aPos, 2, gl.FLOAT, false, 0, 0);
      this.texture = gl.createTexture();
      gl.bindTexture(gl.TEXTURE_2D, this.texture);
      const filter = this.filter ? gl.LINEAR : gl.NEAREST;
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, filter);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, filter);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
      gl.uniform1i(this.uniforms.uFrame, 0);
      gl.uniform3fv(this.uniforms.uStage, this.stage);
      this.frameSize = [0, 0];
      this.hasFrame = false;
    }
    /**
     * Copies the video's current frame into the texture. A frame larger than the GPU takes
     * (phones often stop at 4096 pixels) goes through a scaled-down 2D canvas first.
     */
    upload(video) {
      const gl = this.gl;
      let source = video, w = video.videoWidth || video.naturalWidth, h = video.videoHeight || video.naturalHeight;
      if (!w || !h) return;
      const max = gl.getParameter(gl.MAX_TEXTURE_SIZE);
      if (w > max || h > max) {
        const scale = max / Math.max(w, h);
        this.scaler = this.scaler || document.createElement("canvas");
        if (this.scaler.width !== Math.floor(w * scale)) {
          this.scaler.width = Math.floor(w * scale);
          this.scaler.height = Math.floor(h * scale);
        }
        this.scaler.getContext("2d").drawImage(video, 0, 0, this.scaler.width, this.scaler.height);
        source = this.scaler;
        w = source.width;
        h = source.height;
      }
      if (w !== this.frameSize[0] || h !== this.frameSize[1]) {
        gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGB, gl.RGB, gl.UNSIGNED_BYTE, source);
        this.frameSize = [w, h];
      } else {
        gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, gl.RGB, gl.UNSIGNED_BYTE, source);
      }
      this.hasFrame = true;
    }
    draw(view) {
      this.gl.bindFramebuffer(this.gl.FRAMEBUFFER, null);
      this.drawRays(
        rotation(view.yaw, view.pitch),
        view.tanH,
        view.tanV,
        view.pictureHalf,
        [0, 0, this.canvas.width, this.canvas.height]
      );
    }
    /**
     * Draws the rays of a view turned by r (rows), tan of its half angles, into box; shift moves
     * the centre of an off-centre view (a headset eye's) in screen units.
     */
    drawRays(r, tanH, tanV, pictureHalf, box, shift = [0, 0]) {
      const gl = this.gl;
      gl.viewport(...box);
      const columns = [0, 1, 2].flatMap((c) => [r[0][c], r[1][c], r[2][c]]);
      gl.uniformMatrix3fv(this.uniforms.uRotation, false, new Float32Array(columns));
      gl.uniform2f(this.uniforms.uTan, tanH, tanV);
      gl.uniform2f(this.uniforms.uShift, shift[0], shift[1]);
      gl.uniform1f(this.uniforms.uHalf, pictureHalf * DEG);
      gl.uniform1i(this.uniforms.uHasFrame, this.hasFrame ? 1 : 0);
      gl.drawArrays(gl.TRIANGLES, 0, 3);
    }
  };

  // src/view.js
  var MIN_FOV = 30;
  var MAX_FOV = 170;
  var View = class {
    constructor(main2) {
      this.mode = main2.viewMode;
      this.tilt = main2.tilt;
      this.maxFov = clamp(main2.zoomMax, MIN_FOV, MAX_FOV);
      this.yaw = wrap360(main2.yaw);
      this.pitch = this.wantedPitch = main2.pitch;
      this.fov = clamp(main2.fov, MIN_FOV, this.maxFov);
      this.aspect = 0.75;
      this.pictureHalf = 90;
      this.version = 0;
      this.update();
    }
    setAspect(aspect) {
      this.aspect = aspect > 0 ? aspect : 0.75;
      this.update();
    }
    /** Frame size known: a frame wider than 2:1 covers less than the whole sphere vertically. */
    setPicture(width, height) {
      this.pictureHalf = Math.min(90, 180 * height / width);
      this.update();
    }
    /** Asks for a view; what is shown is the nearest view inside the limits. */
    set(yaw, pitch, fov) {
      this.yaw = wrap360(yaw);
      this.wantedPitch = pitch;
      if (fov !== void 0) this.fov = clamp(fov, MIN_FOV, this.maxFov);
      this.update();
    }
    turn(dYaw, dPitch) {
      this.set(this.yaw + dYaw, this.pitch + dPitch);
    }
    zoom(factor) {
      this.set(this.yaw, this.pitch, this.fov * factor);
    }
    /** Vertical half-angle (degrees) of a view with the horizontal field of view fov. */
    halfHeight(fov) {
      return Math.atan(Math.tan(fov / 2 * DEG) * this.aspect) / DEG;
    }
    // The wanted pitch survives changes of the limits (the canvas size and the frame size are
    // learnt after start), so a start pitch is not lost to a provisional limit.
    update() {
      let fov = this.fov;
      let pitch = this.wantedPitch;
      if (this.mode === 0) {
        const limit = Math.min(this.tilt, this.pictureHalf);
        if (this.halfHeight(fov) > limit) {
          fov = 2 * Math.atan(Math.tan(limit * DEG) / this.aspect) / DEG;
        }
        const room = Math.max(0, limit - this.halfHeight(fov));
        pitch = clamp(pitch, -room, room);
      } else {
        pitch = clamp(pitch, -90, 90);
      }
      this.pitch = pitch;
      this.shownFov = fov;
      this.tanH = Math.tan(fov / 2 * DEG);
      this.tanV = this.tanH * this.aspect;
      this.matrix = rotation(this.yaw, this.pitch);
      this.version++;
    }
    /** Screen position (0..1 across, 0..1 down) of a direction, or null when it is behind. */
    project(yaw, pitch) {
      const cp = Math.cos(pitch * DEG);
      const d = [Math.sin(yaw * DEG) * cp, Math.sin(pitch * DEG), -Math.cos(yaw * DEG) * cp];
      const r = this.matrix;
      const x = r[0][0] * d[0] + r[1][0] * d[1] + r[2][0] * d[2];
      const y = r[0][1] * d[0] + r[1][1] * d[1] + r[2][1] * d[2];
      const z = r[0][2] * d[0] + r[1][2] * d[1] + r[2][2] * d[2];
      if (z > -1e-3) return null;
      return { x: (1 + x / -z / this.tanH) / 2, y: (1 - y / -z / this.tanV) / 2 };
    }
  };

  // src/safeLink.js
  function linkAllowed(link) {
    const named = {
      amp: "&",
      lt: "<",
      gt: ">",
      quot: '"',
      apos: "'",
      colon: ":",
      tab: "	",
      newline: "\n",
      nbsp: " "
    };
    const entities = (t) => t.replace(/&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z]+);?/g, (all, body) => {
      if (body[0] !== "#") return named[body.toLowerCase()] ?? all;
      const code = /^#[xX]/.test(body) ? parseInt(body.slice(2), 16) : parseInt(body.slice(1), 10);
      return code > 0 && code <= 1114111 ? String.fromCodePoint(code) : all;
    });
    let s = link;
    for (let round = 0; round < 4; round++) {
      const before = s;
      s = entities(s);
      try {
        s = decodeURIComponent(s);
      } catch {
      }
      if (s === before) break;
    }
    s = s.replace(/[\t\n\r]/g, "").replace(/^[\u0000-\u0020\u00a0\ufeff]+/, "");
    const scheme = /^([A-Za-z][A-Za-z0-9+.-]*):/.exec(s);
    return !scheme || !["javascript", "vbscript", "data"].includes(scheme[1].toLowerCase());
  }

  // src/hotspots.js
  var HotSpots = class {
    makeHotSpot(spot) {
      const safe = linkAllowed(spot.link);
      const link = el("a", safe ? { class: "qx-hs", href: spot.link || "#" } : { class: "qx-hs", tabindex: "0", "aria-disabled": "true" });
      link.hidden = true;
      if (!spot.self) {
        link.target = "_blank";
        link.rel = "noopener";
      }
      const icon = el("img", { alt: "", src: spot.icon, draggable: "false" });
      icon.addEventListener("load", () => {
        link.style.setProperty("--qx-half", icon.naturalHeight / 2 + "px");
      });
      link.append(icon, el("span", { class: "qx-title", text: spot.title }));
      if (!spot.self) link.append(el("span", { class: "qx-sr", text: " (opens in a new window)" }));
      this.layer.append(link);
      const entry = { spot, link, active: false, away: false, x: NaN, y: NaN };
      link.addEventListener("focus", () => this.lookAtHotSpot(entry));
      link.addEventListener("click", () => this.emit("hotspotclicked", this.spotDetail(spot)));
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
            this.emit("hotspotshown", this.spotDetail(spot));
          } else if (link === document.activeElement) this.canvas.focus();
          viewChanged = true;
        }
        if (!active || !viewChanged) continue;
        const at = this.view.project(hotSpotYaw(spot.yaw), 0);
        const away = !at || at.x < 0 || at.x > 1 || at.y < 0 || at.y > 1;
        const x = away ? width / 2 : at.x * width;
        const y = away ? height / 2 : at.y * height;
        entry.shown = !away;
        if (away !== entry.away) {
          entry.away = away;
          link.classList.toggle("qx-away", away);
        }
        if (x !== entry.x || y !== entry.y) {
          entry.x = x;
          entry.y = y;
          link.style.left = x.toFixed(1) + "px";
          link.style.top = y.toFixed(1) + "px";
        }
      }
      if (appeared.length) {
        this.announce(`${appeared.length > 1 ? "Hot spots" : "Hot spot"}: ${appeared.join(", ")}`);
      }
    }
    spotDetail(spot) {
      return { slot: spot.slot, title: spot.title, link: spot.link, time: this.video.currentTime };
    }
  };

  // src/playback.js
  var Playback = class {
    /** Plays once bufferingTime of video is loaded (or the whole video, if it is shorter). */
    waitForBuffer() {
      const video = this.video;
      const note = this.message("Loading video…");
      const check = () => {
        if (this.started) return;
        if (video.readyState < 1) return;
        const need = Math.min(this.main.bufferingTime / 1e3, video.duration || 0);
        let have = 0;
        for (let i = 0; i < video.buffered.length; i++) {
          if (video.buffered.start(i) <= video.currentTime + 0.1) {
            have = Math.max(have, video.buffered.end(i) - video.currentTime);
          }
        }
        note.textContent = `Loading video… ${Math.floor(clamp(have / (need || 1), 0, 1) * 100)}%`;
        const idle = video.networkState === video.NETWORK_IDLE && video.readyState >= 3;
        if (have >= need - 0.05 && video.readyState >= 3 || idle) this.begin(false);
      };
      this.bufferTimer = setInterval(check, 200);
      for (const type of ["loadedmetadata", "progress", "canplay", "canplaythrough", "suspend"]) {
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
        this.offer("play");
        return;
      }
      video.play().catch((error) => {
        if (byUser || error.name !== "NotAllowedError" || video.muted) {
          this.offer("play");
          return;
        }
        video.muted = true;
        video.play().then(() => this.config.audio && this.offer("unmute"), () => this.offer("play"));
      });
    }
    /**
     * The tap-to-play button in the middle, or the tap-for-sound button in a corner, out of the
     * way of the picture that is already moving.
     */
    offer(what) {
      const play = what === "play";
      const button = el("button", {
        class: play ? "qx-big" : "qx-big qx-corner",
        type: "button",
        "aria-label": play ? "Play video" : "Turn the sound on"
      });
      setIcon(button, play ? "play" : "muted");
      button.append(play ? "Play" : "Tap for sound");
      button.addEventListener("click", () => {
        this.userGesture();
        this.video.muted = this.main.volume === 0;
        this.video.play().catch(() => {
        });
        this.center.replaceChildren();
        this.canvas.focus({ preventScroll: true });
      });
      this.center.replaceChildren(button);
    }
    /** The poster stands in for the video, through the same view, until its first frame. */
    showPoster() {
      if (!this.config.poster) return;
      const image = new Image();
      image.addEventListener("load", () => {
        this.poster = image;
        this.measureLink(image.src);
      });
      image.src = this.config.poster;
    }
    /** A spinner whenever playback waits for data; the last picture stays beneath it. */
    watchBuffering() {
      const video = this.video;
      const spinner = el("div", { class: "qx-buffering", role: "img", "aria-label": "Buffering" });
      spinner.hidden = true;
      this.root.append(spinner);
      const show = (on) => () => {
        spinner.hidden = !(on && this.started && !this.error);
      };
      video.addEventListener("waiting", show(true));
      video.addEventListener("stalled", () => video.readyState < 3 && show(true)());
      for (const type of ["playing", "canplay", "seeked", "error"]) {
        video.addEventListener(type, () => (video.readyState >= 3 || type === "error") && show(false)());
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
        this.begin(want === void 0);
      } else if (this.video.paused) {
        this.video.play().catch(() => this.offer("play"));
      }
    }
  };

  // src/renditions.js
  var Renditions = class {
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
        return Number(sessionStorage.getItem("qx-link-speed")) || 0;
      } catch {
        return 0;
      }
    }
    /**
     * The poster's download measures the link (without the wait for the first byte, which a
     * file this small would be mostly). Before the start, a version the link cannot carry is
     * changed for a lighter one.
     */
    measureLink(url) {
      const entry = performance.getEntriesByName(url).pop();
      const seconds = entry ? (entry.responseEnd - entry.responseStart) / 1e3 : 0;
      if (!entry || entry.transferSize < 65536 || seconds <= 0) return;
      this.linkBits = entry.transferSize * 8 / seconds;
      try {
        sessionStorage.setItem("qx-link-speed", String(this.linkBits));
      } catch {
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
        if (this.pendingTime !== void 0) return;
        const at = performance.now();
        this.stalledAt = at;
        setTimeout(() => {
          if (this.stalledAt !== at || video.readyState >= 3 || video.paused) return;
          stalls = stalls.filter((t) => at - t < 2e4).concat(at);
          if (stalls.length < 2 || this.rendition < 0) return;
          stalls = [];
          this.switchRendition(this.rendition + 1);
        }, 1e3);
      };
      video.addEventListener("waiting", stalled);
      video.addEventListener("stalled", () => video.readyState < 3 && stalled());
      for (const type of ["playing", "pause", "emptied"]) {
        video.addEventListener(type, () => {
          this.stalledAt = 0;
        });
      }
    }
    /** Plays another version from the same moment; view, captions and play state stay. */
    switchRendition(index) {
      const list = this.config.renditions;
      if (index === this.rendition || index < 0 || index >= list.length) return;
      const video = this.video;
      const playing = this.started && !video.paused;
      const time = video.readyState >= 1 ? video.currentTime : void 0;
      this.rendition = index;
      this.videoName = list[index].video;
      this.pendingTime = time;
      video.src = this.videoName;
      video.addEventListener("loadedmetadata", () => {
        if (time !== void 0) video.currentTime = time;
        this.pendingTime = void 0;
        if (playing) video.play().catch(() => this.offer("play"));
      }, { once: true });
      this.emit("renditionchange", { video: this.videoName, width: list[index].width });
    }
  };

  // src/captions.js
  var Captions = class {
    /**
     * Captions from the WebVTT file beside the video. The browser reads the file and keeps time
     * (a hidden track); the active cues are drawn here, since the video itself is never shown.
     * Not a live region: a screen reader would read every cue over the sound.
     */
    makeCaptions() {
      if (!this.config.captions) return;
      const track = el("track", { kind: "captions", src: this.config.captions, default: "" });
      this.video.append(track);
      const box = el("div", { class: "qx-captions", "aria-live": "off" });
      box.hidden = true;
      this.root.append(box);
      this.captions = { box, track: track.track, on: true };
      track.track.mode = "hidden";
      track.track.addEventListener("cuechange", () => this.showCues());
    }
    showCues() {
      const { box, track, on } = this.captions;
      const lines = [...track.activeCues || []].map((cue) => el("span", {}, cue.getCueAsHTML ? cue.getCueAsHTML() : cue.text));
      box.replaceChildren(...lines.flatMap((line, i) => i ? [el("br"), line] : [line]));
      box.hidden = !on || !lines.length;
    }
  };

  // src/embedding.js
  var Embedding = class {
    /** A link's #yaw=..&pitch=..&fov=..&t=.. opens that view and that moment. */
    followLink() {
      const params = new URLSearchParams(location.hash.slice(1));
      const [yaw, pitch, fov, t] = ["yaw", "pitch", "fov", "t"].map((k) => given(params.get(k)));
      if (yaw !== void 0 || pitch !== void 0 || fov !== void 0) this.look(yaw, pitch, fov);
      if (t !== void 0) this.seekTo(t);
    }
    look(yaw, pitch, fov) {
      this.view.set(yaw ?? this.view.yaw, pitch ?? this.view.wantedPitch, fov);
    }
    seekTo(t) {
      const video = this.video;
      const go = () => {
        video.currentTime = clamp(t, 0, video.duration || 0);
      };
      if (video.readyState >= 1) go();
      else video.addEventListener("loadedmetadata", go, { once: true });
    }
    /** A link to this page that opens the view and moment shown now. */
    linkHere() {
      const r = (v2) => Math.round(v2 * 10) / 10;
      const v = this.view;
      return `${location.href.split("#")[0]}#yaw=${r(v.yaw)}&pitch=${r(v.pitch)}&fov=${r(v.fov)}&t=${r(this.video.currentTime)}`;
    }
    async copyLink() {
      const text = this.linkHere();
      let copied = false;
      try {
        await navigator.clipboard.writeText(text);
        copied = true;
      } catch {
        const area = el("textarea", { class: "qx-sr", "aria-hidden": "true" });
        area.value = text;
        this.root.append(area);
        area.select();
        try {
          copied = document.execCommand("copy");
        } catch {
          copied = false;
        }
        area.remove();
        this.bar.copy.focus();
      }
      const said = copied ? "Link copied" : `The link could not be copied: ${text}`;
      this.announce(said);
      this.confirm(said, copied ? 2500 : 1e4);
    }
    /**
     * A short note over the bar's right end for those who see it; the status region has already
     * told screen readers, so the note itself is hidden from them.
     */
    confirm(text, ms) {
      this.confirmation?.remove();
      const note = el("div", { class: "qx-toast", "aria-hidden": "true", text });
      this.root.append(note);
      this.confirmation = note;
      setTimeout(() => note.remove(), ms);
    }
    /**
     * Messages from the page this one is embedded in: qx-set-view {yaw, pitch, fov},
     * qx-seek {t}, qx-play, qx-pause. Other windows are not listened to.
     */
    listenToParent() {
      window.addEventListener("message", (e) => {
        const m = e.data;
        if (e.source !== window.parent || !m || typeof m.type !== "string") return;
        if (m.type === "qx-set-view") this.look(given(m.yaw), given(m.pitch), given(m.fov));
        else if (m.type === "qx-seek" && given(m.t) !== void 0) this.seekTo(m.t);
        else if (m.type === "qx-play") this.togglePlay(true);
        else if (m.type === "qx-pause") this.togglePlay(false);
      });
      this.video.addEventListener("timeupdate", () => this.pendingTime === void 0 && this.emit("timeupdate", this.position()));
    }
  };

  // src/phone.js
  function deviceLook(e) {
    if (typeof e.beta !== "number" || typeof e.gamma !== "number") return null;
    const a = (e.alpha || 0) * DEG, b = e.beta * DEG, g = e.gamma * DEG;
    const [sa, ca, sb, cb, sg, cg] = [a, b, g].flatMap((v) => [Math.sin(v), Math.cos(v)]);
    const x = -ca * sg - sa * sb * cg;
    const y = -sa * sg + ca * sb * cg;
    const z = -cb * cg;
    return { yaw: Math.atan2(x, y) / DEG, pitch: Math.asin(clamp(z, -1, 1)) / DEG };
  }
  var Phone = class {
    /** Look-around by moving the phone; iOS grants it only from a tap, hence a button. */
    async toggleOrientation() {
      const button = this.bar.motion;
      if (this.orientation) {
        window.removeEventListener("deviceorientation", this.orientation);
        this.orientation = null;
      } else {
        const ask = window.DeviceOrientationEvent.requestPermission;
        if (typeof ask === "function") {
          let answer = "denied";
          try {
            answer = await ask.call(window.DeviceOrientationEvent);
          } catch {
          }
          if (answer !== "granted") {
            this.announce("The browser does not let moving the phone turn the view.");
            return;
          }
        }
        let heading = null;
        this.orientation = (e) => {
          const look = deviceLook(e);
          if (!look) return;
          const turn = heading === null ? 0 : (look.yaw - heading + 540) % 360 - 180;
          heading = look.yaw;
          this.view.set(this.view.yaw + turn, look.pitch);
        };
        window.addEventListener("deviceorientation", this.orientation);
      }
      button.setAttribute("aria-pressed", String(Boolean(this.orientation)));
    }
    /** Where element full screen is missing (iPhone): the viewer fills the window instead. */
    setFullWindow(on) {
      this.fullWindow = on;
      this.root.classList.toggle("qx-fullwindow", on);
      document.documentElement.style.overflow = on ? "hidden" : "";
    }
  };

  // src/xr.js
  var Xr = class {
    /** "Enter VR" in the bar where the browser offers an immersive-vr session. */
    async offerVr() {
      let supported = false;
      try {
        supported = Boolean(navigator.xr) && await navigator.xr.isSessionSupported("immersive-vr");
      } catch {
        supported = false;
      }
      if (!supported || !this.bar) return;
      const button = el("button", { type: "button", "aria-label": "Enter VR", title: "Enter VR" });
      setIcon(button, "vr");
      button.addEventListener("click", () => this.toggleVr());
      this.bar.element.insertBefore(button, this.bar.full);
      this.bar.vr = button;
    }
    async toggleVr() {
      if (this.xr) {
        this.xr.session.end();
        return;
      }
      let session = null;
      try {
        session = await navigator.xr.requestSession("immersive-vr");
        const gl = this.renderer.gl;
        if (gl.makeXRCompatible) await gl.makeXRCompatible();
        session.updateRenderState({ baseLayer: new window.XRWebGLLayer(session, gl) });
        this.xr = { session, space: await session.requestReferenceSpace("local") };
      } catch (error) {
        if (session) session.end();
        this.announce(`VR could not start: ${error.message}`);
        return;
      }
      session.addEventListener("end", () => {
        this.xr = null;
        this.drawn.version = -1;
        this.bar.vr.setAttribute("aria-label", "Enter VR");
      });
      this.bar.vr.setAttribute("aria-label", "Leave VR");
      const loop = (time, xrFrame) => {
        if (!this.xr || this.xr.session !== session) return;
        session.requestAnimationFrame(loop);
        this.drawVr(xrFrame);
      };
      session.requestAnimationFrame(loop);
      if (!this.started) this.begin(true);
    }
    /**
     * One headset frame: each eye's rays turned by the head (the reference space has -z ahead
     * and y up, as the view has) and then by the yaw the visitor had chosen on the page.
     */
    drawVr(xrFrame) {
      const pose = xrFrame.getViewerPose(this.xr.space);
      if (!pose) return;
      const layer = this.xr.session.renderState.baseLayer;
      const gl = this.renderer.gl;
      this.uploadFrame();
      gl.bindFramebuffer(gl.FRAMEBUFFER, layer.framebuffer);
      const turn = rotation(this.view.yaw, 0);
      for (const eye of pose.views) {
        const box = layer.getViewport(eye);
        const p = eye.projectionMatrix;
        this.renderer.drawRays(
          multiply(turn, quaternionRows(eye.transform.orientation)),
          1 / p[0],
          1 / p[5],
          this.view.pictureHalf,
          [box.x, box.y, box.width, box.height],
          [p[8], p[9]]
        );
      }
      this.framesDrawn = (this.framesDrawn || 0) + 1;
    }
  };

  // src/audio.js
  var AudioPanning = class {
    /**
     * Web Audio may only start from a user's gesture (and a touch counts only once the finger
     * lifts), so every gesture makes sure the context runs. Balance 0 needs none of it.
     */
    userGesture() {
      if (this.main.balance <= 0) return;
      if (this.audio === void 0) this.audio = this.makeAudio();
      if (this.audio && this.audio.context.state === "suspended") this.audio.context.resume();
    }
    /** The stereo panner between the video and the speakers, or null where there is none. */
    makeAudio() {
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return null;
      try {
        const context = new Context();
        if (!context.createStereoPanner) return null;
        const panner = context.createStereoPanner();
        const source = context.createMediaElementSource(this.video);
        source.connect(panner).connect(context.destination);
        const strength = this.main.balance / 100;
        return {
          context,
          follow(yaw) {
            const pan = -Math.sin(yaw * DEG) * strength;
            if (Math.abs(panner.pan.value - pan) > 5e-3) panner.pan.value = pan;
          }
        };
      } catch (error) {
        console.warn("audio panning is not available:", error);
        return null;
      }
    }
  };

  // src/input.js
  var KEY_STEP = 5;
  var Input = class {
    listen() {
      const canvas = this.canvas;
      for (const type of ["pointerdown", "pointerup", "keydown", "touchend", "click"]) {
        this.root.addEventListener(type, () => this.userGesture(), { capture: true });
      }
      this.pointers = /* @__PURE__ */ new Map();
      canvas.addEventListener("pointerdown", (e) => this.pointerDown(e));
      canvas.addEventListener("pointermove", (e) => this.pointerMove(e));
      for (const type of ["pointerup", "pointercancel", "lostpointercapture"]) {
        canvas.addEventListener(type, (e) => this.pointerUp(e));
      }
      canvas.addEventListener("wheel", (e) => {
        e.preventDefault();
        const lines = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? 400 : 1;
        this.view.zoom(Math.exp(clamp(e.deltaY * lines, -200, 200) * 15e-4));
      }, { passive: false });
      this.root.addEventListener("keydown", (e) => this.key(e));
      canvas.addEventListener("webglcontextlost", (e) => e.preventDefault());
      canvas.addEventListener("webglcontextrestored", () => {
        this.renderer.setUp();
        this.drawn = { version: -1, time: -1, frame: false, poster: false };
      });
    }
    key(e) {
      if (e.altKey || e.ctrlKey || e.metaKey) return;
      const inSlider = e.target instanceof HTMLInputElement;
      const step = KEY_STEP * this.view.fov / 70;
      const moves = {
        ArrowLeft: [-step, 0],
        ArrowRight: [step, 0],
        ArrowUp: [0, step],
        ArrowDown: [0, -step]
      };
      if (moves[e.key] && !inSlider) {
        this.view.turn(...moves[e.key]);
      } else if (e.key === "+" || e.key === "=" || e.key === "Add") {
        this.view.zoom(1 / 1.1);
      } else if (e.key === "-" || e.key === "_" || e.key === "Subtract") {
        this.view.zoom(1.1);
      } else if ((e.key === " " || e.key === "k") && e.target === this.canvas) {
        this.togglePlay();
      } else {
        return;
      }
      e.preventDefault();
    }
    pointerDown(e) {
      if (e.pointerType === "mouse" && e.button !== 0) return;
      try {
        this.canvas.setPointerCapture(e.pointerId);
      } catch {
      }
      this.canvas.classList.add("qx-dragging");
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
        const perPixel = this.view.shownFov / Math.max(1, this.canvas.clientWidth);
        this.view.turn(-dx * perPixel, dy * perPixel);
      }
    }
    pointerUp(e) {
      this.pointers.delete(e.pointerId);
      if (this.pointers.size < 2) this.pinch = null;
      if (this.pointers.size === 0) this.canvas.classList.remove("qx-dragging");
    }
    /** Half-area panning: while held, the view turns at a speed that grows from the centre. */
    applyHeldPointer() {
      const now = performance.now();
      const seconds = Math.min(0.1, (now - (this.lastTick || now)) / 1e3);
      this.lastTick = now;
      if (this.main.panningMode !== 1 || this.pointers.size !== 1) return;
      const p = this.pointers.values().next().value;
      const box = this.canvas.getBoundingClientRect();
      const speed = (offset) => (Math.abs(offset) < 0.05 ? 0 : offset) * 1.5 * this.view.fov;
      const ox = (p.x - box.left) / box.width * 2 - 1;
      const oy = (p.y - box.top) / box.height * 2 - 1;
      this.view.turn(speed(clamp(ox, -1, 1)) * seconds, -speed(clamp(oy, -1, 1)) * seconds / 2);
    }
  };

  // src/controlBar.js
  var SEEK_STEP = 5;
  function formatTime(seconds) {
    const s = Math.max(0, Math.floor(Number.isFinite(seconds) ? seconds : 0));
    const mm = String(Math.floor(s / 60) % 60);
    const ss = String(s % 60).padStart(2, "0");
    return s >= 3600 ? `${Math.floor(s / 3600)}:${mm.padStart(2, "0")}:${ss}` : `${mm}:${ss}`;
  }
  var ControlBar = class {
    makeBar() {
      const button = (label, icon, action) => {
        const b = el("button", { type: "button", "aria-label": label, title: label });
        setIcon(b, icon);
        b.addEventListener("click", action);
        return b;
      };
      const video = this.video;
      const play = button("Play", "play", () => this.togglePlay());
      const time = el("span", { class: "qx-time", text: "0:00 / 0:00" });
      const seek = el("input", {
        class: "qx-seek",
        type: "range",
        min: "0",
        max: "1000",
        value: "0",
        "aria-label": "Position"
      });
      seek.addEventListener("input", () => {
        if (video.duration) video.currentTime = seek.value / 1e3 * video.duration;
      });
      seek.addEventListener("keydown", (e) => {
        const d = video.duration;
        const to = {
          ArrowLeft: -SEEK_STEP,
          ArrowDown: -SEEK_STEP,
          ArrowRight: SEEK_STEP,
          ArrowUp: SEEK_STEP,
          PageDown: -d / 10,
          PageUp: d / 10
        }[e.key];
        if (!d || to === void 0 && e.key !== "Home" && e.key !== "End") return;
        e.preventDefault();
        video.currentTime = e.key === "Home" ? 0 : e.key === "End" ? Math.max(0, d - 0.1) : clamp(video.currentTime + to, 0, d);
        seek.value = String(Math.round(video.currentTime / d * 1e3));
      });
      const mute = button("Mute", "volume", () => {
        video.muted = !video.muted;
        if (!video.muted && video.volume === 0) video.volume = 0.5;
        this.center.replaceChildren();
      });
      const volume = el("input", {
        class: "qx-volume",
        type: "range",
        min: "0",
        max: "100",
        value: String(this.main.volume),
        "aria-label": "Volume"
      });
      volume.addEventListener("input", () => {
        video.volume = volume.value / 100;
        video.muted = video.volume === 0;
      });
      const bar = el(
        "div",
        { class: "qx-bar" },
        play,
        time,
        seek,
        ...this.config.audio ? [mute, volume] : []
      );
      let captions = null, motion = null;
      if (this.captions) {
        captions = button("Captions", "captions", () => {
          this.captions.on = !this.captions.on;
          captions.setAttribute("aria-pressed", String(this.captions.on));
          this.showCues();
        });
        captions.setAttribute("aria-pressed", "true");
        bar.append(captions);
      }
      const touch = "ontouchstart" in window || matchMedia("(pointer: coarse)").matches;
      if (window.DeviceOrientationEvent && touch) {
        motion = button("Look around by moving the phone", "phone", () => this.toggleOrientation());
        motion.setAttribute("aria-pressed", "false");
        bar.append(motion);
      }
      const copy = button("Copy link to this view", "link", () => this.copyLink());
      bar.append(copy);
      const fullscreenTarget = this.root.requestFullscreen ? "requestFullscreen" : this.root.webkitRequestFullscreen ? "webkitRequestFullscreen" : null;
      let full = null;
      if (fullscreenTarget && (document.fullscreenEnabled || document.webkitFullscreenEnabled)) {
        full = button("Full screen", "full", () => {
          const current = document.fullscreenElement || document.webkitFullscreenElement;
          if (current) (document.exitFullscreen || document.webkitExitFullscreen).call(document);
          else this.root[fullscreenTarget]();
        });
      } else {
        full = button("Full screen", "full", () => this.setFullWindow(!this.fullWindow));
        document.addEventListener("keydown", (e) => {
          if (e.key === "Escape" && this.fullWindow) this.setFullWindow(false);
        });
      }
      bar.append(full);
      this.root.append(bar);
      this.bar = {
        element: bar,
        play,
        time,
        seek,
        mute,
        volume,
        full,
        captions,
        motion,
        copy,
        shown: {}
      };
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
      set("playing", playing, (p) => {
        setIcon(bar.play, p ? "pause" : "play");
        bar.play.setAttribute("aria-label", p ? "Pause" : "Play");
        bar.play.title = p ? "Pause" : "Play";
      });
      set(
        "time",
        `${formatTime(video.currentTime)} / ${formatTime(video.duration)}`,
        (t) => {
          bar.time.textContent = t;
        }
      );
      set(
        "spoken",
        `${formatTime(video.currentTime)} of ${formatTime(video.duration)}`,
        (t) => bar.seek.setAttribute("aria-valuetext", t)
      );
      if (document.activeElement !== bar.seek && video.duration) {
        set(
          "seek",
          Math.round(video.currentTime / video.duration * 1e3),
          (v) => {
            bar.seek.value = String(v);
          }
        );
      }
      set("muted", video.muted, (m) => {
        setIcon(bar.mute, m ? "muted" : "volume");
        bar.mute.setAttribute("aria-label", m ? "Sound on" : "Mute");
        bar.mute.title = m ? "Sound on" : "Mute";
      });
      if (bar.full) {
        const isFull = Boolean(document.fullscreenElement || document.webkitFullscreenElement || this.fullWindow);
        set("full", isFull, (f) => {
          setIcon(bar.full, f ? "exit" : "full");
          bar.full.setAttribute("aria-label", f ? "Leave full screen" : "Full screen");
          bar.full.title = f ? "Leave full screen" : "Full screen";
        });
      }
    }
  };

  // src/viewer.js
  var Viewer = class {
    constructor(root, config) {
      this.root = root;
      this.config = config;
      this.main = config.main;
      root.classList.add("qx-viewer");
      root.style.background = this.main.stageColor;
      this.status = el("div", { class: "qx-sr", role: "status", "aria-live": "polite" });
      this.center = el("div", { class: "qx-center" });
      root.append(this.center, this.status);
    }
    /**
     * A message in the middle of the viewer; role 'alert' or 'status' has screen readers read it
     * out, none leaves it to be found (for texts that change often).
     */
    message(text, role) {
      if (role === "alert") this.error = text;
      const box = el("div", { class: "qx-message", text });
      if (role) box.setAttribute("role", role);
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
        video: this.videoName || ""
      };
    }
    start() {
      window.qxViewerState = () => this.state();
      if (location.protocol === "file:") {
        this.message(
          'This page must be served over HTTP: opened from disk, a browser does not let it show its video. Open it through a web server, for example with "Test in browser" in the selector utility.',
          "alert"
        );
        return;
      }
      this.video = this.makeVideo();
      this.canvas = el("canvas", {
        tabindex: "0",
        role: "application",
        "aria-roledescription": "360-degree video",
        "aria-label": (this.config.page.title ? this.config.page.title + ": " : "") + "360-degree video. Arrow keys look around, plus and minus zoom, space plays and pauses."
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
      this.layer = el("div", { class: "qx-layer" });
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
      window.addEventListener("hashchange", () => this.followLink());
      this.waitForBuffer();
      const loop = () => {
        try {
          this.frame();
          requestAnimationFrame(loop);
        } catch (error) {
          console.error(error);
          this.message(`The 360-degree view stopped: ${error.message}`, "alert");
        }
      };
      requestAnimationFrame(loop);
    }
    makeVideo() {
      const video = el("video", { playsinline: "", "webkit-playsinline": "", preload: "auto" });
      video.hidden = true;
      video.playsInline = true;
      video.loop = true;
      video.volume = this.main.volume / 100;
      video.muted = this.main.volume === 0;
      this.rendition = this.pickRendition();
      this.videoName = this.rendition < 0 ? this.config.video : this.config.renditions[this.rendition].video;
      video.src = this.videoName;
      video.addEventListener("error", () => this.videoFailed());
      return video;
    }
    /**
     * The video will not play. A browser reports a missing file as a format it cannot play, so
     * the server is asked whether the file is there before the visitor is told which it is.
     */
    async videoFailed() {
      clearInterval(this.bufferTimer);
      if (this.bar) this.bar.element.remove();
      const name = this.videoName;
      let status = 0;
      if (location.protocol.startsWith("http")) {
        try {
          status = (await fetch(name, { method: "HEAD", cache: "no-store" })).status;
        } catch {
          status = -1;
        }
      }
      const code = this.video.error ? this.video.error.code : 0;
      this.message(status >= 400 ? `The video ${name} is missing on the server (HTTP ${status}).` : status === -1 ? `The video ${name} could not be loaded: the server does not answer.` : code === 4 ? `The video ${name} could not be played by this browser.` : `The video ${name} could not be loaded.`, "alert");
    }
    /** Without WebGL the video still plays, flat, with the browser's own controls. */
    showFlat() {
      const video = this.video;
      video.className = "qx-fallback";
      if (this.config.poster) video.poster = this.config.poster;
      video.hidden = false;
      video.controls = true;
      this.root.prepend(video);
      this.message("This browser cannot show the 360-degree view (WebGL is not available); the video is shown flat.", "status");
      setTimeout(() => this.center.replaceChildren(), 6e3);
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
      else window.addEventListener("resize", resize);
      resize();
    }
    // ---- per frame
    frame() {
      const video = this.video;
      const renderer = this.renderer;
      if (renderer.gl.isContextLost()) return;
      this.applyHeldPointer();
      const fresh = this.xr ? false : this.uploadFrame();
      const viewChanged = this.view.version !== this.drawn.version;
      if (!this.xr && (fresh || viewChanged)) {
        renderer.draw(this.view);
        this.framesDrawn = (this.framesDrawn || 0) + 1;
      }
      this.drawn.version = this.view.version;
      if (viewChanged) this.viewMoved = true;
      const now = performance.now();
      if (this.viewMoved && now - (this.viewSent || 0) >= 100) {
        this.viewMoved = false;
        this.viewSent = now;
        this.emit("viewchange", this.position());
      }
      this.updateHotSpots(this.pendingTime ?? video.currentTime, viewChanged);
      if (this.audio) this.audio.follow(this.view.yaw);
      if (this.bar && this.pendingTime === void 0) this.updateBar();
    }
    /** Brings the texture up to date: the video's frame, or the poster until there is one. */
    uploadFrame() {
      const video = this.video;
      const renderer = this.renderer;
      let fresh = false;
      if (video.readyState >= 2 && (video.currentTime !== this.drawn.time || !this.drawn.frame)) {
        const first = !this.drawn.frame;
        if (video.videoWidth !== this.drawn.width) {
          this.view.setPicture(video.videoWidth, video.videoHeight);
          this.drawn.width = video.videoWidth;
        }
        renderer.upload(video);
        this.drawn.time = video.currentTime;
        this.drawn.frame = true;
        fresh = true;
        if (first) setTimeout(() => this.emit("ready", this.state()));
      } else if (!this.drawn.frame && this.poster && !this.drawn.poster) {
        this.view.setPicture(this.poster.naturalWidth, this.poster.naturalHeight);
        renderer.upload(this.poster);
        this.drawn.poster = fresh = true;
      }
      return fresh;
    }
    announce(text) {
      this.status.textContent = "";
      setTimeout(() => {
        this.status.textContent = text;
      }, 50);
    }
    /** An event on the viewer element (qx-NAME, the facts in detail), also sent to a parent. */
    emit(name, detail) {
      this.root.dispatchEvent(new CustomEvent(`qx-${name}`, { detail }));
      if (window.parent !== window) window.parent.postMessage({ type: `qx-${name}`, ...detail }, "*");
    }
    position() {
      const { yaw, pitch, fov, time } = this.state();
      return { yaw, pitch, fov, time };
    }
  };
  var parts = [
    HotSpots,
    Playback,
    Renditions,
    Captions,
    Embedding,
    Phone,
    Xr,
    AudioPanning,
    Input,
    ControlBar
  ];
  for (const part of parts) {
    for (const name of Object.getOwnPropertyNames(part.prototype)) {
      if (name === "constructor") continue;
      if (name in Viewer.prototype) throw new Error(`Viewer.${name} is defined twice`);
      Viewer.prototype[name] = part.prototype[name];
    }
  }

  // src/main.js
  function layOutPage(root, page) {
    const body = document.body;
    body.classList.toggle("qx-iframe", page.iframe);
    body.classList.toggle("qx-border", page.border);
    const [r, g, b] = hexRgb(page.bgColor);
    body.classList.toggle("qx-dark", 0.2126 * r + 0.7152 * g + 0.0722 * b < 0.45);
    const w = page.width, h = page.height;
    const edge = page.border ? 2 : 0;
    root.style.width = w ? `min(${w}px, calc(100vw - ${edge}px))` : "100%";
    if (w && h) root.style.aspectRatio = `${w} / ${h}`;
    else root.style.height = h ? `${h}px` : page.iframe ? "100vh" : "75vh";
    if (page.iframe && w && h) root.style.maxHeight = `calc(100vh - ${edge}px)`;
  }
  function main() {
    const root = document.getElementById("qx-viewer");
    const source = document.getElementById("qx-config");
    if (!root) return;
    document.head.append(el("style", { text: CSS }));
    let config;
    try {
      config = readConfig(JSON.parse(source ? source.textContent : ""));
    } catch (error) {
      root.classList.add("qx-viewer");
      root.style.height = "300px";
      root.textContent = "The configuration of this page cannot be read.";
      return;
    }
    layOutPage(root, config.page);
    new Viewer(root, config).start();
  }
  if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", main);
  else main();
})();
