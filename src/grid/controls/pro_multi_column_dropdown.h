#pragma once
// The multi-column drop-down: an edit whose pop-up is a table with a header row of column
// titles and one row per item.  The edit shows the chosen item's text in the lookup column;
// typing completes from that column, characters typed in the open list search it.
#include "grid/controls/dropdown_columns.h"
#include "grid/controls/pro_detail_dropdown.h"
#include "platform/ui/string_grid.h"

class TProMultiColumnDropDown;

namespace MultiColumnDropDown {

// the columns and items, shared with the other table drop-down
using namespace DropDownList;

// The list of the drop-down: a string grid that paints its cells from the drop-down's
// columns and items.
class TProColGrid : public TStringGrid {
public:
    explicit TProColGrid(QWidget* AParent = nullptr);
    TProMultiColumnDropDown* ProDropDown() const { return FProDropDown; }
    void SetDropDown(TProMultiColumnDropDown* v) { FProDropDown = v; }
    TDropDownColumns& Columns() { return FColumns; }
    TColor HeaderColor = 0xFFFFFF, HeaderColorTo = 0x808080;
    TColor LineColor = 0x808080, FixedLineColor = 0xD1BBA4;
    TCustomImageList* Images = nullptr;
    int HeaderHeight = 25;
    TFont& HeaderFont() { return FHeaderFont; }
    void SetHeaderFont(const TFont& v) { FHeaderFont.Assign(v); }
    // The grid draws its own lines: the class library's line width stays 0.
    int GridLineWidth() const override { return FLineWidth; }
    void SetGridLineWidth(int v) override;
    bool ConfirmSelection() const { return FConfirmSelection; }
    bool MouseWheelSelection() const { return FMouseWheelSelection; }
    std::function<void(QObject* Sender)> OnSelect;
    std::function<void(int Row)> OnSelectRow;

    // Loads columns, row count, sizes and colours from the drop-down.
    void LoadFromDropDown(TProMultiColumnDropDown* DropDown);
    void AutoSizeColumns();
    void AutoSizeColumn(int Index);
    void SizeWrappedRows();
    int FullWidth() const;
    virtual void DoSelect();

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, const TPoint& mousePos) override;

private:
    TProMultiColumnDropDown* FProDropDown = nullptr;
    TDropDownColumns FColumns;
    TFont FHeaderFont;
    int FLineWidth = 1;
    int FOldRow = -1;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;
};

} // namespace MultiColumnDropDown

class TProMultiColumnDropDown : public TProLookupDropDown {
public:
    using TDropDownColumns = MultiColumnDropDown::TDropDownColumns;
    using TDropDownItems = MultiColumnDropDown::TDropDownItems;
    using TProColGrid = MultiColumnDropDown::TProColGrid;

    explicit TProMultiColumnDropDown(QWidget* AParent = nullptr);

    TDropDownColumns& Columns() { return FColumns; }
    void SetColumns(const TDropDownColumns& v) { FColumns.Assign(v); }
    TDropDownItems& Items() { return FItems; }
    void SetItems(const TDropDownItems& v) { FItems.Assign(v); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int LookupColumn = 0;
    int HeaderHeight = 25;
    TColor HeaderColor = 0xFFFFFF, HeaderColorTo = 0x808080;
    TFont& HeaderFont() { return FHeaderFont; }
    void SetHeaderFont(const TFont& v) { FHeaderFont.Assign(v); }
    TColor LineColor = 0xF1EDEB, FixedLineColor = 0xD1BBA4;
    TColor SelectionTextColor = clBlack;
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    // At least one pixel: the form is cut to whole rows of this height.
    void SetDropDownRowHeight(int v) { FDropDownRowHeight = std::max(1, v); }
    bool DropDownAutoWidth = true;
    bool ColumnSizeWithDropDown = true;
    bool ColumnSizing = false;
    bool CaseSensitive = false;
    bool MatchStart = true;   // lookup always matches at the start
    int RowCount() const { return FItems.Count(); }
    std::function<void(QObject* Sender)> OnSelect;
    std::function<void(QObject* Sender, int Column, int Row, TCanvas* ACanvas, TRect ARect)> OnDropDownDrawItem;
    std::function<void(QObject* Sender, int Column, int Row, QString& Text)> OnDropDownGetItemText;
    std::function<void(QObject* Sender, int Column, int Row, TFont* Font, TColor& AColor, TColor& AColorTo)>
        OnDropDownGetItemProp;

    int GetItemIndex(const QString& Value) const;
    void BeginUpdate() {}
    void EndUpdate() { BuildLookupItems(); }
    void Assign(const TProMultiColumnDropDown& Source);

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void SelectNextPage();
    void SelectPreviousPage();

    TProColGrid* ListGrid() const { return FProColGrid; }
    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TProStyle Style) override;

    // ---- called by the list
    void PaintListCell(TCanvas* Canvas, int Col, int Row, const TRect& Rect);
    void ListSelectCell(int Row);
    void ListSelect();
    void ControlKeyDown(QKeyEvent* e) override;
    void ControlKeyPress(QChar Key);
    bool Showing() const { return FShowing; }

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void AdaptDropDownHeight(int& Height) override;
    void DoShowDropDown() override;
    void PlaceDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormResized() override;
    void HandleWheelDown() override;
    void HandleWheelUp() override;
    void HandleKeyDown(QKeyEvent* e) override;
    int LookupCount() const override { return int(FLookupItems.size()); }
    QString LookupEntry(int Index) const override { return FLookupItems.at(Index); }
    // The lookup list may be older than the items: an entry beyond them is no item.
    void LookupCompleted(int Index) override
    {
        if (Index < FItems.Count()) FItemIndex = Index;
    }
    void SelectCompleted(int Index) override { SetItemIndex(Index); }
    void BuildLookupItems();
    void SizeColumnsToDropDown();
    // The list-side search; the item found, or -1.
    int LookupInList(QChar Key);
    int FindLookupText(const QString& Value) const;

private:
    QString ItemText(int Index, int Column) const;
    // The lookup entry equal to S but for case, -1 for none.
    int LookupIndexOf(const QString& S) const;
    void HandleNavigationKey(QKeyEvent* e);
    TDropDownColumns FColumns;
    TDropDownItems FItems;
    TFont FHeaderFont;
    int FItemIndex = -1;
    int FDropDownRowHeight = 22;
    QStringList FLookupItems;
    QString FLookupEntry;
    bool FShowing = false;
    int FOldItemIndex = -1;
    TProColGrid* FProColGrid = nullptr;
};
