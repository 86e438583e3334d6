package qx.viewer;

import flash.display.Sprite;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

/**
 * What the viewer says over the picture: a spinner with a line while loading, a message when
 * nothing can be shown, and a one-line notice along the top while the picture plays.
 */
class StatusDisplay extends Sprite {
	var status = new TextField();
	var spinner = new Sprite();
	var notice = new TextField();
	var noticeLine:Null<String> = null;

	public function new() {
		super();
		mouseEnabled = mouseChildren = false;
		status.defaultTextFormat = new TextFormat("_sans", 13, 0xFFFFFF, false, null, null, null, null, TextFormatAlign.CENTER);
		status.autoSize = TextFieldAutoSize.CENTER;
		status.wordWrap = true;
		status.selectable = false;
		notice.defaultTextFormat = new TextFormat("_sans", 11, 0xFFFFFF);
		notice.background = true;
		notice.backgroundColor = 0x202020;
		notice.autoSize = TextFieldAutoSize.LEFT;
		notice.selectable = false;
		notice.visible = false;
		addChild(spinner);
		addChild(status);
		addChild(notice);
	}

	/** The message being shown, or null. */
	public function message():Null<String>
		return status.visible ? status.text : null;

	/** The notice line being shown, or null. */
	public function noticeText():Null<String>
		return noticeLine;

	/** A line in the middle of a width x height stage; with spin, the spinner above it. */
	public function show(text:String, spin:Bool, width:Float, height:Float) {
		status.width = width * 0.8;
		status.text = text;
		status.x = width * 0.1;
		status.y = height / 2 + 24;
		status.visible = true;
		spinner.visible = spin;
		spinner.x = width / 2;
		spinner.y = height / 2 - 8;
		var g = spinner.graphics;
		g.clear();
		g.lineStyle(4, 0xFFFFFF, 0.3);
		g.drawCircle(0, 0, 18);
		g.lineStyle(4, 0xFFFFFF);
		g.moveTo(18, 0);
		g.curveTo(18, 18, 0, 18);
	}

	public function hide() {
		status.visible = spinner.visible = false;
	}

	/** One line along the top of the stage (null: none). */
	public function setNotice(text:Null<String>) {
		noticeLine = text;
		notice.visible = text != null;
		if (text != null) notice.text = " " + text + " ";
	}

	public function turn() {
		if (spinner.visible) spinner.rotation += 6;
	}
}
