// Grouping: the rows, sorted by a column, fall into runs of equal texts; each run gets a node
// header row in front of it (and a summary row after it), and the column leaves the grid.  A
// sub-grouping splits the groups again by another column under child header rows.  Every
// header and summary row is placed first and all of them enter the store in one pass; undoing
// a grouping writes the texts back and takes those rows out in one pass as well.
#include "grid/control/grid_selection.h"
#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_string_grid.h"

#include <algorithm>

namespace {

// The node value (the sub-grouped column) of a node row, or the marker of a summary row: -1
// for rows of the first-level grouping.
int GroupMark(TCellGraphic* g)
{
    if (!g) return -1;
    bool ok = false;
    const int v = g->CellVar().toInt(&ok);
    return ok ? v : -1;
}

// Item i of the new order is the old item `Count + k` when i is the k-th of the ascending
// positions At, else the next old item: empty items appended at the end go to their places.
TAxisShift Spread(const std::vector<int>& At, int Count)
{
    std::vector<int> order(size_t(Count) + At.size());
    for (int i = 0, r = 0, k = 0; i < int(order.size()); ++i)
        order[size_t(i)] = k < int(At.size()) && At[size_t(k)] == i ? Count + k++ : r++;
    return TAxisShift::Permute(order);
}

// A node row open during a walk: its real rows and how many child rows it gains or loses.
struct TOpenNode {
    int Row;      // display row
    int End;      // first real row after it
    int Change = 0;
};

// The first real row after the rows a node row covers.
int NodeRealEnd(TProStringGrid* G, int ARow)
{
    const int span = G->GetNodeSpan(ARow);
    if (span > 0) return G->RealRowIndex(ARow) + span;
    int r = ARow + 1;
    while (r < G->RowCount() && !G->IsNode(r)) ++r;
    return r < G->RowCount() ? G->RealRowIndex(r) : G->TotalRowCount();
}

// Painting waits while the rows change, also when a step raises; a shown search panel then
// lays itself out again.
class TGroupUpdate {
public:
    explicit TGroupUpdate(TProStringGrid* G, bool RelayoutSearch = false) : FGrid(G), FRelayout(RelayoutSearch)
    {
        G->BeginUpdate();
    }
    ~TGroupUpdate()
    {
        FGrid->EndUpdate();
        TSearchPanel* p = FGrid->SearchPanel();
        if (!FRelayout || !p || !p->isVisible()) return;
        p->resize(p->width() + 1, p->height());
        p->resize(p->width() - 1, p->height());
    }
    TGroupUpdate(const TGroupUpdate&) = delete;
    TGroupUpdate& operator=(const TGroupUpdate&) = delete;

private:
    TProStringGrid* FGrid;
    bool FRelayout;
};

}  // namespace

// ---- inserting rows at many places -----------------------------------------------------------

void TProStringGrid::InsertRowSet(std::vector<int> Targets)
{
    if (Targets.empty()) return;
    std::sort(Targets.begin(), Targets.end());
    const int oldCount = RowCount();
    const int n = int(Targets.size());
    for (int k = 0; k < n; ++k)
        Targets[size_t(k)] = std::clamp(Targets[size_t(k)], k ? Targets[size_t(k) - 1] + 1 : 0, oldCount + k);
    if (FSelHidden || Col() >= ColCount() || GetRowEx() >= RowCount()) UnHideSelection();
    // The real row each new row takes: in front of the real row of the present row it comes
    // before, so that hidden rows up to there stay in front of it.
    const int total = oldCount + NumHiddenRows();
    const bool byReal = NumHiddenRows() > 0 || FControlList->Count() > 0;
    std::vector<int> realTargets;
    if (byReal) {
        realTargets.reserve(size_t(n));
        for (int k = 0; k < n; ++k) {
            const int before = Targets[size_t(k)] - k;
            realTargets.push_back((before < oldCount ? RealRowIndex(before) : total) + k);
        }
    }
    PutInEmptyRows(Targets);
    if (const unsigned marks = RowMarkStores()) {
        FSelect->ShiftRows(TAxisShift::Insert(oldCount, n), marks);
        FSelect->ShiftRows(Spread(Targets, oldCount), marks);
    }
    if (byReal) {
        const TAxisShift append = TAxisShift::Insert(total, n), place = Spread(realTargets, total);
        for (auto& item : FGridItems) item->SetIdx(place(append(item->Idx())));
        if (FControlList->Count() > 0) {
            ShiftCellControls(append, true);
            ShiftCellControls(place, true);
            CellControlsUpdate(false);
        }
    }
    if (!Destroying()) CellsChanged(TRect{0, Targets.front(), ColCount() - 1, RowCount() - 1});
}

// ---- looks of header and summary rows ------------------------------------------------------

void TProStringGrid::GroupRowLook(int ARow, bool Header)
{
    const TColor color = Header ? FGrouping->HeaderColor() : FGrouping->SummaryColor();
    const TColor colorTo = Header ? FGrouping->HeaderColorTo() : FGrouping->SummaryColorTo();
    const TColor text = Header ? FGrouping->HeaderTextColor() : FGrouping->SummaryTextColor();
    if (color != clNone) SetRowColor(ARow, color);
    if (colorTo != clNone) SetRowColorTo(ARow, colorTo);
    if (text != clNone) SetRowFontColor(ARow, text);
}

void TProStringGrid::GroupMergeLook(int ARow, int FromCol, bool Header)
{
    const int last = ColCount() - 1;
    if (last > FromCol) MergeCells(FromCol, ARow, last - FromCol + 1, 1);
    const TColor color = Header ? FGrouping->HeaderColor() : FGrouping->SummaryColor();
    const TColor colorTo = Header ? FGrouping->HeaderColorTo() : FGrouping->SummaryColorTo();
    const TColor text = Header ? FGrouping->HeaderTextColor() : FGrouping->SummaryTextColor();
    for (int c = FromCol; c <= last; ++c) {
        if (color != clNone) SetColors(c, ARow, color);
        if (colorTo != clNone) SetColorsTo(c, ARow, colorTo);
        if (text != clNone) SetFontColors(c, ARow, text);
    }
}

// ---- grouping --------------------------------------------------------------------------------

void TProStringGrid::SetGroupColumn(int v)
{
    if (v == -1) UnGroup();
    else if (v > 0) Group(v);
}

void TProStringGrid::Group(int Colindex)
{
    // Column 0 carries the node glyphs and could not come back; the header text needs a
    // column beside the node column once the group column is out.
    if (Colindex < FixedCols() || Colindex < 1) return;
    if (Colindex >= TotalColCount() + (FGroupColumn != -1 ? 1 : 0)) return;
    if (FGroupColumn != -1) UnGroup();
    if (TotalColCount() < 3 || Colindex >= TotalColCount()) return;
    if (RowCount() - FFixedFooters <= FixedRows()) return;
    TGroupUpdate hold(this, true);
    GroupRows(Colindex);
}

void TProStringGrid::GroupRows(int Colindex)
{
    FGroupColumn = Colindex;
    FGroupWidth = AllColWidths(Colindex);
    FGroupCaption = FixedRows() > 0 ? GetGridCell(Colindex, 0) : QString();
    FGroupFooter = FFixedFooters > 0 ? GetGridCell(Colindex, RowCount() - 1) : QString();
    if (FSortSettings->AutoSortForGrouping()) {
        FSortSettings->SetColumn(Colindex);
        QSort();
    }

    // The runs of equal stored texts; the first row always starts one.
    const int first = FixedRows(), end = RowCount() - FFixedFooters;
    std::vector<int> starts;
    std::vector<QString> values;
    for (int r = first; r < end; ++r) {
        const QString v = GetGridCell(Colindex, r);
        if (values.empty() || v != values.back()) {
            starts.push_back(r);
            values.push_back(v);
        }
    }
    starts.push_back(end);

    // Each group becomes header, rows[, summary]: every new row's place is known before any
    // row moves.
    const bool summary = FGrouping->Summary();
    const size_t groups = values.size();
    std::vector<int> headers(groups), summaries, targets;
    targets.reserve(groups * (summary ? 2 : 1));
    for (size_t g = 0; g < groups; ++g) {
        const int count = starts[g + 1] - starts[g];
        headers[g] = starts[g] + int(g) * (summary ? 2 : 1);
        targets.push_back(headers[g]);
        if (summary) {
            summaries.push_back(headers[g] + 1 + count);
            targets.push_back(summaries.back());
        }
    }
    InsertRowSet(targets);

    // The header text lands in column 1 once the group column is out.
    const int textCol = Colindex == 1 ? 2 : 1;
    for (size_t g = 0; g < groups; ++g) {
        const int h = headers[g];
        SetGridCell(textCol, h, values[g]);
        if (!FGrouping->MergeHeader()) GroupRowLook(h, true);
        AddNode(RealRowIndex(h), starts[g + 1] - starts[g] + 1);
        if (!summary) continue;
        AddSummary(RealRowIndex(summaries[g]));
        if (!FGrouping->MergeSummary()) GroupRowLook(summaries[g], false);
    }

    RemoveCols(Colindex, 1);
    if (FGrouping->MergeHeader())
        for (int h : headers) GroupMergeLook(h, 1, true);
    if (FGrouping->MergeSummary())
        for (int s : summaries) GroupMergeLook(s, 1, false);

    if (FCellNode->ExpandOne()) {
        // One pass for all the others rather than one per node.
        ContractAll();
        ExpandNode(RealRowIndex(first));
    }
    if (Col() >= ColCount() || Row() >= RowCount()) MoveToCell(FixedCols(), FixedRows());
    SetRow(FixedRows());
    CellsChanged(TRect{0, first, ColCount() - 1, RowCount() - 1});
}

// ---- ungrouping ------------------------------------------------------------------------------

void TProStringGrid::UnGroup()
{
    if (FGroupColumn <= 0) return;
    {
        TGroupUpdate hold(this);
        UnGroupRows();
    }
    Invalidate();
}

void TProStringGrid::UnGroupRows()
{
    // Sub-groupings first: their texts go back while the layout they were made in stands.
    std::vector<int> subColumns;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (const int v = GroupMark(NodeGraphic(r)); v >= 0 && std::find(subColumns.begin(), subColumns.end(), v) == subColumns.end())
            subColumns.push_back(v);
    for (auto it = subColumns.rbegin(); it != subColumns.rend(); ++it) SubUnGroup(*it);

    const bool expandOne = FCellNode->ExpandOne();
    FCellNode->SetExpandOne(false);
    ExpandAll();
    const int gc = FGroupColumn;
    InsertCols(gc, 1);
    SetAllColWidths(gc, FGroupWidth);
    if (FixedRows() > 0) SetGridCell(gc, 0, FGroupCaption);
    if (FFixedFooters > 0) SetGridCell(gc, RowCount() - 1, FGroupFooter);

    // Every data row takes the text of the header above it; header and summary rows go.  The
    // summary rows go whatever Grouping.Summary says now: they are never data.
    const int textCol = gc == 1 ? 2 : 1;
    std::vector<int> gone, headerReal;
    std::vector<QString> headerText;
    QString value;
    for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
        if (IsSummary(r)) {
            gone.push_back(r);
        } else if (IsNode(r)) {
            value = GetGridCell(textCol, r);
            gone.push_back(r);
            headerReal.push_back(RealRowIndex(r));
            headerText.push_back(value);
        } else {
            SetGridCell(gc, r, value);
        }
    }
    // Rows hidden by other means take the text of the header above them too.
    for (auto& item : FGridItems) {
        const auto h = std::upper_bound(headerReal.begin(), headerReal.end(), item->Idx());
        if (h != headerReal.begin()) item->SetCell(gc, headerText[size_t(h - headerReal.begin() - 1)]);
    }
    for (int r : gone) {
        if (IsNode(r)) RemoveNode(RealRowIndex(r));
        if (IsXMergedCell(1, r)) SplitRowCells(r);
    }
    RemoveRowSet(gone, true);
    FGroupColumn = -1;
    FCellNode->SetExpandOne(expandOne);
    CellsChanged(TRect{0, FixedRows(), ColCount() - 1, RowCount() - 1});
}

// ---- sub-groups ------------------------------------------------------------------------------

void TProStringGrid::SubGroup(int Colindex)
{
    // The sub-header's text goes into the column after it.
    if (Colindex < FixedCols() || Colindex < 1 || Colindex + 1 >= ColCount()) return;
    TGroupUpdate hold(this);
    SubGroupRows(Colindex);
}

void TProStringGrid::SubGroupRows(int Colindex)
{
    ExpandAll();
    // The walk starts below the first row, which is the first group's header in a grouped
    // grid.  A node or summary row ends a sub-group, and so does a change of text.
    struct TSub {
        int At;       // its first row (display row before the insertion)
        int Count;
        QString Value;
        int Level;    // node level of the innermost node around it
    };
    std::vector<TSub> subs;
    std::vector<TOpenNode> nodes;
    std::vector<size_t> open;
    bool havePrev = false;
    QString prev;
    const int end = RowCount() - FFixedFooters;
    for (int r = FixedRows(); r < end; ++r) {
        const int real = RealRowIndex(r);
        while (!open.empty() && nodes[open.back()].End <= real) open.pop_back();
        if (IsNode(r) || IsSummary(r)) {
            havePrev = false;
            if (IsNode(r)) {
                nodes.push_back({r, NodeRealEnd(this, r)});
                open.push_back(nodes.size() - 1);
            }
            continue;
        }
        if (r == FixedRows()) continue;
        const QString v = Cells(Colindex, r);
        if (!havePrev || v != prev) {
            subs.push_back({r, 0, v, open.empty() ? 0 : std::max(1, GetNodeLevel(nodes[open.back()].Row))});
            for (size_t i : open) ++nodes[i].Change;
            prev = v;
            havePrev = true;
        }
        ++subs.back().Count;
    }
    if (subs.empty()) return;

    std::vector<int> targets;
    targets.reserve(subs.size() + 1);
    for (size_t k = 0; k < subs.size(); ++k) targets.push_back(subs[k].At + int(k));
    const bool summary = FGrouping->Summary();
    if (summary) targets.push_back(end + int(subs.size()));
    // The nodes around the new rows grow by them; a node row is never a place of insertion.
    std::vector<int> ats;
    for (const TSub& s : subs) ats.push_back(s.At);
    for (TOpenNode& n : nodes)
        n.Row += int(std::upper_bound(ats.begin(), ats.end(), n.Row) - ats.begin());
    InsertRowSet(targets);
    for (const TOpenNode& n : nodes) {
        if (n.Change == 0) continue;
        if (GetNodeSpan(n.Row) > 0) UpdateNodeSpan(n.Row, n.Change);
        UpdateSubNodeCount(n.Row, n.Change);
    }

    for (size_t k = 0; k < subs.size(); ++k) {
        const int h = targets[k];
        const TSub& s = subs[k];
        GetCellProperties(0, h)->SetNodeLevel(s.Level);
        SetGridCell(Colindex + 1, h, s.Value);
        for (int r = h + 1; r <= h + s.Count; ++r) SetGridCell(Colindex, r, QString());
        AddNode(RealRowIndex(h), s.Count + 1);
        NodeGraphic(h)->SetCellVar(Colindex);
        if (FGrouping->MergeHeader()) GroupMergeLook(h, Colindex + 1, true);
        else GroupRowLook(h, true);
    }
    if (summary) {
        // One summary row after the last sub-group, marked with the column to go with it.
        const int s = targets.back();
        AddSummary(RealRowIndex(s));
        GetCellGraphic(0, s)->SetCellVar(Colindex);
        if (FGrouping->MergeSummary()) GroupMergeLook(s, 1, false);
        else GroupRowLook(s, false);
    }
    SetRow(FixedRows());
    CellsChanged(TRect{0, FixedRows(), ColCount() - 1, RowCount() - 1});
}

void TProStringGrid::SubUnGroup(int Colindex)
{
    if (Colindex < 0 || Colindex + 1 >= ColCount()) return;
    TGroupUpdate hold(this);
    ExpandAll();
    std::vector<int> gone;
    std::vector<TOpenNode> nodes;
    std::vector<size_t> open;
    QString value;
    bool haveValue = false;
    for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
        const int real = RealRowIndex(r);
        while (!open.empty() && nodes[open.back()].End <= real) open.pop_back();
        if (IsNode(r)) {
            if (GroupMark(NodeGraphic(r)) == Colindex) {
                value = GetGridCell(Colindex + 1, r);
                haveValue = true;
                gone.push_back(r);
                // Its parents lose it as a child.
                for (size_t i : open) ++nodes[i].Change;
            }
            nodes.push_back({r, NodeRealEnd(this, r)});
            open.push_back(nodes.size() - 1);
        } else if (IsSummary(r)) {
            if (GroupMark(GetCellGraphic(0, r)) == Colindex) gone.push_back(r);
        } else if (haveValue) {
            // Rows before the first sub-header were never emptied.
            SetGridCell(Colindex, r, value);
        }
    }
    for (const TOpenNode& n : nodes) {
        if (n.Change == 0 || GroupMark(NodeGraphic(n.Row)) == Colindex) continue;
        if (GetNodeSpan(n.Row) > n.Change) UpdateNodeSpan(n.Row, -n.Change);
        UpdateSubNodeCount(n.Row, -n.Change);
    }
    for (int r : gone) {
        if (IsNode(r)) RemoveNode(RealRowIndex(r));
        if (IsXMergedCell(1, r) || IsXMergedCell(Colindex + 1, r)) SplitRowCells(r);
    }
    RemoveRowSet(gone, true);
    CellsChanged(TRect{0, FixedRows(), ColCount() - 1, RowCount() - 1});
}

// ---- group calculations ----------------------------------------------------------------------

void TProStringGrid::DoGroupCalc(int ACol, int FromRow, int ToRow, double& Res)
{
    Res = 0;
    if (OnGroupCalc) OnGroupCalc(this, ACol, FromRow, ToRow, Res);
}

void TProStringGrid::GroupCalc(int Colindex, int Method)
{
    if (Method < 1 || Method > 8) return;
    const bool summary = FGrouping->Summary();
    for (int r = FixedRows(); r < RowCount();) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        const int span = std::max(GetNodeSpan(r) > 0 ? GetNodeSpan(r) : NodeEndRow(r) - r, 1);
        const int from = r + 1, to = r + span - 1;
        const int target = summary ? r + span : r;
        if (target < RowCount()) {
            switch (Method) {
            case 1: SetFloats(Colindex, target, ColumnSum(Colindex, from, to)); break;
            case 2: SetFloats(Colindex, target, ColumnAvg(Colindex, from, to)); break;
            case 3: SetFloats(Colindex, target, ColumnMin(Colindex, from, to)); break;
            case 4: SetFloats(Colindex, target, ColumnMax(Colindex, from, to)); break;
            case 5: SetInts(Colindex, target, span - 1); break;
            case 6: {
                double res = 0;
                DoGroupCalc(Colindex, from, to, res);
                SetFloats(Colindex, target, res);
                break;
            }
            case 7: SetFloats(Colindex, target, ColumnDistinct(Colindex, from, to)); break;
            case 8: SetFloats(Colindex, target, ColumnStdDev(Colindex, from, to)); break;
            }
        }
        // Nodes inside an expanded group are not computed on their own.
        r += span;
    }
}

namespace {
void GroupCalcWithFooter(TProStringGrid* g, int Colindex, int Method, TColumnCalcType Footer)
{
    g->GroupCalc(Colindex, Method);
    if (g->FloatingFooter()->Visible()) g->FloatingFooter()->SetColumnCalc(Colindex, Footer);
}
}  // namespace

void TProStringGrid::GroupSum(int Colindex) { GroupCalcWithFooter(this, Colindex, 1, acSUM); }
void TProStringGrid::GroupAvg(int Colindex) { GroupCalcWithFooter(this, Colindex, 2, acAVG); }
void TProStringGrid::GroupMin(int Colindex) { GroupCalcWithFooter(this, Colindex, 3, acMIN); }
void TProStringGrid::GroupMax(int Colindex) { GroupCalcWithFooter(this, Colindex, 4, acMAX); }
void TProStringGrid::GroupCount(int Colindex) { GroupCalcWithFooter(this, Colindex, 5, acCOUNT); }
void TProStringGrid::GroupCustomCalc(int Colindex) { GroupCalc(Colindex, 6); }
void TProStringGrid::GroupDistinct(int Colindex) { GroupCalc(Colindex, 7); }
void TProStringGrid::GroupStdDev(int Colindex) { GroupCalc(Colindex, 8); }

// ---- the column grid keeps the grouped column's description ----------------------------------

void TProColumnGrid::Group(int Colindex)
{
    if (Colindex < FixedCols() || Colindex < 1) return;
    // A grouping before gives its own column's description back first.
    if (GroupColumn() != -1) UnGroup();
    if (Colindex < Columns()->Count()) FSaveCol->Assign(Columns()->Items(Colindex));
    TProStringGrid::Group(Colindex);
}

void TProColumnGrid::UnGroup()
{
    const int col = GroupColumn();
    TProStringGrid::UnGroup();
    if (col <= 0 || GroupColumn() != -1 || col >= Columns()->Count()) return;
    // The kept description has no grid to tell its width: the column keeps the one it got back.
    const int width = AllColWidths(col);
    Columns()->Items(col)->Assign(FSaveCol.get());
    SetAllColWidths(col, width);
}
