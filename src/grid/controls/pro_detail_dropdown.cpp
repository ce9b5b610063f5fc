#include "grid/controls/pro_detail_dropdown.h"

#include "platform/ui/image_list.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

// ---- detail items ------------------------------------------------------------------------------

void TDetailItem::SetCaption(const QString& v)
{
    if (v == FCaption) return;
    FCaption = v;
    Changed();
}

void TDetailItem::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed();
}

void TDetailItem::Assign(const TDetailItem& Source)
{
    SetCaption(Source.FCaption);
    SetImageIndex(Source.FImageIndex);
    FImage = Source.FImage;
    FNotes = Source.FNotes;
    Enabled = Source.Enabled;
    Tag = Source.Tag;
    ItemObject = Source.ItemObject;
}

int TDetailItems::IndexOf(const QString& Caption) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == Caption) return i;
    return -1;
}

// ---- completion from lookup entries ------------------------------------------------------------

TProLookupDropDown::TProLookupDropDown(QWidget* AParent) : TProCustomDropDown(AParent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TProLookupDropDown::SetText(const QString& Value)
{
    // text set by code is no typing: it completes nothing
    const bool old = FCodeSet;
    FCodeSet = true;
    TProCustomDropDown::SetText(Value);
    FCodeSet = old;
}

void TProLookupDropDown::LookupModeFromKey(int Key)
{
    if (Key == Qt::Key_Backspace || Key == Qt::Key_Escape || Key == Qt::Key_Delete) FWorkMode = false;
    else if (Key != Qt::Key_Return && Key != Qt::Key_Enter) FWorkMode = true;
}

void TProLookupDropDown::keyReleaseEvent(QKeyEvent* e)
{
    TProCustomDropDown::keyReleaseEvent(e);
    HandleKeyUp(e);
}

void TProLookupDropDown::HandleKeyUp(QKeyEvent* e)
{
    (void)e;
    if (!FItemChange) return;
    SelectCompleted(FItemIdx);
    // the completed tail stays selected, the caret after the typed part
    const int len = int(Text().size());
    setSelection(P() + len, -std::max(0, len - FItemSel));
    FItemChange = false;
}

void TProLookupDropDown::Change()
{
    FItemChange = false;
    if (!FWorkMode || FInChange) return;
    SetModifiedState(!Text().isEmpty());
    if (FCodeSet || LookupCount() == 0) return;
    const QString text = Text();
    const int caret = std::clamp(cursorPosition() - P(), 0, int(text.size()));
    const QString typed = text.left(caret);
    // compared letter by letter, so that the typed part keeps its length in every script
    const Qt::CaseSensitivity cs = MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!typed.isEmpty()) {
        for (int i = 0, n = LookupCount(); i < n; ++i) {
            const QString entry = LookupEntry(i);
            if (!entry.startsWith(typed, cs)) continue;
            const QString completed = typed + entry.mid(typed.size(), 255);
            LookupCompleted(i);
            FItemIdx = i;
            FItemSel = int(typed.size());
            // setting the text is a change of its own, which ends the memo again
            FItemChange = true;
            FInChange = true;
            SetText(completed);
            FInChange = false;
            // the completed tail selected, the caret after the typed part
            setSelection(P() + int(completed.size()), -(int(completed.size()) - FItemSel));
            return;
        }
    }
    if (!typed.isEmpty() && typed != text) {
        FInChange = true;
        SetText(typed);
        FInChange = false;
        setCursorPosition(P() + int(typed.size()));
    }
}

// ---- the list ----------------------------------------------------------------------------------

namespace {

// The item selector of the drop-down: its items are as wide as the list, so they are laid
// out again whenever it changes size.
class TDetailSelector : public TProCustomItemSelector {
public:
    using TProCustomItemSelector::TProCustomItemSelector;
    std::function<void()> OnResize;

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        TProCustomItemSelector::resizeEvent(e);
        if (OnResize) OnResize();
    }
};

} // namespace

// ---- the drop-down -------------------------------------------------------------------------------

TProDetailDropDown::TProDetailDropDown(QWidget* AParent) : TProLookupDropDown(AParent), FItems(this)
{
    // items tell nobody: the list is filled again at each opening
    FItems.OnChange = [] {};
    SetEditorEnabled(true);
    DropDownEnabled = true;
    FCaptionFont.SetName(font().family());
    FNotesFont.SetName(font().family());
}

void TProDetailDropDown::SetItemIndex(int Value)
{
    if (Value == FItemIndex) return;
    if (Value >= 0 && Value < FItems.Count()) {
        FItemIndex = Value;
        SetText(FItems.Items(Value)->Caption());
        SetSel(0, int(text().size()));
        update();
        if (FItemSelector) FItemSelector->viewport()->update();
        if (OnSelect) OnSelect(this);
    } else if (Value == -1) {
        SetText(QString());
        FItemIndex = -1;
    }
}

void TProDetailDropDown::Step(int Step)
{
    if (FItems.Count()) SetItemIndex(PickerStepIndex(FItemIndex, FItems.Count(), Step));
}

void TProDetailDropDown::CreateDropDownForm()
{
    TProLookupDropDown::CreateDropDownForm();
    if (!FItemSelector) {
        auto* s = new TDetailSelector(FDropDownForm);
        FItemSelector = s;
        s->SetSelectorType(stImage);
        s->resize(s->width(), 150);
        s->OnDrawItem = [this](QObject*, TCanvas* Canvas, TRect R, int Index) { DrawSelectorItem(Canvas, R, Index); };
        s->OnItemSize = [this](QObject*, QSize& ASize) { SelectorItemSize(ASize); };
        s->UpdateSelectorPanel();
        s->OnResize = [s] { s->UpdateSelectorPanel(); };
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TProDetailDropDown::FillSelectorItems()
{
    TSelectorItems& items = FItemSelector->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < FItems.Count(); ++i) {
        const TDetailItem* src = FItems.Items(i);
        TSelectorItem* item = items.Add();
        item->SetCaption(src->Caption());
        item->SetImage(src->Image());
        item->SetImageIndex(src->ImageIndex());
    }
    items.EndUpdate();
}

void TProDetailDropDown::UpdateSelector()
{
    if (!FItemSelector) return;
    // the list's own selection step during the update closes nothing
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(1);
    FItemSelector->SetImages(Images());
    FItemSelector->ItemLayout = Layout;
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->SetItemAppearance(FItemAppearance);
    FillSelectorItems();
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](QObject*) { SelectorItemSelect(); };
}

void TProDetailDropDown::BeforeDropDown()
{
    TProLookupDropDown::BeforeDropDown();
    DropDownForm();
    UpdateSelector();
    FOldItemIndex = FItemIndex;
}

void TProDetailDropDown::DoShowDropDown()
{
    TProLookupDropDown::DoShowDropDown();
    if (FDropDownForm && FDropDownForm->isVisible() && FItemSelector) {
        FItemSelector->UpdateSelectorPanel();
        FItemSelector->ScrollItemInView(FItemSelector->ItemIndex());
    }
}

void TProDetailDropDown::SizeDropDownForm()
{
    if (FItemSelector) {
        if (DropDownWidth() <= 0) FItemSelector->resize(width(), FItemSelector->height());
        if (DropDownHeight() <= 0) FItemSelector->resize(FItemSelector->width(), 100);
    }
    TProLookupDropDown::SizeDropDownForm();
}

void TProDetailDropDown::DoHideDropDown(bool Cancel)
{
    const bool wasDropped = FDropDownForm && FDropDownForm->isVisible();
    TProLookupDropDown::DoHideDropDown(Cancel);
    if (Cancel && wasDropped && FItemSelector && FOldItemIndex != -1) SetItemIndex(FOldItemIndex);
}

void TProDetailDropDown::DropDownFormResized()
{
    TProLookupDropDown::DropDownFormResized();
    if (FItemSelector) FItemSelector->UpdateSelectorPanel();
}

void TProDetailDropDown::SelectorItemSelect()
{
    const int i = FItemSelector->ItemIndex();
    SetItemIndex(i);
    if (i >= 0 && i < FItems.Count()) {
        SetText(FItems.Items(i)->Caption());
        SetSel(0, int(text().size()));
    }
    if (!FInternalCall) DoHideDropDown(false);
}

void TProDetailDropDown::SelectorItemSize(QSize& ASize)
{
    int w = DropDownWidth() > 0 ? DropDownWidth() : DropDownForm()->width();
    if (FItemSelector && FItemSelector->verticalScrollBar()->isVisible())
        w -= FItemSelector->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    ASize = QSize(std::max(1, w - 2 - 4), FItemHeight);
}

// ---- wheel and keys ------------------------------------------------------------------------------

void TProDetailDropDown::HandleWheelDown()
{
    TProLookupDropDown::HandleWheelDown();
    Wheel(true);
}

void TProDetailDropDown::HandleWheelUp()
{
    TProLookupDropDown::HandleWheelUp();
    Wheel(false);
}

void TProDetailDropDown::Wheel(bool Down)
{
    if (!FDroppedDown || !FItemSelector) return Down ? SelectNext() : SelectPrevious();
    const int at = FItemSelector->ItemIndex() < 0 ? 0 : FItemSelector->ItemIndex() + (Down ? 1 : -1);
    if (at >= 0 && at < FItemSelector->Items().Count()) {
        FInternalCall = true;
        FItemSelector->SetItemIndex(at);
        FInternalCall = false;
    }
    update();
}

bool TProDetailDropDown::HandleListKey(QKeyEvent* e)
{
    const int key = e->key();
    if (!isEnabled() || (e->modifiers() & Qt::AltModifier)) return false;
    FListKeys.HandleKey(e, {FItemSelector, 1, FDroppedDown, EditorEnabled(), true, FItems.Count(),
                            [this] { UpdateSelector(); },
                            [this](int s) {
                                // Home and End step the closed list only when nothing can be typed
                                if (s > 1 || !EditorEnabled()) Step(s);
                            },
                            nullptr, &FInternalCall});
    if (key == Qt::Key_Up || key == Qt::Key_Down) update();
    if (!FDroppedDown) return false;
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default:
        // characters typed into the open list search it; they are not typed into the edit
        return !(e->modifiers() & Qt::ControlModifier) && !e->text().isEmpty() && e->text()[0].isPrint();
    }
}

void TProDetailDropDown::HandleKeyDown(QKeyEvent* e)
{
    DropDownForm();   // the list keys work also before the first opening
    if (HandleListKey(e)) {
        e->accept();
        return;
    }
    if (FItems.Count() == 0) return TProLookupDropDown::HandleKeyDown(e);
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    LookupModeFromKey(key);
    if (enter) {
        const int i = FItems.IndexOf(Text());
        if (i >= 0) {
            SetText(FItems.Items(i)->Caption());
            SetItemIndex(i);
        }
    }
    TProLookupDropDown::HandleKeyDown(e);
    if (key == Qt::Key_Escape) {
        const int i = FItems.IndexOf(Text());
        if (i >= 0) SetItemIndex(i);
    }
}

// ---- drawing -----------------------------------------------------------------------------------

void TProDetailDropDown::DrawSelectorItem(TCanvas* Canvas, TRect R, int Index)
{
    if (OnDrawSelectedImage) return OnDrawSelectedImage(this, Canvas, R);
    if (Index < 0 || Index >= FItems.Count()) return;
    const TDetailItem* item = FItems.Items(Index);
    const bool captioned = !item->Caption().isEmpty();
    const QImage& img = item->Image();
    if (img.isNull() && Images() && item->ImageIndex() >= 0) {
        const int iw = Images()->Width(), ih = Images()->Height();
        const int x = captioned ? R.Left + 2 : R.Left + (R.Width() - iw) / 2;
        Images()->Draw(Canvas, x, R.Top + (R.Height() - ih) / 2, item->ImageIndex());
        R.Left += iw + 4;
    } else if (!img.isNull()) {
        const int x = captioned ? R.Left + 2 : R.Left + (R.Width() - img.width()) / 2;
        const int y = R.Top + (R.Height() - img.height()) / 2;
        if (img.hasAlphaChannel()) {
            Canvas->StretchDrawImage(Bounds(x, y, img.width(), img.height()), img);
        } else {
            // a bitmap shows without its transparent colour, the one of its bottom-left pixel
            TBitmap bmp;
            bmp.LoadFromImage(img);
            bmp.SetTransparent(true);
            Canvas->Draw(x, y, bmp);
        }
        R.Left += img.width() + 4;
    }
    const bool hot = Index == FItemSelector->ItemHot(), selected = Index == FItemIndex;
    auto colour = [&](TFont& f) {
        if (hot) f.SetColor(FItemAppearance.ColorHotText);
        if (selected) f.SetColor(FItemAppearance.ColorSelectedText);
    };
    Canvas->SetFont(FCaptionFont);
    colour(*Canvas->Font());
    Canvas->Brush()->SetStyle(bsClear);
    R.Left += 4, R.Top += 2, R.Right -= 4;
    TRect r = R;
    Canvas->DrawText(item->Caption(), r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (item->Notes().isEmpty()) return;
    R.Top += Canvas->TextHeight(QStringLiteral("gh"));
    Canvas->SetFont(FNotesFont);
    colour(*Canvas->Font());
    DrawHtmlCaption(Canvas, item->Notes(), R, Images(), true);
}

// ---- styles ------------------------------------------------------------------------------------

void TProDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Style)
{
    TProLookupDropDown::SetSelectionColorStyle(Style);
    if (FItemSelector) FItemSelector->ItemAppearance().SetColorStyle(Style);
}

void TProDetailDropDown::SetComponentStyle(TProStyle Style)
{
    TProLookupDropDown::SetComponentStyle(Style);
    ApplyItemAppearanceStyle(&FItemAppearance, Style);
}
