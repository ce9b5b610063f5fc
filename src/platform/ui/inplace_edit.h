#pragma once
// The editor over the current cell of a grid.
#include "platform/ui/custom_grid.h"

#include <QLineEdit>

class QPlainTextEdit;
// The class library's edit mask ("mask;save literals;blank") as a Qt input mask.  The mask
// letters differ: there "0" is a required digit and "9" an optional one, "L"/"l" letters,
// "A"/"a" letters or digits, "C"/"c" any character; "<>" ends case conversion, "!" (blanks
// trimmed from the front) and the save-literals field have no Qt counterpart and are
// dropped, ":" and "/" are the time and date separators, "_" shows as a blank.  Any other
// character is a literal, escaped where Qt would read it as a mask letter.
QString QtInputMask(const QString& EditMask);

// The editor over the current cell, owned by the grid.  It is a single-line edit, or a
// multi-line one (SetMultiLine) for cells that wrap or hold line breaks; the same calls serve
// both.  In the multi-line edit line breaks read as CR LF, as the cells store them, and
// positions count them as two characters.
class TInplaceEdit : public QWidget, public TObject {
public:
    explicit TInplaceEdit(TCustomGrid* grid);
    ~TInplaceEdit() override;
    QString ClassName() const override { return QStringLiteral("TInplaceEdit"); }

    TCustomGrid* Grid() const { return FGrid; }

    // The multi-line edit in place of the single-line one; the text stays.  A multi-line
    // edit with word wrap breaks its lines at the window's width.
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v, bool WordWrap = false);
    // The line of the caret, counted from 0, and the line of the text's end, as the lines
    // are shown (wrapped ones included); both 0 in the single-line edit.
    int CaretLine() const;
    int LastLine() const;

    // The edit's text and selection, as QLineEdit names them.
    QString text() const;
    void setText(const QString& s);
    int cursorPosition() const;
    void setCursorPosition(int pos);
    bool hasSelectedText() const;
    QString selectedText() const;
    int selectionStart() const;
    // Selects Length characters from Start (a negative length selects backwards).
    void setSelection(int Start, int Length);
    void selectAll();
    void deselect();
    int maxLength() const;
    void setMaxLength(int n);
    Qt::Alignment alignment() const { return FAlignment; }
    void setAlignment(Qt::Alignment a);
    QString inputMask() const;
    void setInputMask(const QString& m);
    QLineEdit::EchoMode echoMode() const;
    void setEchoMode(QLineEdit::EchoMode m);
    void setTextMargins(int left, int top, int right, int bottom);
    bool isReadOnly() const;
    void setReadOnly(bool v);
    // The caret's rectangle and the text position under a point, in the edit's coordinates.
    QRect cursorRect() const;
    int cursorPositionAt(const QPoint& p) const;
    void cut();
    void copy();
    void paste();

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
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery q) const override;
    // The clipboard shortcuts and the context menu's clipboard entries arrive as WM_CUT,
    // WM_COPY and WM_PASTE at WndProc, so that a grid's editor can take them over there
    // (QLineEdit's own paste is not virtual).
    void contextMenuEvent(QContextMenuEvent* e) override;
    // The Qt key event behind the message being handled, nullptr for one sent by code.
    QKeyEvent* PendingKey() const { return FPendingKey; }

private:
    class TLine;
    class TMemo;
    void TypeChar(QChar c);
    // The inner edit's own handling of a key.
    void BaseKeyPress(QKeyEvent* e);
    void ForwardMouse(QMouseEvent* e);
    void NotifyTextChanged();
    // The inner edit that shows the text now.
    QWidget* Inner() const;
    // Hands an event to the inner edit's own handling.
    void Forward(QEvent* e);
    // Positions in the text (CR LF two characters) and in the multi-line edit's document.
    int ToDocPos(int pos) const;
    int FromDocPos(int pos) const;
    TCustomGrid* FGrid;
    TLine* FLine;
    TMemo* FMemo = nullptr;   // made when first needed
    bool FMultiLine = false;
    bool FSwitching = false;
    QString FMemoText;   // the multi-line edit's text as last reported
    Qt::Alignment FAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    int FMaxLength = 0;
    QString FEditMask;
    bool FSettingText = false;
    QKeyEvent* FPendingKey = nullptr;   // the Qt event behind the message being handled
    QFocusEvent* FPendingFocus = nullptr;
    friend class TCustomGrid;
};
