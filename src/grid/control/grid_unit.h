#pragma once
// Process-wide routines and state of the string grid unit: locale separators and formats,
// file versions, the focus-frame follower, registered messages and the cell clipboard format,
// and the start-up and finalization of the grid code.
#include <QChar>
#include <QString>

class QWidget;
class TProStringGrid;

QChar GetTimeSeparator();
QChar GetDateSeparator();
QChar GetThousandSeparator();
QChar GetDecimalSeparator();
QString GetShortDateFormat();
QString GetShortTimeFormat();
QString GetLongTimeFormat();

// Major version in the high 16 bits, minor in the low; -1 without version information.
int GetFileVersion(const QString& FileName);
// Version of the desktop's common controls (the widget library), in the same encoding.
int CommonControlsVersion();
// Lets mouse input pass through the window.
void SetTransparentExStyle(QWidget* Handle);

// The grid that currently shows its focus frame (nullptr when none).
TProStringGrid* FocusFrameGrid();
void SetFocusFrameGrid(TProStringGrid* Grid);
// Window moved or resized (0x46/0x47): the grid showing its focus frame moves it along.
void FocusWindowMoveHook(unsigned Msg);

// Registered window messages ("GridEditDone", "DTPShiftFocus") and the grid's own clipboard format.
unsigned GridEditDoneMessage();
unsigned DTPShiftFocusMessage();
QString GridCellsClipboardFormat();
// The date and time pickers are offered only with common controls newer than 4.69.
bool ComCtrlOk();

QString HintFontName();
void SetHintFontName(const QString& v);

// Start-up and finalization of the grid code; each runs once.
void InitGridUnit();
void DoneGridUnit();
bool GridUnitStarted();
