package qx.viewer;

import flash.Lib;
import flash.display.Sprite;
import flash.display.StageQuality;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.events.SecurityErrorEvent;
import flash.external.ExternalInterface;
import flash.media.SoundTransform;
import flash.media.Video;
import flash.net.URLLoader;
import flash.net.URLLoaderDataFormat;
import flash.net.URLRequest;
import flash.utils.ByteArray;

/**
 * The published viewer: reads config.xml beside the page, plays its video as a 360-degree
 * panorama with the timed hot spots, and answers qxViewerState() through ExternalInterface so a
 * page's script (and the browser tests) can read what is shown.
 */
class Main extends Sprite {
	// The frame size taken when the video tells none.
	static inline var VIDEO_W = 1024;
	static inline var VIDEO_H = 512;
	static inline var KEY_STEP = 5.0;
	static inline var SIMPLIFIED = "A simplified view: this browser cannot draw the video in perspective.";

	var config:Config;
	var view:View;
	// The picture: the sphere in perspective, or where the runtime cannot draw a video into a
	// bitmap, the frame flat.
	var panorama:Panorama;
	var flat:FlatView;
	var status = new StatusDisplay();
	var hotSpots:HotSpots;
	var bar:ControlBar;
	var playback:Playback;
	var video:Video;
	var videoWidth = 0;
	var videoHeight = 0;
	var lastTime = -1.0;
	var drawnVersion = -1;
	var framesDrawn = 0;
	var paused = false;
	var muted = false;
	var level = 0.5;
	var pan = 0.0;
	var soundSet = false;
	var error:String = null;
	var dragging = false;
	var dragX = 0.0;
	var dragY = 0.0;
	var lastTick = 0;
	var pageQuality:StageQuality = null;
	var fullScreen:FullScreen;

	static function main() {
		Lib.current.addChild(new Main());
	}

	function new() {
		super();
		addEventListener(Event.ADDED_TO_STAGE, function(_) start());
	}

	function start() {
		addChild(status);
		showStatus("Loading the 360° video…");
		addEventListener(Event.ENTER_FRAME, function(_) frame());
		if (ExternalInterface.available) {
			try ExternalInterface.addCallback("qxViewerState", state) catch (e:Dynamic) {}
		}
		var loader = new URLLoader();
		loader.dataFormat = URLLoaderDataFormat.BINARY;
		loader.addEventListener(Event.COMPLETE, function(_) configLoaded(decode(loader.data)));
		var failed = function(_) fail("config.xml could not be loaded, so there is nothing to show.");
		loader.addEventListener(IOErrorEvent.IO_ERROR, failed);
		loader.addEventListener(SecurityErrorEvent.SECURITY_ERROR, failed);
		loader.load(new URLRequest("config.xml"));
	}

	/** UTF-8 when the bytes are valid UTF-8, else one character per byte. */
	static function decode(bytes:ByteArray):String {
		bytes.position = 0;
		var text = bytes.readUTFBytes(bytes.length);
		if (text.indexOf("\u{FFFD}") < 0) return text;
		var out = new StringBuf();
		for (i in 0...bytes.length) out.addChar(bytes[i]);
		return out.toString();
	}

	function configLoaded(text:String) {
		config = Config.parse(text);
		view = new View(config);
		level = config.volume / 100;
		muted = config.volume == 0;
		playback = new Playback(config, useSize, fail);
		if (Panorama.drawsIntoBitmaps()) {
			panorama = new Panorama(view, config.smooth);
			addChildAt(panorama.shape, 0);
		} else {
			flat = new FlatView(view);
			view.flat = true;
			addChildAt(flat, 0);
		}
		hotSpots = new HotSpots(config.hotSpots);
		addChild(hotSpots);
		fullScreen = new FullScreen(stage);
		if (config.controls) {
			bar = new ControlBar(player());
			addChild(bar);
		}
		layout();
		stage.addEventListener(Event.RESIZE, function(_) layout());
		listen();
		if (config.movie == "") {
			fail("config.xml names no video.");
			return;
		}
		applySound();
		playback.start();
	}

	function layout() {
		var w = stage.stageWidth, h = stage.stageHeight;
		view.setAspect(h / Math.max(1, w));
		// The stage colour shows beyond the picture (Black Areas) and before the first frame.
		// A player that has Stage.color clears each frame with it; a fill under the sphere would
		// cost a software renderer a pass over every pixel.
		graphics.clear();
		if (!colourStage(config.stageColor)) {
			graphics.beginFill(config.stageColor);
			graphics.drawRect(0, 0, w, h);
			graphics.endFill();
		}
		if (bar != null) bar.layout(w, h);
		drawnVersion = -1;
	}

	/** Whether the player took the colour as the stage's own (Flash Player 10.2 and later). */
	function colourStage(colour:Int):Bool {
		try {
			untyped stage["color"] = colour;
			return true;
		} catch (e:Dynamic) {
			return false;
		}
	}

	/** The frame size is known: a Video of that size (draw() renders a Video at its own size). */
	function useSize(w:Int, h:Int) {
		if (w <= 0 || h <= 0 || (w == videoWidth && h == videoHeight)) return;
		videoWidth = w;
		videoHeight = h;
		view.setPicture(w, h);
		if (flat != null) {
			flat.attach(playback.stream, w, h, config.smooth);
			drawnVersion = -1;
			return;
		}
		if (video != null) video.attachNetStream(null);
		video = new Video(w, h);
		video.smoothing = config.smooth;
		video.attachNetStream(playback.stream);
	}

	function frame() {
		status.turn();
		if (view == null || error != null) return;
		var now = Lib.getTimer();
		var seconds = lastTick == 0 ? 0 : Math.min(0.1, (now - lastTick) / 1000);
		lastTick = now;
		if (dragging && config.panningMode == 1) heldPan(seconds);
		var time = playback == null ? 0 : playback.time;
		// Without metadata after a second of playing, take the usual 2:1 frame.
		var sized = videoWidth > 0;
		if (!sized && time > 1) useSize(VIDEO_W, VIDEO_H);
		if (playback != null) playback.check(sized);
		if (error != null) return;
		var fresh = sized && time != lastTime;
		if (fresh) {
			lastTime = time;
			if (time > 0 && status.message() != null) pictureShown();
		}
		var moved = view.version != drawnVersion;
		if (sized && (fresh || moved)) {
			if (panorama == null) {
				// The runtime draws each new frame of the Videos itself: only the view moves them.
				if (moved) flat.place(stage.stageWidth, stage.stageHeight);
			} else {
				if (framesDrawn == 0) drawQuality();
				panorama.draw(video, videoWidth, videoHeight, fresh, stage.stageWidth, stage.stageHeight);
			}
			drawnVersion = view.version;
			framesDrawn++;
		}
		hotSpots.place(view, time, stage.stageWidth, stage.stageHeight);
		if (config.balance > 0) applySound();
		if (bar != null) bar.update();
	}

	// ---- input

	function listen() {
		stage.addEventListener(KeyboardEvent.KEY_DOWN, key);
		stage.addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) {
			stage.focus = stage;
			dragging = true;
			dragX = e.stageX;
			dragY = e.stageY;
		});
		stage.addEventListener(MouseEvent.MOUSE_UP, function(_) dragging = false);
		stage.addEventListener(Event.MOUSE_LEAVE, function(_) dragging = false);
		stage.addEventListener(MouseEvent.MOUSE_MOVE, function(e:MouseEvent) {
			if (!dragging || config.panningMode != 0) return;
			// The picture follows the pointer: a drag across the whole stage turns it by its fov.
			var perPixel = view.shownFov / Math.max(1, stage.stageWidth);
			view.turn(-(e.stageX - dragX) * perPixel, (e.stageY - dragY) * perPixel);
			dragX = e.stageX;
			dragY = e.stageY;
		});
		stage.addEventListener(MouseEvent.MOUSE_WHEEL, function(e:MouseEvent) {
			// One notch (delta 3) zooms by about 16 percent; up zooms in.
			view.zoom(Math.exp(Config.clamp(-e.delta, -12, 12) * 0.05));
		});
	}

	/** Half-area panning: while held, the view turns at a speed that grows from the centre. */
	function heldPan(seconds:Float) {
		var speed = function(o:Float) return (Math.abs(o) < 0.05 ? 0 : o) * 1.5 * view.fov;
		var ox = Config.clamp(stage.mouseX / stage.stageWidth * 2 - 1, -1, 1);
		var oy = Config.clamp(stage.mouseY / stage.stageHeight * 2 - 1, -1, 1);
		view.turn(speed(ox) * seconds, -speed(oy) * seconds / 2);
	}

	function key(e:KeyboardEvent) {
		var step = KEY_STEP * view.fov / 70;
		switch (e.keyCode) {
			case 37: view.turn(-step, 0);
			case 39: view.turn(step, 0);
			case 38: view.turn(0, step);
			case 40: view.turn(0, -step);
			case 32: togglePlay();
			default:
				var c = String.fromCharCode(e.charCode);
				if (c == "+" || c == "=" || e.keyCode == 107) view.zoom(1 / 1.1);
				else if (c == "-" || c == "_" || e.keyCode == 109) view.zoom(1.1);
		}
	}

	// ---- sound and playback

	function applySound() {
		// Turned to the right of the camera's front, the front is heard on the left.
		var p = view == null ? 0 : -Math.sin(view.yaw * Math.PI / 180) * config.balance / 100;
		if (playback == null || (soundSet && Math.abs(p - pan) < 0.005)) return;
		pan = p;
		soundSet = true;
		playback.stream.soundTransform = new SoundTransform(muted ? 0 : level, p);
	}

	function togglePlay() {
		if (playback == null) return;
		paused = !paused;
		if (paused) playback.stream.pause() else playback.stream.resume();
	}

	function player():ControlBar.Player {
		return {
			togglePlay: togglePlay,
			isPlaying: function() return !paused,
			seekFraction: function(f:Float) if (playback.duration > 0) playback.stream.seek(f * playback.duration),
			position: function() return playback.duration > 0 ? Config.clamp(playback.time / playback.duration, 0, 1) : -1,
			timeText: function() return clock(playback.time) + " / " + clock(playback.duration),
			setVolume: function(v:Float) {
				level = v;
				muted = v == 0;
				soundSet = false;
				applySound();
			},
			volume: function() return level,
			toggleMute: function() {
				muted = !muted;
				if (!muted && level == 0) level = 0.5;
				soundSet = false;
				applySound();
			},
			isMuted: function() return muted,
			toggleFullScreen: fullScreen.toggle
		};
	}

	static function clock(s:Float):String {
		var t = Std.int(Math.max(0, s));
		var ss = Std.string(t % 60);
		return Std.int(t / 60) + ":" + (ss.length < 2 ? "0" + ss : ss);
	}

	/**
	 * Where the sphere is drawn as one bitmap fill per triangle, multisampling every fill costs
	 * most of a frame; without it the picture looks the same (the fills overlap and stay
	 * smoothed). A player that maps UVs draws it in one call, and would lose bitmap smoothing at
	 * low quality, so it keeps its own. The flash variable quality=high keeps the page's quality.
	 */
	function drawQuality() {
		var asked:Dynamic = Lib.current.loaderInfo.parameters.quality;
		if (panorama.uvMapping || (asked != null && Std.string(asked).toLowerCase() == "high")) return;
		pageQuality = stage.quality;
		stage.quality = StageQuality.LOW;
	}

	// ---- status

	function showStatus(text:String)
		status.show(text, true, stage.stageWidth, stage.stageHeight);

	/** The first picture: the loading line goes, and a simplified view says so. */
	function pictureShown() {
		status.hide();
		if (flat != null) status.setNotice(SIMPLIFIED);
	}

	function fail(text:String) {
		error = text;
		// The message is text: drawn at the page's quality.
		if (pageQuality != null) stage.quality = pageQuality;
		status.setNotice(null);
		status.show(text, false, stage.stageWidth, stage.stageHeight);
		setChildIndex(status, numChildren - 1);
		graphics.beginFill(0x400000);
		graphics.drawRect(0, 0, stage.stageWidth, stage.stageHeight);
		graphics.endFill();
	}

	/**
	 * What is shown, for a page's script and the tests. video: the file asked for (for an F4V
	 * the FLV beside it, where there is one); simplified: the frame is shown flat.
	 */
	function state():Dynamic {
		return {
			yaw: view == null ? 0 : view.yaw,
			pitch: view == null ? 0 : view.pitch,
			fov: view == null ? 0 : view.shownFov,
			time: playback == null ? 0 : playback.time,
			video: playback == null ? "" : playback.movie,
			framesDrawn: framesDrawn,
			quality: Std.string(stage.quality).toLowerCase(),
			fullScreen: fullScreen != null && fullScreen.on(),
			stageWidth: stage.stageWidth,
			stageHeight: stage.stageHeight,
			videoWidth: videoWidth,
			videoHeight: videoHeight,
			visible: hotSpots == null ? [] : hotSpots.visibleSlots(),
			ready: videoWidth > 0 && lastTime > 0 && error == null,
			simplified: flat != null,
			notice: status.noticeText(),
			error: error
		};
	}
}
