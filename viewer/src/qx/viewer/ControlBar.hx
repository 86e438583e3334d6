package qx.viewer;

import flash.display.Shape;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.text.TextFormat;

/** What the control bar drives; Main implements it over the NetStream. */
typedef Player = {
	function togglePlay():Void;
	function isPlaying():Bool;
	function seekFraction(f:Float):Void;
	function position():Float; // 0..1 of the duration, or -1 when the duration is unknown
	function timeText():String;
	function setVolume(v:Float):Void; // 0..1
	function volume():Float;
	function toggleMute():Void;
	function isMuted():Bool;
	function toggleFullScreen():Void;
}

/** Play/pause, time, position, mute, volume and full screen along the bottom of the stage. */
class ControlBar extends Sprite {
	public static inline var HEIGHT = 26;

	var player:Player;
	var play = new Sprite();
	var time = new TextField();
	var seek = new Sprite();
	var mute = new Sprite();
	var volume = new Sprite();
	var full = new Sprite();
	var barWidth = 0.0;
	var dragging:Sprite;
	// what each part shows now: redrawing vector shapes every frame costs some players dearly
	var shown = new Map<String, String>();

	public function new(player:Player) {
		super();
		this.player = player;
		time.defaultTextFormat = new TextFormat("_sans", 11, 0xFFFFFF);
		time.selectable = false;
		time.height = 18;
		time.width = 80;
		for (s in [play, seek, mute, volume, full]) {
			s.buttonMode = true;
			addChild(s);
		}
		addChild(time);
		play.addEventListener(MouseEvent.CLICK, function(_) player.togglePlay());
		mute.addEventListener(MouseEvent.CLICK, function(_) player.toggleMute());
		full.addEventListener(MouseEvent.CLICK, function(_) player.toggleFullScreen());
		for (track in [seek, volume])
			track.addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) {
				dragging = track;
				follow(e);
				stage.addEventListener(MouseEvent.MOUSE_MOVE, follow);
				stage.addEventListener(MouseEvent.MOUSE_UP, release);
				e.stopPropagation();
			});
		addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) e.stopPropagation());
	}

	function follow(e:MouseEvent) {
		var f = Config.clamp(dragging.mouseX / Math.max(1, dragging.width), 0, 1);
		if (dragging == seek) player.seekFraction(f) else player.setVolume(f);
	}

	function release(_) {
		stage.removeEventListener(MouseEvent.MOUSE_MOVE, follow);
		stage.removeEventListener(MouseEvent.MOUSE_UP, release);
		dragging = null;
	}

	public function layout(w:Float, h:Float) {
		barWidth = w;
		y = h - HEIGHT;
		var g = graphics;
		g.clear();
		g.beginFill(0x000000, 0.6);
		g.drawRect(0, 0, w, HEIGHT);
		g.endFill();
		play.x = 4;
		time.x = 30;
		time.y = 4;
		full.x = w - 26;
		volume.x = w - 86;
		mute.x = w - 110;
		seek.x = 112;
		shown = new Map();
		update();
	}

	/** Redraws the parts that follow the video; cheap enough for every frame. */
	public function update() {
		var w = barWidth;
		if (changed("play", player.isPlaying() ? "pause" : "play")) button(play, shown.get("play"));
		if (changed("mute", player.isMuted() ? "muted" : "sound")) button(mute, shown.get("mute"));
		if (changed("full", "full")) button(full, "full");
		var t = player.timeText();
		if (time.text != t) time.text = t;
		var seekWidth = Math.max(20, w - 112 - 116), at = player.position();
		if (changed("seek", seekWidth + " " + Math.round(at * seekWidth))) track(seek, seekWidth, at);
		var level = player.isMuted() ? 0 : player.volume();
		if (changed("volume", Std.string(Math.round(level * 56)))) track(volume, 56, level);
	}

	function changed(part:String, state:String):Bool {
		if (shown.get(part) == state) return false;
		shown.set(part, state);
		return true;
	}

	static function track(s:Sprite, w:Float, f:Float) {
		var g = s.graphics;
		g.clear();
		g.beginFill(0, 0); // the whole height takes clicks
		g.drawRect(0, 0, w, HEIGHT);
		g.beginFill(0xFFFFFF, 0.35);
		g.drawRect(0, 11, w, 4);
		if (f >= 0) {
			g.beginFill(0xFFFFFF, 1);
			g.drawRect(0, 11, w * f, 4);
			g.drawCircle(w * f, 13, 5);
		}
		g.endFill();
	}

	static function button(s:Sprite, icon:String) {
		var g = s.graphics;
		g.clear();
		g.beginFill(0, 0);
		g.drawRect(0, 0, 22, HEIGHT);
		g.beginFill(0xFFFFFF);
		switch (icon) {
			case "play":
				g.moveTo(6, 6); g.lineTo(18, 13); g.lineTo(6, 20);
			case "pause":
				g.drawRect(6, 6, 4, 14); g.drawRect(13, 6, 4, 14);
			case "full":
				g.drawRect(3, 6, 16, 2); g.drawRect(3, 18, 16, 2); g.drawRect(3, 6, 2, 14); g.drawRect(17, 6, 2, 14);
			default:
				g.drawRect(3, 10, 4, 6);
				g.moveTo(7, 10); g.lineTo(12, 5); g.lineTo(12, 21); g.lineTo(7, 16);
				if (icon == "muted") {
					g.endFill();
					g.lineStyle(2, 0xFFFFFF);
					g.moveTo(14, 9); g.lineTo(20, 17); g.moveTo(20, 9); g.lineTo(14, 17);
					g.lineStyle();
				}
		}
		g.endFill();
	}
}
