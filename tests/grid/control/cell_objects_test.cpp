// Cell objects besides check boxes: what each Add gives a cell, what the queries answer, what
// Remove takes off, and who owns the objects.
#include "grid/control/pro_column_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {

struct ObjectsFixture : MadeGridFixture<TProStringGrid> {
    ObjectsFixture() : MadeGridFixture(5, 6) {}
};

// A bitmap that counts its destruction.
int deaths = 0;
struct CountedBitmap : TBitmap {
    ~CountedBitmap() override { ++deaths; }
};

}  // namespace

TEST_F(ObjectsFixture, EachAddGivesItsKindItsQueryAnswersAndOnlyItsRemoveTakesItOff)
{
    TBitmap bmp;
    TPicture pic;
    TInterfacedPersistent obj;
    struct Case {
        const char* name;
        std::function<void(TProStringGrid*)> add;
        TCellType kind;
        std::function<bool(TProStringGrid*)> query;
        std::function<void(TProStringGrid*)> remove;
    };
    const std::vector<Case> cases = {
        {"bitmap", [&](auto* g) { g->AddBitmap(1, 1, &bmp, false, haLeft, vaTop); }, ctBitmap,
         [&](auto* g) { return g->GetBitmap(1, 1) == &bmp && g->HasBitmap(1, 1); }, [](auto* g) { g->RemoveBitmap(1, 1); }},
        {"picture", [&](auto* g) { g->AddPicture(1, 1, &pic, false, Stretch, 0, haLeft, vaTop); }, ctPicture,
         [&](auto* g) { return g->GetPicture(1, 1) == &pic && g->HasPicture(1, 1); }, [](auto* g) { g->RemovePicture(1, 1); }},
        {"interface", [&](auto* g) { g->AddInterfacedCell(1, 1, &obj); }, ctInterface,
         [&](auto* g) { return g->GetInterfacedCell(1, 1) == &obj; }, [](auto* g) { g->RemoveInterfacedCell(1, 1); }},
        {"button", [](auto* g) { g->AddButton(1, 1, 40, 18, QStringLiteral("Go"), haLeft, vaTop); }, ctButton,
         [](auto* g) { return g->HasButton(1, 1) && g->GetButtonText(1, 1) == QStringLiteral("Go"); },
         [](auto* g) { g->RemoveButton(1, 1); }},
        {"bit button", [](auto* g) { g->CreateBitButton(1, 1, 40, 18, QString(), haLeft, vaTop); }, ctBitButton,
         [](auto* g) { return g->HasButton(1, 1); }, [](auto* g) { g->RemoveBitButton(1, 1); }},
        {"progress", [](auto* g) { g->AddProgress(1, 1, clRed, clWhite); }, ctProgress,
         [](auto* g) { return g->HasProgress(1, 1); }, [](auto* g) { g->RemoveProgress(1, 1); }},
        {"pro progress", [](auto* g) { g->AddProProgress(1, 1, 0, 50); }, ctXPProgress, [](auto*) { return true; },
         [](auto* g) { g->RemoveProProgress(1, 1); }},
        {"pie", [](auto* g) { g->AddProgressPie(1, 1, clBlue, 40); }, ctProgressPie, [](auto*) { return true; },
         [](auto* g) { g->RemoveProgressPie(1, 1); }},
        {"range", [](auto* g) { g->AddRangeIndicator(1, 1, 10, clRed, clGreen, true); }, ctRangeIndicator,
         [](auto*) { return true; }, [](auto* g) { g->RemoveRangeIndicator(1, 1); }},
        {"shape", [](auto* g) { g->AddShape(1, 1, csCircle, clRed, clBlack, haLeft, vaTop); }, ctShape,
         [](auto* g) { return g->GetShapeColor(1, 1) == clRed; }, [](auto* g) { g->RemoveShape(1, 1); }},
        {"rating", [](auto* g) { g->AddRating(1, 1, 5, clYellow, clGray); }, ctRating,
         [](auto* g) { return g->HasRating(1, 1); }, [](auto* g) { g->RemoveRating(1, 1); }},
        {"scroll bar", [](auto* g) { g->AddScrollBar(1, 1, false); }, ctScrollbar,
         [](auto* g) { return g->HasScrollBar(1, 1) && !g->HasAutoRangeScrollBar(1, 1) && g->GetScrollPosition(1, 1) == 0; },
         [](auto* g) { g->RemoveScrollBar(1, 1); }},
        {"comment", [](auto* g) { g->AddComment(1, 1, QStringLiteral("note")); }, ctComment,
         [](auto* g) { return g->GetComment(1, 1) == QStringLiteral("note"); }, [](auto* g) { g->RemoveComment(1, 1); }},
        {"balloon",
         [](auto* g) { g->AddBalloon(1, 1, QStringLiteral("T"), QStringLiteral("x"), TProStringGrid::biInfo); },
         ctBalloon, [](auto* g) { return g->HasBalloon(1, 1); }, [](auto* g) { g->RemoveBalloon(1, 1); }},
        {"expand", [](auto* g) { g->AddExpand(1, 1, 80); }, ctExpand, [](auto* g) { return g->HasExpand(1, 1); },
         [](auto* g) { g->RemoveExpand(1, 1); }},
        {"rotated", [](auto* g) { g->AddRotated(1, 1, 90, QStringLiteral("up")); }, ctRotated,
         [](auto* g) {
             int a = 0;
             return g->IsRotated(1, 1, a) && a == 90 && g->Cells(1, 1) == QStringLiteral("up");
         },
         [](auto* g) { g->RemoveRotated(1, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Every Add replaces what the cell had; a balloon alone wants a bare cell.
        if (c.kind != ctBalloon) grid->AddComment(1, 1, QStringLiteral("old"));
        c.add(grid);
        EXPECT_EQ(grid->GetCellType(1, 1), c.kind);
        EXPECT_TRUE(c.query(grid));
        if (c.kind != ctComment) {
            EXPECT_EQ(grid->GetComment(1, 1), QString());
        }
        // A Remove of another kind leaves the cell alone.
        if (c.kind != ctShape) grid->RemoveShape(1, 1);
        else grid->RemoveRating(1, 1);
        EXPECT_EQ(grid->GetCellType(1, 1), c.kind);
        c.remove(grid);
        EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
    }
}

TEST_F(ObjectsFixture, AddedObjectsStayTheCallersAndCreatedOnesGoWithTheGraphic)
{
    deaths = 0;
    auto* given = new CountedBitmap;
    grid->AddBitmap(1, 1, given, false, haLeft, vaTop);
    grid->AddButton(1, 1, 20, 20, QString(), haLeft, vaTop);  // replaces the bitmap graphic
    grid->RemoveCellGraphic(1, 1);
    EXPECT_EQ(deaths, 0);
    delete given;
    EXPECT_EQ(deaths, 1);

    // Created objects are freed when the graphic goes (the leak check of the sanitizer build
    // watches these), whether it is replaced, removed or freed with the grid.
    grid->CreateBitmap(1, 1, false, haLeft, vaTop)->SetSize(4, 4);
    grid->CreateIcon(1, 1, haLeft, vaTop);
    grid->CreatePicture(1, 1, false, noStretch, 0, haLeft, vaTop);
    grid->CreateFilePicture(1, 1, false, noStretch, 0, haLeft, vaTop);
    grid->CreateBitButton(1, 1, 10, 10, QString(), haLeft, vaTop);
    grid->RemoveBitButton(1, 1);
    grid->CreateBitmap(2, 2, false, haLeft, vaTop);
    grid->AddBalloon(3, 3, QStringLiteral("a"), QStringLiteral("b"), TProStringGrid::biWarning);
    grid->AddCheckBox(4, 4, true, false);
    grid->AddBalloon(4, 4, QStringLiteral("a"), QStringLiteral("b"), TProStringGrid::biError);
    grid->AddBalloon(4, 4, QStringLiteral("c"), QStringLiteral("d"), TProStringGrid::biError);  // replaces the list
    EXPECT_EQ(grid->GetCellType(2, 2), ctBitmap);
}

TEST_F(ObjectsFixture, BalloonRidesOnACheckBoxAndLeavesItWhenRemoved)
{
    grid->AddCheckBox(1, 1, true, false);
    grid->AddBalloon(1, 1, QStringLiteral("Title"), QStringLiteral("Text"), TProStringGrid::biWarning);
    QString title, text;
    TProStringGrid::TBalloonIcon icon = TProStringGrid::biNone;
    EXPECT_FALSE(grid->HasBalloon(1, 1));
    EXPECT_TRUE(grid->IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, QStringLiteral("Title"));
    EXPECT_EQ(text, QStringLiteral("Text"));
    EXPECT_EQ(icon, TProStringGrid::biWarning);
    grid->RemoveBalloon(1, 1);
    EXPECT_FALSE(grid->IsBalloon(1, 1, title, text, icon));
    EXPECT_TRUE(grid->IsChecked(1, 1));
    // Any other graphic takes no balloon.
    grid->AddButton(2, 2, 10, 10, QString(), haLeft, vaTop);
    grid->AddBalloon(2, 2, QStringLiteral("T"), QStringLiteral("x"), TProStringGrid::biInfo);
    EXPECT_FALSE(grid->IsBalloon(2, 2, title, text, icon));
}

TEST_F(ObjectsFixture, MarkersCommentsAndQueriesOnCellsOfOtherKinds)
{
    int pos = -1, len = -1;
    grid->AddMarker(1, 1, 3, 2);
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);  // the carrier answers as an empty cell
    grid->GetMarker(1, 1, pos, len);
    EXPECT_EQ(std::pair(pos, len), std::pair(3, 2));
    grid->RemoveMarker(1, 1);
    EXPECT_EQ(grid->GetCellGraphic(1, 1), nullptr);
    grid->GetMarker(1, 1, pos, len);
    EXPECT_EQ(std::pair(pos, len), std::pair(0, 0));

    grid->AddButton(2, 1, 30, 16, QStringLiteral("B"), haLeft, vaTop);
    grid->AddMarker(2, 1, 1, 1);
    grid->RemoveMarker(2, 1);
    EXPECT_TRUE(grid->HasButton(2, 1));
    grid->GetMarker(2, 1, pos, len);
    EXPECT_EQ(std::pair(pos, len), std::pair(0, 0));

    grid->SetComment(2, 1, QStringLiteral("no"));
    EXPECT_TRUE(grid->HasButton(2, 1));
    grid->SetComment(3, 1, QStringLiteral("yes"));
    grid->SetComment(3, 1, QStringLiteral("changed"));
    EXPECT_EQ(grid->GetComment(3, 1), QStringLiteral("changed"));
    grid->RemoveAllComments();
    grid->RemoveAllButtons();
    EXPECT_EQ(grid->GetCellType(3, 1), ctEmpty);
    EXPECT_EQ(grid->GetCellType(2, 1), ctEmpty);

    EXPECT_EQ(grid->GetShapeColor(1, 2), clNone);
    EXPECT_EQ(grid->GetScrollPosition(1, 2), -1);
    EXPECT_EQ(grid->GetScrollProp(1, 2).Range, -1);
    EXPECT_FALSE(grid->GetExpandState(1, 2));
    EXPECT_EQ(grid->GetExpandHeight(1, 2, true), grid->DefaultRowHeight());

    grid->AddImageIdx(1, 3, 2, haLeft, vaTop);  // no image list: nothing
    grid->AddDataImage(2, 3, 2, haLeft, vaTop);
    EXPECT_EQ(grid->GetCellType(1, 3), ctEmpty);
    EXPECT_EQ(grid->GetCellType(2, 3), ctEmpty);
}

TEST_F(ObjectsFixture, ImagesNeedTheGridsListAndADataImageSeedsAnEmptyCell)
{
    TCustomImageList list(8, 8);
    grid->SetGridImages(&list);
    grid->AddImageIdx(1, 1, 2, haLeft, vaTop);
    int idx = -1;
    EXPECT_TRUE(grid->GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 2);
    grid->AddDataImage(2, 1, 3, haLeft, vaTop);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("3"));
    EXPECT_TRUE(grid->HasDataImage(2, 1));
    grid->RemoveDataImage(2, 1);
    EXPECT_EQ(grid->Cells(2, 1), QString());
    grid->AddMultiImage(3, 1, 0, haLeft, vaTop);
    grid->GetCellImages(3, 1)->Add(1);
    grid->GetCellImages(3, 1)->Add(0);
    EXPECT_EQ(grid->GetCellImages(3, 1)->Count(), 2);
    grid->SetGridImages(nullptr);
}

TEST_F(ObjectsFixture, ExpandButtonsScrollBarsAndRotatedAngles)
{
    grid->SetRowHeights(2, 30);
    grid->AddExpand(1, 2, 80);
    EXPECT_EQ(grid->GetExpandHeight(1, 2, true), 80);
    EXPECT_EQ(grid->GetExpandHeight(1, 2, false), 30);
    EXPECT_TRUE(grid->ToggleExpand(1, 2));
    EXPECT_TRUE(grid->GetExpandState(1, 2));
    EXPECT_FALSE(grid->ToggleExpand(1, 2));
    EXPECT_EQ(grid->RowHeights(2), 30);  // the toggle leaves the height to the mouse handling
    TRect r;
    grid->GetExpandRect(1, 2, r);
    const TRect cell = grid->CellRect(1, 2);
    EXPECT_EQ(r, (TRect{cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13}));

    // An auto-range scroll bar follows the text's height.
    grid->AddScrollBar(2, 2, true);
    const int oneLine = grid->GetScrollProp(2, 2).Range;
    EXPECT_EQ(grid->GetScrollProp(2, 2).PageSize, 30);
    grid->SetCells(2, 2, QStringLiteral("a\nb\nc\nd"));
    EXPECT_GT(grid->GetScrollProp(2, 2).Range, oneLine);
    grid->SetScrollPosition(2, 2, 7);
    EXPECT_EQ(grid->GetScrollPosition(2, 2), 7);

    struct {
        int16_t given;
        int stored;
    } angles[] = {{-90, 270}, {720, 360}, {360, 360}, {45, 45}};
    for (auto a : angles) {
        grid->SetRotated(3, 2, a.given);
        int got = -1;
        EXPECT_TRUE(grid->IsRotated(3, 2, got));
        EXPECT_EQ(got, a.stored) << a.given;
    }
}

TEST(PictureSize, FittedByStretchModeAndPadding)
{
    struct Case {
        TStretchMode mode;
        int w, h, padding, cw, rh;
        TPoint want;
    } cases[] = {
        {StretchWithAspectRatio, 100, 50, 0, 60, 60, {60, 30}},
        {StretchWithAspectRatio, 10, 20, 0, 60, 60, {30, 60}},
        {ShrinkWithAspectRatio, 20, 10, 0, 60, 60, {20, 10}},
        {ShrinkWithAspectRatio, 100, 50, 0, 60, 60, {60, 30}},
        {Stretch, 20, 10, 4, 60, 60, {56, 56}},
        {noStretch, 100, 50, 0, 60, 60, {100, 50}},
        {Shrink, 20, 10, 0, 60, 60, {20, 10}},
        {Shrink, 100, 10, 0, 60, 60, {60, 60}},
    };
    for (const Case& c : cases) {
        TCellGraphic g;
        TPicture pic;
        pic.Bitmap()->SetSize(c.w, c.h);
        g.SetPicture(&pic, false, c.mode, c.padding, haLeft, vaTop);
        EXPECT_EQ(g.GetPictureSize(c.cw, c.rh, false), c.want) << c.mode << " " << c.w << "x" << c.h;
    }
    TCellGraphic button;
    button.SetButton(5, 5, QString(), haLeft, vaTop);
    EXPECT_EQ(button.GetPictureSize(60, 60, false, {7, 7}), (TPoint{7, 7}));
}

TEST(ColumnGridObjects, TheSharedCheckBoxOfADataColumnTakesNoPerCellMarker)
{
    auto* g = CreateGrid<TProColumnGrid>();
    g->SetRowCount(4);
    g->Columns()->Items(2)->SetEditor(edDataCheckBox);
    g->AddMarker(2, 1, 1, 3);
    int pos = -1, len = -1;
    g->GetMarker(2, 2, pos, len);
    EXPECT_EQ(std::pair(pos, len), std::pair(0, 0));
    EXPECT_EQ(g->GetCellType(2, 1), ctDataCheckBox);  // the column still shows its check box
    g->Free();
}
