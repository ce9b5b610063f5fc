#pragma once
// The class library's grid: TCustomGrid, a scrolling window of cells with a current cell,
// a selection, sizing, moving and an in-place editor (TInplaceEdit, inplace_edit.h).  The
// string grid that keeps a text and an object per cell is TStringGrid (string_grid.h).
//
// Qt events arrive as Windows window messages (TMessage) at the virtual WndProc, which
// dispatches them to the virtual message handlers (WMChar, WMLButtonDown ...), and those
// call the virtual steps (KeyDown, KeyPress, MouseDown ...), so that a derived grid can hook
// in at whichever level its behaviour is described: the message, the handler or the step.
//
// No virtual call is made while constructing: a derived grid is made through
// CreateGrid<T>(...), which runs AfterConstruction once the most derived object exists;
// Free() runs BeforeDestruction before deleting.
#include "platform/core/classes.h"
#include "platform/core/exception.h"
#include "platform/ui/canvas.h"
#include "platform/ui/grid_axis.h"
#include "platform/ui/cursors.h"
#include "platform/ui/hint_window.h"
#include "platform/ui/messages.h"
#include "platform/ui/window_canvas.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class TCustomGrid;
class TInplaceEdit;
class QScrollBar;
class QHelpEvent;
class QKeyEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDragLeaveEvent;
class QDropEvent;

// An operation the grid cannot do (an index out of range, fixed counts too big ...).
class EInvalidGridOperation : public Exception { using Exception::Exception; };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, both corners included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

inline bool PointInGridRect(int col, int row, const TGridRect& r)
{
    return col >= r.Left && col <= r.Right && row >= r.Top && row <= r.Bottom;
}

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking, goFixedColClick, goFixedRowClick, goFixedHotTrack,
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBorderStyle { bsNone, bsSingle };

// What a drag over a control is doing.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Sizes and positions of one axis as the grid lays it out, in client pixels.
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;
    int FixedBoundary = 0;      // first pixel after the fixed cells
    int GridBoundary = 0;       // first pixel after the last drawn cell, at most GridExtent
    int GridExtent = 0;         // client width or height
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;    // first pixel after the last fully visible cell
    int FixedCellCount = 0;
    int FirstGridCell = 0;      // LeftCol or TopRow
    int GridCellCount = 0;      // ColCount or RowCount
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

class TCustomGrid : public QAbstractScrollArea, public TObject {
public:
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;
    QString ClassName() const override { return QStringLiteral("TCustomGrid"); }

    // Life: run once after the most derived constructor (CreateGrid does it), and once
    // before deletion (Free does it).  The grid's window counts as created from then on.
    virtual void AfterConstruction();
    virtual void BeforeDestruction();
    void Free();
    bool Destroying() const { return FDestroying; }
    bool HandleAllocated() const { return FHandleAllocated; }
    void HandleNeeded();

    // ---- dimensions
    int ColCount() const { return FCols.Count(); }
    virtual void SetColCount(int v);
    int RowCount() const { return FRows.Count(); }
    virtual void SetRowCount(int v);
    virtual int FixedCols() const { return FCols.FixedCount(); }
    virtual void SetFixedCols(int v);
    virtual int FixedRows() const { return FRows.FixedCount(); }
    virtual void SetFixedRows(int v);
    int DefaultColWidth() const { return FCols.DefaultSize(); }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FRows.DefaultSize(); }
    virtual void SetDefaultRowHeight(int v);
    int ColWidths(int index) const;
    void SetColWidths(int index, int v);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int v);
    // The width of the lines the base lays out between cells; a grid that draws its own
    // lines keeps it 0 and answers with its own width.
    virtual int GridLineWidth() const { return FGridLineWidth; }
    virtual void SetGridLineWidth(int v);
    // Total width and height of all cells with their lines.
    int GridWidth() const;
    int GridHeight() const;

    // ---- look
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor c);
    TFont* Font() { return &FFont; }
    void SetFont(const TFont& f) { FFont.Assign(f); }
    TCanvas* Canvas() { return &FCanvas; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle s);
    virtual bool DefaultDrawing() const { return FDefaultDrawing; }
    virtual void SetDefaultDrawing(bool v);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions o);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor c);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    QString Hint() const { return FHint; }
    void SetHint(const QString& s) { FHint = s; }
    bool TabStops(int col) const;
    void SetTabStops(int col, bool v);
    // Right-to-left layout of the cells.
    bool UseRightToLeftAlignment() const { return layoutDirection() == Qt::RightToLeft; }

    // ---- position
    int Col() const { return FCurrent.X; }
    virtual void SetCol(int v);
    int Row() const { return FCurrent.Y; }
    virtual void SetRow(int v);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    int TopRow() const { return FTopLeft.Y; }
    virtual void SetTopRow(int v);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    TGridState GridState() const { return FGridState; }

    // ---- geometry (client coordinates of the cell area)
    // The one question the grid asks about where a cell shows: its rectangle, the editor's
    // rectangle and what a repaint of the cell covers all come from here, so a grid with
    // merged cells answers with the whole block.  Empty for a cell out of view.
    virtual TRect CellRect(int col, int row) const;
    // The rectangle from the widths and heights alone, also for a cell out of view (left of or
    // above the scrolling area when scrolled out at the start).
    TRect CalcCellRect(int col, int row) const;
    void MouseToCell(int x, int y, int& col, int& row) const;
    TGridCoord MouseCoord(int x, int y) const;
    int ClientWidth() const;
    int ClientHeight() const;
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    // Child panels along the bottom edge, below the cells and above the horizontal scroll
    // bar: the first added lies lowest.  Each takes its own height while it is visible, and
    // the cell area shrinks by the heights taken.
    void AddBottomAligned(QWidget* Panel);
    // A child panel laid over the bottom of the cell area at its own height and the area's
    // width, at any size of the grid; the cell area keeps its size.
    void AddBottomOverlay(QWidget* Panel);
    void RealignBottom();
    int BottomReserve() const { return FBottomReserve; }
    int Width() const { return width(); }
    int Height() const { return height(); }
    virtual void SetBounds(int left, int top, int width, int height);
    void CalcDrawInfo(TGridDrawInfo& info) const;

    // ---- repaint
    virtual void Invalidate();
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateRow(int row);
    void InvalidateGridRect(const TGridRect& r);
    void InvalidateRect(const TGridRect& r) { InvalidateGridRect(r); }
    void InvalidateGrid() { Invalidate(); }
    void InvalidateClientRect(const TRect& r);
    void Repaint();

    // ---- editing
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    void ShowEditor();
    void HideEditor();
    void ShowEditorChar(QChar ch);
    // Brings the editor to the current cell (made when needed), or hides it when the cell
    // may not be edited.
    void UpdateEditor();
    // Forgets the editor's cell, so that the next update reloads its text.
    void InvalidateEditor();
    virtual bool CanEditShow();
    virtual bool CanEditAcceptKey(QChar key) { return true; }
    virtual bool CanEditModify() { return FCanEditModify; }
    virtual QString GetEditText(int col, int row) { return QString(); }
    virtual void SetEditText(int col, int row, const QString& value) {}
    virtual QString GetEditMask(int col, int row) { return QString(); }
    virtual int GetEditLimit() { return 0; }
    virtual TInplaceEdit* CreateEditor();
    // Writes the editor's text into its cell.
    void UpdateText();

    // ---- structure
    virtual void MoveColumn(int fromIndex, int toIndex);
    virtual void MoveRow(int fromIndex, int toIndex);
    void DeleteColumn(int col);
    void DeleteRow(int row);
    // Makes (col, row) current; the selection anchor follows when moveAnchor is set.
    void FocusCell(int col, int row, bool moveAnchor);
    void MoveColRow(int col, int row, bool moveAnchor, bool show);

    // ---- messages and timers
    intptr_t Perform(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
    // Queued delivery, after the current event is done.
    void PostMessage(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
    void SetTimer(int id, int intervalMs);
    void KillTimer(int id);
    bool TimerActive(int id) const;
    void SetMouseCapture(bool on);
    bool MouseCapture() const { return FCapture; }
    bool Focused() const;
    void SetFocus();
    // The input focus is on the grid or its editor.
    bool IsActiveControl() const;

    // ---- the window's scroll bars (SB_HORZ, SB_VERT), in the bar's own units.  The grid
    // keeps them in step with LeftCol and TopRow on a range of 0..127; once a derived grid
    // sets a bar's range or page, the grid keeps those and only moves the thumb, mapping
    // the rows onto whatever range was set.  Thumb positions arrive in WM_HSCROLL and
    // WM_VSCROLL as the bar has them.
    int SetScrollInfo(int bar, const TScrollInfo& info, bool redraw = true);
    bool GetScrollInfo(int bar, TScrollInfo& info) const;
    void SetScrollRange(int bar, int minPos, int maxPos, bool redraw = true);
    void GetScrollRange(int bar, int& minPos, int& maxPos) const;
    int SetScrollPos(int bar, int pos, bool redraw = true);
    int GetScrollPos(int bar) const;
    // Hands the range and page back to the grid.
    void ReleaseScrollRange(int bar);
    void ShowScrollBar(int bar, bool show);
    void EnableScrollBar(int bar, int arrows);
    bool ScrollBarShown(int bar) const { return FBar[bar == SB_VERT ? 1 : 0].Shown; }

    // The window's frame (its non-client area) is drawn during WM_NCPAINT on this canvas,
    // in window coordinates (0, 0 is the frame's top-left pixel); outside it, nullptr.
    TCanvas* NonClientCanvas() { return FNonClientCanvas; }
    // Asks for the frame to be drawn again (a WM_NCPAINT follows).
    void InvalidateFrame();

    // ---- events of the control
    std::function<void(TObject*)> OnClick;
    std::function<void(TObject*)> OnDblClick;
    std::function<void(TObject*)> OnEnter;
    std::function<void(TObject*)> OnExit;
    std::function<void(TObject*, int& key, TShiftState)> OnKeyDown;
    std::function<void(TObject*, QChar& key)> OnKeyPress;
    std::function<void(TObject*, int& key, TShiftState)> OnKeyUp;
    std::function<void(TObject*, TMouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(TObject*, TShiftState, int x, int y)> OnMouseMove;
    std::function<void(TObject*, TMouseButton, TShiftState, int x, int y)> OnMouseUp;
    using TWheelEvent = std::function<void(TObject*, TShiftState, const TPoint& mousePos, bool& handled)>;
    TWheelEvent OnMouseWheelDown;
    TWheelEvent OnMouseWheelUp;
    std::function<void(TObject*)> OnTopLeftChanged;
    std::function<void(TObject*, TObject* source, int x, int y, TDragState state, bool& accept)> OnDragOver;
    std::function<void(TObject*, TObject* source, int x, int y)> OnDragDrop;

    // The window procedure and the platform's handling of what it does not settle.
    virtual void WndProc(TMessage& m);
    virtual void DefaultHandler(TMessage& m);

protected:
    // ---- steps a derived grid overrides
    virtual void Paint();
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {}
    virtual bool SelectCell(int col, int row) { return true; }
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool DoMouseWheelDown(TShiftState shift, const TPoint& mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, const TPoint& mousePos);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, const TPoint& mousePos);
    virtual void Click();
    virtual void DblClick();
    virtual void DoEnter();
    virtual void DoExit();
    virtual void TopLeftChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount) {}
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int fromIndex, int toIndex) {}
    virtual void RowMoved(int fromIndex, int toIndex) {}
    virtual void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs,
                                 const TGridDrawInfo& fixedInfo);
    virtual bool BeginColumnDrag(int& origin, int& destination, const TPoint& mousePt) { return true; }
    virtual bool EndColumnDrag(int& origin, int& destination, const TPoint& mousePt) { return true; }
    virtual bool BeginRowDrag(int& origin, int& destination, const TPoint& mousePt) { return true; }
    virtual bool EndRowDrag(int& origin, int& destination, const TPoint& mousePt) { return true; }
    virtual void CreateWnd() {}
    virtual void ChangeGridOrientation(bool rightToLeft);
    virtual void Resize() {}
    // The selection moved from oldSel; the default repaints what changed.
    virtual void SelectionMoved(const TGridRect& oldSel);
    // Something is dragged over the grid (client coordinates); accept says whether it may
    // be dropped there.  The default asks OnDragOver, and refuses without it.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);

    // ---- message handlers, reached through WndProc
    virtual void WMChar(TMessage& m);
    virtual void WMKeyDown(TMessage& m);
    virtual void WMKeyUp(TMessage& m);
    virtual void WMGetDlgCode(TMessage& m);
    virtual void WMHScroll(TMessage& m);
    virtual void WMVScroll(TMessage& m);
    virtual void WMKillFocus(TMessage& m);
    virtual void WMSetFocus(TMessage& m);
    virtual void WMSetCursor(TMessage& m);
    virtual void WMLButtonDown(TMessage& m);
    virtual void WMMouseButton(TMessage& m);   // every other button message and moves
    virtual void WMMouseWheel(TMessage& m);
    virtual void WMPaint(TMessage& m);
    virtual void WMNCPaint(TMessage& m);
    virtual void WMCommand(TMessage& m);
    virtual void CMHintShow(TMessage& m) {}
    virtual void WMTimer(TMessage& m);
    virtual void WMSize(TMessage& m);
    virtual void WMCancelMode(TMessage& m);
    virtual void CMFontChanged(TMessage& m);
    virtual void CMMouseLeave(TMessage& m);
    virtual void CMMouseEnter(TMessage& m) {}
    virtual void CMDesignHitTest(TMessage& m) { m.Result = 0; }
    virtual void CMExit(TMessage& m);
    virtual void CMEnter(TMessage& m);

    // ---- Qt side
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void scrollContentsBy(int dx, int dy) override {}

    // ---- helpers for derived grids
    void MoveTopLeft(int left, int top);
    void MoveAnchor(const TGridCoord& anchor);
    void MoveCurrent(int col, int row, bool moveAnchor, bool show);
    void ClampInView(const TGridCoord& coord);
    void UpdateScrollRange();
    void UpdateScrollPos();
    TGridCoord CalcMaxTopLeft(const TGridCoord& coord) const;
    TGridCoord CalcCoordFromPoint(int x, int y) const;
    TRect BoxRect(int left, int top, int right, int bottom) const;
    // A rectangle laid out left to right, as it shows: mirrored in a right-to-left grid.
    TRect MirrorRect(const TRect& r) const;
    void HideEdit();
    void DrawSizingLine();
    TGridCoord Anchor() const { return FAnchor; }
    int SizingIndex() const { return FSizingIndex; }
    int MoveIndex() const { return FMoveIndex; }
    int MovePos() const { return FMovePos; }
    void SetGridState(TGridState s) { FGridState = s; }
    // The key being delivered (nullptr outside key delivery) and its shift state: the state
    // the key arrived with, or the keyboard's when the message was sent by code.
    const QKeyEvent* PendingKey() const { return FPendingKey; }
    TShiftState KeyShiftState() const;
    // The dialog-key rule of the platform: Tab, arrows, Enter and Escape go to the window
    // around the control unless the control asks for them (CM_WANTSPECIALKEY, WM_GETDLGCODE)
    // or the window has no use for them.
    static bool KeyGoesToDialog(QWidget* control, int vk, const std::function<intptr_t(uint32_t, intptr_t)>& ask);

    // The two axes: counts, fixed counts and sizes of the columns and of the rows.
    const TGridAxis& ColAxis() const { return FCols; }
    const TGridAxis& RowAxis() const { return FRows; }
    TGridAxis& ColAxis() { return FCols; }
    TGridAxis& RowAxis() { return FRows; }

    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    // Set while the grid is torn down: derived grids store no new objects from then on.
    bool FDestroying = false;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    bool FCanEditModify = true;

private:
    void ChangeSize(int newColCount, int newRowCount);
    void FixedAreaChanged();
    void Dispatch(TMessage& m);
    void SendKey(QKeyEvent* e, bool down);
    void SendMouse(uint32_t msg, QMouseEvent* e);
    struct TBarState {
        TScrollInfo Info{SIF_ALL, 0, 0, 0, 0, 0};
        bool Owned = false;    // range and page set by a derived grid
        bool Needed = false;   // the grid's own last verdict on showing it
        bool Shown = false;
    };
    TBarState& Bar(int bar) { return FBar[bar == SB_VERT ? 1 : 0]; }
    QScrollBar* BarWidget(int bar) const;
    void ApplyBar(int bar);
    bool SetBarShown(int bar, bool show);
    int BarMaxPos(int bar) const;
    int TopLeftToBarPos(int bar) const;
    int BarPosToTopLeft(int bar, int pos) const;
    void ScrollMessage(TMessage& m, bool horz);
    void ScrollBarAction(int bar, int action);
    void ScrollBarReleased(int bar, QEvent* release);
    void SendWheel(QWheelEvent* e);
    bool WheelStep(const TWheelEvent& event, TShiftState shift, const TPoint& mousePos, int direction);
    bool SendDrag(QDropEvent* e, TDragState state);
    void ShowHintAt(QHelpEvent* e);
    void FinishMove();
    // Pixels of cells [from, to) of an axis with their lines.
    int AxisExtent(const TGridAxis& axis, int from, int to) const;
    // Left-to-right start of a cell on an axis whose first scrolled cell is `first`.
    int CellStart(const TGridAxis& axis, int first, int index) const;
    TRect IntersectWithClient(const TRect& r) const;
    void CalcAxis(TGridAxisDrawInfo& a, bool horz) const;
    int FixedExtent(bool horz) const;

    TGridAxis FCols{5, 1, 64};
    TGridAxis FRows{5, 1, 24};
    std::vector<bool> FTabStops;
    int FGridLineWidth = 1;
    TColor FColor = clWindow;
    TColor FFixedColor = clBtnFace;
    TFont FFont;
    TWindowCanvas FCanvas;
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssBoth;
    bool FDefaultDrawing = true;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TCursor FCursor = crDefault;
    bool FShowHint = false;
    std::vector<QWidget*> FBottomAligned;
    std::vector<QWidget*> FBottomOverlays;
    int FBottomReserve = 0;
    bool FRealigning = false;
    TGridState FGridState = gsNormal;
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    // The sizing line on the window: its state (gsNormal: none) and position.
    TGridState FSizingLineState = gsNormal;
    int FSizingLinePos = 0;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    bool FHandleAllocated = false;
    bool FCapture = false;
    bool FUpdatingScroll = false;
    bool FInPaint = false;
    bool FMouseInside = false;
    bool FEditUpdate = false;
    bool FFocusInside = false;
    bool FVBarOn = false;
    bool FHBarOn = false;
    std::map<int, QBasicTimer> FTimers;
    QKeyEvent* FPendingKey = nullptr;
    TBarState FBar[2];
    QObject* FBarFilter = nullptr;
    int FWheelAccumulator = 0;   // wheel turn not yet a whole notch
    int FHWheelAccumulator = 0;  // the same of the horizontal wheel
    bool FDestroySent = false;
    QString FHint;
    QPaintEvent* FPendingPaint = nullptr;
    TCanvas* FNonClientCanvas = nullptr;

    friend class TScrollBarFilter;

    friend class TInplaceEdit;
};

// Makes a grid (or any class with AfterConstruction) and runs its construction hook once
// the most derived object exists.
template <typename T, typename... Args>
T* CreateGrid(Args&&... args)
{
    T* g = new T(std::forward<Args>(args)...);
    g->AfterConstruction();
    return g;
}
