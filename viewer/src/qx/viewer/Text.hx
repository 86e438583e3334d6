package qx.viewer;

/** Character references and the link rule: both must read text the way a browser would. */
class Text {
	static var NAMED = ["amp" => "&", "lt" => "<", "gt" => ">", "quot" => "\"", "apos" => "'",
		"colon" => ":", "tab" => "\t", "newline" => "\n", "nbsp" => "\u00A0"];

	/** Replaces &name; and &#n; / &#xh; references; anything else is left as it is. */
	public static function decodeEntities(s:String):String {
		if (s.indexOf("&") < 0) return s;
		return ~/&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z]+);?/g.map(s, function(re) {
			var body = re.matched(1);
			if (body.charAt(0) == "#") {
				var hex = body.charAt(1) == "x" || body.charAt(1) == "X";
				var code = hex ? Std.parseInt("0x" + body.substr(2)) : Std.parseInt(body.substr(1));
				return code == null || code <= 0 || code > 0x10FFFF ? re.matched(0) : String.fromCharCode(code);
			}
			var named = NAMED.get(body.toLowerCase());
			return named == null ? re.matched(0) : named;
		});
	}

	/**
	 * Whether a hot-spot link may be followed: never when it would run script (javascript:,
	 * vbscript:) or open inline content (data:), however it is disguised. The text is undone the
	 * way a browser or a URL parser would read it (references, percent escapes, leading blanks
	 * and control characters, tabs and line breaks anywhere) before its scheme is looked at.
	 */
	public static function linkAllowed(link:String):Bool {
		var s = link;
		for (round in 0...4) {
			var before = s;
			s = decodeEntities(s);
			try s = StringTools.urlDecode(s) catch (e:Dynamic) {}
			if (s == before) break;
		}
		var out = new StringBuf();
		var started = false;
		for (i in 0...s.length) {
			var c = s.charCodeAt(i);
			if (c == 9 || c == 10 || c == 13) continue;
			if (!started && (c <= 32 || c == 0xA0 || c == 0xFEFF)) continue;
			started = true;
			out.addChar(c);
		}
		var scheme = ~/^([A-Za-z][A-Za-z0-9+.\-]*):/;
		if (!scheme.match(out.toString())) return true;
		var name = scheme.matched(1).toLowerCase();
		return name != "javascript" && name != "vbscript" && name != "data";
	}
}
