#include "grid/control/pro_string_grid.h"

#include "platform/ui/forms.h"

#include <gtest/gtest.h>

namespace {
struct GridHolder {
    explicit GridHolder(QWidget* owner = nullptr, bool designing = false)
        : grid(CreateGrid<TProStringGrid>(owner, designing))
    {
    }
    ~GridHolder()
    {
        if (grid) grid->Free();
    }
    TProStringGrid* operator->() const { return grid; }
    TProStringGrid* grid;
};
}

TEST(StringGridConstruction, DefaultsOfAFreshGrid)
{
    GridHolder g;
    struct Case { const char* name; QVariant actual; QVariant expected; } cases[] = {
        {"RowCount", g->RowCount(), 10},
        {"ColCount", g->ColCount(), 5},
        {"FixedRows", g->FixedRows(), 1},
        {"FixedCols", g->FixedCols(), 1},
        {"DefaultRowHeight", g->DefaultRowHeight(), 22},
        {"FixedRowHeight", g->FixedRowHeight(), 22},
        {"FloatFormat", g->FloatFormat(), QStringLiteral("%.2f")},
        {"CheckTrue", g->CheckTrue(), QStringLiteral("Y")},
        {"CheckFalse", g->CheckFalse(), QStringLiteral("N")},
        {"PasswordChar", QString(g->PasswordChar()), QStringLiteral("*")},
        {"FixedFont.Name", g->FixedFont()->Name(), QStringLiteral("Tahoma")},
        {"FixedFont bold", g->FixedFont()->Style().Contains(fsBold), true},
        {"ActiveCellFont bold", g->ActiveCellFont()->Style().Contains(fsBold), true},
        {"hidden columns", g->NumHiddenColumns(), 0},
        {"hidden rows", g->HiddenRowCount(), 0},
        {"Look", int(g->Look()), int(glXP)},
        {"Style", int(g->Style()), int(tsWindowsXP)},
        {"WordWrap", g->WordWrap(), true},
        {"DefaultEditor", int(g->DefaultEditor()), int(edNormal)},
        {"DefaultAlignment", int(g->DefaultAlignment()), int(taLeftJustify)},
        {"VAlignment", int(g->VAlignment()), int(vtaTop)},
        {"EnableHTML", g->EnableHTML(), true},
        {"URLColor", g->URLColor(), int(clBlue)},
        {"DisabledFontColor", g->DisabledFontColor(), int(clSilver)},
        {"UseDisabledFont", g->UseDisabledFont(), true},
        {"ActiveCellColor", g->ActiveCellColor(), int(clGray)},
        {"ActiveCellColorTo", g->ActiveCellColorTo(), int(clNone)},
        {"HintColor", g->HintColor(), int(clInfoBk)},
        {"HighlightColor", g->HighlightColor(), int(clHighlight)},
        {"SelectionColor", g->SelectionColor(), 0x00EACAB6},
        {"SelectionColorTo", g->SelectionColorTo(), int(clNone)},
        {"SelectionTextColor", g->SelectionTextColor(), int(clBlack)},
        {"SelectionColorMixerFactor", g->SelectionColorMixerFactor(), 50},
        {"ShowSelection", g->ShowSelection(), true},
        {"XYOffset.X", g->XYOffset().X, 2},
        {"XYOffset.Y", g->XYOffset().Y, 2},
        {"ProGradFrom", g->ProGradFrom(), 0x00FFFFFF},
        {"ScrollType", int(g->ScrollType()), int(ssNormal)},
        {"ScrollColor", g->ScrollColor(), int(clNone)},
        {"ScrollBars", int(g->ScrollBars()), int(ssBoth)},
        {"BorderColor", g->BorderColor(), 0x00B99D7F},
        {"SaveFixedCells", g->SaveFixedCells(), true},
        {"Width", g->width(), 400},
        {"Height", g->height(), 250},
        {"NormalRowCount", g->NormalRowCount(), 10},
        {"MaxRowCount", g->MaxRowCount(), 10},
        {"SortSettings.Column", g->SortSettings()->Column(), -1},
        {"ColumnSize.StretchColumn", g->ColumnSize()->StretchColumn(), -1},
        {"PrintSettings.PageNumSep", g->PrintSettings()->PageNumSep(), QStringLiteral("/")},
        {"HTMLSettings.Width", g->HTMLSettings()->Width(), 100},
        {"FilterDropDown.Width", g->FilterDropDown()->Width(), 150},
        {"DragDropSettings.ShowCells", g->DragDropSettings()->ShowCells(), true},
        {"Grouping.HeaderLineWidth", g->Grouping()->HeaderLineWidth(), 2},
        {"SearchFooter caption (loaded)", g->SearchFooter()->FindNextCaption(), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
    EXPECT_EQ(HandCursor, crHandPoint);
    for (int col : {0, 1, 100, 512}) EXPECT_TRUE(g->VisibleCol(col)) << col;
    EXPECT_TRUE(g->HasEditorControls());
    EXPECT_NE(g->FocusWindow(), nullptr);
}

TEST(StringGridConstruction, DesignTimeGridHasNoEditorControls)
{
    GridHolder g(nullptr, true);
    EXPECT_FALSE(g->HasEditorControls());
    EXPECT_EQ(g->FocusWindow(), nullptr);
    EXPECT_EQ(g->SearchFooter()->FindNextCaption(), QStringLiteral("Find &next"));
    EXPECT_EQ(g->ActiveCellFont()->Name(), QStringLiteral("Tahoma"));
}

TEST(StringGridConstruction, FixedColumnTablesAreBoundsChecked)
{
    GridHolder g;
    EXPECT_THROW(g->VisibleCol(513), EProGridError);
    EXPECT_THROW(g->SetVisibleCol(-1, false), EProGridError);
    EXPECT_THROW(g->AllColWidths(600), EProGridError);
    EXPECT_THROW(g->SetAllColWidths(513, 10), EProGridError);
    g->SetAllColWidths(512, 33);
    EXPECT_EQ(g->AllColWidths(512), 33);
}

TEST(StringGridLifecycle, AssignCopiesSettingsDimensionsAndCells)
{
    GridHolder a, b;
    b->SetColCount(4);
    b->SetRowCount(6);
    b->SetColWidths(2, 91);
    b->SetCells(1, 1, QStringLiteral("one"));
    b->SetCells(3, 5, QStringLiteral("two\r\nlines"));
    b->Navigation()->SetAllowInsertRow(true);
    b->Bands()->SetPrimaryLength(3);
    b->SetFixedRowAlways(true);

    a->Assign(b.grid);
    EXPECT_EQ(a->ColCount(), 4);
    EXPECT_EQ(a->RowCount(), 6);
    EXPECT_EQ(a->ColWidths(2), 91);
    EXPECT_EQ(a->Cells(1, 1), QStringLiteral("one"));
    EXPECT_EQ(a->Cells(3, 5), QStringLiteral("two\r\nlines"));
    EXPECT_TRUE(a->Navigation()->AllowInsertRow());
    EXPECT_EQ(a->Bands()->TotalLength(), 4);
    EXPECT_TRUE(a->FixedRowAlways());

    // Anything but a string grid changes nothing.
    TFont font;
    a->Assign(&font);
    a->AssignCells(&font);
    EXPECT_EQ(a->Cells(1, 1), QStringLiteral("one"));
    EXPECT_EQ(a->ColCount(), 4);
}

TEST(StringGridLifecycle, LoadedRecordsTheCountsInForce)
{
    GridHolder g;
    g->SetLoading(true);
    g->SetFixedRows(2);  // while loading the asked count is not stored
    EXPECT_EQ(g->FixedRowsMin(), 0);
    g->SetOptions(g->Options() + goAlwaysShowEditor);
    g->Loaded();
    EXPECT_TRUE(g->IsLoaded());
    EXPECT_EQ(g->FixedRowsMin(), 2);
    EXPECT_EQ(g->MaxRowCount(), 10);
    EXPECT_TRUE(g->Navigation()->AlwaysEdit());
    EXPECT_FALSE(g->Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(g->ColumnOrder()->StrValue(), QStringLiteral("0,1,2,3,4"));
}

TEST(StringGridLifecycle, DestroyingFreesCellGraphicsBeyondTheCurrentCounts)
{
    int deaths = 0;
    struct Graphic : TCellGraphic {
        int& d;
        explicit Graphic(int& d) : d(d) {}
        ~Graphic() override { ++d; }
    };
    {
        GridHolder g;
        g->SetRowCount(20);
        g->SetGraphicObjectEx(2, 18, new Graphic(deaths));
        g->SetGraphicObjectEx(1, 1, new Graphic(deaths));
        g->SetRowCount(5);
    }
    EXPECT_EQ(deaths, 2);
}

TEST(StringGridLifecycle, GridOnAFormFollowsItAndLetsGoWhenDestroyed)
{
    // Counts the form's resizes that reach the grid, and resizes the form once more while the
    // grid is being torn down, as a layout reacting to its going would.
    struct Follower : TProStringGrid {
        using TProStringGrid::TProStringGrid;
        int* Follows = nullptr;
        void FormResized() override
        {
            ++*Follows;
            TProStringGrid::FormResized();
        }
        void BeforeDestruction() override
        {
            TProStringGrid::BeforeDestruction();
            parentWidget()->resize(580, 400);
        }
    };
    TForm form;
    form.resize(500, 400);
    form.show();
    int follows = 0;
    auto* g = CreateGrid<Follower>(&form);
    g->Follows = &follows;
    g->SetSizeWithForm(true);
    const int w = g->width();
    form.resize(540, 400);
    EXPECT_EQ(g->width(), w + 40);
    EXPECT_EQ(follows, 1);
    g->Free();
    EXPECT_EQ(form.width(), 580);
    EXPECT_EQ(follows, 1);  // the torn-down grid no longer follows
    form.resize(600, 400);
    EXPECT_EQ(follows, 1);
}

TEST(StringGridLifecycle, IntegralHeightRoundsDownToWholeRows)
{
    GridHolder g;
    g->SetIntegralHeight(true);
    g->SetBorderStyle(bsNone);
    g->SetColCount(2);  // every column fits: no horizontal bar
    g->SetBounds(0, 0, 400, 22 * 5 + 11);
    EXPECT_EQ(g->height(), 22 * 5);
    // With a border the two border pixels are left out of the rounding and added again.
    g->SetBorderStyle(bsSingle);
    g->SetBounds(0, 0, 400, 123);
    EXPECT_EQ(g->height(), 123 - (121 % 22) + 2);
}

TEST(StringGridLifecycle, OnAWindowItIsSizedFilledMergedPaintedAndReadBack)
{
    TForm form;
    form.resize(600, 400);
    auto* g = CreateGrid<TProStringGrid>(&form);
    g->SetBounds(10, 10, 500, 300);
    g->SetColCount(6);
    g->SetRowCount(50);
    form.show();
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 6; ++c) g->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    g->MergeCells(1, 2, 3, 2);
    const QImage shot = g->viewport()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_EQ(g->Cells(3, 3), QStringLiteral("1:2"));
    EXPECT_EQ(g->Cells(4, 3), QStringLiteral("4:3"));
    g->SetCells(2, 3, QStringLiteral("merged"));
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("merged"));
    EXPECT_EQ(g->Cells(0, 49), QStringLiteral("0:49"));
    g->Free();
}
