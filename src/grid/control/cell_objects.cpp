// The cell objects besides check boxes, radio controls and nodes: pictures, icons, buttons,
// progress bars, shapes, ratings, scroll bars, comments, balloons, expand buttons, text
// markers and rotated text.  Each lives in the cell's graphic; its drawing is in
// cell_graphic_drawing.cpp.
#include "grid/control/pro_string_grid.h"

namespace {

// The shared graphics answer for many cells at once; nothing per cell may be written to them.
bool IsShared(const TCellGraphic* g) { return g->CellType() == ctVirtCheckBox || g->CellType() == ctRowCheckBox; }

// A new graphic of the given kind and placement in place of the cell's own.
TCellGraphic* NewGraphic(TProStringGrid* Grid, int ACol, int ARow, TCellType Kind, TCellHAlign hal = haLeft,
                         TCellVAlign val = vaTop)
{
    TCellGraphic* g = Grid->CreateCellGraphic(ACol, ARow);
    g->SetCellType(Kind);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    return g;
}

}  // namespace

// The cell's graphic when it is of the kind, else null.
static TCellGraphic* GraphicOfKind(TProStringGrid* Grid, int ACol, int ARow, TCellType Kind)
{
    TCellGraphic* g = Grid->GetCellGraphic(ACol, ARow);
    return g && g->CellType() == Kind ? g : nullptr;
}

// The graphic of the base cell of a merged block.
static TCellGraphic* BaseGraphic(TProStringGrid* Grid, int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    const TPoint b = Grid->BaseCell(ACol, ARow);
    return Grid->GetCellGraphic(b.X, b.Y);
}

static TCellType BaseKind(TProStringGrid* Grid, int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return ctEmpty;
    const TPoint b = Grid->BaseCell(ACol, ARow);
    return Grid->GetCellType(b.X, b.Y);
}

// Every cell of the visible grid, for the Remove...All operations.
static void ForAllCells(TProStringGrid* Grid, const std::function<void(int, int)>& Do)
{
    for (int r = 0; r < Grid->RowCount(); ++r)
        for (int c = 0; c < Grid->ColCount(); ++c) Do(c, r);
}

// ---- bitmaps, icons, pictures and objects that draw themselves --------------------------------

void TProStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* TProStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* bmp = new TBitmap();
    g->SetBitmap(bmp, Transparent, hal, val);
    g->SetCellCreated(true);
    return bmp;
}

TBitmap* TProStringGrid::GetBitmap(int ACol, int ARow)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctBitmap);
    return g ? dynamic_cast<TBitmap*>(g->CellBitmap()) : nullptr;
}

void TProStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

TIcon* TProStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* icon = new TIcon();
    g->SetIcon(icon, hal, val);
    g->SetCellCreated(true);
    return icon;
}

void TProStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TProStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* pic = new TPicture();
    g->SetPicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TPicture* TProStringGrid::GetPicture(int ACol, int ARow)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctPicture);
    return g ? dynamic_cast<TPicture*>(g->CellBitmap()) : nullptr;
}

void TProStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetFilePicture(AFilePicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TProStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* pic = new TFilePicture();
    g->SetFilePicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TFilePicture* TProStringGrid::GetFilePicture(int ACol, int ARow)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctFilePicture);
    return g ? dynamic_cast<TFilePicture*>(g->CellBitmap()) : nullptr;
}

// ---- images of the grid's image list ------------------------------------------------------------

void TProStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages) return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool TProStringGrid::GetImageIdx(int ACol, int ARow, int& idx)
{
    TCellGraphic* g = FGridImages ? GraphicOfKind(this, ACol, ARow, ctImageList) : nullptr;
    if (!g) return false;
    idx = g->CellIndex();
    return true;
}

void TProStringGrid::SetImageIdx(int ACol, int ARow, int Idx)
{
    if (TCellGraphic* g = FGridImages ? GraphicOfKind(this, ACol, ARow, ctImageList) : nullptr) g->SetCellIndex(Idx);
}

void TProStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages) return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (Cells(ACol, ARow).isEmpty()) SetCells(ACol, ARow, QString::number(Aidx));
}

bool TProStringGrid::HasDataImage(int ACol, int ARow) { return BaseKind(this, ACol, ARow) == ctDataImage; }

void TProStringGrid::RemoveDataImage(int ACol, int ARow)
{
    if (RemoveCellGraphicType(ACol, ARow, ctDataImage)) SetCells(ACol, ARow, QString());
}

void TProStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages) return;
    CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Dir, hal, val,
                                                 [this](TObject* Sender, int c, int r) { CellImagesChanged(Sender, c, r); });
}

TIntList* TProStringGrid::GetCellImages(int ACol, int ARow)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctImages);
    return g ? dynamic_cast<TIntList*>(g->CellBitmap()) : nullptr;
}

void TProStringGrid::CellImagesChanged(TObject* Sender, int ACol, int ARow)
{
    (void)Sender;
    RepaintCell(RealToDisplColumn(ACol), ARow);
}

void TProStringGrid::AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent* AObject)
{
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

TInterfacedPersistent* TProStringGrid::GetInterfacedCell(int ACol, int ARow)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctInterface);
    return g ? dynamic_cast<TInterfacedPersistent*>(g->CellBitmap()) : nullptr;
}

intptr_t TProStringGrid::CellGraphicValue(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return -1;
    switch (g->CellType()) {
    case ctBitmap: return reinterpret_cast<intptr_t>(g->CellBitmap());
    case ctIcon: return reinterpret_cast<intptr_t>(g->CellIcon());
    case ctImageList: return g->CellIndex();
    default: return -1;
    }
}

// ---- buttons ---------------------------------------------------------------------------------

void TProStringGrid::AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                               TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TProStringGrid::AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap* TProStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption,
                                         TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* glyph = new TBitmap();
    g->SetBitButton(bw, bh, Caption, glyph, hal, val);
    g->SetCellCreated(true);
    return glyph;
}

bool TProStringGrid::HasButton(int ACol, int ARow)
{
    const TCellType t = BaseKind(this, ACol, ARow);
    return t == ctButton || t == ctBitButton;
}

void TProStringGrid::RemoveButton(int ACol, int ARow)
{
    if (!RemoveCellGraphicType(ACol, ARow, ctButton)) RemoveCellGraphicType(ACol, ARow, ctBitButton);
}

void TProStringGrid::RemoveAllButtons()
{
    ForAllCells(this, [this](int c, int r) { RemoveButton(c, r); });
}

void TProStringGrid::SetButtonText(int ACol, int ARow, const QString& Caption)
{
    if (ACol < 0) return;
    TCellGraphic* g = GetCellGraphic(DisplToRealColumn(ACol), ARow);
    if (!g) return;
    g->SetCellText(Caption);
    RepaintCell(ACol, ARow);
}

QString TProStringGrid::GetButtonText(int ACol, int ARow)
{
    if (ACol < 0) return QString();
    TCellGraphic* g = GetCellGraphic(DisplToRealColumn(ACol), ARow);
    return g ? g->CellText() : QString();
}

void TProStringGrid::PushButton(int ACol, int ARow, bool Push)
{
    if (ACol < 0) return;
    TCellGraphic* g = GetCellGraphic(DisplToRealColumn(ACol), ARow);
    if (!g || g->CellType() == ctNode) return;
    g->SetCellBoolean(Push);
    RepaintCell(ACol, ARow);
}

void TProStringGrid::GetCellGraphicRect(int ACol, int ARow, TRect& R)
{
    R = TRect{};
    if (ACol < 0 || ARow < 0) return;
    TCellGraphic* g = GetCellGraphic(DisplToRealColumn(ACol), ARow);
    if (!g) return;
    const TRect cell = CellRect(ACol, ARow);
    // The drawing keeps the button's offset in the cell: top in the high half, left in the low.
    const auto offset = uint32_t(int64_t(g->CellValue()));
    const auto size = uint32_t(g->CellIndex());
    R.Left = cell.Left + int(offset & 0xFFFFu);
    R.Top = cell.Top + int(offset >> 16);
    R.Right = R.Left + int(size & 0xFFFFu);
    R.Bottom = R.Top + int(size >> 16);
    if (g->CellVAlign() == vaFull) {
        R.Top = cell.Top;
        R.Bottom = cell.Bottom;
    }
    if (g->CellHAlign() == haFull) {
        R.Left = cell.Left;
        R.Right = cell.Right;
    }
}

// ---- progress bars, pies and range indicators --------------------------------------------------

void TProStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, 0, BKColor, 0, QString(), 0, 100);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->SetCellBoolean(false);
    g->SetCellIndex(0);
    g->SetCellAngle(0);
}

void TProStringGrid::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, QString(), 0, 100);
}

void TProStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const QString& Fmt, int Min, int Max)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctProgress);
    // The two colours ride in the object fields as plain values, never freed.
    g->SetCellBitmap(reinterpret_cast<TObject*>(intptr_t(FGColor)));
    g->SetCellIcon(reinterpret_cast<TObject*>(intptr_t(BKColor)));
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellText(Fmt);
    g->SetCellBoolean(true);
    g->SetCellIndex(FGTextColor);
    g->SetCellAngle(BKTextColor);
    if (FAutoNumAlign) SetAlignments(ACol, ARow, taRightJustify);
}

bool TProStringGrid::HasProgress(int ACol, int ARow) { return BaseKind(this, ACol, ARow) == ctProgress; }

void TProStringGrid::AddProProgress(int ACol, int ARow, int Min, int Max)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctXPProgress);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
}

void TProStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctProgressPie, haBeforeText, vaTop);
    g->SetCellBitmap(reinterpret_cast<TObject*>(intptr_t(Color)));
    g->SetCellAngle(Value);
}

void TProStringGrid::SetProgressPie(int ACol, int ARow, int Value)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctProgressPie);
    if (!g) return;
    g->SetCellAngle(Value);
    RepaintCell(RealToDisplColumn(ACol), ARow);
}

void TProStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctRangeIndicator);
    g->SetCellIndex(Range);
    g->SetCellBitmap(reinterpret_cast<TObject*>(intptr_t(NegColor)));
    g->SetCellIcon(reinterpret_cast<TObject*>(intptr_t(PosColor)));
    g->SetCellBoolean(ShowValue);
}

// ---- shapes and ratings ------------------------------------------------------------------------

void TProStringGrid::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctShape, hal, val);
    g->SetCellAngle(Shape);
    g->SetCellIndex(FillColor);
    g->SetCellBitmap(reinterpret_cast<TObject*>(intptr_t(LineColor)));
}

void TProStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor)
{
    if (TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctShape)) g->SetCellIndex(FillColor);
}

TColor TProStringGrid::GetShapeColor(int ACol, int ARow)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctShape);
    return g ? TColor(g->CellIndex()) : clNone;
}

void TProStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctRating, haFull, vaTop);
    g->SetCellAngle(Scale);
    g->SetCellIndex(FillColor);
    g->SetCellBitmap(reinterpret_cast<TObject*>(intptr_t(EmptyColor)));
}

bool TProStringGrid::HasRating(int ACol, int ARow) { return BaseKind(this, ACol, ARow) == ctRating; }

bool TProStringGrid::RatingChange(int ACol, int ARow, double& NewRate)
{
    bool allow = true;
    if (OnRatingChange) OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}

// ---- scroll bars -------------------------------------------------------------------------------

// Page size and range of an auto-range scroll bar: the row's height and the text's height.
static void FitScrollRange(TProStringGrid* Grid, TCellGraphic* g, int ACol, int ARow)
{
    g->SetCellAngle(Grid->RowHeights(ARow));
    g->SetCellErrFrom(Grid->GetCellTextSize(ACol, ARow, true, true).height());
}

void TProStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctScrollbar);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellIndex(0);
    g->SetCellBoolean(AutoRange);
    if (AutoRange) FitScrollRange(this, g, ACol, ARow);
}

bool TProStringGrid::HasScrollBar(int ACol, int ARow) { return BaseKind(this, ACol, ARow) == ctScrollbar; }

bool TProStringGrid::HasAutoRangeScrollBar(int ACol, int ARow)
{
    TCellGraphic* g = BaseGraphic(this, ACol, ARow);
    return g && g->CellType() == ctScrollbar && g->CellBoolean();
}

static TCellGraphic* BaseScrollBar(TProStringGrid* Grid, int ACol, int ARow)
{
    TCellGraphic* g = BaseGraphic(Grid, ACol, ARow);
    return g && g->CellType() == ctScrollbar ? g : nullptr;
}

void TProStringGrid::SetScrollPosition(int ACol, int ARow, int Pos)
{
    TCellGraphic* g = BaseScrollBar(this, ACol, ARow);
    if (!g) return;
    g->SetCellIndex(Pos);
    RepaintCell(RealToDisplColumn(ACol), ARow);
}

int TProStringGrid::GetScrollPosition(int ACol, int ARow)
{
    TCellGraphic* g = BaseScrollBar(this, ACol, ARow);
    return g ? g->CellIndex() : -1;
}

void TProStringGrid::SetScrollProp(int ACol, int ARow, TScrollProp Prop)
{
    TCellGraphic* g = BaseScrollBar(this, ACol, ARow);
    if (!g) return;
    g->SetCellAngle(Prop.PageSize);
    g->SetCellErrFrom(Prop.Range);
}

TProStringGrid::TScrollProp TProStringGrid::GetScrollProp(int ACol, int ARow)
{
    TCellGraphic* g = BaseScrollBar(this, ACol, ARow);
    if (!g) return {-1, -1};
    return {g->CellAngle(), g->CellErrFrom()};
}

void TProStringGrid::CellTextChanged(int ACol, int ARow)
{
    TBaseGrid::CellTextChanged(ACol, ARow);
    // Only the cell's own object: a cell write must stay cheap.
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (g && g->CellType() == ctScrollbar && g->CellBoolean()) FitScrollRange(this, g, ACol, ARow);
}

// ---- comments ----------------------------------------------------------------------------------

void TProStringGrid::AddComment(int ACol, int ARow, const QString& Comment)
{
    AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor());
}

void TProStringGrid::AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color)
{
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctComment);
    g->SetCellText(Comment);
    g->SetCellIndex(Color);
}

void TProStringGrid::RemoveAllComments()
{
    ForAllCells(this, [this](int c, int r) { RemoveComment(c, r); });
}

bool TProStringGrid::IsComment(int ACol, int ARow, QString& Comment)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctComment);
    if (!g) return false;
    Comment = g->CellText();
    return true;
}

QString TProStringGrid::GetComment(int ACol, int ARow)
{
    QString comment;
    IsComment(ACol, ARow, comment);
    return comment;
}

void TProStringGrid::SetComment(int ACol, int ARow, const QString& Value)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) AddComment(ACol, ARow, Value);
    else if (g->CellType() == ctComment) g->SetCellText(Value);
}

// ---- text markers ------------------------------------------------------------------------------

void TProStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (g && IsShared(g)) return;
    if (!g) g = NewGraphic(this, ACol, ARow, ctEmpty);
    g->SetCellErrFrom(ErrPos);
    g->SetCellErrLen(ErrLen);
    RepaintCell(RealToDisplColumn(ACol), ARow);
}

void TProStringGrid::RemoveMarker(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || IsShared(g)) return;
    if (g->CellType() == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->SetCellErrFrom(0);
    g->SetCellErrLen(0);
}

void TProStringGrid::RemoveAllMarkers()
{
    ForAllCells(this, [this](int c, int r) { RemoveMarker(c, r); });
}

void TProStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    ErrPos = g ? g->CellErrFrom() : 0;
    ErrLen = g ? g->CellErrLen() : 0;
}

// ---- balloons ----------------------------------------------------------------------------------

void TProStringGrid::AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    const bool carrier =
        g && (g->CellType() == ctCheckBox || g->CellType() == ctDataCheckBox || g->CellType() == ctRadioButton);
    if (g && !carrier) return;
    if (carrier) g->FreeBalloonList();  // a second balloon replaces the first
    else g = NewGraphic(this, ACol, ARow, ctBalloon);
    auto* list = new TGridStrings();
    list->SetStrings({Title, Text});
    g->SetCellBitmap(list);
    g->SetCellIndex(Icon);
    g->SetCellAngle(carrier ? 1 : 0);
}

bool TProStringGrid::HasBalloon(int ACol, int ARow) { return GetCellType(ACol, ARow) == ctBalloon; }

bool TProStringGrid::IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    const TCellType t = g->CellType();
    const bool riding = (t == ctCheckBox || t == ctDataCheckBox || t == ctRadioButton) && g->CellAngle() == 1;
    if (t != ctBalloon && !riding) return false;
    auto* list = dynamic_cast<TGridStrings*>(g->CellBitmap());
    Title = list ? (*list)[0] : QString();
    Text = list ? (*list)[1] : QString();
    Icon = TBalloonIcon(g->CellIndex());
    return true;
}

void TProStringGrid::RemoveBalloon(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    const TCellType t = g->CellType();
    if ((t == ctCheckBox || t == ctDataCheckBox || t == ctRadioButton) && g->CellAngle() == 1)
        g->FreeBalloonList();
    else
        RemoveCellGraphicType(ACol, ARow, ctBalloon);
}

// ---- expand buttons ----------------------------------------------------------------------------

void TProStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight)
{
    const int collapsed = RowHeights(ARow);
    TCellGraphic* g = NewGraphic(this, ACol, ARow, ctExpand);
    g->SetCellAngle(ExpandedHeight);
    g->SetCellIndex(collapsed);
    g->SetCellVar(false);
}

bool TProStringGrid::HasExpand(int ACol, int ARow) { return BaseKind(this, ACol, ARow) == ctExpand; }

bool TProStringGrid::ToggleExpand(int ACol, int ARow)
{
    TCellGraphic* g = BaseGraphic(this, ACol, ARow);
    if (!g || IsShared(g)) return false;
    g->SetCellVar(!g->CellVar().toBool());
    return g->CellVar().toBool();
}

bool TProStringGrid::GetExpandState(int ACol, int ARow)
{
    TCellGraphic* g = BaseGraphic(this, ACol, ARow);
    return g && g->CellVar().toBool();
}

int TProStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    TCellGraphic* g = BaseGraphic(this, ACol, ARow);
    if (!g) return DefaultRowHeight();
    return Expanded ? g->CellAngle() : g->CellIndex();
}

void TProStringGrid::GetExpandRect(int ACol, int ARow, TRect& R)
{
    R = TRect{};
    if (!HasExpand(ACol, ARow)) return;
    const TRect cell = CellRect(RealToDisplColumn(ACol), ARow);
    R = TRect{cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13};
}

// ---- rotated text ------------------------------------------------------------------------------

void TProStringGrid::AddRotated(int ACol, int ARow, int16_t AAngle, const QString& s)
{
    CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
    SetCells(ACol, ARow, s);
}

void TProStringGrid::SetRotated(int ACol, int ARow, int16_t AAngle)
{
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (!g) g = CreateCellGraphic(ACol, ARow);
    g->SetAngle(AAngle);
}

bool TProStringGrid::IsRotated(int ACol, int ARow, int& aAngle)
{
    TCellGraphic* g = GraphicOfKind(this, ACol, ARow, ctRotated);
    if (!g) return false;
    aAngle = g->CellAngle();
    return true;
}
