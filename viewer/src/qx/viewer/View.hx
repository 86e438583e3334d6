package qx.viewer;

/**
 * Direction and zoom of the view, kept inside their limits. Yaw 0 looks at the centre column of
 * the video frame, where a 360-degree camera looks; positive yaw turns right (towards larger
 * columns), positive pitch looks up, fov is the horizontal field of view. A hot spot's yaw in
 * config.xml is the preview's turned half a turn, so it is turned back here.
 *
 * Classic mode keeps the whole view inside the picture and the tilt limit, zooming in when the
 * view is taller than what may be shown; Black Areas lets the view centre reach the poles and
 * shows the stage colour beyond the picture.
 */
class View {
	public static inline var MIN_FOV = 30.0;
	public static inline var MAX_FOV = 170.0; // tan() grows without bound near 180
	static inline var DEG = 0.017453292519943295;

	public var yaw(default, null):Float;
	public var pitch(default, null):Float;
	/** The zoom the user asked for; shownFov may be narrower in Classic mode. */
	public var fov(default, null):Float;
	public var shownFov(default, null):Float;
	public var tanH(default, null):Float;
	public var tanV(default, null):Float;
	/** Degrees above and below the horizon that the picture covers (90 for a 2:1 frame). */
	public var pictureHalf(default, null) = 90.0;
	/** The frame is shown flat (unrolled), not as a sphere in perspective. */
	public var flat = false;
	/** Grows on every change, so that the owner knows when to redraw. */
	public var version(default, null) = 0;

	var wantedPitch:Float;
	var mode:Int;
	var tilt:Float;
	var maxFov:Float;
	var aspect = 0.75;
	// Rows of R = Ry(yaw) * Rx(pitch); R * (0, 0, -1) is the viewing direction.
	var m = [1.0, 0, 0, 0, 1, 0, 0, 0, 1];

	public function new(c:Config) {
		mode = c.viewMode;
		tilt = c.tilt;
		maxFov = Config.clamp(c.zoomMax, MIN_FOV, MAX_FOV);
		yaw = wrap360(c.yaw);
		pitch = wantedPitch = c.pitch;
		fov = Config.clamp(c.fov, MIN_FOV, maxFov);
		update();
	}

	/** The yaw at which the author saw a hot spot written with yaw h. */
	public static inline function hotSpotYaw(h:Float):Float
		return wrap360(h + 180);

	/** The frame column (0 left edge .. 1 right edge) that a view yaw looks at. */
	public static inline function column(yaw:Float):Float
		return wrap360(yaw + 180) / 360;

	public static function wrap360(v:Float):Float {
		var r = v % 360;
		return r < 0 ? r + 360 : r;
	}

	/** Height / width of the stage. */
	public function setAspect(a:Float) {
		aspect = a > 0 ? a : 0.75;
		update();
	}

	/** The frame size: a frame wider than 2:1 covers less than the whole sphere vertically. */
	public function setPicture(width:Float, height:Float) {
		if (width > 0 && height > 0) pictureHalf = Math.min(90, 180 * height / width);
		update();
	}

	/** Asks for a view; what is shown is the nearest view inside the limits. */
	public function set(y:Float, p:Float, ?f:Float) {
		yaw = wrap360(y);
		wantedPitch = p;
		if (f != null) fov = Config.clamp(f, MIN_FOV, maxFov);
		update();
	}

	public function turn(dYaw:Float, dPitch:Float)
		set(yaw + dYaw, pitch + dPitch);

	public function zoom(factor:Float)
		set(yaw, pitch, fov * factor);

	/** Vertical half-angle (degrees) of a view with the horizontal field of view f. */
	function halfHeight(f:Float):Float
		return Math.atan(Math.tan(f / 2 * DEG) * aspect) / DEG;

	// The wanted pitch survives changes of the limits (the stage and frame sizes are learnt after
	// start), so a start pitch is not lost to a provisional limit.
	function update() {
		var f = fov, p = wantedPitch;
		if (mode == 0) {
			var limit = Math.min(tilt, pictureHalf);
			if (halfHeight(f) > limit) f = 2 * Math.atan(Math.tan(limit * DEG) / aspect) / DEG;
			var room = Math.max(0, limit - halfHeight(f));
			p = Config.clamp(p, -room, room);
		} else {
			p = Config.clamp(p, -90, 90);
		}
		pitch = p;
		shownFov = f;
		tanH = Math.tan(f / 2 * DEG);
		tanV = tanH * aspect;
		var cy = Math.cos(yaw * DEG), sy = Math.sin(yaw * DEG);
		var cp = Math.cos(p * DEG), sp = Math.sin(p * DEG);
		m = [cy, -sy * sp, -sy * cp, 0, cp, -sp, sy, cy * sp, cy * cp];
		version++;
	}

	// Result of the last toCamera(): camera coordinates, looking down -z.
	public var cx(default, null) = 0.0;
	public var cy(default, null) = 0.0;
	public var cz(default, null) = 0.0;

	/** Turns a direction given as a view yaw and a pitch into camera coordinates. */
	public inline function toCamera(dirYaw:Float, dirPitch:Float) {
		var c = Math.cos(dirPitch * DEG);
		rotate(Math.sin(dirYaw * DEG) * c, Math.sin(dirPitch * DEG), -Math.cos(dirYaw * DEG) * c);
	}

	/** Camera coordinates of a unit direction (x right, y up, -z ahead at yaw 0). */
	public inline function rotate(x:Float, y:Float, z:Float) {
		// the transpose of the rotation undoes it
		cx = m[0] * x + m[3] * y + m[6] * z;
		cy = m[1] * x + m[4] * y + m[7] * z;
		cz = m[2] * x + m[5] * y + m[8] * z;
	}

	/** Screen x of the last toCamera() point, 0..1 across the view (valid when cz < 0). */
	public inline function screenX():Float
		return (1 + cx / -cz / tanH) / 2;

	public inline function screenY():Float
		return (1 - cy / -cz / tanV) / 2;

	/** Where a direction shows, as fractions of the view; null when it is behind or outside. */
	public function place(dirYaw:Float, dirPitch:Float):Null<{x:Float, y:Float}> {
		var x:Float, y:Float;
		if (flat) {
			// as many degrees a pixel down as across
			x = 0.5 + (wrap360(dirYaw - yaw + 180) - 180) / shownFov;
			y = 0.5 - (dirPitch - pitch) / (shownFov * aspect);
		} else {
			toCamera(dirYaw, dirPitch);
			if (cz > -1e-3) return null;
			x = screenX();
			y = screenY();
		}
		return x < 0 || x > 1 || y < 0 || y > 1 ? null : {x: x, y: y};
	}

	/** A hot spot is on screen inside [pos, pos + time) of the video, where its yaw is in view. */
	public static inline function hotSpotActive(h:Config.HotSpot, time:Float):Bool
		return time >= h.pos && time < h.pos + h.time;
}
