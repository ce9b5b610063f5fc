#include "grid/base/grid_settings.h"

#include "platform/core/exception.h"

#include <gtest/gtest.h>

namespace {
struct Counter {
    int n = 0;
    TNotifyEvent Handler() { return [this](TObject*) { ++n; }; }
};
}

TEST(GridSettings, DefaultsOfTheSettingsObjects)
{
    TSearchFooter design(nullptr, true), loaded(nullptr, false);
    EXPECT_EQ(design.FindNextCaption(), QStringLiteral("Find &next"));
    EXPECT_EQ(design.FindPrevCaption(), QStringLiteral("Find &previous"));
    EXPECT_EQ(design.HintHighlight(), QStringLiteral("Highlight occurrences"));
    EXPECT_EQ(design.HintClose(), QStringLiteral("Close"));
    EXPECT_EQ(loaded.FindNextCaption(), QString());
    EXPECT_FALSE(loaded.Visible());
    EXPECT_EQ(loaded.Color(), 0xFFFFFF);
    EXPECT_EQ(loaded.ColorTo(), clBtnFace);
    EXPECT_EQ(loaded.SearchColumn(), -1);
    EXPECT_TRUE(loaded.AutoSearch());

    TNavigation nav;
    EXPECT_TRUE(nav.AllowClipboardColGrow());
    EXPECT_TRUE(nav.CopyHTMLTagsToClipboard());
    EXPECT_TRUE(nav.AdvanceAutoEdit());
    EXPECT_TRUE(nav.SkipFixedCells());
    EXPECT_FALSE(nav.AdvanceOnEnter());
    EXPECT_EQ(nav.HomeEndKey(), heFirstLastColumn);

    TMouseActions mouse;
    EXPECT_TRUE(mouse.PreciseNodeClick());
    EXPECT_TRUE(mouse.AutoSizeColOnDblClick());
    EXPECT_EQ(mouse.FixedRowsEdit(), fceNone);
    EXPECT_EQ(mouse.WheelAction(), waMoveSelection);

    TBands bands;
    EXPECT_EQ(bands.PrimaryColor(), clInfoBk);
    EXPECT_EQ(bands.SecondaryColor(), clWindow);
    EXPECT_EQ(bands.TotalLength(), 2);

    TShowModified modified;
    EXPECT_EQ(modified.Color(), 0x00FFFF);

    TGridProgressAppearance progress;
    EXPECT_EQ(progress.Level2Perc(), 90);
    EXPECT_EQ(progress.Level1Perc(), 70);
    EXPECT_EQ(progress.Steps(), 11);
    EXPECT_EQ(progress.Level2Color(), 0x53A9FF);
    EXPECT_EQ(progress.UnCompleteFontColor(), clWindowText);
    EXPECT_EQ(progress.Style(), psXP);
}

TEST(GridSettings, ChangeEventsFollowTheirRules)
{
    TBands bands;
    Counter c;
    bands.OnChange = c.Handler();
    bands.SetPrimaryLength(3);  // inactive: no event, total still kept
    EXPECT_EQ(bands.TotalLength(), 4);
    EXPECT_EQ(c.n, 0);
    bands.SetActive(true);
    bands.SetSecondaryColor(clRed);
    bands.SetSecondaryColor(clRed);  // unchanged: nothing
    EXPECT_EQ(c.n, 2);

    TSearchFooter footer(nullptr, false);
    Counter f;
    footer.OnChange = f.Handler();
    footer.SetVisible(false);  // unchanged Show/Visible: no event
    footer.SetColor(0xFFFFFF);  // other setters fire always
    footer.SetSearchColumn(3);  // plain field
    EXPECT_EQ(f.n, 1);

    TNavigation nav;
    Counter n;
    nav.OnChange = n.Handler();
    nav.SetAdvanceAuto(true);
    EXPECT_TRUE(nav.AdvanceOnEnter());
    nav.SetAdvanceAuto(false);
    EXPECT_TRUE(nav.AdvanceOnEnter());
    nav.SetAdvanceDirection(adTopBottom);
    nav.SetAdvanceDirection(adTopBottom);
    EXPECT_EQ(n.n, 1);

    TGridProgressAppearance progress;
    Counter p;
    progress.OnChange = p.Handler();
    progress.SetSteps(11);
    progress.SetSteps(12);
    EXPECT_EQ(p.n, 1);
}

TEST(GridSettings, DisjunctSelectionsExcludeEachOtherOnlyAtDesignTime)
{
    TMouseActions m;
    m.SetDisjunctRowSelect(true);
    m.SetDisjunctColSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    bool designing = true;
    m.OnIsDesigning = [&](TObject*, bool& d) { d = designing; };
    m.SetDisjunctCellSelect(true);
    EXPECT_FALSE(m.DisjunctRowSelect());
    EXPECT_FALSE(m.DisjunctColSelect());

    Counter inval;
    m.OnInvalidate = inval.Handler();
    designing = false;
    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck());
    EXPECT_EQ(inval.n, 1);
}

TEST(GridSettings, AssignCopiesOnlyFromItsOwnClassAndKeepsTheListedFields)
{
    TNavigation a, b;
    b.SetAllowInsertRow(true);
    b.SetKeepScrollOnSort(true);
    b.SetCursorAdvance(caLoop);
    Counter c;
    a.OnChange = c.Handler();
    a.Assign(&b);
    EXPECT_TRUE(a.AllowInsertRow());
    EXPECT_EQ(a.CursorAdvance(), caLoop);
    EXPECT_FALSE(a.KeepScrollOnSort());
    EXPECT_EQ(c.n, 0);
    ASSERT_TRUE(a.OnChange);

    TBands bands;
    bands.Assign(&b);  // another class: ignored
    EXPECT_EQ(bands.TotalLength(), 2);

    TMouseActions m1, m2;
    m2.SetSizeFixedRow(true);
    m2.SetSizeFixedCol(true);
    m2.SetWheelIncrement(3);
    m2.SetFixedComboValues({QStringLiteral("x")});
    m1.Assign(&m2);
    EXPECT_FALSE(m1.SizeFixedRow());
    EXPECT_TRUE(m1.SizeFixedCol());
    EXPECT_EQ(m1.WheelIncrement(), 3);
    EXPECT_TRUE(m1.FixedComboValues().isEmpty());

    TSearchFooter f1(nullptr, false), f2(nullptr, true);
    f2.SetAutoSearch(false);
    f2.SetSearchFixedCells(true);
    f1.Assign(&f2);
    EXPECT_EQ(f1.FindNextCaption(), QStringLiteral("Find &next"));
    EXPECT_TRUE(f1.AutoSearch());
    EXPECT_FALSE(f1.SearchFixedCells());

    TBands b1, b2;
    b2.SetPrimaryLength(4);
    b1.Assign(&b2);
    EXPECT_EQ(b1.TotalLength(), 5);
}

TEST(GridSettings, SyncGridIgnoresItsOwner)
{
    auto* owner = reinterpret_cast<TStringGrid*>(0x1000);
    auto* other = reinterpret_cast<TStringGrid*>(0x2000);
    TSyncGrid sync(owner);
    sync.SetGrid(other);
    sync.SetGrid(owner);
    EXPECT_EQ(sync.Grid(), other);
}

TEST(GridMasks, BlurNeeds24BitsAndKeepsFullWhite)
{
    TBitmap bmp(8, 8);
    bmp.SetPixelFormat(pf32bit);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 8, 8));
    const QImage before = bmp.Image();
    EXPECT_THROW(BlurBitmap(bmp, 2), Exception);
    EXPECT_EQ(bmp.Image(), before);

    bmp.SetPixelFormat(pf24bit);
    BlurBitmap(bmp, 2);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(qRed(bmp.Image().pixel(x, y)), 255) << x << "," << y;
}

TEST(GridMasks, RoundRectMaskAndMergeGivePremultipliedAlpha)
{
    TBitmap mask;
    CreateRoundRectMask(mask, 40, 30, 0, 4, 0);
    EXPECT_EQ(mask.PixelFormat(), pf24bit);
    EXPECT_EQ(qRed(mask.Image().pixel(0, 0)), 0);     // outside the frame
    EXPECT_EQ(qRed(mask.Image().pixel(20, 15)), 255); // filled inside

    TBitmap colour(40, 30);
    colour.SetPixelFormat(pf24bit);
    colour.Canvas()->Brush()->SetColor(RGB(200, 100, 50));
    colour.Canvas()->FillRect(Rect(0, 0, 40, 30));
    TGridAlphaMask alpha;
    alpha.MergeMask(mask, colour, clNone);
    const QRgb inside = alpha.Image().pixel(20, 15);
    EXPECT_EQ(qAlpha(inside), 255);
    EXPECT_EQ(qRed(inside), 200);
    EXPECT_EQ(qAlpha(alpha.Image().pixel(0, 0)), 0);
    EXPECT_EQ(qRed(alpha.Image().pixel(0, 0)), 0);
    EXPECT_EQ(alpha.PixelFormat(), pf32bit);

    // Only 24-bit pictures are merged.
    TGridAlphaMask untouched;
    colour.SetPixelFormat(pf32bit);
    untouched.MergeMask(mask, colour, clNone);
    EXPECT_TRUE(untouched.Empty());
}
