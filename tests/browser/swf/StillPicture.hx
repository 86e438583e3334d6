// The yardstick of bench-flash.mjs: what the runtime's renderer can do at best for a page like the
// viewer's. One still picture (a 1024 x 512 bitmap, as big as the viewer's copies; smoothed with
// the flash variable smooth=1, as the viewer's "quality" does) fills the stage at the viewer's low
// quality, and a small square moves on every frame so that every frame is drawn; no video, no
// triangles. Answers qxViewerState as the viewer does.
import flash.display.BitmapData;
import flash.display.Shape;
import flash.display.StageAlign;
import flash.display.StageQuality;
import flash.display.StageScaleMode;
import flash.events.Event;
import flash.external.ExternalInterface;
import flash.geom.Matrix;
import flash.Lib;

class StillPicture {
	static function main() {
		var stage = Lib.current.stage;
		stage.scaleMode = StageScaleMode.NO_SCALE;
		stage.align = StageAlign.TOP_LEFT;
		stage.quality = StageQuality.LOW;
		var w = stage.stageWidth, h = stage.stageHeight;
		var picture = new BitmapData(1024, 512, false, 0);
		picture.perlinNoise(64, 64, 2, 1, false, true);
		var fill = new Matrix();
		fill.scale(w / 1024, h / 512);
		var sphere = new Shape();
		sphere.graphics.beginBitmapFill(picture, fill, false, Lib.current.loaderInfo.parameters.smooth == "1");
		sphere.graphics.drawRect(0, 0, w, h);
		Lib.current.addChild(sphere);
		var mover = new Shape();
		mover.graphics.beginFill(0xFF0000);
		mover.graphics.drawRect(0, 0, 10, 10);
		Lib.current.addChild(mover);
		var frames = 0;
		ExternalInterface.addCallback("qxViewerState", function() {
			return {ready: true, framesDrawn: frames, time: frames, yaw: 0.0, error: null};
		});
		Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
			frames++;
			mover.x = (frames * 3) % (w - 10);
		});
	}
}
