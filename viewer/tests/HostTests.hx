import qx.viewer.Config;
import qx.viewer.Text;
import qx.viewer.View;

/**
 * Host tests of the viewer's pure parts (haxe --interp): the config.xml reader on the bytes the
 * publisher writes, the link rule, and the shared table of cases that the HTML5 page's browser
 * tests check too. Usage: haxe -cp src -cp tests -main HostTests --interp -- CASES_JSON
 */
class HostTests {
	static var passed = 0;
	static var failed = 0;

	static function check(ok:Bool, what:String) {
		if (ok) passed++ else {
			failed++;
			Sys.println("FAIL " + what);
		}
	}

	static function near(a:Float, b:Float, what:String, tolerance = 1e-3)
		check(Math.abs(a - b) <= tolerance, what + ": " + a + ", expected " + b);

	static function main() {
		var table = haxe.Json.parse(sys.io.File.getContent(Sys.args()[0]));
		readsWhatThePublisherWrites();
		readsUnescapedAndEscapedValues();
		for (c in (table.cases : Array<Dynamic>)) conformance(c, table.stage, table.video);
		for (l in (table.links : Array<Dynamic>))
			check(Text.linkAllowed(l.link) == l.followed, "link " + haxe.Json.stringify(l.link) + " followed: " + l.followed);
		Sys.println(passed + " passed, " + failed + " failed");
		Sys.exit(failed == 0 ? 0 : 1);
	}

	/** config.xml as the publisher writes it: BOM, CRLF, one value a line, hot spots after. */
	public static function configXml(main:Array<Array<String>>, hotSpots:Array<String>):String {
		var lines = ["<?xml version=\"1.0\" encoding=\"utf-8\"?>", " <config>", "        <main>"];
		for (m in main) lines.push("                <" + m[0] + ">" + m[1] + "</" + m[0] + ">");
		lines.push("        </main>");
		for (h in hotSpots) lines.push("        " + h);
		lines.push("</config>");
		return "\u{FEFF}" + lines.join("\r\n") + "\r\n";
	}

	static function mainOf(p:Dynamic):Array<Array<String>> {
		inline function or(v:Dynamic, d:Dynamic):String return Std.string(v == null ? d : v);
		return [
			["quality", "false"], ["movie", "tour.flv"], ["fov", or(p.fov, 70)], ["yaw", or(p.yaw, 0)],
			["pitch", or(p.pitch, 0)], ["tilt", or(p.tilt, 90)], ["controls", "true"], ["volume", "50"],
			["StageColor", "0x000000"], ["bufferingTime", "1000"], ["bufferingTimeL", "1000"],
			["ViewMode", or(p.viewMode, 0)], ["PanningMode", "0"], ["balance", "0"], ["zoommax", "130"]
		];
	}

	static function hotSpotLine(h:Dynamic):String {
		return '<hotspot id="hotspot${h.slot}" yaw="${h.yaw}" pos="${h.pos}" time="${h.time}" self="${h.self}" title="${h.title}" link="${h.link}"> </hotspot>';
	}

	static function conformance(c:Dynamic, stage:Array<Float>, video:Array<Float>) {
		var page:Dynamic = c.page;
		var spots:Array<Dynamic> = page.hotspots == null ? [] : page.hotspots;
		var main = mainOf(page);
		if (c.configXml != null)
			for (m in main)
				if (Reflect.hasField(c.configXml, m[0])) m[1] = Reflect.field(c.configXml, m[0]);
		var config = Config.parse(configXml(main, [for (h in spots) hotSpotLine(h)]));
		var view = new View(config);
		view.setAspect(stage[1] / stage[0]);
		view.setPicture(video[0], video[1]);
		var e:Dynamic = c.expect, name = "case " + c.name;
		near(view.yaw, e.yaw, name + " yaw");
		near(view.pitch, e.pitch, name + " pitch");
		near(view.shownFov, e.fov, name + " fov");
		near(View.column(view.yaw), e.column, name + " column");
		var shown = [];
		for (h in config.hotSpots) {
			var at = View.hotSpotActive(h, c.time) ? view.place(View.hotSpotYaw(h.yaw), 0) : null;
			if (at == null) continue;
			shown.push(h.slot);
			var x:Null<Float> = e.hotspotX == null ? null : Reflect.field(e.hotspotX, Std.string(h.slot));
			if (x != null) near(at.x, x, name + " hot spot " + h.slot + " x");
		}
		check(shown.join(",") == (e.visible : Array<Int>).join(","), name + " visible " + shown + ", expected " + e.visible);
	}

	static function readsWhatThePublisherWrites() {
		// Empty values (no zoom or volume item chosen) keep the defaults; -1 panning is Classic.
		var c = Config.parse(configXml([
			["quality", "true"], ["movie", "clip one.flv"], ["fov", ""], ["yaw", "30"], ["pitch", "-10"],
			["tilt", "120"], ["controls", "false"], ["volume", ""], ["StageColor", "0xFF8000"],
			["bufferingTime", "30000"], ["ViewMode", "1"], ["PanningMode", "-1"], ["balance", "40"], ["zoommax", "90"]
		], [
			'<hotspot id="hotspot3" yaw="-170" pos="12.3" time="5.0" self="1" title="Shop" link="shop.html"> </hotspot>',
			'<hotspot id="hotspot3" yaw="10" pos="1.0" time="5.0" self="0" title="Twice" link="x.html"> </hotspot>',
			'<hotspot id="hotspot11" yaw="10" pos="1.0" time="5.0" self="0" title="" link="y.html"> </hotspot>',
			'<hotspot id="hotspot4" yaw="10" pos="2.0" time="0.0" self="0" title="" link="z.html"> </hotspot>'
		]));
		check(c.smooth && !c.controls && c.movie == "clip one.flv", "flags and movie");
		check(c.fov == 70 && c.volume == 50, "empty fov and volume keep their defaults");
		check(c.yaw == 30 && c.pitch == -10 && c.tilt == 90, "yaw, pitch, tilt limited to 90");
		check(c.stageColor == 0xFF8000 && c.bufferingMs == 30000 && c.viewMode == 1, "colour, buffering, view mode");
		check(c.panningMode == 0 && c.balance == 40 && c.zoomMax == 90, "panning, balance, zoom maximum");
		check(c.hotSpots.length == 1, "one hot spot: the repeated slot, slot 11 and a zero time are left out");
		var h = c.hotSpots[0];
		check(h.slot == 3 && h.yaw == -170 && h.pos == 12.3 && h.time == 5 && h.self && h.title == "Shop", "hot spot values");
		// The author saw it at yaw 10, so that is where it shows; view yaw 0 faces the frame's centre.
		near(View.hotSpotYaw(h.yaw), 10, "hot spot turned back");
		near(View.column(0), 0.5, "yaw 0 faces the centre column");
		near(View.column(-90), 0.25, "negative yaw turns left");
	}

	static function readsUnescapedAndEscapedValues() {
		var c = Config.parse(configXml([["movie", "a&amp;b.flv"]], [
			// an older publisher: quotes, & and < unescaped inside the values
			'<hotspot id="hotspot1" yaw="0" pos="1.0" time="2.0" self="0" title="Say "hi" <now>" link="shop.php?a=1&b=2"> </hotspot>',
			'<hotspot id="hotspot2" yaw="0" pos="1.0" time="2.0" self="0" title="" link="  q.html?x=&quot;1&quot; "> </hotspot>'
		]));
		check(c.movie == "a&b.flv", "escaped movie name: " + c.movie);
		check(c.hotSpots.length == 2, "both hot spots read");
		check(c.hotSpots[0].title == 'Say "hi" <now>' && c.hotSpots[0].link == "shop.php?a=1&b=2", "unescaped values: " + c.hotSpots[0]);
		check(c.hotSpots[1].link == 'q.html?x="1"' && c.hotSpots[1].title == c.hotSpots[1].link, "escaped link, title from link");
		check(Config.parse("no xml here").hotSpots.length == 0, "anything else reads as the defaults");
		// An F4V is asked for as its FLV first; any other movie as it is.
		check(Config.filesToPlay("My Clip.F4V").join("|") == "My Clip.F4V.flv|My Clip.F4V", "F4V: its FLV, then itself");
		check(Config.filesToPlay("a.f4v.flv").join("|") == "a.f4v.flv" && Config.filesToPlay("f4v").length == 1, "other names as they are");
	}
}
