#pragma once
// The settings objects a string grid owns beside those of grid/base/grid_settings.h: the
// string list of its properties, the floating footer, drag scrolling, nodes, sizing while
// typing and the balloon hints.  Their behaviour is added with the features that use them.
#include "grid/base/cell_properties.h"
#include "grid/base/grid_settings.h"
#include "platform/ui/canvas.h"

#include <QStringList>
#include <functional>

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

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

class TFooterPanel;
class TCanvas;
// Value of a footer column whose calculation is custom.
using TCalcFooterEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
// Painting of the footer by the application: the column and the rectangle to paint in.
using TFooterPaintEvent = std::function<void(TFooterPanel* Sender, int AColumn, TCanvas* Canvas, TRect ARect)>;

// Settings of the strip below the grid that shows one row of values under the columns.
class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TProStringGrid* AGrid) : FGrid(AGrid) {}
    QString ClassName() const override { return QStringLiteral("TFloatingFooter"); }
    // Copies the style, column, template, colour, visibility and hint flag; the height, the
    // border colour, the calculation switch and the event stay.
    void Assign(const TPersistent* Source) override;

    int Height() const { return FHeight; }
    void SetHeight(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    QString CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& Value);
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    // The calculation of a column, kept with the cell properties of its cell in the last row.
    TColumnCalcType ColumnCalc(int ACol) const;
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    void Invalidate();

    TCalcFooterEvent OnCalcFooter;

private:
    TFooterPanel* Panel() const;

    TProStringGrid* FGrid;
    int FHeight = 22;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FCalculateHiddenRows = true;
    bool FEnableCalculation = true;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

// When scrolling during a drag starts (ms after entering a margin) and repeats.
class TDragScrollDelays : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollDelays"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TDragScrollDelays*>(Source)) *this = *s;
    }
    GRID_FIELD(int, InitialDelay, 1000)
    GRID_FIELD(int, RepeatDelay, 0xFA)
};

// How near the grid's edges (pixels) a drag scrolls.
class TDragScrollMargins : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollMargins"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TDragScrollMargins*>(Source)) *this = *s;
    }
    GRID_FIELD(int, TopMargin, 50)
    GRID_FIELD(int, BottomMargin, 50)
    GRID_FIELD(int, LeftMargin, 50)
    GRID_FIELD(int, RightMargin, 50)
};

class TDragScrollOptions : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollOptions"); }
    void Assign(const TPersistent* Source) override
    {
        auto* s = dynamic_cast<const TDragScrollOptions*>(Source);
        if (!s) return;
        FMargins.Assign(&s->FMargins);
        FDelays.Assign(&s->FDelays);
        FActive = s->FActive;
    }
    GRID_FIELD(bool, Active, false)
    TDragScrollDelays* Delays() { return &FDelays; }
    TDragScrollMargins* Margins() { return &FMargins; }

private:
    TDragScrollDelays FDelays;
    TDragScrollMargins FMargins;
};

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public TPersistent {
public:
    explicit TCellNode(TProStringGrid* AGrid) : FOwner(AGrid) {}
    QString ClassName() const override { return QStringLiteral("TCellNode"); }
    void Assign(const TPersistent* Source) override
    {
        auto* s = dynamic_cast<const TCellNode*>(Source);
        if (!s) return;
        FColor = s->FColor;
        FExpandOne = s->FExpandOne;
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
    // Expanding a node first contracts every other expanded node.
    GRID_FIELD(bool, ExpandOne, false)
    // The glyph look and the tree lines; a changed value repaints the grid.
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool v);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int v);
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType v);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool v);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor v);
    TBitmap* ExpandGlyph() { return &FExpandGlyph; }
    TBitmap* ContractGlyph() { return &FContractGlyph; }
    void SetExpandGlyph(const TBitmap& v) { FExpandGlyph.Assign(v); }
    void SetContractGlyph(const TBitmap& v) { FContractGlyph.Assign(v); }

private:
    void Changed();
    TProStringGrid* FOwner;
    bool FShowTree = true;
    int FNodeIndent = 12;
    TNodeType FNodeType = cnXP;
    bool FShowTreeFull = true;
    TColor FTreeColor = 0x808080;
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

// The options of the balloon hints: delays of -1 and colours of clNone leave the platform's.
class TBalloonSettings : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TBalloonSettings"); }
    // Copies all but Transparency from other balloon settings, Enable without the event.
    void Assign(const TPersistent* Source) override;
    TNotifyEvent OnEnableChange;
    bool Init() const { return FInit; }
    void SetInit(bool v) { FInit = v; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor v) { FBackgroundColor = v; }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v) { FTextColor = v; }
    int ReshowDelay() const { return FReshowDelay; }
    void SetReshowDelay(int v) { FReshowDelay = v; }
    int InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(int v) { FInitialDelay = v; }
    int AutoHideDelay() const { return FAutoHideDelay; }
    void SetAutoHideDelay(int v) { FAutoHideDelay = v; }
    uint8_t Transparency() const { return FTransparency; }
    void SetTransparency(uint8_t v) { FTransparency = v; }
    bool Enable() const { return FEnable; }
    // Fires OnEnableChange on every call, changed or not.
    void SetEnable(bool v)
    {
        FEnable = v;
        FireNotify(OnEnableChange, this);
    }

private:
    bool FInit = false;
    TColor FBackgroundColor = clNone;
    TColor FTextColor = clNone;
    int FReshowDelay = -1;
    int FInitialDelay = -1;
    int FAutoHideDelay = -1;
    uint8_t FTransparency = 0;
    bool FEnable = false;
};
