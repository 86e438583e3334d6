package qx.viewer;

import flash.display.Sprite;
import flash.media.Video;
import flash.net.NetStream;

/**
 * The panorama for runtimes that cannot draw a video into a bitmap: the frame shown flat (a
 * cylinder unrolled), at the view's scale, as two Video objects on the one stream side by side,
 * scrolled so the view's yaw is in the middle and the frame's edges meet wherever they show.
 */
class FlatView extends Sprite {
	var view:View;
	var videos:Array<Video> = [];
	var videoWidth = 0;
	var videoHeight = 0;

	public function new(view:View) {
		super();
		this.view = view;
	}

	/** Shows the stream at its frame size (a new size makes new Video objects). */
	public function attach(stream:NetStream, width:Int, height:Int, smooth:Bool) {
		for (v in videos) {
			v.attachNetStream(null);
			removeChild(v);
		}
		videos = [];
		videoWidth = width;
		videoHeight = height;
		for (i in 0...2) {
			var v = new Video(width, height);
			v.smoothing = smooth;
			v.attachNetStream(stream);
			addChild(v);
			videos.push(v);
		}
	}

	/** Places the frame for the view on a width x height stage. */
	public function place(width:Float, height:Float) {
		if (videos.length == 0) return;
		// As many pixels a degree across as down: the whole frame spans 360 degrees.
		var frameW = width * 360 / view.shownFov;
		var frameH = frameW * videoHeight / videoWidth;
		var x = width / 2 - View.column(view.yaw) * frameW;
		// The frame's rows run from +pictureHalf (top) to -pictureHalf degrees.
		var y = height / 2 - (view.pictureHalf - view.pitch) / (2 * view.pictureHalf) * frameH;
		for (i in 0...2) {
			var v = videos[i];
			v.width = frameW;
			v.height = frameH;
			v.y = y;
		}
		// The second copy continues the frame on whichever side the first leaves open.
		videos[0].x = x;
		videos[1].x = x > 0 ? x - frameW : x + frameW;
	}
}
