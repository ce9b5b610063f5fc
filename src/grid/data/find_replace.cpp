// Find, find-next, replace and the incremental look-up of the string grid.
#include "grid/base/html_text.h"
#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"

namespace {
// The range of one scan: display columns and rows (real rows with hidden rows included),
// both bounds included.
struct TFindRange {
    int C0, C1, R0, R1;
};

// Replaces Orig by New in the text runs of S that lie outside mini-HTML tags (everywhere in a
// plain text); false when nothing was found.
bool ReplaceOutsideTags(QString& S, const QString& Orig, const QString& New, bool Html, Qt::CaseSensitivity Cs)
{
    if (!Html) {
        const QString before = S;
        S.replace(Orig, New, Cs);
        return S != before;
    }
    QString out;
    out.reserve(S.size());
    bool changed = false;
    qsizetype i = 0;
    while (i < S.size()) {
        if (S[i] == QLatin1Char('<')) {
            qsizetype e = S.indexOf(QLatin1Char('>'), i);
            if (e < 0) e = S.size() - 1;
            out += QStringView(S).mid(i, e - i + 1);
            i = e + 1;
            continue;
        }
        qsizetype e = S.indexOf(QLatin1Char('<'), i);
        if (e < 0) e = S.size();
        QString run = S.mid(i, e - i);
        const QString before = run;
        run.replace(Orig, New, Cs);
        changed |= run != before;
        out += run;
        i = e;
    }
    if (changed) S = out;
    return changed;
}
}  // namespace

bool TProStringGrid::MatchFindCell(int ACol, int ARow, TFindParams P)
{
    const int c = P.Contains(fnIncludeHiddenColumns) ? ACol : DisplToRealColumn(ACol);
    QString s = P.Contains(fnIncludeHiddenRows) ? GetCellsEx(c, ARow) : Cells(c, ARow);
    if (P.Contains(fnIgnoreHTMLTags)) s = StripHTMLTags(s);
    if (SearchCache == QLatin1String("\"\"")) return s.isEmpty();
    const Qt::CaseSensitivity cs = P.Contains(fnMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (P.Contains(fnMatchRegular)) return MatchFilterExpression(SearchCache, s, P.Contains(fnMatchCase));
    if (P.Contains(fnMatchFull)) return s.compare(SearchCache, cs) == 0;
    if (P.Contains(fnMatchStart)) return s.startsWith(SearchCache, cs);
    return s.contains(SearchCache, cs);
}

TPoint TProStringGrid::FindCellText(TPoint StartCell, const QString& S, TFindParams P)
{
    const TPoint none{-1, -1};
    FFindParams = P;
    FindBusy = true;
    SearchCache = P.Contains(fnMatchCase) ? S : S.toUpper();
    // An empty text matches nothing: it would otherwise be found in every cell.
    if (S.isEmpty()) {
        FindBusy = false;
        return none;
    }
    if (ColCount() <= FixedCols() || RowCount() + NumHiddenRows() <= FixedRows()) {
        FindBusy = false;
        return none;
    }

    TFindRange R{FixedCols(), ColCount() - FixedRightCols() - 1, FixedRows(), RowCount() - FixedFooters() - 1};
    if (P.Contains(fnIncludeFixed)) R = {0, ColCount() - 1, 0, RowCount() - 1};
    if (P.Contains(fnSelectedCells)) {
        const TGridRect s = Selection();
        R = {s.Left, s.Right, s.Top, s.Bottom};
    }
    if (P.Contains(fnIncludeHiddenColumns)) R.C1 += NumHiddenColumns();
    if (P.Contains(fnIncludeHiddenRows)) R.R1 += NumHiddenRows();
    if (P.Contains(fnFindInCurrentRow)) R.R0 = R.R1 = Row();
    if (P.Contains(fnFindInPresetRow)) R.R0 = R.R1 = FindRow;
    if (P.Contains(fnFindInCurrentCol)) R.C0 = R.C1 = Col();
    if (P.Contains(fnFindInPresetCol)) R.C0 = R.C1 = FindCol;

    // The scan walks an outer and an inner axis: rows and columns with fnDirectionLeftRight,
    // columns and rows without.
    const bool byRow = P.Contains(fnDirectionLeftRight);
    const bool back = P.Contains(fnBackward);
    const int o0 = byRow ? R.R0 : R.C0, o1 = byRow ? R.R1 : R.C1;
    const int i0 = byRow ? R.C0 : R.R0, i1 = byRow ? R.C1 : R.R1;
    if (o1 < o0 || i1 < i0) {
        FindBusy = false;
        return none;
    }
    int o, i;
    auto step = [&] {
        i += back ? -1 : 1;
        if (i < i0 || i > i1) {
            i = back ? i1 : i0;
            o += back ? -1 : 1;
        }
    };
    if (StartCell == none) {
        o = back ? o1 : o0;
        i = back ? i1 : i0;
    } else {
        o = std::clamp(byRow ? StartCell.Y : StartCell.X, o0, o1);
        i = std::clamp(byRow ? StartCell.X : StartCell.Y, i0, i1);
        // One scan: a step beyond the end of the range ends it rather than wrapping round.
        step();
    }

    TIntList* ignore = FIgnoreColumns.get();
    for (; o >= o0 && o <= o1; step()) {
        const int c = byRow ? i : o, r = byRow ? o : i;
        if (byRow && ignore && ignore->Count() > 0 && ignore->HasValue(c)) continue;
        ExportNotification(esExportNewRow, r);
        if (!MatchFindCell(c, r, P)) continue;
        SearchCell = {c, r};
        if (P.Contains(fnAutoGoto)) {
            int displ = r;
            if (P.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
                if (IsHiddenRow(r)) {
                    // A row hidden in a contracted node shows by expanding its node.
                    for (int n = r; n >= 0; --n)
                        if (!IsHiddenRow(n) && IsNode(RealToDisplRow(n))) {
                            ExpandNode(n);
                            break;
                        }
                }
                displ = RealToDisplRow(r);
            }
            if (displ >= 0 && displ < RowCount()) {
                if (FMouseActions->DisjunctRowSelect()) {
                    ClearRowSelect();
                    SetRowSelect(displ, true);
                }
                if (c >= FixedCols() && c < ColCount()) SetCol(c);
                if (displ >= FixedRows()) SetRow(displ);
            }
        }
        return {c, r};
    }
    FindBusy = false;
    return none;
}

TPoint TProStringGrid::Find(TPoint StartCell, const QString& S, TFindParams FindParams)
{
    ExportNotification(esExportStart, 0);
    const TPoint res = FindCellText(StartCell, S, FindParams);
    ExportNotification(res.X >= 0 ? esExportFail : esExportDone, -1);
    if (res.X >= 0 && FindParams.Contains(fnAutoGoto)) {
        // Keep a found row out of the last visible rows.
        const int k = FFloatingFooter->Visible() ? 2 : 0;
        if (Row() > TopRow() + VisibleRowCount() - k - 2 && RowCount() > VisibleRowCount() + FixedRows() + k)
            SetTopRow(std::min(TopRow() + k + 1, std::max(FixedRows(), RowCount() - VisibleRowCount())));
    }
    return res;
}

TPoint TProStringGrid::FindWide(TPoint StartCell, const QString& S, TFindParams FindParams)
{
    ExportNotification(esExportStart, 0);
    const TPoint res = FindCellText(StartCell, S, FindParams);
    ExportNotification(res.X >= 0 ? esExportFail : esExportDone, -1);
    return res;
}

TPoint TProStringGrid::FindFirst(const QString& S, TFindParams FindParams)
{
    SearchCell = Find({-1, -1}, S, FindParams);
    return SearchCell;
}

TPoint TProStringGrid::FindNext()
{
    // The cache holds the text as searched: upper-cased unless the case mattered, which the
    // case-blind cell test treats alike.
    SearchCell = Find(SearchCell, SearchCache, FFindParams);
    return SearchCell;
}

int TProStringGrid::Replace(const QString& OrigStr, const QString& NewStr, TFindParams FindParams)
{
    if (OrigStr.isEmpty()) return 0;
    const Qt::CaseSensitivity cs = FindParams.Contains(fnMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool hiddenRows = FindParams.Contains(fnIncludeHiddenRows);
    int count = 0;
    TPoint at{-1, -1};
    BeginUpdate();
    for (;;) {
        at = Find(at, OrigStr, FindParams);
        if (at.X < 0) break;
        const int c = FindParams.Contains(fnIncludeHiddenColumns) ? at.X : DisplToRealColumn(at.X);
        QString s = hiddenRows ? GetGridCellsEx(c, at.Y) : GetGridCell(c, at.Y);
        if (!ReplaceOutsideTags(s, OrigStr, NewStr, CellTextKind(s, FEnableHTML) == 1, cs)) continue;
        if (hiddenRows) SetGridCellsEx(c, at.Y, s);
        else SetCells(c, at.Y, s);
        if (FShowModified->Enabled()) {
            const int displ = hiddenRows ? RealToDisplRow(at.Y) : at.Y;
            if (displ >= 0 && displ < RowCount()) SetRowModified(displ, true);
        }
        ++count;
    }
    EndUpdate();
    return count;
}

int TProStringGrid::Search(const QString& S)
{
    if (RowCount() < 2) return -1;
    TSortSettings* ss = FSortSettings.get();
    int col = FixedCols();
    if (ss->Show()) {
        if (ss->IndexShow()) col = FSortIndexes->Count() > 0 ? FSortIndexes->SortColumns(0) : FixedCols();
        else col = ss->Column();
    }
    if (col < 0) return -1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const QString t = StripHTMLTags(Cells(col, r));
        if (t.left(S.size()).toUpper() == S) return r;
    }
    return -1;
}
