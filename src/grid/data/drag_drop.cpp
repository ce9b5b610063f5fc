// Drag and drop of cells, columns, files and links: the data a dragging grid offers, the drag
// it runs from the mouse, and what a drop does to a grid that is a drop target.  Dropped cells
// go through the paste of the clipboard: the cell stream is read and checked whole before the
// grid changes, and the grid's paste rules apply.
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "grid/data/clipboard_text.h"
#include "grid/data/html_text_export.h"
#include "grid/data/update_lock.h"
#include "platform/core/file_io.h"

#include <QBuffer>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

namespace {
const QString RtfMimeType = QStringLiteral("text/rtf");
const QString PlainTextMimeType = QStringLiteral("text/plain");

// Text that came from a program which ends it with a NUL: up to the NUL, within the data.
QString UpToNul(QString S)
{
    const qsizetype n = S.indexOf(QChar(0));
    if (n >= 0) S.truncate(n);
    return S;
}

QString RtfOf(const QMimeData* Data)
{
    QByteArray b = Data->data(RtfMimeType);
    const qsizetype n = b.indexOf('\0');
    if (n >= 0) b.truncate(n);
    return QString::fromLatin1(b);
}

// The data of the drag this program runs, while it runs: a drop of it comes from this process.
QPointer<QMimeData> OwnDragData;

bool HasSuffix(const QString& FileName, QLatin1String Suffix)
{
    return QFileInfo(FileName).suffix().compare(Suffix, Qt::CaseInsensitive) == 0;
}

// The rows of R outside the rows of T, as at most two runs (first, count).
std::vector<std::pair<int, int>> RowsOutside(TGridRect R, TGridRect T)
{
    if (T.Left < 0 || T.Bottom < R.Top || T.Top > R.Bottom) return {{R.Top, R.Bottom - R.Top + 1}};
    std::vector<std::pair<int, int>> runs;
    if (T.Bottom < R.Bottom) runs.push_back({T.Bottom + 1, R.Bottom - T.Bottom});
    if (T.Top > R.Top) runs.push_back({R.Top, T.Top - R.Top});
    return runs;  // the lower run first, so that removing it keeps the upper one in place
}
}  // namespace

// ---- drag data ----------------------------------------------------------------------------------

TProStringGrid::TDropFormats TProStringGrid::DropFormatsOf(const QMimeData* Data, bool FromThisProcess)
{
    TDropFormats f;
    if (!Data) return f;
    if (Data->hasFormat(PlainTextMimeType)) f.Include(dfText);
    if (Data->hasFormat(RtfMimeType)) f.Include(dfRTF);
    if (Data->hasFormat(QString::fromLatin1(GridCellsMimeType))) f.Include(dfGridCells);
    // A column number means something only to the grids of this program run.
    if (FromThisProcess && ColumnOfDragData(Data) >= 0) f.Include(dfCol);
    for (const QUrl& u : Data->urls()) f.Include(u.isLocalFile() ? dfFile : dfURL);
    return f;
}

QMimeData* TProStringGrid::CellsDragData(TGridRect R, int ACol, int ARow)
{
    // Whole rows of a row selection carry their fixed cells too.
    if (Options().Contains(goRowSelect) && FDragDropSettings->OleEntireRows()) {
        R.Left = 0;
        R.Right = ColCount() - 1;
    }
    auto* data = new QMimeData;
    QString text;
    BuildClipboardText(R, true, text);
    data->setText(text);
    QString html = QStringLiteral("<table>");
    for (int r = R.Top; r <= R.Bottom && r < RowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = R.Left; c <= R.Right && c < ColCount(); ++c)
            html += QStringLiteral("<td>") + CellTextToHtml(GetStrippedCell(DisplToRealColumn(c), r), {}) +
                    QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    data->setHtml(html + QStringLiteral("</table>"));
    if (FDragDropSettings->OleDropRTF() && ACol >= 0 && ARow >= 0) {
        const QString t = GetCellEx(DisplToRealColumn(ACol), ARow);
        if (t.contains(QStringLiteral("{\\"))) data->setData(RtfMimeType, t.toLatin1());
    }
    // The stream holds 16-bit indexes; a larger block travels as text only.
    if (AllowFmtClipboard() && R.Bottom <= CellStreamMaxIndex && R.Right <= CellStreamMaxIndex) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        SaveRectToBinStream(TRect{DisplToRealColumn(R.Left), R.Top, DisplToRealColumn(R.Right), R.Bottom}, b);
        data->setData(QString::fromLatin1(GridCellsMimeType), b.data());
    }
    return data;
}

QPixmap TProStringGrid::DragImage(TGridRect R)
{
    // Only what shows of the block, and never more than the screen holds: a drag of a
    // hundred thousand rows draws a screenful.
    const int top = R.Top < FixedRows() ? R.Top : std::max(R.Top, TopRow());
    const int left = R.Left < FixedCols() ? R.Left : std::max(R.Left, LeftCol());
    const int bottom = std::min(R.Bottom, TopRow() + VisibleRowCount());
    const int right = std::min(R.Right, LeftCol() + VisibleColCount());
    if (bottom < top || right < left) return {};
    const TRect a = CellRect(left, top), z = CellRect(right, bottom);
    if (IsRectEmpty(a)) return {};
    // a last row or column cut by the window's edge ends at the edge
    const QPoint end = IsRectEmpty(z) ? viewport()->rect().bottomRight() : QPoint(z.Right, z.Bottom);
    QRect area = QRect(QPoint(a.Left, a.Top), end).intersected(viewport()->rect());
    QSize cap(1024, 768);
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) cap = s->availableSize();
    area.setWidth(std::min(area.width(), cap.width()));
    area.setHeight(std::min(area.height(), cap.height()));
    if (area.isEmpty()) return {};
    return viewport()->grab(area);
}

Qt::DropAction TProStringGrid::RunDrag(QMimeData* Data, const QPixmap& Image)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(Data);
    if (!Image.isNull()) {
        drag->setPixmap(Image);
        drag->setHotSpot(QPoint(-4, -4));
    }
    FOleDropRect = {-1, -1, -1, -1};
    OwnDragData = Data;
    struct TEnd {
        ~TEnd() { OwnDragData = nullptr; }
    } end;
    if (DragExec) {
        const Qt::DropAction a = DragExec(*drag);
        drag->deleteLater();
        return a;
    }
    // The drag manager deletes the drag when it ends.
    return drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

Qt::DropAction TProStringGrid::DragDropText(QMimeData* Data)
{
    return RunDrag(Data, FDragDropSettings->ShowCells() ? DragImage(FDropSelection) : QPixmap());
}

Qt::DropAction TProStringGrid::DragDropColumn(int ACol)
{
    const int c = ACol >= 0 && ACol < TotalColCount() ? RealToDisplColumn(ACol) : -1;
    QPixmap image;
    if (c >= 0) image = DragImage({c, 0, c, FDragDropSettings->ShowCells() ? RowCount() - 1 : 0});
    return RunDrag(ColumnDragData(ACol), image);
}

// ---- the drag from the mouse --------------------------------------------------------------------

bool TProStringGrid::StartOleDrag(TShiftState Shift, int X, int Y, int ACol, int ARow)
{
    const TDragDropSettings& d = *FDragDropSettings;
    if (!FSelectionClick || ACol < 0 || ARow < 0 || !Shift.Contains(ssLeft) || !d.OleDropSource()) return false;
    if (std::abs(X - Clickposx) <= 3 && std::abs(Y - Clickposy) <= 3) return false;
    if (GridState() == gsColSizing || FSizingFixed || OnSelectionHandle(X, Y)) return false;
    FSelectionClick = false;
    const int rc = RealColIndex(ACol);
    bool allow = true;
    if (d.OleColumnsOnly() && ARow >= FixedRows()) allow = false;
    else if (OnOleDrag) OnOleDrag(this, ARow, rc, Cells(rc, ARow), allow);
    if (!allow) {
        // the press becomes a range selection
        if (GridState() == gsNormal) SetGridState(gsSelecting);
        return false;
    }
    if (OnOleDragStart) OnOleDragStart(this, ARow, rc);
    StartBlockFocus();
    if (ARow < FixedRows() && d.OleColumnDragDrop()) {
        const Qt::DropAction a = DragDropColumn(rc);
        FMouseDownMove = FMouseKeepDown = FDoOnClick = false;
        if (a != Qt::IgnoreAction && OnOleDragStop) OnOleDragStop(this, a);
        HideMoveArrows();
        return true;
    }
    FDropSelection = Selection();
    const Qt::DropAction a = DragDropText(CellsDragData(FDropSelection, ACol, ARow));
    // The release ended the drag, not a press of this grid.
    FMouseDownMove = FMouseKeepDown = FDoOnClick = false;
    if (a == Qt::IgnoreAction) return true;
    if (a == Qt::MoveAction && !d.OleCopyAlways()) {
        // A move takes the cells away, but not what a drop on this grid has just put there.
        const TGridRect s = FDropSelection, t = FOleDropRect;
        TGridUpdateLock lock(this);
        if (d.OleRemoveRows() && Options().Contains(goRowSelect)) {
            if (FMouseActions->DisjunctRowSelect()) RemoveSelectedRows();
            else
                for (const auto& [first, count] : RowsOutside(s, t)) RemoveRows(first, count);
        } else if (FMouseActions->DisjunctRowSelect()) {
            ClearSelection();
        } else {
            auto clear = [this](int c1, int r1, int c2, int r2) {
                if (c1 <= c2 && r1 <= r2) ClearRect(DisplToRealColumn(c1), r1, DisplToRealColumn(c2), r2);
            };
            const bool overlap = t.Left >= 0 && t.Left <= s.Right && t.Right >= s.Left && t.Top <= s.Bottom &&
                                 t.Bottom >= s.Top;
            if (!overlap) {
                clear(s.Left, s.Top, s.Right, s.Bottom);
            } else {
                clear(s.Left, s.Top, s.Right, t.Top - 1);
                clear(s.Left, t.Bottom + 1, s.Right, s.Bottom);
                const int r1 = std::max(s.Top, t.Top), r2 = std::min(s.Bottom, t.Bottom);
                clear(s.Left, r1, t.Left - 1, r2);
                clear(t.Right + 1, r1, s.Right, r2);
            }
            CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
        }
    }
    if (OnOleDragStop) OnOleDragStop(this, a);
    return true;
}

// ---- the drop target ----------------------------------------------------------------------------

Qt::DropAction TProStringGrid::DropEffect(const QDropEvent* e) const
{
    if (e->modifiers().testFlag(Qt::ControlModifier) && e->possibleActions().testFlag(Qt::CopyAction))
        return Qt::CopyAction;
    if (e->possibleActions().testFlag(Qt::MoveAction)) return Qt::MoveAction;
    return e->possibleActions().testFlag(Qt::CopyAction) ? Qt::CopyAction : Qt::IgnoreAction;
}

bool TProStringGrid::OleDropCell(int X, int Y, bool Cols, int& ACol, int& ARow, bool& Append)
{
    Append = false;
    ACol = ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol >= 0 && ARow >= 0) return true;
    if (Cols) {
        // Right of the last column: the column goes last.
        const TRect head = CellRect(ColCount() - 1, 0);
        if (!IsRectEmpty(head) && X >= head.Right) {
            ACol = ColCount();
            ARow = 0;
            return true;
        }
        return false;
    }
    const TDragDropSettings& d = *FDragDropSettings;
    const TRect last = CellRect(FixedCols(), RowCount() - 1);
    if (d.OleEntireRows() && d.OleAppendRows() && !IsRectEmpty(last) && Y >= last.Bottom) {
        ACol = FixedCols();
        ARow = RowCount() - 1;
        Append = true;
        return true;
    }
    return false;
}

void TProStringGrid::DragMouseMove(QPoint Pt, bool& Allow, TDropFormats Formats)
{
    const bool cols = Formats.Contains(dfCol);
    int c = -1, r = -1;
    bool append = false;
    const bool cell = OleDropCell(Pt.x(), Pt.y(), cols, c, r, append);
    Allow = cell;
    if (!cols && Allow) {
        // Scrolling while the drag rests at an edge.
        if ((r == 0 && TopRow() > FixedRows()) || (FixedRows() == 0 && Pt.y() < 8 && TopRow() > 0))
            SetTopRow(TopRow() - 1);
        else if (r == TopRow() + VisibleRowCount() && r < RowCount())
            SetTopRow(TopRow() + 1);
        if (++FTimerTicks % 2 == 1) {
            if (c == 0 && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
            else if (c == LeftCol() + VisibleColCount() && c < ColCount()) SetLeftCol(LeftCol() + 1);
        }
    }
    if (cols) Allow = cell && (c == ColCount() || (r < FixedRows() && c >= FixedCols()));
    else if (cell && r < FixedRows() && !(RowCount() == 1 && FFixedRowAlways)) Allow = false;
    Allow = Allow || Formats.Contains(dfFile) || Formats.Contains(dfGridCells);
    if (OnOleDragOver) OnOleDragOver(this, r, c, Allow);
    Allow = Allow && (cell || Formats.Contains(dfFile));

    // Where the drop goes: arrows above and below a column's header, left of a row.
    HideMoveArrows();
    if (!Allow || !cell) return;
    auto screenAt = [this](int x, int y) { return viewport()->mapToGlobal(QPoint(x, y)); };
    if (cols) {
        const TRect k = c < ColCount() ? CellRect(c, 0) : CellRect(ColCount() - 1, 0);
        const int x = c < ColCount() ? k.Left : k.Right;
        ArwD->move(screenAt(x - 5, k.Top - 8));
        ArwU->move(screenAt(x - 5, k.Bottom));
        ArwD->show();
        ArwU->show();
    } else {
        const int col = FDragDropSettings->OleEntireRows() ? FixedCols() : c;
        const int row = r == 0 && FFixedRowAlways && RowCount() > 1 ? 1 : r;
        const TRect k = CellRect(col, row);
        ArwL->move(screenAt(k.Left - 10, (append ? k.Bottom : k.Top) + k.Height() / 2 - 5));
        ArwL->show();
    }
}

void TProStringGrid::dragEnterEvent(QDragEnterEvent* e)
{
    const TDragDropSettings& d = *FDragDropSettings;
    if (!d.OleDropTarget()) {
        TBaseGrid::dragEnterEvent(e);
        return;
    }
    const bool own = e->source() != nullptr || (OwnDragData && e->mimeData() == OwnDragData.data());
    const TDropFormats f = DropFormatsOf(e->mimeData(), own);
    FOleDropFormats = f;
    const bool cols = d.OleColumnDragDrop() || d.OleColumnReorder() || FOleDragCol >= 0;
    FOleDropOk = (f.Contains(dfText) && d.OleAcceptText()) || (f.Contains(dfFile) && d.OleAcceptFiles()) ||
                 (f.Contains(dfRTF) && d.OleDropRTF() && d.OleAcceptText()) || (f.Contains(dfCol) && cols) ||
                 (f.Contains(dfURL) && d.OleAcceptURLs()) || f.Contains(dfGridCells);
    // Taken in any case, so that the moves keep coming; only an acceptable drag may drop.
    e->accept();
    e->setDropAction(FOleDropOk ? DropEffect(e) : Qt::IgnoreAction);
}

void TProStringGrid::dragMoveEvent(QDragMoveEvent* e)
{
    if (!FDragDropSettings->OleDropTarget()) {
        TBaseGrid::dragMoveEvent(e);
        return;
    }
    const Qt::DropAction a = FOleDropOk ? DropEffect(e) : Qt::IgnoreAction;
    bool allow = a != Qt::IgnoreAction;
    DragMouseMove(e->position().toPoint(), allow, FOleDropFormats);
    if (allow && a != Qt::IgnoreAction) {
        e->setDropAction(a);
        e->accept();
    } else {
        e->ignore();
    }
}

void TProStringGrid::dragLeaveEvent(QDragLeaveEvent* e)
{
    if (!FDragDropSettings->OleDropTarget()) {
        TBaseGrid::dragLeaveEvent(e);
        return;
    }
    HideMoveArrows();
}

void TProStringGrid::dropEvent(QDropEvent* e)
{
    if (!FDragDropSettings->OleDropTarget()) {
        TBaseGrid::dropEvent(e);
        return;
    }
    const Qt::DropAction a = DropEffect(e);
    if (!FOleDropOk || a == Qt::IgnoreAction) {
        HideMoveArrows();
        e->ignore();
        return;
    }
    const QPoint pt = e->position().toPoint();
    const QMimeData* data = e->mimeData();
    const TDropFormats f = FOleDropFormats;
    FOleDropRect = {-1, -1, -1, -1};
    bool taken = false;
    // Until the drop is known to be taken, the source keeps its cells.
    e->setDropAction(Qt::IgnoreAction);
    e->ignore();
    try {
        // Each kind only as far as the settings accept it: a file manager's drag also carries
        // the path as text, which must not open the file.
        const TDragDropSettings& d = *FDragDropSettings;
        if (f.Contains(dfCol)) taken = DropCol(pt, ColumnOfDragData(data));
        else if (f.Contains(dfGridCells)) taken = DropStream(pt, data);
        else if (f.Contains(dfRTF) && d.OleDropRTF() && d.OleAcceptText()) taken = DropRTF(pt, RtfOf(data));
        else if (f.Contains(dfText) && d.OleAcceptText()) taken = DropText(pt, UpToNul(data->text()));
        if (!f.Contains(dfCol) && FOleDropRect.Left >= 0) OleDropped();
        if (f.Contains(dfFile) && d.OleAcceptFiles()) {
            QStringList files;
            for (const QUrl& u : data->urls())
                if (u.isLocalFile()) files << u.toLocalFile();
            taken = DropFiles(pt, files) || taken;
        }
        if (f.Contains(dfURL) && d.OleAcceptURLs()) {
            QString url = f.Contains(dfText) ? UpToNul(data->text()) : QString();
            for (const QUrl& u : data->urls())
                if (url.isEmpty() && !u.isLocalFile()) url = u.toString();
            const bool urlTaken = DropURL(pt, url);
            if (urlTaken && FOleDropRect.Left >= 0) OleDropped();
            taken = urlTaken || taken;
        }
    } catch (...) {
        HideMoveArrows();
        throw;
    }
    if (taken) {
        e->setDropAction(a);
        e->accept();
    }
}

bool TProStringGrid::DropText(QPoint Pt, const QString& S)
{
    const TDragDropSettings& d = *FDragDropSettings;
    int c = -1, r = -1;
    bool append = false;
    if (!OleDropCell(Pt.x(), Pt.y(), false, c, r, append)) return false;
    const std::vector<QStringList> lines = ParseClipboardText(S);
    int cols = 0, rows = 0;
    for (const QStringList& l : lines) {
        cols = std::max(cols, int(l.size()));
        if (!(l.size() == 1 && l[0].isEmpty())) ++rows;
    }
    if (Options().Contains(goRowSelect)) c = d.OleEntireRows() ? 0 : FixedCols();
    bool allow = true;
    if (OnOleDrop) OnOleDrop(this, r, c, S, allow);
    if (allow && rows > 0 && PasteEnabled()) {
        if (r == 0 && FFixedRowAlways && RowCount() == 1) r = 1;
        if (append) {
            // Below the last row the rows are added after it.
            r = RowCount();
            SetRowCount(RowCount() + rows);
        } else if (d.OleInsertRows()) {
            InsertRows(r, rows, true);
            // A drag within this grid keeps pointing at its source.
            if (d.OleRemoveRows() && r <= FDropSelection.Top) {
                FDropSelection.Top += rows;
                FDropSelection.Bottom += rows;
            }
            if (TopRow() > FixedRows()) SetTopRow(std::min(TopRow() + 1, RowCount() - 1));
        }
        int pr = 0, pc = 0;
        PasteText(c, r, pr, pc, S);
        const int left = std::max(c, FixedCols());
        const int right = std::min(ColCount() - 1, left + cols - (Options().Contains(goRowSelect) ? FixedCols() : 1));
        const int bottom = std::min(RowCount() - 1, r + rows - 1);
        if (r < RowCount() && left <= right) {
            SetSelection({left, r, right, bottom});
            FOleDropRect = {c, r, std::min(ColCount() - 1, c + cols - 1), bottom};
        }
    }
    HideMoveArrows();
    if (OnOleDropped) OnOleDropped(this, Selection());
    return allow && FOleDropRect.Left >= 0;
}

bool TProStringGrid::DropStream(QPoint Pt, const QMimeData* Data)
{
    int c = -1, r = -1;
    bool append = false;
    if (!OleDropCell(Pt.x(), Pt.y(), false, c, r, append)) return false;
    bool allow = true;
    if (OnOleDrop) OnOleDrop(this, r, c, UpToNul(Data->text()), allow);
    HideMoveArrows();
    if (!allow || !PasteEnabled()) return false;
    // The paste of the clipboard: the stream is read and checked whole (a bad one raises and
    // changes nothing) and placed as a block, the grid growing as a paste lets it.
    int rows = 0, cols = 0;
    PasteMimeData(Data, c, r, rows, cols);
    if (rows > 0 && cols > 0 && r < RowCount() && c < ColCount())
        FOleDropRect = {c, r, std::min(ColCount() - 1, c + cols - 1), std::min(RowCount() - 1, r + rows - 1)};
    CellsLoaded();
    if (OnOleDropped) OnOleDropped(this, Selection());
    return FOleDropRect.Left >= 0;
}

bool TProStringGrid::DropCol(QPoint Pt, int Col)
{
    int c = -1, r = -1;
    bool append = false;
    OleDropCell(Pt.x(), Pt.y(), true, c, r, append);
    HideMoveArrows();
    if (MoveButton.Created()) MoveButton->hide();
    if (FOleDragCol >= 0) {
        // A hidden column comes back from the column list, and goes where it was dropped.
        if (FOleDragList && FOleDragIndex >= 0 && FOleDragIndex < FOleDragList->count())
            delete FOleDragList->takeItem(FOleDragIndex);
        const int real = FOleDragCol;
        FOleDragCol = -1;
        if (IsHiddenColumn(real)) UnHideColumn(real);
        const int from = RealToDisplColumn(real);
        if (c >= 0 && c < ColCount() && from >= 0 && from < ColCount() && from != c) MoveColumn(from, c);
    } else {
        if (Col < 0 || Col >= ColCount()) return false;
        if (FDragDropSettings->OleColumnReorder() && c >= 0) {
            const int to = std::min(c, ColCount() - 1);
            if (to != Col) MoveColumn(Col, to);
        }
    }
    if (OnOleDropCol) OnOleDropCol(this, r, c, Col);
    return true;
}

bool TProStringGrid::DropRTF(QPoint Pt, const QString& S)
{
    int c = -1, r = -1;
    bool append = false;
    if (!OleDropCell(Pt.x(), Pt.y(), false, c, r, append)) return false;
    bool allow = true;
    if (OnOleDrop) OnOleDrop(this, r, c, S, allow);
    if (allow && PasteSingleCell(c, r, S)) FOleDropRect = {c, r, c, r};
    HideMoveArrows();
    return allow;
}

bool TProStringGrid::DropURL(QPoint Pt, const QString& S)
{
    int c = -1, r = -1;
    bool append = false;
    if (S.isEmpty() || !OleDropCell(Pt.x(), Pt.y(), false, c, r, append)) return false;
    bool allow = true;
    if (OnOleDropURL) OnOleDropURL(this, r, c, S, allow);
    if (allow && PasteSingleCell(c, r, S)) FOleDropRect = {c, r, c, r};
    HideMoveArrows();
    return allow;
}

void TProStringGrid::OleDropped()
{
    if (!FShowModified->Enabled() || FOleDropRect.Left < 0) return;
    for (int r = FOleDropRect.Top; r <= FOleDropRect.Bottom && r < RowCount(); ++r) SetRowModified(r, true);
}

bool TProStringGrid::DropFiles(QPoint Pt, const QStringList& Files)
{
    HideMoveArrows();
    if (Files.size() != 1) return false;
    int c = -1, r = -1;
    bool append = false;
    OleDropCell(Pt.x(), Pt.y(), false, c, r, append);
    const QString name = Files.front();
    bool allow = true;
    if (OnOleDropFile) OnOleDropFile(this, r, c, name, allow);
    // Only a regular file whose name ends in .csv or .xls, in any letter case.
    const bool csv = HasSuffix(name, QLatin1String("csv")), xls = HasSuffix(name, QLatin1String("xls"));
    if (!allow || !(csv || xls) || !IsRegularFile(name)) return false;
    if (OnOleDrop) OnOleDrop(this, -1, -1, name, allow);
    if (!allow) return false;
    if (csv) LoadFromCSV(name, -1);
    else if (DropXLSLoader) DropXLSLoader(this, name);
    else LoadFromXLS(name);
    return true;
}
