#pragma once
// Cell addresses of spreadsheets in A1 notation, numbers read from sheets and databases as
// the grid shows them, and the checks that a file handed to the office or the database
// driver is whole.
#include <QString>

// "A" for column 1, "Z", "AA" ... "XFD" for 16384 and on; empty below 1.
QString XLSColumnName(int Col);
// 1 for "A" (either case); -1 for a text that is not column letters or names a column
// beyond MaxXLSColumn.
int XLSColumnNumber(const QString& Letters);
constexpr int MaxXLSColumn = 1 << 20;

// A used range as "$C$3:$E$5", or "$C$3" for one cell (columns and rows from 1).
QString XLSRangeAddress(int FirstCol, int FirstRow, int LastCol, int LastRow);

// The parts of a used-range address.  A part without a column ("$3") is a whole row, which
// takes columns 1 to 256; an unreadable number stays -1; no "$" at all means A1.
struct TXLSUsedArea {
    int FirstCol = -1, FirstRow = -1, LastCol = -1, LastRow = -1;
    bool Single = false;
    bool Valid() const { return FirstCol > 0 && FirstRow > 0 && LastCol >= FirstCol && LastRow >= FirstRow; }
    int Cols() const { return LastCol - FirstCol + 1; }
    int Rows() const { return LastRow - FirstRow + 1; }
};
TXLSUsedArea ParseXLSUsedArea(const QString& Address);

// Up to 15 significant digits with the locale's decimal separator, an exponent as "1E20".
QString OfficeNumberText(double Value);

// The office reads whatever it is given, guessing a format for broken files and failing on
// some of them on its own side: it is handed only a whole ZIP package (.xlsx, .ods, .docx,
// .odt) or a whole compound file (.xls, .doc).
bool WholeOfficeFile(const QString& FileName);
// An Access file starts with its signature and is made of whole pages (2048 bytes in the
// Jet 3 format, 4096 in later ones); the driver is handed nothing else.
bool WholeAccessFile(const QString& FileName);
