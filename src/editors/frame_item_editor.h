#pragma once
// The windows that map items onto the data bytes of J1939 frames: the frames of a frame
// table are listed on the left, the items of the picked frame beside them, and the buttons
// of an entry panel create, modify, delete, copy and paste items of that frame; OK and
// Cancel stand at the foot.  TFrameItemEditor holds the two lists, the buttons and the
// commands on items; TFrameItemEditorOf holds the frames and their items; a window adds
// its entry panel, its files and its checks.
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QString>
#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QListWidget;
class TLbButton;

class TFrameItemEditor : public TForm {
public:
    // Which line of a list counts as the user's pick.
    enum TPick {
        pkCurrentLine,   // the current line (a click makes a line current before it marks it selected)
        pkSelectedLine   // the current line while it is marked selected; a line that only has the focus is no pick
    };

    explicit TFrameItemEditor(TPick pick, QWidget* parent = nullptr);

    // Create, Modify, Delete, Copy or Paste.
    void Btn_Click(TLbButton* Sender);
    virtual void Btn_OKClick() = 0;
    // The user picked another frame (or none).
    virtual void LB_J1939_FramesClick() = 0;

    // The picked frame and the picked item of it; -1 when none is picked.
    int Selected_Frame() const;
    int Selected_Item() const;

    // The entry panel's item appended to the picked frame; nothing without a picked frame.
    void Add_Item();
    // The picked item replaced by the entry panel's; nothing without a picked item.
    void Modify_Item();
    void Delete_Item();
    // The picked item into the window's copy buffer.
    void Copy_Item();
    // The copy buffer into the entry panel.
    virtual void Paste_Item() = 0;

    // Refills the frame list (no frame picked) and the list of the picked frame's items (no item picked).
    void Aggiorna_Lista_Frame();
    void Refresh_Item_List();

    TTitlePanel Title{};
    QFrame* P_Button = nullptr;
    QLabel *L_J1939_Frame_Desc1 = nullptr, *L_J1939_Frame_Desc2 = nullptr;
    QListWidget* LB_J1939_Frames = nullptr;
    TLbButton *Btn_Create = nullptr, *Btn_Modify = nullptr, *Btn_Delete = nullptr, *Btn_Copy = nullptr,
              *Btn_Paste = nullptr, *Btn_OK = nullptr, *Btn_Cancel = nullptr;

protected:
    struct TItemListWidgets {
        QLabel* Desc1;
        QLabel* Desc2;
        QListWidget* List;
    };
    // The frame list at the left and the item list beside it, both `height` high under
    // their two description labels; the lists' picks call LB_J1939_FramesClick and Item_Click.
    TItemListWidgets Build_Lists(const char* itemDesc1, const char* itemDesc2, const char* itemList, int height);
    // Create and Modify at `top`, Delete under them, Copy and Paste under that, right of the lists.
    void Build_Item_Buttons(int top);
    // The OK / Cancel panel at the foot; OK calls Btn_OKClick.
    void Build_OK_Cancel();
    // A label of the window at (left, top), fitted to its text.
    static QLabel* Label_At(QWidget* parent, const char* name, int left, int top);

    // The user picked another item (or none).
    virtual void Item_Click() = 0;
    virtual QString Frame_Line(int frame) const = 0;
    virtual QString Item_Line(int frame, int item) const = 0;

    virtual int Frame_Count() const = 0;
    virtual int Item_Count(int frame) const = 0;
    // The entry panel's item stored at (frame, item), item -1 appending it; false (after
    // an error box) when the entry cannot be stored there.
    virtual bool Store_Entry(int frame, int item) = 0;
    virtual void Erase_Item(int frame, int item) = 0;
    virtual void Copy_To_Buffer(int frame, int item) = 0;

    QListWidget* FItemList = nullptr;
    bool FRefreshing = false;   // the lists are being refilled: their signals are not the user's

private:
    bool Picked(const QListWidget* list, int count) const;
    TPick FPick;
};

// The frames of a window, each with its list of items (the member `ItemsOf` of TFrame).
template <class TFrame, class TItem, std::vector<TItem> TFrame::*ItemsOf>
class TFrameItemEditorOf : public TFrameItemEditor {
public:
    using TFrameItemEditor::TFrameItemEditor;

    std::vector<TFrame> Lista_J1939_Frame;

protected:
    std::vector<TItem>& Items(int frame) { return Lista_J1939_Frame[size_t(frame)].*ItemsOf; }
    const std::vector<TItem>& Items(int frame) const { return Lista_J1939_Frame[size_t(frame)].*ItemsOf; }

    // The entry panel's item, checked for the place (frame, item), item -1 for a new one;
    // false after an error box.
    virtual bool Entry(TItem& out, int frame, int item) const = 0;
    // An item other than the one at (frame, item) matches.
    bool Other_Matches(int frame, int item, const std::function<bool(const TItem&)>& match) const
    {
        for (int f = 0; f < int(Lista_J1939_Frame.size()); ++f) {
            const std::vector<TItem>& items = Items(f);
            for (int i = 0; i < int(items.size()); ++i)
                if (!(f == frame && i == item) && match(items[size_t(i)])) return true;
        }
        return false;
    }

    int Frame_Count() const override { return int(Lista_J1939_Frame.size()); }
    int Item_Count(int frame) const override { return int(Items(frame).size()); }
    bool Store_Entry(int frame, int item) override
    {
        TItem entry;
        if (!Entry(entry, frame, item)) return false;
        if (item < 0)
            Items(frame).push_back(std::move(entry));
        else
            Items(frame)[size_t(item)] = std::move(entry);
        return true;
    }
    void Erase_Item(int frame, int item) override { Items(frame).erase(Items(frame).begin() + item); }
};
