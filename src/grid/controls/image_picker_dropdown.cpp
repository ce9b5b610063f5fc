#include "grid/controls/image_picker_dropdown.h"

#include "platform/ui/image_list.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>

#include <sys/stat.h>

// ---- image items -------------------------------------------------------------------------------

void TImageItem::SetCaption(const QString& v)
{
    if (v == FCaption) return;
    FCaption = v;
    if (FChanged) FChanged();
}

void TImageItem::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    if (FChanged) FChanged();
}

void TImageItem::Assign(const TImageItem& Source)
{
    SetCaption(Source.FCaption);
    SetImageIndex(Source.FImageIndex);
    FImage = Source.FImage;
    FEnabled = Source.FEnabled;
    Hint = Source.Hint;
}

// ---- the picker --------------------------------------------------------------------------------

TProImagePickerDropDown::TProImagePickerDropDown(QWidget* AParent) : TProCustomDropDown(AParent), FItems(this)
{
    SetEditorEnabled(false);
    DropDownEnabled = true;
    setCursor(Qt::ArrowCursor);
}

void TProImagePickerDropDown::SetItemIndex(int Value)
{
    if (Value == FItemIndex || Value >= FItems.Count()) return;
    FItemIndex = Value;
    update();
    if (OnChange) OnChange(this);
    if (OnSelect) OnSelect(this);
}

int TProImagePickerDropDown::ImageIndex() const
{
    return FItemIndex >= 0 && FItemIndex < FItems.Count() ? FItems.Items(FItemIndex)->ImageIndex() : -1;
}

void TProImagePickerDropDown::SetImageIndex(int Value)
{
    for (int i = 0; i < FItems.Count(); ++i)
        if (FItems.Items(i)->ImageIndex() == Value) return SetItemIndex(i);
    SetItemIndex(-1);
}

void TProImagePickerDropDown::Step(int Step)
{
    if (FItems.Count()) SetItemIndex(PickerStepIndex(FItemIndex, FItems.Count(), Step));
}

void TProImagePickerDropDown::AddImagesFromImageList()
{
    if (!Images()) return;
    for (int i = 0; i < Images()->Count(); ++i) FItems.Add()->SetImageIndex(i);
}

void TProImagePickerDropDown::AddImagesFromFolder(const QString& AFolder, bool SetImageCaption)
{
    const QFileInfo info(AFolder);
    const bool plainFolder = info.isDir();
    QDir dir(plainFolder ? AFolder : info.path());
    const QString mask = plainFolder ? QStringLiteral("*") : info.fileName();
    // regular files only: no ".", "..", folders or special files
    const QStringList names =
        dir.entryList({mask}, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : names) {
        struct stat st {};
        const QString path = dir.filePath(name);
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        AddImageFile(path, SetImageCaption);
    }
}

void TProImagePickerDropDown::AddImageFile(const QString& FileName, bool SetImageCaption)
{
    // the item comes only with a picture that passed every check
    const QFileInfo info(FileName);
    if (info.size() > MaxPictureFileSize) return;
    QImageReader reader(FileName);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPicturePixels) return;
    QImage img;
    if (!reader.read(&img) || img.isNull()) return;
    if (qint64(img.width()) * img.height() > MaxPicturePixels) return;
    TImageItem* item = FItems.Add();
    item->SetImage(img);
    if (SetImageCaption) item->SetCaption(info.fileName());
}

// ---- the selector --------------------------------------------------------------------------------

void TProImagePickerDropDown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    if (!FItemSelector) {
        FItemSelector = new TProCustomItemSelector(FDropDownForm);
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->resize(FItemSelector->width(), 150);
        FItemSelector->OnItemSelect = [this](QObject*) { SelectorItemSelect(); };
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TProImagePickerDropDown::LoadSelectorItems()
{
    if (!FItemSelector) return;
    TSelectorItems& items = FItemSelector->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < FItems.Count(); ++i) {
        const TImageItem* src = FItems.Items(i);
        TSelectorItem* item = items.Add();
        item->SetCaption(src->Caption());
        item->SetImage(src->Image());
        item->SetImageIndex(src->ImageIndex());
        item->Hint = src->Hint;
    }
    items.EndUpdate();
}

void TProImagePickerDropDown::UpdateItemSelector()
{
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(std::max(1, Columns));
    FItemSelector->SetImages(Images());
    FItemSelector->ItemLayout = Layout;
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->SetItemAppearance(FItemAppearance);
    LoadSelectorItems();
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](QObject*) { SelectorItemSelect(); };
    if (OnDrawItem)
        FItemSelector->OnDrawItem = [this](QObject*, TCanvas* Canvas, TRect R, int Index) {
            if (OnDrawItem) OnDrawItem(this, Canvas, R, Index);
        };
    else FItemSelector->OnDrawItem = nullptr;
}

void TProImagePickerDropDown::BeforeDropDown()
{
    TProCustomDropDown::BeforeDropDown();
    DropDownForm();
    UpdateItemSelector();
    FOldItemIndex = FItemIndex;
}

void TProImagePickerDropDown::SizeDropDownForm()
{
    if (!FItemSelector) return TProCustomDropDown::SizeDropDownForm();
    FitSelectorToItems(FItemSelector, DropDownWidth(), DropDownHeight());
    TProCustomDropDown::SizeDropDownForm();
    WidenFormForScrollBar(this, FItemSelector);
}

void TProImagePickerDropDown::DoHideDropDown(bool Cancel)
{
    const bool wasDropped = FDropDownForm && FDropDownForm->isVisible();
    TProCustomDropDown::DoHideDropDown(Cancel);
    if (Cancel && wasDropped && FItemSelector) SetItemIndex(FOldItemIndex);
}

void TProImagePickerDropDown::SelectorItemSelect()
{
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) DoHideDropDown(false);
}

// ---- wheel and keys ------------------------------------------------------------------------------

void TProImagePickerDropDown::HandleWheelDown()
{
    TProCustomDropDown::HandleWheelDown();
    Wheel(true);
}

void TProImagePickerDropDown::HandleWheelUp()
{
    TProCustomDropDown::HandleWheelUp();
    Wheel(false);
}

void TProImagePickerDropDown::Wheel(bool Down)
{
    if (!isEnabled() || isReadOnly()) return;
    DropDownForm();
    // open: the hot item moves; closed: the selection, without closing anything
    if (FDroppedDown) return Down ? FItemSelector->HotNext() : FItemSelector->HotPrevious();
    FInternalCall = true;
    Down ? FItemSelector->SelectNext() : FItemSelector->SelectPrevious();
    FInternalCall = false;
}

void TProImagePickerDropDown::HandleKeyDown(QKeyEvent* e)
{
    DropDownForm();   // the keys work on the selector also before the first opening
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && isEnabled() && FDroppedDown && TPickerListKeys::TakeHotItem(FItemSelector)) {
        // the choice closed the drop-down: Enter has done its work
        e->accept();
        return;
    }
    TProCustomDropDown::HandleKeyDown(e);
    if (!isEnabled() || (e->modifiers() & Qt::AltModifier)) return;
    FListKeys.HandleKey(e, {FItemSelector, std::max(1, Columns), FDroppedDown, EditorEnabled(), false, FItems.Count(),
                            [this] { LoadSelectorItems(); }, [this](int s) { Step(s); },
                            [this] {
                                if (OnSelect) OnSelect(this);
                            },
                            &FInternalCall});
}

// ---- painting ----------------------------------------------------------------------------------

void TProImagePickerDropDown::DrawFocusText(QPainter& p)
{
    TProCustomDropDown::DrawFocusText(p);
    DrawSelectedImage(p);
}

void TProImagePickerDropDown::DrawSelectedImage(QPainter& p)
{
    TCanvas c;
    c.BeginPaint(&p);
    const TRect R = TRect::FromQRect(contentsRect().marginsRemoved(textMargins()));
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, &c, R);
    } else if (FItemIndex >= 0 && FItemIndex < FItems.Count()) {
        const TImageItem* item = FItems.Items(FItemIndex);
        // integer division truncates toward zero, so a picture larger than R starts left of or above it
        if (!item->Image().isNull()) {
            const QImage& img = item->Image();
            p.drawImage(R.Left + (R.Width() - img.width()) / 2, R.Top + (R.Height() - img.height()) / 2, img);
        } else if (Images() && item->ImageIndex() >= 0) {
            Images()->Draw(&c, R.Left + (R.Width() - Images()->Width()) / 2, R.Top + (R.Height() - Images()->Height()) / 2,
                           item->ImageIndex());
        }
    }
    c.EndPaint();
}

void TProImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Style)
{
    TProCustomDropDown::SetSelectionColorStyle(Style);
    if (FItemSelector) FItemSelector->ItemAppearance().SetColorStyle(Style);
}

void TProImagePickerDropDown::SetComponentStyle(TProStyle Style)
{
    TProCustomDropDown::SetComponentStyle(Style);
    ApplyItemAppearanceStyle(&FItemAppearance, Style);
}
