// The search panel's glyphs and layout, its accelerators typed while the grid has the focus,
// and the sort row's limit.
#include "grid/base/grid_resources.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/exception.h"
#include "support/grid_shots.h"
#include "support/shown_grid.h"

namespace {

const TColor Navy = 0x800000;   // the glyphs' mark, RGB (0, 0, 128)
const TColor Grey = 0xA0A0A0;   // their disabled form

struct PanelFixture : ShownGridFixture {
    void SetUp() override
    {
        for (int r = 1; r < 6; ++r) G->SetCells(1, r, r % 2 ? "apple" : "pear");
        TSearchFooter* sf = G->SearchFooter();
        sf->SetFindNextCaption("&Next");
        sf->SetFindPrevCaption("&Previous");
        sf->SetHighLightCaption("&Highlight");
        sf->SetVisible(true);
        ShowFocused();
    }
    TSearchPanel* Panel() { return G->SearchPanel(); }
    TPoint Current() const { return {G->Col(), G->Row()}; }
};

QImage Resource(const char* name)
{
    TBitmap b;
    LoadResourceBitmap(b, QString::fromLatin1(name));
    return b.Image().convertToFormat(QImage::Format_RGB32);
}

// Pixels of colour c in each row of a glyph.
std::vector<int> RowsOf(const QImage& img, TColor c)
{
    std::vector<int> n(size_t(img.height()), 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n[size_t(y)] += At(img, x, y) == Rgb(c);
    return n;
}

}  // namespace

TEST(SearchGlyphs, ArrowsPointTheirWayAndDisabledFormsAreGrey)
{
    const struct {
        const char* Name;
        TColor Mark;
        bool Down;
    } cases[] = {{"PSGARDOWN", Navy, true}, {"PSGARDOWND", Grey, true}, {"PSGARUP", Navy, false}, {"PSGARUPD", Grey, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<int> rows = RowsOf(Resource(c.Name), c.Mark);
        const auto widest = std::max_element(rows.begin(), rows.end()) - rows.begin();
        // The head is the widest part, at the end the arrow points to.
        EXPECT_EQ(widest >= 8, c.Down);
        EXPECT_GT(rows[size_t(widest)], 6);
        EXPECT_EQ(RowsOf(Resource(c.Name), c.Mark == Navy ? Grey : Navy), std::vector<int>(rows.size(), 0));
    }
    const QImage hi = Resource("PSGHI"), hid = Resource("PSGHID");
    EXPECT_TRUE(Shows(hi, {0, 0, 16, 16}, 0x00FFFF));   // yellow ink
    EXPECT_FALSE(Shows(hid, {0, 0, 16, 16}, 0x00FFFF));
    EXPECT_TRUE(Shows(hid, {0, 0, 16, 16}, Grey));
    for (const char* name : {"PSGCLOSEH", "PSGCLOSED"}) EXPECT_TRUE(HasResourceBitmap(QString::fromLatin1(name)));
}

TEST_F(PanelFixture, ButtonsShowTheirGlyphsEnabledAndDisabled)
{
    TProGridButton* fwd = Panel()->FForwardButton;
    const TRect all{0, 0, fwd->width(), fwd->height()};
    EXPECT_TRUE(Shows(Shot(fwd), all, Grey));
    EXPECT_FALSE(Shows(Shot(fwd), all, Navy));
    EXPECT_TRUE(Panel()->FHiliteButton->Font()->Style().Empty());

    QTest::keyClick(G, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(Panel()->FEdit, "pe");
    ASSERT_TRUE(fwd->isEnabled());
    EXPECT_TRUE(Shows(Shot(fwd), all, Navy));
    EXPECT_TRUE(Shows(Shot(Panel()->FHiliteButton), all, 0x00FFFF));
}

TEST_F(PanelFixture, RightToLeftMirrorsEachControlWithinThePanel)
{
    auto lefts = [this] {
        TSearchPanel* p = Panel();
        return std::vector<int>{p->FEdit->x(), p->FForwardButton->x(), p->FBackwardButton->x(),
                                p->FExitButton->x(), p->FHiliteButton->x(), p->FMatchCase->x()};
    };
    EXPECT_EQ(lefts(), (std::vector<int>{25, 140, 235, 5, 330, 425}));
    G->setLayoutDirection(Qt::RightToLeft);
    QApplication::processEvents();
    const int w = Panel()->width();
    EXPECT_EQ(lefts(), (std::vector<int>{w - 25 - 110, w - 140 - 90, w - 235 - 90, w - 5 - 14, w - 330 - 90,
                                         w - 425 - Panel()->FMatchCase->width()}));
    G->SearchFooter()->SetShowHighLight(false);
    EXPECT_EQ(Panel()->FMatchCase->x(), w - 330 - Panel()->FMatchCase->width());
    G->resize(G->width() + 40, G->height());
    QApplication::processEvents();
    EXPECT_EQ(Panel()->FForwardButton->x(), Panel()->width() - 140 - 90);
}

TEST_F(PanelFixture, AltLetterTypedInTheGridPressesTheFooterButtons)
{
    QTest::keyClick(G, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(Panel()->FEdit, "apple");
    EXPECT_EQ(Current(), (TPoint{1, 1}));
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(1, 2));
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), G);

    // Alt+N finds forward from the current cell, Alt+P backward, Alt+H toggles highlighting.
    QTest::keyClick(G, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(Current(), (TPoint{1, 3}));
    QTest::keyClick(G, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(Current(), (TPoint{1, 1}));
    ASSERT_TRUE(Panel()->FHiliteButton->isEnabled());
    ASSERT_EQ(QApplication::focusWidget(), G);
    QTest::keyClick(G, Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(Panel()->FHiliteButton->Down());
    // A letter no button carries does nothing.
    QTest::keyClick(G, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(Current(), (TPoint{1, 1}));
    EXPECT_EQ(Panel()->FEdit->text(), "apple");
}

TEST(SortSettingsRow, MustBeOneOfTheFixedRows)
{
    auto grid = std::make_unique<TProStringGrid>(nullptr);
    grid->SetRowCount(6);
    grid->SetFixedRows(2);
    TSortSettings* s = grid->SortSettings();
    s->SetRow(1);
    EXPECT_EQ(s->Row(), 1);
    for (int bad : {2, 5}) {
        try {
            s->SetRow(bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Sort row should be smaller than number of fixed rows");
        }
        EXPECT_EQ(s->Row(), 1);
    }
    grid->SetFixedRows(3);
    s->SetRow(2);
    EXPECT_EQ(s->Row(), 2);
}
