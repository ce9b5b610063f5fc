#include "grid/control/pro_column_grid.h"
#include "support/made_grid.h"

#include "platform/ui/messages.h"

#include <QBuffer>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct ColumnGridFixture : MadeGridFixture<TProColumnGrid> {
    ColumnGridFixture() : MadeGridFixture(0, 6) {}
    TGridColumnItem* Col(int i) { return grid->Columns()->Items(i); }
};
}

TEST_F(ColumnGridFixture, ANewGridDescribesItsFiveColumnsWithTheDefaults)
{
    ASSERT_EQ(grid->Columns()->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        TGridColumnItem* c = Col(i);
        EXPECT_EQ(c->Width(), 50);
        EXPECT_EQ(grid->ColWidths(i), 50);
        EXPECT_EQ(c->CheckTrue(), QStringLiteral("Y"));
        EXPECT_EQ(c->CheckFalse(), QStringLiteral("N"));
        EXPECT_EQ(c->SpinStep(), 1);
        EXPECT_EQ(c->DropDownCount(), 8);
        EXPECT_EQ(c->PrintColor(), TColor(0x00FFFFFF));
        EXPECT_EQ(c->Color(), grid->Color());
        EXPECT_TRUE(*c->Font() == *grid->Font());
        EXPECT_EQ(c->Editor(), edNormal);
        EXPECT_EQ(c->DisplayName(), QStringLiteral("Column %1").arg(i));
    }
    EXPECT_THROW(grid->Columns()->Items(5), EListError);
    EXPECT_THROW(grid->Columns()->Items(-1), EListError);
}

TEST_F(ColumnGridFixture, TheCollectionFollowsTheColumnCountAndNewColumnsCopyTheLook)
{
    Col(4)->SetAlignment(taRightJustify);
    Col(4)->SetEditor(edComboList);
    Col(4)->SetWidth(70);
    Col(4)->SetHeader(QStringLiteral("last"));
    Col(4)->SetName(QStringLiteral("n4"));
    grid->SetColCount(9);
    ASSERT_EQ(grid->Columns()->Count(), 9);
    for (int i = 5; i < 9; ++i) {
        EXPECT_EQ(Col(i)->Alignment(), taRightJustify);
        EXPECT_EQ(Col(i)->Editor(), edComboList);
        EXPECT_EQ(Col(i)->Width(), 70);
        EXPECT_EQ(Col(i)->Header(), QString());
        EXPECT_EQ(Col(i)->Name(), QString());
    }
    grid->SetColCount(3);
    EXPECT_EQ(grid->Columns()->Count(), 3);

    // Hidden columns keep their descriptions.
    grid->HideColumn(1);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->Columns()->Count(), 3);
    grid->UnHideColumnsAll();
    EXPECT_EQ(grid->Columns()->Count(), 3);
}

TEST_F(ColumnGridFixture, AddingItemsRaisesTheColumnCount)
{
    grid->Columns()->Add();
    EXPECT_EQ(grid->ColCount(), 6);
    grid->HideColumn(2);
    grid->Columns()->Add();
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(grid->TotalColCount(), 7);
}

TEST_F(ColumnGridFixture, HeaderGoesIntoRowZeroAndTheHeaderListIsRebuilt)
{
    Col(2)->SetHeader(QStringLiteral("PGN"));
    EXPECT_EQ(grid->Cells(2, 0), QStringLiteral("PGN"));
    EXPECT_EQ(grid->ColumnHeaders()->Strings(), (QStringList{"", "", "PGN", "", ""}));
    Col(0)->SetHeader(QStringLiteral("Nr"));
    EXPECT_EQ(grid->ColumnHeaders()->Strings(), (QStringList{"Nr", "", "PGN", "", ""}));

    grid->SetFixedRows(0);
    Col(3)->SetHeader(QStringLiteral("SPN"));
    EXPECT_EQ(grid->Cells(3, 0), QString());
    EXPECT_EQ(grid->ColumnHeaders()->Strings(), (QStringList{"Nr", "", "PGN", "SPN", ""}));
}

TEST_F(ColumnGridFixture, TheShellsDeviceListTakesItsTwoHeaders)
{
    TProColumnGrid* list = CreateGrid<TProColumnGrid>();
    list->SetColCount(2);
    list->SetFixedCols(0);
    list->SetRowCount(2);
    list->Columns()->Items(0)->SetWidth(180);
    list->Columns()->Items(1)->SetWidth(180);
    list->Columns()->Items(0)->SetHeader(QStringLiteral("IP Address"));
    list->Columns()->Items(1)->SetHeader(QStringLiteral("MAC Address"));
    EXPECT_EQ(list->Columns()->Count(), 2);
    EXPECT_EQ(list->Cells(0, 0), QStringLiteral("IP Address"));
    EXPECT_EQ(list->Cells(1, 0), QStringLiteral("MAC Address"));
    EXPECT_EQ(list->ColWidths(1), 180);
    list->Free();
}

TEST_F(ColumnGridFixture, ColumnSettingsSteerTheCellColourAndFont)
{
    Col(2)->SetColor(clYellow);
    Col(2)->HeaderFont()->SetColor(clMaroon);
    Col(2)->Font()->SetColor(clNavy);
    TBrush brush;
    TFont font;
    grid->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clYellow);
    EXPECT_EQ(font.Color(), clNavy);
    grid->GetCellColor(2, 0, {}, &brush, &font);
    EXPECT_EQ(font.Color(), clMaroon);

    grid->SetColors(2, 3, clRed);  // a cell's own colour wins over the column's
    grid->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clRed);
    grid->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* b, TFont*) { b->SetColor(clLime); };
    grid->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clLime);  // and the event has the last word

    grid->OnGetCellColor = nullptr;
    Col(3)->SetFixed(true);
    grid->GetCellColor(3, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), grid->FixedColor());
}

TEST_F(ColumnGridFixture, ReadOnlyAndFixedColumnsRefuseEditing)
{
    struct Case { bool readOnly, fixed, canEdit; };
    for (Case k : {Case{false, false, true}, {true, false, false}, {false, true, false}}) {
        Col(2)->SetReadOnly(k.readOnly);
        Col(2)->SetFixed(k.fixed);
        bool can = true;
        grid->CanEditCell(2, 3, can);
        EXPECT_EQ(can, k.canEdit) << k.readOnly << k.fixed;
        bool fixed = false;
        grid->IsFixedCell(2, 3, fixed);
        EXPECT_EQ(fixed, k.fixed);
    }
    bool can = true;
    grid->CanEditCell(2, 0, can);  // header row
    EXPECT_FALSE(can);
}

TEST_F(ColumnGridFixture, ComboAndCheckBoxColumnsAnswerForTheirDataCells)
{
    Col(1)->SetEditor(edComboList);
    Col(1)->ComboItems()->Add(QStringLiteral("250k"));
    Col(1)->ComboItems()->Add(QStringLiteral("500k"));
    EXPECT_TRUE(grid->HasComboBox(1, 3));
    EXPECT_FALSE(grid->HasComboBox(1, 0));
    EXPECT_FALSE(grid->HasComboBox(2, 3));
    EXPECT_FALSE(grid->HasComboBox(9, 3));
    TEditorType e = edNormal;
    grid->GetCellEditor(1, 3, e);
    EXPECT_EQ(e, edComboList);
    if (TGridCombo* combo = grid->EditComboControl()) {
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(1), QStringLiteral("500k"));
    }

    Col(3)->SetEditor(edDataCheckBox);
    Col(3)->SetCheckTrue(QStringLiteral("1"));
    grid->OnGetCheckTrue = [](TObject*, int, int, QString& v) { v = QStringLiteral("event"); };
    QString v;
    grid->GetCheckTrue(3, 3, v);
    EXPECT_EQ(v, QStringLiteral("1"));
    grid->GetCheckTrue(3, 0, v);
    EXPECT_EQ(v, QStringLiteral("event"));
}

TEST_F(ColumnGridFixture, SizingClampsAndLookups)
{
    Col(2)->SetMinSize(30);
    Col(2)->SetMaxSize(90);
    int w = 10;
    grid->UpdateColumnSize(2, w);
    EXPECT_EQ(w, 30);
    w = 200;
    grid->UpdateColumnSize(2, w);
    EXPECT_EQ(w, 90);
    Col(2)->SetName(QStringLiteral("pgn"));
    EXPECT_EQ(grid->GetColumnByName(QStringLiteral("pgn")), Col(2));
    EXPECT_EQ(grid->GetColumnByName(QStringLiteral("PGN")), nullptr);
    EXPECT_EQ(grid->GetVersionString(), QStringLiteral("3.1.3.1 Aug, 2012"));
    EXPECT_EQ(grid->Version(), QStringLiteral("3.1.3.1"));
}

TEST_F(ColumnGridFixture, MovingAColumnTakesItsDescriptionAlong)
{
    for (int i = 0; i < 5; ++i) {
        Col(i)->SetName(QStringLiteral("n%1").arg(i));
        grid->SetCells(i, 2, QStringLiteral("v%1").arg(i));
    }
    std::pair<int, int> moved{-1, -1};
    grid->OnAfterColumnMoved = [&](TObject*, int f, int t) { moved = {f, t}; };
    grid->MoveColumn(1, 3);
    EXPECT_EQ(moved, (std::pair{1, 3}));
    QStringList names, cells;
    for (int i = 0; i < 5; ++i) {
        names << Col(i)->Name();
        cells << grid->Cells(i, 2);
    }
    EXPECT_EQ(names, (QStringList{"n0", "n2", "n3", "n1", "n4"}));
    EXPECT_EQ(cells, (QStringList{"v0", "v2", "v3", "v1", "v4"}));
}

TEST_F(ColumnGridFixture, FilterEntriesOfferTheirNames)
{
    EXPECT_FALSE(grid->GetFilterList(2));
    Col(2)->Filter()->Add(QStringLiteral("Big=>100"));
    Col(2)->Filter()->Add(QStringLiteral("Exact"));
    EXPECT_TRUE(grid->GetFilterList(2));
    EXPECT_EQ(grid->FilterList()->Strings(), (QStringList{"Big", "Exact"}));

    grid->SetAutoFilterDisplay(true);
    Col(2)->SetFilterCaseSensitive(true);
    struct Case { int item; const char* header; const char* condition; };
    for (Case k : {Case{0, "Big", ">100"}, {1, "Exact", "Exact"}}) {
        grid->SetFilterCol(2);
        grid->FilterSelect(grid, k.item);
        EXPECT_EQ(Col(2)->Header(), QString::fromUtf8(k.header));
        ASSERT_TRUE(grid->Filter()->HasFilter(2));
        EXPECT_EQ(grid->Filter()->GetColFilter(2)->Condition(), QString::fromUtf8(k.condition));
        EXPECT_TRUE(grid->Filter()->GetColFilter(2)->CaseSensitive());
        EXPECT_EQ(grid->FilterCol(), -1);
    }
}

TEST_F(ColumnGridFixture, ChoosingAFilterEntrySwitchesTheFilterOnAfterTheNewCondition)
{
    Col(1)->Filter()->Add(QStringLiteral("Small=<10"));
    grid->SetRow(4);
    QStringList seen;
    grid->Filter()->OnActiveChange = [&](TObject*) {
        seen << QStringLiteral("%1:%2").arg(grid->Filter()->FilterActive()).arg(
                    grid->Filter()->HasFilter(1) ? grid->Filter()->GetColFilter(1)->Condition() : QString());
    };
    int done = 0;
    grid->OnFilterDone = [&](TObject*) { ++done; };
    grid->Filter()->SetFilterActive(true);
    seen.clear();
    grid->SetFilterCol(1);
    grid->FilterSelect(grid, 0);
    EXPECT_EQ(seen, (QStringList{"0:", "1:<10"}));
    EXPECT_EQ(grid->Row(), grid->FixedRows());
    EXPECT_EQ(done, 1);

    // An entry that does not exist leaves the filter alone.
    seen.clear();
    grid->SetFilterCol(1);
    grid->FilterSelect(grid, 3);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(done, 1);
    EXPECT_EQ(grid->FilterCol(), -1);

    // Without automatic update the new condition is only put in place.
    grid->SetAutoFilterUpdate(false);
    grid->SetRow(4);
    seen.clear();
    grid->SetFilterCol(1);
    grid->FilterSelect(grid, 0);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(grid->Filter()->GetColFilter(1)->Condition(), QStringLiteral("<10"));
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(done, 1);
}

TEST_F(ColumnGridFixture, ColumnFloatFormatWritesFloats)
{
    Col(2)->SetFloatFormat(QStringLiteral("%.1f"));
    grid->SetFloats(2, 3, 2.26);
    grid->SetFloats(3, 3, 2.26);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("2.3"));
    EXPECT_EQ(grid->Cells(3, 3), QStringLiteral("2.26"));
    EXPECT_DOUBLE_EQ(Col(3)->Floats(3), 2.26);
}

TEST_F(ColumnGridFixture, ColumnPositionsRoundTripThroughAnIniFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("cols.ini"));
    for (int i = 0; i < 5; ++i) Col(i)->SetName(QStringLiteral("n%1").arg(i));
    grid->Loaded();  // records the designed places
    grid->SaveColumnPositions(ini, QStringLiteral("Grid"));
    {
        QSettings s(ini, QSettings::IniFormat);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(s.value(QStringLiteral("Grid/Pos%1").arg(i)).toInt(), i);
        s.setValue(QStringLiteral("Grid/Pos1"), 2);
        s.setValue(QStringLiteral("Grid/Pos2"), 1);
    }
    // A section that lacks a position changes nothing.
    grid->LoadColumnPositions(ini, QStringLiteral("Other"));
    EXPECT_EQ(Col(1)->Name(), QStringLiteral("n1"));

    grid->LoadColumnPositions(ini, QStringLiteral("Grid"));
    QStringList names;
    for (int i = 0; i < 5; ++i) names << Col(i)->Name();
    EXPECT_EQ(names, (QStringList{"n0", "n2", "n1", "n3", "n4"}));
    EXPECT_EQ(Col(1)->DefIdx(), 2);
}

TEST_F(ColumnGridFixture, HiddenColumnsKeepTheirSettingsOnTheRightCells)
{
    Col(3)->SetFixed(true);
    Col(3)->SetWidth(77);
    grid->SetCells(3, 2, QStringLiteral("kept"));
    grid->HideColumn(1);
    bool fixed = false;
    grid->IsFixedCell(2, 2, fixed);  // display column 2 is real column 3
    EXPECT_TRUE(fixed);
    EXPECT_EQ(grid->ColWidths(2), 77);
    EXPECT_EQ(Col(3)->Width(), 77);
    EXPECT_EQ(Col(1)->Width(), 50);
    EXPECT_EQ(Col(3)->Rows(2), QStringLiteral("kept"));
    grid->UnHideColumn(1);
    EXPECT_EQ(grid->ColWidths(3), 77);
}

TEST_F(ColumnGridFixture, InsertedAndRemovedColumnsTakeTheirDescriptionsAndCellsAlong)
{
    for (int i = 0; i < 5; ++i) {
        Col(i)->SetName(QStringLiteral("c%1").arg(i));
        grid->SetCells(i, 1, QStringLiteral("v%1").arg(i));
    }
    Col(3)->SetWidth(80);
    grid->GetCellProperties(3, 2)->SetBrushColor(0x0000FF);
    grid->GetCellProperties(1, 2)->SetReadOnly(true);
    grid->InsertCols(1, 2);
    ASSERT_TRUE(grid->HasCellProperties(5, 2));
    EXPECT_EQ(grid->GetCellProperties(5, 2)->BrushColor(), TColor(0x0000FF));
    EXPECT_FALSE(grid->HasCellProperties(3, 2) && grid->GetCellProperties(3, 2)->BrushColor() == TColor(0x0000FF));
    ASSERT_EQ(grid->ColCount(), 7);
    ASSERT_EQ(grid->Columns()->Count(), 7);
    const QStringList names{"c0", "", "", "c1", "c2", "c3", "c4"};
    const QStringList cells{"v0", "", "", "v1", "v2", "v3", "v4"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Col(i)->Name(), names[i]) << i;
        EXPECT_EQ(grid->Cells(i, 1), cells[i]) << i;
    }
    EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
    EXPECT_EQ(grid->ColWidths(5), 80);

    grid->RemoveCols(0, 2);
    ASSERT_EQ(grid->ColCount(), 5);
    ASSERT_TRUE(grid->HasCellProperties(1, 2));
    EXPECT_TRUE(grid->GetCellProperties(1, 2)->ReadOnly());
    EXPECT_EQ(grid->GetCellProperties(3, 2)->BrushColor(), TColor(0x0000FF));
    ASSERT_EQ(grid->Columns()->Count(), 5);
    EXPECT_EQ(Col(1)->Name(), QStringLiteral("c1"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("v1"));
    EXPECT_EQ(grid->ColWidths(3), 80);
    EXPECT_EQ(grid->Cells(4, 1), QStringLiteral("v4"));

    // A count beyond the last column is clipped; a start outside the grid does nothing.
    grid->RemoveCols(3, 10);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->Columns()->Count(), 3);
    grid->RemoveCols(7, 1);
    grid->InsertCols(-1, 1);
    EXPECT_EQ(grid->ColCount(), 3);
}

TEST_F(ColumnGridFixture, RemovingAHiddenColumnKeepsTheMappingRight)
{
    for (int i = 0; i < 5; ++i) grid->SetCells(i, 1, QStringLiteral("v%1").arg(i));
    grid->HideColumn(3);
    grid->RemoveCols(2, 2);
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->Columns()->Count(), 3);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("v4"));
}

TEST_F(ColumnGridFixture, InsertingBeforeAHiddenColumnKeepsItHidden)
{
    for (int i = 0; i < 5; ++i) Col(i)->SetName(QStringLiteral("c%1").arg(i));
    grid->SetCells(3, 1, QStringLiteral("v3"));
    grid->HideColumn(3);
    grid->InsertCols(1, 1);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->NumHiddenColumns(), 1);
    EXPECT_FALSE(grid->VisibleCol(4));
    EXPECT_TRUE(grid->VisibleCol(3));
    EXPECT_EQ(Col(4)->Name(), QStringLiteral("c3"));
    grid->UnHideColumnsAll();
    EXPECT_EQ(grid->Cells(4, 1), QStringLiteral("v3"));
    EXPECT_EQ(grid->Columns()->Count(), 6);
}

namespace {
struct RecordingMenu : TPopupMenu {
    void Popup(int X, int Y) override { Shown << QPoint(X, Y); }
    QList<QPoint> Shown;
};
}

TEST_F(ColumnGridFixture, ClicksOpenTheColumnMenuWhereItsTypeSaysSo)
{
    grid->SetBounds(0, 0, 400, 200);
    RecordingMenu menu;
    int events = 0;
    grid->OnColumnPopup = [&](TObject*, int ACol, int ARow, TPopupMenu* m) {
        ++events;
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(m, &menu);
        (void)ARow;
    };
    auto click = [&](bool left, int row) {
        const TRect r = grid->CellRect(2, row);
        const intptr_t at = MakeLParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        if (left) grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        else grid->Perform(WM_RBUTTONDOWN, MK_RBUTTON, at);
        grid->Perform(left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
    };
    // Without a menu nothing happens.
    click(false, 0);
    EXPECT_EQ(events, 0);

    Col(2)->SetColumnPopup(&menu);
    struct Case { TColumnPopupType type; bool left; int row; bool shown; };
    const Case cases[] = {
        {cpFixedCellsRClick, false, 0, true}, {cpFixedCellsRClick, false, 2, false},
        {cpFixedCellsRClick, true, 0, false}, {cpNormalCellsRClick, false, 2, true},
        {cpNormalCellsRClick, false, 0, false}, {cpAllCellsRClick, false, 0, true},
        {cpAllCellsRClick, false, 3, true}, {cpFixedCellsLClick, true, 0, true},
        {cpNormalCellsLClick, true, 2, true}, {cpNormalCellsLClick, true, 0, false},
        {cpAllCellsLClick, true, 3, true}, {cpAllCellsLClick, false, 3, false},
    };
    for (const Case& k : cases) {
        Col(2)->SetColumnPopupType(k.type);
        menu.Shown.clear();
        events = 0;
        click(k.left, k.row);
        const bool typeMatches = k.left == (k.type == cpFixedCellsLClick || k.type == cpNormalCellsLClick ||
                                            k.type == cpAllCellsLClick);
        EXPECT_EQ(events, typeMatches ? 1 : 0) << int(k.type) << " " << k.row;
        ASSERT_EQ(menu.Shown.size(), k.shown ? 1 : 0) << int(k.type) << " " << k.row;
        if (k.shown) {
            const TRect r = grid->CellRect(2, k.row);
            EXPECT_EQ(menu.Shown[0], grid->viewport()->mapToGlobal(QPoint(r.Left, r.Bottom)));
        }
    }
}

TEST_F(ColumnGridFixture, ADestroyedMenuLeavesTheColumn)
{
    auto* menu = new TPopupMenu;
    Col(1)->SetColumnPopup(menu);
    Col(3)->Assign(Col(1));
    EXPECT_EQ(Col(3)->ColumnPopup(), menu);
    delete menu;
    EXPECT_EQ(Col(1)->ColumnPopup(), nullptr);
    EXPECT_EQ(Col(3)->ColumnPopup(), nullptr);
}

TEST_F(ColumnGridFixture, ColumnSettingsRoundTripThroughAStream)
{
    Col(1)->SetHeader(QStringLiteral("PGN"));
    Col(1)->SetName(QStringLiteral("pgn"));
    Col(1)->SetEditor(edComboList);
    Col(1)->ComboItems()->SetStrings({"A", "B=2"});
    Col(1)->SetCheckTrue(QStringLiteral("J"));
    Col(1)->SetBorders({cbTop, cbRight});
    Col(1)->BorderPen()->SetColor(0x123456);
    Col(1)->Font()->SetStyle({fsBold});
    Col(1)->Font()->SetSize(14);
    Col(1)->SetReadOnly(true);
    Col(1)->SetSortStyle(ssNumeric);
    Col(1)->SetWidth(77);
    Col(1)->SetTag(-5);
    Col(3)->Filter()->SetStrings({"Big=>100"});
    Col(3)->SetPrintColor(clNone);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    grid->SaveColumnsToStream(buffer);

    TProColumnGrid* other = CreateGrid<TProColumnGrid>();
    buffer.seek(0);
    other->LoadColumnsFromStream(buffer);
    ASSERT_EQ(other->Columns()->Count(), 5);
    TGridColumnItem* c = other->Columns()->Items(1);
    EXPECT_EQ(c->Header(), QStringLiteral("PGN"));
    EXPECT_EQ(c->Name(), QStringLiteral("pgn"));
    EXPECT_EQ(c->Editor(), edComboList);
    EXPECT_EQ(c->ComboItems()->Strings(), (QStringList{"A", "B=2"}));
    EXPECT_EQ(c->CheckTrue(), QStringLiteral("J"));
    EXPECT_EQ(c->CheckFalse(), QStringLiteral("N"));
    EXPECT_TRUE(c->Borders() == TCellBorders({cbTop, cbRight}));
    EXPECT_EQ(c->BorderPen()->Color(), TColor(0x123456));
    EXPECT_TRUE(c->Font()->Style().Contains(fsBold));
    EXPECT_EQ(c->Font()->Size(), 14);
    EXPECT_TRUE(c->ReadOnly());
    EXPECT_EQ(c->SortStyle(), ssNumeric);
    EXPECT_EQ(c->Width(), 77);
    EXPECT_EQ(other->ColWidths(1), 77);
    EXPECT_EQ(c->Tag(), -5);
    EXPECT_EQ(other->Columns()->Items(3)->Filter()->Strings(), (QStringList{"Big=>100"}));
    EXPECT_EQ(other->Columns()->Items(3)->PrintColor(), clNone);
    EXPECT_FALSE(other->Columns()->Items(2)->ReadOnly());

    // A damaged text raises and leaves the columns as they were.
    QBuffer bad;
    bad.setData("{\"Items\": [ {\"Name\": \"x\"} ");
    bad.open(QIODevice::ReadOnly);
    EXPECT_THROW(other->LoadColumnsFromStream(bad), EInOutError);
    EXPECT_EQ(other->Columns()->Items(1)->Name(), QStringLiteral("pgn"));
    other->Free();
}

TEST_F(ColumnGridFixture, ScreenScalingResizesTheColumnFonts)
{
    for (int i = 0; i < 5; ++i) {
        Col(i)->Font()->SetSize(8);
        Col(i)->HeaderFont()->SetSize(10);
    }
    grid->HideColumn(4);
    grid->ApplyScaleChange(96, 96);
    EXPECT_EQ(Col(0)->Font()->Size(), 8);
    grid->ApplyScaleChange(144, 96);
    EXPECT_EQ(Col(0)->Font()->Size(), 12);
    EXPECT_EQ(Col(3)->HeaderFont()->Size(), 15);
    // Only as many items as there are visible columns are scaled.
    EXPECT_EQ(Col(4)->Font()->Size(), 8);
    EXPECT_EQ(Col(0)->PrintFont()->Size(), grid->Font()->Size());
}
