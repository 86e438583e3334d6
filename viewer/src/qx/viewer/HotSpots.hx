package qx.viewer;

import flash.display.Loader;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.MouseEvent;
import flash.net.URLRequest;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;

/** The timed hot spots: an icon each (images/hsN.gif) with its title, placed at its yaw. */
class HotSpots extends Sprite {
	var spots:Array<{h:Config.HotSpot, sprite:Sprite, shown:Bool}> = [];

	public function new(hotSpots:Array<Config.HotSpot>) {
		super();
		for (h in hotSpots) spots.push({h: h, sprite: sprite(h), shown: false});
	}

	/** The slots shown now. */
	public function visibleSlots():Array<Int>
		return [for (s in spots) if (s.shown) s.h.slot];

	/** Shows the hot spots active at time where they fall in the view of a width x height stage. */
	public function place(view:View, time:Float, width:Float, height:Float) {
		for (s in spots) {
			var at = View.hotSpotActive(s.h, time) ? view.place(View.hotSpotYaw(s.h.yaw), 0) : null;
			s.shown = at != null;
			s.sprite.visible = s.shown;
			if (at != null) {
				s.sprite.x = Math.round(at.x * width);
				s.sprite.y = Math.round(at.y * height);
			}
		}
	}

	function sprite(h:Config.HotSpot):Sprite {
		var s = new Sprite();
		s.visible = false;
		s.buttonMode = true;
		s.useHandCursor = Text.linkAllowed(h.link) && h.link != "";
		var icon = new Loader();
		icon.contentLoaderInfo.addEventListener(Event.COMPLETE, function(_) {
			icon.x = -icon.width / 2;
			icon.y = -icon.height / 2;
		});
		icon.contentLoaderInfo.addEventListener(IOErrorEvent.IO_ERROR, function(_) {
			// Without its icon a hot spot still shows, as a ring.
			s.graphics.lineStyle(3, 0xFFFFFF);
			s.graphics.beginFill(0x2060FF, 0.8);
			s.graphics.drawCircle(0, 0, 14);
		});
		icon.load(new URLRequest("images/hs" + h.slot + ".gif"));
		s.addChild(icon);
		var title = new TextField();
		title.defaultTextFormat = new TextFormat("_sans", 12, 0xFFFFFF);
		title.background = true;
		title.backgroundColor = 0x202020;
		title.autoSize = TextFieldAutoSize.LEFT;
		title.selectable = false;
		title.mouseEnabled = false;
		title.text = h.title;
		title.visible = false;
		s.addChild(title);
		s.addEventListener(MouseEvent.ROLL_OVER, function(_) {
			title.x = -title.width / 2;
			title.y = Math.max(icon.height / 2, 14) + 2;
			title.visible = h.title != "";
		});
		s.addEventListener(MouseEvent.ROLL_OUT, function(_) title.visible = false);
		s.addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) e.stopPropagation());
		s.addEventListener(MouseEvent.CLICK, function(_) follow(h));
		addChild(s);
		return s;
	}

	/** Opens a hot spot's link, never one that would run script. */
	static function follow(h:Config.HotSpot) {
		if (h.link == "" || !Text.linkAllowed(h.link)) return;
		try flash.Lib.getURL(new URLRequest(h.link), h.self ? "_self" : "_blank") catch (e:Dynamic) {}
	}
}
