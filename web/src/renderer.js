/**
 * WebGL 1 drawing: the video frame is an equirectangular texture and a fragment shader casts one
 * ray per pixel, so the view is exact at every zoom.
 */
import { DEG, hexRgb, rotation } from './maths.js';

const VERTEX_SHADER = `
attribute vec2 aPos;
varying vec2 vPos;
void main() { vPos = aPos; gl_Position = vec4(aPos, 0.0, 1.0); }`;

// Each pixel's ray is turned by the view rotation, then mapped to longitude and latitude and
// from there to the equirectangular frame (longitude 0, yaw 0, is the frame's centre column).
// Rows span +-uHalf radians around the horizon: the whole sphere for a 2:1 frame, a band for
// wider (cylindrical) footage.
const FRAGMENT_SHADER = `
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

class Renderer {
  constructor(canvas, smooth, stageColour) {
    this.canvas = canvas;
    this.filter = smooth;
    this.stage = hexRgb(stageColour);
    this.frameSize = [0, 0];
    this.hasFrame = false;
    this.gl = canvas.getContext('webgl', { alpha: false, antialias: false }) ||
      canvas.getContext('experimental-webgl', { alpha: false, antialias: false });
    if (this.gl) this.setUp();
  }

  setUp() {
    const gl = this.gl;
    const compile = (type, source) => {
      const shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS) && !gl.isContextLost()) {
        throw new Error('shader: ' + gl.getShaderInfoLog(shader));
      }
      return shader;
    };
    const program = gl.createProgram();
    gl.attachShader(program, compile(gl.VERTEX_SHADER, VERTEX_SHADER));
    gl.attachShader(program, compile(gl.FRAGMENT_SHADER, FRAGMENT_SHADER));
    gl.linkProgram(program);
    gl.useProgram(program);
    this.uniforms = {};
    for (const name of ['uFrame', 'uRotation', 'uTan', 'uShift', 'uHalf', 'uStage', 'uHasFrame']) {
      this.uniforms[name] = gl.getUniformLocation(program, name);
    }
    // One triangle that covers the whole screen.
    gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 3, -1, -1, 3]), gl.STATIC_DRAW);
    const aPos = gl.getAttribLocation(program, 'aPos');
    gl.enableVertexAttribArray(aPos);
    gl.vertexAttribPointer(aPos, 2, gl.FLOAT, false, 0, 0);
    // Video frames are rarely powers of two: WebGL 1 then wants no mipmaps and clamped edges.
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
    // A video, or the poster image that stands in for it until its first frame.
    let source = video, w = video.videoWidth || video.naturalWidth,
      h = video.videoHeight || video.naturalHeight;
    if (!w || !h) return;
    const max = gl.getParameter(gl.MAX_TEXTURE_SIZE);
    if (w > max || h > max) {
      const scale = max / Math.max(w, h);
      this.scaler = this.scaler || document.createElement('canvas');
      if (this.scaler.width !== Math.floor(w * scale)) {
        this.scaler.width = Math.floor(w * scale);
        this.scaler.height = Math.floor(h * scale);
      }
      this.scaler.getContext('2d').drawImage(video, 0, 0, this.scaler.width, this.scaler.height);
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
    this.drawRays(rotation(view.yaw, view.pitch), view.tanH, view.tanV, view.pictureHalf,
      [0, 0, this.canvas.width, this.canvas.height]);
  }

  /**
   * Draws the rays of a view turned by r (rows), tan of its half angles, into box; shift moves
   * the centre of an off-centre view (a headset eye's) in screen units.
   */
  drawRays(r, tanH, tanV, pictureHalf, box, shift = [0, 0]) {
    const gl = this.gl;
    gl.viewport(...box);
    // uniformMatrix3fv takes columns.
    const columns = [0, 1, 2].flatMap((c) => [r[0][c], r[1][c], r[2][c]]);
    gl.uniformMatrix3fv(this.uniforms.uRotation, false, new Float32Array(columns));
    gl.uniform2f(this.uniforms.uTan, tanH, tanV);
    gl.uniform2f(this.uniforms.uShift, shift[0], shift[1]);
    gl.uniform1f(this.uniforms.uHalf, pictureHalf * DEG);
    gl.uniform1i(this.uniforms.uHasFrame, this.hasFrame ? 1 : 0);
    gl.drawArrays(gl.TRIANGLES, 0, 3);
  }
}

export { Renderer };
