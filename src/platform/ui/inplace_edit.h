#pragma once
// The editor over the current cell of a grid.
#include "platform/ui/custom_grid.h"

#include <QLineEdit>

// The editor over the current cell, a single-line edit owned by the grid.
// The class library's edit mask ("mask;save literals;blank") as a Qt input mask.  The mask
// letters differ: there "0" is a required digit and "9" an optional one, "L"/"l" letters,
// "A"/"a" letters or digits, "C"/"c" any character; "<>" ends case conversion, "!" (blanks
// trimmed from the front) and the save-literals field have no Qt counterpart and are
// dropped, ":" and "/" are the time and date separators, "_" shows as a blank.  Any other
// character is a literal, escaped where Qt would read it as a mask letter.
QString QtInputMask(const QString& EditMask);

class TInplaceEdit : public QLineEdit, public TObject {
public:
    explicit TInplaceEdit(TCustomGrid* grid);
    ~TInplaceEdit() override;
    QString ClassName() const override { return QStringLiteral("TInplaceEdit"); }

    TCustomGrid* Grid() const { return FGrid; }

    QString Text() const { return text(); }
    // Sets the text as code does: the change is not taken for an edit by the user.
    void SetText(const QString& s);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int n);
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& m) { FEditMask = m; }
    bool Visible() const { return isVisible(); }
    void SelectAll() { selectAll(); }
    void Deselect();
    int SelStart() const;
    int SelLength() const;

    // Places the editor over a cell rectangle (client coordinates of the grid), shows it
    // and gives it the focus.
    void Move(const TRect& loc);
    // Places it over a cell; an empty rectangle (a cell out of view) hides it.
    void UpdateLoc(const TRect& loc);
    void Hide();
    void SetFocus();
    void Invalidate() { update(); }

    // Sends a message straight to the window procedure; returns its Result.
    intptr_t Perform(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);

    // Takes the current cell's edit text, length limit and mask from the grid.
    virtual void UpdateContents();
    // Called after the editor's rectangle changed.
    virtual void BoundsChanged();
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void WndProc(TMessage& m);
    // What the platform does with a message nobody handled.
    virtual void DefaultHandler(TMessage& m);
    // The text changed through typing, pasting or deleting.
    virtual void Change();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    // The clipboard shortcuts and the context menu's clipboard entries arrive as WM_CUT,
    // WM_COPY and WM_PASTE at WndProc, so that a grid's editor can take them over there
    // (QLineEdit's own paste is not virtual).
    void contextMenuEvent(QContextMenuEvent* e) override;
    // The Qt key event behind the message being handled, nullptr for one sent by code.
    QKeyEvent* PendingKey() const { return FPendingKey; }

private:
    void TypeChar(QChar c);
    TCustomGrid* FGrid;
    int FMaxLength = 0;
    QString FEditMask;
    bool FSettingText = false;
    QKeyEvent* FPendingKey = nullptr;   // the Qt event behind the message being handled
    QFocusEvent* FPendingFocus = nullptr;
    friend class TCustomGrid;
};
