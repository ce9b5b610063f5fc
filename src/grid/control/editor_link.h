#pragma once
// Cell editors an application plugs into the grid (TEditLink), and the rich edit that shows
// and edits rich-text cells (TProRichEdit).
#include "grid/control/pro_string_grid.h"

#include <QPointer>
#include <QTextEdit>

enum TEditStyle { esInplace, esPopup };

// The link between the grid and an application's own editor control.  A link overrides at
// least CreateEditor, GetEditControl, GetEditorValue and SetEditorValue; the grid routes the
// control's keys to EditKeyDown and its leaving to EditExit once it shows the control.
class TEditLink : public QObject {
public:
    explicit TEditLink(QObject* AOwner = nullptr);
    ~TEditLink() override;

    TProStringGrid* Grid() const { return FOwner; }
    void SetGrid(TProStringGrid* v) { FOwner = v; }
    TPoint EditCell() const { return FEditCell; }
    void SetEditCell(TPoint v) { FEditCell = v; }

    bool WantKeyLeftRight() const { return FWantKeyLeftRight; }
    void SetWantKeyLeftRight(bool v) { FWantKeyLeftRight = v; }
    bool WantKeyUpDown() const { return FWantKeyUpDown; }
    void SetWantKeyUpDown(bool v) { FWantKeyUpDown = v; }
    bool WantKeyHomeEnd() const { return FWantKeyHomeEnd; }
    void SetWantKeyHomeEnd(bool v) { FWantKeyHomeEnd = v; }
    bool WantKeyPriorNext() const { return FWantKeyPriorNext; }
    void SetWantKeyPriorNext(bool v) { FWantKeyPriorNext = v; }
    bool WantKeyReturn() const { return FWantKeyReturn; }
    void SetWantKeyReturn(bool v) { FWantKeyReturn = v; }
    bool WantKeyEscape() const { return FWantKeyEscape; }
    void SetWantKeyEscape(bool v) { FWantKeyEscape = v; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    TEditStyle EditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle v) { FEditStyle = v; }
    int PopupWidth() const { return FPopupWidth; }
    void SetPopupWidth(int v) { FPopupWidth = v; }
    int PopupHeight() const { return FPopupHeight; }
    void SetPopupHeight(int v) { FPopupHeight = v; }
    int PopupLeft() const { return FPopupLeft; }
    void SetPopupLeft(int v) { FPopupLeft = v; }
    int PopupTop() const { return FPopupTop; }
    void SetPopupTop(int v) { FPopupTop = v; }
    bool AutoPopupWidth() const { return FAutoPopupWidth; }
    void SetAutoPopupWidth(bool v) { FAutoPopupWidth = v; }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    // The borderless form a pop-up link edits on (made by the grid), or null.
    QWidget* PopupForm() const { return FPopupForm; }
    bool SubClassed() const { return FSubClassed; }

    virtual void EditKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    virtual QWidget* GetEditControl() { return nullptr; }
    virtual void CreateEditor(QWidget* AParent) { (void)AParent; }
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool Value);
    virtual void SetRect(TRect r);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor AColor, TFont* AFont) { (void)AColor; (void)AFont; }
    virtual QString GetEditorValue() { return QString(); }
    virtual void SetEditorValue(const QString& s) { (void)s; }

    QWidget* GetParent();
    QString GetCellValue();
    void SetCellValue(const QString& s);
    void HideEditor();
    void RestoreWinProc();
    void EditExit(QObject* Sender);
    // The pop-up form lost the activation.
    void FormExit(QObject* Sender);

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    friend class TProStringGrid;
    // Routes the keys and the leaving of the control (and of its children) here.
    void Wire(QWidget* C);
    // The grid is going: no event of its dying children may reach it through the link.
    void GridGone(TProStringGrid* G);
    TProStringGrid* FOwner = nullptr;
    bool FWantKeyLeftRight = false, FWantKeyUpDown = false, FWantKeyHomeEnd = false, FWantKeyPriorNext = false;
    bool FWantKeyReturn = false, FWantKeyEscape = false;
    TEditStyle FEditStyle = esInplace;
    QPointer<QWidget> FPopupForm;
    int FPopupWidth = 0, FPopupHeight = 0;
    bool FForcedExit = false;
    TPoint FEditCell{};
    int FTag = 0;
    bool FAutoPopupWidth = false;
    int FPopupLeft = -1, FPopupTop = -1;
    bool FSubClassed = false;
    bool FWantReturns = false, FWantTabs = false;
    QPointer<QWidget> FWired;
};

// The rich edit of rich-text cells.  Sub- and superscript are the vertical alignment of the
// selected characters.
class TProRichEdit : public QTextEdit {
public:
    explicit TProRichEdit(TProStringGrid* AOwner);
    TProStringGrid* Grid() const { return FGrid; }
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }
    void Lock() { FLocked = true; }
    void Unlock() { FLocked = false; }
    bool Locked() const { return FLocked; }
    void ReCreate() { clear(); }
    void SelNormal() { SetSelOffset(QTextCharFormat::AlignNormal); }
    void SelSubscript() { SetSelOffset(QTextCharFormat::AlignSubScript); }
    void SelSuperscript() { SetSelOffset(QTextCharFormat::AlignSuperScript); }
    bool IsSelNormal() const { return SelOffset() == QTextCharFormat::AlignNormal; }
    bool IsSelSubscript() const { return SelOffset() == QTextCharFormat::AlignSubScript; }
    bool IsSelSuperscript() const { return SelOffset() == QTextCharFormat::AlignSuperScript; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void SetSelOffset(QTextCharFormat::VerticalAlignment A);
    QTextCharFormat::VerticalAlignment SelOffset() const;
    // The document asks for another size.
    void RequestResize(QSizeF Size);
    TProStringGrid* FGrid;
    int FReqHeight = 0, FReqWidth = 0;
    bool FLocked = false;
};

// The rich-text (RTF) form of a document, as the grid stores rich-text cells.
QString DocumentToRtf(const QTextDocument& Doc);
