#include "grid/base/base_grid.h"
#include "grid/base/undo_redo.h"

#include <cctype>
#include <gtest/gtest.h>

namespace {

// Steps of a script: a lower-case letter writes that text into cell (1, 1) and records the
// change, an upper-case letter writes its lower case into cell (2, 1); '[' and ']' open and
// close a sequence, '<' undoes, '>' redoes.
struct UndoCase {
    const char* Name;
    int MaxLevel;
    const char* Script;
    const char* Cells;  // texts of (1, 1) and (2, 1), joined by '|'
    int Count;
    int Level;
};

void PrintTo(const UndoCase& c, std::ostream* os) { *os << c.Name; }

struct UndoScript : ::testing::TestWithParam<UndoCase> {
    void SetUp() override
    {
        grid = CreateGrid<TBaseGrid>();
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetUndoRedo(&undo);
    }
    void TearDown() override { grid->Free(); }
    void Run(const char* script)
    {
        for (const char* p = script; *p; ++p) {
            const char ch = *p;
            if (ch == '[') undo.StartSequence();
            else if (ch == ']') undo.StopSequence();
            else if (ch == '<') undo.Undo();
            else if (ch == '>') undo.Redo();
            else {
                const int col = std::islower(ch) ? 1 : 2;
                const QString text(QChar(std::tolower(ch)));
                undo.RegisterChange(col, 1, grid->GetCellEx(col, 1), text);
                grid->SetCellEx(col, 1, text);
            }
        }
    }
    QString Cells() { return grid->GetCellEx(1, 1) + "|" + grid->GetCellEx(2, 1); }
    ROdeVivaZedaDure undo;
    TBaseGrid* grid = nullptr;
};

}  // namespace

TEST_P(UndoScript, EndsWithTheseTextsAndThisLevel)
{
    const UndoCase& c = GetParam();
    undo.SetMaxLevel(c.MaxLevel);
    Run(c.Script);
    EXPECT_EQ(Cells(), QString::fromLatin1(c.Cells));
    EXPECT_EQ(undo.Items()->Count(), c.Count);
    EXPECT_EQ(undo.Level(), c.Level);
}

INSTANTIATE_TEST_SUITE_P(
    Undo, UndoScript,
    ::testing::Values(
        UndoCase{"SingleChangesGoBackOneByOne", 0, "abc<<", "a|", 3, 1},
        UndoCase{"RedoAppliesTheUndoneChangesAgain", 0, "abc<<>>", "c|", 3, 3},
        UndoCase{"UndoBeyondTheFirstChangeDoesNothing", 0, "ab<<<<", "|", 2, 0},
        UndoCase{"RedoBeyondTheLastChangeDoesNothing", 0, "ab<>>>", "b|", 2, 2},
        // Undone changes stay on record and count as applied again after a new change.
        UndoCase{"ANewChangeKeepsTheUndoneOnesAsApplied", 0, "abc<<d", "d|", 4, 4},
        UndoCase{"UndoAfterANewChangeTakesBackOnlyThatChange", 0, "abc<<d<", "a|", 4, 3},
        UndoCase{"NoRedoAfterANewChange", 0, "ab<c>", "c|", 3, 3},
        UndoCase{"ASequenceGoesBackAsOneStep", 0, "[aB]<", "|", 4, 0},
        UndoCase{"ASequenceComesBackAsOneStep", 0, "[aB]<>", "a|b", 4, 4},
        UndoCase{"ChangesAroundASequenceStaySeparateSteps", 0, "x[aB]y<<", "x|", 6, 1},
        UndoCase{"TheLevelLimitDropsTheOldestChange", 2, "abc", "c|", 2, 2},
        UndoCase{"UndoStopsAtTheLevelLimit", 2, "abc<<<", "a|", 2, 0},
        // A sequence leaves the list whole, never its start marker alone.
        UndoCase{"TheLevelLimitDropsAWholeSequence", 3, "[aB]c<<", "a|b", 1, 0},
        // The start of a sequence still being recorded stays, whatever the limit.
        UndoCase{"AnOpenSequenceIsNotCutByTheLimit", 2, "[abc]<", "|", 5, 0},
        // A start marker without its stop is passed over, its changes go back one by one.
        UndoCase{"AnOpenSequenceUndoesChangeByChange", 0, "[ab<", "a|", 3, 2},
        UndoCase{"AnOpenSequenceStartIsPassedOver", 0, "[ab<<<", "|", 3, 0},
        // A stop marker without its start never reaches past the changes before it.
        UndoCase{"AStopWithoutStartIsPassedOver", 0, "a]b<<", "|", 3, 0},
        UndoCase{"AStopWithoutStartUndoesOneChangeAtATime", 0, "a]b<<>", "a|", 3, 1},
        UndoCase{"ARedoPassesOverAStartWithoutStop", 0, "[ab<<<>>", "b|", 3, 3}),
    [](const ::testing::TestParamInfo<UndoCase>& i) { return std::string(i.param.Name); });

TEST_F(UndoScript, UndoAndRedoFireTheirEventsBeforeTheWrite)
{
    std::vector<QString> seen;
    auto record = [&](const char* kind) {
        return [&, kind](TObject* s, TBaseGrid* g, int c, int r, const QString& orig, const QString& now) {
            EXPECT_EQ(s, &undo);
            EXPECT_EQ(g, grid);
            // the event comes before the write: the cell still holds the text from before it
            EXPECT_EQ(g->GetCellEx(c, r), orig);
            seen.push_back(QString::fromLatin1(kind) + QString::number(c) + ":" + orig + ">" + now);
        };
    };
    undo.OnUndo = record("u");
    undo.OnRedo = record("r");
    Run("a[bC]");
    Run("<<>");
    EXPECT_EQ(seen, (std::vector<QString>{"u2:c>", "u1:b>a", "u1:a>", "r1:>a"}));
    // the current cell follows the item written last
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(UndoScript, ResetForgetsEverything)
{
    Run("ab<");
    ASSERT_TRUE(undo.CanUndo());
    ASSERT_TRUE(undo.CanRedo());
    undo.Reset();
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ(undo.Items()->Count(), 0);
}

TEST(UndoRedoLinks, TheGridAndTheComponentForgetEachOtherWhenOneGoes)
{
    auto* grid = CreateGrid<TBaseGrid>();
    grid->SetColCount(3);
    grid->SetRowCount(3);
    {
        ROdeVivaZedaDure undo;
        grid->SetUndoRedo(&undo);
        EXPECT_EQ(undo.Grid(), grid);
        EXPECT_EQ(grid->UndoRedo(), &undo);
    }
    EXPECT_EQ(grid->UndoRedo(), nullptr);

    ROdeVivaZedaDure undo;
    grid->SetUndoRedo(&undo);
    undo.RegisterChange(1, 1, QStringLiteral("old"), QStringLiteral("new"));
    grid->Free();
    EXPECT_EQ(undo.Grid(), nullptr);
    undo.Undo();  // no grid: nothing happens
    EXPECT_EQ(undo.Level(), 1);
}
