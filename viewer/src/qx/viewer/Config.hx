package qx.viewer;

/** One hot spot of config.xml. yaw is as written there: the preview's yaw turned half a turn. */
typedef HotSpot = {
	var slot:Int;
	var yaw:Float;
	var pos:Float;
	var time:Float;
	var self:Bool;
	var title:String;
	var link:String;
}

/**
 * What config.xml says, with every missing, empty or unreadable value at its default. The
 * publisher writes the file line by line and older ones did not escape titles and links, so a
 * strict XML parser would refuse such files: values are picked out by their tags instead.
 */
class Config {
	public var smooth = false;
	public var movie = "";
	public var fov = 70.0;
	public var yaw = 0.0;
	public var pitch = 0.0;
	public var tilt = 90.0;
	public var controls = true;
	public var volume = 50.0;
	public var stageColor = 0x000000;
	public var bufferingMs = 30000.0;
	public var viewMode = 0;
	public var panningMode = 0;
	public var balance = 0.0;
	public var zoomMax = 130.0;
	public var hotSpots:Array<HotSpot> = [];

	static var ATTRIBUTES = ["id", "yaw", "pos", "time", "self", "title", "link"];

	function new() {}

	public static function parse(text:String):Config {
		var c = new Config();
		if (StringTools.startsWith(text, "\u{FEFF}")) text = text.substr(1);
		var lower = text.toLowerCase();
		var mainStart = lower.indexOf("<main>");
		var mainEnd = lower.indexOf("</main>", mainStart < 0 ? 0 : mainStart);
		var block = mainStart < 0 ? "" : text.substring(mainStart, mainEnd < 0 ? text.length : mainEnd);
		var v:Null<Float>;
		var s:Null<String>;
		if ((s = value(block, "quality")) != null) c.smooth = flag(s, c.smooth);
		if ((s = value(block, "movie")) != null) c.movie = s;
		if ((v = number(value(block, "fov"))) != null) c.fov = v;
		if ((v = number(value(block, "yaw"))) != null) c.yaw = v;
		if ((v = number(value(block, "pitch"))) != null) c.pitch = v;
		if ((v = number(value(block, "tilt"))) != null) c.tilt = v;
		// The publisher writes 30 to 90; a hand-made smaller limit would leave a keyhole of a view.
		c.tilt = clamp(c.tilt, 30, 90);
		if ((s = value(block, "controls")) != null) c.controls = flag(s, c.controls);
		if ((v = number(value(block, "volume"))) != null) c.volume = v;
		c.volume = clamp(c.volume, 0, 100);
		if ((s = value(block, "StageColor")) != null) c.stageColor = colour(s, c.stageColor);
		if ((v = number(value(block, "bufferingTime"))) != null) c.bufferingMs = Math.max(0, v);
		if ((v = number(value(block, "ViewMode"))) != null) c.viewMode = v == 1 ? 1 : 0;
		if ((v = number(value(block, "PanningMode"))) != null) c.panningMode = v == 1 ? 1 : 0;
		if ((v = number(value(block, "balance"))) != null) c.balance = clamp(v, 0, 100);
		if ((v = number(value(block, "zoommax"))) != null) c.zoomMax = v;

		var at = lower.indexOf("<hotspot", mainEnd < 0 ? 0 : mainEnd);
		while (at >= 0) {
			var next = lower.indexOf("<hotspot", at + 8);
			var endTag = lower.indexOf("</hotspot>", at);
			var end = next < 0 ? text.length : next;
			if (endTag >= 0 && endTag + 10 < end) end = endTag + 10;
			var h = hotSpot(text.substring(at, end));
			// The first line of a slot wins, as it is the one the author sees first.
			if (h != null && !Lambda.exists(c.hotSpots, function(o) return o.slot == h.slot)) c.hotSpots.push(h);
			at = next;
		}
		return c;
	}

	static function hotSpot(element:String):Null<HotSpot> {
		var a = attributes(element);
		var id = a[0] == null ? "" : a[0];
		if (StringTools.startsWith(id.toLowerCase(), "hotspot")) id = id.substr(7);
		var slot = number(id), pos = number(a[2]), time = number(a[3]);
		if (slot == null || slot != Math.ffloor(slot) || slot < 1 || slot > 10) return null;
		if (pos == null || time == null || pos < 0 || time <= 0) return null;
		var yaw = number(a[1]);
		var link = a[6] == null ? "" : StringTools.trim(a[6]);
		var title = a[5] == null ? "" : StringTools.trim(a[5]);
		return {
			slot: Std.int(slot), yaw: yaw == null ? 0 : yaw, pos: pos, time: time,
			self: number(a[4]) == 1, title: title == "" ? link : title, link: link
		};
	}

	/**
	 * Values of the known attributes, in ATTRIBUTES order. An unescaped value may hold quotes, so
	 * it runs up to the next known attribute (the link, written last, up to the tag's closing '">').
	 */
	static function attributes(element:String):Array<Null<String>> {
		var lower = element.toLowerCase();
		var starts = [], valueStarts = [];
		for (name in ATTRIBUTES) {
			var key = " " + name + "=\"";
			var at = name == "link" ? lower.lastIndexOf(key) : lower.indexOf(key);
			starts.push(at);
			valueStarts.push(at < 0 ? -1 : at + key.length);
		}
		var out:Array<Null<String>> = [];
		for (i in 0...ATTRIBUTES.length) {
			out.push(null);
			var from = valueStarts[i];
			if (from < 0) continue;
			var end = -1;
			for (b in starts)
				if (b >= from && (end < 0 || b < end)) end = b;
			if (end < 0) {
				var endTag = lower.indexOf("</hotspot>", from);
				end = endTag < 0 ? element.indexOf("\">", from) : element.lastIndexOf("\">", endTag);
			} else if (end > from && element.charAt(end - 1) == "\"") {
				end--;
			}
			if (end >= from) out[i] = Text.decodeEntities(element.substring(from, end));
		}
		return out;
	}

	/** The trimmed, entity-decoded text of <tag>...</tag> inside block; null when absent. */
	static function value(block:String, tag:String):Null<String> {
		var lower = block.toLowerCase();
		var open = "<" + tag.toLowerCase() + ">";
		var i = lower.indexOf(open);
		if (i < 0) return null;
		i += open.length;
		var j = lower.indexOf("</" + tag.toLowerCase() + ">", i);
		return j < 0 ? null : Text.decodeEntities(StringTools.trim(block.substring(i, j)));
	}

	/** A whole number text ("40", "-170", "12.3", "1e3"); null for empty or anything else. */
	public static function number(s:Null<String>):Null<Float> {
		if (s == null) return null;
		s = StringTools.trim(s);
		if (!~/^[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?$/.match(s)) return null;
		var v = Std.parseFloat(s);
		return Math.isFinite(v) ? v : null;
	}

	static function flag(s:String, def:Bool):Bool {
		var l = s.toLowerCase();
		if (l == "true") return true;
		if (l == "false") return false;
		var n = number(s);
		return n == null ? def : n != 0;
	}

	/** "0xRRGGBB", "#RRGGBB" or "RRGGBB"; def when malformed. */
	static function colour(s:String, def:Int):Int {
		var re = ~/^(0x|0X|#)?([0-9A-Fa-f]{6})$/;
		return re.match(s) ? Std.parseInt("0x" + re.matched(2)) : def;
	}

	/**
	 * The files to ask for, in order, to play the movie: for an F4V first the FLV made from it
	 * beside it (NAME.f4v.flv; runtimes that read only FLV play that), then the F4V itself.
	 */
	public static function filesToPlay(movie:String):Array<String> {
		return StringTools.endsWith(movie.toLowerCase(), ".f4v") ? [movie + ".flv", movie] : [movie];
	}

	public static inline function clamp(v:Float, lo:Float, hi:Float):Float
		return v < lo ? lo : (v > hi ? hi : v);
}
