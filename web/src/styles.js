// The viewer's own styles, added to the page once: the page itself carries layout only.

const CSS = `
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

export { CSS };
