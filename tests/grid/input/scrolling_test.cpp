// Scrolling and sizing as a user drives them: the wheel (also in the small steps of
// high-resolution wheels), the scroll bars' thumbs and their hints, middle-button panning,
// stretching and proportional sizing of columns, and the scroll bar settings.
#include "grid/control/pro_column_grid.h"
#include "platform/core/sysutils.h"
#include "support/shown_grid.h"

#include <QCursor>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWheelEvent>

namespace {

void Wheel(QWidget* v, int dy, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const QPoint p(30, 30);
    QWheelEvent e(p, v->mapToGlobal(p), QPoint(), QPoint(0, dy), Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v, &e);
}

QRect SliderRect(QScrollBar* sb)
{
    QStyleOptionSlider o;
    o.initFrom(sb);
    o.subControls = QStyle::SC_None;
    o.activeSubControls = QStyle::SC_None;
    o.orientation = sb->orientation();
    o.minimum = sb->minimum();
    o.maximum = sb->maximum();
    o.sliderPosition = sb->sliderPosition();
    o.sliderValue = sb->value();
    o.singleStep = sb->singleStep();
    o.pageStep = sb->pageStep();
    if (sb->orientation() == Qt::Horizontal) o.state |= QStyle::State_Horizontal;
    return sb->style()->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, sb);
}

QRect GrooveRect(QScrollBar* sb)
{
    QStyleOptionSlider o;
    o.initFrom(sb);
    o.orientation = sb->orientation();
    o.minimum = sb->minimum();
    o.maximum = sb->maximum();
    o.pageStep = sb->pageStep();
    if (sb->orientation() == Qt::Horizontal) o.state |= QStyle::State_Horizontal;
    return sb->style()->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarGroove, sb);
}

// A shown column grid of 4 columns and Rows rows (one fixed row and column) with a border and
// both bars.
template <class T = TProColumnGrid>
struct BigGrid : GridWindow<T> {
    explicit BigGrid(int Rows, int W = 300, int H = 250)
        : GridWindow<T>({.Width = W, .Height = H, .Cols = 4, .Rows = Rows, .Border = bsSingle,
                         .WindowMarginX = 20, .WindowMarginY = 20})
    {
        this->ShowFocused();
    }
    int LastTop() const { return this->G->RowCount() - this->G->VisibleRowCount(); }
};

}  // namespace

// ---------------------------------------------------------------- the wheel

TEST(Wheel, SmallStepsAddUpToWholeNotches)
{
    BigGrid<> b(50);
    TProColumnGrid* g = b.G;
    const int lines = QApplication::wheelScrollLines();
    struct Step {
        int delta;
        int row;   // current row after the step
    };
    // turned towards the user (negative) moves down; a turn back starts afresh
    const Step steps[] = {
        {-40, 1}, {-40, 1}, {-40, 1 + lines},        // 40 + 40 + 40: one notch
        {-80, 1 + lines}, {40, 1 + lines},           // 80 down, then back: the 80 is dropped
        {80, 1}, {40, 1},                             // 40 + 80 up: one notch up
        {-240, 1 + 2 * lines},                        // two notches at once
    };
    for (const Step& s : steps) {
        Wheel(g->viewport(), s.delta);
        EXPECT_EQ(g->Row(), s.row) << "after " << s.delta;
    }
}

TEST(Wheel, ScrollActionMovesTheViewAndStopsAtBothEnds)
{
    BigGrid<> b(60);
    TProColumnGrid* g = b.G;
    g->MouseActions()->SetWheelAction(waScroll);
    g->MouseActions()->SetWheelIncrement(7);
    std::vector<int> deltas;
    int wheelDowns = 0;
    g->OnMouseWheelDown = [&](TObject*, TShiftState, const TPoint&, bool&) { ++wheelDowns; };
    Wheel(g->viewport(), -120);
    EXPECT_EQ(g->TopRow(), 8);
    EXPECT_EQ(g->Row(), 1);   // the current row stays
    EXPECT_EQ(wheelDowns, 1);
    for (int i = 0; i < 20; ++i) Wheel(g->viewport(), -120);
    // never past the last full page, and the bar's thumb at its end
    EXPECT_EQ(g->TopRow(), b.LastTop());
    EXPECT_EQ(g->verticalScrollBar()->value(), g->verticalScrollBar()->maximum());
    for (int i = 0; i < 20; ++i) Wheel(g->viewport(), 120);
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(g->Row(), 1);
}

TEST(Wheel, MoveSelectionStaysInTheNormalRowsOfALargeGrid)
{
    BigGrid<> b(100001);
    TProColumnGrid* g = b.G;
    g->SetFixedFooters(1);
    g->MouseActions()->SetWheelIncrement(1000);
    std::vector<int> moves;   // the rows each selection change reports
    g->OnSelectionChanged = [&](TObject*, int, int top, int, int bottom) {
        EXPECT_EQ(top, bottom);
        moves.push_back(top);
    };
    Wheel(g->viewport(), 120);   // up from the first normal row: stays
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(moves.empty());
    g->SetRow(99500);
    moves.clear();
    // the first notch stops at the last normal row, above the footer row; the others find
    // the row at its end and change nothing
    for (int i = 0; i < 3; ++i) {
        Wheel(g->viewport(), -120);
        EXPECT_EQ(g->Row(), 99999) << "notch " << i + 1;
    }
    EXPECT_EQ(moves, std::vector<int>{99999});
    // the view scrolls just far enough to show that row as its last
    EXPECT_EQ(g->TopRow() + g->VisibleRowCount(), 100000);
}

TEST(Wheel, CtrlWheelZoomsWithoutScrolling)
{
    BigGrid<> b(50);
    TProColumnGrid* g = b.G;
    const int w = g->ColWidths(1), h = g->RowHeights(2), lines = QApplication::wheelScrollLines();
    Wheel(g->viewport(), -120, Qt::ControlModifier);
    // the rows grow with the zoom; the columns are then fitted to their cells (empty here:
    // the padding of 4 and the inset)
    (void)w;
    const int fitted = 4 + g->XYOffset().X;
    EXPECT_EQ(g->ColWidths(1), fitted);
    EXPECT_EQ(g->RowHeights(2), h + lines);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->TopRow(), 1);
    // the zoom ends at 10 pixels either way
    for (int i = 0; i < 10; ++i) Wheel(g->viewport(), 120, Qt::ControlModifier);
    EXPECT_GE(g->ZoomFactor(), -10);
    EXPECT_EQ(g->ColWidths(1), fitted);
}

TEST(Wheel, OffOrFixedRowOnlyDoesNothing)
{
    BigGrid<> b(50);
    TProColumnGrid* g = b.G;
    g->SetEnableWheel(false);
    Wheel(g->viewport(), -120);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->TopRow(), 1);
}

// ---------------------------------------------------------------- the ends of a large grid

TEST(LargeGrid, CtrlEndThumbAndHintReachTheLastRow)
{
    BigGrid<> b(100001);
    TProColumnGrid* g = b.G;
    g->SetScrollHints(shVertical);
    QScrollBar* sb = g->verticalScrollBar();
    ASSERT_TRUE(sb->isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(g->Row(), 100000);
    EXPECT_EQ(g->TopRow(), b.LastTop());
    EXPECT_EQ(sb->value(), sb->maximum());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(sb->value(), 0);

    // the thumb dragged to the bottom: the hint names the row under it, and the grid
    // scrolls when the thumb is let go
    const int lastTop = b.LastTop();
    const QPoint from = SliderRect(sb).center();
    QTest::mousePress(sb, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(sb, QPoint(from.x(), sb->height() + 40));
    QApplication::processEvents();
    EXPECT_EQ(g->TopRow(), 1);   // no scrolling while the thumb moves
    ASSERT_TRUE(g->ScrollHintShowing());
    EXPECT_EQ(g->ScrollHintWindow()->Caption(), QStringLiteral("Row : %1").arg(lastTop));
    QTest::mouseRelease(sb, Qt::LeftButton, Qt::NoModifier, QPoint(from.x(), sb->height() + 40));
    QApplication::processEvents();
    EXPECT_EQ(g->TopRow(), lastTop);
    EXPECT_FALSE(g->ScrollHintShowing());
    EXPECT_FALSE(g->ScrollHintWindow()->isVisible());
}

TEST(LargeGrid, ScrollSynchFollowsTheThumbAndTheHintCanBeRewritten)
{
    BigGrid<> b(1001);
    TProColumnGrid* g = b.G;
    g->SetScrollHints(shBoth);
    g->SetScrollSynch(true);
    g->SetColCount(30);
    std::vector<int> asked;
    g->OnScrollHint = [&](TObject*, int r, QString& s) {
        asked.push_back(r);
        s = QStringLiteral("at %1").arg(r);
    };
    // the thumb halfway: row 1 + (1001 - visible - 1) * 64 / 127, shown at once
    g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 64));
    const int expect = MulDiv(64, 1001 - g->VisibleRowCount() - 1, 127) + 1;
    EXPECT_EQ(g->TopRow(), expect);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), expect);
    EXPECT_EQ(g->ScrollHintWindow()->Caption(), QStringLiteral("at %1").arg(expect));
    g->Perform(WM_VSCROLL, MakeWParam(SB_ENDSCROLL, 0));
    EXPECT_FALSE(g->ScrollHintShowing());

    g->OnScrollHint = nullptr;
    g->Perform(WM_HSCROLL, MakeWParam(SB_THUMBTRACK, 127));
    EXPECT_EQ(g->ScrollHintWindow()->Caption(),
              QStringLiteral("Col : %1").arg(30 - g->VisibleColCount()));
    g->Perform(WM_HSCROLL, MakeWParam(SB_ENDSCROLL, 0));
}

// ---------------------------------------------------------------- panning

TEST_F(ShownGridFixture, MiddleButtonPansUntilAClickWhichStillCounts)
{
    G->SetRowCount(60);
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    G->SetIntelliPan(ipBoth);
    const QPoint origin = In(2, 3);
    QTest::mousePress(V(), Qt::MiddleButton, Qt::NoModifier, origin);
    ASSERT_TRUE(G->Panning());
    EXPECT_EQ(G->Cursor(), crPanNeutral);
    EXPECT_EQ(G->PanOrigin(), (TPoint{origin.x(), origin.y()}));
    const int row = G->Row();
    // within the dead zone nothing moves; below it the current cell walks down
    QCursor::setPos(V()->mapToGlobal(origin + QPoint(0, 3)));
    G->Perform(WM_TIMER, 999);
    EXPECT_EQ(G->Row(), row);
    QCursor::setPos(V()->mapToGlobal(origin + QPoint(0, 40)));
    G->Perform(WM_TIMER, 999);
    G->Perform(WM_TIMER, 999);
    EXPECT_EQ(G->Row(), row + 2);
    EXPECT_EQ(G->Cursor(), crPanDown);
    QCursor::setPos(V()->mapToGlobal(origin + QPoint(-40, -40)));
    G->Perform(WM_TIMER, 999);
    EXPECT_EQ(G->Cursor(), crPanUpLeft);
    EXPECT_EQ(G->Row(), row + 1);
    EXPECT_EQ(G->Col(), 1);
    // a left click ends panning and selects the cell it is on
    QTest::mouseClick(V(), Qt::LeftButton, Qt::NoModifier, In(3, 2));
    EXPECT_FALSE(G->Panning());
    EXPECT_EQ(G->Cursor(), crDefault);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 2);

    // with panning off the middle button does not start it
    G->SetIntelliPan(ipNone);
    QTest::mousePress(V(), Qt::MiddleButton, Qt::NoModifier, origin);
    EXPECT_FALSE(G->Panning());
    QTest::mouseRelease(V(), Qt::MiddleButton, Qt::NoModifier, origin);
}

// ---------------------------------------------------------------- stretching and sizing

TEST(Stretch, TheStretchColumnFollowsTheShownWindowsWidth)
{
    struct Case {
        int stretchColumn;   // the setting; -1: the last column
        int cols;
        int stretched;       // the column that fills
    };
    const Case cases[] = {{-1, 4, 3}, {1, 4, 1}, {0, 1, 0}};
    for (const Case& c : cases) {
        QDialog window;
        window.resize(400, 150);
        auto* g = CreateGrid<TProStringGrid>(&window);
        g->SetColCount(c.cols);
        g->SetRowCount(3);
        g->SetBorderStyle(bsNone);
        g->SetSizeWithForm(true);
        g->SetBounds(0, 0, 400, 150);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        g->ColumnSize()->SetStretchColumn(c.stretchColumn);
        g->ColumnSize()->SetStretch(true);
        for (int w : {400, 520, 330}) {
            window.resize(w, 150);
            QApplication::processEvents();
            int others = 0;
            for (int i = 0; i < c.cols; ++i)
                if (i != c.stretched) others += g->ColWidths(i);
            const int expect = c.cols == 1 ? g->ClientWidth() : g->ClientWidth() - others - 1;
            EXPECT_EQ(g->width(), w) << c.stretchColumn;
            EXPECT_EQ(g->ColWidths(c.stretched), expect) << "column " << c.stretched << " at " << w;
        }
        g->Free();
    }
}

TEST(Stretch, ColumnsOutsideTheGridRaiseBeforeAnythingChanges)
{
    QWidget window;
    auto* g = CreateGrid<TProStringGrid>(&window);
    g->SetColCount(3);
    g->ColumnSize()->SetStretch(true);
    const int widths[] = {g->ColWidths(0), g->ColWidths(1), g->ColWidths(2)};
    for (int bad : {3, 7, -2}) {
        try {
            g->StretchColumn(bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Stretch column index out of range"));
        }
        for (int i = 0; i < 3; ++i) EXPECT_EQ(g->ColWidths(i), widths[i]);
    }
    // wider columns than the window: the stretch column falls back to the default width
    g->SetBounds(0, 0, 150, 100);
    g->SetColWidths(0, 200);
    g->StretchColumn(-1);
    EXPECT_EQ(g->ColWidths(2), g->DefaultColWidth());
    g->Free();
}

TEST_F(ShownGridFixture, SizingOneColumnSizesTheOthersInProportionOnce)
{
    G->SetOptions(G->Options() + goColSizing);
    G->MouseActions()->SetAllColumnSize(true);
    std::vector<int> ended;
    G->OnEndColumnSize = [&](TObject*, int c) { ended.push_back(c); };
    // the edge after column 1 from 64 to 96 pixels: every other normal column grows by half
    Move(129, 10);
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, QPoint(129, 10));
    QTest::mouseMove(V(), QPoint(161, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, QPoint(161, 10));
    QApplication::processEvents();
    EXPECT_EQ(G->ColWidths(1), 96);
    for (int c : {2, 3, 4}) EXPECT_EQ(G->ColWidths(c), 96) << c;
    EXPECT_EQ(G->ColWidths(0), 64);   // the fixed column keeps its width
    EXPECT_FALSE(ended.empty());

    // a veto of the new width puts the vetoed width in place
    G->OnUpdateColumnSize = [](TObject*, int, int& w) { w = std::min(w, 100); };
    Move(129 + 32, 10);
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, QPoint(161, 10));
    QTest::mouseMove(V(), QPoint(201, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, QPoint(201, 10));
    QApplication::processEvents();
    EXPECT_EQ(G->ColWidths(1), 100);
}

// ---------------------------------------------------------------- scroll bar settings

TEST(ScrollBars, ProportionalThumbShowsTheShareInView)
{
    BigGrid<TProStringGrid> b(41, 300, 250);
    TProStringGrid* g = b.G;
    QScrollBar* sb = g->verticalScrollBar();
    const int thumbBefore = SliderRect(sb).height();
    g->SetScrollProportional(true);
    QApplication::processEvents();
    // one fixed row and 40 scrolling ones, each with its line: e = (W - F) / S
    const int L = g->GridLineWidth(), h = g->DefaultRowHeight();
    const double e = double(g->Height() - (L + L + h)) / (L + 40 * (L + h));
    const int max = int((e + 127) / (1 - e));
    EXPECT_EQ(sb->pageStep(), max - 126);
    EXPECT_EQ(sb->maximum(), 127);
    const double share = double(SliderRect(sb).height()) / GrooveRect(sb).height();
    EXPECT_NEAR(share, e, 0.05);
    EXPECT_GT(SliderRect(sb).height(), thumbBefore);
    // the thumb still reaches both ends
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(sb->value(), 127);
    EXPECT_EQ(g->TopRow(), b.LastTop());
    // off again: the grid's own thumb
    g->SetScrollProportional(false);
    EXPECT_EQ(SliderRect(sb).height(), thumbBefore);
}

TEST(ScrollBars, AlwaysVisibleBarsAreDisabledWhileAllFits)
{
    BigGrid<TProStringGrid> b(3, 300, 250);
    TProStringGrid* g = b.G;
    g->SetColCount(2);
    QScrollBar* v = g->verticalScrollBar();
    QScrollBar* h = g->horizontalScrollBar();
    EXPECT_FALSE(v->isVisible());
    g->SetScrollBarAlways(saBoth);
    QApplication::processEvents();
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(h->isVisible());
    EXPECT_FALSE(v->isEnabled());
    EXPECT_FALSE(h->isEnabled());
    g->SetRowCount(40);
    QApplication::processEvents();
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(v->isEnabled());
    EXPECT_FALSE(h->isEnabled());
    // back to none: a row count change alone leaves the bar, setting the option hides it
    g->SetScrollBarAlways(saNone);
    g->SetColCount(2);
    h->show();
    g->ShowScrollBar(SB_HORZ, true);
    g->SetRowCount(41);
    EXPECT_TRUE(g->ScrollBarShown(SB_HORZ));
    g->SetScrollBarAlways(saNone);
    EXPECT_FALSE(g->ScrollBarShown(SB_HORZ));
}

TEST(ScrollBars, FlatLooksTakeTheirWidthAndKeepTheBars)
{
    BigGrid<TProStringGrid> b(60, 300, 250);
    TProStringGrid* g = b.G;
    const int client = g->ClientWidth();
    g->SetScrollWidth(30);   // no flat bars yet: nothing changes
    QApplication::processEvents();
    EXPECT_EQ(g->ClientWidth(), client);
    for (TScrollType t : {ssFlat, ssEncarta}) {
        g->SetScrollType(t);
        QApplication::processEvents();
        EXPECT_TRUE(g->FlatScrollBars());
        EXPECT_EQ(g->verticalScrollBar()->width(), 30) << t;
        EXPECT_TRUE(g->verticalScrollBar()->isVisible());
    }
    // a bar the ScrollBars setting does not have is not shown by the flat bars
    g->SetScrollBars(ssVertical);
    g->FlatShowScrollBar(SB_HORZ, true);
    EXPECT_FALSE(g->ScrollBarShown(SB_HORZ));
    g->SetScrollType(ssNormal);
    QApplication::processEvents();
    EXPECT_FALSE(g->FlatScrollBars());
    EXPECT_EQ(g->ClientWidth(), client);
}

// ---------------------------------------------------------------- notifications

TEST_F(ShownGridFixture, EndOfEditingIsReportedOnceTheFocusHasMovedOn)
{
    auto* other = new QLineEdit(&Window);
    other->setGeometry(0, 205, 50, 20);
    other->show();
    G->SetOptions(G->Options() + goEditing);
    G->MouseActions()->SetEditOnDblClickOnly(true);
    std::vector<std::pair<int, int>> done;
    G->OnEditCellDone = [&](TObject*, int c, int r) { done.emplace_back(c, r); };
    int changes = 0;
    G->OnEditChange = [&](TObject*, int, int, const QString&) { ++changes; };
    G->SetCol(2);
    G->SetRow(3);
    QTest::mouseDClick(V(), Qt::LeftButton, Qt::NoModifier, In(2, 3));
    QTest::keyClicks(QApplication::focusWidget(), "ab");
    EXPECT_EQ(changes, 2);   // each typed character reported once
    other->setFocus();
    EXPECT_TRUE(done.empty());   // posted: it comes after the focus change is done
    QApplication::processEvents();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done.back(), std::make_pair(2, 3));
    EXPECT_EQ(G->Cells(2, 3), QStringLiteral("ab"));
    // editing only on a double click: the grid leaves its editing option off
    EXPECT_FALSE(G->Options().Contains(goEditing));
}

// ---------------------------------------------------------------- scrolling while dragging

TEST(DragScroll, ADragNearAnEdgeScrollsAfterTheFirstDelayThenAtTheRepeatDelay)
{
    BigGrid<TProStringGrid> b(200);
    TProStringGrid* g = b.G;
    g->SetTopRow(50);
    QMimeData data;
    data.setText(QStringLiteral("x"));
    auto drag = [&](QPoint p, bool enter = false) {
        if (enter) {
            QDragEnterEvent e(p, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(g->viewport(), &e);
        } else {
            QDragMoveEvent e(p, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(g->viewport(), &e);
        }
    };
    // off: no timer
    drag({100, 20}, true);
    EXPECT_EQ(g->DragScrollTimerObject(), nullptr);

    g->DragScrollOptions()->SetActive(true);
    drag({100, 120});
    EXPECT_EQ(g->DragScrollTimerObject(), nullptr);
    drag({100, 20});   // within the top margin
    ASSERT_NE(g->DragScrollTimerObject(), nullptr);
    EXPECT_EQ(g->DragScrollTimerObject()->interval(), 1000);
    EXPECT_EQ(g->DragScrollDirection(), TDragScrollDirection{dsdUp});
    g->DragScrollTimer(g);
    EXPECT_EQ(g->TopRow(), 49);
    EXPECT_EQ(g->DragScrollTimerObject()->interval(), 0xFA);
    // the application may turn the step
    g->OnDragScroll = [](TObject*, int, int, TDragScrollDirection& dir, bool&) { dir = {dsdDown}; };
    g->DragScrollTimer(g);
    EXPECT_EQ(g->TopRow(), 50);
    g->OnDragScroll = [](TObject*, int, int, TDragScrollDirection&, bool& can) { can = false; };
    g->DragScrollTimer(g);
    EXPECT_EQ(g->TopRow(), 50);
    // back in the middle: the timer goes
    drag({100, 120});
    EXPECT_EQ(g->DragScrollTimerObject(), nullptr);
}
