#pragma once
// A drop-down edit holding a multi-line text: the edit shows the first line (shortened with
// "..." when needed) and the pop-up is a memo for all lines.  Escape in the memo gives back
// the lines from before the drop-down; closing it any other way keeps the edited ones.
#include "grid/controls/pro_custom_dropdown.h"
#include "platform/ui/custom_grid.h"

#include <QStringList>

class QMenu;
class QPlainTextEdit;

class TProMemoDropDown : public TProCustomDropDown {
public:
    explicit TProMemoDropDown(QWidget* AParent = nullptr);

    const QStringList& MemoText() const { return FMemoText; }
    // Copies the lines (also into an existing memo) and rewrites the edit.
    void SetMemoText(const QStringList& v);
    TScrollStyle MemoScrollBars = ssNone;
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool v);
    QMenu* MemoPopup = nullptr;
    bool AutoDrop = false;
    std::function<void(QObject* Sender)> OnMemoChange;
    // The memo, made with the form.
    QPlainTextEdit* Memo() const { return FMemo; }
    // Writes the edit from MemoText: its first line fitted to the edit, or all lines.
    void UpdateEditText();

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormHidden() override;
    void focusInEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* Watched, QEvent* e) override;

private:
    void Change();
    QPlainTextEdit* FMemo = nullptr;
    QStringList FMemoText;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    int FMemoMaxLength = 0;
    QString FLastMemoText;
};
