#pragma once
// The fixed pop-up help text of each control of the main window, by control identifier. Lines
// are separated by '\n'; a text wraps further only at the tip's width.
#include <vector>

#include <QString>

namespace qx {

// The help text of the control, or an empty text for a control that has no help.
QString popupHelpText(int controlId);

// Every control identifier that has a help text, row by row of the help table.
std::vector<int> controlsWithHelp();

// The controls of the import dialog, which has no identifiers of the main window's.
enum class ImportHelp {
  Found,
  Projection,
  FieldOfView,
  Width,
  Destination,
  Progress,
  Import,
  Cancel
};
QString importHelpText(ImportHelp control);

}  // namespace qx
