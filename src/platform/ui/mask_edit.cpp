#include "platform/ui/mask_edit.h"

#include "platform/ui/inplace_edit.h"

TCustomMaskEdit::TCustomMaskEdit(QWidget* AParent) : QLineEdit(AParent) {}

void TCustomMaskEdit::SetEditMask(const QString& v)
{
    FEditMask = v;
    setInputMask(QtInputMask(v));
}

int TCustomMaskEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCustomMaskEdit::SetSel(int Start, int Length)
{
    const int n = text().size();
    Start = std::clamp(Start, 0, n);
    Length = std::clamp(Length, 0, n - Start);
    if (Length > 0) setSelection(Start, Length);
    else {
        deselect();
        setCursorPosition(Start);
    }
}
