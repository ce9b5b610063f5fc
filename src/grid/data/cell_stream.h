#pragma once
// The grid cell stream: a rectangle of cells with their texts, properties and graphics as a
// sequence of component records (TGridPropIO, then per cell TGridCellIO, TGridCellPropIO,
// TGridGraphicIO and one content record).  It is the grid's binary file, its own clipboard
// format and its drag format.  ParseCellStream reads and checks a whole stream before any
// grid sees it; the grid's SaveRectToBinStream / LoadAtPointFromBinStream write and apply it.
#include "grid/control/cell_graphic.h"
#include "grid/data/component_stream.h"

#include <QImage>
#include <memory>
#include <optional>

// The clipboard and drag format of the cell stream: its name, and the MIME type that carries it.
inline constexpr char GridCellsFormatName[] = "TProStringGrid Cells";
inline constexpr char GridCellsMimeType[] = "application/x-tprostringgrid-cells";

// Limits of what a stream may describe: 16-bit rows and columns, and a cap on the cells and
// pictures a stream may make the grid allocate.
inline constexpr int CellStreamMaxIndex = 65535;
inline constexpr qint64 CellStreamMaxCells = 20'000'000;
inline constexpr int CellStreamMaxPictureSide = 8192;

// What a cell with a property record carries beyond its text.
struct TCellStreamCellProps {
    // The properties present in the record, each checked for its type.
    std::vector<std::pair<QByteArray, TStreamValue>> Props;
    std::vector<std::pair<QByteArray, TStreamValue>> GraphicProps;
    // Content of a bitmap, icon or picture cell; the texts of a radio or image list cell; a
    // file picture's name.
    QImage Image;
    QStringList Strings;
    QString FileName;
};

struct TCellStreamCell {
    int Col = 0;
    int Row = 0;
    QString Text;
    bool HasProp = false;
    bool HasGraphic = false;
    bool HasContent = false;
    TCellType GraphicType = ctEmpty;
    // Made with the property record; a plain cell stays small, for a stream holds many.
    std::unique_ptr<TCellStreamCellProps> More;
};

struct TCellStream {
    int ColCount = 0;
    int RowCount = 0;
    QList<int> ColWidths;
    QList<int> RowHeights;
    bool FullGrid = false;
    qint64 ID = 0;
    std::vector<TCellStreamCell> Cells;
    // Smallest and largest column and row of the cells present; empty (Right < Left) without cells.
    int MinCol = 0, MinRow = 0, MaxCol = -1, MaxRow = -1;
};

// Reads a whole stream; raises EReadError (malformed, truncated, counts the bytes do not
// carry) or EConvertError (a width or height list entry that is no number).
TCellStream ParseCellStream(const QByteArray& Data);

// Names of the enumerations the records hold.
QString CellTypeName(TCellType t);
