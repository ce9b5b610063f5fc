#pragma once
// The further objects a string grid owns: their settings as far as the grid's construction,
// loading and copying need them.  Their behaviour (footer, balloon hints, nodes, looks,
// background, editors) is added with the features that use them.
#include "grid/base/grid_settings.h"
#include "grid/base/int_list.h"
#include "grid/base/pictures.h"
#include "grid/base/theme.h"
#include "grid/control/cell_graphic.h"
#include "platform/ui/combo_notify.h"
#include "platform/ui/hint_window.h"
#include "platform/ui/image_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>

class TProStringGrid;

// A string list that reports its changes.
class TGridStrings : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TStringList"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TGridStrings*>(Source)) SetStrings(s->FItems);
    }
    TNotifyEvent OnChange;
    bool Sorted = false;
    bool IgnoreDuplicates = false;

    const QStringList& Strings() const { return FItems; }
    int Count() const { return int(FItems.size()); }
    QString operator[](int i) const { return FItems.value(i); }
    void SetStrings(const QStringList& v)
    {
        FItems = v;
        Normalise();
        Changed();
    }
    void Add(const QString& s)
    {
        if (IgnoreDuplicates && FItems.contains(s)) return;
        FItems.append(s);
        Normalise();
        Changed();
    }
    void Clear()
    {
        FItems.clear();
        Changed();
    }
    QString Text() const { return FItems.isEmpty() ? QString() : FItems.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

private:
    void Changed() { FireNotify(OnChange, this); }
    void Normalise()
    {
        if (IgnoreDuplicates) FItems.removeDuplicates();
        if (Sorted) FItems.sort(Qt::CaseInsensitive);
    }
    QStringList FItems;
};

// One hidden row: its real index, height, texts and node level.
class TGridItem : public TObject {
public:
    QString ClassName() const override { return QStringLiteral("TGridItem"); }
    int Idx() const { return FIdx; }
    void SetIdx(int v) { FIdx = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    QStringList& Items() { return FItems; }
    void SetItems(const QStringList& v) { FItems = v; }
    // The row's cell objects, one per column like Items; the item owns them while the row
    // is hidden and hands them back when it is shown.
    std::vector<TObject*>& Objects() { return FObjects; }
    ~TGridItem() override
    {
        for (TObject* o : FObjects) delete o;
    }
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }

private:
    int FIdx = 0;
    int FHeight = 0;
    QStringList FItems;
    int FLevel = 0;
    std::vector<TObject*> FObjects;
};

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };

class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TProStringGrid* AGrid) : FGrid(AGrid) {}
    QString ClassName() const override { return QStringLiteral("TFloatingFooter"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TFloatingFooter*>(Source)) {
            FVisible = s->FVisible;
            FFooterStyle = s->FFooterStyle;
            FHeight = s->FHeight;
        }
    }
    GRID_FIELD(bool, Visible, false)
    GRID_FIELD(TFooterStyle, FooterStyle, fsFixedLastRow)
    GRID_FIELD(int, Height, 22)

private:
    TProStringGrid* FGrid;
};

class TDragScrollOptions : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollOptions"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TDragScrollOptions*>(Source)) *this = *s;
    }
    GRID_FIELD(bool, Active, false)
    GRID_FIELD(int, Delays, 100)
};

enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csZUZ, csGlyph, csTheme };

// How the grid draws its in-cell controls (check boxes, radio buttons).
class TControlLook : public TPersistent {
public:
    explicit TControlLook(TProStringGrid* AGrid) { (void)AGrid; }
    QString ClassName() const override { return QStringLiteral("TControlLook"); }
    void Assign(const TPersistent* Source) override
    {
        auto* s = dynamic_cast<const TControlLook*>(Source);
        if (!s) return;
        FControlStyle = s->FControlStyle;
        FCheckBoxSize = s->FCheckBoxSize;
        FRadioSize = s->FRadioSize;
        FNoDisabledCheckRadioLook = s->FNoDisabledCheckRadioLook;
        FCheckAlwaysActive = s->FCheckAlwaysActive;
        FRadioAlwaysActive = s->FRadioAlwaysActive;
        FColor = s->FColor;
        FCheckedGlyph.Assign(s->FCheckedGlyph);
        FUnCheckedGlyph.Assign(s->FUnCheckedGlyph);
        FRadioOnGlyph.Assign(s->FRadioOnGlyph);
        FRadioOffGlyph.Assign(s->FRadioOffGlyph);
    }
    GRID_FIELD(TControlStyle, ControlStyle, csTheme)
    // Editor buttons shown in every cell that has the editor, and the fixed cells' drop-down.
    GRID_FIELD(bool, DropDownAlwaysVisible, false)
    GRID_FIELD(bool, SpinButtonsAlwaysVisible, false)
    GRID_FIELD(bool, FlatButton, false)
    GRID_FIELD(bool, FixedDropDownButton, false)
    int CheckSize() const { return FCheckBoxSize; }
    void SetCheckSize(int v) { FCheckBoxSize = v; }
    GRID_FIELD(int, RadioSize, 10)
    GRID_FIELD(bool, NoDisabledCheckRadioLook, false)
    GRID_FIELD(bool, CheckAlwaysActive, false)
    GRID_FIELD(bool, RadioAlwaysActive, false)
    // Check mark and radio dot of the csBorland style.
    GRID_FIELD(TColor, Color, clBlack)
    // Comment marks, cell buttons and progress bars.
    GRID_FIELD(TColor, CommentColor, 0x0000FF)
    GRID_FIELD(bool, NoDisabledButtonLook, false)
    GRID_FIELD(TColor, ProgressBorderColor, 0x808080)
    GRID_FIELD(int, ProgressMarginX, 2)
    GRID_FIELD(int, ProgressMarginY, 2)
    GRID_FIELD(bool, ProgressXP, false)
    TBitmap* CheckedGlyph() { return &FCheckedGlyph; }
    TBitmap* UnCheckedGlyph() { return &FUnCheckedGlyph; }
    TBitmap* RadioOnGlyph() { return &FRadioOnGlyph; }
    TBitmap* RadioOffGlyph() { return &FRadioOffGlyph; }

private:
    int FCheckBoxSize = 15;
    TBitmap FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
};

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public TPersistent {
public:
    explicit TCellNode(TProStringGrid* AGrid) { (void)AGrid; }
    QString ClassName() const override { return QStringLiteral("TCellNode"); }
    void Assign(const TPersistent* Source) override
    {
        auto* s = dynamic_cast<const TCellNode*>(Source);
        if (!s) return;
        FColor = s->FColor;
        FNodeColor = s->FNodeColor;
        FShowTree = s->FShowTree;
        FNodeIndent = s->FNodeIndent;
        FNodeType = s->FNodeType;
        FShowTreeFull = s->FShowTreeFull;
        FTreeColor = s->FTreeColor;
        FExpandGlyph.Assign(s->FExpandGlyph);
        FContractGlyph.Assign(s->FContractGlyph);
    }
    GRID_FIELD(TColor, Color, clSilver)
    GRID_FIELD(TColor, NodeColor, clBlack)
    GRID_FIELD(bool, ShowTree, true)
    GRID_FIELD(int, NodeIndent, 12)
    // The glyph look and the tree lines.
    GRID_FIELD(TNodeType, NodeType, cnXP)
    GRID_FIELD(bool, ShowTreeFull, true)
    GRID_FIELD(TColor, TreeColor, 0x808080)
    TBitmap* ExpandGlyph() { return &FExpandGlyph; }
    TBitmap* ContractGlyph() { return &FContractGlyph; }

private:
    TBitmap FExpandGlyph, FContractGlyph;
};

class TSizeWhileTyping : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TSizeWhileTyping"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TSizeWhileTyping*>(Source)) *this = *s;
    }
    GRID_FIELD(bool, Height, false)
    GRID_FIELD(bool, Width, false)
};

// THTMLPictureCache (pictures of mini-HTML cells, loaded once) is in grid/base/pictures.h,
// beside the renderer that fills it.

enum TBackgroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };

class TBackGround : public TPersistent {
public:
    explicit TBackGround(TProStringGrid* AGrid) { (void)AGrid; }
    QString ClassName() const override { return QStringLiteral("TBackGround"); }
    GRID_FIELD(TBackgroundDisplay, Display, bdTile)
    GRID_FIELD(TColor, Color, clWhite)
    GRID_FIELD(TColor, ColorTo, clNone)
};

class TBalloonSettings : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TBalloonSettings"); }
    TNotifyEvent OnEnableChange;
    bool Enable() const { return FEnable; }
    void SetEnable(bool v)
    {
        if (v == FEnable) return;
        FEnable = v;
        FireNotify(OnEnableChange, this);
    }

private:
    bool FEnable = false;
};

// ---- child windows ----

class TFooterPanel : public QWidget {
public:
    explicit TFooterPanel(QWidget* AOwner) : QWidget(AOwner) { hide(); }
};

class TSearchPanel : public QWidget {
public:
    explicit TSearchPanel(QWidget* AOwner) : QWidget(AOwner) { hide(); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { FColorTo = v; update(); }
    std::function<void()> OnEditChange, OnBackwardClick, OnForwardClick, OnExitClick, OnHighLightClick;

private:
    TColor FColorTo = clNone;
};

// Hint window that shows mini-HTML and packed wide texts (html_cells.cpp).
class THTMLHintWindow : public THintWindow {
public:
    // AOwner owns the window (null: whoever shows it).
    explicit THTMLHintWindow(QWidget* AOwner = nullptr);
    // data: the string grid the hint is for (as its QWidget), or null.
    TRect CalcHintRect(int MaxWidth, const QString& AHint, void* AData) override;
    void ActivateHint(const TRect& Rect, const QString& AHint) override;
    void ActivateHintData(const TRect& Rect, const QString& AHint, void* AData) override;
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }

protected:
    void Paint() override;

private:
    // The text's size: measured as packed wide text or as mini-HTML within MaxWidth.
    QSize MeasureHint(const QString& AHint, int MaxWidth, bool& Wide);
    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    int FTextWidth = 0;
    int FTextHeight = 0;
    QString FWideCaption;
};

class TDropList : public QListWidget {
public:
    explicit TDropList(QWidget* AParent) : QListWidget(AParent) { resize(0, 0); hide(); }
    std::function<void(int ItemIndex)> OnSelect;
};

class TDropCheckList : public QListWidget {
public:
    explicit TDropCheckList(QWidget* AParent) : QListWidget(AParent) { resize(0, 0); hide(); }
    std::function<void(int ItemIndex)> OnSelect;
};

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

class TArrowWindow : public QWidget {
public:
    TArrowWindow(QWidget* AOwner, TArrowDirection Direction)
        : QWidget(AOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FDirection(Direction)
    {
        hide();
    }
    TArrowDirection Direction() const { return FDirection; }

private:
    TArrowDirection FDirection;
};

// In-place editor controls, created hidden and disabled over the grid.
class TGridCombo : public QComboBox {
public:
    explicit TGridCombo(QWidget* AParent) : QComboBox(AParent)
    {
        setEnabled(false);
        hide();
        ConnectComboNotifications(this);   // the grid hears of picks, edits, drop-downs and close-ups
    }
    bool FIsWinXP = false;
    bool FIsVista = false;
    bool FIsComCtl6 = false;
};

class TGridTransEdit : public QLineEdit {
public:
    explicit TGridTransEdit(QWidget* AParent) : QLineEdit(AParent) { setFrame(false); hide(); }
};

class TGridTransCombo : public QComboBox {
public:
    explicit TGridTransCombo(QWidget* AParent) : QComboBox(AParent) { hide(); }
};

class TGridCheckBox : public QCheckBox {
public:
    explicit TGridCheckBox(QWidget* AParent) : QCheckBox(AParent) { setEnabled(false); hide(); }
};

class TGridEditBtn : public QLineEdit {
public:
    explicit TGridEditBtn(QWidget* AParent) : QLineEdit(AParent) { setFrame(false); setEnabled(false); hide(); }
    QString ButtonCaption = QStringLiteral("...");
    bool IsWinXP = false;
};

class TGridUnitEditBtn : public TGridEditBtn {
public:
    explicit TGridUnitEditBtn(QWidget* AParent) : TGridEditBtn(AParent) {}
    std::function<void(const QString& NewUnit)> OnUnitChanged;
};

class TGridButton : public QPushButton {
public:
    explicit TGridButton(QWidget* AParent) : QPushButton(AParent) { setEnabled(false); hide(); }
    std::function<void()> OnClick;
};

class THeaderDragButton : public QWidget {
public:
    THeaderDragButton(QWidget* AParent, TProStringGrid* AGrid) : QWidget(AParent), FGrid(AGrid)
    {
        setEnabled(false);
        hide();
    }
    TProStringGrid* Grid() const { return FGrid; }

private:
    TProStringGrid* FGrid;
};

class TControlEdit : public QLineEdit {
public:
    explicit TControlEdit(QWidget* AParent) : QLineEdit(AParent) { hide(); }
};

class TControlCombo : public QComboBox {
public:
    explicit TControlCombo(QWidget* AParent) : QComboBox(AParent) { hide(); }
};
