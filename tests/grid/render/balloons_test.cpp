#include "grid/control/balloon_tooltip.h"
#include "support/shown_grid.h"

#include <QMimeData>

namespace {
int Tips(TProStringGrid* G)
{
    int n = 0;
    for (QWidget* w : G->findChildren<QWidget*>())
        if (dynamic_cast<TBalloonToolTip*>(w)) ++n;
    return n;
}
}

TEST_F(ShownGridFixture, ABalloonShowsTheTextOfTheCellUnderTheMouseAndGoesOnAClick)
{
    G->SetCells(2, 3, QStringLiteral("hello there"));
    G->BalloonSettings()->SetInitialDelay(10);
    G->BalloonSettings()->SetEnable(true);
    TBalloonToolTip* tip = G->HToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->DelayTime(TTDT_INITIAL), 10);
    Move(In(2, 3).x(), In(2, 3).y());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->isVisible(); }, 2000));
    EXPECT_EQ(tip->Text(), "hello there");
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(2, 3));
    EXPECT_FALSE(tip->isVisible());

    // an empty cell shows no balloon
    Move(In(3, 4).x(), In(3, 4).y());
    QTest::qWait(100);
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(ShownGridFixture, TheBalloonTakesTheTitleAndColoursTheGridGivesIt)
{
    G->SetCells(1, 1, QStringLiteral("\r\nfirst\tline"));
    G->BalloonSettings()->SetInitialDelay(10);
    G->BalloonSettings()->SetTextColor(clRed);
    G->BalloonSettings()->SetEnable(true);
    G->OnCellBalloon = [](TObject*, int, int, QString& Title, QString&, int& Icon) {
        Title = QStringLiteral("Cell");
        Icon = 2;
    };
    TBalloonToolTip* tip = G->HToolTip();
    ASSERT_NE(tip, nullptr);
    Move(In(1, 1).x(), In(1, 1).y());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->isVisible(); }, 2000));
    EXPECT_EQ(tip->Text(), "first line");
    EXPECT_EQ(tip->Title(), "Cell");
    EXPECT_EQ(tip->Icon(), 2);
    EXPECT_EQ(tip->TipTextColor(), clRed);
    EXPECT_EQ(tip->MaxTipWidth(), 300);
}

TEST_F(ShownGridFixture, SwitchingBalloonsOnAgainOrTwiceKeepsOneTooltip)
{
    TBalloonSettings* b = G->BalloonSettings();
    b->SetEnable(true);
    b->SetEnable(true);
    EXPECT_EQ(Tips(G), 1);
    TBalloonToolTip* first = G->HToolTip();
    b->SetEnable(false);
    EXPECT_EQ(Tips(G), 0);
    EXPECT_EQ(G->HToolTip(), nullptr);
    b->SetEnable(true);
    EXPECT_EQ(Tips(G), 1);
    (void)first;
}

TEST_F(ShownGridFixture, TheBalloonTakesTheDelaysAndTheOpacityOfTheSettings)
{
    TBalloonSettings* b = G->BalloonSettings();
    b->SetTransparency(55);
    b->SetAutoHideDelay(1234);
    b->SetReshowDelay(7);
    b->SetEnable(true);
    TBalloonToolTip* tip = G->HToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->Opacity(), 200);
    EXPECT_EQ(tip->DelayTime(TTDT_AUTOPOP), 1234);
    EXPECT_EQ(tip->DelayTime(TTDT_RESHOW), 7);
    EXPECT_EQ(tip->Title(), "ToolTipText");
    EXPECT_EQ(tip->Icon(), TTI_ERROR);
    tip->SetTitle(QStringLiteral("x"), 9);
    EXPECT_EQ(tip->Icon(), TTI_NONE);
}

TEST(BalloonSettings, AssignCopiesAllButTransparencyAndFiresNothing)
{
    TBalloonSettings a, b;
    a.SetTransparency(9);
    a.SetInitialDelay(5);
    a.SetTextColor(clRed);
    a.SetEnable(true);
    int fired = 0;
    b.OnEnableChange = [&](TObject*) { ++fired; };
    b.Assign(&a);
    EXPECT_EQ(b.Transparency(), 0);
    EXPECT_EQ(b.InitialDelay(), 5);
    EXPECT_EQ(b.TextColor(), clRed);
    EXPECT_TRUE(b.Enable());
    EXPECT_EQ(fired, 0);
    b.SetEnable(true);  // unchanged, still announced
    EXPECT_EQ(fired, 1);
}

TEST_F(ShownGridFixture, ABandsChangeRepaintsTheGrid)
{
    const TRect k = G->CellRect(2, 2);
    auto pixel = [&] { return V()->grab().toImage().pixel(k.Left + 3, k.Top + 3) & 0xFFFFFF; };
    EXPECT_NE(pixel(), 0xFF0000u);
    TBands* b = G->Bands();
    b->SetPrimaryColor(clRed);
    b->SetSecondaryColor(clRed);
    b->SetActive(true);
    QApplication::processEvents();
    EXPECT_EQ(pixel(), 0xFF0000u);
}

TEST_F(ShownGridFixture, TheUnitEditorsChangeAndTheEditorLinkHookReachTheGrid)
{
    G->SetCol(2);
    G->SetRow(3);
    std::vector<QString> units;
    G->OnUnitChanged = [&](TObject* s, int c, int r, const QString& u) {
        EXPECT_EQ(s, G);
        units.push_back(QString("%1,%2,%3").arg(c).arg(r).arg(u));
    };
    G->UnitChanged(nullptr, QStringLiteral("mm"));
    EXPECT_EQ(units, std::vector<QString>{"2,3,mm"});

    int passed = 0;
    G->FGridControlWndProc = [&](TMessage&) { ++passed; };
    G->SetOptions(G->Options() + goTabs);
    TMessage m{WM_GETDLGCODE, 0, 0, DLGC_HASSETSEL};
    G->EditLinkWindowMessageHook(m);
    EXPECT_EQ(m.Result, DLGC_HASSETSEL | 0x83);
    EXPECT_EQ(passed, 0);
    TMessage other{WM_KEYDOWN, VK_TAB, 0, 0};
    G->EditLinkWindowMessageHook(other);
    EXPECT_EQ(passed, 1);
    G->SetOptions(G->Options() - goTabs);
    TMessage again{WM_GETDLGCODE, 0, 0, 0};
    G->EditLinkWindowMessageHook(again);
    EXPECT_EQ(again.Result, 0);
    EXPECT_EQ(passed, 2);
}

TEST_F(ShownGridFixture, TheMatchCaseBoxMakesRoomForTheHighlightButton)
{
    TSearchFooter* sf = G->SearchFooter();
    sf->SetVisible(true);
    sf->SetShowHighLight(false);
    EXPECT_EQ(G->SearchPanel()->FMatchCase->x(), 330);
    EXPECT_EQ(G->SearchPanel()->FHiliteButton->height(), 0);
    sf->SetShowHighLight(true);
    EXPECT_EQ(G->SearchPanel()->FMatchCase->x(), 425);
    EXPECT_EQ(G->SearchPanel()->FHiliteButton->height(), 23);
    EXPECT_EQ(G->SearchPanel()->height(), 32);
    sf->SetVisible(false);
    EXPECT_EQ(G->SearchPanel()->height(), 0);
}

TEST_F(ShownGridFixture, AColumnDragFromAListIsRecordedAndCarriesItsColumn)
{
    EXPECT_EQ(G->OleDragCol(), -1);
    QListWidget list;
    list.addItems({QStringLiteral("A"), QStringLiteral("B")});
    G->OleColumnDragStart(3, 1, &list);
    EXPECT_EQ(G->OleDragCol(), 3);
    EXPECT_EQ(G->OleDragIndex(), 1);
    EXPECT_EQ(G->OleDragList(), &list);

    std::unique_ptr<QMimeData> data(TProStringGrid::ColumnDragData(3));
    EXPECT_EQ(TProStringGrid::ColumnOfDragData(data.get()), 3);
    EXPECT_EQ(data->text(), "3");
    QMimeData text;
    text.setText(QStringLiteral("3"));
    EXPECT_EQ(TProStringGrid::ColumnOfDragData(&text), -1);
}
