// Sorting the grid's normal rows: by one column, by the index list, inside groups, and back
// to the order before the first sort.  Each sort reads one key per row and sort column
// (sort_keys.h), orders the row indexes with a stable merge sort and moves the rows once:
// the store, the cross-reference, the row marks, the cell controls and the node rows' cell
// properties all follow one permutation.
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/sort_keys.h"
#include "platform/core/exception.h"

#include <algorithm>
#include <numeric>

namespace {

bool IsCheckBoxType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

// Restores what a sort suspends, also when the sort raises.
class TSortHold {
public:
    TSortHold(TProStringGrid* G, bool KeepColumn0) : FGrid(G), FTop(G->TopRow())
    {
        TFloatingFooter* f = G->FloatingFooter();
        FFooterWas = f && f->Visible();
        FFixedFooters = G->FixedFooters();
        if (KeepColumn0) {
            FColumn0.reserve(size_t(G->RowCount()));
            for (int r = 0; r < G->RowCount(); ++r) FColumn0.push_back(G->GetGridCell(0, r));
            FKeepColumn0 = true;
        }
        G->BeginUpdate();
        if (FFooterWas) f->SetVisible(false);
    }
    ~TSortHold()
    {
        if (FKeepColumn0)
            for (int r = 0; r < int(FColumn0.size()) && r < FGrid->RowCount(); ++r)
                FGrid->SetGridCell(0, r, FColumn0[size_t(r)]);
        if (FGrid->Navigation()->KeepScrollOnSort()) FGrid->SetTopRow(std::min(FTop, std::max(FGrid->RowCount() - 1, 0)));
        if (FFooterWas) FGrid->FloatingFooter()->SetVisible(true);
        if (FGrid->FixedFooters() != FFixedFooters) FGrid->SetFixedFooters(FFixedFooters);
        FGrid->EndUpdate();
        if (FFooterWas && FGrid->FooterPanel()) FGrid->FooterPanel()->update();
    }
    TSortHold(const TSortHold&) = delete;
    TSortHold& operator=(const TSortHold&) = delete;

private:
    TProStringGrid* FGrid;
    int FTop;
    bool FFooterWas = false;
    int FFixedFooters = 0;
    bool FKeepColumn0 = false;
    std::vector<QString> FColumn0;
};

}  // namespace

// ---- keys and order ------------------------------------------------------------------------

TSortColumnSource TProStringGrid::SortColumnSource(int ACol, bool Descending, int FirstRow)
{
    TSortColumnSource s;
    s.Style = FSortSettings->AutoFormat() ? ssAutomatic : (FSortSettings->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic);
    GetColFormat(ACol, s.Style, s.Prefix, s.Suffix);
    s.Descending = Descending;
    s.IgnoreCase = FSortSettings->IgnoreCase();
    if (IsIgnoredColumn(ACol)) {
        // Treated as all-equal: no texts read.
        s.Style = ssRaw;
        return s;
    }
    if (FSortSettings->SortOnVirtualCells()) s.Text = [this, ACol](int r) { return Cells(ACol, r); };
    else s.Text = [this, ACol](int r) { return GetGridCell(ACol, r); };
    s.StrippedText = [this, ACol](int r) { return GetStrippedCell(ACol, r); };
    s.Checked = [this, ACol](int r) {
        bool state = false;
        GetCheckBoxState(ACol, r, state);
        return state;
    };
    s.GraphicValue = [this, ACol](int r) { return int64_t(CellGraphicValue(ACol, r)); };
    s.FirstIsCheckBox = FirstRow >= 0 && FirstRow < RowCount() && IsCheckBoxType(GetCellType(ACol, FirstRow));
    if (OnCustomCompare)
        s.CustomCompare = [this](const QString& a, const QString& b) {
            int res = 0;
            OnCustomCompare(this, a, b, res);
            return res;
        };
    if (OnRawCompare)
        s.RawCompare = [this, ACol](int a, int b) {
            int res = 0;
            OnRawCompare(this, ACol, a, b, res);
            return res;
        };
    return s;
}

std::vector<std::pair<int, bool>> TProStringGrid::SortColumns(bool Indexed, int Col)
{
    std::vector<std::pair<int, bool>> cols;
    if (Indexed) {
        const int n = FSortSettings->Full() ? FSortIndexes->Count() : std::min(FSortIndexes->Count(), 1);
        for (int i = 0; i < n; ++i) cols.emplace_back(FSortIndexes->SortColumns(i), !FSortIndexes->SortDirections(i));
        return cols;
    }
    const bool desc = FSortSettings->Direction() == sdDescending;
    const int last = FSortSettings->Full() ? TotalColCount() - 1 : Col;
    for (int c = Col; c <= last; ++c) cols.emplace_back(c, desc);
    return cols;
}

std::vector<int> TProStringGrid::SortedRows(const std::vector<int>& Rows, const std::vector<std::pair<int, bool>>& Columns)
{
    if (Rows.size() < 2 || Columns.empty()) return Rows;
    for (const auto& [c, d] : Columns)
        if (c < 0 || c >= TotalColCount()) throw EProGridError(QStringLiteral("Invalid column accessed"));
    const int first = Rows.front();
    TRowSortKeys keys(
        Rows, int(Columns.size()),
        [&](int k) { return SortColumnSource(Columns[size_t(k)].first, Columns[size_t(k)].second, first); },
        {FSortSettings->IgnoreBlanks(), FSortSettings->BlankPos()}, &FCompares);
    std::vector<int> order;
    const TSortColumnKeys& head = keys.Keys(0);
    if (const std::vector<double>* v = head.Numbers(); v && Columns.size() == 1 && !FSortSettings->IgnoreBlanks()) {
        // One column of numbers: the values compared directly.
        const double* x = v->data();
        const int sign = head.Descending() ? -1 : 1;
        order = StableSortOrder(int(Rows.size()), [&](int a, int b) {
            ++FCompares;
            return x[a] < x[b] ? -sign : (x[b] < x[a] ? sign : 0);
        });
    } else {
        order = StableSortOrder(int(Rows.size()), [&](int a, int b) { return keys.Compare(a, b); });
    }
    std::vector<int> sorted(Rows.size());
    for (size_t i = 0; i < order.size(); ++i) sorted[i] = Rows[size_t(order[i])];
    return sorted;
}

// ---- moving the rows -----------------------------------------------------------------------

void TProStringGrid::ApplyRowOrder(const std::vector<int>& Order)
{
    const int n = int(Order.size());
    int first = 0;
    while (first < n && Order[size_t(first)] == first) ++first;
    if (first == n) return;
    FSwaps += PermutationSwaps(Order);

    std::vector<int> inverse(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) inverse[size_t(Order[size_t(i)])] = i;
    if (FSortRow >= 0 && FSortRow < n) FSortRow = inverse[size_t(FSortRow)];

    TIntList* xref = FSortRowXRef.get();
    if (xref->Count() == n) {
        std::vector<int> old(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) old[size_t(i)] = xref->GetInteger(i);
        xref->Clear();
        for (int i = 0; i < n; ++i) xref->Add(old[size_t(Order[size_t(i)])]);
    }

    if (FSortSettings->SingleColumn()) {
        // Only the sort column's texts and objects move.
        const int c = FSortSettings->Column();
        if (c < 0 || c >= StoreColCount()) return;
        std::vector<QString> texts(static_cast<size_t>(n));
        std::vector<TObject*> objects(static_cast<size_t>(n));
        for (int r = first; r < n; ++r) {
            texts[size_t(r)] = GetGridCell(c, r);
            objects[size_t(r)] = GetGridObject(c, r);
        }
        for (int r = first; r < n; ++r) {
            const int from = Order[size_t(r)];
            SetGridCell(c, r, texts[size_t(from)]);
            SetGridObject(c, r, objects[size_t(from)]);
            if (auto* p = dynamic_cast<TCellProperties*>(objects[size_t(from)])) p->SetOwnerRow(r);
        }
        return;
    }

    ReorderStoreRows(Order);
    RenumberStoreRows(first);
    // Row marks and a disjunct cell selection are kept by display row and follow their rows.
    if (const unsigned marks = RowMarkStores() | (FMouseActions->DisjunctCellSelect() ? TGridSelection::Cells : 0u))
        FSelect->PermuteRows(Order, marks);

    // Stores kept by real row follow the same order over the real rows; hidden rows stay.
    std::vector<int> realOrder;
    const bool byReal = NumHiddenRows() > 0;
    if (byReal) {
        const int total = RowCount() + NumHiddenRows();
        realOrder.resize(size_t(total));
        std::iota(realOrder.begin(), realOrder.end(), 0);
        for (int i = 0; i < n; ++i) realOrder[size_t(RealRowIndex(i))] = RealRowIndex(Order[size_t(i)]);
    }
    const std::vector<int>& real = byReal ? realOrder : Order;
    if (FMouseActions->DisjunctRowSelect())
        FSelect->PermuteRows(FMouseActions->RowSelectPersistent() ? real : Order,
                             TGridSelection::RowFlags | TGridSelection::SelectedRows);
    if (FControlList->Count() > 0) {
        ShiftCellControls(TAxisShift::Permute(real), true);
        CellControlsUpdate(false);
    }
}

// ---- the sort frame ------------------------------------------------------------------------

void TProStringGrid::RunSort(bool Indexed, bool Grouped, bool PlainFrame)
{
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    const int oldRow = Row();
    // The footer rows as they are before the hold hides the floating footer's row among them.
    const int footers = FFixedFooters;
    {
        TSortHold hold(this, FSortSettings->NormalCellsOnly() && FixedCols() > 0);
        FSortRow = Row();
        const int from = FixedRows(), to = RowCount() - footers - 1;
        std::vector<int> order(static_cast<size_t>(RowCount()));
        std::iota(order.begin(), order.end(), 0);
        const auto columns = SortColumns(Indexed, FSortSettings->Column());
        const auto sortRange = [&](int lo, int hi) {
            if (hi <= lo) return;
            std::vector<int> rows(static_cast<size_t>(hi - lo + 1));
            std::iota(rows.begin(), rows.end(), lo);
            const std::vector<int> sorted = SortedRows(rows, columns);
            std::copy(sorted.begin(), sorted.end(), order.begin() + lo);
        };
        if (!Grouped) {
            sortRange(from, to);
        } else {
            // The child rows of every expanded node of the deepest level that heads at least
            // two children; node rows and rows outside such groups stay.
            int deepest = -1;
            for (int r = from; r <= to; ++r)
                if (IsNode(r)) deepest = std::max(deepest, GetNodeLevel(r));
            for (int r = from; r <= to; ++r) {
                if (!IsNode(r) || GetNodeLevel(r) != deepest || GetNodeState(r)) continue;
                const int span = GetNodeSpan(r);
                if (span > 2) sortRange(r + 1, std::min(r + span - 1, to));
            }
        }
        ApplyRowOrder(order);
        if (Indexed || !FMouseActions->DisjunctRowSelect()) {
            if (FNavigation->MoveRowOnSort()) {
                if (FSortRow >= 0 && FSortRow < RowCount() && FSortRow != Row()) SetRowEx(FSortRow);
                FOldRowSel = -1;
            }
        }
    }
    if (PlainFrame && OnRowChanged && !FNavigation->MoveRowOnSort()) OnRowChanged(this, oldRow, Row());
    if (PlainFrame && FSearchPanel && FSearchPanel->isVisible()) FSearchPanel->update();
    Invalidate();
}

void TProStringGrid::QSort()
{
    if (FSortSettings->Column() < 0) return;
    FSortIndexes->Clear();
    RunSort(false, false, true);
}

void TProStringGrid::QSortIndexed()
{
    if (FSortIndexes->Count() == 0) throw EProGridError(QStringLiteral("No indexes specified for indexed sort"));
    RunSort(true, false, false);
}

void TProStringGrid::QSortGroup()
{
    if (FSortSettings->Column() < 0) return;
    RunSort(false, true, false);
}

void TProStringGrid::QSortGroupIndexed()
{
    if (FSortIndexes->Count() == 0) throw EProGridError(QStringLiteral("No indexes specified for indexed sort"));
    RunSort(true, true, false);
}

void TProStringGrid::QUnSort()
{
    const int n = RowCount();
    TIntList* xref = FSortRowXRef.get();
    // Only a cross-reference that is a whole permutation of the rows can be undone.
    if (xref->Count() != n) return;
    std::vector<int> order(static_cast<size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        const int was = xref->GetInteger(i);
        if (was < 0 || was >= n || order[size_t(was)] >= 0) return;
        order[size_t(was)] = i;
    }
    TSortHold hold(this, FSortSettings->NormalCellsOnly() && FixedCols() > 0);
    ApplyRowOrder(order);
}

void TProStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (int r = 0; r < RowCount(); ++r) FSortRowXRef->Add(r);
}

void TProStringGrid::Sort(int Column, TSortDirection Direction)
{
    FSortSettings->SetColumn(Column);
    FSortSettings->SetDirection(Direction);
    QSort();
}

void TProStringGrid::SortByColumn(int Col)
{
    if (RowCount() <= 1) return;
    FSortSettings->SetColumn(Col);
    QSort();
}

void TProStringGrid::QuickSortRange(int Col, int Left, int Right, bool Indexed)
{
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Right <= Left) return;
    if (Indexed && FSortIndexes->Count() == 0) return;
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    std::vector<int> rows(static_cast<size_t>(Right - Left + 1));
    std::iota(rows.begin(), rows.end(), Left);
    const std::vector<int> sorted = SortedRows(rows, SortColumns(Indexed, Col));
    std::vector<int> order(static_cast<size_t>(RowCount()));
    std::iota(order.begin(), order.end(), 0);
    std::copy(sorted.begin(), sorted.end(), order.begin() + Left);
    BeginUpdate();
    try {
        ApplyRowOrder(order);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TProStringGrid::QuickSort(int Col, int Left, int Right) { QuickSortRange(Col, Left, Right, false); }

void TProStringGrid::QuickSortIndexed(int Left, int Right) { QuickSortRange(-1, Left, Right, true); }

int TProStringGrid::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    // The two cells alone decide the style, the same whichever comes first.
    TRowSortKeys keys({ARow1, ARow2}, 1, [&](int) { return SortColumnSource(ACol, false, ARow1); },
                      {FSortSettings->IgnoreBlanks(), FSortSettings->BlankPos()}, &FCompares);
    const int r = keys.Compare(0, 1);
    // Blanks are placed in final order terms; the callers invert for descending.
    return Direction == sdDescending && FSortSettings->IgnoreBlanks() &&
                   (Cells(ACol, ARow1).isEmpty() != Cells(ACol, ARow2).isEmpty())
               ? -r
               : r;
}

bool TProStringGrid::SortLine(int Col, int ARow1, int ARow2)
{
    const int dir = FSortSettings->Direction() == sdDescending ? -1 : 1;
    for (int c = Col; c < TotalColCount(); ++c) {
        const int r = IsIgnoredColumn(c) ? 0 : CompareCells(c, ARow1, ARow2, FSortSettings->Direction());
        if (r == dir) {
            if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
            std::vector<int> order(static_cast<size_t>(RowCount()));
            std::iota(order.begin(), order.end(), 0);
            std::swap(order[size_t(ARow1)], order[size_t(ARow2)]);
            ApplyRowOrder(order);
            return true;
        }
        if (r != 0) return false;
    }
    return false;
}

// ---- merged columns around a header-click sort ---------------------------------------------

void TProStringGrid::SplitAllColumnCells()
{
    for (int c = 0; c < TotalColCount(); ++c) SplitColumnCells(c);
}

void TProStringGrid::RemergeColumnCells()
{
    for (int i = 0; i < FMergedColumns->Count(); ++i) {
        const int c = FMergedColumns->GetInteger(i);
        if (c >= 0 && c < TotalColCount()) MergeColumnCells(c, i == 0);
    }
}

// ---- sort settings as text -----------------------------------------------------------------

QString TSortSettings::SaveToString() const
{
    if (FIndexShow) return QStringLiteral("i;") + (FOwner ? FOwner->SortIndexes()->SaveToString() : QString());
    return (FDirection == sdDescending ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(FColumn);
}

void TSortSettings::LoadFromString(const QString& Value)
{
    if (Value.isEmpty()) return;
    FShow = true;
    if (Value.size() < 2) throw Exception(QStringLiteral("Invalid sort settings specifier"));
    if (!Value.contains(QStringLiteral("i;"))) {
        FIndexShow = false;
        FDirection = Value.contains(QLatin1Char('u')) ? sdAscending : sdDescending;
        bool ok = false;
        const int c = Value.mid(1).toInt(&ok);
        if (ok) {
            FColumn = c;
            if (FOwner) FOwner->QSort();
        }
        return;
    }
    FIndexShow = true;
    const QString rest = Value.mid(2);
    if (rest.isEmpty() || !FOwner) return;
    FOwner->SortIndexes()->LoadFromString(rest);
    FOwner->QSortIndexed();
}

void TSortSettings::Remove()
{
    FColumn = -1;
    if (!FOwner) return;
    FOwner->SortIndexes()->Clear();
    if (FOwner->FixedRows() > 0) FOwner->InvalidateRow(FOwner->FixedRows() - 1);
}
