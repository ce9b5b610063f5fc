// Nodes: a row heading a span of rows that it contracts (hides) and expands (shows again).
// Contracting hides the span's visible rows in one pass, each remembered at its real row,
// and expanding shows the hidden rows of the span in one pass, each at its own place.
#include "grid/control/pro_string_grid.h"

#include <algorithm>

// ---- the node look -------------------------------------------------------------------------

void TCellNode::Changed()
{
    if (FOwner) FOwner->Invalidate();
}

void TCellNode::SetShowTree(bool v)
{
    if (v == FShowTree) return;
    FShowTree = v;
    Changed();
}

void TCellNode::SetNodeIndent(int v)
{
    if (v == FNodeIndent) return;
    FNodeIndent = v;
    Changed();
}

void TCellNode::SetNodeType(TNodeType v)
{
    if (v == FNodeType) return;
    FNodeType = v;
    Changed();
}

void TCellNode::SetShowTreeFull(bool v)
{
    if (v == FShowTreeFull) return;
    FShowTreeFull = v;
    Changed();
}

void TCellNode::SetTreeColor(TColor v)
{
    if (v == FTreeColor) return;
    FTreeColor = v;
    Changed();
}

// ---- node rows -----------------------------------------------------------------------------

TCellGraphic* TProStringGrid::NodeGraphic(int ARow)
{
    if (ARow < 0 || ARow >= RowCount()) return nullptr;
    TCellGraphic* g = GetCellGraphic(0, ARow);
    return g && g->CellType() == ctNode ? g : nullptr;
}

int TProStringGrid::NodeEndRow(int ARow)
{
    TCellGraphic* g = NodeGraphic(ARow);
    const int span = g ? g->CellIndex() : 0;
    if (span > 0) return std::min(ARow + span, RowCount());
    int r = ARow + 1;
    while (r < RowCount() && !IsNode(r)) ++r;
    return r;
}

bool TProStringGrid::IsNode(int ARow) { return ARow >= 0 && ARow < RowCount() && GetCellType(0, ARow) == ctNode; }

bool TProStringGrid::IsSummary(int ARow)
{
    return ARow >= 0 && ARow < RowCount() && GetCellType(0, ARow) == ctSummary;
}

void TProStringGrid::ShiftNodeLevels(int From, int Count, int Delta)
{
    for (int r = std::max(From, 0); r < std::min(From + Count, RowCount()); ++r) {
        if (Delta < 0 && !HasCellProperties(0, r)) continue;
        TCellProperties* p = GetCellProperties(0, r);
        p->SetNodeLevel(std::max(0, p->NodeLevel() + Delta));
    }
}

void TProStringGrid::AddNode(int ARow, int Span)
{
    const int d = DisplRowIndex(ARow);
    CheckRange(d, 1, RowCount());
    if (Span < 0 || IsHiddenRow(ARow)) throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (IsNode(d)) RemoveNode(ARow);
    TCellGraphic* g = CreateCellGraphic(0, d);
    g->SetCellType(ctNode);
    g->SetCellBoolean(false);
    g->SetCellIndex(Span);
    g->SetCellErrFrom(0);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaCenter);
    g->SetCellVar(-1);
    // Every row the node covers is one level deeper; a span reaching past the last row
    // stops there.
    ShiftNodeLevels(d, NodeEndRow(d) - d, 1);
    if (FNumNodes == 0) InvalidateCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TProStringGrid::AddSummary(int ARow)
{
    const int d = DisplRowIndex(ARow);
    CheckRange(d, 1, RowCount());
    CreateCellGraphic(0, d)->SetCellType(ctSummary);
    RepaintCell(0, d);
}

void TProStringGrid::RemoveNode(int ARow)
{
    const int d = DisplRowIndex(ARow);
    if (!NodeGraphic(d)) return;
    ExpandNodeInternal(ARow);
    ShiftNodeLevels(d, NodeEndRow(d) - d, -1);
    RemoveCellGraphicType(0, d, ctNode);
    if (FNumNodes > 0) --FNumNodes;
    if (FNumNodes == 0) Invalidate();
}

void TProStringGrid::RemoveAllNodes()
{
    BeginUpdate();
    for (int r = 0; r < RowCount(); ++r) {
        if (!NodeGraphic(r)) continue;
        ExpandNodeInternal(RealRowIndex(r));
        ShiftNodeLevels(r, NodeEndRow(r) - r, -1);
        RemoveCellGraphicType(0, r, ctNode);
        if (FNumNodes > 0) --FNumNodes;
    }
    EndUpdate();
    Invalidate();
}

bool TProStringGrid::GetNodeState(int ARow)
{
    TCellGraphic* g = NodeGraphic(ARow);
    return g && g->CellBoolean();
}

void TProStringGrid::SetNodeState(int ARow, bool Value)
{
    TCellGraphic* g = NodeGraphic(ARow);
    if (!g || g->CellBoolean() == Value) return;
    if (Value) ContractNode(RealRowIndex(ARow));
    else ExpandNode(RealRowIndex(ARow));
}

int TProStringGrid::GetNodeLevel(int ARow)
{
    if (!NodeGraphic(ARow)) return -1;
    return HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() : 0;
}

int TProStringGrid::GetNodeSpan(int ARow)
{
    TCellGraphic* g = NodeGraphic(ARow);
    return g ? g->CellIndex() : -1;
}

void TProStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (TCellGraphic* g = NodeGraphic(ARow)) g->SetCellIndex(Span);
}

void TProStringGrid::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic* g = NodeGraphic(ARow)) g->SetCellIndex(g->CellIndex() + Delta);
}

int TProStringGrid::GetSubNodeCount(int ARow)
{
    TCellGraphic* g = NodeGraphic(ARow);
    return g ? g->CellErrFrom() : 0;
}

void TProStringGrid::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic* g = NodeGraphic(ARow)) g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

int TProStringGrid::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow)) return 0;
    if (ARow >= RowCount() - FFixedFooters - 1) return 1;
    const int level = HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() : 0;
    if (HasCellProperties(0, ARow + 1) && GetCellProperties(0, ARow + 1)->NodeLevel() >= level) return 2;
    return 1;
}

int TProStringGrid::GetParentRow(int ARow)
{
    if (!HasNodes() || ARow < 0 || ARow >= RowCount()) return -1;
    int level = 65535, result = -1;
    if (IsNode(ARow)) {
        level = GetNodeLevel(ARow);
        result = ARow;
    }
    // Walking up, contracted nodes passed on the way hide their children, which the spans
    // of the nodes further up still count.
    int hiddenBelow = 0;
    for (int r = ARow; r >= FixedRows(); --r) {
        TCellGraphic* g = NodeGraphic(r);
        if (!g || GetNodeLevel(r) >= level) continue;
        int span = g->CellIndex();
        if (span <= 0) span = NodeEndRow(r) - r + hiddenBelow;
        if (g->CellBoolean()) hiddenBelow += span - 1;
        if (ARow < r + span - hiddenBelow) return r;
    }
    return result;
}

// ---- contracting and expanding -------------------------------------------------------------

void TProStringGrid::ContractNode(int ARow)
{
    if (ARow < 0 || IsHiddenRow(ARow)) return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g || g->CellBoolean()) return;
    if (EditorMode()) HideEditor();
    FForceSel = true;
    g->SetCellBoolean(true);
    // The span in real rows: children hidden already (a contracted inner node, a hidden
    // row) stay hidden items at their own places and come back with this node.
    const int span = g->CellIndex();
    const int realEnd = span > 0 ? ARow + span
                                 : (NodeEndRow(d) < RowCount() ? RealRowIndex(NodeEndRow(d)) : RowCount() + NumHiddenRows());
    const int end = std::min(RealToDisplRow(realEnd), RowCount());
    std::vector<int> rows;
    rows.reserve(size_t(std::max(0, end - d - 1)));
    for (int i = d + 1; i < end; ++i) {
        // An inner contracted node reads expanded once it comes back with this one.
        if (TCellGraphic* inner = NodeGraphic(i); inner && inner->CellBoolean()) inner->SetCellBoolean(false);
        rows.push_back(i);
    }
    HideDisplayRows(rows);
    RepaintCell(0, d);
    FForceSel = false;
    CalcFooter(-1);
}

void TProStringGrid::ExpandNode(int ARow)
{
    if (FCellNode->ExpandOne() && ARow >= 0 && !IsHiddenRow(ARow)) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            TCellGraphic* g = NodeGraphic(r);
            // Contracting a node above moves this one up.
            const int d = DisplRowIndex(ARow);
            if (!g || g->CellBoolean() || r == d) continue;
            // The nodes around this one stay open, or it could not be seen.
            if (r < d && NodeEndRow(r) > d) continue;
            ContractNode(RealRowIndex(r));
        }
    }
    ExpandNodeInternal(ARow);
}

void TProStringGrid::ExpandNodeInternal(int ARow)
{
    if (ARow < 0 || IsHiddenRow(ARow)) return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g || !g->CellBoolean()) return;
    g->SetCellBoolean(false);
    const int span = g->CellIndex();
    int realEnd;
    if (span > 0) {
        realEnd = ARow + span;
    } else {
        const int next = NodeEndRow(d);
        realEnd = next < RowCount() ? RealRowIndex(next) : RowCount() + NumHiddenRows();
    }
    const int oldTop = GetTopRowEx(), oldRow = GetRowEx();
    bool& disjunct = FMouseActions->DisjunctRowSelectDirect();
    const bool wasDisjunct = disjunct;
    disjunct = false;
    const bool rowSelect = Options().Contains(goRowSelect);
    if (rowSelect) SetOptions(Options() - goRowSelect);
    const bool lock = FControlList->Count() == 0;
    if (lock) BeginUpdate();
    ShowHiddenRange(ARow + 1, realEnd - 1);
    if (rowSelect) {
        SetOptions(Options() + goRowSelect);
        if (oldRow < RowCount()) SetRowEx(oldRow);
        SetTopRowEx(oldTop);
    }
    disjunct = wasDisjunct;
    if (lock) EndUpdate();
    RepaintCell(0, d);
    CalcFooter(-1);
}

void TProStringGrid::ExpandAll()
{
    if (FNumNodes == 0) return;
    BeginUpdate();
    const int total = RowCount() + NumHiddenRows();
    for (int r = FixedRows(); r < total && r < RowCount(); ++r) {
        TCellGraphic* g = NodeGraphic(r);
        if (g && g->CellBoolean()) ExpandNodeInternal(RealRowIndex(r));
    }
    EndUpdate();
    CalcFooter(-1);
}

void TProStringGrid::ContractAll()
{
    if (FNumNodes == 0) return;
    BeginUpdate();
    ExpandAll();
    std::vector<int> rows;
    for (int r = FixedRows(); r < RowCount();) {
        TCellGraphic* g = NodeGraphic(r);
        if (!g) {
            ++r;
            continue;
        }
        // Inner nodes are not visited and stay marked expanded.
        g->SetCellBoolean(true);
        const int end = std::max(NodeEndRow(r), r + 1);
        for (int i = r + 1; i < end; ++i) rows.push_back(i);
        r = end;
    }
    HideDisplayRows(rows);
    EndUpdate();
    CellControlsUpdate(false);
    CalcFooter(-1);
}

// ---- child rows ----------------------------------------------------------------------------

void TProStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    const int d = DisplRowIndex(ARow);
    CheckRange(d, 1, RowCount());
    if (InsertAt < 0 || d + InsertAt > RowCount()) throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    // A node row takes the child itself; any other row joins the node that holds it.
    const bool nodeRow = IsNode(d);
    int p = nodeRow ? d : GetParentRow(d);
    int level = 1;
    auto grow = [this](int node) {
        if (GetNodeSpan(node) > 0) UpdateNodeSpan(node, 1);
        UpdateSubNodeCount(node, 1);
        ExpandNode(RealRowIndex(node));
    };
    if (p != -1) {
        grow(p);
        level = std::max(1, GetNodeLevel(p));
        for (int a = p, cur = level; cur > 1;) {
            const int up = GetParentRow(a);
            if (up < FixedRows() || up == a || GetNodeLevel(up) >= cur) break;
            grow(up);
            cur = GetNodeLevel(up);
            a = up;
        }
    }
    const int at = DisplRowIndex(ARow);
    int pos = at + InsertAt;
    if (nodeRow && InsertAt == 0) {
        pos = at + 1;
        InsertRows(pos, 1, true);
        // The new row below takes over the node row's contents.
        for (int c = 0; c < TotalColCount(); ++c) {
            SetCells(c, pos, Cells(c, at));
            SetCells(c, at, QString());
            if (c > 0) {
                SetObjectEx(c, pos, GetObjectEx(c, at));
                SetObjectEx(c, at, nullptr);
            }
        }
    } else {
        InsertRows(std::min(pos, RowCount()), 1, true);
    }
    if (p != -1) GetCellProperties(0, std::min(pos, RowCount() - 1))->SetNodeLevel(level);
}

void TProStringGrid::RemoveChildRow(int ARow)
{
    const int d = DisplRowIndex(ARow);
    CheckRange(d, 1, RowCount());
    int p = GetParentRow(d);
    if (p != -1 && p != d) {
        const int L = GetNodeLevel(p);
        auto shrink = [this](int node) {
            if (GetNodeSpan(node) > 1) {
                UpdateNodeSpan(node, -1);
                UpdateSubNodeCount(node, -1);
            }
        };
        shrink(p);
        for (;;) {
            ExpandNode(RealRowIndex(p));
            if (GetNodeLevel(p) <= 1) break;
            const int up = GetParentRow(p);
            if (up == -1 || up == p || GetNodeLevel(up) >= L) break;
            p = up;
            shrink(p);
        }
    }
    RemoveRowsHook(DisplRowIndex(ARow), 1);
    FMaxRowCount = std::max(RowCount(), FMaxRowCount - 1);
}

// ---- the glyph under the mouse -------------------------------------------------------------

bool TProStringGrid::IsNodeGlyphClick(int ARow, int X)
{
    if (!FMouseActions->PreciseNodeClick()) return true;
    const int level = GetNodeLevel(ARow), indent = FCellNode->NodeIndent();
    int w = 4, o = 4;
    switch (FCellNode->NodeType()) {
    case cnFlat: w = 4; o = 4; break;
    case cn3D: w = 6; o = 0; break;
    case cnGlyph: {
        const int gw = FCellNode->ExpandGlyph()->Empty() ? 0 : FCellNode->ExpandGlyph()->Width();
        w = gw / 2;
        o = gw == 0 ? 0 : 2;
        break;
    }
    case cnLeaf: w = 8; o = 2; break;
    case cnXP: w = 4; o = 4; break;
    }
    return o + (level - 1) * indent < X && X < w + level * indent;
}

bool TProStringGrid::NodeGlyphPress(int ACol, int ARow, int X, int Y, TShiftState Shift)
{
    if (RealColIndex(ACol) != 0 || !IsNode(ARow)) return false;
    const TRect cr = CellRect(ACol, ARow);
    const int x = MirrorXInCell(X, cr) - cr.Left;
    if (!IsNodeGlyphClick(ARow, x)) return false;
    if (ARow < FixedRows()) {
        if (!FMouseActions->NodeAllExpandContract()) return false;
        if (FNodeAllExpanded) ContractAll();
        else ExpandAll();
        FNodeAllExpanded = !FNodeAllExpanded;
        return true;
    }
    if (OnMouseDown) OnMouseDown(this, mbLeft, Shift, X, Y);
    ClickCell(ARow, ACol);
    bool allow = true;
    const int real = RealRowIndex(ARow);
    if (GetNodeState(ARow)) {
        if (OnBeforeExpandNode) OnBeforeExpandNode(this, ARow, real, allow);
        if (allow) {
            ExpandNode(real);
            if (OnExpandNode) OnExpandNode(this, ARow, real);
        }
    } else {
        if (OnBeforeContractNode) OnBeforeContractNode(this, ARow, real, allow);
        if (allow) {
            ContractNode(real);
            if (OnContractNode) OnContractNode(this, ARow, real);
        }
    }
    if (FMouseActions->MoveRowOnNodeClick()) SetRowEx(ARow);
    return true;
}
