#pragma once
// A single-line edit with an optional edit mask in the class library's mask letters
// ("0" a required digit, "9" an optional one, "L"/"l" letters, "A"/"a" letters or digits,
// "C"/"c" any character, "#" a digit or sign, "\" a literal, ">"/"<" case, ";" separating
// the blank character), translated into Qt's input mask; and the selection as start and
// length, as edit controls report it.  The translation is the in-place editor's
// (QtInputMask).
#include <QLineEdit>

class TCustomMaskEdit : public QLineEdit {
public:
    explicit TCustomMaskEdit(QWidget* AParent = nullptr);

    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& v);
    // The caret, or the start of the selection; and the selection's length.
    int SelStart() const;
    int SelLength() const { return selectedText().size(); }
    // Selects Length characters from Start (Length 0: only the caret moves there).
    void SetSel(int Start, int Length);
    bool Modified() const { return isModified(); }
    void SetModified(bool v) { setModified(v); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool v) { setReadOnly(v); }

private:
    QString FEditMask;
};
