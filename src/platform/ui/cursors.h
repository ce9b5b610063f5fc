#pragma once
// Mouse cursors by number: the system's shapes (negative numbers), the grid's own shapes
// (8000 and up) and the screen-wide cursor that overrides them all.
#include <QCursor>

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
                  crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                  crSizeAll = -22;

// The grid's cursors: panning with the middle button (8000 neutral, 8001..8008 one per
// direction), the link hand, and the arrows over the fixed cells that select a whole row,
// a whole column or everything.
constexpr TCursor crPanNeutral = 8000, crPanDown = 8001, crPanLeft = 8002, crPanRight = 8003, crPanUp = 8004,
                  crPanUpRight = 8005, crPanUpLeft = 8006, crPanDownRight = 8007, crPanDownLeft = 8008,
                  crGridHand = 8009, crSelectRow = 8010, crSelectColumn = 8011, crSelectAll = 8012;

// The shape for a cursor number; an unknown number is the arrow.
QCursor CursorOf(TCursor c);

// The screen's cursor: anything but crDefault shows over every window of the program until
// it is set back to crDefault (a drag shows crDrag or crNoDrop this way).
class TScreen {
public:
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor c);

private:
    TCursor FCursor = crDefault;
};

TScreen* Screen();
