#include "grid/control/pro_string_grid.h"
#include "grid/control/editor_link.h"

#include "grid/base/text_packing.h"
#include "grid/control/grid_selection.h"
#include "grid/control/grid_unit.h"
#include "platform/core/sysutils.h"

#include <QApplication>
#include <QBuffer>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>
#include <numeric>

int HandCursor = 8009;


// ---- construction --------------------------------------------------------------------------

TProStringGrid::TProStringGrid(QWidget* AOwner, bool Designing) : TBaseGrid(AOwner), FDesigning(Designing)
{
    // The grid code's start-up runs before the first grid exists.
    InitGridUnit();

    // A grid newly placed in a designer gets the texts of its settings objects.
    const bool initDesign = FDesigning && !FLoading;

    // Start values of the grid's own state.
    FLastTabCol = -1;
    FLastTabRow = -1;
    FHoverlink = -1;
    FTones.Background.BrushColor = clNone;
    FTones.Background.BorderColor = clNone;
    FShowColNrs = true;
    FOleDragCol = -1;
    FOldOfficeTheme = otUnknown;
    FLastDesignChoice = -1;
    FFitCellsInGrid = true;
    FFilterNormalCellsOnly = true;

    // The owned objects, in order, with their values in between.
    CreateSubObjects(initDesign);

    // The size of a new grid.
    SetRowCount(10);
    resize(400, 0xFA);
    // (the hidden-row list and filter were made above; AutoSize stays off)

    // Colours, selection look, text and printing defaults.
    FHintColor = clInfoBk;
    FHighlightColor = clHighlight;
    FHighLightTextColor = clHighlightText;
    FSelectionColor = 0x00EACAB6;
    FSelectionColorTo = clNone;
    FSelectionMirrorColor = clNone;
    FSelectionMirrorColorTo = clNone;
    FSelectionTextColor = clBlack;
    FShowSelection = true;
    FQuoteEmptyCells = true;
    FSelectionRectangleColor = 0;
    FEnableHTML = true;
    FURLColor = clBlue;
    FVAlignment = vtaTop;
    FMouseSelectMode = msNormal;
    FMouseSelectStart = -1;
    FOldRowSel = -1;
    FShowNullDates = true;
    FSaveFixedCells = true;
    FSaveVirtCells = true;
    FComboIdx = -1;
    FPrintPageFrom = 1;
    FPrintPageTo = 1;
    FLastHintPos = {-1, -1};

    // A grid on a form follows the form's size; the filter goes with the grid.
    if (auto* form = qobject_cast<QDialog*>(AOwner); form && !FDesigning) {
        PrevSizeX = form->width();
        PrevSizeY = form->height();
        form->installEventFilter(this);
        FOwnerForm = form;
    }

    // Every column shown, cell formats, row heights and the look.
    FVisibleCol.fill(true);
    FAllColWidths.fill(0);
    FNumHidden = 0;
    FDelimiter = QChar(0);
    FFloatFormat = QStringLiteral("%.2f");
    FPasswordChar = QLatin1Char('*');
    FCheckTrue = QStringLiteral("Y");
    FCheckFalse = QStringLiteral("N");
    SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    ColchgFlg = true;
    Colclicked = -1;
    Rowclicked = -1;
    FSaveWithHTML = true;
    FLook = glXP;
    FProGradFrom = 0x00FFFFFF;
    FProGradTo = ColorToRGB(clBtnFace);
    FProGradMirrorFrom = clNone;
    FProGradMirrorTo = clNone;

    // What the desktop offers.
    FIsWinXP = IsWinXPOrLater();
    FIsWin7 = IsVistaOrLater();
    FIsComCtl6 = ((CommonControlsVersion() >> 16) & 0xFF) > 5;
    FBorderColor = FIsWinXP ? 0x00B99D7F : 0x00808080;
    FScrollType = ssNormal;
    FScrollColor = clNone;
    FScrollWidth = QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
    FIsWinVista = IsVistaOrLater();

    // The scroll position the first scroll is compared with.
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();

    // A designer shows no editor controls.
    if (!FDesigning) CreateEditorControls();

    // Links show the platform's hand cursor.
    HandCursor = crHandPoint;
}

void TProStringGrid::CreateSubObjects(bool InitDesign)
{
    FFooterPanel = new TFooterPanel(this);
    AddBottomAligned(FFooterPanel);
    FSearchPanel = new TSearchPanel(this);
    AddBottomOverlay(FSearchPanel);
    WireSearchPanel();
    FFocusHelper = std::make_unique<TFocusHelper>(this);
    FSearchFooter = std::make_unique<TSearchFooter>(this, InitDesign);
    FSearchFooter->OnChange = [this](TObject* s) { SearchFooterChanged(s); };
    FLastValidation = true;
    FAutoFilterUpdate = true;
    FFilterCol = -1;
    FHoverFixedX = -1;
    FHoverFixedY = -1;
    FHoverFixedCells = hfNone;
    FUseInternalHintClass = true;
    FSelectionColorMixerFactor = 50;
    FHintShowLargeTextPos = hpCell;
    FFilterDropDownColumns = fdNormal;
    FXMLEncoding = QStringLiteral("UTF-8");
    FFilterDropDownClear = QStringLiteral("(All)");
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    FControlLook = std::make_unique<TControlLook>(this);
    FNavigation = std::make_unique<TNavigation>();
    FNavigation->OnChange = [this](TObject* s) { NavigationChanged(s); };
    FColumnSize = std::make_unique<TColumnSize>(this);
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](TObject* s) { BandsChanged(s); };
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>(this);
    FMouseActions->OnChange = [this](TObject* s) { MouseActionsChanged(s); };
    FMouseActions->OnIsDesigning = [this](TObject*, bool& d) { IsDesigning(d); };
    FMouseActions->OnInvalidate = [this](TObject* s) { InvalidateHook(s); };
    FGrouping = std::make_unique<TGrouping>(this);
    FColumnHeaders = std::make_unique<TGridStrings>();
    FColumnHeaders->OnChange = [this](TObject*) {
        UpdateColumnHeaders();
        ShowColumnHeaders();
    };
    FImageCache = std::make_unique<THTMLPictureCache>();
    FOrigColSizes = std::make_unique<TIntList>(-1, -1);
    FFixedFont.SetName(QStringLiteral("Tahoma"));
    FFixedFont.SetStyle(fsBold);
    FFixedFont.OnChange = [this](TObject*) { Invalidate(); };
    if (FDesigning) FActiveCellFont.SetName(QStringLiteral("Tahoma"));
    FActiveCellFont.SetStyle(fsBold);
    FActiveCellFont.OnChange = [this](TObject*) { Invalidate(); };
    FShowDesignHelper = true;
    FEnhRowColMove = true;
    FDefaultEditor = edNormal;
    FDefaultAlignment = taLeftJustify;
    FDisabledFontColor = clSilver;
    FActiveCellColor = clGray;
    FActiveCellColorTo = clNone;
    FUseDisabledFont = true;
    FXYOffset = {2, 2};
    FPushedCellButton = {-1, -1};
    FOldSize = -1;
    FRowHeaders = std::make_unique<TGridStrings>();
    FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
    Sortlist = std::make_unique<TGridStrings>();
    FLookupItems = std::make_unique<TGridStrings>();
    FSelect = std::make_unique<TGridSelection>();
    FSortIndexes = std::make_unique<TSortIndexList>(0, 0);
    FSortRowXRef = std::make_unique<TIntList>(0, 0);
    FUnSortRowXRef = std::make_unique<TIntList>(0, 0);
    FMergedColumns = std::make_unique<TIntList>(0, 0);
    FMergedColumns->OnChange = [this](TObject*, int, int) { MergedColumnsChanged(); };
    FRowIndicator = std::make_unique<TBitmap>();
    FBackGround = std::make_unique<TBackGround>(this);
    FScrollHintWnd = new THTMLHintWindow(this);
    FControlList = std::make_unique<TControlList>();
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSyncGrid = std::make_unique<TSyncGrid>(this);
    SetScrollBars(ssBoth);
    FProGradMirrorFrom = clNone;
    FProGradMirrorTo = clNone;
    FEnableWheel = true;
    FGroupColumn = -1;
    FClipTopLeft = {-1, -1};
    FWordWrapEx = true;
    FIntelliZoom = true;
    FLoadFirstRow = true;
    FInvalidEntryIcon = ieWarning;
    FGridItems.clear();
    FFilter = std::make_unique<TFilter>(this);
    FBalloonSettings = std::make_unique<TBalloonSettings>();
    FBalloonSettings->OnEnableChange = [this](TObject* s) { BalloonEnableChanged(s); };
    FShowModified = std::make_unique<TShowModified>();
    FShowModified->OnChange = [this](TObject* s) { ShowModifiedChanged(s); };
    FNotifierList.clear();
    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FCellGraphic = std::make_unique<TCellGraphic>();
    FIgnoreColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    FFilterDropDown->OnChange = [this](TObject*) { Invalidate(); };
    FDropList = new TDropList(this);
    FDropList->OnSelect = [this](int i) { FilterSelect(this, i); };
    FDropCheckList = new TDropCheckList(this);
    FDropCheckList->OnSelect = [this](int i) { FilterCheckSelect(this, i); };
    FFilterList = std::make_unique<TGridStrings>();
    FFilterList->Sorted = true;
    FFilterList->IgnoreDuplicates = true;
}

void TProStringGrid::CreateEditorControls()
{
    // Each control is created the first time the grid uses it.
    FFocusWindow.Arm([this] { return new TGridFocusWindow(this); });
    ArwU.Arm([this] { return new TArrowWindow(this, arrUp); });
    ArwD.Arm([this] { return new TArrowWindow(this, arrDown); });
    ArwL.Arm([this] { return new TArrowWindow(this, arrLeft); });
    ArwR.Arm([this] { return new TArrowWindow(this, arrRight); });
    EditCombo.Arm([this] {
        auto* c = new TGridCombo(this);
        c->FIsWinXP = FIsWinXP;
        c->FIsVista = IsVistaOrLater();
        c->FIsComCtl6 = FIsComCtl6;
        return c;
    });
    EditTrans.Arm([this] { return new TGridTransEdit(this); });
    ComboTrans.Arm([this] { return new TGridTransCombo(this); });
    EditCheck.Arm([this] { return new TGridCheckBox(this); });
    FStyle = tsWindowsXP;
    EditBtn.Arm([this] {
        auto* b = new TGridEditBtn(this);
        b->SetIsWinXP(FIsWinXP);
        return b;
    });
    UnitEditBtn.Arm([this] {
        auto* b = new TGridUnitEditBtn(this);
        b->OnUnitChanged = [this](QObject*, const QString& u) { UnitChanged(this, u); };
        return b;
    });
    GridButton.Arm([this] {
        auto* b = new TGridButton(this);
        b->OnClick = [this] { GridButtonClick(); };
        return b;
    });
    MoveButton.Arm([this] { return new THeaderDragButton(this, this); });
    EditMode = false;
    EditControl = edNormal;
    FEditControl.Arm([this] { return new TControlEdit(this); });
    FComboControl.Arm([this] { return new TControlCombo(this); });
    // Made after the grid has its parent, a scroll bar goes straight to the grid.
    auto hiddenBar = [this] {
        auto* b = new QScrollBar(Qt::Vertical, parentWidget() ? this : nullptr);
        b->hide();
        return b;
    };
    FScrollBar.Arm(hiddenBar);
    FPaintScrollBar.Arm(hiddenBar);
}

int TProStringGrid::CreatedEditorControls() const
{
    const QObject* made[] = {FFocusWindow.Created(), ArwU.Created(),        ArwD.Created(),      ArwL.Created(),
                             ArwR.Created(),         EditCombo.Created(),   EditTrans.Created(), ComboTrans.Created(),
                             EditCheck.Created(),    EditBtn.Created(),     UnitEditBtn.Created(),
                             GridButton.Created(),   MoveButton.Created(),  FEditControl.Created(),
                             FComboControl.Created(), FScrollBar.Created(), FPaintScrollBar.Created()};
    return int(std::count_if(std::begin(made), std::end(made), [](const QObject* o) { return o != nullptr; }));
}

// ---- destruction ---------------------------------------------------------------------------

TProStringGrid::~TProStringGrid()
{
    // Free() has torn the grid down already; a grid deleted by its parent is torn down here.
    Teardown();
}

void TProStringGrid::AfterConstruction() { TBaseGrid::AfterConstruction(); }

void TProStringGrid::BeforeDestruction()
{
    Teardown();
    TBaseGrid::BeforeDestruction();
}

void TProStringGrid::Teardown()
{
    if (FTornDown) return;
    FTornDown = true;

    // Balloons and the owner form's resize filter let go of the grid first.
    if (!FDesigning) {
        BalloonDone();
        if (FOwnerForm) FOwnerForm->removeEventFilter(this);
    }
    if (FEditLink) FEditLink->GridGone(this);
    // Column sizes are saved while the columns are still there.
    if (FColumnSize->Save()) SaveColSizes();
    // Show every hidden row and column so that all their cell properties are reached.
    FClearTextOnly = false;
    FSaveHiddenCells = false;
    // Counted after the nodes are expanded, whose child rows come back into the store.
    if (HasNodesHook()) ExpandAll();
    int r = RowCount(), c = ColCount();
    UnHideColumnsAll();
    if (HiddenRowCount() == 0 && !HasNodesHook()) {
        r = std::max(r, FMaxRowCount);
        c = std::max(c, FMaxColCount);
    }
    // The grid's own cell properties are freed.
    if (r > 0 && c > 0 && FHasCellProps) ClearRect(0, 0, c - 1, r - 1);

    // The settings objects go with the grid (their owners below free them in order).
    FFocusHelper.reset();
    FIgnoreColumns.reset();
    FProgressAppearance.reset();
    FFloatingFooter.reset();
    FCellGraphic.reset();
    FControlList.reset();
    FSortRowXRef.reset();
    FUnSortRowXRef.reset();
    FMergedColumns.reset();
    FSelect.reset();
    FNotifierList.clear();
    FPrintSettings.reset();
    FHTMLSettings.reset();
    FSortSettings.reset();
    FDragDropSettings.reset();
    FDragScrollOptions.reset();
    FControlLook.reset();
    FNavigation.reset();
    FColumnSize.reset();
    FColumnOrder.reset();
    FCellNode.reset();
    FBands.reset();
    FSizeWhileTyping.reset();
    FImageCache.reset();
    FMouseActions.reset();
    FColumnHeaders.reset();
    FGrouping.reset();
    FFixedFont.OnChange = nullptr;
    FActiveCellFont.OnChange = nullptr;
    FRowHeaders.reset();
    FLookupItems.reset();
    FSortIndexes.reset();
    FRowIndicator.reset();
    FBackGround.reset();
    delete FFooterPanel;
    FFooterPanel = nullptr;
    delete FSearchPanel;
    FSearchPanel = nullptr;
    FSearchFooter.reset();
    FBalloonSettings.reset();
    FShowModified.reset();
    FOrigColSizes.reset();
    FFilterDropDown.reset();
    // An open filter list gives up the focus and closes while it is whole, and the focus
    // goes nowhere: the grid is half torn down.
    for (QWidget* l : {static_cast<QWidget*>(FDropList), static_cast<QWidget*>(FDropCheckList)}) {
        if (!l) continue;
        l->clearFocus();
        l->hide();
    }
    delete FDropList;
    FDropList = nullptr;
    delete FDropCheckList;
    FDropCheckList = nullptr;
    FFilterList.reset();
    FSyncGrid.reset();
    if (!FDesigning) {
        for (auto* a : {&ArwU, &ArwD, &ArwL, &ArwR}) a->Drop();
    }
    Sortlist.reset();
    FGridItems.clear();
    FFilter.reset();

    // The cursor the grid found is put back.
    SetCursor(FOldCursor);

    // The editor controls.
    if (!FDesigning) {
        auto drop = [](auto& w) { w.Drop(); };
        drop(FFocusWindow);
        drop(EditCombo);
        drop(EditTrans);
        drop(ComboTrans);
        drop(EditCheck);
        drop(EditBtn);
        drop(UnitEditBtn);
        drop(GridButton);
        drop(MoveButton);
        drop(FEditControl);
        drop(FComboControl);
        DropSpinAndDateEditors();
        DropDropDownEditors();
        drop(FScrollBar);
        drop(FPaintScrollBar);
    }
}

// ---- window, loading, copying --------------------------------------------------------------

void TProStringGrid::CreateWnd()
{
    if (FTornDown) return;
    TBaseGrid::CreateWnd();
    if (!parentWidget()) return;
    if (!FDesigning) {
        for (QScrollBar* b : {FScrollBar.Created(), FPaintScrollBar.Created()})
            if (b) b->setParent(this), b->hide();
        if (FBalloonSettings->Enable()) BalloonInit();
    }
    FFooterPanel->CreateWnd();
    FSearchPanel->setVisible(FSearchFooter->Visible());
    FSearchPanel->resize(FSearchPanel->width(), FSearchFooter->Visible() ? 32 : 0);
    RealignBottom();
    if (FColumnSize->Save()) LoadColSizes();
    FGridTimerID = 111;
    SetTimer(FGridTimerID, GridTimerInterval);
    if (FDesigning && !FLoaded && !FLoading) {
        TFont f;
        f.Assign(*Font());
        f.SetName(QStringLiteral("Tahoma"));
        Font()->Assign(f);
    }
    if (FIsWinXP) FIsWinXP = IsThemeActive();
    wheelmsg = 0;
    wheelscrl = 0;
    wheelpan = false;
    // Lines per wheel step as the desktop sets them; -1 means a page.
    wheelscrl = QApplication::wheelScrollLines();
    if (wheelscrl < 0) wheelscrl = VisibleRowCount();
    wheelmsg = 522;
}

void TProStringGrid::Loaded()
{
    FLoading = false;
    FOldCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glZUZ) {
        SetLook(glCustom);
        SetLook(glZUZ);
    }
    if (FColumnSize->Save()) LoadColSizes();
    FFixedRowsMin = FixedRows();
    FFixedColsMin = FixedCols();
    FMinRowHeight = DefaultRowHeight();
    FMinColWidth = 10;
    FMaxRowCount = RowCount();
    FLoaded = true;
    if (Options().Contains(goAlwaysShowEditor)) {
        FNavigation->SetAlwaysEdit(true);
        SetOptions(Options() - goAlwaysShowEditor);
    }
    if (!FIsWinXP && FControlLook->ControlStyle() == csTheme && !FDesigning) FControlLook->SetControlStyle(csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    SearchFooterChanged(FSearchFooter.get());
    UpdateScrollBarAlways(false);
    if (FAutoThemeAdapt && !FDesigning) GetThemeNotifier(this)->RegisterWindow(this);
    InitOrigColSizes();
    SetColumnOrder();
    if (FBalloonSettings->Enable()) BalloonInit();
}

void TProStringGrid::Assign(const TObject* Source)
{
    auto* s = const_cast<TProStringGrid*>(dynamic_cast<const TProStringGrid*>(Source));
    if (!s) return;
    Font()->Assign(*s->Font());
    FActiveCellColor = s->FActiveCellColor;
    FActiveCellColorTo = s->FActiveCellColorTo;
    FActiveCellFont.Assign(s->FActiveCellFont);
    FActiveCellShow = s->FActiveCellShow;
    SetActiveRowShow(s->ActiveRowShow());
    FAutoThemeAdapt = s->FAutoThemeAdapt;
    FAutoFilterUpdate = s->FAutoFilterUpdate;
    FFilterDropDown->Assign(s->FFilterDropDown.get());
    FMouseActions->Assign(s->FMouseActions.get());
    FNavigation->Assign(s->FNavigation.get());
    FGrouping->Assign(s->FGrouping.get());
    FSearchFooter->Assign(s->FSearchFooter.get());
    FPrintSettings->Assign(s->FPrintSettings.get());
    FFilter->Assign(s->FFilter.get());
    FHTMLSettings->Assign(s->FHTMLSettings.get());
    FBands->Assign(s->FBands.get());
    FCellNode->Assign(s->FCellNode.get());
    FSortSettings->Assign(s->FSortSettings.get());
    FDragScrollOptions->Assign(s->FDragScrollOptions.get());
    FDragDropSettings->Assign(s->FDragDropSettings.get());
    FProgressAppearance->Assign(s->FProgressAppearance.get());
    FColumnSize->Assign(s->FColumnSize.get());
    FSyncGrid->Assign(s->FSyncGrid.get());
    FFocusHelper->Assign(s->FFocusHelper.get());
    FFixedRowAlways = s->FFixedRowAlways;
    SetColCount(s->ColCount());
    SetRowCount(s->RowCount());
    SetFixedRows(s->FixedRows());
    SetFixedCols(s->FixedCols());
    SetDefaultColWidth(s->DefaultColWidth());
    SetDefaultRowHeight(s->DefaultRowHeight());
    SetFixedRowHeight(s->FixedRowHeight());
    SetFixedColWidth(s->FixedColWidth());
    FInvalidEntryIcon = s->FInvalidEntryIcon;
    SetOptions(s->Options());
    for (int i = 0; i < ColCount(); ++i) SetColWidths(i, s->ColWidths(i));
    FColumnHeaders->Assign(s->FColumnHeaders.get());
    for (int i = 0; i < RowCount(); ++i) SetRowHeights(i, s->RowHeights(i));
    FScrollWidth = s->FScrollWidth;
    FScrollBarAlways = s->FScrollBarAlways;
    SetScrollBars(s->ScrollBars());
    FScrollColor = s->FScrollColor;
    FScrollType = s->FScrollType;
    AssignCells(Source);
}

void TProStringGrid::AssignCells(const TObject* Source)
{
    auto* s = const_cast<TProStringGrid*>(dynamic_cast<const TProStringGrid*>(Source));
    if (!s) return;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    s->SaveToStream(buffer);
    buffer.seek(0);
    LoadFromStream(buffer);
}

void TProStringGrid::Invalidate()
{
    // One repaint is swallowed after an edit change.
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!FLoading && FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->update();
}

void TProStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    int h = AHeight;
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const int s = (VisibleColCount() + FixedCols() < ColCount()) ? HorizontalScrollBarHeight() : 0;
        const int b = BorderStyle() == bsSingle ? 2 : 0;
        h = AHeight - ((AHeight - s - b) % DefaultRowHeight()) + b;
    }
    setGeometry(ALeft, ATop, AWidth, h);
}

int TProStringGrid::HorizontalScrollBarHeight() const
{
    return QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

void TProStringGrid::SetBorderColor(TColor v)
{
    if (v == FBorderColor) return;
    FBorderColor = v;
    if (parentWidget()) update();
}

QString TProStringGrid::GetEditMask(int ACol, int ARow)
{
    QString v = FEditMask;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, v);
    return v;
}

TFont* TProStringGrid::GetCellFont(int ACol, int ARow)
{
    if (!HasCellProperties(ACol, ARow)) return Font();
    TCellProperties* p = GetCellProperties(ACol, ARow);
    cf.SetName(p->FontName());
    cf.SetSize(p->FontSize());
    cf.SetStyle(p->FontStyle());
    cf.SetColor(p->FontColor());
    return &cf;
}

void TProStringGrid::Resize()
{
    TBaseGrid::Resize();
    if (FTornDown) return;
    if (OnGridResize) OnGridResize(this);
    if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateScrollBarAlways(false);
    CellControlsUpdate(false);
}

bool TProStringGrid::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == FOwnerForm && e->type() == QEvent::Resize && !FTornDown) FormResized();
    return TBaseGrid::eventFilter(watched, e);
}

void TProStringGrid::FormResized()
{
    if (!FOwnerForm) return;
    if (FSizeWithForm) {
        resize(width() + FOwnerForm->width() - PrevSizeX, height() + FOwnerForm->height() - PrevSizeY);
    }
    PrevSizeX = FOwnerForm->width();
    PrevSizeY = FOwnerForm->height();
    if (FColumnSize->Stretch()) StretchColumn(FColumnSize->StretchColumn());
}

// ---- dimensions ------------------------------------------------------------------------------

void TProStringGrid::SetRowCount(int Value)
{
    const int old = RowCount();
    if (RowCount() == FixedRows() && FFixedRowAlways && FSelHidden) UnHideSelection();
    TStringGrid::SetRowCount(Value);
    if (FFixedRowAlways && RowCount() > FFixedRowsMin) SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    if (FFooterPanel) FFooterPanel->update();
    UpdateScrollBarAlways(false);
    // The footer row stays the last row.
    if (FFloatingFooter && FFloatingFooter->Visible() && Value != old && old > 0) {
        const int newLast = RowCount() - 1;
        for (int c = 0; c < TotalColCount(); ++c) SetGridCell(c, newLast, GetGridCell(c, old - 1));
        FNilObjects = true;
        for (int c = 0; c < TotalColCount(); ++c) {
            TObject* o = GetGridObject(c, old - 1);
            SetGridObject(c, newLast, o);
            SetGridObject(c, old - 1, nullptr);
            if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerRow(newLast);
            SetGridCell(c, old - 1, QString());
        }
        CalcFooter(-1);
        FNilObjects = false;
    }
}

void TProStringGrid::SetColCount(int Value)
{
    TStringGrid::SetColCount(Value);
    if (FFixedColAlways && ColCount() > FFixedColsMin) SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    if (FFooterPanel) FFooterPanel->update();
    SetBounds(x(), y(), width(), height());
    UpdateScrollBarAlways(false);
}

int TProStringGrid::FixedRows() const
{
    const int n = TStringGrid::FixedRows();
    return (n == 0 && FFixedRowAlways) ? 1 : n;
}

int TProStringGrid::FixedCols() const
{
    const int n = TStringGrid::FixedCols();
    return (n == 0 && FFixedColAlways) ? 1 : n;
}

void TProStringGrid::SetFixedRows(int Value)
{
    if (Value >= RowCount() && FFixedRowAlways) TStringGrid::SetFixedRows(RowCount() - 1);
    else TStringGrid::SetFixedRows(Value);
    if (!FLoading) FFixedRowsMin = Value;
}

void TProStringGrid::SetFixedCols(int Value)
{
    if (Value >= ColCount() && FFixedColAlways) TStringGrid::SetFixedCols(ColCount() - 1);
    else TStringGrid::SetFixedCols(Value);
    if (!FLoading) FFixedColsMin = Value;
}

void TProStringGrid::SetCol(int Value)
{
    TStringGrid::SetCol(Value);
    if (auto* other = FSyncGrid ? FSyncGrid->Grid() : nullptr; other && FSyncGrid->SelectionColumn())
        other->TStringGrid::SetCol(Col());
}

void TProStringGrid::SetRowEx(int Value)
{
    if (Col() >= ColCount() || Col() < 0) MoveToCell(FixedCols(), Value);
    TStringGrid::SetRow(Value);
    if (Row() != FOldRowSel && OnRowChanged) {
        OnRowChanged(this, FOldRowSel, Row());
        FOldRowSel = Row();
    }
    if (FMouseActions->DisjunctRowSelect()) SelectionToRowSelect(false);
    if (auto* other = FSyncGrid->Grid(); other && FSyncGrid->SelectionRow()) other->TStringGrid::SetRow(Row());
    if (Value == RowCount() - 1 && FSearchFooter->Visible()) ScrollAboveSearchFooter();
}

void TProStringGrid::SetTopRowEx(int Value)
{
    if (Value >= FixedRows() && Value <= RowCount() - 1) TStringGrid::SetTopRow(Value);
}

void TProStringGrid::SetDefaultRowHeight(int Value)
{
    TStringGrid::SetDefaultRowHeight(Value);
    if (FDesigning) FFixedRowHeight = Value;
    if (FFloatingFooter) {
        FFloatingFooter->SetHeight(Value);
    }
}

void TProStringGrid::SetFixedRowHeight(int Value)
{
    FFixedRowHeight = Value;
    if (FLoading) return;
    if (Value == DefaultRowHeight()) {
        SetDefaultRowHeight(Value);
        return;
    }
    for (int r = 0; r < FixedRows(); ++r) SetRowHeights(r, Value);
}

void TProStringGrid::SetFixedColWidth(int Value)
{
    if (FLoading || Value == DefaultColWidth()) return;
    for (int c = 0; c < FixedCols(); ++c) SetColWidths(c, Value);
}

void TProStringGrid::SetFixedFooters(int Value)
{
    FFixedFooters = Value;
    Invalidate();
}

void TProStringGrid::SetFixedRightCols(int Value)
{
    FFixedRightCols = Value;
    Invalidate();
}

void TProStringGrid::SetDefaultAlignment(TAlignment v)
{
    if (v == FDefaultAlignment) return;
    FDefaultAlignment = v;
    Invalidate();
}

void TProStringGrid::SetWordWrap(bool Value)
{
    TBaseGrid::SetWordWrap(Value);
    FWordWrapEx = Value;
    if (FUpdateCount == 0) Invalidate();
}

int TProStringGrid::SaveStartCol() const { return (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols(); }
int TProStringGrid::SaveStartRow() const { return (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows(); }

int TProStringGrid::SaveEndCol() const
{
    return (FSaveFixedCells || FSaveFixedCols) ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TProStringGrid::SaveEndRow() const
{
    return (FSaveFixedCells || FSaveFixedRows) ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TProStringGrid::SaveColCount() const
{
    return (FSaveFixedCells || FSaveFixedCols) ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

int TProStringGrid::SaveRowCount() const
{
    return (FSaveFixedCells || FSaveFixedRows) ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

void TProStringGrid::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex >= ColCount() || RowIndex >= RowCount()) return;
    int l = LeftCol(), t = TopRow();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + VisibleColCount()) {
        SetCol(ColIndex);
        l = std::max(ColIndex - VisibleColCount() / 2, FixedCols());
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + VisibleRowCount()) {
        SetRow(RowIndex);
        t = std::max(RowIndex - VisibleRowCount() / 2, FixedRows());
    }
    l = std::min(l, ColCount() - VisibleColCount() + 1);
    if (FixedCols() + VisibleColCount() < ColCount()) SetLeftCol(l);
    t = std::min(t, RowCount() - VisibleRowCount() + 1);
    if (FixedRows() + VisibleRowCount() >= RowCount()) return;
    SetTopRow(t);
    if (FSearchFooter->Visible()) {
        int usable = height() - FSearchPanel->height();
        if (FixedCols() + VisibleColCount() < ColCount()) usable -= HorizontalScrollBarHeight();
        while (CellRect(0, RowIndex).Bottom > usable && TopRow() < RowCount() - 1) {
            const int before = TopRow();
            SetTopRow(TopRow() + 1);
            if (TopRow() == before) break;
        }
    }
}

void TProStringGrid::HideSelection()
{
    FOldSelection = Selection();
    TGridRect outside;
    outside.Left = outside.Right = ColCount();
    outside.Top = outside.Bottom = RowCount();
    SetSelection(outside);
    FSelHidden = true;
}

void TProStringGrid::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const int t = (FFixedRowAlways && FixedRows() == RowCount()) ? 0 : FixedRows();
    const int l = (FFixedColAlways && FixedCols() == ColCount()) ? 0 : FixedCols();
    TGridRect r;
    r.Left = r.Right = l;
    r.Top = r.Bottom = t;
    SetSelection(r);
}

void TProStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    // Checked before anything moves.
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        throw EProGridError(QStringLiteral("Invalid column accessed"));
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    TStringGrid::MoveColumn(FromIndex, ToIndex);
    ShiftCellControls(TAxisShift::Move(FromIndex, ToIndex), false);
    CellControlsUpdate(false);
}

void TProStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        throw EProGridError(QStringLiteral("Invalid row accessed"));
    // The footer row stays last.
    if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ToIndex == RowCount() - 1)
        return;
    TStringGrid::MoveRow(FromIndex, ToIndex);
    ShiftCellControls(TAxisShift::Move(FromIndex, ToIndex), true);
    CellControlsUpdate(false);
}

void TProStringGrid::MoveRows(int FromIndex, int ToIndex, int Count)
{
    if (FromIndex == ToIndex || Count == 0) return;
    std::vector<QStringList> kept;
    for (int r = FromIndex; r < FromIndex + Count; ++r) {
        QStringList row;
        for (int c = 0; c < TotalColCount(); ++c) row << GetGridCell(c, r);
        kept.push_back(row);
    }
    if (FromIndex + Count < ToIndex) ToIndex -= Count;
    RemoveRowsEx(FromIndex, Count);
    InsertRows(ToIndex, Count, true);
    for (int i = 0; i < Count; ++i)
        for (int c = 0; c < kept[size_t(i)].size(); ++c) SetGridCell(c, ToIndex + i, kept[size_t(i)][c]);
}

void TProStringGrid::UpdateEditMode() { CanSelectCell(Col(), Row()); }

void TProStringGrid::ScreenToCell(QPoint pt, int& ACol, int& ARow)
{
    const QPoint p = mapFromGlobal(pt);
    MouseToCell(p.x(), p.y(), ACol, ARow);
}

// ---- index mapping -------------------------------------------------------------------------

void TProStringGrid::CheckRealColumn(int RealCol) const
{
    if (RealCol < 0 || RealCol >= MaxColumns) throw EProGridError(QStringLiteral("Invalid column accessed"));
}

bool TProStringGrid::VisibleCol(int RealCol) const
{
    CheckRealColumn(RealCol);
    return FVisibleCol[size_t(RealCol)];
}

void TProStringGrid::SetVisibleCol(int RealCol, bool Visible)
{
    CheckRealColumn(RealCol);
    FVisibleCol[size_t(RealCol)] = Visible;
}

int TProStringGrid::DisplToRealRow(int ARow) const
{
    if (FGridItems.empty()) return ARow;
    // The hidden items are kept in ascending real rows: the rows hidden before the answer are
    // those whose real row minus the hidden rows before them is at most ARow.
    const auto it = std::partition_point(FGridItems.begin(), FGridItems.end(), [&](const auto& item) {
        return item->Idx() - int(&item - FGridItems.data()) <= ARow;
    });
    return ARow + int(it - FGridItems.begin());
}

int TProStringGrid::RealToDisplRow(int ARow) const
{
    const auto it = std::lower_bound(FGridItems.begin(), FGridItems.end(), ARow,
                                     [](const auto& item, int r) { return item->Idx() < r; });
    return ARow - int(it - FGridItems.begin());
}

std::vector<TGridItem*> TProStringGrid::GridItems() const
{
    std::vector<TGridItem*> items;
    for (const auto& i : FGridItems) items.push_back(i.get());
    return items;
}

// ---- hooks of the features built on this grid ------------------------------------------------

bool TProStringGrid::IsFixed(int ACol, int ARow)
{
    int bx = DisplToRealColumn(ACol), by = ARow;
    ResolveBaseCell(bx, ARow, bx, by);
    const int c = RealToDisplColumn(bx);
    if (by >= RowCount() - FFixedFooters) return true;
    if (c >= ColCount() - FFixedRightCols && c < ColCount()) return true;
    bool fixed = false;
    IsFixedCell(c, by, fixed);
    return fixed;
}

void TProStringGrid::LastRowChanged() { UpdateFooter(); }

void TProStringGrid::CalcFooter(int ACol) { UpdateFloatingFooter(ACol); }

void TProStringGrid::SetColumnOrder()
{
    FColumnOrder->Clear();
    for (int i = 0; i < ColCount(); ++i) FColumnOrder->Add(i);
}

void TProStringGrid::UpdateColumnHeaders() {}

void TProStringGrid::InitOrigColSizes()
{
    FOrigColSizes->Clear();
    for (int i = 0; i < ColCount(); ++i) FOrigColSizes->Add(ColWidths(i));
}

void TProStringGrid::CellsLoaded() { CalcFooter(-1); }

void TProStringGrid::GridButtonClick()
{
    if (OnButtonClick) OnButtonClick(this, Col(), Row());
}

void TProStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    if (ColCount() < OldColCount || RowCount() < OldRowCount) ClampSelectionToGrid();
    DimensionsChanged();
}
