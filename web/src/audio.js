// The sound follows the view (stereo balance). Methods of the Viewer (see viewer.js).
import { DEG } from './maths.js';

export class AudioPanning {
  /**
   * Web Audio may only start from a user's gesture (and a touch counts only once the finger
   * lifts), so every gesture makes sure the context runs. Balance 0 needs none of it.
   */
  userGesture() {
    if (this.main.balance <= 0) return;
    if (this.audio === undefined) this.audio = this.makeAudio();
    if (this.audio && this.audio.context.state === 'suspended') this.audio.context.resume();
  }

  /** The stereo panner between the video and the speakers, or null where there is none. */
  makeAudio() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    try {
      const context = new Context();
      if (!context.createStereoPanner) return null;
      // From here on the video's sound goes through the context, so build the whole path.
      const panner = context.createStereoPanner();
      const source = context.createMediaElementSource(this.video);
      source.connect(panner).connect(context.destination);
      const strength = this.main.balance / 100;
      return {
        context,
        follow(yaw) {
          // Turned to the right of the camera's front, the front is heard on the left.
          const pan = -Math.sin(yaw * DEG) * strength;
          if (Math.abs(panner.pan.value - pan) > 0.005) panner.pan.value = pan;
        },
      };
    } catch (error) {
      console.warn('audio panning is not available:', error);
      return null;
    }
  }
}
