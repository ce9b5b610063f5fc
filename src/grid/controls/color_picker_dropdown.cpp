#include "grid/controls/color_picker_dropdown.h"

#include <QKeyEvent>
#include <QPainter>

// ---- colour items ------------------------------------------------------------------------------

void TColorItem::SetCaption(const QString& v)
{
    if (v == FCaption) return;
    FCaption = v;
    if (FChanged) FChanged();
}

void TColorItem::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    if (FChanged) FChanged();
}

void TColorItem::Assign(const TColorItem& Source)
{
    SetCaption(Source.FCaption);
    SetColor(Source.FColor);
    FEnabled = Source.FEnabled;
    Hint = Source.Hint;
}

QString ColorValueToText(TColor Color, TColorValueText Kind)
{
    const TColor rgb = ColorToRGB(Color);
    const auto hex2 = [](int v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); };
    const QString html = QLatin1Char('#') + hex2(GetRValue(rgb)) + hex2(GetGValue(rgb)) + hex2(GetBValue(rgb));
    switch (Kind) {
    case cvtNone:
        return QString();
    case cvtHex:
        return QStringLiteral("%1").arg(uint32_t(Color), 6, 16, QLatin1Char('0')).toUpper();
    case cvtWebName: {
        const QColor c = ColorToQColor(rgb);
        for (const QString& name : QColor::colorNames())
            if (QColor(name) == c) return name;
        return html;
    }
    case cvtRGB:
        return QStringLiteral("Red:%1,Green:%2,Blue:%3").arg(GetRValue(rgb)).arg(GetGValue(rgb)).arg(GetBValue(rgb));
    case cvtHTML:
        return html;
    }
    return QString();
}

// ---- the picker --------------------------------------------------------------------------------

TProColorPickerDropDown::TProColorPickerDropDown(QWidget* AParent) : TProCustomDropDown(AParent), FColors(this)
{
    SetEditorEnabled(false);
    DropDownEnabled = true;
    SetDropDownHeight(200);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    setCursor(Qt::ArrowCursor);
}

TProColorPickerDropDown::~TProColorPickerDropDown() { FDestroying = true; }

void TProColorPickerDropDown::AddDefaultColors()
{
    static const std::pair<const char*, TColor> defaults[] = {
        {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000}, {"Olive", 0x008080},
        {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00}, {"White", 0xFFFFFF},
    };
    for (const auto& [caption, color] : defaults) {
        TColorItem* item = FColors.Add();
        item->SetCaption(QString::fromLatin1(caption));
        item->SetColor(color);
    }
}

void TProColorPickerDropDown::SetItemIndex(int Value)
{
    if (Value >= FColors.Count()) return;
    FItemIndex = Value;
    // the colour is taken as it stands: a search by colour could land on an earlier duplicate
    if (Value >= 0) FSelectedColor = FColors.Items(Value)->Color();
    update();
    if (OnSelect) OnSelect(this);
}

void TProColorPickerDropDown::SetSelectedColor(TColor Value)
{
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    for (int i = 0; i < FColors.Count(); ++i)
        if (FColors.Items(i)->Color() == Value) {
            SetItemIndex(i);
            break;
        }
    update();
}

void TProColorPickerDropDown::SetShowText(bool v)
{
    FShowText = v;
    update();
}

QString TProColorPickerDropDown::SelectedColorText() const
{
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors.Count())
        return FColors.Items(FItemIndex)->Caption();
    return ColorValueToText(FSelectedColor, ColorValueText);
}

void TProColorPickerDropDown::Step(int Step)
{
    if (!FColors.Count()) return;
    const int to = PickerStepIndex(FItemIndex, FColors.Count(), Step);
    // next and previous stop at the ends without a call
    if (Step >= 2 && to == FItemIndex) return;
    SetItemIndex(to);
}

void TProColorPickerDropDown::SelectFirst() { Step(0); }
void TProColorPickerDropDown::SelectLast() { Step(1); }
void TProColorPickerDropDown::SelectNext() { Step(2); }
void TProColorPickerDropDown::SelectPrevious() { Step(3); }

// ---- hosted controls -----------------------------------------------------------------------------

void TProColorPickerDropDown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    switch (FColorSelectionStyle) {
    case csList: CreateListSelector(); break;
    case csDiscrete: CreateColorSelector(); break;
    case csColorCube: CreateCubePanel(); break;
    case csSpectrum: CreateSpectrumPanel(); break;
    }
}

void TProColorPickerDropDown::CreateListSelector()
{
    if (!FItemSelector) {
        FItemSelector = new TProCustomItemSelector(DropDownForm());
        FItemSelector->move(0, 0);
        FItemSelector->SetColor(DropDownColor());
        FItemSelector->SetSelectorType(stColor);
        FItemSelector->resize(FItemSelector->width(), 150);
        FItemSelector->UpdateSelectorPanel();
        FItemSelector->OnItemSelect = [this](QObject*) { SelectorItemSelect(); };
    }
    SetControl(FItemSelector);
}

template <class TPanel> bool TProColorPickerDropDown::HostPanel(TPanel*& Field)
{
    const bool made = !Field;
    if (made) {
        Field = new TPanel(DropDownForm());
        Field->move(0, 0);
        Field->SetColor(DropDownColor());
    }
    SetControl(Field);
    return made;
}

void TProColorPickerDropDown::CreateColorSelector()
{
    if (HostPanel(FColorSelector)) {
        FColorSelector->LoadDefaultPalette();
        FColorSelector->OnItemSelect = [this](QObject*) { DiscreteSelect(); };
    }
    FColorSelector->UpdateLayout();
}

void TProColorPickerDropDown::CreateCubePanel() { HostPanel(FColorCubePanel); }

void TProColorPickerDropDown::CreateSpectrumPanel() { HostPanel(FSpectrumPanel); }

void TProColorPickerDropDown::LoadSelectorItems()
{
    if (!FItemSelector) return;
    TSelectorItems& items = FItemSelector->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < FColors.Count(); ++i) {
        const TColorItem* c = FColors.Items(i);
        TSelectorItem* item = items.Add();
        item->SetCaption(c->Caption());
        item->SetColor(c->Color());
        item->Hint = c->Hint;
    }
    items.EndUpdate();
}

void TProColorPickerDropDown::UpdateItemSelector()
{
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(std::max(1, Columns));
    FItemSelector->SetImages(Images());
    FItemSelector->ItemLayout = Layout;
    FItemSelector->SetColor(DropDownColor());
    LoadSelectorItems();
    FItemSelector->SetColorBoxHeight(ColorBoxHeight);
    FItemSelector->SetColorBoxWidth(ColorBoxWidth);
    FItemSelector->SetItemAppearance(FItemAppearance);
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](QObject*) { SelectorItemSelect(); };
    FItemSelector->setToolTipDuration(-1);
    if (OnDrawColor)
        FItemSelector->OnDrawItem = [this](QObject*, TCanvas* Canvas, TRect R, int Index) {
            if (OnDrawColor) OnDrawColor(this, Canvas, R, Index);
        };
    else FItemSelector->OnDrawItem = nullptr;
    FOldItemIndex = FItemIndex;
}

void TProColorPickerDropDown::PrepareStyleControl()
{
    DropDownForm();
    QWidget* shown = nullptr;
    switch (FColorSelectionStyle) {
    case csList:
        CreateListSelector();
        UpdateItemSelector();
        shown = FItemSelector;
        break;
    case csDiscrete:
        CreateColorSelector();
        FColorSelector->OnItemSelect = nullptr;
        FColorSelector->SetSelectedColor(FSelectedColor);
        FColorSelector->UpdateLayout();
        FColorSelector->OnItemSelect = [this](QObject*) { DiscreteSelect(); };
        FColorSelector->SetItemColorStyle(SelectionColorStyle());
        shown = FColorSelector;
        break;
    case csColorCube:
        CreateCubePanel();
        FColorCubePanel->SetSelectedColor(FSelectedColor);
        FColorCubePanel->BuildCells();
        FColorCubePanel->ResetForShow();
        FColorCubePanel->OnSelect = [this](QObject*) { PanelSelect(FColorCubePanel->SelectedColor()); };
        shown = FColorCubePanel;
        break;
    case csSpectrum:
        CreateSpectrumPanel();
        FSpectrumPanel->SetSelectedColor(FSelectedColor);
        FSpectrumPanel->UpdateLayout();
        FSpectrumPanel->OnSelect = [this](QObject*) { PanelSelect(FSpectrumPanel->SelectedColor()); };
        shown = FSpectrumPanel;
        break;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{FItemSelector, FColorSelector, FColorCubePanel, FSpectrumPanel})
        if (w && w != shown) w->hide();
    shown->show();
}

void TProColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle v)
{
    if (v == FColorSelectionStyle) return;
    FColorSelectionStyle = v;
    if (!FDropDownForm) return;   // the form takes the style when it is made
    PrepareStyleControl();
    FOldSelectedColor = FSelectedColor;
    if (v == csList) {
        if (DropDownWidth() < 1) FItemSelector->resize(FItemSelector->GetSelectorSize().width(), FItemSelector->height());
    } else {
        SizeFormToControl();
    }
    FDropDownForm->Realign();
    FDropDownForm->update();
}

void TProColorPickerDropDown::BeforeDropDown()
{
    TProCustomDropDown::BeforeDropDown();
    PrepareStyleControl();
    FOldSelectedColor = FSelectedColor;
}

void TProColorPickerDropDown::SizeFormToControl()
{
    TDropDownForm* form = DropDownForm();
    QWidget* c = Control();
    const bool visible = c && !c->isHidden();
    const int w = visible ? c->width() + 2 * DropDownBorderWidth : width();
    int h = 2 * DropDownBorderWidth;
    if (DropDownHeader()->Visible()) h += DropDownHeader()->Height;
    if (DropDownFooter()->Visible()) h += DropDownFooter()->Height;
    if (visible) h += c->height();
    form->setMinimumSize(0, 0);
    form->resize(w, h);
}

void TProColorPickerDropDown::SizeDropDownForm()
{
    if (FColorSelectionStyle != csList) return SizeFormToControl();
    if (!FItemSelector) return TProCustomDropDown::SizeDropDownForm();
    FitSelectorToItems(FItemSelector, DropDownWidth(), DropDownHeight());
    TProCustomDropDown::SizeDropDownForm();
    WidenFormForScrollBar(this, FItemSelector);
}

void TProColorPickerDropDown::PlaceDropDownControl()
{
    TProCustomDropDown::PlaceDropDownControl();
    if (FColorSelectionStyle != csList && FDropDownForm) FDropDownForm->Sizeable = false;
}

void TProColorPickerDropDown::DoHideDropDown(bool Cancel)
{
    const bool wasDropped = FDropDownForm && FDropDownForm->isVisible();
    TProCustomDropDown::DoHideDropDown(Cancel);
    if (!Cancel || !wasDropped) return;
    if (FColorSelectionStyle == csList && FItemSelector) SetItemIndex(FOldItemIndex);
    else if (FColorSelectionStyle == csDiscrete && FColorSelector) FColorSelector->SetSelectedColor(FOldSelectedColor);
    else return;
    // a colour of the opening that no entry or box holds comes back as well
    if (FSelectedColor != FOldSelectedColor) {
        FSelectedColor = FOldSelectedColor;
        update();
    }
}

void TProColorPickerDropDown::DropDownFormDestroyed()
{
    if (FDestroying) return;
    FItemSelector = nullptr;
    FColorSelector = nullptr;
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
}

// ---- choosing ----------------------------------------------------------------------------------

void TProColorPickerDropDown::SelectorItemSelect()
{
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) DoHideDropDown(false);
}

void TProColorPickerDropDown::DiscreteSelect()
{
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall) DoHideDropDown(false);
}

void TProColorPickerDropDown::PanelSelect(TColor Color)
{
    SetSelectedColor(Color);
    SetItemIndex(-1);
    DoHideDropDown(false);
}

// ---- wheel and keys ------------------------------------------------------------------------------

void TProColorPickerDropDown::HandleWheelDown()
{
    TProCustomDropDown::HandleWheelDown();
    Wheel(true);
}

void TProColorPickerDropDown::HandleWheelUp()
{
    TProCustomDropDown::HandleWheelUp();
    Wheel(false);
}

void TProColorPickerDropDown::Wheel(bool Down)
{
    if (!isEnabled() || isReadOnly()) return;
    DropDownForm();
    // open: the hot item moves; closed: the selection, without closing anything
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (FDroppedDown) Down ? FItemSelector->HotNext() : FItemSelector->HotPrevious();
        else Internal([&] { Down ? FItemSelector->SelectNext() : FItemSelector->SelectPrevious(); });
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown) Down ? FColorSelector->HotNext() : FColorSelector->HotPrevious();
        else Internal([&] { Down ? FColorSelector->SelectNext() : FColorSelector->SelectPrevious(); });
    }
}

void TProColorPickerDropDown::HandleKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    bool taken = false;
    DropDownForm();   // the keys work on the hosted control also before the first opening
    if (enter && isEnabled() && FDroppedDown) {
        if (FColorSelectionStyle == csList) taken = TPickerListKeys::TakeHotItem(FItemSelector);
        else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->ItemHot() >= 0) {
            FColorSelector->SetItemIndex(FColorSelector->ItemHot());
            taken = true;
        }
    }
    if (taken) {
        // the choice closed the drop-down: Enter has done its work
        e->accept();
        return;
    }
    TProCustomDropDown::HandleKeyDown(e);
    if (!isEnabled() || (e->modifiers() & Qt::AltModifier)) return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        FListKeys.HandleKey(e, {FItemSelector, Columns, FDroppedDown, EditorEnabled(), taken, FColors.Count(),
                                [this] { LoadSelectorItems(); }, [this](int s) { Step(s); },
                                [this] {
                                    if (OnSelect) OnSelect(this);
                                },
                                &FInternalCall});
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        static const std::pair<int, int> vk[] = {{Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
                                                 {Qt::Key_Home, 36},   {Qt::Key_Left, 37},     {Qt::Key_Up, 38},
                                                 {Qt::Key_Right, 39},  {Qt::Key_Down, 40}};
        for (const auto& [qt, code] : vk)
            if (qt == key) Internal([&, code = code] { FColorSelector->HandleKey(code, EditorEnabled(), FDroppedDown); });
        if (enter && OnSelect) OnSelect(this);
    }
}

// ---- painting ----------------------------------------------------------------------------------

void TProColorPickerDropDown::DrawFocusText(QPainter& p)
{
    TProCustomDropDown::DrawFocusText(p);
    DrawSelectedColor(p);
}

void TProColorPickerDropDown::DrawSelectedColor(QPainter& p)
{
    TCanvas c;
    c.BeginPaint(&p);
    const TRect R{1, 1, width() - DropDownButtonWidth() - 2, height() - 2};
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, &c, R);
    } else if (FSelectedColor != clNone) {
        const int left = R.Left + 4, top = R.Top + (height() - ColorBoxHeight) / 2;
        c.Pen()->SetColor(clBlack);
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(FSelectedColor);
        c.Rectangle(left, top, left + ColorBoxWidth, top + ColorBoxHeight);
        if (FShowText) {
            const bool focused = hasFocus();
            c.Font()->SetName(font().family());
            c.Font()->SetColor(!EditorEnabled() && focused ? clHighlightText : QColorToColor(palette().color(QPalette::Text)));
            TRect t{left + ColorBoxWidth + 4, R.Top, R.Right, R.Bottom};
            c.Brush()->SetColor(focused ? clHighlight : QColorToColor(palette().color(QPalette::Base)));
            c.FillRect(t);
            c.Brush()->SetStyle(bsClear);
            c.DrawText(SelectedColorText(), t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    }
    c.EndPaint();
}

void TProColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Style)
{
    TProCustomDropDown::SetSelectionColorStyle(Style);
    if (FItemSelector) FItemSelector->ItemAppearance().SetColorStyle(Style);
}

void TProColorPickerDropDown::SetComponentStyle(TProStyle Style)
{
    TProCustomDropDown::SetComponentStyle(Style);
    ApplyItemAppearanceStyle(&FItemAppearance, Style);
}
