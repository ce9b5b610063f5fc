// The button panel: its items, their look, the calculator's key layout, painting and mouse.
#include "grid/controls/button_panel.h"

#include "platform/ui/image_list.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TButtonAppearance::TButtonAppearance()
{
    FFont.SetSize(10);
    FFont.SetStyle(TFontStyles{fsBold});
}

void TButtonAppearance::Assign(const TButtonAppearance& s)
{
    FColor = s.FColor;
    FColorTo = s.FColorTo;
    FColorHot = s.FColorHot;
    FColorHotTo = s.FColorHotTo;
    FColorDown = s.FColorDown;
    FColorDownTo = s.FColorDownTo;
    FGlowColorHot = s.FGlowColorHot;
    FGlowColorDown = s.FGlowColorDown;
    FBorderColor = s.FBorderColor;
    FBorderColorHot = s.FBorderColorHot;
    FBorderColorDown = s.FBorderColorDown;
    FColorChecked = s.FColorChecked;
    FColorCheckedTo = s.FColorCheckedTo;
    FBorderColorChecked = s.FBorderColorChecked;
    FColorDisabled = s.FColorDisabled;
    FColorDisabledTo = s.FColorDisabledTo;
    FTextColor = s.FTextColor;
    FSpecialTextColor = s.FSpecialTextColor;
    ShineColor = s.ShineColor;
    FFont.Assign(s.FFont);
    Changed();
}

void TButtonItem::Assign(const TButtonItem& s)
{
    Caption = s.Caption;
    CaptionColor = s.CaptionColor;
    Tag = s.Tag;
    ImageIndex = s.ImageIndex;
    FImage.Assign(&s.FImage);
    Enabled = s.Enabled;
    Name = s.Name;
}

TButtonItem* TButtonItems::Add() { return Insert(Count()); }

TButtonItem* TButtonItems::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    auto* item = FItems.insert(FItems.begin() + Index, std::make_unique<TButtonItem>())->get();
    Changed();
    return item;
}

void TButtonItems::Clear()
{
    FItems.clear();
    Changed();
}

void TButtonItems::Assign(const TButtonItems& s)
{
    if (&s == this) return;
    FItems.clear();
    for (const auto& item : s.FItems) {
        FItems.push_back(std::make_unique<TButtonItem>());
        FItems.back()->Assign(*item);
    }
    Changed();
}

// ---- the panel ---------------------------------------------------------------------------

TCustomButtonPanel::TCustomButtonPanel(QWidget* AParent) : TCustomPanel(AParent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    FButtons.OnChange = [this] { Repaint(); };
    FButtonAppearance.OnChange = [this] { Repaint(); };
}

void TCustomButtonPanel::Repaint()
{
    // a drop-down repaints its panel when it shows it
    if (!FOwnerDropDown) update();
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType v)
{
    if (FButtonPanelType == v) return;
    FButtonPanelType = v;
    ArrangeButtons();
    update();
}

void TCustomButtonPanel::SetButtonLayout(TItemLayout v)
{
    FButtonLayout = v;
    update();
}

void TCustomButtonPanel::SetImages(TCustomImageList* v)
{
    FImages = v;
    ArrangeButtons();
    update();
}

int TCustomButtonPanel::ButtonAt(const QPoint& P) const
{
    for (int i = 0; i < FButtons.Count(); ++i)
    {
        const TButtonItem& b = *FButtons.Items(i);
        if (P.x() >= b.Left && P.x() < b.Left + b.Width && P.y() >= b.Top && P.y() < b.Top + b.Height) return i;
    }
    return -1;
}

void TCustomButtonPanel::GetButtonsRect(TRect& Rect)
{
    Rect = {PanelMarginX, PanelMarginY, width() - PanelMarginX, height() - PanelMarginY};
}

QImage TCustomButtonPanel::ButtonImage(const TButtonItem& Item) const
{
    auto& picture = const_cast<TButtonItem&>(Item).Image();
    if (TBitmap* b = picture.Graphic()) return b->Image();
    if (FImages && Item.ImageIndex >= 0) return FImages->Image(Item.ImageIndex);
    return {};
}

void TCustomButtonPanel::GetButtonSize(QSize& Size)
{
    const QFontMetrics& fm = FButtonAppearance.Font().Metrics();
    int cw = 0, ch = 0, iw = 0, ih = 0;
    for (int i = 0; i < FButtons.Count(); ++i) {
        const TButtonItem& b = *FButtons.Items(i);
        if (!b.Caption.isEmpty()) {
            cw = std::max(cw, fm.horizontalAdvance(b.Caption));
            ch = std::max(ch, fm.height());
        }
        const QImage img = ButtonImage(b);
        iw = std::max(iw, img.width());
        ih = std::max(ih, img.height());
    }
    const int gap = iw > 0 && cw > 0 ? CaptionGap : 0;
    if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight)
        Size = {2 * ButtonMarginX + iw + gap + cw, std::max(ih, ch) + 2 * ButtonMarginY};
    else
        Size = {std::max(iw, cw) + 2 * ButtonMarginX, 2 * ButtonMarginY + ih + gap + ch};
}

void TCustomButtonPanel::ClearButtons() { FButtons.Clear(); }

void TCustomButtonPanel::ResetButtons()
{
    ClearButtons();
    CreateButtons();
}

namespace {
struct TCalcKey {
    const char* Caption;
    const char* Name;
    int Code;
    bool Special;
};
const TCalcKey CalcKeys[28] = {
    {"", "BTN_ON", 30, false},       {"Back", "BTN_BACK", 31, true}, {"CE", "BTN_CE", 32, true},
    {"C", "BTN_C", 16, true},        {"MC", "BTN_MC", 33, true},     {"MR", "BTN_MR", 34, true},
    {"MS", "BTN_MS", 35, true},      {"M+", "BTN_M+", 36, true},     {"0", "BTN_0", 0, false},
    {"1", "BTN_1", 1, false},        {"4", "BTN_4", 4, false},       {"7", "BTN_7", 7, false},
    {"8", "BTN_8", 8, false},        {"5", "BTN_5", 5, false},       {"2", "BTN_2", 2, false},
    {"+/-", "BTN_+/-", 14, false},   {".", "BTN_.", 15, false},      {"3", "BTN_3", 3, false},
    {"6", "BTN_6", 6, false},        {"9", "BTN_9", 9, false},       {"/", "BTN_/", 13, true},
    {"*", "BTN_*", 12, true},        {"-", "BTN_-", 11, true},       {"+", "BTN_+", 10, true},
    {"=", "BTN_=", 17, true},        {"1/x", "BTN_1/x", 38, false},  {"%", "BTN_%", 18, false},
    {"sqrt", "BTN_sqrt", 37, true},
};
// Grid place (column, row) of each key below the top row, in list order from index 4.
const int KeyPlace[24][2] = {
    {0, 1}, {0, 2}, {0, 3}, {0, 4}, // MC MR MS M+
    {1, 4}, {1, 3}, {1, 2}, {1, 1}, // 0 1 4 7
    {2, 1}, {2, 2}, {2, 3}, {2, 4}, // 8 5 2 +/-
    {3, 4}, {3, 3}, {3, 2}, {3, 1}, // . 3 6 9
    {4, 1}, {4, 2}, {4, 3}, {4, 4}, // / * - +
    {5, 4}, {5, 3}, {5, 2}, {5, 1}, // = 1/x % sqrt
};
} // namespace

void TCustomButtonPanel::CreateButtons()
{
    if (FButtonPanelType != plCalculator || FButtons.Count() > 0) return;
    for (const TCalcKey& k : CalcKeys) {
        TButtonItem* b = FButtons.Add();
        b->Caption = QString::fromLatin1(k.Caption);
        b->Name = QString::fromLatin1(k.Name);
        b->Tag = k.Code;
        b->Special = k.Special;
        if (k.Special) b->CaptionColor = 0x80;
    }
    ArrangeButtons();
}

void TCustomButtonPanel::ArrangeButtons()
{
    if (FButtonPanelType != plCalculator || FButtons.Count() < 28) return;
    TRect r;
    GetButtonsRect(r);
    const int w = (r.Right - r.Left - 8) / 6, h = (r.Bottom - r.Top - 4) / 5;
    const int t1 = r.Top + h + 4;
    const int c[6] = {r.Left, r.Left + w + 4, r.Left + 2 * w + 3, r.Left + 3 * w + 2, r.Left + 4 * w + 6,
                      r.Left + 5 * w + 5};
    auto place = [](TButtonItem* b, int x, int y, int bw, int bh) {
        b->Left = x;
        b->Top = y;
        b->Width = bw;
        b->Height = bh;
    };
    for (int i = 4; i < 28; ++i) {
        const int col = KeyPlace[i - 4][0], row = KeyPlace[i - 4][1];
        place(FButtons.Items(i), c[col], t1 + (row - 1) * (h - 1), w, h);
    }
    place(FButtons.Items(0), r.Left, r.Top, w, h);
    const int x1 = r.Left + w + 4, v = (c[5] + w - x1 - 8) / 3;
    place(FButtons.Items(1), x1, r.Top, v, h);
    place(FButtons.Items(2), x1 + v + 4, r.Top, v, h);
    place(FButtons.Items(3), x1 + 2 * v + 8, r.Top, c[5] + w - (x1 + 2 * v + 8), h);
}

void TCustomButtonPanel::InvalidateButton(int Index)
{
    if (Index < 0 || Index >= FButtons.Count()) return;
    const TButtonItem& b = *FButtons.Items(Index);
    update(QRect(b.Left - 8, b.Top - 8, b.Width + 16, b.Height + 16));
}

void TCustomButtonPanel::DoButtonClick(int Index)
{
    if (OnButtonClick) OnButtonClick(this, Index);
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas* Canvas)
{
    if (!Canvas || Index < 0 || Index >= FButtons.Count()) return;
    const TButtonItem& b = *FButtons.Items(Index);
    if (b.Left < 0 && b.Left + b.Width < 0) return;
    const TRect r = b.Rect();
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(FColor);
    Canvas->FillRect(r);
    // the face of a push button in the widget style, by state
    if (QPainter* p = Canvas->Painter()) {
        QStyleOptionButton o;
        o.initFrom(this);
        o.rect = QRect(r.Left, r.Top, b.Width, b.Height);
        o.state = QStyle::State_None;
        if (isEnabled()) o.state |= QStyle::State_Enabled;
        if (isEnabled() && Index == FDownIndex) o.state |= QStyle::State_Sunken;
        else o.state |= QStyle::State_Raised;
        if (isEnabled() && Index == FHotIndex) o.state |= QStyle::State_MouseOver;
        style()->drawControl(QStyle::CE_PushButtonBevel, &o, p, this);
    }
    TRect in{r.Left + ButtonMarginX, r.Top + ButtonMarginY, r.Right - ButtonMarginX, r.Bottom - ButtonMarginY};
    Canvas->Font()->Assign(FButtonAppearance.Font());
    Canvas->Font()->SetColor(b.Special ? FButtonAppearance.SpecialTextColor() : FButtonAppearance.TextColor());
    Canvas->Brush()->SetStyle(bsClear);
    const QImage img = ButtonImage(b);
    const int iw = img.width(), ih = img.height();
    const int x = in.Left;
    const uint32_t line = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    auto image = [&](int ix, int iy) {
        if (!img.isNull()) Canvas->StretchDrawImage({ix, iy, ix + iw, iy + ih}, img);
    };
    auto caption = [&](TRect cr, uint32_t align) {
        if (!b.Caption.isEmpty()) Canvas->DrawText(b.Caption, cr, line | align);
    };
    const uint32_t align = img.isNull() ? DT_CENTER : DT_LEFT;
    const int vcentre = in.Top + (in.Bottom - in.Top - ih) / 2;
    const int th = Canvas->TextHeight(QStringLiteral("Hg"));
    switch (FButtonLayout) {
    case ilCaptionRight:
        image(x, vcentre);
        caption({x + (iw > 0 ? iw + CaptionGap : 0), in.Top, in.Right, in.Bottom}, align);
        break;
    case ilCaptionLeft: {
        caption({in.Left, in.Top, in.Right - iw, in.Bottom}, align);
        const int cw = b.Caption.isEmpty() ? 0 : Canvas->TextWidth(b.Caption);
        image(x + cw + CaptionGap, vcentre);
        break;
    }
    case ilCaptionTop:
        if (b.Caption.isEmpty()) {
            image(x, vcentre);
        } else {
            caption({in.Left, in.Top, in.Right, in.Bottom - ih}, DT_CENTER);
            image(x, in.Top + th + CaptionGap);
        }
        break;
    case ilCaptionBottom:
        if (b.Caption.isEmpty()) {
            image(x, vcentre);
        } else {
            image(x, in.Top);
            caption({in.Left, in.Top + ih + CaptionGap, in.Right, in.Bottom}, DT_CENTER);
        }
        break;
    }
}

void TCustomButtonPanel::Paint(TCanvas& Canvas)
{
    TCustomPanel::Paint(Canvas);
    if (!FOwnerDropDown) {
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(clBlack);
        Canvas.FrameRect({0, 0, width(), height()});
    }
    for (int i = 0; i < FButtons.Count(); ++i)
        if (i != FHotIndex) DrawButton(i, &Canvas);
    DrawButton(FHotIndex, &Canvas);
}

void TCustomButtonPanel::resizeEvent(QResizeEvent* e)
{
    TCustomPanel::resizeEvent(e);
    ArrangeButtons();
}

void TCustomButtonPanel::mousePressEvent(QMouseEvent* e)
{
    const int i = ButtonAt(e->position().toPoint());
    if (e->button() != Qt::LeftButton || i < 0 || !FButtons.Items(i)->Enabled) return;
    InvalidateButton(FDownIndex);
    FDownIndex = i;
    repaint(); // the pressed face shows at once
}

void TCustomButtonPanel::mouseMoveEvent(QMouseEvent* e)
{
    int i = ButtonAt(e->position().toPoint());
    if (i >= 0 && !FButtons.Items(i)->Enabled) i = -1;
    if (i == FHotIndex) return;
    InvalidateButton(FHotIndex);
    FHotIndex = i;
    InvalidateButton(FHotIndex);
}

void TCustomButtonPanel::leaveEvent(QEvent* e)
{
    TCustomPanel::leaveEvent(e);
    InvalidateButton(FHotIndex);
    FHotIndex = -1;
}

void TCustomButtonPanel::mouseReleaseEvent(QMouseEvent* e)
{
    const int down = FDownIndex;
    if (down < 0) return;
    FDownIndex = -1;
    InvalidateButton(down);
    if (ButtonAt(e->position().toPoint()) == down) DoButtonClick(down);
}
