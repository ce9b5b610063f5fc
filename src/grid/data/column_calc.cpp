// Column calculations of the string grid, and the floating footer row they fill.
#include "grid/control/pro_string_grid.h"

#include <QSet>
#include <cmath>

namespace {
// The rows a calculation walks and how it reads them.
struct TCalcRange {
    int From = 0;
    int To = -1;
    bool AllRows = false;  // the range reaches beyond the present rows: real indexes, hidden rows included
};
}  // namespace

static TCalcRange CalcRange(TProStringGrid* g, int FromRow, int ToRow)
{
    TCalcRange r;
    if (FromRow == -1 || ToRow == -1) {
        r.From = g->FixedRows();
        r.To = g->RowCount() - g->FixedFooters() - 1;
        return r;
    }
    r.From = FromRow;
    r.To = ToRow;
    const bool footer = g->FloatingFooter()->Visible();
    r.AllRows = footer ? ToRow > g->RowCount() - 1 : ToRow > g->RowCount();
    if (r.AllRows) r.To = std::min(r.To, g->TotalRowCount() - 1);
    else r.To = std::min(r.To, g->RowCount() - 1);
    return r;
}

static double ReadFloat(TProStringGrid* g, int ACol, int ARow, bool AllRows)
{
    return AllRows ? g->GetAllFloats(ACol, ARow) : g->GetFloats(ACol, ARow);
}

// Calls Use(row) for every row of the range a column calculation counts: in a grouped grid
// neither node nor summary rows (hidden rows always count), and only base cells.
template <typename F>
static void ForCountedRows(TProStringGrid* g, int ACol, const TCalcRange& R, F Use)
{
    QSet<int> hidden;
    if (R.AllRows)
        for (TGridItem* i : g->GridItems()) hidden.insert(i->Idx());
    const bool grouped = g->GroupColumn() != -1;
    for (int r = R.From; r <= R.To; ++r) {
        const bool isHidden = R.AllRows && hidden.contains(r);
        const int displ = R.AllRows ? g->RealToDisplRow(r) : r;
        if (!isHidden) {
            if (grouped && (g->IsNode(displ) || g->IsSummary(displ))) continue;
            if (displ >= 0 && displ < g->RowCount() && !g->IsBaseCell(ACol, displ)) continue;
        }
        Use(r);
    }
}

// Calls Use(value) for every counted cell of the column; non-numbers are skipped.
template <typename F>
static void ForCountedCells(TProStringGrid* g, int ACol, const TCalcRange& R, F Use)
{
    ForCountedRows(g, ACol, R, [&](int r) {
        try {
            Use(ReadFloat(g, ACol, r, R.AllRows));
        } catch (const EProGridError&) {
        }
    });
}

double TProStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    const TCalcRange r = CalcRange(this, FromRow, ToRow);
    double sum = 0;
    ForCountedCells(this, ACol, r, [&](double v) { sum += v; });
    return sum;
}

double TProStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    const TCalcRange r = CalcRange(this, FromRow, ToRow);
    if (r.To < r.From) return 0;
    return ColumnSum(ACol, FromRow, ToRow) / (r.To - r.From + 1);
}

// Min and max start from the first counted row's value (read without skipping, so a
// non-number there raises); a group header or summary row before it is not counted.
template <typename Pick>
static double ColumnExtreme(TProStringGrid* g, int ACol, int FromRow, int ToRow, Pick Better)
{
    const TCalcRange r = CalcRange(g, FromRow, ToRow);
    if (r.To < r.From) return 0;
    bool first = true;
    double m = 0;
    ForCountedRows(g, ACol, r, [&](int row) {
        if (first) {
            first = false;
            m = ReadFloat(g, ACol, row, r.AllRows);
            return;
        }
        try {
            const double v = ReadFloat(g, ACol, row, r.AllRows);
            if (Better(v, m)) m = v;
        } catch (const EProGridError&) {
        }
    });
    return m;
}

double TProStringGrid::ColumnMin(int ACol, int FromRow, int ToRow)
{
    return ColumnExtreme(this, ACol, FromRow, ToRow, [](double a, double b) { return a < b; });
}

double TProStringGrid::ColumnMax(int ACol, int FromRow, int ToRow)
{
    return ColumnExtreme(this, ACol, FromRow, ToRow, [](double a, double b) { return a > b; });
}

double TProStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    const TCalcRange r = CalcRange(this, FromRow, ToRow);
    if (r.To < r.From) return 0;
    const double m = ColumnAvg(ACol, FromRow, ToRow);
    double sq = 0;
    for (int row = r.From; row <= r.To; ++row) {
        const double d = ReadFloat(this, ACol, row, r.AllRows) - m;
        sq += d * d;
    }
    return std::sqrt(sq / (r.To - r.From + 1));
}

double TProStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    const TCalcRange r = CalcRange(this, FromRow, ToRow);
    QSet<QString> seen;
    for (int row = r.From; row <= r.To; ++row)
        seen.insert((r.AllRows ? GetCellsEx(ACol, row) : Cells(ACol, row)).toLower());
    return seen.size();
}

double TProStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnColumnCalc) OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---- row calculations ----------------------------------------------------------------------------

// Calls Use(value) for every base cell fromCol .. toCol of the row that holds a number.
template <typename F>
static void ForRowCells(TProStringGrid* g, int ARow, int fromCol, int toCol, F Use)
{
    for (int c = fromCol; c <= toCol; ++c) {
        if (!g->IsBaseCell(c, ARow)) continue;
        try {
            Use(g->GetFloats(c, ARow));
        } catch (const EProGridError&) {
        }
    }
}

double TProStringGrid::RowSum(int ARow, int fromCol, int toCol)
{
    double sum = 0;
    ForRowCells(this, ARow, fromCol, toCol, [&](double v) { sum += v; });
    return sum;
}

double TProStringGrid::RowAvg(int ARow, int fromCol, int toCol)
{
    // An empty column range has no average; 0 rather than a division by a non-positive count.
    if (toCol < fromCol) return 0;
    return RowSum(ARow, fromCol, toCol) / (toCol - fromCol + 1);
}

double TProStringGrid::RowMin(int ARow, int fromCol, int toCol)
{
    double m = GetFloats(fromCol, ARow);
    ForRowCells(this, ARow, fromCol, toCol, [&](double v) { m = std::min(m, v); });
    return m;
}

double TProStringGrid::RowMax(int ARow, int fromCol, int toCol)
{
    double m = GetFloats(fromCol, ARow);
    ForRowCells(this, ARow, fromCol, toCol, [&](double v) { m = std::max(m, v); });
    return m;
}

void TProStringGrid::UpdateFooter()
{
    if (FFooterPanel) FFooterPanel->update();
}

void TProStringGrid::UpdateFloatingFooter(int ACol)
{
    if (!FFloatingFooter->Visible() || FFloatingFooter->FooterStyle() != fsFixedLastRow
        || !FFloatingFooter->EnableCalculation())
        return;
    const int last = RowCount() - 1;
    if (last < FixedRows()) return;
    const int hiddenRows = FFloatingFooter->CalculateHiddenRows() ? HiddenRowCount() : 0;
    const int from = ACol == -1 ? 0 : ACol;
    const int to = ACol == -1 ? AllColCount() - 1 : ACol;
    const int first = FixedRows();
    const int lastData = last - 1 + hiddenRows;
    for (int c = from; c <= to; ++c) {
        if (c < 0 || c >= AllColCount() || !HasCellProperties(c, last)) continue;
        // A column whose first value or any value of a spread is no number has no minimum,
        // maximum or deviation: its footer cell shows nothing rather than failing the edit.
        try {
            UpdateFooterCell(c, last, first, lastData, hiddenRows);
        } catch (const EProGridError&) {
            SetCells(c, last, QString());
        }
    }
}

void TProStringGrid::UpdateFooterCell(int c, int last, int first, int lastData, int hiddenRows)
{
    {
        switch (GetCellProperties(c, last)->CalcType()) {
        case acSUM: SetFloats(c, last, ColumnSum(c, first, lastData)); break;
        case acAVG: SetFloats(c, last, ColumnAvg(c, first, lastData)); break;
        case acCOUNT: SetInts(c, last, last - first + hiddenRows); break;
        case acMIN: SetFloats(c, last, ColumnMin(c, first, lastData)); break;
        case acMAX: SetFloats(c, last, ColumnMax(c, first, lastData)); break;
        case acDISTINCT: SetFloats(c, last, ColumnDistinct(c, first, lastData)); break;
        case acSTDDEV: SetFloats(c, last, ColumnStdDev(c, first, lastData)); break;
        case acCUSTOM: {
            QString value;
            if (OnCalcFooter) OnCalcFooter(this, c, last + hiddenRows, value);
            else if (FFloatingFooter->OnCalcFooter) FFloatingFooter->OnCalcFooter(this, c, last + hiddenRows, value);
            SetCells(c, last, value);
            break;
        }
        case acNONE:
        case acSPREAD: break;
        }
    }
}
