// Sizing columns and rows to their contents, spreading the width over the columns, sizing the
// grid to its cells, and numbering a column or a row.
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/ui/inplace_edit.h"

#include <QHash>
#include <QScrollBar>
#include <QStyle>
#include <cmath>
#include <typeinfo>

namespace {

// Round half to even, as the platform's Round does.
int RoundEven(double v) { return int(std::nearbyint(v)); }

int Limit(int V, int Min, int Max)
{
    if (Min == Max) return V;
    int R = V;
    if (V < Min && Min > 0) R = Min;
    if (V > Max && Max > 0) R = Max;
    return R;
}

// Widths of texts measured once per font and text while a sizing runs: tables repeat their
// values, and most texts are told to fit beside the widest so far from the cached advances
// of their characters without being measured at all.
class TTextWidths {
public:
    struct Entry {
        TFont Font;
        QHash<QString, int> Widths;
        int Hits = 0, Misses = 0;
    };
    Entry* For(const TFont& F)
    {
        if (FLast && F.Key() == FLastKey) return FLast;
        Entry* e = nullptr;
        for (auto& x : FFonts)
            if (x->Font == F) {
                e = x.get();
                break;
            }
        if (!e) {
            FFonts.push_back(std::make_unique<Entry>());
            e = FFonts.back().get();
            e->Font.Assign(F);
        }
        FLast = e;
        FLastKey = F.Key();
        return e;
    }
    // Whether texts repeat is judged column by column.
    void NewColumn()
    {
        for (auto& x : FFonts) x->Hits = x->Misses = 0;
    }
    // The width of Line, or -1 when it surely is no wider than Known.
    static int Width(Entry* E, const QString& Line, int Known)
    {
        if (Known > 0 && E->Font.SurelyFits(Line, Known)) return -1;
        // Texts that hardly ever repeat are measured without the table: looking them up
        // and keeping them would cost more than it saves.
        const bool useTable = E->Misses < 4096 || E->Hits * 8 >= E->Misses;
        if (useTable) {
            const auto it = E->Widths.constFind(Line);
            if (it != E->Widths.constEnd()) {
                ++E->Hits;
                return *it;
            }
            ++E->Misses;
        }
        const int w = E->Font.Metrics().horizontalAdvance(Line);
        // a table of distinct texts would only fill the memory
        if (useTable && E->Widths.size() < 65536) E->Widths.insert(Line, w);
        return w;
    }

private:
    std::vector<std::unique_ptr<Entry>> FFonts;
    Entry* FLast = nullptr;
    quint64 FLastKey = 0;
};

// False when S surely is a plain text to CellTextKind; a quick look without copying S.
bool MayBeMarkedUp(const QString& S, bool AllowHTML)
{
    if (S.isEmpty()) return false;
    const QChar c = S[0];
    if (c == QLatin1Char('=') || c == QLatin1Char('|') || c == QLatin1Char('{')) return true;
    return AllowHTML && S.contains(QLatin1Char('<'));
}

// The cache of the sizing that runs now (several columns share one).
TTextWidths* GWidths = nullptr;

struct TWidthsScope {
    TTextWidths Own;
    TTextWidths* Prev;
    TWidthsScope() : Prev(GWidths)
    {
        if (!GWidths) GWidths = &Own;
    }
    ~TWidthsScope()
    {
        if (GWidths == &Own) GWidths = Prev;
    }
};

}  // namespace

int TProStringGrid::LimitColWidth(int W) const { return Limit(W, FMinColWidth, FMaxColWidth); }
int TProStringGrid::LimitRowHeight(int H) const { return Limit(H, FMinRowHeight, FMaxRowHeight); }

int TProStringGrid::MaxLinesInRow(int ARow)
{
    if (ColCount() <= 0 || !FMultilinecells) return 1;
    int n = 1;
    for (int c = 0; c < ColCount(); ++c)
        n = std::max(n, CountTextLines(Cells(DisplToRealColumn(c), ARow), true));
    return n;
}

// ---------------------------------------------------------------- columns

int TProStringGrid::WidestCellInColumn(int ACol, int First, int Last)
{
    TWidthsScope scope;
    TTextWidths& cache = *GWidths;
    cache.NewColumn();
    const int rc = DisplToRealColumn(ACol);
    const int line = GridLineWidth();
    const bool dropDown = FControlLook->DropDownAlwaysVisible();
    const bool sortCol = ACol == FSortSettings->Column();
    const bool zoomed = FZoomFactor != 0;
    const bool boldHeaders = FActiveCellShow && FActiveCellFont.Style().Contains(fsBold);
    TFont font;
    TBrush brush;
    int M = 0;
    // The widest line of a text in font E, or -1 when no line is wider than Known.
    auto textWidth = [&](TTextWidths::Entry* e, const QString& text, int known) {
        int tw = 0;
        QString rest = text;
        do {
            QString ln;
            if (FMultilinecells) CutFirstLine(rest, true, ln);
            else {
                ln = rest;
                rest.clear();
            }
            if (FURLShow && !FURLFull) StripURLScheme(ln);
            tw = std::max(tw, TTextWidths::Width(e, ln, std::max(known, tw)));
        } while (!rest.isEmpty());
        return tw;
    };
    // Every hook, property, graphic and merge a cell may have, asked of each cell in turn.
    auto measureCell = [&](int r) {
        if (IsXMergedCell(rc, r)) return;
        int w = 0;
        TCellGraphic* g = GetCellGraphic(rc, r);
        const int gw = g ? GetCellGraphicSize(rc, r).X : 0;
        if (g && g->CellHAlign() == haFull) {
            w = gw - 2 * line - FXYOffset.X - 2;
            M = std::max(M, w);
            return;
        }
        int extra = gw;
        if (dropDown && HasComboBox(ACol, r)) extra += 16;
        if (FFilterDropDownAuto && r == FFilterDropDownRow && GetFilterList(ACol)) extra += 12;
        if (sortCol && HasSortIndicator(ACol, r)) extra += 10;

        QString text = GetFormattedCell(rc, r);
        const int kind = CellTextKind(text, FEnableHTML);
        int tw = 0;
        if (kind != 0 || IsRotated(rc, r) != 0) {
            tw = CalcCellTextSize(rc, ACol, r, false, false).width();
        } else {
            // the font the cell is painted in, as the text measuring takes it
            TGridDrawState state;
            GetFontProperties(ACol, rc, r, state, &font, &brush, true);
            if (boldHeaders && (r < FixedRows() || ACol < FixedCols())) {
                TFontStyles st = font.Style();
                st.Include(fsBold);
                font.SetStyle(st);
            }
            if (zoomed) font.SetSize(font.Size() + FZoomFactor);
            tw = textWidth(cache.For(font), text, M - extra);
            if (tw < 0) return;   // no wider than the widest so far
        }
        w = extra + tw;
        M = std::max(M, w);
    };

    // A plain normal cell of a plain grid has no hook, property, graphic or merge to ask
    // about: its text is the stored one, its font the grid's, and nothing stands beside the
    // text. Its rows then read the store directly with one font for the column. Any other
    // grid, column or row takes the general way above.
    const bool plainGrid = typeid(*this) == typeid(TProStringGrid) && !FHasCellProps && FPropsCols == 0 &&
                           !OnGetDisplText && !OnGetDisplWideText && !FURLShowInText &&
                           !FGrouping->ShowGroupCount() && !OnGetFloatFormat && !OnGetCellColor &&
                           !OnIsFixedCell && !(dropDown && OnHasComboBox) &&
                           !(FFixedRowAlways && RowCount() == FFixedRowsMin) &&
                           !(FFixedColAlways && ColCount() == FFixedColsMin);
    const bool plainCol = plainGrid && ACol >= FixedCols() && ACol < ColCount() - FFixedRightCols &&
                          !(rc == 0 && FMouseActions->HotmailRowSelect());
    int from = Last + 1, to = Last;   // the rows read directly
    if (plainCol) {
        from = std::max(First, FixedRows());
        to = std::min(Last, RowCount() - FFixedFooters - 1);
        if (from > to) from = Last + 1, to = Last;
    }
    const int filterRow = FFilterDropDownAuto ? FFilterDropDownRow : -1;
    const int sortRow = sortCol ? FSortSettings->Row() : -1;
    for (int r = First; r < std::min(from, Last + 1); ++r) measureCell(r);
    if (from <= to) {
        TFont plain;
        plain.Assign(*Font());
        if (zoomed) plain.SetSize(plain.Size() + FZoomFactor);
        TTextWidths::Entry* e = cache.For(plain);
        const bool plainLines = !(FURLShow && !FURLFull);
        for (int r = from; r <= to; ++r) {
            if (r == filterRow || r == sortRow) {
                measureCell(r);
                continue;
            }
            const QString text = GetGridCell(rc, r);
            if (MayBeMarkedUp(text, FEnableHTML) && CellTextKind(text, FEnableHTML) != 0) {
                measureCell(r);
                continue;
            }
            // one line as it stands: measured without splitting or copying
            const int tw = plainLines && !text.contains(QChar(13)) ? TTextWidths::Width(e, text, M)
                                                                   : textWidth(e, text, M);
            if (tw > M) M = tw;
        }
    }
    for (int r = std::max(First, to + 1); r <= Last; ++r) measureCell(r);
    return M;
}

void TProStringGrid::AutoSizeColInternal(int ACol, bool GrowOnly)
{
    if (ACol < 0 || ACol >= ColCount()) return;
    int first = 0, last = RowCount() - 1;
    switch (FColumnSize->Rows()) {
    case arAll: break;
    case arNormal:
        first = FixedRows();
        last = RowCount() - FFixedFooters - 1;
        break;
    case arFixed: last = FixedRows() - 1; break;
    }
    const int M = WidestCellInColumn(ACol, first, last);
    int W = M + CellOffsetX() + 2 * GridLineWidth() + 2;
    if (GrowOnly && ColWidths(ACol) >= W) return;
    UpdateAutoColumnSize(ACol, W);
    SetColWidths(ACol, LimitColWidth(W));
}

void TProStringGrid::AutoSizeCol(int ACol, int Padding)
{
    if (ACol < 0 || ACol >= ColCount()) return;
    AutoSizeColInternal(ACol, FSizeGrowOnly);
    if (Padding != 0) SetColWidths(ACol, LimitColWidth(ColWidths(ACol) + Padding));
}

void TProStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    TWidthsScope scope;
    const int from = DoFixedCols ? 0 : FixedCols();
    const int to = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (int c = from; c <= to; ++c) AutoSizeCol(c, Padding);
}

// ---------------------------------------------------------------- rows

void TProStringGrid::AutoSizeRowInternal(int ARow, bool GrowOnly, int Padding)
{
    if (ARow < 0 || ARow >= RowCount()) return;
    const bool allShown = VisibleRowCount() + FixedRows() >= RowCount();
    int M = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = DisplToRealColumn(c);
        if (IsYMergedCell(rc, ARow) || IsIgnoredColumn(rc)) continue;
        int t = CalcCellTextSize(rc, c, ARow, WordWrap(), false).height();
        TCellGraphic* g = GetCellGraphic(rc, ARow);
        int gh = 0;
        TCellType type = ctEmpty;
        if (g) {
            TPoint size;
            CalcCellGraphicSize(rc, ARow, size, Padding);
            gh = size.Y;
            type = g->CellType();
            if (g->CellVAlign() == vaFull) gh = Cells(rc, ARow).isEmpty() ? DefaultRowHeight() : 0;
        }
        if ((type == ctDataCheckBox || type == ctVirtCheckBox) && gh > 0) t = 0;
        int h = t + gh;
        if (IsMergedNonBaseCell(rc, ARow)) h = 0;
        if (type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRadio ||
            type == ctRadioButton)
            h = DefaultRowHeight();
        M = std::max(M, h);
    }
    const int H = M + CellOffsetY() + 2 * GridLineWidth() + (FXYOffsetTopLeftOnly ? 2 : 0);
    if (!GrowOnly || RowHeights(ARow) < H) SetRowHeights(ARow, LimitRowHeight(H));
    // The editor follows a row that grew out of view while the user types.
    if (allShown && EditorMode() && FSizeWhileTyping->Height() && VisibleRowCount() + FixedRows() < RowCount()) {
        HideEditor();
        ShowEditor();
        if (TInplaceEdit* e = InplaceEditor()) e->setCursorPosition(int(e->text().size()));
    }
}

void TProStringGrid::AutoSizeRow(int ARow, int Padding)
{
    if (ARow < 0 || ARow >= RowCount()) return;
    AutoSizeRowInternal(ARow, FSizeGrowOnly, Padding);
    if (Padding != 0) SetRowHeights(ARow, LimitRowHeight(RowHeights(ARow) + Padding));
}

void TProStringGrid::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (RowCount() <= 0) return;
    const int from = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, from);
    TFont font;
    TBrush brush;
    for (int r = from; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (WordWrap()) {
            AutoSizeRow(r, Padding);
            continue;
        }
        const int lines = MaxLinesInRow(r);
        TGridDrawState state;
        const int c = std::min(FixedCols(), ColCount() - 1);
        GetFontProperties(c, DisplToRealColumn(c), r, state, &font, &brush, true);
        const int h = font.LineHeight();
        SetRowHeights(r, LimitRowHeight(Padding + lines * (h + h / 8)));
    }
    ExportNotification(esExportDone, -1);
    UpdateScrollBarAlways(false);
}

// ---------------------------------------------------------------- cells

void TProStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    BeginUpdate();
    const int firstRow = DoFixedCells ? 0 : FixedRows();
    for (int c = DoFixedCells ? 0 : FixedCols(); c < ColCount(); ++c) {
        const int rc = DisplToRealColumn(c);
        int width = FSizeGrowOnly ? ColWidths(c) : 0;
        bool measured = false;
        for (int r = firstRow; r < RowCount(); ++r) {
            // measured as drawn, with the zoom the cells are painted in
            const QSize t = CalcCellTextSize(rc, c, r, false, false);
            TPoint g;
            if (GetCellGraphic(rc, r)) g = GetCellGraphicSize(rc, r);
            const int w = t.width() + g.X + PaddingX + FXYOffset.X;
            const int h = t.height() + g.Y + PaddingY + FXYOffset.Y;
            if (!IsXMergedCell(rc, r)) {
                width = std::max(width, LimitColWidth(w));
                measured = true;
            }
            if (!IsYMergedCell(rc, r) && RowHeights(r) < LimitRowHeight(h)) SetRowHeights(r, LimitRowHeight(h));
        }
        if (measured) SetColWidths(c, width);
    }
    EndUpdate();
}

// ---------------------------------------------------------------- spreading and fitting the window

void TProStringGrid::AutoFitColumns(bool DoFixedCells)
{
    if (ColCount() <= 0) return;
    const bool vertBar = FScrollBarAlways == saVert ||
                         ((ScrollBars() == ssVertical || ScrollBars() == ssBoth) &&
                          VisibleRowCount() + FixedRows() < RowCount());
    const int S = vertBar ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int B = BorderStyle() == bsSingle ? 4 : 0;
    int from = 0, to = ColCount() - 1;
    int W = width();
    if (!DoFixedCells) {
        from = FixedCols();
        to = ColCount() - FFixedRightCols - 1;
        for (int c = 0; c < from; ++c) W -= ColWidths(c);
        for (int c = to + 1; c < ColCount(); ++c) W -= ColWidths(c);
    }
    int L = Options().Contains(goVertLine) ? GridLineWidth() * (ColCount() - FixedCols() - FFixedRightCols) : 0;
    if (DoFixedCells && Options().Contains(goFixedVertLine)) L += FixedCols() + FFixedRightCols;
    if (ColCount() < 2) {
        SetColWidths(0, width() - S - 5);
        return;
    }
    if (to < from) return;
    int T = 0;
    for (int c = from; c <= to; ++c) T += ColWidths(c);
    if (T == W - S - B || T <= 0) return;
    const double ratio = double(W - S - B - L) / T;
    int R = 0;
    for (int c = from; c <= to; ++c) R += RoundEven(ColWidths(c) * ratio);
    BeginUpdate();
    int sum = 0;
    for (int c = from; c <= to; ++c) {
        const int w = RoundEven(double(ColWidths(c)) * R / T);
        SetColWidths(c, w);
        sum += w;
    }
    int E = W - (sum + S + B);
    const int n = to - from + 1;
    if (n < E && n > 1) {
        for (int c = from; c <= to; ++c) SetColWidths(c, ColWidths(c) + E / n);
        E -= n * (E / n);
    }
    int widest = from;
    for (int c = from; c <= to; ++c)
        if (ColWidths(c) > ColWidths(widest)) widest = c;
    SetColWidths(widest, ColWidths(widest) + E);
    EndUpdate();
}

void TProStringGrid::SizeToCols()
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c) w += ColWidths(c) + GridLineWidth();
    resize(width() - viewport()->width() + w, height());
}

void TProStringGrid::SizeToRows()
{
    int h = 0;
    for (int r = 0; r < RowCount(); ++r) h += RowHeights(r) + GridLineWidth();
    resize(width(), height() - viewport()->height() + h);
}

void TProStringGrid::SizeToCells()
{
    const TScrollStyle keep = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(keep);
}

// ---------------------------------------------------------------- numbering

void TProStringGrid::AutoNumberCol(int ACol)
{
    if (RowCount() <= 0) return;
    const int last = RowCount() - FFixedFooters - 1;
    for (int k = FixedRows() + FAutoNumberStart; k <= last; ++k) {
        const int n = k - FixedRows() + 1 + FAutoNumberOffset;
        const int row = FAutoNumberDirection == sdAscending ? k : FixedRows() + RowCount() - FFixedFooters - 1 - k;
        SetCells(ACol, row, QString::number(n));
    }
}

void TProStringGrid::AutoNumberRow(int ARow)
{
    if (ColCount() <= 0) return;
    const int last = ColCount() - FFixedRightCols - 1;
    for (int k = FixedCols() + FAutoNumberStart; k <= last; ++k) {
        const int n = k - FixedCols() + 1 + FAutoNumberOffset;
        const int col = FAutoNumberDirection == sdAscending ? k : ColCount() + FixedCols() - FFixedRightCols - 1 - k;
        SetCells(col, ARow, QString::number(n));
    }
}
