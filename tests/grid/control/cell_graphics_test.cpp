#include "grid/control/pro_column_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {

struct Change {
    int Col, Row;
    bool State;
    QString TextThen;
};

// A column grid of 5 columns and 6 rows (one fixed row, one fixed column) whose column 2 is
// a data check box column; every change event is recorded with the cell text at that time.
struct CheckColumnFixture : ::testing::Test {
    void SetUp() override
    {
        grid = CreateGrid<TProColumnGrid>();
        grid->SetRowCount(6);
        grid->Columns()->Items(2)->SetEditor(edDataCheckBox);
        grid->OnCheckBoxChange = [this](TObject*, int c, int r, bool s) {
            changes.push_back({c, r, s, grid->Cells(c, r)});
        };
    }
    void TearDown() override { grid->Free(); }
    TProColumnGrid* grid = nullptr;
    std::vector<Change> changes;
};

struct StringGridFixture : MadeGridFixture<TProStringGrid> {
    StringGridFixture() : MadeGridFixture(4, 6) {}
};

}  // namespace

TEST_F(CheckColumnFixture, TheCellTextIsTheStateAndATogglWritesTheColumnTexts)
{
    grid->SetCells(2, 1, QStringLiteral("Y"));
    grid->SetCells(2, 2, QStringLiteral("N"));
    grid->SetCells(2, 4, QStringLiteral("y"));  // case matters
    EXPECT_TRUE(grid->IsChecked(2, 1));
    EXPECT_FALSE(grid->IsChecked(2, 2));
    EXPECT_FALSE(grid->IsChecked(2, 3));
    EXPECT_FALSE(grid->IsChecked(2, 4));
    EXPECT_EQ(grid->GetCellType(2, 3), ctDataCheckBox);
    EXPECT_EQ(grid->GetCellGraphic(2, 3)->CellType(), ctVirtCheckBox);
    EXPECT_TRUE(grid->HasCheckBox(2, 3));
    EXPECT_TRUE(grid->HasDataCheckBox(2, 3));
    EXPECT_TRUE(IsDataControlCell(grid, 2, 3));

    EXPECT_TRUE(grid->ToggleCheckBox(2, 3));
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("Y"));
    EXPECT_TRUE(grid->ToggleCheckBox(2, 1));
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("N"));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].State, true);
    EXPECT_EQ(changes[0].TextThen, QStringLiteral("Y"));  // fired after the text was written
    EXPECT_EQ(changes[1].State, false);
    EXPECT_EQ(changes[1].TextThen, QStringLiteral("N"));
}

TEST_F(CheckColumnFixture, FixedCellsFootersAndOtherColumnsShowNoCheckBox)
{
    grid->SetFixedFooters(1);
    EXPECT_EQ(grid->GetCellType(2, 0), ctEmpty);  // header row
    EXPECT_EQ(grid->GetCellType(2, 5), ctEmpty);  // footer
    EXPECT_EQ(grid->GetCellType(1, 3), ctEmpty);
    grid->Columns()->Items(0)->SetEditor(edDataCheckBox);
    EXPECT_EQ(grid->GetCellType(0, 3), ctEmpty);  // fixed column
    EXPECT_EQ(grid->GetCellGraphic(2, 0), nullptr);
    EXPECT_FALSE(grid->ToggleCheckBox(1, 3));
}

TEST_F(CheckColumnFixture, TheColumnsCheckTextsRuleTheDataAreaAndTheEventTheRest)
{
    grid->Columns()->Items(2)->SetCheckTrue(QStringLiteral("1"));
    grid->Columns()->Items(2)->SetCheckFalse(QStringLiteral("0"));
    grid->OnGetCheckTrue = [](TObject*, int, int, QString& v) { v = QStringLiteral("X"); };
    grid->SetCells(2, 3, QStringLiteral("X"));
    EXPECT_FALSE(grid->IsChecked(2, 3));
    grid->ToggleCheckBox(2, 3);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("1"));
    grid->ToggleCheckBox(2, 3);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("0"));

    // the header cell with a check box of its own follows the grid's texts and the event
    grid->AddCheckBox(2, 0, false, true);
    grid->SetCells(2, 0, QStringLiteral("X"));
    EXPECT_TRUE(grid->IsChecked(2, 0));
}

TEST_F(CheckColumnFixture, RemovingTheGraphicOfAVirtualCellLeavesTheColumnShowingCheckBoxes)
{
    EXPECT_TRUE(grid->RemoveCellGraphic(2, 3));
    EXPECT_EQ(grid->GetCellType(2, 3), ctDataCheckBox);
    EXPECT_EQ(grid->GetCellGraphic(2, 4)->CellType(), ctVirtCheckBox);
}

TEST_F(CheckColumnFixture, AUserToggleAsksWhetherTheCellCanBeEdited)
{
    grid->Columns()->Items(2)->SetReadOnly(true);
    EXPECT_FALSE(grid->ToggleCheck(2, 3, true));
    EXPECT_EQ(grid->Cells(2, 3), QString());
    EXPECT_TRUE(changes.empty());

    EXPECT_TRUE(grid->ToggleCheck(2, 3, false));  // the program may
    grid->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_TRUE(grid->ToggleCheck(2, 3, true));
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("N"));
}

TEST_F(CheckColumnFixture, CheckAllAndUnCheckAllFireOnlyForChangedCells)
{
    grid->SetCells(2, 2, QStringLiteral("Y"));
    grid->CheckAll(2);
    for (int r = 1; r < 6; ++r) EXPECT_TRUE(grid->IsChecked(2, r)) << r;
    EXPECT_EQ(changes.size(), 4u);
    changes.clear();
    grid->UnCheckAll(2);
    EXPECT_EQ(changes.size(), 5u);
    EXPECT_EQ(grid->Cells(2, 5), QStringLiteral("N"));
}

TEST_F(StringGridFixture, AddingADataCheckBoxKeepsACheckTextAndReplacesAnyOther)
{
    grid->SetCells(1, 1, QStringLiteral("N"));
    grid->SetCells(1, 2, QStringLiteral("maybe"));
    grid->AddCheckBox(1, 1, true, true);
    grid->AddCheckBox(1, 2, true, true);
    grid->AddCheckBox(1, 3, false, true);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("N"));
    EXPECT_FALSE(grid->IsChecked(1, 1));
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("Y"));
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("N"));

    // a plain check box keeps its own state and leaves the text
    grid->SetCells(2, 1, QString());
    grid->AddCheckBox(2, 1, true, false);
    EXPECT_TRUE(grid->IsChecked(2, 1));
    EXPECT_EQ(grid->Cells(2, 1), QString());
    EXPECT_EQ(grid->GetCellGraphic(2, 1)->CellHAlign(), haBeforeText);
    EXPECT_TRUE(grid->SetCheckBoxState(2, 1, false));
    EXPECT_FALSE(grid->IsChecked(2, 1));
    EXPECT_FALSE(grid->SetCheckBoxState(3, 1, false));  // no check box there
    EXPECT_FALSE(grid->IsChecked(3, 1));
}

TEST_F(StringGridFixture, CellsOutsideTheGridAreRejected)
{
    grid->HideRow(2);
    const int rows = grid->RowCount() + grid->NumHiddenRows();
    EXPECT_THROW(grid->AddCheckBox(1, rows, true, false), EProGridError);
    EXPECT_THROW(grid->AddCheckBox(4, 1, cbChecked), EProGridError);
    EXPECT_THROW(grid->AddRadioButton(-1, 1), EProGridError);
    // toggles of a cell beyond the grid raise rather than write outside it
    grid->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_THROW(grid->ToggleCheck(0, 1000, true), EProGridError);
    EXPECT_THROW(grid->ToggleRadioButton(9, 1, true), EProGridError);
    EXPECT_EQ(grid->RowCount(), 5);
}

TEST_F(StringGridFixture, TriStateBoxesCycleThroughThreeStates)
{
    grid->AddCheckBox(1, 1, cbUnchecked);
    const TCheckBoxState expected[] = {cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState e : expected) {
        grid->ToggleCheckBox(1, 1);
        TCheckBoxState s = cbChecked;
        ASSERT_TRUE(grid->GetCheckBoxState(1, 1, s));
        EXPECT_EQ(s, e);
    }
    EXPECT_TRUE(grid->SetCheckBoxState(1, 1, cbGrayed));
    EXPECT_FALSE(grid->SetCheckBoxState(2, 1, cbGrayed));
}

TEST_F(StringGridFixture, ARadioButtonColumnHoldsOneCheckedRow)
{
    grid->SetRowCount(8);
    grid->AddRadioButtonColumn(1);
    grid->SetRadioButtonColumnIndex(1, 5);
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(1), 5);
    EXPECT_TRUE(grid->ToggleRadioButton(1, 3, false));
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(1), 3);
    EXPECT_FALSE(grid->IsRadioButtonChecked(1, 5));
    EXPECT_TRUE(grid->ToggleRadioButton(1, 3, false));  // already checked
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(1), 3);
    grid->RemoveRadioButtonColumn(1);
    EXPECT_FALSE(grid->HasRadioButton(1, 3));
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(1), -1);
}

TEST_F(StringGridFixture, ARadioGroupMovesToItsNextOptionAndWraps)
{
    TGridStrings* options = grid->CreateRadio(1, 1, 0, 2);
    options->SetStrings({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_FALSE(grid->ClickRadio(1, 1, false));
    int idx = -1;
    EXPECT_TRUE(grid->GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("a"));

    // without an index the text tells the option
    grid->SetRadioIdx(1, 1, -1);
    EXPECT_EQ(grid->Cells(1, 1), QString());
    grid->SetCells(1, 1, QStringLiteral("b"));
    grid->ClickRadio(1, 1, false);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("c"));
    EXPECT_EQ(grid->GetRadioStrings(1, 1), options);
    EXPECT_TRUE(grid->IsRadio(1, 1));
    grid->RemoveRadio(1, 1);
    EXPECT_FALSE(grid->IsRadio(1, 1));
}

TEST_F(StringGridFixture, RowCheckBoxesOfTheHotmailSelectionAnswerForColumnZero)
{
    grid->MouseActions()->SetHotmailRowSelect(true);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(grid->GetCellType(0, r), ctRowCheckBox);
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
    grid->SetRowSelect(2, true);
    EXPECT_TRUE(grid->GetCellGraphic(0, 2)->CellBoolean());
    TCellGraphic* header = grid->GetCellGraphic(0, 0);
    EXPECT_EQ(header->CellAngle(), 1);  // partly
    EXPECT_FALSE(header->CellBoolean());
    for (int r = 1; r < 6; ++r) grid->ApplyCheckBoxState(0, r, true);
    header = grid->GetCellGraphic(0, 0);
    EXPECT_EQ(header->CellAngle(), 0);
    EXPECT_TRUE(header->CellBoolean());
}

TEST_F(StringGridFixture, AGraphicTravelsWithItsCellAndGoesWithIt)
{
    grid->AddCheckBox(1, 2, true, false);
    grid->MergeCells(1, 2, 2, 2);
    EXPECT_TRUE(grid->HasCheckBox(2, 3));  // through the base cell
    EXPECT_TRUE(grid->HasClickControl(2, 3));
    EXPECT_TRUE(grid->RemoveCellGraphicType(1, 2, ctCheckBox));
    EXPECT_FALSE(grid->HasCheckBox(2, 3));
    EXPECT_FALSE(grid->RemoveCellGraphic(1, 2));
}

TEST(CellGraphic, SettersAndAssign)
{
    TCellGraphic g;
    g.SetAngle(-90);
    EXPECT_EQ(g.CellType(), ctRotated);
    EXPECT_EQ(g.CellAngle(), 270);
    g.SetAngle(720);
    EXPECT_EQ(g.CellAngle(), 360);
    g.SetButton(40, 18, QStringLiteral("Go"), haCenter, vaCenter);
    EXPECT_EQ(g.CellIndex(), (18 << 16) | 40);
    g.SetCellCheckBoxState(cbGrayed);
    g.SetCellVar(5);

    TCellGraphic copy;
    copy.Assign(&g);
    EXPECT_EQ(copy.CellType(), ctButton);
    EXPECT_EQ(copy.CellText(), QStringLiteral("Go"));
    EXPECT_EQ(copy.CellCheckBoxState(), cbUnchecked);  // not copied
    EXPECT_FALSE(copy.CellVar().isValid());
}
