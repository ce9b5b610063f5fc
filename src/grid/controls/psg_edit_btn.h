#pragma once
// A single-line edit with a push button at its right edge (the button and F4 raise
// OnClickBtn), and a variant that also shows a unit of measure chosen from a menu.
#include "platform/ui/graphics.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <functional>

class QMenu;
class TPsgEditButton;

// The painted button inside the button part.
class TProSpeedButton : public QAbstractButton {
public:
    explicit TProSpeedButton(TPsgEditButton* AParent);
    bool IsWinXP = false;
    bool Flat = false;
    bool Hot = false;
    QPixmap Glyph;
    std::function<void(Qt::MouseButton)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TPsgEditButton* FPart;
    bool FPressed = false;
    friend class TPsgEditButton;
};

class TPsgEditButton : public QWidget {
public:
    explicit TPsgEditButton(QWidget* AParent);
    TProSpeedButton* Button;
    QWidget* FocusControl = nullptr;
    std::function<void(QObject* Sender)> OnClick;
    void SetFlat(bool v) { Button->Flat = v; Button->update(); }
    void SetButtonCaption(const QString& v) { Button->setText(v); }
    TColor ButtonColor = clNone, ButtonColorHot = clNone, ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone, ButtonTextColorHot = clNone, ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Released(Qt::MouseButton b);
};

class TPsgEditBtn : public QLineEdit {
public:
    explicit TPsgEditBtn(QWidget* AParent);
    QString ButtonCaption() const { return FButton->Button->text(); }
    void SetButtonCaption(const QString& v) { FButton->SetButtonCaption(v); }
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    // Entering the edit other than by a left click selects the whole text.
    bool AutoSelect = true;
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool v);
    bool IsWinXP() const { return FButton->Button->IsWinXP; }
    void SetIsWinXP(bool v) { FButton->Button->IsWinXP = v; }
    TPsgEditButton* Button() const { return FButton; }
    std::function<void(QObject* Sender)> OnClickBtn;
    virtual void ButtonClick(QObject* Sender);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void SetEditRect();
    int FUnitWidth = 0;

private:
    TPsgEditButton* FButton;
    int FButtonWidth = 0;
    bool FEditorEnabled = true;
    bool FRightAlign = false;
};

class TPsgUnitEditBtn : public TPsgEditBtn {
public:
    explicit TPsgUnitEditBtn(QWidget* AParent);
    QStringList Units() const { return FUnits; }
    void SetUnits(const QStringList& v) { FUnits = v; }
    QString UnitID() const { return FUnitID; }
    void SetUnitID(const QString& v);
    int UnitSpace() const { return FUnitWidth; }
    void SetUnitSpace(int v);
    QString TextAndUnit() const { return text() + FUnitID; }
    void SetTextAndUnit(const QString& v);
    std::function<void(QObject* Sender, const QString& NewUnit)> OnUnitChanged;
    void ButtonClick(QObject* Sender) override;
    // A choice from the unit menu: 1 .. the number of units.
    void MenuCommand(int Id);
    // The unit menu while it is open.
    QMenu* UnitMenu() const { return FMenu; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QStringList FUnits;
    QString FUnitID;
    QPointer<QMenu> FMenu;
};
