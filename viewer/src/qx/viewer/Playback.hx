package qx.viewer;

import flash.Lib;
import flash.events.AsyncErrorEvent;
import flash.events.IOErrorEvent;
import flash.events.NetStatusEvent;
import flash.net.NetConnection;
import flash.net.NetStream;

/**
 * The video's NetStream. It plays the first of the files to try (for an F4V the FLV beside it,
 * which runtimes that read only FLV can play, then the F4V itself), moves on where a file is
 * missing, loops by playing the file again, and gives up when nothing came.
 */
class Playback {
	/**
	 * A file that sent neither a byte nor its length this long after it was asked for is taken as
	 * missing: some runtimes report no error for a missing file. A server answers far sooner.
	 */
	static inline var MISSING_MS = 5000;

	public var stream(default, null):NetStream;
	/** The file asked for now. */
	public var movie(default, null) = "";
	public var duration(default, null) = 0.0;
	public var time(get, never):Float;

	var files:Array<String>;
	var next = 0;
	var started = 0;
	var asked = 0;
	var giveUpMs:Float;
	var gotMetaData = false;
	var onSize:Int->Int->Void;
	var fail:Void->Void;

	/** onSize(width, height) when the video tells its frame size; onFail(message) once. */
	public function new(config:Config, onSize:Int->Int->Void, onFail:String->Void) {
		files = Config.filesToPlay(config.movie);
		// The message names the file the author chose, whatever was asked for on its behalf.
		var failed = "The video " + config.movie + " could not be loaded.";
		this.onSize = onSize;
		fail = function() onFail(failed);
		giveUpMs = Math.max(20000, config.bufferingMs + 10000);
		var connection = new NetConnection();
		connection.connect(null);
		stream = new NetStream(connection);
		// Buffering and volume are honoured by Flash Player; some other runtimes ignore them.
		stream.bufferTime = config.bufferingMs / 1000;
		stream.client = {onMetaData: metaData, onPlayStatus: function(_) {}, onCuePoint: function(_) {}, onXMPData: function(_) {}};
		stream.addEventListener(NetStatusEvent.NET_STATUS, function(e:NetStatusEvent) {
			var code:String = e.info.code;
			// Looping by playing the file again: a seek to 0 does not restart every runtime.
			if (code == "NetStream.Play.Stop") stream.play(movie);
			else if (code == "NetStream.Play.StreamNotFound" || code == "NetStream.Play.Failed") missing();
		});
		stream.addEventListener(AsyncErrorEvent.ASYNC_ERROR, function(_) {});
		stream.addEventListener(IOErrorEvent.IO_ERROR, function(_) missing());
	}

	public function start() {
		started = Lib.getTimer();
		playNext();
	}

	function get_time():Float
		return stream.time;

	function playNext() {
		movie = files[next++];
		gotMetaData = false;
		asked = Lib.getTimer();
		stream.play(movie);
	}

	function missing() {
		if (next < files.length) playNext() else fail();
	}

	function metaData(m:Dynamic) {
		gotMetaData = true;
		if (m.duration != null) duration = m.duration;
		if (m.width != null && m.height != null) onSize(Std.int(m.width), Std.int(m.height));
	}

	/** Called every frame; playing: a picture has come. */
	public function check(playing:Bool) {
		if (playing || gotMetaData || stream.time > 0) return;
		var now = Lib.getTimer();
		if (next < files.length && stream.bytesTotal == 0 && now - asked > MISSING_MS) playNext();
		// No metadata and no playing long after the buffering time: the video never came.
		else if (now - started > giveUpMs) fail();
	}
}
