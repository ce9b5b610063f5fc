// The pop-up form, its header and footer panels and their appearances.
#include "grid/controls/dropdown_form.h"

#include "grid/controls/pro_custom_dropdown.h"
#include "platform/core/exception.h"
#include "platform/ui/image_list.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

template <typename T> T* TDbgList<T>::GetItemsEx(int Index) const
{
    if (Index < 0 || Index >= Count()) throw Exception(QStringLiteral("Index out of bounds in list read access"));
    return FItems[size_t(Index)];
}

template <typename T> void TDbgList<T>::SetItemsEx(int Index, T* Item)
{
    if (Index < 0 || Index >= Count()) throw Exception(QStringLiteral("Index out of bounds in list write access"));
    FItems[size_t(Index)] = Item;
}

template class TDbgList<TProButton>;

// ---- buttons and appearances ---------------------------------------------------------------

void THeaderButton::SetCaption(const QString& v)
{
    FCaption = v;
    Changed();
}

void THeaderButton::SetEnabled(bool v)
{
    FEnabled = v;
    Changed();
}

void THeaderButton::SetWidth(int v)
{
    FWidth = v;
    Changed();
}

void THeaderButton::Assign(const THeaderButton& s)
{
    FCaption = s.FCaption;
    FEnabled = s.FEnabled;
    FWidth = s.FWidth;
    FHeight = s.FHeight;
    ImageIndex = s.ImageIndex;
    ModalResult = s.ModalResult;
    Changed();
}

THeaderButton* THeaderButtons::Add()
{
    FItems.push_back(std::make_unique<THeaderButton>([this] { Changed(); }));
    Changed();
    return FItems.back().get();
}

void THeaderButtons::Clear()
{
    FItems.clear();
    Changed();
}

void THeaderButtons::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) return;
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void THeaderButtons::Assign(const THeaderButtons& s)
{
    if (&s == this) return;
    FItems.clear();
    for (const auto& b : s.FItems) {
        FItems.push_back(std::make_unique<THeaderButton>([this] { Changed(); }));
        FItems.back()->Assign(*b);
    }
    Changed();
}

THeaderAppearance::THeaderAppearance(QObject* AOwner)
{
    (void)AOwner;
    FButtons.OnChange = [this] {
        if (OnButtonsChanged) OnButtonsChanged();
    };
}

void THeaderAppearance::SetVisible(bool v)
{
    FVisible = v;
    if (OnChange) OnChange();
}

void THeaderAppearance::Assign(const THeaderAppearance& s)
{
    if (&s == this) return;
    Height = s.Height;
    Caption = s.Caption;
    Font.Assign(s.Font);
    Color = s.Color;
    ColorTo = s.ColorTo;
    GradientDirection = s.GradientDirection;
    BorderColor = s.BorderColor;
    BorderWidth = s.BorderWidth;
    ImageIndex = s.ImageIndex;
    ButtonAlignment = s.ButtonAlignment;
    SizeGrip = s.SizeGrip;
    FButtons.Assign(s.FButtons);
    SetVisible(s.FVisible);
}

// ---- header and footer panels --------------------------------------------------------------

TProHeader::TProHeader(TDropDownForm* AForm, bool AFooter) : TCustomPanel(AForm), FForm(AForm), FFooter(AFooter)
{
    if (AFooter) {
        FGrip = std::make_unique<TSizeGrip>(AForm);
        setMouseTracking(true);
    }
}

TProHeader::~TProHeader() { ClearButtons(); }

THeaderButtons* TProHeader::Buttons() const
{
    if (!FProDropDown) return nullptr;
    return FFooter ? &FProDropDown->DropDownFooter()->Buttons() : &FProDropDown->DropDownHeader()->Buttons();
}

void TProHeader::AttachDropDown(TProCustomDropDown* DropDown)
{
    FProDropDown = DropDown;
    if (!DropDown) {
        FImages = nullptr;
        return;
    }
    FImages = DropDown->Images();
    FAppearance.Assign(FFooter ? *DropDown->DropDownFooter() : *DropDown->DropDownHeader());
    AppearanceChanged();
}

void TProHeader::AppearanceChanged()
{
    setVisible(FAppearance.Visible());
    resize(width(), FAppearance.Height);
    update();
}

void TProHeader::RebuildButtons()
{
    if (FProDropDown) CreateButtons();
}

bool TProHeader::GripActive() const
{
    return FFooter && FAppearance.SizeGrip && FProDropDown && FProDropDown->DropDownSizeable;
}

TRect TProHeader::ButtonArea() const
{
    if (!FFooter) return {2, 2, width() - 2, height() - 3};
    return {2, 2, width() - (GripActive() ? 14 : 2), height() - 2};
}

void TProHeader::CreateButtons()
{
    THeaderButtons* items = Buttons();
    if (!items || !FProDropDown) return;
    ClearButtons();
    const int maxHeight = ButtonArea().Height();
    for (int i = 0; i < items->Count(); ++i) {
        const THeaderButton* item = items->Items(i);
        auto* b = new TProButton(this);
        b->SetAppearance(FProDropDown->ButtonAppearance());
        b->SetCaption(item->Caption());
        b->SetImages(FImages);
        b->SetImageIndex(item->ImageIndex);
        b->setEnabled(item->Enabled());
        if (FFooter) {
            b->SetProDropDown(FProDropDown);
            b->SetModalResult(item->ModalResult);
        }
        b->AutoSizeButton();
        if (item->Width() > 0) b->resize(item->Width(), b->height());
        if (item->Height() > 0) b->resize(b->width(), item->Height());
        if (b->height() > maxHeight) b->resize(b->width(), maxHeight);
        b->Tag = i;
        b->OnClick = [this](QObject* s) { ButtonClick(static_cast<TProButton*>(s)); };
        b->show();
        FButtonList.Add(b);
    }
    ArrangeButtons();
}

void TProHeader::ClearButtons()
{
    // a button may be clicking right now (its handler changed the buttons): it goes once
    // its click is over
    for (int i = FButtonList.Count() - 1; i >= 0; --i) {
        TProButton* b = FButtonList.GetItemsEx(i);
        b->hide();
        b->setParent(nullptr);
        b->deleteLater();
    }
    FButtonList.Clear();
}

void TProHeader::ArrangeButtons()
{
    const TRect a = ButtonArea();
    int x = FAppearance.ButtonAlignment == baRight ? a.Right : a.Left;
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TProButton* b = FButtonList.GetItemsEx(i);
        const int top = std::max(a.Top, (a.Bottom - b->height()) / 2);
        if (FAppearance.ButtonAlignment == baRight) {
            x -= b->width();
            b->move(x, top);
        } else {
            b->move(x, top);
            x += b->width();
        }
    }
}

void TProHeader::UpdateButtons()
{
    THeaderButtons* items = Buttons();
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TProButton* b = FButtonList.GetItemsEx(i);
        if (FProDropDown) b->SetAppearance(FProDropDown->ButtonAppearance());
        b->SetImages(FImages);
        if (items && i < items->Count()) {
            b->SetCaption(items->Items(i)->Caption());
            b->SetImageIndex(items->Items(i)->ImageIndex);
            b->setEnabled(items->Items(i)->Enabled());
        }
        b->AutoSizeButton();
    }
    ArrangeButtons();
}

void TProHeader::ButtonClick(TProButton* Button)
{
    if (!FProDropDown) return;
    auto& event = FFooter ? FProDropDown->OnDropDownFooterButtonClick : FProDropDown->OnDropDownHeaderButtonClick;
    if (event) event(FProDropDown, Button->Tag);
}

void TProHeader::Paint(TCanvas& Canvas)
{
    const TRect r{0, 0, width(), height()};
    if (OnDrawBackGround) {
        OnDrawBackGround(this, &Canvas, r);
        return;
    }
    const THeaderAppearance& a = FAppearance;
    if (a.ColorTo == clNone) {
        if (a.Color != clNone) {
            Canvas.Brush()->SetColor(a.Color);
            Canvas.FillRect(r);
        }
    } else {
        DrawGradient(&Canvas, a.Color, a.ColorTo, 80, r, a.GradientDirection == gdHorizontal);
    }
    if (a.BorderColor != clNone && a.BorderWidth > 0) {
        Canvas.Pen()->SetColor(a.BorderColor);
        Canvas.Pen()->SetWidth(a.BorderWidth);
        const int edgeY = FFooter ? r.Top : r.Bottom - 1;
        Canvas.MoveTo(r.Left, edgeY);
        Canvas.LineTo(r.Right, edgeY);
        const bool formBorder = FProDropDown && FProDropDown->DropDownBorderWidth > 0 &&
                                FProDropDown->DropDownBorderColor != clNone;
        if (!formBorder) {
            Canvas.Brush()->SetStyle(bsClear);
            Canvas.Rectangle(r);
        }
        Canvas.Pen()->SetWidth(1);
        Canvas.Brush()->SetStyle(bsClear);
        Canvas.Pen()->SetColor(BlendColorPercent(a.BorderColor, 0xFFFFFF, 20));
        TRect tint = r;
        if (FFooter) tint.Top += a.BorderWidth;
        else tint.Bottom -= a.BorderWidth;
        Canvas.Rectangle(tint);
    }
    TRect t = r;
    InflateRect(t, -a.BorderWidth, -a.BorderWidth);
    if (a.ImageIndex >= 0 && FImages) {
        FImages->Draw(&Canvas, t.Left + 4, t.Top + (t.Height() - FImages->Height()) / 2, a.ImageIndex);
        t.Left += FImages->Width() + 8;
    }
    QString caption = a.Caption;
    if (OnGetText) OnGetText(this, caption);
    if (!caption.isEmpty()) {
        if (TProButton* last = FButtonList.Last()) t.Right = last->x() - 2;
        Canvas.SetFont(a.Font);
        const QSize s = DrawHtmlCaption(&Canvas, caption, t, FImages, false);
        if (s.height() < t.Height()) t.Top += (t.Height() - s.height()) / 2;
        DrawHtmlCaption(&Canvas, caption, t, FImages, true);
    }
    if (GripActive()) {
        const int L = r.Right - a.BorderWidth - 16, B = r.Bottom;
        const TPoint squares[] = {{L + 5, B - 4}, {L + 9, B - 4}, {L + 13, B - 4}, {L + 13, B - 8}, {L + 13, B - 12}, {L + 9, B - 8}};
        Canvas.Brush()->SetColor(clWhite);
        for (const TPoint& q : squares) Canvas.FillRect(Bounds(q.X, q.Y, 2, 2));
        Canvas.Brush()->SetColor(a.BorderColor == clNone ? 0x808080 : a.BorderColor);
        for (const TPoint& q : squares) Canvas.FillRect(Bounds(q.X - 1, q.Y - 1, 2, 2));
    }
}

void TProHeader::resizeEvent(QResizeEvent* e)
{
    TCustomPanel::resizeEvent(e);
    ArrangeButtons();
}

bool TProHeader::InGripCorner(const QPoint& p) const
{
    return GripActive() && p.x() > width() - 12 && p.y() > height() - 15;
}

void TProHeader::mousePressEvent(QMouseEvent* e)
{
    if (FGrip && e->button() == Qt::LeftButton && InGripCorner(e->position().toPoint()))
        FGrip->Begin(e->globalPosition().toPoint());
}

void TProHeader::mouseMoveEvent(QMouseEvent* e)
{
    if (!FGrip) return;
    if (FGrip->Sizing()) {
        FGrip->Move(e->globalPosition().toPoint());
        if (FForm->OnSizing) FForm->OnSizing();
        return;
    }
    if (InGripCorner(e->position().toPoint())) setCursor(Qt::SizeFDiagCursor);
    else unsetCursor();
}

void TProHeader::mouseReleaseEvent(QMouseEvent*)
{
    if (FGrip) FGrip->End();
    unsetCursor();
}

void TProHeader::leaveEvent(QEvent*)
{
    if (FGrip && !FGrip->Sizing()) unsetCursor();
}

// ---- the form --------------------------------------------------------------------------------

TDropDownForm::TDropDownForm(TProCustomDropDown* AOwner) : TPopupWindow(AOwner), FProDropDown(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TRect TDropDownForm::AlignRect() const
{
    TRect r{0, 0, width(), height()};
    const int b = FProDropDown ? FProDropDown->DropDownBorderWidth : 0;
    InflateRect(r, -b, -b);
    return r;
}

void TDropDownForm::Realign()
{
    TRect a = AlignRect();
    if (FHeader && FHeader->isVisibleTo(this)) {
        FHeader->setGeometry(a.Left, a.Top, a.Width(), FHeader->height());
        a.Top += FHeader->height();
    }
    if (FFooter && FFooter->isVisibleTo(this)) {
        FFooter->setGeometry(a.Left, a.Bottom - FFooter->height(), a.Width(), FFooter->height());
        a.Bottom -= FFooter->height();
    }
    if (QWidget* c = FProDropDown ? FProDropDown->Control() : nullptr) {
        if (c->parentWidget() == this) {
            const int top = std::max(a.Top, c->y());
            c->setGeometry(a.Left, top, a.Width(), std::max(0, a.Bottom - top));
        }
    }
}

void TDropDownForm::InitializeAndUpdate()
{
    if (!FProDropDown) return;
    auto panel = [this](TProHeader*& p, bool footer) {
        THeaderAppearance* a = footer ? static_cast<THeaderAppearance*>(FProDropDown->DropDownFooter())
                                      : FProDropDown->DropDownHeader();
        if (p) {
            p->AttachDropDown(FProDropDown);
            p->RebuildButtons();
            p->setVisible(a->Visible());
        } else if (a->Visible()) {
            p = new TProHeader(this, footer);
            p->resize(width(), a->Height);
            p->AttachDropDown(FProDropDown);
            p->RebuildButtons();
            p->show();
        }
        if (p) {
            p->OnDrawBackGround = footer ? FProDropDown->OnDrawFooter : FProDropDown->OnDrawHeader;
            p->OnGetText = footer ? FProDropDown->OnGetFooterText : FProDropDown->OnGetHeaderText;
        }
    };
    panel(FHeader, false);
    panel(FFooter, true);
    // a hidden form is laid out when it is shown, after the drop-down sized it
    if (isVisible()) Realign();
}

void TDropDownForm::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p, e->region());
    const TRect inner = AlignRect();
    if (FProDropDown) {
        const TColor from = FProDropDown->DropDownColor(), to = FProDropDown->DropDownColorTo;
        if (from != clNone && to != clNone) DrawGradient(&c, from, to, 80, inner, FProDropDown->DropDownGradient == gdHorizontal);
        else if (from != clNone) {
            c.Brush()->SetColor(from);
            c.FillRect(inner);
        }
        const int bw = FProDropDown->DropDownBorderWidth;
        if (bw > 0 && FProDropDown->DropDownBorderColor != clNone) {
            c.Pen()->SetWidth(bw);
            c.Pen()->SetColor(FProDropDown->DropDownBorderColor);
            c.Brush()->SetStyle(bsClear);
            const int h = bw / 2;
            c.Rectangle(h, h, width() - (bw - 1 - h), height() - (bw - 1 - h));
        }
    }
    c.EndPaint();
}

void TDropDownForm::resizeEvent(QResizeEvent* e)
{
    TPopupWindow::resizeEvent(e);
    Realign();
    update();
}

void TDropDownForm::wheelEvent(QWheelEvent* e)
{
    if (e->angleDelta().y() < 0 && OnWheelDown) OnWheelDown();
    if (e->angleDelta().y() > 0 && OnWheelUp) OnWheelUp();
    e->accept();
}
