package qx.viewer;

import flash.display.BitmapData;
import flash.display.Shape;
import flash.display.TriangleCulling;
import flash.geom.Matrix;

/**
 * Draws the equirectangular frame as a sphere seen from inside. Where the runtime maps textures
 * by UV (a desktop Flash Player) one drawTriangles call does it perspective-correct; where it does
 * not (some players draw the texture unmapped) every triangle gets its own affine bitmap fill,
 * grown by a fraction of a pixel so neighbours overlap and no seam shows. The grid follows the
 * zoom so a view always holds about the same number of triangles.
 */
class Panorama {
	public var shape(default, null) = new Shape();
	public var uvMapping(default, null):Bool;

	var view:View;
	var smooth:Bool;
	var columns = 0;
	var rows = 0;
	var builtFor = -1.0;
	// per vertex: view yaw, pitch, u, v; then the projection of the current frame
	var dirYaw:Array<Float> = [];
	var dirPitch:Array<Float> = [];
	var sx = new flash.Vector<Float>();
	var sy = new flash.Vector<Float>();
	var depth = new flash.Vector<Float>();
	var inFront = new flash.Vector<Bool>();
	var matrix = new Matrix();

	public function new(view:View, smooth:Bool) {
		this.view = view;
		this.smooth = smooth;
		uvMapping = probeUvMapping();
	}

	/** Draws the view of texture into a width x height area. */
	public function draw(texture:BitmapData, width:Float, height:Float) {
		var g = shape.graphics;
		g.clear();
		if (texture == null) return;
		rebuild();
		var n = dirYaw.length;
		for (k in 0...n) {
			view.toCamera(dirYaw[k], dirPitch[k]);
			depth[k] = -view.cz;
			inFront[k] = view.cz < -0.02;
			sx[k] = view.screenX() * width;
			sy[k] = view.screenY() * height;
		}
		if (uvMapping) drawMapped(texture, width, height) else drawAffine(texture, width, height);
	}

	// Cells of about a sixth of the field of view, between 24 and 72 around.
	function rebuild() {
		var want = Std.int(Config.clamp(Math.round(360 / (view.shownFov / 6) / 4) * 4, 24, 72));
		if (want == columns && builtFor == view.pictureHalf) return;
		columns = want;
		rows = Std.int(Math.max(4, Math.round(columns * view.pictureHalf / 180)));
		builtFor = view.pictureHalf;
		dirYaw = [];
		dirPitch = [];
		for (j in 0...rows + 1)
			for (i in 0...columns + 1) {
				dirYaw.push(i / columns * 360 - 180);
				dirPitch.push((0.5 - j / rows) * 2 * view.pictureHalf);
			}
		var n = dirYaw.length;
		sx.length = sy.length = depth.length = n;
		inFront.length = n;
	}

	inline function u(k:Int):Float return (k % (columns + 1)) / columns;

	inline function v(k:Int):Float return Std.int(k / (columns + 1)) / rows;

	/** Whether a cell is worth drawing: all corners in front, not wholly off one side. */
	function cellShown(a:Int, w:Float, h:Float):Bool {
		var b = a + 1, c = a + columns + 1, d = c + 1;
		if (!(inFront[a] && inFront[b] && inFront[c] && inFront[d])) return false;
		return !((sx[a] < 0 && sx[b] < 0 && sx[c] < 0 && sx[d] < 0)
			|| (sx[a] > w && sx[b] > w && sx[c] > w && sx[d] > w)
			|| (sy[a] < 0 && sy[b] < 0 && sy[c] < 0 && sy[d] < 0)
			|| (sy[a] > h && sy[b] > h && sy[c] > h && sy[d] > h));
	}

	function drawMapped(texture:BitmapData, w:Float, h:Float) {
		var xy = new flash.Vector<Float>(), uvt = new flash.Vector<Float>(), idx = new flash.Vector<Int>();
		var n = dirYaw.length;
		for (k in 0...n) {
			xy.push(sx[k]);
			xy.push(sy[k]);
			uvt.push(u(k));
			uvt.push(v(k));
			uvt.push(1 / Math.max(depth[k], 1e-3));
		}
		for (j in 0...rows)
			for (i in 0...columns) {
				var a = j * (columns + 1) + i;
				if (!cellShown(a, w, h)) continue;
				var b = a + 1, c = a + columns + 1, d = c + 1;
				idx.push(a); idx.push(b); idx.push(c);
				idx.push(b); idx.push(d); idx.push(c);
			}
		shape.graphics.beginBitmapFill(texture, null, false, smooth);
		shape.graphics.drawTriangles(xy, idx, uvt, TriangleCulling.NONE);
		shape.graphics.endFill();
	}

	function drawAffine(texture:BitmapData, w:Float, h:Float) {
		var tw = texture.width, th = texture.height;
		for (j in 0...rows)
			for (i in 0...columns) {
				var a = j * (columns + 1) + i;
				if (!cellShown(a, w, h)) continue;
				var b = a + 1, c = a + columns + 1, d = c + 1;
				triangle(texture, a, b, c, tw, th);
				triangle(texture, b, d, c, tw, th);
			}
	}

	// Half a pixel of overlap hides the anti-aliased edges that would let the stage show through.
	static inline var GROW = 0.6;

	function triangle(texture:BitmapData, p0:Int, p1:Int, p2:Int, tw:Int, th:Int) {
		var u0 = u(p0) * tw, v0 = v(p0) * th, u1 = u(p1) * tw, v1 = v(p1) * th, u2 = u(p2) * tw, v2 = v(p2) * th;
		var du1 = u1 - u0, dv1 = v1 - v0, du2 = u2 - u0, dv2 = v2 - v0;
		var det = du1 * dv2 - du2 * dv1;
		if (Math.abs(det) < 1e-9) return;
		var x0 = sx[p0], y0 = sy[p0], dx1 = sx[p1] - x0, dy1 = sy[p1] - y0, dx2 = sx[p2] - x0, dy2 = sy[p2] - y0;
		var ma = (dx1 * dv2 - dx2 * dv1) / det, mc = (dx2 * du1 - dx1 * du2) / det;
		var mb = (dy1 * dv2 - dy2 * dv1) / det, md = (dy2 * du1 - dy1 * du2) / det;
		// field by field: Matrix.setTo is newer than the oldest player these builds serve
		matrix.a = ma; matrix.b = mb; matrix.c = mc; matrix.d = md;
		matrix.tx = x0 - ma * u0 - mc * v0;
		matrix.ty = y0 - mb * u0 - md * v0;
		var g = shape.graphics;
		g.beginBitmapFill(texture, matrix, false, smooth);
		var mx = (sx[p0] + sx[p1] + sx[p2]) / 3, my = (sy[p0] + sy[p1] + sy[p2]) / 3;
		grownPoint(p0, mx, my, true);
		grownPoint(p1, mx, my, false);
		grownPoint(p2, mx, my, false);
		g.endFill();
	}

	inline function grownPoint(p:Int, mx:Float, my:Float, first:Bool) {
		var dx = sx[p] - mx, dy = sy[p] - my;
		var len = Math.sqrt(dx * dx + dy * dy);
		var k = len > 0 ? (len + GROW) / len : 1;
		if (first) shape.graphics.moveTo(mx + dx * k, my + dy * k) else shape.graphics.lineTo(mx + dx * k, my + dy * k);
	}

	/**
	 * Draws a square that maps only the left (red) quarter of a red-and-blue texture and reads
	 * its right side back: red there means the runtime honours UVs; a texture drawn unmapped shows
	 * blue (or nothing) there. Any failure means it does not.
	 */
	static function probeUvMapping():Bool {
		try {
			var tex = new BitmapData(2, 1, false, 0xFF0000);
			tex.setPixel(1, 0, 0x0000FF);
			var s = new Shape();
			s.graphics.beginBitmapFill(tex, null, false, false);
			var xy = new flash.Vector<Float>(), uv = new flash.Vector<Float>(), idx = new flash.Vector<Int>();
			for (p in [0.0, 0, 8, 0, 0, 8, 8, 8]) xy.push(p);
			for (p in [0.0, 0, 0.25, 0, 0, 1, 0.25, 1]) uv.push(p);
			for (i in [0, 1, 2, 1, 3, 2]) idx.push(i);
			s.graphics.drawTriangles(xy, idx, uv);
			s.graphics.endFill();
			var out = new BitmapData(8, 8, false, 0);
			out.draw(s);
			var right = out.getPixel(6, 4);
			return (right >> 16) > 0x80 && (right & 0xFF) < 0x40;
		} catch (e:Dynamic) {
			return false;
		}
	}
}
