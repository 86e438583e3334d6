// Headsets (WebXR immersive-vr). Methods of the Viewer (see viewer.js).
import { el, setIcon } from './dom.js';
import { multiply, quaternionRows, rotation } from './maths.js';

export class Xr {
  /** "Enter VR" in the bar where the browser offers an immersive-vr session. */
  async offerVr() {
    let supported = false;
    try {
      supported = Boolean(navigator.xr) && await navigator.xr.isSessionSupported('immersive-vr');
    } catch {
      supported = false; // refused by a permissions policy, for instance in a frame
    }
    if (!supported || !this.bar) return;
    const button = el('button', { type: 'button', 'aria-label': 'Enter VR', title: 'Enter VR' });
    setIcon(button, 'vr');
    button.addEventListener('click', () => this.toggleVr());
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
      session = await navigator.xr.requestSession('immersive-vr');
      const gl = this.renderer.gl;
      if (gl.makeXRCompatible) await gl.makeXRCompatible();
      session.updateRenderState({ baseLayer: new window.XRWebGLLayer(session, gl) });
      this.xr = { session, space: await session.requestReferenceSpace('local') };
    } catch (error) {
      if (session) session.end();
      this.announce(`VR could not start: ${error.message}`);
      return;
    }
    session.addEventListener('end', () => {
      this.xr = null;
      this.drawn.version = -1; // the page's canvas shows the view again
      this.bar.vr.setAttribute('aria-label', 'Enter VR');
    });
    this.bar.vr.setAttribute('aria-label', 'Leave VR');
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
      this.renderer.drawRays(multiply(turn, quaternionRows(eye.transform.orientation)),
        1 / p[0], 1 / p[5], this.view.pictureHalf, [box.x, box.y, box.width, box.height],
        [p[8], p[9]]);
    }
    this.framesDrawn = (this.framesDrawn || 0) + 1;
  }
}
