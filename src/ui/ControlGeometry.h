#pragma once

#include "ui/VerticalUnit.h"

#include <QMargins>
#include <QRect>

class QWidget;

// A control's place as the window's design states it: Left and Width in twips, Top and Height in
// the vertical unit in force when they are assigned. Each setter changes one edge and keeps the
// others where they are on the screen.
namespace geometry {

void SetLeft(QWidget& control, int twips);
void SetWidth(QWidget& control, int twips);
void SetTop(QWidget& control, int units, const VerticalUnit& unit);
void SetHeight(QWidget& control, int units, const VerticalUnit& unit);

// Design rectangle with the vertical unit at one twip, as at window creation.
void Place(QWidget& control, int left, int top, int width, int height);

void SetFontSize(QWidget& control, int points);

// A window's client rectangle, moved up where it and its frame would run past the bottom of the
// room the screen leaves, but never so far that its title bar leaves the top.
QRect KeptOnScreen(QRect client, const QMargins& frame, const QRect& room);

} // namespace geometry
