// The grid's window messages as a derived grid hears them: scroll bars in their own units,
// the wheel in whole notches, paint, frame, child notifications, hints and drags.
#include "platform/core/sysutils.h"
#include "platform/ui/combo_notify.h"
#include "platform/ui/inplace_edit.h"
#include "platform/ui/string_grid.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Records what reaches its window procedure; can answer CM_HINTSHOW and draw a border.
class HookGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<TMessage> Messages;
    std::function<void(THintInfo&, TMessage&)> OnHint;
    TColor Border = clNone;

    void WndProc(TMessage& m) override
    {
        if (m.Msg != WM_SETCURSOR && m.Msg != WM_GETDLGCODE && m.Msg != CM_WANTSPECIALKEY) Messages.push_back(m);
        if (m.Msg == CM_HINTSHOW && OnHint) {
            OnHint(*reinterpret_cast<THintInfo*>(m.LParam), m);
            return;
        }
        TStringGrid::WndProc(m);
        // drawn over the platform's frame, as a grid with a coloured border does
        if (m.Msg == WM_NCPAINT && Border != clNone && NonClientCanvas()) {
            NonClientCanvas()->Pen()->SetColor(Border);
            NonClientCanvas()->Polyline({{0, Height() - 1}, {0, 0}, {Width() - 1, 0}, {Width() - 1, Height() - 1},
                                         {0, Height() - 1}});
        }
    }
    std::vector<TMessage> Of(uint32_t msg) const
    {
        std::vector<TMessage> out;
        for (const TMessage& m : Messages)
            if (m.Msg == msg) out.push_back(m);
        return out;
    }
    using TCustomGrid::UpdateScrollRange;
};

// A shown grid of 40 rows in 400 x 200 pixels without a border: rows are 25 pixels with
// their line, so 7 scrolling rows show under the fixed one and the last top row is 33.
struct MessagesFixture : ::testing::Test, GridWindow<HookGrid> {
    MessagesFixture() : GridWindow({.Rows = 40}) {}
    void SetUp() override
    {
        ShowFocused();
        G->Messages.clear();
    }
    QScrollBar* VBar() const { return G->verticalScrollBar(); }
    // A point on the vertical bar: `fromTop` pixels below its top, or above its bottom
    // when negative.
    QPoint OnBar(int fromTop) const
    {
        return {VBar()->width() / 2, fromTop >= 0 ? fromTop : VBar()->height() + fromTop};
    }
    int ArrowSize() const { return VBar()->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, VBar()); }
    std::vector<int> ScrollCodes() const
    {
        std::vector<int> codes;
        for (const TMessage& m : G->Of(WM_VSCROLL)) codes.push_back(LoWord(m.WParam));
        return codes;
    }
};

TEST_F(MessagesFixture, TheBarClicksArriveAsThePlatformsScrollCodes)
{
    ASSERT_TRUE(VBar()->isVisible());
    int minPos = -1, maxPos = -1;
    G->GetScrollRange(SB_VERT, minPos, maxPos);
    EXPECT_EQ(minPos, 0);
    EXPECT_EQ(maxPos, 127);

    struct Case {
        int Where;   // see OnBar
        int Code;
        int Top;
    } cases[] = {
        {-3, SB_LINEDOWN, 2},                      // the arrow at the bottom
        {-(ArrowSize() + 4), SB_PAGEDOWN, 9},      // the groove under the thumb: a page of 7
        {3, SB_LINEUP, 8},                         // the arrow at the top
    };
    for (const Case& c : cases) {
        G->Messages.clear();
        QTest::mouseClick(VBar(), Qt::LeftButton, Qt::NoModifier, OnBar(c.Where));
        EXPECT_EQ(ScrollCodes(), (std::vector<int>{c.Code, SB_ENDSCROLL})) << c.Code;
        EXPECT_EQ(HiWord(G->Of(WM_VSCROLL).front().WParam), 0) << "no position with " << c.Code;
        EXPECT_EQ(G->TopRow(), c.Top);
        // the thumb stands for the top row on the 0..127 range
        EXPECT_EQ(VBar()->value(), MulDiv(c.Top - 1, 127, 33 - 1));
        EXPECT_EQ(G->GetScrollPos(SB_VERT), VBar()->value());
    }
}

TEST_F(MessagesFixture, ADraggedThumbSendsItsTrackThenItsPosition)
{
    // Dragging the thumb from the top to past the bottom: the grid follows only at the end
    // (no thumb tracking), and the positions are the bar's own.
    G->SetTopRow(1);
    QTest::mousePress(VBar(), Qt::LeftButton, Qt::NoModifier, OnBar(ArrowSize() + 4));
    QTest::mouseMove(VBar(), OnBar(VBar()->height() / 2));
    QTest::mouseMove(VBar(), OnBar(-1));
    EXPECT_EQ(G->TopRow(), 1);
    QTest::mouseRelease(VBar(), Qt::LeftButton, Qt::NoModifier, OnBar(-1));

    std::vector<TMessage> scroll = G->Of(WM_VSCROLL);
    ASSERT_GE(scroll.size(), 3u);
    EXPECT_EQ(LoWord(scroll[0].WParam), SB_THUMBTRACK);
    EXPECT_EQ(LoWord(scroll[scroll.size() - 3].WParam), SB_THUMBTRACK);
    EXPECT_EQ(HiWord(scroll[scroll.size() - 3].WParam), 127);
    EXPECT_EQ(LoWord(scroll[scroll.size() - 2].WParam), SB_THUMBPOSITION);
    EXPECT_EQ(HiWord(scroll[scroll.size() - 2].WParam), 127);
    EXPECT_EQ(LoWord(scroll.back().WParam), SB_ENDSCROLL);
    EXPECT_EQ(G->TopRow(), 33);

    // with thumb tracking the grid follows the drag
    G->SetOptions(G->Options() + goThumbTracking);
    G->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 64));
    EXPECT_EQ(G->TopRow(), 1 + MulDiv(64, 32, 127));
}

TEST_F(MessagesFixture, ARangeTheDerivedGridSetsIsKept)
{
    // A proportional thumb: range 0..300 with a page of 174 leaves positions 0..127.
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = 300;
    si.nPage = 174;
    G->SetScrollInfo(SB_VERT, si);

    G->SetRowCount(60);
    G->SetColWidths(1, 80);
    G->SetBounds(0, 0, 400, 260);
    G->UpdateScrollRange();
    TScrollInfo now;
    now.fMask = SIF_ALL;
    G->GetScrollInfo(SB_VERT, now);
    EXPECT_EQ(now.nMin, 0);
    EXPECT_EQ(now.nMax, 300);
    EXPECT_EQ(now.nPage, 174u);
    EXPECT_EQ(VBar()->maximum(), 127);
    EXPECT_EQ(VBar()->pageStep(), 174);

    // the thumb dragged to the end reports 127, the end of this range, not a row
    G->Messages.clear();
    QTest::mousePress(VBar(), Qt::LeftButton, Qt::NoModifier, OnBar(ArrowSize() + 10));
    QTest::mouseMove(VBar(), OnBar(-1));
    QTest::mouseRelease(VBar(), Qt::LeftButton, Qt::NoModifier, OnBar(-1));
    std::vector<TMessage> scroll = G->Of(WM_VSCROLL);
    ASSERT_GE(scroll.size(), 2u);
    EXPECT_EQ(LoWord(scroll[scroll.size() - 2].WParam), SB_THUMBPOSITION);
    EXPECT_EQ(HiWord(scroll[scroll.size() - 2].WParam), 127);
    const int lastTop = G->TopRow();
    EXPECT_EQ(lastTop, 60 - 9);   // 9 rows of 25 under the fixed one in 260 pixels
    EXPECT_EQ(G->GetScrollPos(SB_VERT), 127);

    // handed back, the grid's own range returns
    G->ReleaseScrollRange(SB_VERT);
    int minPos = -1, maxPos = -1;
    G->GetScrollRange(SB_VERT, minPos, maxPos);
    EXPECT_EQ(maxPos, 127);
    EXPECT_EQ(VBar()->pageStep(), 0);
}

TEST_F(MessagesFixture, TheBarKeepsInStepWithTopRowSetByCode)
{
    G->SetTopRow(39);   // further than the bar's last row, 33
    EXPECT_EQ(G->TopRow(), 39);
    EXPECT_EQ(VBar()->value(), VBar()->maximum());
    EXPECT_EQ(G->GetScrollPos(SB_VERT), 127);
    // from there the thumb maps onto rows 1..39, and a line down goes no further
    G->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0));
    EXPECT_EQ(G->TopRow(), 39);
    G->Perform(WM_VSCROLL, MakeWParam(SB_LINEUP, 0));
    EXPECT_EQ(G->TopRow(), 38);
    G->SetTopRow(17);
    EXPECT_EQ(G->GetScrollPos(SB_VERT), 64);   // 16 / 32 of the way, halves rounded up
    EXPECT_EQ(VBar()->value(), 64);
}

TEST_F(MessagesFixture, ABarShownByTheDerivedGridStaysUntilTheNeedChanges)
{
    G->SetRowCount(5);   // everything fits
    ASSERT_FALSE(G->ScrollBarShown(SB_VERT));
    G->Messages.clear();
    G->ShowScrollBar(SB_VERT, true);
    G->EnableScrollBar(SB_VERT, ESB_DISABLE_BOTH);
    EXPECT_TRUE(VBar()->isVisible());
    EXPECT_FALSE(VBar()->isEnabled());
    EXPECT_EQ(G->Of(WM_SIZE).size(), 1u);   // the client area shrank
    G->SetColWidths(1, 90);
    G->UpdateScrollRange();
    EXPECT_TRUE(G->ScrollBarShown(SB_VERT));
    // rows that need the bar, then fit again: the grid decides again
    G->SetRowCount(40);
    G->SetRowCount(5);
    EXPECT_FALSE(G->ScrollBarShown(SB_VERT));
}

// The wheel over the grid, with `delta` in eighths of a degree (120 = one notch).
void Wheel(QWidget* target, int delta)
{
    QWheelEvent e(QPointF(100, 100), target->mapToGlobal(QPointF(100, 100)), QPoint(0, delta / 8), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::ScrollUpdate, false);
    QApplication::sendEvent(target, &e);
}

// Counts the wheel events that reach it.
class WheelParent : public QWidget {
public:
    int Wheels = 0;

protected:
    void wheelEvent(QWheelEvent* e) override
    {
        ++Wheels;
        e->accept();
    }
};

TEST(GridWheel, SmallStepsAddUpToWholeNotchesOfTheDesktopsLines)
{
    WheelParent parent;
    auto* g = CreateGrid<HookGrid>(&parent);
    g->SetBorderStyle(bsNone);
    g->SetRowCount(60);
    parent.resize(400, 200);
    g->SetBounds(0, 0, 400, 200);
    parent.show();
    const int saved = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(2);
    g->FocusCell(1, 10, true);

    for (int i = 0; i < 10; ++i) Wheel(g->viewport(), -30);   // a touchpad: 2.5 notches down
    std::vector<TMessage> wheel = g->Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(HiSigned(wheel[0].WParam), -WHEEL_DELTA);
    EXPECT_EQ(g->Row(), 14);
    EXPECT_EQ(parent.Wheels, 0);

    // turning back forgets the half notch left over
    Wheel(g->viewport(), 90);
    EXPECT_EQ(g->Row(), 14);
    Wheel(g->viewport(), 30);
    EXPECT_EQ(g->Row(), 12);
    EXPECT_EQ(parent.Wheels, 0);

    // over the scroll bar the same
    Wheel(g->verticalScrollBar(), -120);
    EXPECT_EQ(g->Row(), 14);
    EXPECT_EQ(parent.Wheels, 0);
    QApplication::setWheelScrollLines(saved);
}

TEST_F(MessagesFixture, PaintFrameDestroyAndWindowNotificationsReachTheWindowProcedure)
{
    // paint: the cells through WM_PAINT, the frame through WM_NCPAINT with a border the
    // grid draws itself
    G->SetBorderStyle(bsSingle);
    G->Border = clRed;
    G->Messages.clear();
    QImage shot = G->grab().toImage();
    EXPECT_FALSE(G->Of(WM_PAINT).empty());
    EXPECT_FALSE(G->Of(WM_NCPAINT).empty());
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(G->width() - 1, G->height() / 2), QColor(Qt::red));

    // the window of the grid becomes active again while the grid has the focus
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    G->Messages.clear();
    QApplication::setActiveWindow(&Window);
    EXPECT_EQ(G->Of(CM_UIACTIVATE).size(), 1u);

    // a change of look
    std::unique_ptr<QStyle> style(QStyleFactory::create(QStringLiteral("Windows")));
    G->setStyle(style.get());
    EXPECT_FALSE(G->Of(WM_THEMECHANGED).empty());
    G->setStyle(nullptr);

    // the end of the window, heard while the grid is whole
    std::vector<uint32_t> heard;
    struct Last : HookGrid {
        using HookGrid::HookGrid;
        std::vector<uint32_t>* Out = nullptr;
        void WndProc(TMessage& m) override
        {
            if (Out) Out->push_back(m.Msg);
            HookGrid::WndProc(m);
        }
    };
    auto* last = CreateGrid<Last>(&Window);
    last->Out = &heard;
    last->Free();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), WM_DESTROY), 1);
}

TEST_F(MessagesFixture, EditorAndComboChangesArriveAsCommands)
{
    G->SetOptions(G->Options() + goEditing);
    G->FocusCell(2, 3, true);
    QTest::keyClick(G, Qt::Key_F2);
    TInplaceEdit* editor = G->InplaceEditor();
    ASSERT_TRUE(editor && editor->isVisible());
    G->Messages.clear();
    QTest::keyClicks(editor, "ab");
    std::vector<TMessage> commands = G->Of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(HiWord(commands[0].WParam), EN_CHANGE);
    EXPECT_EQ(commands[0].LParam, reinterpret_cast<intptr_t>(static_cast<QWidget*>(editor)));
    EXPECT_EQ(G->Cells(2, 3), QStringLiteral("ab"));   // handed back, the edit still writes its cell
    QTest::keyClick(editor, Qt::Key_Return);

    auto* combo = new QComboBox(G->viewport());
    combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
    ConnectComboNotifications(combo);
    combo->show();
    combo->setFocus();
    G->Messages.clear();
    QTest::keyClick(combo, Qt::Key_Down);   // the user picks the next item
    combo->setCurrentIndex(0);              // code does: no notification
    combo->showPopup();
    combo->hidePopup();
    combo->setEditable(true);
    QTest::keyClicks(combo->lineEdit(), "x");
    std::vector<int> codes;
    for (const TMessage& m : G->Of(WM_COMMAND)) {
        EXPECT_EQ(m.LParam, reinterpret_cast<intptr_t>(static_cast<QWidget*>(combo)));
        codes.push_back(HiWord(m.WParam));
    }
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELCHANGE, CBN_DROPDOWN, CBN_CLOSEUP, CBN_EDITCHANGE}));
}

TEST_F(MessagesFixture, TheHintIsAskedForAndCanBeRefusedOrCancelled)
{
    auto hover = [&](QPoint p) {
        QTest::mouseMove(G->viewport(), p);
        QHelpEvent tip(QEvent::ToolTip, p, G->viewport()->mapToGlobal(p));
        QApplication::sendEvent(G->viewport(), &tip);
    };
    G->SetShowHint(true);
    G->SetHint(QStringLiteral("grid"));

    // the grid changes the text and keeps the hint to the cell under the mouse
    G->OnHint = [&](THintInfo& info, TMessage& m) {
        EXPECT_EQ(info.HintStr, QStringLiteral("grid"));
        TGridCoord c = G->MouseCoord(info.CursorPos.X, info.CursorPos.Y);
        info.HintStr = QStringLiteral("cell %1,%2").arg(c.X).arg(c.Y);
        info.CursorRect = G->CellRect(c.X, c.Y);
        m.Result = 0;
    };
    hover({70, 30});
    ASSERT_EQ(G->Of(CM_HINTSHOW).size(), 1u);
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("cell 1,1"));
    QTest::mouseMove(G->viewport(), {80, 35});   // same cell
    EXPECT_NE(ShownHintWindow(), nullptr);
    QTest::mouseMove(G->viewport(), {140, 35});   // the next cell
    EXPECT_EQ(ShownHintWindow(), nullptr);

    // a non-zero answer shows nothing
    G->OnHint = [](THintInfo&, TMessage& m) { m.Result = 1; };
    hover({70, 30});
    EXPECT_EQ(ShownHintWindow(), nullptr);

    // the application takes a shown hint down, and so does a click
    G->OnHint = nullptr;
    hover({70, 30});
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("grid"));
    CancelHint();
    EXPECT_EQ(ShownHintWindow(), nullptr);
    hover({70, 30});
    QTest::mousePress(G->viewport(), Qt::LeftButton, Qt::NoModifier, {70, 30});
    QTest::mouseRelease(G->viewport(), Qt::LeftButton, Qt::NoModifier, {70, 30});
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(MessagesFixture, DragsOverTheGridAreReportedWhetherTakenOrNot)
{
    std::vector<std::tuple<TDragState, int, int>> seen;
    bool take = false;
    G->OnDragOver = [&](TObject*, TObject*, int x, int y, TDragState state, bool& accept) {
        seen.emplace_back(state, x, y);
        accept = take;
    };
    QMimeData data;
    data.setText(QStringLiteral("x"));
    QDragEnterEvent enter(QPoint(10, 190), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(G->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());   // the moves keep coming ...
    QDragMoveEvent move(QPoint(12, 195), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(G->viewport(), &move);
    EXPECT_FALSE(move.isAccepted());   // ... but it may not drop here
    take = true;
    QDragMoveEvent move2(QPoint(12, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(G->viewport(), &move2);
    EXPECT_TRUE(move2.isAccepted());
    QDragLeaveEvent leave;
    QApplication::sendEvent(G->viewport(), &leave);
    using S = std::tuple<TDragState, int, int>;
    EXPECT_EQ(seen, (std::vector<S>{S{dsDragEnter, 10, 190}, S{dsDragMove, 12, 195}, S{dsDragMove, 12, 100},
                                    S{dsDragLeave, -1, -1}}));
}

TEST(GridCursors, TheGridsOwnShapesAndTheScreenCursor)
{
    // every cursor of the grid's own numbers is drawn, and no two alike
    std::vector<QImage> seen;
    for (TCursor c = crPanNeutral; c <= crSelectAll; ++c) {
        QCursor cur = CursorOf(c);
        if (c == crGridHand) {
            EXPECT_EQ(cur.shape(), Qt::PointingHandCursor);
            continue;
        }
        ASSERT_EQ(cur.shape(), Qt::BitmapCursor) << c;
        QImage img = cur.pixmap().toImage();
        EXPECT_EQ(img.size(), QSize(32, 32));
        for (const QImage& other : seen) EXPECT_NE(img, other) << c;
        seen.push_back(img);
    }
    EXPECT_EQ(CursorOf(8099).shape(), Qt::ArrowCursor);

    Screen()->SetCursor(crDrag);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    Screen()->SetCursor(crNoDrop);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    Screen()->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
