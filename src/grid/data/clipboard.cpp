// Copy, cut and paste of cells through the system clipboard: tab-separated text always, the
// top-left cell's rich text and the cell stream on request; paste prefers the cell stream,
// then rich text, then text.
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "grid/data/clipboard_text.h"
#include "grid/data/update_lock.h"
#include "grid/base/text_packing.h"
#include "grid/base/number_routines.h"
#include "grid/render/display_attributes.h"
#include "platform/core/date_text.h"
#include "platform/core/dateutils.h"
#include "platform/core/format_settings.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cmath>

namespace {
const QString RtfMimeType = QStringLiteral("text/rtf");
// The most rows a paste lets the grid grow to.
constexpr int ClipboardMaxRows = 2'000'000;

// One undo step around a bulk change, when the grid has an undo list.
struct TUndoSequence {
    ROdeVivaZedaDure* U;
    explicit TUndoSequence(ROdeVivaZedaDure* u) : U(u) { if (U) U->StartSequence(); }
    ~TUndoSequence() { if (U) U->StopSequence(); }
};

bool IsFieldEmptyLine(const QStringList& Line) { return Line.size() == 1 && Line[0].isEmpty(); }
}  // namespace

// ---- copying ----------------------------------------------------------------------------------

void TProStringGrid::BuildClipboardText(TGridRect R, bool SelectedOnly, QString& Text)
{
    FClipTopLeft = {R.Left, R.Top};
    ExportNotification(esExportStart, -1);
    const bool disRow = FMouseActions->DisjunctRowSelect(), disCol = FMouseActions->DisjunctColSelect();
    const bool persistent = FMouseActions->RowSelectPersistent();
    const bool multiRow = R.Bottom > R.Top;
    const bool keepTags = FNavigation->CopyHTMLTagsToClipboard();
    Text.clear();
    Text.reserve(qsizetype(std::max(0, R.Bottom - R.Top + 1)) * (std::max(0, R.Right - R.Left + 1) * 8 + 2));
    for (int r = R.Top; r <= R.Bottom; ++r) {
        if (disRow && SelectedOnly && !disCol && !GetRowSelect(persistent ? RealRowIndex(r) : r)) continue;
        ExportNotification(esExportNewRow, r);
        bool first = true;
        for (int c = R.Left; c <= R.Right; ++c) {
            if (disCol && SelectedOnly && !GetColSelect(c)) continue;
            if (!first) Text += QChar(9);
            first = false;
            const int rc = DisplToRealColumn(c);
            QString t;
            SaveCell(rc, r, t);
            if (t.startsWith(QStringLiteral("|\\"))) t = UnpackWideText(t);
            if (!keepTags && t.contains(QStringLiteral("</"))) t = GetStrippedCell(rc, r);
            else if (t.contains(QLatin1Char('{')) && t.contains(QStringLiteral("{\\"))) t = RichPlainText(rc, r);
            Text += ClipboardField(t, FExcelClipboardFormat);
        }
        if (multiRow) Text += QStringLiteral("\r\n");
    }
    ExportNotification(esExportDone, -1);
}

void TProStringGrid::CopyRectToClipboard(TGridRect R, bool SelectedOnly)
{
    QString text;
    BuildClipboardText(R, SelectedOnly, text);
    auto* mime = new QMimeData;
    mime->setText(text);
    if (FNavigation->AllowRTFClipboard()) {
        const QString t = GetCellEx(DisplToRealColumn(R.Left), R.Top);
        if (t.contains(QStringLiteral("{\\"))) mime->setData(RtfMimeType, t.toLatin1() + QByteArray(1, '\0'));
    }
    if (AllowFmtClipboard()) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        SaveRectToBinStream(TRect{DisplToRealColumn(R.Left), R.Top, DisplToRealColumn(R.Right), R.Bottom}, b);
        mime->setData(QString::fromLatin1(GridCellsMimeType), b.data());
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TProStringGrid::ExtendSelectionToMerges()
{
    const TGridRect s = Selection();
    TGridRect n = s;
    const int l = DisplToRealColumn(s.Left), r = DisplToRealColumn(s.Right);
    if (IsMergedCell(l, s.Top)) {
        const TPoint b = BaseCell(l, s.Top);
        n.Left = RealToDisplColumn(b.X);
        n.Top = b.Y;
    }
    if (IsMergedCell(r, s.Bottom)) {
        const TPoint b = BaseCell(r, s.Bottom);
        const TPoint span = CellSpan(b.X, b.Y);
        n.Right = RealToDisplColumn(b.X + span.X);
        n.Bottom = b.Y + span.Y;
    }
    if (!(n == s)) SetSelection(n);
}

void TProStringGrid::CopyToClipBoard()
{
    CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
    FClipLastOp = coCopy;
}

void TProStringGrid::CopySelectionToClipboard()
{
    ExtendSelectionToMerges();
    if (!AllowFmtClipboard() && FMouseActions->DisjunctRowSelect())
        CopyRectToClipboard(TGridRect{FixedCols(), SaveStartRow(), ColCount() - FFixedRightCols - 1, SaveEndRow()}, true);
    else if (!AllowFmtClipboard() && FMouseActions->DisjunctColSelect())
        CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, true);
    else
        CopyRectToClipboard(Selection(), false);
    FClipLastOp = coCopy;
}

void TProStringGrid::CutToClipboard()
{
    CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
    {
        TGridUpdateLock lock(this);
        const bool always = FNavigation->AllowClipboardAlways();
        for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
            for (int c = SaveStartCol(); c <= SaveEndCol(); ++c) {
                const int rc = DisplToRealColumn(c);
                if (always || IsEditable(rc, r)) SetCellEx(rc, r, QString());
            }
            if (FShowModified->Enabled()) SetRowModified(r, true);
        }
    }
    FClipLastOp = coCut;
}

void TProStringGrid::CutSelectionToClipboard()
{
    const TGridRect old = Selection();
    CopySelectionToClipboard();
    {
        TGridUpdateLock lock(this);
        const bool modified = FShowModified->Enabled();
        if (FMouseActions->DisjunctRowSelect()) {
            const bool persistent = FMouseActions->RowSelectPersistent();
            for (int r = FixedRows(); r < RowCount(); ++r) {
                if (!GetRowSelect(persistent ? RealRowIndex(r) : r)) continue;
                ClearRows(r, 1);
                if (modified) SetRowModified(r, true);
            }
        } else if (FMouseActions->DisjunctColSelect()) {
            for (int c = FixedCols(); c < ColCount(); ++c)
                if (GetColSelect(c)) ClearCols(DisplToRealColumn(c), 1);
        } else {
            const TGridRect s = Selection();
            const bool always = FNavigation->AllowClipboardAlways();
            ROdeVivaZedaDure* undo = UndoRedo();
            TUndoSequence seq(undo);
            for (int r = s.Top; r <= s.Bottom; ++r) {
                for (int c = s.Left; c <= s.Right; ++c) {
                    const int rc = DisplToRealColumn(c);
                    if (!(always || IsEditable(rc, r))) continue;
                    if (undo) undo->RegisterChange(rc, r, GetCellEx(rc, r), QString());
                    SetCellEx(rc, r, QString());
                }
                if (modified) SetRowModified(r, true);
            }
            if (AllowFmtClipboard())
                for (int c = s.Left; c <= s.Right; ++c) {
                    const int rc = DisplToRealColumn(c);
                    FreePropRect(rc, s.Top, rc, s.Bottom);
                }
        }
    }
    FClipLastOp = coCut;
    CellsChanged(TRect{old.Left, old.Top, old.Right, old.Bottom});
    if (NumHiddenColumns() > 0) Invalidate();
}

QString TProStringGrid::GetSelectionAsText()
{
    QString t;
    BuildClipboardText(Selection(), true, t);
    return t;
}

void TProStringGrid::SetSelectionAsText(const QString& Value)
{
    const std::vector<QStringList> rows = ParseClipboardText(Value);
    if (rows.empty()) return;
    const TGridRect s = Selection();
    int cols = 0;
    for (const QStringList& l : rows) cols = std::max(cols, int(l.size()));
    TGridUpdateLock lock(this);
    if (s.Left + cols > ColCount()) SetColCount(std::min(s.Left + cols, MaxColumns - FNumHidden));
    const bool footer = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
    const int need = std::min<qint64>(qint64(s.Top) + qint64(rows.size()), ClipboardMaxRows);
    const int limit = RowCount() - (footer ? 1 : 0);
    if (need > limit) {
        if (footer) InsertRows(RowCount() - 1, need - limit, true);
        else SetRowCount(RowCount() + need - limit);
    }
    int r = s.Top;
    for (const QStringList& line : rows) {
        if (r >= RowCount()) break;
        for (int j = 0; j < line.size() && s.Left + j < ColCount(); ++j)
            SetCellEx(DisplToRealColumn(s.Left + j), r, line[j]);
        ++r;
    }
    CellsChanged(TRect{s.Left, s.Top, s.Left + cols - 1, r - 1});
}

// ---- pasting ----------------------------------------------------------------------------------

void TProStringGrid::PasteCellText(int ACol, int ARow, const QString& Value)
{
    const int rc = DisplToRealColumn(ACol);
    if (ROdeVivaZedaDure* undo = UndoRedo()) undo->RegisterChange(rc, ARow, GetCellEx(rc, ARow), Value);
    if (HasCheckBox(rc, ARow)) ApplyCheckBoxState(rc, ARow, Value == CheckTrue());
    else SetCellEx(rc, ARow, Value);
}

bool TProStringGrid::PasteAllowedAt(int RealCol, int ARow)
{
    return FNavigation->AllowClipboardAlways() || IsEditable(RealCol, ARow);
}

bool TProStringGrid::PasteOneCell(int ACol, int ARow, QString Value, bool Events)
{
    const int rc = DisplToRealColumn(ACol);
    if (!PasteAllowedAt(rc, ARow)) return false;
    bool allow = true;
    const bool wide = Value.startsWith(QStringLiteral("|\\"));
    if (Events) {
        if (wide && OnClipboardBeforePasteWideCell) {
            QString w = UnpackWideText(Value);
            OnClipboardBeforePasteWideCell(this, ACol, ARow, w, allow);
            Value = PackWideText(w);
        } else if (!wide && OnClipboardBeforePasteCell) {
            OnClipboardBeforePasteCell(this, ACol, ARow, Value, allow);
        }
    }
    if (!allow) return false;
    PasteCellText(ACol, ARow, Value);
    if (!Events) return true;
    if (wide && OnClipboardAfterPasteWideCell) OnClipboardAfterPasteWideCell(this, ACol, ARow, UnpackWideText(Value));
    else if (!wide && OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, ACol, ARow, Value);
    return true;
}

bool TProStringGrid::PasteSingleCell(int ACol, int ARow, const QString& Value)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount() || !PasteEnabled()) return false;
    TUndoSequence seq(UndoRedo());
    return PasteOneCell(ACol, ARow, Value, true);
}

void TProStringGrid::GrowForPaste(int ACol, int ARow, int Rows, int Cols, bool Insert)
{
    if (FNavigation->AllowClipboardColGrow() && ACol + Cols > ColCount())
        SetColCount(std::max(ColCount(), std::min(ACol + Cols, MaxColumns - FNumHidden)));
    if (Insert || !FNavigation->AllowClipboardRowGrow()) return;
    const bool footer = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
    const int limit = RowCount() - (footer ? 1 : 0);
    const int need = int(std::min<qint64>(qint64(ARow) + Rows, ClipboardMaxRows));
    if (need <= limit) return;
    if (footer) InsertRows(RowCount() - 1, need - limit, true);
    else SetRowCount(RowCount() + need - limit);
}

// Whether text may be pasted or dropped into the grid at all.
bool TProStringGrid::PasteEnabled()
{
    return Options().Contains(goEditing) || FNavigation->AllowClipboardAlways() || FMouseActions->RangeSelectAndEdit() ||
           FEditDisable;
}

int TProStringGrid::PasteText(int ACol, int ARow, int& Rows, int& Cols, const QString& Text)
{
    Rows = Cols = 0;
    if (ACol < 0 || ARow < 0 || !PasteEnabled()) return 0;
    const std::vector<QStringList> lines = ParseClipboardText(Text);
    if (lines.empty()) return 0;
    int maxCols = 0;
    for (const QStringList& l : lines) maxCols = std::max(maxCols, int(l.size()));
    const bool insert = FNavigation->ClipboardPasteAction() == paInsert;
    const bool footer = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
    const bool events = OnClipboardBeforePasteCell || OnClipboardAfterPasteCell || OnClipboardBeforePasteWideCell ||
                        OnClipboardAfterPasteWideCell;
    int count = 0, row = ARow;
    {
        TUndoSequence seq(UndoRedo());
        TGridUpdateLock lock(this);
        GrowForPaste(ACol, ARow, int(std::min<size_t>(lines.size(), ClipboardMaxRows)), maxCols, insert);
        for (size_t i = 0; i < lines.size(); ++i) {
            const QStringList& line = lines[i];
            ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, row);
            if (insert && !IsFieldEmptyLine(line) && (i == 0 || IsFieldEmptyLine(lines[i - 1]))) {
                // One insertion for each run of non-empty lines.
                size_t k = i;
                while (k < lines.size() && !IsFieldEmptyLine(lines[k])) ++k;
                const int room = ClipboardMaxRows - RowCount();
                if (room > 0) InsertRows(std::min(row, RowCount()), int(std::min<size_t>(k - i, size_t(room))), true);
            }
            const int limit = RowCount() - (footer ? 1 : 0);
            for (int j = 0; j < line.size(); ++j) {
                ++count;
                const int c = ACol + j;
                if (c < ColCount() && row < limit) PasteOneCell(c, row, line[j], events);
            }
            ++row;
        }
    }
    const int right = std::min(ACol + maxCols - 1, ColCount() - 1), bottom = std::min(row - 1, RowCount() - 1);
    CellsPasted(FClipTopLeft, TRect{ACol, ARow, right, bottom}, FClipLastOp);
    CellsChanged(TRect{DisplToRealColumn(ACol), ARow, DisplToRealColumn(std::max(ACol, right)), bottom});
    Rows = int(lines.size());
    Cols = int(lines.back().size());
    return count;
}

int TProStringGrid::PasteMimeData(const QMimeData* Data, int ACol, int ARow, int& Rows, int& Cols)
{
    Rows = Cols = 0;
    // Text, rich text and cells alike: only into a grid that may take a paste.
    if (!Data || ACol < 0 || ARow < 0 || !PasteEnabled()) return 0;
    const QString cellsType = QString::fromLatin1(GridCellsMimeType);
    if (CanPasteCells() && Data->hasFormat(cellsType)) {
        // Read and checked whole before the grid changes.  A paste places the cells as a
        // block: a stream of a whole grid does not clear or resize the grid it is pasted into.
        TCellStream s = ParseCellStream(Data->data(cellsType));
        s.FullGrid = false;
        const int cols = s.Cells.empty() ? 0 : s.MaxCol - s.MinCol + 1;
        const int rows = s.Cells.empty() ? 0 : s.MaxRow - s.MinRow + 1;
        BeginPasteCells();
        {
            TUndoSequence seq(UndoRedo());
            TGridUpdateLock lock(this);
            const bool insert = FNavigation->ClipboardPasteAction() == paInsert;
            GrowForPaste(ACol, ARow, rows, cols, insert);
            if (insert && rows > 0) InsertRows(std::min(ARow, RowCount()), std::min(rows, ClipboardMaxRows), true);
            ApplyCellStream(s, TPoint{DisplToRealColumn(std::min(ACol, ColCount() - 1)), ARow}, true);
        }
        Rows = rows;
        Cols = cols;
        const TPoint from = s.ID == GridStreamID() ? FClipTopLeft : TPoint{-1, -1};
        CellsPasted(from, TRect{ACol, ARow, ACol + cols - 1, ARow + rows - 1}, FClipLastOp);
        EndPasteCells();
        return cols * rows;
    }
    if (FNavigation->AllowRTFClipboard() && Data->hasFormat(RtfMimeType)) {
        QByteArray b = Data->data(RtfMimeType);
        const qsizetype nul = b.indexOf('\0');
        if (nul >= 0) b.truncate(nul);
        PasteSingleCell(ACol, ARow, QString::fromLatin1(b));
        Rows = Cols = 1;
        return 0;
    }
    if (Data->hasText()) return PasteText(ACol, ARow, Rows, Cols, Data->text());
    return 0;
}

int TProStringGrid::PasteCells(int ACol, int ARow, int& Rows, int& Cols)
{
    return PasteMimeData(QGuiApplication::clipboard()->mimeData(), ACol, ARow, Rows, Cols);
}

void TProStringGrid::PasteFromClipboard()
{
    ImportNotification(isImportStart, -1);
    FPasteAll = true;
    int rows = 0, cols = 0;
    PasteCells(SaveStartCol(), SaveStartRow(), rows, cols);
    ImportNotification(isImportDone, -1);
    CellsLoaded();
}

void TProStringGrid::PasteSelectionFromClipboard()
{
    ImportNotification(isImportStart, -1);
    FPasteAll = false;
    ExtendSelectionToMerges();
    const TGridRect sel = Selection();
    int rows = 0, cols = 0;
    const int n = PasteCells(Options().Contains(goRowSelect) ? FixedCols() : sel.Left, sel.Top, rows, cols);
    if (FNavigation->AllowSmartClipboard()) SmartPaste(n, sel, rows, cols);
    ImportNotification(isImportDone, -1);
    CellsChanged(TRect{sel.Left, sel.Top, sel.Right, sel.Bottom});
    CellsLoaded();
}

// ---- smart paste ------------------------------------------------------------------------------

void TProStringGrid::SmartPaste(int Pasted, TGridRect Sel, int Rows, int Cols)
{
    const int w = Sel.Right - Sel.Left + 1, h = Sel.Bottom - Sel.Top + 1;
    const int s = w * h;
    if (Pasted <= 0 || Pasted >= s) return;
    TUndoSequence seq(UndoRedo());
    TGridUpdateLock lock(this);
    auto cellText = [this](int c, int r) {
        const int rc = DisplToRealColumn(c);
        if (HasCheckBox(rc, r)) {
            bool st = false;
            GetCheckBoxState(rc, r, st);
            return st ? CheckTrue() : CheckFalse();
        }
        return GetCellEx(rc, r);
    };
    if (Pasted == 1) {
        // One value fills the selection, column by column.
        const QString v = cellText(Sel.Left, Sel.Top);
        for (int c = Sel.Left; c <= Sel.Right; ++c)
            for (int r = Sel.Top; r <= Sel.Bottom; ++r) {
                if (c == Sel.Left && r == Sel.Top) continue;
                PasteOneCell(c, r, v, true);
                CellsPasted(FClipTopLeft, TRect{c, r, c, r}, FClipLastOp);
            }
        return;
    }
    if (w == 1 || h == 1) {
        // A series from the first two cells down the column or along the row.
        const bool column = w == 1;
        const int len = column ? h : w;
        auto at = [&](int i) { return column ? std::pair{Sel.Left, Sel.Top + i} : std::pair{Sel.Left + i, Sel.Top}; };
        const QString a = cellText(at(0).first, at(0).second), b = cellText(at(1).first, at(1).second);
        bool okA = false, okB = false;
        const qint64 ia = a.trimmed().toLongLong(&okA), ib = b.trimmed().toLongLong(&okB);
        const QChar dec = LocaleDecimalSeparator(), timeSep = LocaleTimeSeparator();
        auto dateOrTime = [&](const QString& t) { return IsDateText(t) || t.contains(timeSep); };
        if (dateOrTime(a) && dateOrTime(b)) {
            // Dates or times: the step between the first two, in whole years, months and days.
            const bool dates = a.contains(LocaleDateSeparator());
            try {
                TDateTime da = dates ? StrToDate(a) : StrToTime(a), db = dates ? StrToDate(b) : StrToTime(b);
                int y1, m1, d1, y2, m2, d2;
                DecodeDate(da, y1, m1, d1);
                DecodeDate(db, y2, m2, d2);
                TDateTime v = da;
                for (int i = 0; i < len; ++i) {
                    const auto [c, r] = at(i);
                    if (i > 0) PasteOneCell(c, r, dates ? DateToStr(v) : TimeToStr(v), true);
                    v = IncDateFields(y2 - y1, m2 - m1, d2 - d1, v, db - da);
                }
            } catch (const EConvertError&) {
            }
            return;
        }
        if (a.contains(dec) || b.contains(dec)) {
            QString na = a.trimmed(), nb = b.trimmed();
            na.replace(dec, QLatin1Char('.'));
            nb.replace(dec, QLatin1Char('.'));
            const double fa = na.toDouble(&okA), fb = nb.toDouble(&okB);
            if (!okA || !okB) return;
            // Formatted as the cells show floats; a format that is not one for floats ends the fill.
            try {
                for (int i = 1; i < len; ++i) {
                    const auto [c, r] = at(i);
                    QString fmt = FFloatFormat;
                    GetFloatFormat(DisplToRealColumn(c), r, fmt);
                    QString v = FormatFloatValue(fmt, fa + i * (fb - fa));
                    if (dec != QLatin1Char('.')) v.replace(QLatin1Char('.'), dec);
                    PasteOneCell(c, r, v, true);
                }
            } catch (const EConvertError&) {
            }
            return;
        }
        if (okA && okB) {
            // The series ends where it would leave the 64-bit range.
            qint64 step = 0, v = ia;
            if (__builtin_sub_overflow(ib, ia, &step)) return;
            for (int i = 1; i < len; ++i) {
                if (__builtin_add_overflow(v, step, &v)) return;
                const auto [c, r] = at(i);
                PasteOneCell(c, r, QString::number(v), true);
            }
            return;
        }
        // Otherwise the pasted block repeats.
        for (int i = Pasted; i < len; ++i) {
            const auto [c, r] = at(i);
            const auto [sc, sr] = at(i - Pasted);
            PasteOneCell(c, r, cellText(sc, sr), true);
        }
        CellsPasted(FClipTopLeft, column ? TRect{Sel.Left, Sel.Top + Pasted, Sel.Left, Sel.Bottom}
                                         : TRect{Sel.Left + Pasted, Sel.Top, Sel.Right, Sel.Top},
                    coCopy);
        return;
    }
    // A one-row block repeats on every row of the selection, a one-column block on every column.
    int r2 = 0, c2 = 0;
    if (Rows == 1) {
        for (int r = Sel.Top + 1; r <= Sel.Bottom; ++r) {
            SetRow(r);
            PasteCells(Sel.Left, r, r2, c2);
        }
    } else if (Cols == 1) {
        for (int c = Sel.Left + 1; c <= Sel.Right; ++c) PasteCells(c, Sel.Top, r2, c2);
    }
    SetSelection(Sel);
}
