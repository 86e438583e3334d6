#pragma once
// Colours and edges of the window's controls, set through palettes (cheap at start-up, and the
// Fusion style honours them).
#include <optional>

#include <QColor>

class QWidget;

namespace qx::look {

inline const QColor kSilver(192, 192, 192);
inline const QColor kCyan(0, 255, 255);
inline const QColor kBlue(0, 0, 255);
inline const QColor kGreen(0, 255, 0);
inline const QColor kOptionGrey(85, 85, 85);
inline const QColor kWindowGrey(135, 135, 135);
inline const QColor kCaptionBlue(88, 121, 219);
inline const QColor kRowBlue(68, 101, 199);
inline const QColor kWhite(255, 255, 255);
inline const QColor kBlack(0, 0, 0);

enum class Edge { None, Sunken, Border, ClientEdge, StaticEdge };

// Text colour and, unless `back` is empty (a clear background), the background colour.
void setColours(QWidget* widget, const QColor& text, const std::optional<QColor>& back);
// The edge of a label or frame.
void setEdge(QWidget* widget, Edge edge);

}  // namespace qx::look
