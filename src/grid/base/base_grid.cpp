#include "grid/base/base_grid.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/text_packing.h"

#include <algorithm>

TBaseGrid::TBaseGrid(QWidget* AOwner) : TStringGrid(AOwner)
{
    // The grid draws every cell and line itself.
    TStringGrid::SetDefaultDrawing(false);
    TStringGrid::SetGridLineWidth(0);
}

TBaseGrid::~TBaseGrid()
{
    FDestroying = true;
    // Cells beyond lowered counts still hold their properties: free up to the furthest ever made.
    FreePropRect(0, 0, std::max(TStringGrid::ColCount(), FPropsCols) - 1,
                 std::max(TStringGrid::RowCount(), FPropsRows) - 1);
}

// ---- settings ------------------------------------------------------------------------------

void TBaseGrid::SetDefaultDrawing(bool v)
{
    FDefaultDrawing = v;
    TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int v)
{
    FGridLineWidth = v;
    TStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor v)
{
    FGridLineColor = v;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor v)
{
    FGridFixedLineColor = v;
    Invalidate();
}

void TBaseGrid::SetColourAndInvalidate(TColor& field, TColor v)
{
    if (field == v) return;
    field = v;
    Invalidate();
}

void TBaseGrid::SetActiveRowShow(bool v)
{
    if (FActiveRowShow == v) return;
    FActiveRowShow = v;
    Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor v) { SetColourAndInvalidate(FActiveRowColor, v); }
void TBaseGrid::SetActiveRowColorTo(TColor v) { SetColourAndInvalidate(FActiveRowColorTo, v); }
void TBaseGrid::SetActiveRowMirrorColor(TColor v) { SetColourAndInvalidate(FActiveRowMirrorColor, v); }
void TBaseGrid::SetActiveRowMirrorColorTo(TColor v) { SetColourAndInvalidate(FActiveRowMirrorColorTo, v); }

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle v)
{
    if (FSelectionStyle == v) return;
    FSelectionStyle = v;
    Invalidate();
}

void TBaseGrid::SetUndoRedo(ROdeVivaZedaDure* v)
{
    FUndoRedo = v;
    if (v) AttachUndoRedo(v);
}

void TBaseGrid::AttachUndoRedo(ROdeVivaZedaDure* v) { v->SetGrid(this); }

// ---- virtual hooks -------------------------------------------------------------------------

bool TBaseGrid::IsFixed(int, int) { return false; }
int TBaseGrid::GetRowIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }

void TBaseGrid::DrawCellContent(TCanvas* Canvas, int ACol, int ARow, TRect Rect, TGridDrawState State)
{
    (void)State;
    TRect r = Rect;
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->DrawText(GetCellEx(ACol, ARow), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    Canvas->Brush()->SetStyle(bsSolid);
}

void TBaseGrid::LastRowChanged() {}

void TBaseGrid::GetDisplText(int ACol, int ARow, QString& Value)
{
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, QString& Value)
{
    if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellDefaults(int, int, TFont* AFont, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                                TCellGradientDirection& GD)
{
    AFont->Assign(*Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::CellTextChanged(int, int) {}
bool TBaseGrid::HasCellBorders() { return false; }
bool TBaseGrid::IsVCLStyled() { return false; }

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&,
                                    TColor&, TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&)
{
}

int TBaseGrid::DisplColIndex(int ACol) const { return ACol; }
int TBaseGrid::TotalColCount() const { return TStringGrid::ColCount(); }

// ---- cell store ----------------------------------------------------------------------------

TCellProperties* TBaseGrid::PropsOf(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow)) return nullptr;
    return dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow));
}

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const
{
    // A grid that never had properties answers without looking at the matrix.
    if (!FHasCellProps && FPropsCols == 0) return false;
    return ACol >= 0 && ACol < TotalColCount() && ARow >= 0 && ARow < TStringGrid::RowCount() &&
           TStringGrid::Objects(ACol, ARow) != nullptr;
}

QString TBaseGrid::GetCellEx(int ACol, int ARow)
{
    int bc = ACol, br = ARow;
    if (TCellProperties* p = PropsOf(ACol, ARow)) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        bc = b.X;
        br = b.Y;
    }
    QString result = TStringGrid::Cells(bc, br);
    if (br < FNormalRowCount) {
        GetDisplText(bc, br, result);
        if (OnGetDisplWideText) {
            QString w = UnpackWideText(result);
            GetDisplWideText(bc, br, w);
            result = PackWideText(w);
        }
    }
    return result;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const QString& Value)
{
    if (TCellProperties* p = PropsOf(ACol, ARow)) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        TStringGrid::SetCells(b.X, b.Y, Value);
        CellTextChanged(b.X, b.Y);
        if (parentWidget()) RepaintCell(ACol, ARow);
    } else {
        TStringGrid::SetCells(ACol, ARow, Value);
    }
    if (FHideLastRow && ARow == TStringGrid::RowCount() - 1) LastRowChanged();
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) throw EProGridError(QStringLiteral("Invalid cell"));
    if (auto* existing = dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow))) return existing;
    return MakeCellProperties(ACol, ARow, true);
}

TCellProperties* TBaseGrid::MakeCellProperties(int ACol, int ARow, bool ResetCalc)
{
    auto* props = new TCellProperties(this, ACol, ARow);
    TStringGrid::SetObjects(ACol, ARow, props);
    FPropsCols = std::max(FPropsCols, ACol + 1);
    FPropsRows = std::max(FPropsRows, ARow + 1);

    TFont font;
    TBrush brush;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetCellDefaults(ACol, ARow, &font, &brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);

    if (ResetCalc) props->SetCalcType(acNONE);
    props->SetAlignment(ha);
    props->SetVAlignment(va);
    props->SetWordWrap(ww);
    props->SetFontName(font.Name());
    props->SetFontSize(font.Size());
    props->SetFontStyle(font.Style());
    props->SetFontColor(font.Color());
    props->SetBrushColor(brush.Color());
    props->SetBrushColorTo(colorTo);
    props->SetGradientDirection(gd);
    return props;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value)
{
    if (ACol < 0 || ARow < 0) throw EProGridError(QStringLiteral("Invalid cell"));
    delete dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow));
    TStringGrid::SetObjects(ACol, ARow, Value);
    if (Value) {
        FHasCellProps = true;
        FPropsCols = std::max(FPropsCols, ACol + 1);
        FPropsRows = std::max(FPropsRows, ARow + 1);
    }
}

TObject* TBaseGrid::GetObjectEx(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    return p ? reinterpret_cast<TObject*>(p->CellObject()) : nullptr;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, TObject* Value)
{
    if (ACol < 0 || ARow < 0) throw EProGridError(QStringLiteral("Invalid cell"));
    // A cell that was empty stays empty.
    const bool wasEmpty = GetCellEx(ACol, ARow).isEmpty();
    if (wasEmpty) SetCellEx(ACol, ARow, QStringLiteral(" "));
    GetCellProperties(ACol, ARow)->SetCellObject(reinterpret_cast<uintptr_t>(Value));
    if (wasEmpty) SetCellEx(ACol, ARow, QString());
}

TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    return p ? p->GraphicObject() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TObject* Value)
{
    if (FDestroying) return;
    if (ACol < 0 || ARow < 0) throw EProGridError(QStringLiteral("Invalid cell"));
    const bool wasEmpty = GetCellEx(ACol, ARow).isEmpty();
    if (wasEmpty) SetCellEx(ACol, ARow, QStringLiteral(" "));
    TCellProperties* p = dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow));
    if (!p) p = MakeCellProperties(ACol, ARow, false);
    p->SetGraphicObject(Value);
    if (wasEmpty) SetCellEx(ACol, ARow, QString());
}

void TBaseGrid::RepaintCell(int ACol, int ARow)
{
    // Nothing to repaint while the grid is not shown; this keeps bulk writes cheap.
    if (!HandleAllocated() || !isVisible()) return;
    InvalidateClientRect(CellRect(ACol, ARow));
}

void TBaseGrid::FreePropRect(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (!FHasCellProps && FPropsCols == 0) return;
    FromCol = std::max(FromCol, 0);
    FromRow = std::max(FromRow, 0);
    ToCol = std::min(ToCol, std::max(FPropsCols - 1, TotalColCount() - 1));
    ToRow = std::min(ToRow, std::max(FPropsRows - 1, TStringGrid::RowCount() - 1));
    for (int c = FromCol; c <= ToCol; ++c) {
        for (int r = FromRow; r <= ToRow; ++r) {
            auto* p = dynamic_cast<TCellProperties*>(TStringGrid::Objects(c, r));
            if (!p) continue;
            // Only the cell graphics are the grid's; user objects and controls are not.
            if (TObject* g = p->GraphicObject(); g && g->ClassName() == QStringLiteral("TCellGraphic")) delete g;
            delete p;
            TStringGrid::SetObjects(c, r, nullptr);
        }
    }
}

void TBaseGrid::FreeCellProperties(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return;
    if (auto* p = dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow))) {
        delete p;
        TStringGrid::SetObjects(ACol, ARow, nullptr);
    }
}

void TBaseGrid::FreeAllProps() { FreePropRect(0, 0, TStringGrid::ColCount() - 1, TStringGrid::RowCount() - 1); }

void TBaseGrid::WipeRow(int ARow)
{
    for (int c = 0; c < TStringGrid::ColCount(); ++c) {
        TStringGrid::SetObjects(c, ARow, nullptr);
        SetCellEx(c, ARow, QString());
    }
}

void TBaseGrid::WipeCol(int ACol)
{
    for (int r = 0; r < TStringGrid::RowCount(); ++r) {
        TStringGrid::SetObjects(ACol, r, nullptr);
        SetCellEx(ACol, r, QString());
    }
}

void TBaseGrid::WipeCell(int ACol, int ARow)
{
    SetCellEx(ACol, ARow, QString());
    TStringGrid::SetObjects(ACol, ARow, nullptr);
}

// ---- merged cells --------------------------------------------------------------------------

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany)
{
    ++FMergeCount;
    if (spanx < 1 || spany < 1) return;
    SetBlockSpans(c, r, spanx, spany);
    for (int x = c; x < c + spanx; ++x)
        for (int y = r; y < r + spany; ++y) RepaintCell(x, y);
}

void TBaseGrid::SetBlockSpans(int ACol, int ARow, int AWidth, int AHeight)
{
    for (int x = ACol; x < ACol + AWidth; ++x) {
        for (int y = ARow; y < ARow + AHeight; ++y) {
            TCellProperties* p = GetCellProperties(x, y);
            const bool base = x == ACol && y == ARow;
            p->SetIsBaseCell(base);
            p->SetCellSpanX(base ? AWidth - 1 : x - ACol);
            p->SetCellSpanY(base ? AHeight - 1 : y - ARow);
        }
    }
}

void TBaseGrid::CollectRowMerges(int ARow, int ACount, bool CoveredAboveOnly, std::vector<TRowMerge>& Blocks)
{
    if (!FHasCellProps && FPropsCols == 0) return;
    const int cols = std::max(TotalColCount(), FPropsCols);
    for (int y = std::max(ARow, 0); y < ARow + ACount; ++y) {
        for (int x = 0; x < cols; ++x) {
            auto* p = dynamic_cast<TCellProperties*>(TStringGrid::Objects(x, y));
            if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1) continue;
            if (CoveredAboveOnly && (p->IsBaseCell() || p->CellSpanY() < 1)) continue;
            const TPoint b = p->GetBaseCell(x, y);
            auto* base = dynamic_cast<TCellProperties*>(TStringGrid::Objects(b.X, b.Y));
            if (!base || !base->IsBaseCell() || base->CellSpanX() < 0 || base->CellSpanY() < 0) continue;
            const bool known = std::any_of(Blocks.begin(), Blocks.end(),
                                           [&](const TRowMerge& m) { return m.Col == b.X && m.Row == b.Y; });
            if (!known) Blocks.push_back({b.X, b.Y, base->CellSpanX() + 1, base->CellSpanY() + 1});
        }
    }
}

std::vector<TBaseGrid::TRowMerge> TBaseGrid::MergesCutByRemoval(int ARow, int ACount)
{
    std::vector<TRowMerge> blocks;
    CollectRowMerges(ARow, ACount, false, blocks);
    return blocks;
}

std::vector<TBaseGrid::TRowMerge> TBaseGrid::MergesCutByInsertion(int ARow)
{
    // Rows inserted at ARow cut exactly the blocks that reach row ARow from above.
    std::vector<TRowMerge> blocks;
    CollectRowMerges(ARow, 1, true, blocks);
    return blocks;
}

void TBaseGrid::RespanMerges(const std::vector<TRowMerge>& Blocks, const std::function<int(int)>& NewRow)
{
    for (const TRowMerge& m : Blocks) {
        int top = -1, bottom = -1;
        for (int y = m.Row; y < m.Row + m.Height; ++y) {
            const int n = NewRow(y);
            if (n < 0) continue;
            if (top < 0) top = n;
            bottom = std::max(bottom, n);
        }
        if (top < 0) continue;  // every row of the block left
        if (m.Width == 1 && top == bottom) {
            // What is left is one cell: a plain cell again.
            TCellProperties* p = GetCellProperties(m.Col, top);
            p->SetIsBaseCell(true);
            p->SetCellSpanX(-1);
            p->SetCellSpanY(-1);
        } else {
            SetBlockSpans(m.Col, top, m.Width, bottom - top + 1);
        }
    }
}

void TBaseGrid::SplitCells(int c, int r)
{
    TCellProperties* p = GetCellProperties(c, r);
    const TPoint b = p->GetBaseCell(c, r);
    TCellProperties* base = GetCellProperties(b.X, b.Y);
    const int sx = base->CellSpanX(), sy = base->CellSpanY();
    if (sx != -1 && sy != -1) {
        for (int x = b.X; x <= b.X + sx; ++x) {
            for (int y = b.Y; y <= b.Y + sy; ++y) {
                TCellProperties* q = GetCellProperties(x, y);
                q->SetIsBaseCell(true);
                q->SetCellSpanX(-1);
                q->SetCellSpanY(-1);
            }
        }
        for (int x = b.X; x <= b.X + sx; ++x)
            for (int y = b.Y; y <= b.Y + sy; ++y) RepaintCell(x, y);
    }
    --FMergeCount;
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    return p ? p->GetBaseCell(ACol, ARow) : TPoint{ACol, ARow};
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    return p ? p->IsBaseCell() : true;
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow)
{
    const TPoint b = BaseCell(ACol, ARow);
    BaseCol = b.X;
    BaseRow = b.Y;
    return b.X == ACol && b.Y == ARow;
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    return p && (p->CellSpanX() > 0 || p->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow)
{
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) { return CellSpan(ACol, ARow).X > 0; }
bool TBaseGrid::IsYMergedCell(int ACol, int ARow) { return CellSpan(ACol, ARow).Y > 0; }

TPoint TBaseGrid::CellSpan(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1) return {0, 0};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    TCellProperties* base = PropsOf(b.X, b.Y);
    if (!base) return {0, 0};
    return {base->CellSpanX(), base->CellSpanY()};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1) return {0, 0};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return {b.X + s.X - ACol, b.Y + s.Y - ARow};
}

TRect TBaseGrid::FullCell(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const
{
    // The spans live in the store's columns; the rectangle is of the columns as they show.
    const int real = RealColIndex(ACol);
    TCellProperties* p = PropsOf(real, ARow);
    if (p && !(p->CellSpanX() == -1 && p->CellSpanY() == -1)) {
        const TPoint b = p->GetBaseCell(real, ARow);
        TCellProperties* base = PropsOf(b.X, b.Y);
        const int sx = base ? base->CellSpanX() : 0, sy = base ? base->CellSpanY() : 0;
        TRect r1 = CalcCellRect(DisplColIndex(b.X), b.Y);
        if (r1.Width() == 0) r1.Right += 1;
        TRect r2 = CalcCellRect(DisplColIndex(b.X + sx), b.Y + sy);
        if (r2.Width() == 0) r2.Left -= 1;
        TRect u;
        UnionRect(u, r1, r2);
        return u;
    }
    if (p && p->Control()) return CalcCellRect(ACol, ARow);
    // A plain cell: where it shows, its full width and height even when the client area cuts
    // it off; nothing for a cell out of view.
    if (IsRectEmpty(TStringGrid::CellRect(ACol, ARow))) return TRect{};
    return CalcCellRect(ACol, ARow);
}

TPoint TBaseGrid::CellSize(int ACol, int ARow)
{
    TCellProperties* p = PropsOf(ACol, ARow);
    TRect r;
    if (p && !(p->CellSpanX() == -1 && p->CellSpanY() == -1)) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        TCellProperties* base = PropsOf(b.X, b.Y);
        const int sx = base ? base->CellSpanX() : 0, sy = base ? base->CellSpanY() : 0;
        UnionRect(r, CalcCellRect(b.X, b.Y), CalcCellRect(b.X + sx, b.Y + sy));
    } else {
        r = CalcCellRect(ACol, ARow);
    }
    return {r.Width(), r.Height()};
}

int TBaseGrid::MinRowSpan(int ARow)
{
    int result = TStringGrid::RowCount();
    for (int c = 0; c < TStringGrid::ColCount(); ++c) {
        const int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < result) result = s;
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow)
{
    int result = 0;
    for (int c = 0; c < TStringGrid::ColCount(); ++c) result = std::max(result, CellSpan(c, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2)
{
    bool found = false;
    for (int c = 0; c < TStringGrid::ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            found = true;
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
        }
    }
    return found;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2)
{
    bool found = false;
    for (int r = 0; r < TStringGrid::RowCount(); ++r) {
        const int s1 = CellSpan(ACol1, r).X, s2 = CellSpan(ACol2, r).X;
        if (s1 > 0 && s2 > 0) {
            found = true;
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
        } else if (s1 != s2) {
            return false;
        }
    }
    return found;
}

void TBaseGrid::SnapToBaseCell()
{
    if (!HasCellProperties(Col(), Row())) return;
    const TPoint b = BaseCell(Col(), Row());
    if (b.X != Col()) TStringGrid::SetCol(b.X);
    if (b.Y != Row()) TStringGrid::SetRow(b.Y);
}

// ---- current cell and keys over blocks ----------------------------------------------------

bool TBaseGrid::SelectCell(int ACol, int ARow) { return CanSelectCell(ACol, ARow); }

bool TBaseGrid::CanSelectCell(int ACol, int ARow)
{
    if (layoutDirection() == Qt::RightToLeft) {
        const bool result = TStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return result;
    }
    RepaintCell(Col(), Row());
    const bool result = TStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return result;
}

void TBaseGrid::KeyDown(int& Key, TShiftState Shift) { HandleKeyDown(Key, Shift); }

void TBaseGrid::HandleKeyDown(int& Key, TShiftState Shift)
{
    if (Key == VK_NEXT && FHideLastRow && RowCount() > 1 &&
        VisibleRowCount() + TopRow() - TStringGrid::FixedRows() == RowCount() - 1)
        TStringGrid::SetRow(RowCount() - 2);
    if (HasCellProperties(Col(), Row())) {
        const TPoint b = BaseCell(Col(), Row());
        const TPoint s = CellSpan(Col(), Row());
        switch (Key) {
        case VK_LEFT:
            if (b.X < Col() && Col() > TStringGrid::FixedCols() && b.X > 0) TStringGrid::SetCol(b.X);
            break;
        case VK_UP:
            if (b.Y < Row() && Row() > TStringGrid::FixedRows() && b.Y > 0) TStringGrid::SetRow(b.Y);
            break;
        case VK_RIGHT:
            if (b.X + s.X >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && b.X + s.X < ColCount())
                TStringGrid::SetCol(b.X + s.X);
            break;
        case VK_DOWN:
            if (b.Y + s.Y >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1) TStringGrid::SetRow(b.Y + s.Y);
            break;
        default:
            break;
        }
    }
    TStringGrid::KeyDown(Key, Shift);
    SnapToBaseCell();
}

// ---- painting ------------------------------------------------------------------------------

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintGridCell(ACol, ARow, ARect, AState);
}

void TBaseGrid::PaintGridCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    DoPaintCell(Canvas(), ACol, ARow, ARect, AState, true);
}

int TBaseGrid::FixedColsWidth()
{
    int w = 0;
    for (int c = 0; c < TStringGrid::FixedCols(); ++c) w += ColWidths(c);
    return w;
}

int TBaseGrid::FixedRowsHeight()
{
    int h = 0;
    for (int r = 0; r < TStringGrid::FixedRows(); ++r) h += RowHeights(r);
    return h;
}


void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, false);
}

int TBaseGrid::SelectionBoxPart(int ACol) const
{
    const TGridRect sel = Selection();
    int l = sel.Left, r = sel.Right;
    if (r < l) std::swap(l, r);
    if (ACol == l && l < r) return 1;
    if (ACol == r && r > l) return 2;
    if (l < ACol && ACol < r) return 3;
    return 0;
}

void TBaseGrid::DoPaintCell(TCanvas* Canvas, int ACol, int ARow, TRect Rect, TGridDrawState State, bool UseMerge)
{
    TRect r = Rect;
    // The floating footer takes the place of a hidden last row.
    if (ARow == RowCount() - 1 && FHideLastRow) {
        Canvas->Brush()->SetColor(Color());
        Canvas->Pen()->SetColor(Color());
        Canvas->Rectangle(r);
        return;
    }
    // A merged block is drawn through its base cell when its first covered cell comes up in
    // a pass; covered cells draw nothing of their own.  The spans live in the store's columns.
    const int real = RealColIndex(ACol);
    int bc = real, br = ARow;
    if (!ResolveBaseCell(real, ARow, bc, br)) {
        if (TCellProperties* base = PropsOf(bc, br); base && base->PaintID() != FPaintID) {
            base->SetPaintID(FPaintID);
            PaintCell(Canvas, DisplColIndex(bc), br, r, State);
        }
        return;
    }
    if (UseMerge && IsFixed(ACol, ARow)) {
        State.Include(gdFixed);
        State.Exclude(gdSelected);
    }
    if (UseMerge) r = CellRect(ACol, ARow);

    // A block reaching under the fixed columns or rows is not drawn over them.  Only such a
    // cell gets a clip; the canvas keeps its state from cell to cell otherwise.
    const int fixedCols = TStringGrid::FixedCols(), fixedRows = TStringGrid::FixedRows();
    const int fw = ACol >= fixedCols ? FixedColsWidth() : 0;
    const int fh = ARow >= fixedRows ? FixedRowsHeight() : 0;
    // (right to left, the fixed columns are at the right edge)
    const bool rtl = UseRightToLeftAlignment();
    const int W = ClientWidth();
    const bool clip = (ACol >= fixedCols && fixedCols > 0 && (rtl ? r.Right > W - fw : r.Left < fw)) ||
                      (ARow >= fixedRows && fixedRows > 0 && r.Top < fh);
    if (clip) {
        Canvas->SaveState();
        Canvas->IntersectClipRect(rtl ? TRect{0, fh, W - fw, Height()} : TRect{fw, fh, Width(), Height()});
    }

    TPen* pen = Canvas->Pen();
    TBrush* brush = Canvas->Brush();
    pen->SetWidth(1);
    Canvas->SetFont(*Font());
    // Starting values for a grid whose look hook sets nothing.
    brush->SetColor(State.Contains(gdFixed) ? FixedColor() : Color());
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, State, false, true, true, brush, colorTo, mirror, mirrorTo, Canvas->Font(), ha, va,
                        ww, gd);
    pen->SetColor(brush->Color());
    const bool fixed = State.Contains(gdFixed);
    const bool selected = State.Contains(gdSelected);

    if (ARow == FHoverRowIdx && FHoverRow && !(selected && !FHoverRowCells.Contains(hcSelected)) &&
        !(fixed && !FHoverRowCells.Contains(hcFixed))) {
        brush->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirror = mirrorTo = clNone;
        gd = GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && ACol >= fixedCols && (ACol != Col() || !FShowSel)) ||
        (!UseMerge && selected)) {
        brush->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirror = FActiveRowMirrorColor;
        mirrorTo = FActiveRowMirrorColorTo;
        pen->SetColor(brush->Color());
    }

    const TGridOptions o = Options();
    if (selected && FSelectionStyle != ssDefault && FShowSel) {
        TRect box = r;
        if (!o.Contains(goHorzLine)) box.Bottom += 1;
        if (!o.Contains(goVertLine)) box.Right += 1;
        if (UseRightToLeftAlignment()) {
            box.Right += 1;
            box.Bottom += 1;
        }
        const bool focusLook = Focused() || o.Contains(goDrawFocusSelected);
        DrawSelectionGradient(Canvas, SelectionStyleColors(FSelectionStyle, focusLook), Color(), box,
                              SelectionBoxPart(ACol));
    } else if (!(IsVCLStyled() && (fixed || selected))) {
        if (mirrorTo == clNone) {
            // A plain fill is the common case: no gradient routine for it.
            if (colorTo == clNone) Canvas->FillRect(r);
            else GradientFillRect(Canvas, brush->Color(), colorTo, 64, r, gd == GradientHorizontal);
        } else {
            DrawGradientBackground(Canvas, r, brush->Color(), colorTo, mirror, mirrorTo, 1, clNone, false, true);
        }
    }

    // The grid's own lines.
    int w = 1;
    if (fixed) {
        pen->SetColor(FGridFixedLineColor);
        pen->SetWidth(1);
    } else {
        if (FGridLineWidth > 0) pen->SetColor(FGridLineColor);
        pen->SetWidth(std::max(FGridLineWidth, 1));
        w = (FGridLineWidth + 1) / 2;
    }
    if (((o.Contains(goHorzLine) && !fixed) || (o.Contains(goFixedHorzLine) && fixed)) && !(ACol == 0 && HasNodes())) {
        Canvas->MoveTo(r.Left - w + 1, r.Bottom - w);
        Canvas->LineTo(r.Right - w + 1, r.Bottom - w);
    }
    if ((o.Contains(goVertLine) && !fixed) || (o.Contains(goFixedVertLine) && fixed)) {
        const int x = UseRightToLeftAlignment() ? r.Right - w + 1 : r.Right - w;
        Canvas->MoveTo(x, r.Bottom - w);
        Canvas->LineTo(x, r.Top - w);
    }
    pen->SetWidth(1);

    TRect content = r;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        InflateRect(content, -FGridLineWidth, -FGridLineWidth);
    }
    if (UseMerge) DrawCellContent(Canvas, ACol, ARow, content, State);
    if (clip) Canvas->RestoreState();
    brush->SetStyle(bsSolid);
    pen->SetStyle(psSolid);
}

void TBaseGrid::TopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    RepaintMergedFixedCols();
    RepaintMergedFixedRows();
}

void TBaseGrid::RepaintMergedFixedCols()
{
    if (TStringGrid::FixedCols() <= 0 || !HasCellProps()) return;
    for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
        for (int c = 0; c < TStringGrid::FixedCols(); ++c)
            if (IsMergedCell(RealColIndex(c), r)) RepaintCell(c, r);
}

void TBaseGrid::RepaintMergedFixedRows()
{
    if (TStringGrid::FixedRows() <= 0 || !HasCellProps()) return;
    for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < ColCount(); ++c)
        for (int r = 0; r < TStringGrid::FixedRows(); ++r)
            if (IsMergedCell(RealColIndex(c), r)) RepaintCell(c, r);
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos)
{
    const bool result = TStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (FHideLastRow && Row() < RowCount() - 1 && VisibleRowCount() < Row() - TopRow()) SetTopRow(TopRow() + 1);
    SnapToBaseCell();
    return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos)
{
    const bool result = TStringGrid::DoMouseWheelUp(Shift, MousePos);
    SnapToBaseCell();
    return result;
}

void TBaseGrid::Paint()
{
    TStringGrid::Paint();
    ++FPaintID;
}
