package qx.viewer;

import flash.display.BitmapData;
import flash.display.IBitmapDrawable;
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
	// the view's version the shape was last built for (-1: not built)
	var builtVersion = -1;
	// per vertex: its direction (made once per grid), then its projection in the current view
	var dirX = new flash.Vector<Float>();
	var dirY = new flash.Vector<Float>();
	var dirZ = new flash.Vector<Float>();
	var sx = new flash.Vector<Float>();
	var sy = new flash.Vector<Float>();
	var depth = new flash.Vector<Float>();
	var inFront = new flash.Vector<Bool>();
	var matrix = new Matrix();
	// Copies wider than this cost more per frame than they add on a stage of at most 1200 pixels.
	static inline var MAX_TEXTURE = 1024;
	static inline var NEAR = 0.02;
	static inline var FAR = 20000.0;

	public function new(view:View, smooth:Bool) {
		this.view = view;
		this.smooth = smooth;
		uvMapping = probeUvMapping();
	}

	/**
	 * Draws the view into a width x height area. Only the part of the frame that the view shows
	 * is copied from the video, at about the video's own resolution: copying a frame costs some
	 * runtimes in proportion to the copy's size, and a whole frame would be both dearer and
	 * blurrier. fresh: the video has a new frame since the last call.
	 */
	public function draw(video:IBitmapDrawable, videoW:Int, videoH:Int, fresh:Bool, width:Float, height:Float) {
		// While the view stands still (its version moves with the stage's size and the picture's
		// too) the triangles stay as they are and only the texture under them takes the new
		// frame: building the shape anew costs some players a tessellation.
		if (view.version == builtVersion) {
			if (!fresh) return;
			var filled = texture;
			copyRegion(video, videoW, videoH);
			if (texture == filled) return; // else the fills name the old texture: build anew
		}
		builtVersion = view.version;
		var g = shape.graphics;
		g.clear();
		rebuild();
		var n = dirX.length;
		for (k in 0...n) {
			view.rotate(dirX[k], dirY[k], dirZ[k]);
			inFront[k] = view.cz < -NEAR;
			// A corner behind the camera is put far out in its own direction, so that a cell
			// reaching behind a wide view still covers the view's edge.
			var z = inFront[k] ? view.cz : -NEAR;
			depth[k] = -z;
			sx[k] = Config.clamp((1 + view.cx / -z / view.tanH) / 2 * width, -FAR, width + FAR);
			sy[k] = Config.clamp((1 - view.cy / -z / view.tanV) / 2 * height, -FAR, height + FAR);
		}
		if (!findCells(width, height)) return;
		if (fresh || regionChanged) copyRegion(video, videoW, videoH);
		if (uvMapping) drawMapped() else drawAffine();
	}

	// The cells in view, each with its column unwrapped to lie near the view's centre column
	// (so a view across the frame's left and right edges is one run of columns).
	var cellColumn = new flash.Vector<Int>();
	var cellRow = new flash.Vector<Int>();
	var cellCount = 0;
	// The copied region: columns c0 .. c1 (unwrapped), rows r0 .. r1, into rw x rh texels.
	var c0 = 0;
	var c1 = 0;
	var r0 = 0;
	var r1 = 0;
	var rw = 0;
	var rh = 0;
	var regionChanged = true;
	var texture:BitmapData;
	var copyMatrix = new Matrix();

	// Cells of about a fifth of the field of view, between 16 and 64 around: each cell costs two
	// fills, and finer cells bend straight lines less.
	function rebuild() {
		var want = Std.int(Config.clamp(Math.round(360 / (view.shownFov / 5) / 4) * 4, 16, 64));
		if (want == columns && builtFor == view.pictureHalf) return;
		columns = want;
		rows = Std.int(Math.max(4, Math.round(columns * view.pictureHalf / 180)));
		builtFor = view.pictureHalf;
		regionChanged = true;
		var n = (rows + 1) * (columns + 1);
		dirX.length = dirY.length = dirZ.length = n;
		sx.length = sy.length = depth.length = n;
		inFront.length = n;
		var k = 0;
		for (j in 0...rows + 1)
			for (i in 0...columns + 1) {
				// column 0 is yaw -180, the frame's left edge
				var yaw = (i / columns * 2 - 1) * Math.PI, pitch = (0.5 - j / rows) * 2 * view.pictureHalf * Math.PI / 180;
				dirX[k] = Math.sin(yaw) * Math.cos(pitch);
				dirY[k] = Math.sin(pitch);
				dirZ[k] = -Math.cos(yaw) * Math.cos(pitch);
				k++;
			}
	}

	/** Whether a cell is worth drawing: a corner in front, not wholly off one side. */
	function cellShown(a:Int, w:Float, h:Float):Bool {
		var b = a + 1, c = a + columns + 1, d = c + 1;
		if (!(inFront[a] || inFront[b] || inFront[c] || inFront[d])) return false;
		return !((sx[a] < 0 && sx[b] < 0 && sx[c] < 0 && sx[d] < 0)
			|| (sx[a] > w && sx[b] > w && sx[c] > w && sx[d] > w)
			|| (sy[a] < 0 && sy[b] < 0 && sy[c] < 0 && sy[d] < 0)
			|| (sy[a] > h && sy[b] > h && sy[c] > h && sy[d] > h));
	}

	function findCells(w:Float, h:Float):Bool {
		var centre = Std.int(View.column(view.yaw) * columns);
		var nc0 = 1 << 30, nc1 = -(1 << 30), nr0 = rows, nr1 = 0;
		cellCount = 0;
		for (j in 0...rows)
			for (i in 0...columns) {
				if (!cellShown(j * (columns + 1) + i, w, h)) continue;
				var ci = i;
				if (ci - centre > columns / 2) ci -= columns else if (centre - ci > columns / 2) ci += columns;
				cellColumn[cellCount] = ci;
				cellRow[cellCount] = j;
				cellCount++;
				if (ci < nc0) nc0 = ci;
				if (ci + 1 > nc1) nc1 = ci + 1;
				if (j < nr0) nr0 = j;
				if (j + 1 > nr1) nr1 = j + 1;
			}
		if (cellCount == 0) return false;
		if (nc1 - nc0 > columns) {
			// All the way round (a view of a pole): the whole frame, every cell in its own column.
			nc0 = 0;
			nc1 = columns;
			for (c in 0...cellCount) cellColumn[c] = (cellColumn[c] + columns) % columns;
		}
		regionChanged = regionChanged || nc0 != c0 || nc1 != c1 || nr0 != r0 || nr1 != r1;
		c0 = nc0; c1 = nc1; r0 = nr0; r1 = nr1;
		return true;
	}

	function copyRegion(video:IBitmapDrawable, videoW:Int, videoH:Int) {
		var spanU = (c1 - c0) / columns, spanV = (r1 - r0) / rows;
		rw = Std.int(Config.clamp(Math.round(spanU * videoW), 8, MAX_TEXTURE));
		rh = Std.int(Config.clamp(Math.round(spanV * videoH), 8, MAX_TEXTURE));
		// Texture sizes move in steps, so that a turning view does not make a new one every frame.
		var tw = (rw + 63) & ~63, th = (rh + 63) & ~63;
		if (texture == null || texture.width < tw || texture.height < th || texture.width > 2 * tw || texture.height > 2 * th) {
			if (texture != null) texture.dispose();
			texture = new BitmapData(tw, th, false, 0);
		}
		var sxu = rw / spanU, syv = rh / spanV; // texels per whole frame
		var u0 = c0 / columns, v0 = r0 / rows;
		var clip = new flash.geom.Rectangle(0, 0, rw, rh);
		// One copy of the frame, or two where the region crosses the frame's edge.
		var first = Math.floor(u0), last = Math.ceil(u0 + spanU) - 1;
		for (k in first...last + 1) {
			copyMatrix.identity();
			copyMatrix.scale(sxu / videoW, syv / videoH);
			copyMatrix.translate((k - u0) * sxu, -v0 * syv);
			texture.draw(video, copyMatrix, null, null, clip, smooth);
		}
		regionChanged = false;
	}

	// Texture coordinates (texels) of a grid point in the copied region.
	inline function texU(column:Int):Float return (column - c0) / (c1 - c0) * rw;

	inline function texV(row:Int):Float return (row - r0) / (r1 - r0) * rh;

	function drawMapped() {
		var xy = new flash.Vector<Float>(), uvt = new flash.Vector<Float>(), idx = new flash.Vector<Int>();
		var tw = texture.width, th = texture.height, v = 0;
		for (c in 0...cellCount) {
			var ci = cellColumn[c], j = cellRow[c];
			for (corner in 0...4) {
				var col = ci + (corner & 1), row = j + (corner >> 1);
				var k = cornerVertex(ci, j, corner);
				xy.push(sx[k]);
				xy.push(sy[k]);
				uvt.push(texU(col) / tw);
				uvt.push(texV(row) / th);
				uvt.push(1 / Math.max(depth[k], 1e-3));
			}
			idx.push(v); idx.push(v + 1); idx.push(v + 2);
			idx.push(v + 1); idx.push(v + 3); idx.push(v + 2);
			v += 4;
		}
		shape.graphics.beginBitmapFill(texture, null, false, smooth);
		shape.graphics.drawTriangles(xy, idx, uvt, TriangleCulling.NONE);
		shape.graphics.endFill();
	}

	/** Grid vertex of a cell's corner: 0 top left, 1 top right, 2 bottom left, 3 bottom right. */
	inline function cornerVertex(ci:Int, j:Int, corner:Int):Int {
		var i = ci % columns;
		if (i < 0) i += columns;
		return (j + (corner >> 1)) * (columns + 1) + i + (corner & 1);
	}

	function drawAffine() {
		for (c in 0...cellCount) {
			var ci = cellColumn[c], j = cellRow[c];
			var a = cornerVertex(ci, j, 0), b = a + 1, cc = a + columns + 1, d = cc + 1;
			var ul = texU(ci), ur = texU(ci + 1), vt = texV(j), vb = texV(j + 1);
			triangle(a, ul, vt, b, ur, vt, cc, ul, vb);
			triangle(b, ur, vt, d, ur, vb, cc, ul, vb);
		}
	}

	// Half a pixel of overlap hides the anti-aliased edges that would let the stage show through.
	static inline var GROW = 0.6;

	function triangle(p0:Int, u0:Float, v0:Float, p1:Int, u1:Float, v1:Float, p2:Int, u2:Float, v2:Float) {
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
	 * Whether this runtime draws display objects into bitmaps, which the sphere needs: some
	 * renderers refuse, with an error that no try/catch sees and that ends the code running.
	 */
	public static function drawsIntoBitmaps():Bool {
		return completes(function() {
			var s = new Shape();
			s.graphics.beginFill(0xFF0000);
			s.graphics.drawRect(0, 0, 4, 4);
			var out = new BitmapData(4, 4, false, 0);
			out.draw(s);
			if (out.getPixel(2, 2) >> 16 < 0x80) throw "not drawn";
		});
	}

	/** Runs f in an event listener of its own, so that an error ends f only; true when f ended. */
	static function completes(f:Void->Void):Bool {
		var done = false;
		var d = new flash.events.EventDispatcher();
		d.addEventListener("probe", function(_) {
			try {
				f();
				done = true;
			} catch (e:Dynamic) {}
		});
		d.dispatchEvent(new flash.events.Event("probe"));
		return done;
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
