#include "help/PopupHelpTexts.h"

#include <array>

namespace qx {

namespace {

struct IdRange {
  int first = 0;
  int last = 0;
};

// One row: the controls that share a text (up to three ranges of identifiers) and the text.
struct HelpRow {
  std::array<IdRange, 3> ids;
  const char* text;
};

constexpr IdRange one(int id) {
  return {id, id};
}

const HelpRow kRows[] = {
    {{one(109), one(112)},
     "Choose the size of Flash viewer window:\n266x200 pixels - Small\n300x230 pixels - Small\n"
     "400x300 pixels - Standard\n480x360 pixels - Standard\n600x400 pixels - Standard\n"
     "640x480 pixels - Standard\n700x300 pixels - Wide\n800x400 pixels - Wide"},
    {{one(110)},
     "Choose the Smooth filter (On/Off):\nOn - better quality, slower speed\n"
     "Off - faster speed, draft quality."},
    {{one(111)},
     "Show / Hide controls:\nShow / Hide control panel, buttons, etc.\non the viewer window."},
    {{one(116), one(117)},
     "Choose ZOOM value:\nZooming control - from 40, up to MAX.\nBy default value 70."},
    {{one(118), one(119)},
     "Choose YAW value:\nHorizontal viewing position, 0 to 360 degree.\n"
     "By default value: 0 degree."},
    {{one(125), one(126)}, "Choose Audio volume:\nAudio volume: 0 to 100%\nBy default value: 50%"},
    {{one(127), one(128), one(129)}, "Choose any background color\nfor your Html web page."},
    {{one(130), one(131)}, "Choose any <TITLE> text\nfor your Html web page."},
    {{one(136), one(137)},
     "Choose a start buffering time in seconds.\n"
     "In some case, for beginning loading of 360 video stream,\n"
     "client's web page require a start's buffering time."},
    {{one(121)}, "Choose On/OFF, black border for player window on Html web page."},
    {{one(147)},
     "Choose \"Classic\" viewing mode for Velmora Flash video player. "
     "Auto limit of vertical view for cylindrical video stream."},
    {{one(148)},
     "Choose \"Black Areas\" viewing mode for Velmora Flash video player."
     "Full spherical viewing with top and bottom black areas."},
    {{one(139), one(140)},
     "Limit of vertical angle, for spherical format:\ntop: 50 to 90 degrees.\n"
     "bottom -50 to -90 degrees.\nIt works only in \"Classic\" mode.\n"
     "Use the \"auto\" mode for cylindrical format."},
    {{one(141), one(142)},
     "Position of vertical viewing:\n 30 to -30 degrees, 0 degree by default\n"
     "Use the \"auto\" mode for common case."},
    {{one(149), one(150)}, "Choose any color for \"Black Areas\""},
    {{one(152)}, "Choose solution for Flash Player:\nFlash Player, AIR, Flash Lite."},
    {{one(156), one(157)},
     "Option for Sound Direction while panning\n"
     "Left panning - increase the volume of left audio channel. "
     "Right panning - increase the volume of right audio channel."},
    {{one(166), one(167)},
     "Add any Hot Spot Link, like:\nhttp://www.velmora.example/tour/room2.html"},
    {{one(241), one(242)}, "Add a title for current Hot Spot, like:\n\"North Way\""},
    {{one(243)},
     "Set a Hot Spot Html mode: \"_self\" On/Off. \n"
     "Hot Spot transition to internal or external window."},
    {{IdRange{171, 180}}, "Set the number of Hot Spot."},
    {{IdRange{181, 200}},
     "Hot Spot Yaw value -179..0..179 degrees.\nUse the trackbar for choosing a Yaw value."},
    {{IdRange{201, 220}},
     "The position of Hot Spot in video stream, in seconds.\n"
     "Use the WMPlayer slider for choosing a Pos value."},
    {{IdRange{221, 240}}, "Set the time of Hot Spot shown, in seconds."},
    {{one(245)}, "Set value of vertical angle in manual mode.\n 30 to 90 degrees"},
    {{one(246), one(247)}, "Choose an value for GPU otimization:\n None, Direct or GPU"},
    {{one(248), one(249)},
     "Choose an value for Html web page quality:\n Low, Medium, High or Best"},
    {{one(161)}, "Set horizontal position of Hot SPot\n -179 to 179 degrees"},
    {{one(250), one(252), one(253)},
     "Choose a custom size of the html window\nfor the Flash Player. "},
};

bool covers(const HelpRow& row, int id) {
  for (const IdRange& range : row.ids)
    if (range.first != 0 && id >= range.first && id <= range.last) return true;
  return false;
}

}  // namespace

QString popupHelpText(int controlId) {
  for (const HelpRow& row : kRows)
    if (covers(row, controlId)) return QString::fromUtf8(row.text);
  return {};
}

QString importHelpText(ImportHelp control) {
  switch (control) {
    case ImportHelp::Found:
      return QStringLiteral(
          "What the video holds:\ncontainer, codecs, size, projection and stereo mode,\n"
          "and whether its streams can be copied as they are.");
    case ImportHelp::Projection:
      return QStringLiteral(
          "How the camera laid out the panorama:\nEquirectangular (2:1), EAC cubemap,\n"
          "Dual fisheye or GoPro .360.\nThe import turns it into an equirectangular video.");
    case ImportHelp::FieldOfView:
      return QStringLiteral(
          "Field of view of each fisheye lens, in degrees.\nBy default value: 190 degrees.");
    case ImportHelp::Width:
      return QStringLiteral(
          "Width of the imported video, in pixels;\nthe height is half the width.\n"
          "A smaller video is never enlarged.\nBy default value: 3840 pixels.");
    case ImportHelp::Destination:
      return QStringLiteral(
          "The FLV file written beside the video.\nIt becomes the project's video.");
    case ImportHelp::Progress:
      return QStringLiteral("How far the import is, and the time it still needs.");
    case ImportHelp::Import:
      return QStringLiteral("Start the import of the video into an FLV file.");
    case ImportHelp::Cancel:
      return QStringLiteral("Stop the import: nothing is written.");
  }
  return {};
}

std::vector<int> controlsWithHelp() {
  std::vector<int> ids;
  for (const HelpRow& row : kRows)
    for (const IdRange& range : row.ids)
      for (int id = range.first; range.first != 0 && id <= range.last; ++id) ids.push_back(id);
  return ids;
}

}  // namespace qx
