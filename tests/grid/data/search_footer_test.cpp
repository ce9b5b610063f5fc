// The search footer on a shown grid, driven with real keys and clicks: Ctrl+F, typing, Enter,
// Ctrl+Enter, the buttons, accelerators and close; and the incremental look-up typed in the grid.
#include "grid/control/pro_string_grid.h"
#include "support/shown_grid.h"

#include <QMainWindow>
#include <QVBoxLayout>

namespace {

struct FooterFixture : ShownGridFixture {
    void SetUp() override
    {
        const char* const rows[] = {"Apple", "banana", "Cherry", "apple pie", "grape"};
        for (int r = 1; r < 6; ++r) G->SetCells(1, r, QString::fromUtf8(rows[r - 1]));
        G->SetCells(3, 3, "Banana split");
        TSearchFooter* sf = G->SearchFooter();
        sf->SetFindNextCaption("&Next");
        sf->SetFindPrevCaption("&Previous");
        sf->SetHighLightCaption("&Highlight");
        sf->SetVisible(true);
        G->OnCreatedSearchFooter = [this](TObject*) { ++Created; };
        G->OnSearchFooterAction = [this](TObject*, const QString& V, int c, int r, TSearchAction a) {
            Actions << QStringLiteral("%1 %2,%3 %4").arg(V).arg(c).arg(r).arg(int(a));
        };
        ShowFocused();
    }
    TSearchPanel* Panel() { return G->SearchPanel(); }
    TRetEdit* Edit() { return Panel()->FEdit; }
    void Click(QWidget* w)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
        QApplication::processEvents();
    }
    TPoint Current() const { return {G->Col(), G->Row()}; }
    QStringList Actions;
    int Created = 0;
};

TPoint P(int c, int r) { return {c, r}; }

}  // namespace

TEST_F(FooterFixture, CtrlFThenTypingFindsAsYouType)
{
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_EQ(Created, 1);
    EXPECT_FALSE(Panel()->FForwardButton->isEnabled());
    QTest::keyClick(G, Qt::Key_F, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), Edit());

    QTest::keyClicks(Edit(), "ban");
    EXPECT_EQ(Current(), P(1, 2));
    EXPECT_EQ(Actions.last(), "ban 1,2 0");
    EXPECT_TRUE(Panel()->FForwardButton->isEnabled());
    EXPECT_EQ(Panel()->EditColor(), clWindow);

    QTest::keyClicks(Edit(), "x");
    EXPECT_EQ(Panel()->EditColor(), TColor(0x0000FF));
    EXPECT_EQ(Current(), P(1, 2));  // nothing else changes
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_EQ(Panel()->EditColor(), clWindow);

    // Enter finds forward (column by column), Ctrl+Enter backward.
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(Current(), P(3, 3));
    EXPECT_EQ(Actions.last(), "ban 3,3 2");
    QTest::keyClick(Edit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Current(), P(1, 2));
    EXPECT_EQ(Actions.last(), "ban 1,2 1");

    // Emptying the edit disables the buttons again.
    QTest::keyClick(Edit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Edit(), Qt::Key_Delete);
    EXPECT_TRUE(Edit()->text().isEmpty());
    EXPECT_FALSE(Panel()->FBackwardButton->isEnabled());
    EXPECT_FALSE(Panel()->FHiliteButton->isEnabled());
}

TEST_F(FooterFixture, ButtonsAndAcceleratorsFindMatchCaseAndHighlight)
{
    Edit()->setFocus();
    QTest::keyClicks(Edit(), "apple");
    EXPECT_EQ(Current(), P(1, 1));
    Click(Panel()->FForwardButton);
    EXPECT_EQ(Current(), P(1, 4));
    Click(Panel()->FBackwardButton);
    EXPECT_EQ(Current(), P(1, 1));

    // Match case: the look-up starts again from the first cell with the case.
    Click(Panel()->FMatchCase);
    EXPECT_TRUE(Panel()->FMatchCase->Checked());
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    QTest::keyClicks(Edit(), "e");
    EXPECT_EQ(Current(), P(1, 4));

    // Alt+N is the forward button's accelerator: after the last match the scan ends.
    QTest::keyClick(Edit(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(Actions.last(), "apple -1,-1 2");

    // Highlight marks the matches; clicked again the cells get their texts back.
    G->SetCells(2, 2, "R&amp;D");
    Click(Panel()->FHiliteButton);
    EXPECT_TRUE(Panel()->FHiliteButton->Down());
    EXPECT_EQ(G->GetGridCell(1, 4), "<hi>apple</hi> pie");
    EXPECT_EQ(G->GetGridCell(1, 1), "Apple");
    Click(Panel()->FHiliteButton);
    EXPECT_EQ(G->GetGridCell(1, 4), "apple pie");
    EXPECT_EQ(G->GetGridCell(2, 2), "R&amp;D");

    // With the button down every keystroke moves the marks, never touching other texts.
    Click(Panel()->FHiliteButton);
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_EQ(G->GetGridCell(1, 4), "<hi>appl</hi>e pie");
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_EQ(G->GetGridCell(1, 4), "<hi>app</hi>le pie");
    EXPECT_EQ(G->GetGridCell(2, 2), "R&amp;D");
}

TEST_F(FooterFixture, WithoutAutoSearchTypingWaitsForEnterAndCloseHides)
{
    G->SearchFooter()->SetAutoSearch(false);
    Edit()->setFocus();
    QTest::keyClicks(Edit(), "grape");
    EXPECT_EQ(Current(), P(1, 1));
    EXPECT_TRUE(Actions.isEmpty());
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(Current(), P(1, 5));

    bool closed = false;
    G->OnSearchFooterClose = [&](TObject*) { closed = true; };
    Click(Panel()->FExitButton);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(G->SearchFooter()->Visible());
    EXPECT_FALSE(Panel()->isVisible());
}

TEST_F(FooterFixture, TypingInTheGridLooksUpTheFirstColumn)
{
    G->Navigation()->SetAutoGotoWhenSorted(true);
    G->Navigation()->SetAutoGotoIncremental(true);
    G->SetFocus();
    QTest::keyClicks(G, "app");
    EXPECT_EQ(G->Row(), 1);
    QTest::keyClicks(G, "le ");
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(G->IncrSearchText(), "apple ");
    QTest::keyClick(G, Qt::Key_Backspace);
    EXPECT_EQ(G->IncrSearchText(), "apple");
    QTest::keyClicks(G, "z");
    EXPECT_TRUE(G->IncrSearchText().isEmpty());
    // Without adding up, each character stands alone.
    G->Navigation()->SetAutoGotoIncremental(false);
    QTest::keyClicks(G, "g");
    EXPECT_EQ(G->Row(), 5);
    QTest::keyClicks(G, "c");
    EXPECT_EQ(G->Row(), 3);
}

// A grid in a layout of a large window, its footer switched on before the window shows: the
// footer lies inside the grid along the bottom of its cells, over their whole width, with its
// captions and match-case box whole, at the first size and after every resize; typing in it
// and Enter find as in any grid.
TEST(SearchFooterPlace, FollowsTheGridsBottomEdgeInALayout)
{
    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    window.setCentralWidget(central);
    TProStringGrid* g = CreateGrid<TProStringGrid>(central);
    layout->addWidget(g);
    g->SetColCount(8);
    g->SetRowCount(60);
    g->SetCells(2, 40, QStringLiteral("needle"));
    TSearchFooter* sf = g->SearchFooter();
    sf->SetFindNextCaption("Find next");
    sf->SetMatchCaseCaption("Match case");
    sf->SetVisible(true);
    window.resize(1200, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();

    TSearchPanel* p = g->SearchPanel();
    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        ASSERT_TRUE(p->isVisible());
        const QRect cells = g->viewport()->geometry();
        EXPECT_EQ(p->height(), 32);
        EXPECT_EQ(p->geometry().bottom(), cells.bottom());
        EXPECT_EQ(p->x(), cells.x());
        EXPECT_EQ(p->width(), cells.width());
        EXPECT_TRUE(g->rect().contains(p->geometry()));
        for (QWidget* w : {static_cast<QWidget*>(p->FEdit), static_cast<QWidget*>(p->FForwardButton),
                           static_cast<QWidget*>(p->FMatchCase)})
            EXPECT_TRUE(p->rect().contains(w->geometry())) << w->metaObject()->className();
        // the bottom row of pixels of the grid's cells is the footer's
        const QPoint inPanel = g->mapTo(&window, QPoint(cells.center().x(), cells.bottom() - 2));
        EXPECT_EQ(window.childAt(inPanel) == p || p->isAncestorOf(window.childAt(inPanel)), true);
    };
    check("shown");
    EXPECT_GT(g->height(), 600);
    window.resize(900, 450);
    QApplication::processEvents();
    check("smaller");
    g->SetScrollBars(ssBoth);
    QApplication::processEvents();
    check("with scroll bars");

    QTest::mouseClick(p->FEdit, Qt::LeftButton);
    p->FEdit->setFocus();
    QTest::keyClicks(p->FEdit, "need");
    QTest::keyClick(p->FEdit, Qt::Key_Return);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 40);
    // the found row stays clear of the footer
    EXPECT_LE(g->CellRect(2, 40).Bottom, p->y());
    g->Free();
}
