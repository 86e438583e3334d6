#pragma once
// The fixed numbers of the main window's controls and menu items. Saves, loads, publishing and
// the tests address the controls by these numbers; rows of like controls use a base plus the row.
namespace qx::id {

// Header, player and command row.
constexpr int kTitleShadow = 106;
constexpr int kTitle = 105;
constexpr int kBuild = 154;
constexpr int kPlayer = 1001;
constexpr int kPathCaption = 135;
constexpr int kSelectVideo = 100;
constexpr int kVideoPath = 103;
constexpr int kOptionsByDefault = 104;
constexpr int kPublish = 101;
constexpr int kPublishTest = 134;
constexpr int kAbout = 102;
constexpr int kExit = 108;
constexpr int kSaveOptions = 155;
constexpr int kOptionsGroup = 107;
constexpr int kHotSpotsGroup = 160;
constexpr int kIframe = 259;

// Yaw selector and hot-spot editing.
constexpr int kYawScale = 162;
constexpr int kYawTrackbar = 161;
constexpr int kYawMarker = 255;
constexpr int kLinkCaption = 166;
constexpr int kLink = 167;
constexpr int kTitleCaption = 241;
constexpr int kHotSpotTitle = 242;
constexpr int kAddHotSpot = 163;
constexpr int kClearHotSpot = 164;
constexpr int kClearAllHotSpots = 165;
constexpr int kSelfMode = 243;

// Hot-spot rows: base + n - 1 for row n = 1..10.
constexpr int kRowSelector = 171;
constexpr int kRowYawCaption = 181;
constexpr int kRowYaw = 191;
constexpr int kRowPosCaption = 201;
constexpr int kRowPos = 211;
constexpr int kRowTimeCaption = 221;
constexpr int kRowTime = 231;
constexpr int rowId(int base, int row) {
  return base + row - 1;
}

// Options.
constexpr int kWindowCaption = 109;
constexpr int kWindow = 112;
constexpr int kSmooth = 110;
constexpr int kControls = 111;
constexpr int kZoomCaption = 117;
constexpr int kZoom = 116;
constexpr int kYawCaption = 119;
constexpr int kYaw = 118;
constexpr int kPitchCaption = 141;
constexpr int kPitch = 142;
constexpr int kTiltCaption = 139;
constexpr int kTilt = 140;
constexpr int kTiltManual = 245;
constexpr int kAudioCaption = 125;
constexpr int kAudio = 126;
constexpr int kBorder = 121;
constexpr int kBufferingCaption = 136;
constexpr int kBuffering = 137;
constexpr int kSeconds = 138;
constexpr int kBgColourCaption = 127;
constexpr int kBgColourSwatch = 128;
constexpr int kBgColourButton = 129;
constexpr int kGpuCaption = 246;
constexpr int kOptimize = 247;
constexpr int kQualityCaption = 248;
constexpr int kQuality = 249;
constexpr int kHtmlTitleCaption = 130;
constexpr int kHtmlTitle = 131;
constexpr int kPanningCaption = 156;
constexpr int kBalance = 157;
constexpr int kStereoNote = 158;
constexpr int kCustomSize = 250;
constexpr int kCustomWidth = 252;
constexpr int kPixels = 251;
constexpr int kCustomHeight = 253;
constexpr int kPlayerTypeGroup = 151;
constexpr int kFlashPlayer = 152;
constexpr int kPanningModeCaption = 256;
constexpr int kPanningMode = 257;
constexpr int kViewModeGroup = 146;
constexpr int kClassic = 147;
constexpr int kBlackAreas = 148;
constexpr int kBlackColourSwatch = 150;
constexpr int kBlackColourButton = 149;
constexpr int kIconGroup = 458;
constexpr int kBlueIcon = 460;
constexpr int kRedIcon = 459;
constexpr int kIcon1 = 461;
constexpr int kIcon2 = 462;

// Menu commands that no control carries.
constexpr int kLoadProject = 463;
constexpr int kSaveProject = 464;
constexpr int kPublishForWeb = 465;
constexpr int kRedirectUtility = 258;
constexpr int kToolTipHelp = 145;
constexpr int kShortHelp = 133;
constexpr int kUsersGuide = 159;

}  // namespace qx::id
