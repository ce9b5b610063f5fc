#include "grid/control/pro_string_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {
struct HookFixture : MadeGridFixture<TProStringGrid> {
    HookFixture() : MadeGridFixture(0, 6) {}
};
}

TEST_F(HookFixture, ColourHookAppliesCellPropertiesThenTheEvent)
{
    TBrush brush;
    TFont font;
    brush.SetColor(clWhite);
    grid->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clWhite);  // nothing set: nothing changes

    grid->SetColors(2, 3, clRed);
    grid->SetFontColors(2, 3, clBlue);
    grid->SetFontStyles(2, 3, TFontStyles{fsBold});
    std::vector<TColor> seen;
    grid->OnGetCellColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush* b, TFont*) {
        EXPECT_EQ(ARow, 3);
        EXPECT_EQ(ACol, 2);
        seen.push_back(b->Color());
        b->SetColor(clLime);
    };
    grid->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(seen, std::vector<TColor>{clRed});  // the event sees the property's colour
    EXPECT_EQ(brush.Color(), clLime);             // and has the last word
    EXPECT_EQ(font.Color(), clBlue);
    EXPECT_TRUE(font.Style().Contains(fsBold));
}

TEST_F(HookFixture, ActiveCellHeadersTakeTheActiveLook)
{
    grid->SetCol(2);
    grid->SetRow(3);
    TBrush brush;
    TFont font;
    brush.SetColor(clWhite);
    grid->GetCellColor(0, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clWhite);
    grid->SetActiveCellShow(true);
    for (auto cell : {std::pair{0, 3}, std::pair{2, 0}}) {
        brush.SetColor(clWhite);
        grid->GetCellColor(cell.first, cell.second, {}, &brush, &font);
        EXPECT_EQ(brush.Color(), grid->ActiveCellColor());
    }
    brush.SetColor(clWhite);
    grid->GetCellColor(1, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clWhite);
}

TEST_F(HookFixture, FixedCellsAndTheFixedRowAlwaysRule)
{
    int asked = 0;
    grid->OnIsFixedCell = [&](TObject*, int, int, bool& f) {
        ++asked;
        f = true;
    };
    bool fixed = false;
    grid->IsFixedCell(0, 3, fixed);
    EXPECT_TRUE(fixed);
    EXPECT_EQ(asked, 0);
    fixed = false;
    grid->IsFixedCell(2, 3, fixed);
    EXPECT_TRUE(fixed);
    EXPECT_EQ(asked, 1);

    grid->OnIsFixedCell = nullptr;
    grid->SetFixedRowAlways(true);
    grid->SetRowCount(1);  // only the header row is left
    fixed = false;
    grid->IsFixedCell(3, 0, fixed);
    EXPECT_TRUE(fixed);
}

TEST_F(HookFixture, EditingFollowsTheReadOnlyPropertyAndTheEventGetsTheBaseCell)
{
    grid->SetOptions(grid->Options() + goEditing);
    bool can = true;
    grid->CanEditCell(2, 3, can);
    EXPECT_TRUE(can);
    grid->SetReadOnly(2, 3, true);
    can = true;
    grid->CanEditCell(2, 3, can);
    EXPECT_FALSE(can);

    grid->MergeCells(1, 4, 2, 2);
    std::pair<int, int> asked;
    grid->OnCanEditCell = [&](TObject*, int ARow, int ACol, bool& c) {
        asked = {ACol, ARow};
        c = false;
    };
    can = true;
    grid->CanEditCell(2, 5, can);
    EXPECT_EQ(asked, (std::pair{1, 4}));
    EXPECT_FALSE(can);
}

TEST_F(HookFixture, PropertyArraysReadNotSetWithoutMakingProperties)
{
    EXPECT_EQ(grid->GetColors(3, 3), clNone);
    EXPECT_EQ(grid->GetFontColors(3, 3), clNone);
    EXPECT_EQ(grid->GetFontSizes(3, 3), 0);
    EXPECT_EQ(grid->GetFontNames(3, 3), QString());
    EXPECT_FALSE(grid->GetReadOnly(3, 3));
    EXPECT_EQ(grid->GetAlignments(3, 3), taLeftJustify);
    EXPECT_FALSE(grid->HasCellProperties(3, 3));
    grid->SetAlignments(3, 3, taCenter);
    EXPECT_EQ(grid->GetAlignments(3, 3), taCenter);
}

TEST_F(HookFixture, ClearingARowColourKeepsEveryOtherCellSetting)
{
    TObject user;
    grid->SetReadOnly(2, 3, true);
    grid->GetCellProperties(2, 3)->SetEditor(edComboList);
    grid->SetObjectEx(3, 3, &user);
    grid->MergeCells(1, 3, 1, 2);
    grid->SetFontColors(4, 3, clBlue);

    grid->SetRowColor(3, clRed);
    grid->SetRowColorTo(3, clYellow);
    EXPECT_EQ(grid->GetColors(2, 3), clRed);
    grid->SetRowColor(3, clNone);
    grid->SetRowColorTo(3, clNone);
    grid->SetRowFontColor(3, clNone);

    for (int c = 1; c < 5; ++c) {
        EXPECT_EQ(grid->GetColors(c, 3), clNone) << c;
        EXPECT_EQ(grid->GetColorsTo(c, 3), clNone) << c;
        EXPECT_EQ(grid->GetFontColors(c, 3), clNone) << c;
    }
    EXPECT_TRUE(grid->GetReadOnly(2, 3));
    EXPECT_EQ(grid->GetCellProperties(2, 3)->Editor(), edComboList);
    EXPECT_EQ(grid->GetObjectEx(3, 3), &user);
    EXPECT_TRUE(grid->IsMergedCell(1, 4));
}

TEST_F(HookFixture, FilterListOffersEachValueOnceSortedWithTheClearEntryFirst)
{
    grid->SetFilterDropDownAuto(true);
    grid->SetCells(2, 1, QStringLiteral("two words"));
    grid->SetCells(2, 2, QStringLiteral("x"));
    grid->SetCells(2, 3, QStringLiteral("two words"));
    EXPECT_TRUE(grid->GetFilterList(2));
    EXPECT_EQ(grid->FilterList()->Strings(),
              (QStringList{"(All)", "", "two words=\"two words\"", "x"}));
}

TEST_F(HookFixture, CheckTextsAndNoEditorCells)
{
    QString v;
    grid->GetCheckTrue(1, 1, v);
    EXPECT_EQ(v, QStringLiteral("Y"));
    grid->OnGetCheckFalse = [](TObject*, int, int, QString& s) { s = QStringLiteral("off"); };
    grid->GetCheckFalse(1, 1, v);
    EXPECT_EQ(v, QStringLiteral("off"));

    EXPECT_FALSE(grid->IsNoEditorCell(1, 1));
    grid->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& e) {
        if (ACol == 2) e = edNone;
    };
    EXPECT_TRUE(grid->IsNoEditorCell(2, 1));
    EXPECT_FALSE(grid->IsNoEditorCell(1, 1));
}
