#pragma once
// The grid's drop-down editors.  Each wraps one drop-down control and turns its keys into the
// grid's commit, cancel and navigation steps; TGridDropDown holds what they share, and each
// wrapper says only where it differs: the keys it takes, the text it commits and how it
// writes a text back into its control.
#include "grid/controls/color_picker_dropdown.h"
#include "grid/controls/image_picker_dropdown.h"
#include "grid/controls/pro_detail_dropdown.h"
#include "grid/controls/pro_grid_dropdown.h"
#include "grid/controls/pro_multi_column_dropdown.h"
#include "grid/controls/pro_calculator_dropdown.h"
#include "grid/controls/pro_memo_dropdown.h"
#include "grid/controls/pro_time_picker_dropdown.h"
#include "grid/controls/pro_trackbar_dropdown.h"
#include "grid/control/grid_editor_keys.h"
#include "platform/core/classes.h"
#include "platform/ui/messages.h"

class TProStringGrid;

// What the grid asks of any of its drop-down editors.
class TGridDropDownEditor : public TGridEditorHost {
public:
    explicit TGridDropDownEditor(TProStringGrid* AGrid) : TGridEditorHost(AGrid) {}
    virtual TProCustomDropDown* Control() = 0;
    // Remembers the control's own choice the editor opened with, which Escape brings back
    // (the cell's text comes back through the host).
    virtual void KeepStart() {}
    virtual void RestoreStart() {}
    // Set while the grid loads the cell's value: no change is reported.
    bool Loading = false;
};

template <class TControl>
class TGridDropDown : public TControl, public TObject, public TGridDropDownEditor {
public:
    explicit TGridDropDown(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    TProCustomDropDown* Control() override { return this; }
    // The text the wrapper hands to the grid's validation.
    virtual QString EditorText() const { return this->Text(); }
    QString CommittedText() const override { return EditorText(); }
    // Writes a text the grid gives back (the stored or the refused value) into the control.
    virtual void SetEditorText(const QString& S) { this->SetTextDirect(S); }

protected:
    // The keys the wrapper takes from the control; Alt+Down stays with it (it opens the list).
    virtual bool HandlesKey(int Key, bool Alt) const;
    // The keys that validate the value before the grid moves on.
    virtual bool CommitsKey(int Key) const { return Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN; }
    // Runs before Enter validates.
    virtual void BeforeEnter() {}
    // The control's value changed (after the control's own change steps): OnEditChange.
    virtual void Changed();
    // A press that opened the editor puts the caret under the mouse.
    bool FCaretAtMouse = false;

    void HandleKeyDown(QKeyEvent* e) override;
    bool HandleChar(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // The wrapper's own step on a key it takes.
    void EditorKey(QKeyEvent* e, int K, TShiftState Shift);
};

class TGridTrackbarDropDown : public TGridDropDown<TProTrackBarDropDown> {
public:
    explicit TGridTrackbarDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridTrackbarDropDown"); }
    // Through the control's formatting: an empty text becomes "0".
    void SetEditorText(const QString& S) override { SetText(S); }
};

class TGridMemoDropDown : public TGridDropDown<TProMemoDropDown> {
public:
    explicit TGridMemoDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridMemoDropDown"); }

protected:
    // Every change of the lines reaches the current cell at once.
    void Changed() override;
};

class TGridCalculatorDropDown : public TGridDropDown<TProCalculatorDropdown> {
public:
    explicit TGridCalculatorDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridCalculatorDropDown"); }

protected:
    // The pending calculation completes, so that its result is what gets committed.
    void BeforeEnter() override { CalcResult(); }
};

class TGridTimepickerDropDown : public TGridDropDown<TProTimePickerDropDown> {
public:
    explicit TGridTimepickerDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridTimepickerDropDown"); }
};

class TGridColorDropDown : public TGridDropDown<TProColorPickerDropDown> {
public:
    explicit TGridColorDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridColorDropDown"); }
    // The picker cannot be typed into: its value is the colour's text, and it shows the colour
    // whatever text it is given.
    QString EditorText() const override { return SelectedColorText(); }
    void SetEditorText(const QString& S) override { (void)S; update(); }
    // The cell's colour is written when the editor closes, so Escape puts back the colour the
    // editor opened with.
    QString ValueKey() const override { return QString::number(SelectedColor()) + QLatin1Char(' ') + EditorText(); }
    void KeepStart() override { FStartColor = SelectedColor(); }
    void RestoreStart() override { SetSelectedColor(FStartColor); }

protected:
    bool HandlesKey(int Key, bool Alt) const override;
    // Only Enter validates: Up and Down close without it.
    bool CommitsKey(int Key) const override { return Key == VK_RETURN; }

private:
    TColor FStartColor = clNone;
};

class TGridImageDropDown : public TGridDropDown<TProImagePickerDropDown> {
public:
    explicit TGridImageDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridImageDropDown"); }
    // The caption of the picked image, empty when none is picked.
    QString EditorText() const override;
    // As the colour editor's: Escape puts back the image the editor opened with.
    QString ValueKey() const override { return QString::number(ItemIndex()) + QLatin1Char(' ') + EditorText(); }
    void KeepStart() override { FStartIndex = ItemIndex(); }
    void RestoreStart() override { SetItemIndex(FStartIndex); }

private:
    int FStartIndex = -1;
};

class TGridGridDropDown : public TGridDropDown<TProMultiColumnDropDown> {
public:
    explicit TGridGridDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridGridDropDown"); }
};

class TGridDetailPickerDropDown : public TGridDropDown<TProDetailDropDown> {
public:
    explicit TGridDetailPickerDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridDetailPickerDropDown"); }

protected:
    // The control moves its selection on the page and arrow keys first: the open list keeps
    // them, while on the closed control the editor then commits the item they led to.
    void HandleKeyDown(QKeyEvent* e) override;
};

class TGridProGridDropDown : public TGridDropDown<TCustomProGridDropDown> {
public:
    explicit TGridProGridDropDown(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridProGridDropDown"); }
    // The drop-down's own grid, made with its list.
    TProStringGrid* Grid();
};
