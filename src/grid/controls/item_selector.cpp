// The item selector: items, their appearance, the layout, drawing and hit test of the inner
// panel, navigation, lookup and scrolling.  The layout is a regular grid, so painting and
// hit testing go straight to the rows concerned whatever the number of items.
#include "grid/controls/item_selector.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/html_text.h"
#include "grid/controls/pro_custom_dropdown.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"
#include "platform/ui/image_list.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

// ---- items -----------------------------------------------------------------------------------

void TSelectorItem::SetCaption(const QString& v)
{
    if (v == FCaption) return;
    FCaption = v;
    // plain captions are their own plain text
    const QString plain = v.contains(QLatin1Char('<')) ? HtmlToPlainText(v) : v;
    FLookupText = CaseFoldText(Trim(plain), false);
    FMeasured = false;
    Changed();
}

QSize TSelectorItem::CaptionSize(TCanvas& Canvas, TCustomImageList* Images) const
{
    const quint64 font = Canvas.Font()->Key();
    if (!FMeasured || FMeasuredFont != font || FMeasuredImages != Images) {
        FCaptionSize = DrawHtmlCaption(&Canvas, FCaption, {0, 0, 1000, 500}, Images, false);
        FMeasuredFont = font;
        FMeasuredImages = Images;
        FMeasured = true;
    }
    return FCaptionSize;
}

void TSelectorItem::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    Changed();
}

void TSelectorItem::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed();
}

void TSelectorItem::Assign(const TSelectorItem& s)
{
    SetCaption(s.FCaption);
    SetColor(s.FColor);
    SetImageIndex(s.FImageIndex);
    FImage = s.FImage;
    Enabled = s.Enabled;
    Hint = s.Hint;
}

TSelectorItem* TSelectorItems::Add()
{
    FItems.push_back(std::make_unique<TSelectorItem>([this] { Changed(); }));
    Changed();
    return FItems.back().get();
}

void TSelectorItems::Clear()
{
    FItems.clear();
    Changed();
}

void TSelectorItems::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) return;
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TSelectorItems::Assign(const TSelectorItems& s)
{
    if (&s == this) return;
    BeginUpdate();
    FItems.clear();
    for (const auto& item : s.FItems) Add()->Assign(*item);
    EndUpdate();
}

void TSelectorItems::Changed()
{
    if (FUpdateCount > 0) {
        FPending = true;
        return;
    }
    if (OnChange) OnChange();
}

void TSelectorItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPending) {
        FPending = false;
        Changed();
    }
}

// ---- appearance ------------------------------------------------------------------------------

TItemAppearance::TItemAppearance()
{
    ColorHot = ColorHotTo = ColorMirrorHot = ColorMirrorHotTo = clNone;
    ColorSelected = ColorSelectedTo = ColorMirrorSelected = ColorMirrorSelectedTo = clNone;
    BorderColor = BorderColorTop = BorderColorBottom = EdgeColor = clNone;
    SetColorStyle(scOffice2007);
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle v)
{
    if (v == FColorStyle) return;
    FColorStyle = v;
    struct Row {
        TSelectionColorStyle Style;
        TColor Hot, HotTo, MirrorHot, MirrorHotTo, Top, Bottom, Border, Edge, Sel, SelTo, MirrorSel, MirrorSelTo;
    };
    static const Row rows[] = {
        {scOffice2007, 0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4,
         0x15C1FB, 0x68E3F9},
        {scWindowsVista, 0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4,
         clNone, clNone},
        {scWindows7, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2,
         clNone, clNone},
    };
    for (const Row& r : rows) {
        if (r.Style != v) continue;
        ColorHot = r.Hot, ColorHotTo = r.HotTo, ColorMirrorHot = r.MirrorHot, ColorMirrorHotTo = r.MirrorHotTo;
        BorderColorTop = r.Top, BorderColorBottom = r.Bottom, BorderColor = r.Border, EdgeColor = r.Edge;
        ColorSelected = r.Sel, ColorSelectedTo = r.SelTo, ColorMirrorSelected = r.MirrorSel;
        ColorMirrorSelectedTo = r.MirrorSelTo;
    }
    if (OnChange) OnChange();
}

void TItemAppearance::Assign(const TItemAppearance& s)
{
    if (&s == this) return;
    ColorMirrorHotTo = s.ColorMirrorHotTo;
    ColorMirrorHot = s.ColorMirrorHot;
    ColorHotTo = s.ColorHotTo;
    ColorHot = s.ColorHot;
    BorderColorTop = s.BorderColorTop;
    BorderColorBottom = s.BorderColorBottom;
    BorderColor = s.BorderColor;
    EdgeColor = s.EdgeColor;
    ColorSelected = s.ColorSelected;
    ColorSelectedTo = s.ColorSelectedTo;
    ColorMirrorSelectedTo = s.ColorMirrorSelectedTo;
    ColorMirrorSelected = s.ColorMirrorSelected;
    Font.Assign(s.Font);
    SetColorStyle(s.FColorStyle);
    ColorSelectedText = s.ColorSelectedText;
    ColorHotText = s.ColorHotText;
    BorderColorHot = s.BorderColorHot;
    BorderColorSelected = s.BorderColorSelected;
}

void TProCustomDropDown::ApplyItemAppearanceStyle(TItemAppearance* A, TProStyle Style)
{
    if (!A || Style == tsCustom) return;
    A->BorderColorHot = A->BorderColorSelected = clNone;
    A->ColorHotText = A->ColorSelectedText = clBlack;
    auto set = [A](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor sel, TColor selTo, TColor mSel,
                   TColor mSelTo, TColor border, TColor top, TColor bottom, TColor edge) {
        A->ColorHot = hot, A->ColorHotTo = hotTo, A->ColorMirrorHot = mHot, A->ColorMirrorHotTo = mHotTo;
        A->ColorSelected = sel, A->ColorSelectedTo = selTo, A->ColorMirrorSelected = mSel;
        A->ColorMirrorSelectedTo = mSelTo, A->BorderColor = border, A->BorderColorTop = top;
        A->BorderColorBottom = bottom, A->EdgeColor = edge;
    };
    switch (Style) {
    case tsOffice2003Blue: case tsOffice2003Silver: case tsOffice2003Olive: case tsWhidbey:
        set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, clNone, clNone, clNone);
        break;
    case tsOffice2007Luna: case tsOffice2007Obsidian: case tsOffice2007Silver:
        set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xCAF8FF,
            0xC3D9DF);
        break;
    case tsOffice2003Classic:
        set(0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone);
        break;
    case tsWindowsXP:
        set(0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, A->ColorMirrorSelected, A->ColorMirrorSelectedTo,
            clHighlight, clNone, clNone, clNone);
        A->ColorMirrorSelected = A->ColorMirrorSelectedTo = clNone;
        A->ColorSelectedText = clHighlightText;
        break;
    case tsWindowsVista:
        set(0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB);
        break;
    case tsWindows7:
        set(0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE);
        break;
    case tsTerminal:
        set(0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone);
        A->ColorSelectedText = clHighlightText;
        break;
    case tsOffice2010Blue: case tsOffice2010Silver: case tsOffice2010Black:
        set(0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2, clNone, clNone, clNone);
        break;
    case tsCustom: break;
    }
}

// ---- the inner panel ---------------------------------------------------------------------------

TCustomItemSelector::TCustomItemSelector(QObject* AOwner) : QWidget(nullptr)
{
    FProItemSelector = dynamic_cast<TProCustomItemSelector*>(AOwner);
    if (!FProItemSelector) throw Exception(QStringLiteral("Invalid parent"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCustomItemSelector::GetItemsRect(TRect& Rect) const
{
    Rect = {FOffSetX, FOffSetY, width() - FOffSetX, height() - FOffSetY};
}

void TCustomItemSelector::GetItemSize(QSize& Size)
{
    TProCustomItemSelector* c = FProItemSelector;
    if (c->OnItemSize) {
        c->OnItemSize(this, Size);
        return;
    }
    TSelectorItems& items = c->Items();
    int a = 0, b = 0;
    if (c->SelectorType() == stColor) {
        a = c->ColorBoxWidth(), b = c->ColorBoxHeight();
    } else {
        for (int i = 0; i < items.Count(); ++i) {
            const TSelectorItem* item = items.Items(i);
            if (!item->Image().isNull()) a = std::max(a, item->Image().width()), b = std::max(b, item->Image().height());
            else if (item->ImageIndex() >= 0 && c->Images())
                a = std::max(a, c->Images()->Width()), b = std::max(b, c->Images()->Height());
        }
    }
    TCanvas canvas;
    canvas.SetFont(c->ItemAppearance().Font);
    int cw = 0, ch = 0;
    for (int i = 0; i < items.Count(); ++i) {
        const TSelectorItem* item = items.Items(i);
        if (item->Caption().isEmpty()) continue;
        const QSize s = item->CaptionSize(canvas, c->Images());
        cw = std::max(cw, s.width()), ch = std::max(ch, s.height());
    }
    if (cw > 0) cw += 4;
    if (c->ItemLayout == ilCaptionLeft || c->ItemLayout == ilCaptionRight) {
        Size.setWidth(2 * FItemOffSetX + (a > 0 ? a : 0) + (a > 0 && cw > 0 ? FCaptionGap : 0) + cw);
        Size.setHeight(std::max(ch, b) + 2 * FItemOffSetY);
    } else {
        Size.setWidth(std::max(cw, a) + 2 * FItemOffSetX);
        Size.setHeight(2 * FItemOffSetY + (b > 0 ? b : 0) + (b > 0 && ch > 0 ? FCaptionGap : 0) + ch);
    }
}

void TCustomItemSelector::UpdateLayout()
{
    TSelectorItems& items = FProItemSelector->Items();
    if (items.Count() == 0) {
        resize(100, 50);
        return;
    }
    FItemHot = -1;
    QSize size;
    GetItemSize(size);
    FItemSize = size;
    TRect r;
    GetItemsRect(r);
    FOrigin = {FOffSetX, FOffSetY};
    const int W = size.width(), H = size.height(), cols = std::max(1, FProItemSelector->Columns());
    const int X0 = FOrigin.X, Y0 = FOrigin.Y;
    int x = X0, y = Y0, inRow = 0, widest = X0;
    for (int i = 0; i < items.Count(); ++i) {
        TSelectorItem* item = items.Items(i);
        item->FRect = {x, y, x + W, y + H};
        item->HasRect = true;
        widest = std::max(widest, x);
        if (i == items.Count() - 1) break;
        if (++inRow < cols) {
            x += W;
        } else {
            inRow = 0;
            y += H;
            x = X0;
        }
    }
    resize(widest + W + X0, y + H + Y0);
    update();
}

std::pair<int, int> TCustomItemSelector::ItemsInBand(int Top, int Bottom) const
{
    const int n = FProItemSelector->Items().Count();
    const int cols = std::max(1, FProItemSelector->Columns());
    // an item height of 0 counts as 1, so that nothing divides by zero
    const int H = std::max(1, FItemSize.height());
    const int firstRow = std::max(0, (Top - FOrigin.Y) / H);
    const int lastRow = std::max(0, (Bottom - FOrigin.Y) / H);
    const int64_t first = int64_t(firstRow) * cols;
    const int64_t last = std::min<int64_t>(n - 1, (int64_t(lastRow) + 1) * cols - 1);
    return {int(std::min<int64_t>(first, n)), int(last)};
}

int TCustomItemSelector::ItemAtPos(const QPoint& P) const
{
    const auto [first, last] = ItemsInBand(P.y(), P.y());
    for (int i = first; i <= last; ++i) {
        const TSelectorItem* item = FProItemSelector->Items().Items(i);
        if (item->HasRect && PtInRect(item->FRect, {P.x(), P.y()})) return i;
    }
    return -1;
}

void TCustomItemSelector::SetItemHot(int v)
{
    TSelectorItems& items = FProItemSelector->Items();
    if (v == FItemHot) return;
    if (v >= 0 && (v >= items.Count() || !items.Items(v)->Enabled)) return;
    const int old = FItemHot;
    FItemHot = -1;
    if (old >= 0) InvalidateItem(old);
    FItemHot = v;
    if (v >= 0) InvalidateItem(v);
}

void TCustomItemSelector::SetItemIndex(int v)
{
    TSelectorItems& items = FProItemSelector->Items();
    if (v >= items.Count()) return;
    if (v >= 0 && !items.Items(v)->Enabled) return;
    if (FItemIndex != v && FItemIndex >= 0) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = v;
    if (v >= 0) {
        InvalidateItem(v);
        if (OnItemSelect) OnItemSelect(this);
    }
}

void TCustomItemSelector::SelectFirst()
{
    if (FProItemSelector->Items().Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    const int n = FProItemSelector->Items().Count();
    if (n > 0) SetItemIndex(n - 1);
}

void TCustomItemSelector::SelectNext()
{
    const int n = FProItemSelector->Items().Count();
    if (n == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex < n - 1) SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious()
{
    if (FProItemSelector->Items().Count() == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext()
{
    const int n = FProItemSelector->Items().Count();
    if (n == 0) return;
    if (FItemHot < 0) SetItemHot(0);
    else if (FItemHot < n - 1) SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious()
{
    if (FProItemSelector->Items().Count() == 0) return;
    if (FItemHot < 0) SetItemHot(0);
    else if (FItemHot > 0) SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const QString& S)
{
    TSelectorItems& items = FProItemSelector->Items();
    for (int i = 0; i < items.Count(); ++i) {
        if (items.Items(i)->LookupText().startsWith(S)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

void TCustomItemSelector::InvalidateItem(int Index)
{
    TSelectorItems& items = FProItemSelector->Items();
    if (Index < 0 || Index >= items.Count() || !items.Items(Index)->HasRect) return;
    update(items.Items(Index)->FRect.ToQRect());
}

void TCustomItemSelector::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    TCanvas canvas;
    canvas.BeginPaint(&p, e->region());
    canvas.Brush()->SetColor(FProItemSelector->Color());
    canvas.FillRect(TRect::FromQRect(e->rect()));
    const auto [first, last] = ItemsInBand(e->rect().top(), e->rect().bottom());
    for (int i = first; i <= last; ++i) DrawItem(i, canvas);
    canvas.EndPaint();
}

void TCustomItemSelector::DrawItem(int Index, TCanvas& Canvas)
{
    TProCustomItemSelector* c = FProItemSelector;
    if (Index < 0 || Index >= c->Items().Count()) return;
    const TSelectorItem* item = c->Items().Items(Index);
    if (!item->HasRect) return;
    const TRect R = item->FRect;
    const TItemAppearance& a = c->ItemAppearance();
    TColor border = a.BorderColor, top = a.BorderColorTop, bottom = a.BorderColorBottom, edge = a.EdgeColor;
    TColor from = clNone, to = clNone, mirror = clNone, mirrorTo = clNone;
    const bool selected = Index == FItemIndex, hot = Index == FItemHot;
    if (selected) {
        from = a.ColorSelected, to = a.ColorSelectedTo, mirror = a.ColorMirrorSelected, mirrorTo = a.ColorMirrorSelectedTo;
        if (a.BorderColorSelected != clNone) border = a.BorderColorSelected, top = bottom = edge = clNone;
    } else if (hot) {
        from = a.ColorHot, to = a.ColorHotTo, mirror = a.ColorMirrorHot, mirrorTo = a.ColorMirrorHotTo;
        if (a.BorderColorHot != clNone) border = a.BorderColorHot, top = bottom = edge = clNone;
    }
    if (!selected && !hot) {
        Canvas.Brush()->SetColor(c->Color());
        Canvas.FillRect(R);
    } else if (top == clNone) {
        DrawBackgroundRect(&Canvas, R, from, to, border, 1, true);
    } else {
        DrawSelectionGradient(&Canvas, from, to, mirror, mirrorTo, top, bottom, border, edge, c->Color(), R, 0);
    }
    if (c->OnDrawItem) {
        c->OnDrawItem(this, &Canvas, R, Index);
        return;
    }
    int w = 0, h = 0;
    if (c->SelectorType() == stColor) w = c->ColorBoxWidth(), h = c->ColorBoxHeight();
    else if (!item->Image().isNull()) w = item->Image().width(), h = item->Image().height();
    else if (item->ImageIndex() >= 0 && c->Images()) w = c->Images()->Width(), h = c->Images()->Height();
    TRect C = R;
    InflateRect(C, -FItemOffSetX, -FItemOffSetY);
    Canvas.SetFont(a.Font);
    if (hot) Canvas.Font()->SetColor(a.ColorHotText);
    if (selected) Canvas.Font()->SetColor(a.ColorSelectedText);
    Canvas.Brush()->SetStyle(bsClear);
    auto drawContent = [&](int x, int y) {
        if (w <= 0 || h <= 0) return;
        if (c->SelectorType() == stColor) {
            Canvas.Pen()->SetColor(clBlack);
            Canvas.Brush()->SetColor(item->Color());
            Canvas.Rectangle(x, y, x + w, y + h);
            Canvas.Brush()->SetStyle(bsClear);
        } else if (!item->Image().isNull()) {
            Canvas.StretchDrawImage(Bounds(x, y, w, h), item->Image());
        } else if (c->Images()) {
            QImage img = c->Images()->Image(item->ImageIndex());
            if (!item->Enabled) img = img.convertToFormat(QImage::Format_Grayscale8);
            Canvas.StretchDrawImage(Bounds(x, y, w, h), img);
        }
    };
    const QString& caption = item->Caption();
    auto drawCaption = [&](TRect box, bool centre) {
        if (caption.isEmpty()) return QSize();
        const QSize s = DrawHtmlCaption(&Canvas, caption, box, c->Images(), false);
        if (centre && s.height() < box.Height()) box.Top += (box.Height() - s.height()) / 2;
        DrawHtmlCaption(&Canvas, caption, box, c->Images(), true);
        return s;
    };
    switch (c->ItemLayout) {
    case ilCaptionLeft: {
        TRect box = C;
        box.Right -= w;
        const QSize s = drawCaption(box, true);
        const int x = C.Left + s.width() + FCaptionGap;
        drawContent(x, c->SelectorType() == stColor ? C.Top : C.Top + (C.Height() - h) / 2);
        break;
    }
    case ilCaptionRight:
        drawContent(C.Left, c->SelectorType() == stColor ? C.Top : C.Top + (C.Height() - h) / 2);
        drawCaption({C.Left + w + FCaptionGap, C.Top, C.Right, C.Bottom}, true);
        break;
    case ilCaptionTop: {
        int y = C.Top + (C.Height() - h) / 2;
        if (!caption.isEmpty()) {
            const QSize s = drawCaption({C.Left, C.Top, C.Right, C.Bottom - h}, false);
            y = C.Top + s.height() + FCaptionGap;
        }
        drawContent(C.Left + (C.Width() - w) / 2, y);
        break;
    }
    case ilCaptionBottom: {
        const int y = caption.isEmpty() ? C.Top + (C.Height() - h) / 2 : C.Top;
        drawContent(C.Left + (C.Width() - w) / 2, y);
        drawCaption({C.Left, y + h + FCaptionGap, C.Right, C.Bottom}, false);
        break;
    }
    }
}

void TCustomItemSelector::mouseMoveEvent(QMouseEvent* e)
{
    const int i = ItemAtPos(e->position().toPoint());
    if (i >= 0 && !FProItemSelector->Items().Items(i)->Enabled) {
        SetItemHot(-1);
        return;
    }
    if (i != FItemHot) {
        SetItemHot(i);
        setToolTip(i >= 0 ? FProItemSelector->Items().Items(i)->Hint : QString());
        QToolTip::hideText();
    }
}

void TCustomItemSelector::mousePressEvent(QMouseEvent* e)
{
    const int i = ItemAtPos(e->position().toPoint());
    if (i >= 0 && FProItemSelector->Items().Items(i)->Enabled) SetItemIndex(i);
}

void TCustomItemSelector::leaveEvent(QEvent*) { SetItemHot(-1); }

// ---- the container -----------------------------------------------------------------------------

TProCustomItemSelector::TProCustomItemSelector(QWidget* AParent) : QScrollArea(AParent)
{
    FItems.OnChange = [this] { UpdateSelectorPanel(); };
    setWidgetResizable(false);
    setFrameShape(QFrame::NoFrame);
    FItemSelectorPanel = new TCustomItemSelector(this);
    FItemSelectorPanel->OnItemSelect = [this](QObject*) {
        if (OnItemSelect) OnItemSelect(this);
    };
    setWidget(FItemSelectorPanel);
    UpdateSelectorPanel();
}

TProCustomItemSelector::~TProCustomItemSelector()
{
    // the panel's paint and hit test read the items: it goes first
    delete takeWidget();
    FItemSelectorPanel = nullptr;
}

void TProCustomItemSelector::UpdateSelectorPanel()
{
    if (FItemSelectorPanel) FItemSelectorPanel->UpdateLayout();
}

void TProCustomItemSelector::SetItemIndex(int v)
{
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SetItemIndex(v);
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TProCustomItemSelector::SetSelectorType(TSelectorType v)
{
    if (v == FSelectorType) return;
    FSelectorType = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetColumns(int v)
{
    if (v <= 0 || v == FColumns) return;
    FColumns = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetColorBoxWidth(int v)
{
    if (v == FColorBoxWidth) return;
    FColorBoxWidth = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetColorBoxHeight(int v)
{
    if (v == FColorBoxHeight) return;
    FColorBoxHeight = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetImages(TCustomImageList* v)
{
    if (v == FImages) return;
    FImages = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetColor(TColor v)
{
    FColor = v;
    if (FItemSelectorPanel) FItemSelectorPanel->update();
}

#define SELECTOR_MOVE(Name, Shown)                                                                                     \
    void TProCustomItemSelector::Name()                                                                                \
    {                                                                                                                  \
        if (!FItemSelectorPanel) return;                                                                               \
        FItemSelectorPanel->Name();                                                                                    \
        ScrollItemInView(FItemSelectorPanel->Shown());                                                                 \
    }
SELECTOR_MOVE(SelectFirst, ItemIndex)
SELECTOR_MOVE(SelectLast, ItemIndex)
SELECTOR_MOVE(SelectNext, ItemIndex)
SELECTOR_MOVE(SelectPrevious, ItemIndex)
SELECTOR_MOVE(HotNext, ItemHot)
SELECTOR_MOVE(HotPrevious, ItemHot)
#undef SELECTOR_MOVE

void TProCustomItemSelector::ScrollItemInView(int Index)
{
    if (!FItemSelectorPanel || Index < 0 || Index >= FItems.Count() || !verticalScrollBar()->isVisible()) return;
    const TSelectorItem* item = FItems.Items(Index);
    if (!item->HasRect) return;
    QScrollBar* bar = verticalScrollBar();
    const int margin = 0;
    const int top = item->FRect.Top - margin - bar->value();
    const int bottom = item->FRect.Bottom + margin - bar->value();
    const int client = viewport()->height();
    if (top < 0) bar->setValue(bar->value() + top);
    else if (bottom > client) {
        if (bottom - top > client) bar->setValue(bar->value() + top);
        else bar->setValue(bar->value() + bottom - client);
    }
}

int TProCustomItemSelector::GetVisibleItemCount() const
{
    if (!FItemSelectorPanel || FItems.Count() == 0 || !FItems.Items(0)->HasRect) return 0;
    const int h = height() - (horizontalScrollBar()->isVisible() ? 20 : 0);
    // an item height of 0 counts as 1
    return h / std::max(1, FItems.Items(0)->FRect.Height()) * FColumns;
}

QSize TProCustomItemSelector::GetSelectorSize() const
{
    return FItemSelectorPanel ? FItemSelectorPanel->size() : QSize(100, 50);
}
