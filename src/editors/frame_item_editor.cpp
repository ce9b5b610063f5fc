#include "editors/frame_item_editor.h"

#include "editors/ok_cancel_panel.h"
#include "platform/ui/lb_button.h"

#include <QLabel>
#include <QListWidget>

namespace {
QListWidget* List_At(QWidget* parent, const char* name, int left, int width, int height)
{
    auto* l = new QListWidget(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(left, 108, width, height);
    return l;
}
}  // namespace

QLabel* TFrameItemEditor::Label_At(QWidget* parent, const char* name, int left, int top)
{
    QLabel* l = New_Label(parent, name);
    l->move(left, top);
    return l;
}

TFrameItemEditor::TFrameItemEditor(TPick pick, QWidget* parent) : TForm(parent), FPick(pick)
{
    Apply_Window_Colour(this, Window_Colour);
}

TFrameItemEditor::TItemListWidgets TFrameItemEditor::Build_Lists(const char* itemDesc1, const char* itemDesc2,
                                                                 const char* itemList, int height)
{
    L_J1939_Frame_Desc1 = Label_At(this, "L_J1939_Frame_Desc1", 8, 70);
    L_J1939_Frame_Desc2 = Label_At(this, "L_J1939_Frame_Desc2", 8, 89);
    LB_J1939_Frames = List_At(this, "LB_J1939_Frames", 8, 201, height);
    TItemListWidgets items;
    items.Desc1 = Label_At(this, itemDesc1, 217, 70);
    items.Desc2 = Label_At(this, itemDesc2, 217, 89);
    items.List = FItemList = List_At(this, itemList, 217, 178, height);

    // a pick by mouse or keyboard is the user's; the lists' own refills are not
    auto frames = [this] {
        if (!FRefreshing) LB_J1939_FramesClick();
    };
    auto item = [this] {
        if (!FRefreshing) Item_Click();
    };
    if (FPick == pkCurrentLine) {
        connect(LB_J1939_Frames, &QListWidget::currentRowChanged, this, frames);
        connect(FItemList, &QListWidget::currentRowChanged, this, item);
    } else {
        connect(LB_J1939_Frames, &QListWidget::itemSelectionChanged, this, frames);
        connect(FItemList, &QListWidget::itemSelectionChanged, this, item);
    }
    return items;
}

void TFrameItemEditor::Build_Item_Buttons(int top)
{
    auto button = [this](TLbButton*& b, const char* name, int left, int top) {
        b = Make_Button(this, name, left, top, 102, 28);
        b->OnClick = [this, b] { Btn_Click(b); };
    };
    button(Btn_Create, "Btn_Create", 407, top);
    button(Btn_Modify, "Btn_Modify", 515, top);
    button(Btn_Delete, "Btn_Delete", 407, top + 34);
    button(Btn_Copy, "Btn_Copy", 407, top + 68);
    button(Btn_Paste, "Btn_Paste", 515, top + 68);
}

void TFrameItemEditor::Build_OK_Cancel()
{
    const TOKCancelPanel panel = Make_OK_Cancel_Panel(this, [this] { Btn_OKClick(); });
    P_Button = panel.Panel;
    Btn_OK = panel.OK;
    Btn_Cancel = panel.Cancel;
}

bool TFrameItemEditor::Picked(const QListWidget* list, int count) const
{
    const int i = list->currentRow();
    return i >= 0 && i < count && (FPick == pkCurrentLine || list->item(i)->isSelected());
}

int TFrameItemEditor::Selected_Frame() const
{
    return Picked(LB_J1939_Frames, Frame_Count()) ? LB_J1939_Frames->currentRow() : -1;
}

int TFrameItemEditor::Selected_Item() const
{
    const int f = Selected_Frame();
    return f >= 0 && Picked(FItemList, Item_Count(f)) ? FItemList->currentRow() : -1;
}

void TFrameItemEditor::Aggiorna_Lista_Frame()
{
    FRefreshing = true;
    LB_J1939_Frames->clear();
    for (int f = 0; f < Frame_Count(); ++f) LB_J1939_Frames->addItem(Frame_Line(f));
    // a current line is a pick: the refilled list starts without one
    if (FPick == pkCurrentLine) LB_J1939_Frames->setCurrentRow(-1);
    FRefreshing = false;
}

void TFrameItemEditor::Refresh_Item_List()
{
    FRefreshing = true;
    FItemList->clear();
    if (const int f = Selected_Frame(); f >= 0)
        for (int i = 0; i < Item_Count(f); ++i) FItemList->addItem(Item_Line(f, i));
    FItemList->setCurrentRow(-1);
    FRefreshing = false;
}

void TFrameItemEditor::Btn_Click(TLbButton* Sender)
{
    if (Sender == Btn_Create)
        Add_Item();
    else if (Sender == Btn_Delete)
        Delete_Item();
    else if (Sender == Btn_Modify)
        Modify_Item();
    else if (Sender == Btn_Copy)
        Copy_Item();
    else if (Sender == Btn_Paste)
        Paste_Item();
}

void TFrameItemEditor::Add_Item()
{
    const int f = Selected_Frame();
    if (f < 0 || !Store_Entry(f, -1)) return;
    Refresh_Item_List();
}

void TFrameItemEditor::Modify_Item()
{
    const int f = Selected_Frame(), i = Selected_Item();
    if (i < 0 || !Store_Entry(f, i)) return;
    Refresh_Item_List();
}

void TFrameItemEditor::Delete_Item()
{
    const int f = Selected_Frame(), i = Selected_Item();
    if (i < 0) return;
    Erase_Item(f, i);
    Refresh_Item_List();
}

void TFrameItemEditor::Copy_Item()
{
    const int f = Selected_Frame(), i = Selected_Item();
    if (i < 0) return;
    Copy_To_Buffer(f, i);
}
