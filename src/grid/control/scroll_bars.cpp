// Scroll bar settings: the flat looks, proportional thumbs and bars that stay visible.
//
// The flat looks are not separate bar objects over the window's own: the window's own bars
// take the flat look (a style sheet over the current style), so there is one range, page and
// position, and copying them between bars has nothing to copy.
#include "grid/control/pro_string_grid.h"

#include <QLayout>
#include <QScrollBar>

namespace {

// Flat scroll bar property indexes and styles.
constexpr int WSB_PROP_CYHSCROLL = 0x4, WSB_PROP_CXVSCROLL = 0x8, WSB_PROP_VBKGCOLOR = 0x40,
              WSB_PROP_HBKGCOLOR = 0x80, WSB_PROP_VSTYLE = 0x100, WSB_PROP_HSTYLE = 0x200;
constexpr int FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2;

QString CssColor(TColor c, const QColor& fallback)
{
    const QColor q = c == clNone ? fallback : ColorToQColor(c);
    return q.name();
}

// One bar's style sheet.  Flat: plain face without bevels; Encarta (no counterpart in the
// styles at hand): the flat face whose thumb stands out while the mouse is over it.
QString BarStyleSheet(bool vert, int mode, TColor color, int extent, const QPalette& pal)
{
    if (mode == FSB_REGULAR_MODE && extent <= 0) return QString();
    const QString o = vert ? QStringLiteral("vertical") : QStringLiteral("horizontal");
    const QString size = vert ? QStringLiteral("width") : QStringLiteral("height");
    QString css;
    if (mode == FSB_REGULAR_MODE) return QStringLiteral("QScrollBar:%1 { %2: %3px; }").arg(o, size).arg(extent);
    const QString bk = CssColor(color, pal.color(QPalette::Window));
    const QString face = pal.color(QPalette::Mid).name();
    const QString hot = pal.color(QPalette::Dark).name();
    css += QStringLiteral("QScrollBar:%1 { background: %2; border: none; margin: %3; %4 }")
               .arg(o, bk, vert ? QStringLiteral("16px 0 16px 0") : QStringLiteral("0 16px 0 16px"),
                    extent > 0 ? QStringLiteral("%1: %2px;").arg(size).arg(extent) : QString());
    css += QStringLiteral("QScrollBar::handle:%1 { background: %2; border: none; min-%3: 12px; }")
               .arg(o, face, vert ? QStringLiteral("height") : QStringLiteral("width"));
    css += QStringLiteral("QScrollBar::add-line:%1, QScrollBar::sub-line:%1 { background: %2; border: none; "
                          "subcontrol-origin: margin; %3: 16px; }")
               .arg(o, bk, vert ? QStringLiteral("height") : QStringLiteral("width"));
    css += QStringLiteral("QScrollBar::add-line:%1 { subcontrol-position: %2; }")
               .arg(o, vert ? QStringLiteral("bottom") : QStringLiteral("right"));
    css += QStringLiteral("QScrollBar::sub-line:%1 { subcontrol-position: %2; }")
               .arg(o, vert ? QStringLiteral("top") : QStringLiteral("left"));
    if (mode == FSB_ENCARTA_MODE)
        css += QStringLiteral("QScrollBar::handle:%1:hover { background: %2; border: 1px outset %3; }")
                   .arg(o, face, hot);
    return css;
}

bool HasBar(TScrollStyle s, int bar)
{
    if (bar == SB_HORZ) return s == ssHorizontal || s == ssBoth;
    return s == ssVertical || s == ssBoth;
}

}  // namespace

void TProStringGrid::SetScrollType(TScrollType Value)
{
    if (Value != FScrollType) {
        FScrollType = Value;
        if (Value == ssFlat || Value == ssEncarta) {
            InitFlatScrollBars();
            RefreshFlatScrollBars();
        } else {
            DoneFlatScrollBars();
        }
        if (HandleAllocated() && Value == ssMetro) {
            CreateScrollControls();
            SetScrollBars(ssNone);
        }
        if (HandleAllocated() && Value != ssMetro && HasScrollControls()) {
            FreeScrollControls();
            SetScrollBars(ssBoth);
        }
        Invalidate();
    }
    ApplyFlatScrollStyle();
}

void TProStringGrid::SetScrollColor(TColor Value)
{
    FScrollColor = Value;
    ApplyFlatScrollColor();
}

void TProStringGrid::SetScrollWidth(int Value)
{
    FScrollWidth = Value;
    ApplyFlatScrollWidth();
}

void TProStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateVScrollBar();
        UpdateHScrollBar();
        return;
    }
    // Flat looks keep their bars as they are; otherwise the thumbs go back to the grid's own
    // (the page of the window's bars is dropped).
    if (FScrollType == ssFlat || FScrollType == ssEncarta) return;
    if (FIsFlat) DoneFlatScrollBars();
    ReleaseScrollRange(SB_VERT);
    ReleaseScrollRange(SB_HORZ);
}

void TProStringGrid::SetScrollBarAlways(TScrollBarAlways Value)
{
    FScrollBarAlways = Value;
    UpdateScrollBarAlways(true);
}

void TProStringGrid::UpdateScrollBarAlways(bool Force)
{
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    if (FScrollBarAlways == saNone) {
        if (!Force) return;
        if (rowsFit) ShowScrollBar(SB_VERT, false);
        if (colsFit) ShowScrollBar(SB_HORZ, false);
        return;
    }
    if (rowsFit) {
        if (FScrollBarAlways == saVert || FScrollBarAlways == saBoth) ShowScrollBar(SB_VERT, true);
        else if (FScrollBarAlways == saHorz) ShowScrollBar(SB_VERT, false);
    }
    if (colsFit) {
        if (FScrollBarAlways == saHorz || FScrollBarAlways == saBoth) ShowScrollBar(SB_HORZ, true);
        else if (FScrollBarAlways == saVert) ShowScrollBar(SB_HORZ, false);
    }
    EnableScrollBar(SB_VERT, rowsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    EnableScrollBar(SB_HORZ, colsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
}

void TProStringGrid::InitFlatScrollBars()
{
    // The stand-in is always there.
    FIsFlat = true;
    ApplyFlatLook();
}

void TProStringGrid::DoneFlatScrollBars()
{
    FIsFlat = false;
    FFlatProps = TFlatProps();
    ApplyFlatLook();
}

void TProStringGrid::SetFlatScrollProp(int Index, int Value)
{
    if (!FIsFlat) return;
    switch (Index) {
    case WSB_PROP_VSTYLE: FFlatProps.VStyle = Value; break;
    case WSB_PROP_HSTYLE: FFlatProps.HStyle = Value; break;
    case WSB_PROP_VBKGCOLOR: FFlatProps.VColor = TColor(Value); break;
    case WSB_PROP_HBKGCOLOR: FFlatProps.HColor = TColor(Value); break;
    case WSB_PROP_CXVSCROLL: FFlatProps.CXVScroll = Value; break;
    case WSB_PROP_CYHSCROLL: FFlatProps.CYHScroll = Value; break;
    default: return;
    }
    ApplyFlatLook();
}

void TProStringGrid::ApplyFlatLook()
{
    const QPalette pal = palette();
    const QString v = FIsFlat ? BarStyleSheet(true, FFlatProps.VStyle, FFlatProps.VColor, FFlatProps.CXVScroll, pal)
                              : QString();
    const QString h = FIsFlat ? BarStyleSheet(false, FFlatProps.HStyle, FFlatProps.HColor, FFlatProps.CYHScroll, pal)
                              : QString();
    if (verticalScrollBar()->styleSheet() == v && horizontalScrollBar()->styleSheet() == h) return;
    verticalScrollBar()->setStyleSheet(v);
    horizontalScrollBar()->setStyleSheet(h);
    // the bars take their new extent and the client area follows
    auto relayout = [this] {
        if (Destroying()) return;
        for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
            bar->updateGeometry();
            if (QLayout* l = bar->parentWidget() ? bar->parentWidget()->layout() : nullptr) l->invalidate();
        }
        setViewportMargins(viewportMargins());
        Perform(WM_SIZE);
    };
    relayout();
    // the new look is polished in once the events of the change are through
    QMetaObject::invokeMethod(this, relayout, Qt::QueuedConnection);
}

void TProStringGrid::SetFlatScrollInfo(int Bar, const TScrollInfo& Info)
{
    if (FIsFlat) SetScrollInfo(Bar, Info, true);
}

void TProStringGrid::FlatShowScrollBar(int Bar, bool Show)
{
    if (!FIsFlat || !HasBar(ScrollBars(), Bar)) return;
    ShowScrollBar(Bar, Show);
}

void TProStringGrid::UpdateFlatVScroll()
{
    // the window's vertical bar is the flat one: it holds its range, page and position already
    if (FIsFlat && HasBar(ScrollBars(), SB_VERT)) verticalScrollBar()->update();
}

void TProStringGrid::UpdateFlatHScroll()
{
    if (FIsFlat && HasBar(ScrollBars(), SB_HORZ)) horizontalScrollBar()->update();
}

void TProStringGrid::ApplyFlatScrollStyle()
{
    int mode;
    switch (FScrollType) {
    case ssNormal: mode = FSB_REGULAR_MODE; break;
    case ssFlat: mode = FSB_FLAT_MODE; break;
    case ssEncarta: mode = FSB_ENCARTA_MODE; break;
    default: return;
    }
    SetFlatScrollProp(WSB_PROP_VSTYLE, mode);
    SetFlatScrollProp(WSB_PROP_HSTYLE, mode);
}

void TProStringGrid::ApplyFlatScrollColor()
{
    if (FScrollColor == clNone) return;
    SetFlatScrollProp(WSB_PROP_VBKGCOLOR, int(FScrollColor));
    SetFlatScrollProp(WSB_PROP_HBKGCOLOR, int(FScrollColor));
}

void TProStringGrid::ApplyFlatScrollWidth()
{
    SetFlatScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth);
    SetFlatScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

void TProStringGrid::RefreshFlatScrollBars()
{
    ApplyFlatScrollStyle();
    ApplyFlatScrollColor();
    ApplyFlatScrollWidth();
    const bool rows = VisibleRowCount() + FixedRows() < RowCount();
    FlatShowScrollBar(SB_VERT, rows);
    if (rows) UpdateFlatVScroll();
    const bool cols = VisibleColCount() + FixedCols() < ColCount();
    FlatShowScrollBar(SB_HORZ, cols);
    if (cols) UpdateFlatHScroll();
}

// ---- the column-move arrows' colour --------------------------------------------------------

TColor TProStringGrid::ArrowColor() const
{
    return ArwU ? ArwU->Color() : clBlue;
}

void TProStringGrid::SetArrowColor(TColor Value)
{
    for (TArrowWindow* a : {ArwU.get(), ArwD.get(), ArwL.get(), ArwR.get()})
        if (a) a->SetColor(Value);
}
