package qx.viewer;

import flash.display.Stage;
import flash.display.StageAlign;
import flash.display.StageDisplayState;
import flash.display.StageScaleMode;
import flash.events.FullScreenEvent;
import flash.events.KeyboardEvent;

/**
 * Full screen at the screen's own resolution: the stage stops scaling the page's picture up and
 * takes the screen's size, so the panorama is drawn anew at that size; leaving restores the
 * page's scaling. Esc leaves it also where the runtime passes the key on to the movie.
 */
class FullScreen {
	static inline var ESCAPE = 27;

	var stage:Stage;
	// The page's scaling while full screen; null otherwise.
	var pageScale:StageScaleMode = null;
	var pageAlign:StageAlign;

	public function new(stage:Stage) {
		this.stage = stage;
		stage.addEventListener(FullScreenEvent.FULL_SCREEN, function(_) follow());
		stage.addEventListener(KeyboardEvent.KEY_DOWN, function(e:KeyboardEvent) {
			if (e.keyCode == ESCAPE && on()) set(false);
		});
	}

	public function on():Bool
		return stage.displayState != StageDisplayState.NORMAL;

	public function toggle()
		set(!on());

	function set(full:Bool) {
		// A page that does not allow full screen makes this throw: the button then does nothing.
		try stage.displayState = full ? StageDisplayState.FULL_SCREEN : StageDisplayState.NORMAL catch (e:Dynamic) {}
		follow();
	}

	function follow() {
		if (on() && pageScale == null) {
			pageScale = stage.scaleMode;
			pageAlign = stage.align;
			stage.scaleMode = StageScaleMode.NO_SCALE;
			stage.align = StageAlign.TOP_LEFT;
		} else if (!on() && pageScale != null) {
			stage.scaleMode = pageScale;
			stage.align = pageAlign;
			pageScale = null;
		}
	}
}
