// Cell graphics of the string grid: giving a cell a graphic and taking it off, the check box
// family and the radio controls.
#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_string_grid.h"

namespace {

bool IsCheckKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

bool IsDataCheckKind(TCellType t) { return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox; }

bool IsSharedKind(TCellType t) { return t == ctVirtCheckBox || t == ctRowCheckBox; }

TCellVAlign PlacementOf(TVAlignment v)
{
    switch (v) {
    case vtaCenter: return vaCenter;
    case vtaBottom: return vaBottom;
    default: return vaTop;
    }
}

}  // namespace

// ---- the graphic of a cell -------------------------------------------------------------------

// The string grid's own answer: the cell's graphic, or the shared row check box of column 0.
// A foreign object in the cell hides both.
static TCellGraphic* OwnOrRowGraphic(TProStringGrid* Grid, int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    TObject* o = Grid->GetGraphicObjectEx(ACol, ARow);
    if (o && !dynamic_cast<TCellGraphic*>(o)) return nullptr;
    if (ACol == 0 && Grid->MouseActions()->HotmailRowSelect()) {
        TCellGraphic* g = Grid->CellGraphic();
        g->SetCellType(ctRowCheckBox);
        g->SetCellTransparent(Grid->ControlLook()->ControlStyle() == csFlat);
        if (ARow == 0) {
            const int all = Grid->RowCount() - Grid->FixedRows();
            const int count = Grid->RowSelectCount();
            g->SetCellAngle(count >= 1 && count < all ? 1 : 0);
            g->SetCellBoolean(count >= all);
        } else {
            g->SetCellAngle(0);
            g->SetCellBoolean(Grid->RowSelect(Grid->RealRowIndex(ARow)));
        }
        return g;
    }
    return static_cast<TCellGraphic*>(o);
}

TCellGraphic* TProStringGrid::GetCellGraphic(int ACol, int ARow) { return OwnOrRowGraphic(this, ACol, ARow); }

TCellType TProStringGrid::GetCellType(int ACol, int ARow)
{
    TCellGraphic* g = OwnOrRowGraphic(this, ACol, ARow);
    return g ? g->CellType() : ctEmpty;
}

TCellGraphic* TProStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    if (auto* own = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow))) {
        SetGraphicObjectEx(ACol, ARow, nullptr);
        delete own;
    }
    auto* g = new TCellGraphic();
    SetGraphicObjectEx(ACol, ARow, g);  // keeps an empty cell text empty
    if (NumHiddenColumns() > 0 && RealToDisplColumn(ACol) != ACol) RepaintCell(RealToDisplColumn(ACol), ARow);
    return g;
}

bool TProStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    if (IsSharedKind(g->CellType())) return true;  // shown by the grid, not held by the cell
    SetGraphicObjectEx(ACol, ARow, nullptr);
    delete g;
    if (!Destroying()) RepaintCell(RealToDisplColumn(ACol), ARow);
    return true;
}

bool TProStringGrid::RemoveCellGraphicType(int ACol, int ARow, TCellType CellType)
{
    if (GetCellType(ACol, ARow) != CellType) return false;
    return RemoveCellGraphic(ACol, ARow);
}

bool TProStringGrid::HasClickControl(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellType t = GetCellType(b.X, b.Y);
    return IsCheckKind(t) || t == ctRadio || t == ctButton || t == ctRadioButton;
}

bool IsDataControlCell(TProStringGrid* Grid, int ACol, int ARow)
{
    const TPoint b = Grid->BaseCell(ACol, ARow);
    const TCellType t = Grid->GetCellType(b.X, b.Y);
    return t == ctDataImage || IsDataCheckKind(t);
}

// ---- check boxes -----------------------------------------------------------------------------

static void CheckCellInGrid(TProStringGrid* Grid, int ACol, int ARow)
{
    // negative indexes are as invalid as those beyond the grid
    if (ACol < 0 || ARow < 0 || ACol >= Grid->ColCount() + Grid->NumHiddenColumns() ||
        ARow >= Grid->RowCount() + Grid->NumHiddenRows())
        throw EProGridError(QStringLiteral("Invalid cell"));
}

void TProStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    CheckCellInGrid(this, ACol, ARow);
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, Data, true, haBeforeText, PlacementOf(FVAlignment));
    if (!Data) return;
    // The text of an existing cell decides its state; only another text is replaced.
    const QString text = Cells(ACol, ARow);
    if (text != FCheckTrue && text != FCheckFalse) SetCells(ACol, ARow, State ? FCheckTrue : FCheckFalse);
}

void TProStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    CheckCellInGrid(this, ACol, ARow);
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, true, haBeforeText, PlacementOf(FVAlignment));
}

void TProStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    for (int r = FMouseActions->CheckAllCheck() ? 0 : FixedRows(); r < RowCount(); ++r) {
        if (IsSummary(r)) continue;
        if (IsNode(r)) AddCheckBox(ACol, r, cbUnchecked);
        else AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TProStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State)
{
    for (int r = FMouseActions->CheckAllCheck() ? 0 : FixedRows(); r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

void TProStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    const TCellType t = g->CellType();
    if (t != ctCheckBox && t != ctDataCheckBox && t != ctTriStateCheckBox) return;
    g->FreeBalloonList();
    RemoveCellGraphic(ACol, ARow);
}

void TProStringGrid::RemoveCheckBoxColumn(int ACol)
{
    for (int r = FMouseActions->CheckAllCheck() ? 0 : FixedRows(); r < RowCount(); ++r)
        if (HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

bool TProStringGrid::HasCheckBox(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    return IsCheckKind(GetCellType(b.X, b.Y));
}

bool TProStringGrid::HasDataCheckBox(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    return IsDataCheckKind(GetCellType(b.X, b.Y));
}

namespace {

// Where a state operation addressed by real row finds its graphic and text: with hidden rows
// the real row's own properties (also of a hidden row), else the display row's graphic.
struct RealRowCell {
    TCellGraphic* Graphic = nullptr;
    bool ByRealRow = false;
};

}  // namespace

static RealRowCell GraphicByRealRow(TProStringGrid* Grid, int ACol, int ARow)
{
    RealRowCell cell;
    if (ACol < 0 || ARow < 0) return cell;
    if (Grid->NumHiddenRows() == 0) {
        cell.Graphic = Grid->GetCellGraphic(ACol, ARow);
        return cell;
    }
    cell.ByRealRow = true;
    TObject* own = nullptr;
    bool hidden = false;
    for (TGridItem* item : Grid->GridItems()) {
        if (item->Idx() != ARow) continue;
        hidden = true;
        if (auto* p = dynamic_cast<TCellProperties*>(item->Object(ACol))) own = p->GraphicObject();
        break;
    }
    const int displ = Grid->DisplRowIndex(ARow);
    if (!hidden && displ >= 0) own = Grid->GetGraphicObjectEx(ACol, displ);
    cell.Graphic = dynamic_cast<TCellGraphic*>(own);
    if (!cell.Graphic) cell.Graphic = Grid->GetCellGraphic(ACol, ARow);
    return cell;
}

bool TProStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State)
{
    const RealRowCell cell = GraphicByRealRow(this, ACol, ARow);
    if (!cell.Graphic) return false;
    switch (cell.Graphic->CellType()) {
    case ctCheckBox: State = cell.Graphic->CellBoolean(); return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString t;
        GetCheckTrue(ACol, ARow, t);
        State = (cell.ByRealRow ? GetCellsEx(ACol, ARow) : Cells(ACol, ARow)) == t;
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        State = RowSelect(ARow);
        return true;
    default: return false;
    }
}

bool TProStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State)
{
    const RealRowCell cell = GraphicByRealRow(this, ACol, ARow);
    if (cell.Graphic && cell.Graphic->CellType() == ctTriStateCheckBox) {
        State = cell.Graphic->CellCheckBoxState();
        return true;
    }
    bool b = false;
    if (!GetCheckBoxState(ACol, ARow, b)) return false;
    State = BoolToCheckBoxState(b);
    return true;
}

bool TProStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    const RealRowCell cell = GraphicByRealRow(this, ACol, ARow);
    if (!cell.Graphic) return false;
    const int displCol = RealToDisplColumn(ACol);
    const int displRow = cell.ByRealRow ? DisplRowIndex(ARow) : ARow;
    switch (cell.Graphic->CellType()) {
    case ctCheckBox:
        cell.Graphic->SetCellBoolean(State);
        if (displRow >= 0) RepaintCell(displCol, displRow);
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString t;
        if (State) GetCheckTrue(ACol, ARow, t);
        else GetCheckFalse(ACol, ARow, t);
        if (cell.ByRealRow) SetCellsEx(ACol, ARow, t);
        else SetCells(ACol, ARow, t);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        SetRowSelect(ARow, State);
        return true;
    default: return false;
    }
}

bool TProStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    const RealRowCell cell = GraphicByRealRow(this, ACol, ARow);
    if (!cell.Graphic || cell.Graphic->CellType() != ctTriStateCheckBox) return false;
    cell.Graphic->SetCellCheckBoxState(State);
    const int displRow = cell.ByRealRow ? DisplRowIndex(ARow) : ARow;
    if (displRow >= 0) RepaintCell(RealToDisplColumn(ACol), displRow);
    return true;
}

bool TProStringGrid::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TProStringGrid::ApplyCheckBoxState(int ACol, int ARow, bool State)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    switch (g->CellType()) {
    case ctCheckBox:
        if (State != g->CellBoolean()) {
            g->SetCellBoolean(State);
            CheckBoxChange(ACol, ARow, State);
            RepaintCell(RealToDisplColumn(ACol), ARow);
        }
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString t, f;
        GetCheckTrue(ACol, ARow, t);
        GetCheckFalse(ACol, ARow, f);
        const bool old = Cells(ACol, ARow) == t;
        SetCells(ACol, ARow, State ? t : f);
        if (State != old) CheckBoxChange(ACol, ARow, State);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        if (State != RowSelect(RealRowIndex(ARow))) {
            SetRowSelect(RealRowIndex(ARow), State);
            CheckBoxChange(ACol, ARow, State);
        }
        return true;
    default: return false;
    }
}

void TProStringGrid::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) ApplyCheckBoxState(ACol, r, true);
    if (NumHiddenColumns() > 0) InvalidateCol(RealToDisplColumn(ACol));
}

void TProStringGrid::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) ApplyCheckBoxState(ACol, r, false);
}

void TProStringGrid::CheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

bool TProStringGrid::ToggleCheck(int ACol, int ARow, bool FromUser)
{
    // A toggle names a cell of the grid; anything else would write outside it.
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw EProGridError(QStringLiteral("Invalid cell"));
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;

    const bool autoGroup = FGrouping->AutoCheckGroup();
    bool nodeRow = false, contracted = false;
    int span = 0, parent = -1;
    if (autoGroup) {
        if (IsNode(ARow)) {
            nodeRow = true;
            span = GetNodeSpan(ARow);
            contracted = GetNodeState(ARow);
        } else {
            parent = GetParentRow(ARow);
            if (parent >= 0) span = GetNodeSpan(parent);
        }
    }

    const TCellType kind = g->CellType();
    if (!IsCheckKind(kind)) return false;
    if (FromUser && !FControlLook->CheckAlwaysActive()) {
        bool canEdit = true;
        CanEditCell(ACol, ARow, canEdit);
        if (!canEdit) return false;
    }

    bool newState = false;
    switch (kind) {
    case ctCheckBox:
        g->SetCellBoolean(!g->CellBoolean());
        newState = g->CellBoolean();
        break;
    case ctTriStateCheckBox: {
        const TCheckBoxState s = g->CellCheckBoxState();
        if (nodeRow) {
            g->SetCellCheckBoxState(s == cbChecked ? cbUnchecked : cbChecked);
            newState = g->CellCheckBoxState() == cbChecked;
        } else {
            g->SetCellCheckBoxState(s == cbUnchecked ? cbGrayed : s == cbGrayed ? cbChecked : cbUnchecked);
        }
        break;
    }
    default: {
        // The data kinds: the text is the state (on a row check box, column 0's text).
        QString t, f;
        GetCheckTrue(ACol, ARow, t);
        GetCheckFalse(ACol, ARow, f);
        newState = Cells(ACol, ARow) != t;
        SetCells(ACol, ARow, newState ? t : f);
        break;
    }
    }

    RepaintCell(RealToDisplColumn(ACol), ARow);
    CheckBoxChange(ACol, ARow, newState);

    if (autoGroup && nodeRow) {
        for (int k = 1; k < span; ++k)
            SetCheckBoxState(ACol, contracted ? RealRowIndex(ARow) + k : RealRowIndex(ARow + k), newState);
    } else if (autoGroup && parent >= 0 && span > 1) {
        bool first = false, same = true;
        GetCheckBoxState(ACol, RealRowIndex(parent + 1), first);
        for (int k = 1; k < span; ++k) {
            bool s = false;
            GetCheckBoxState(ACol, RealRowIndex(parent + k), s);
            if (s != first) same = false;
        }
        SetCheckBoxState(ACol, RealRowIndex(parent), same ? BoolToCheckBoxState(first) : cbGrayed);
    }
    RegisterCheckUndo(ACol, ARow, newState);
    return true;
}

void TProStringGrid::RegisterCheckUndo(int ACol, int ARow, bool NewState)
{
    if (!UndoRedo()) return;
    // Only the kinds whose state is the cell text go on record: undoing a plain or tri-state
    // box would write a check text over the cell's own text and leave the box as it is.
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    const TCellType t = g ? g->CellType() : ctEmpty;
    if (t != ctDataCheckBox && t != ctVirtCheckBox && t != ctRowCheckBox) return;
    QString yes, no;
    GetCheckTrue(ACol, ARow, yes);
    GetCheckFalse(ACol, ARow, no);
    if (NewState) UndoRedo()->RegisterChange(ACol, ARow, no, yes);
    else UndoRedo()->RegisterChange(ACol, ARow, yes, no);
}

bool TProStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    const TCellType t = g->CellType();
    if (!IsCheckKind(t) && t != ctRadioButton) return false;
    if (!FMouseActions->PreciseCheckBoxCheck()) return true;

    const int size = FControlLook->CheckSize();
    const TRect r = CellRect(RealToDisplColumn(ACol), ARow);
    int top;
    switch (g->CellVAlign()) {
    case vaBottom: top = r.Bottom - size - 2; break;
    case vaCenter: top = r.Top + (r.Height() - size) / 2; break;
    default: top = r.Top + 2; break;
    }
    TAlignment ha = GetAlignments(ACol, ARow);
    TVAlignment va = vtaTop;
    GetCellAlignHook(ACol, ARow, ha, va);
    int left;
    switch (ha) {
    case taRightJustify: {
        left = r.Right - size - 2;
        const QString text = Cells(ACol, ARow);
        if (!text.isEmpty()) left -= Canvas()->TextWidth(text);
        break;
    }
    case taCenter: left = r.Left + (r.Width() - size) / 2; break;
    default: left = r.Left + 2; break;
    }
    return PtInRect(MirrorInCell(Bounds(left, top, size, size), r), {XPos, YPos});
}

// ---- radio groups ----------------------------------------------------------------------------

void TProStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TGridStrings* sl)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->SetCellBitmap(sl);
    g->SetCellAngle(sl ? sl->Count() : 0);
}

TGridStrings* TProStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* list = new TGridStrings();
    g->SetCellType(ctRadio);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->SetCellBitmap(list);
    g->SetCellCreated(true);
    g->SetCellAngle(0);
    return list;
}

bool TProStringGrid::GetRadioIdx(int ACol, int ARow, int& IdxRadio)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    IdxRadio = g->CellIndex();
    return g->CellType() == ctRadio;
}

bool TProStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    g->SetCellIndex(IdxRadio);
    if (IdxRadio == -1) SetCells(ACol, ARow, QString());
    RepaintCell(RealToDisplColumn(ACol), ARow);
    return g->CellType() == ctRadio;
}

TGridStrings* TProStringGrid::GetRadioStrings(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctRadio ? dynamic_cast<TGridStrings*>(g->CellBitmap()) : nullptr;
}

bool TProStringGrid::IsRadio(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y) == ctRadio;
}

bool TProStringGrid::ClickRadio(int ACol, int ARow, bool FromUser)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio) return false;
    if (FromUser && !FControlLook->RadioAlwaysActive()) {
        bool canEdit = true;
        CanEditCell(ACol, ARow, canEdit);
        if (!canEdit) return false;
    }
    auto* options = dynamic_cast<TGridStrings*>(g->CellBitmap());
    const int count = options ? options->Count() : 0;
    int next = g->CellIndex() >= 0 ? g->CellIndex() + 1
                                   : (options ? int(options->Strings().indexOf(Cells(ACol, ARow))) + 1 : 0);
    if (next >= count) next = 0;
    if (g->CellIndex() >= -1) g->SetCellIndex(next);
    g->SetCellVar(next);
    SetCells(ACol, ARow, options ? (*options)[next] : QString());
    return false;
}

// ---- radio buttons ---------------------------------------------------------------------------

void TProStringGrid::AddRadioButton(int ACol, int ARow, bool State)
{
    CheckCellInGrid(this, ACol, ARow);
    CreateCellGraphic(ACol, ARow)->SetRadioButton(State, true, haBeforeText, PlacementOf(FVAlignment));
}

void TProStringGrid::RemoveRadioButton(int ACol, int ARow)
{
    if (RemoveCellGraphicType(ACol, ARow, ctRadioButton)) RepaintCell(RealToDisplColumn(ACol), ARow);
}

bool TProStringGrid::HasRadioButton(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y) == ctRadioButton;
}

void TProStringGrid::AddRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) AddRadioButton(ACol, r, false);
}

void TProStringGrid::RemoveRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) RemoveRadioButton(ACol, r);
}

bool TProStringGrid::IsRadioButtonChecked(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctRadioButton && g->CellBoolean();
}

bool TProStringGrid::SetRadioButtonState(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadioButton) return false;
    if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        RepaintCell(RealToDisplColumn(ACol), ARow);
    }
    return true;
}

void TProStringGrid::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(ACol, r, r == Index);
}

int TProStringGrid::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r)) return r;
    return -1;
}

bool TProStringGrid::ToggleRadioButton(int ACol, int ARow, bool FromUser)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw EProGridError(QStringLiteral("Invalid cell"));
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadioButton) return false;
    if (FromUser && !FControlLook->CheckAlwaysActive()) {
        bool canEdit = true;
        CanEditCell(ACol, ARow, canEdit);
        if (!canEdit) return false;
    }
    if (g->CellBoolean()) return true;
    g->SetCellBoolean(true);
    RepaintCell(RealToDisplColumn(ACol), ARow);
    for (int r = 0; r < RowCount(); ++r) {
        if (r == ARow) continue;
        TCellGraphic* other = GetCellGraphic(ACol, r);
        if (other && other->CellType() == ctRadioButton && other->CellBoolean()) {
            other->SetCellBoolean(false);
            RepaintCell(RealToDisplColumn(ACol), r);
        }
    }
    return true;
}

// ---- the column grid's data check box columns -------------------------------------------------

bool TProColumnGrid::IsVirtCheckCell(int ACol, int ARow)
{
    return !Destroying() && FColumnCollection && ACol >= 0 && ARow >= 0 && ACol < Columns()->Count() &&
           IsDataCell(ACol, ARow) && Columns()->Items(ACol)->Editor() == edDataCheckBox;
}

TCellGraphic* TProColumnGrid::GetCellGraphic(int ACol, int ARow)
{
    if (TCellGraphic* own = TProStringGrid::GetCellGraphic(ACol, ARow)) return own;
    // a foreign object in the cell is left alone
    if (!IsVirtCheckCell(ACol, ARow) || GetGraphicObjectEx(ACol, ARow)) return nullptr;
    FVirtCheckGraphic->SetCellType(ctVirtCheckBox);
    FVirtCheckGraphic->SetCellTransparent(ControlLook()->ControlStyle() == csFlat);
    return FVirtCheckGraphic.get();
}

TCellType TProColumnGrid::GetCellType(int ACol, int ARow)
{
    const TCellType inherited = TProStringGrid::GetCellType(ACol, ARow);
    if (inherited != ctEmpty) return inherited;
    return IsVirtCheckCell(ACol, ARow) ? ctDataCheckBox : ctEmpty;
}
