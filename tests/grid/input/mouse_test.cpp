// The mouse buttons on a shown string grid, driven as a user drives them.
#include "support/shown_grid.h"
#include "platform/ui/url_opener.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

struct MouseFixture : ShownGridFixture {
    void Click(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Move(x, y);
        QTest::mouseClick(V(), b, m, QPoint(x, y));
    }
    void Drag(QPoint from, QPoint to)
    {
        Move(from.x(), from.y());
        QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(V(), to);
        QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, to);
    }
    QImage Screen()
    {
        QApplication::processEvents();
        return Window.screen()->grabWindow(Window.winId()).toImage().copy(0, 0, 400, 200).convertToFormat(
            QImage::Format_RGB32);
    }
};

}  // namespace

TEST_F(MouseFixture, ClicksSelectCellsAndShiftExtendsTheRange)
{
    std::vector<std::pair<int, int>> clicked;
    G->OnClickCell = [&](TObject*, int row, int col) { clicked.emplace_back(row, col); };
    int changes = 0;
    G->OnSelectionChanged = [&](TObject*, int, int, int, int) { ++changes; };
    Click(In(2, 3).x(), In(2, 3).y());
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 3);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], std::make_pair(3, 2));   // row first
    EXPECT_EQ(changes, 1);

    Click(In(4, 5).x(), In(4, 5).y(), Qt::ShiftModifier);
    EXPECT_EQ(G->Selection(), (TGridRect{2, 3, 4, 5}));
    // clicking the same cell again changes nothing
    changes = 0;
    Click(In(1, 1).x(), In(1, 1).y());
    Click(In(1, 1).x(), In(1, 1).y());
    EXPECT_EQ(changes, 1);
}

TEST_F(MouseFixture, CtrlClicksGatherDisjunctCells)
{
    G->MouseActions()->SetDisjunctCellSelect(true);
    Click(In(1, 1).x(), In(1, 1).y());
    Click(In(3, 2).x(), In(3, 2).y(), Qt::ControlModifier);
    Click(In(2, 4).x(), In(2, 4).y(), Qt::ControlModifier);
    EXPECT_EQ(G->SelectedCellsCount(), 3);
    EXPECT_TRUE(G->IsSelected(3, 2));
    EXPECT_TRUE(G->IsSelected(2, 4));
    // Ctrl on a gathered cell takes it out; a plain click starts afresh
    Click(In(3, 2).x(), In(3, 2).y(), Qt::ControlModifier);
    EXPECT_FALSE(G->IsSelected(3, 2));
    Click(In(4, 4).x(), In(4, 4).y());
    EXPECT_EQ(G->SelectedCellsCount(), 1);
    EXPECT_TRUE(G->IsSelected(4, 4));
}

TEST_F(MouseFixture, FixedCellsSelectWholeRowsAndColumns)
{
    G->MouseActions()->SetRowSelect(true);
    G->MouseActions()->SetColSelect(true);
    // a press on the fixed column selects the row; dragging down it takes more rows
    Drag(In(0, 2), In(0, 4));
    EXPECT_EQ(G->Selection(), (TGridRect{1, 2, 4, 4}));
    // a press on the fixed row selects the column
    Click(In(3, 0).x(), In(3, 0).y());
    EXPECT_EQ(G->Selection(), (TGridRect{3, 1, 3, 5}));
    // Shift extends from where the column selection stood
    Click(In(1, 0).x(), In(1, 0).y(), Qt::ShiftModifier);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 3, 5}));
    // without the settings, a fixed cell selects nothing
    G->MouseActions()->SetRowSelect(false);
    Click(In(0, 5).x(), In(0, 5).y());
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 3, 5}));
}

TEST_F(MouseFixture, DisjunctRowsFlagAndUnflagWithCtrl)
{
    G->MouseActions()->SetDisjunctRowSelect(true);
    Click(In(2, 2).x(), In(2, 2).y());
    Click(In(2, 4).x(), In(2, 4).y(), Qt::ControlModifier);
    EXPECT_TRUE(G->GetRowSelect(2));
    EXPECT_TRUE(G->GetRowSelect(4));
    Click(In(2, 2).x(), In(2, 2).y(), Qt::ControlModifier);
    EXPECT_FALSE(G->GetRowSelect(2));
    EXPECT_TRUE(G->GetRowSelect(4));
    // a plain click starts afresh
    Click(In(1, 5).x(), In(1, 5).y());
    EXPECT_FALSE(G->GetRowSelect(4));
    EXPECT_TRUE(G->GetRowSelect(5));
}

TEST_F(MouseFixture, ClickOnACheckBoxTogglesItWhenTheCellMayBeEdited)
{
    G->AddCheckBox(2, 2, false, false);
    std::vector<std::tuple<int, int, bool>> clicks;
    G->OnCheckBoxClick = [&](TObject*, int c, int r, bool s) { clicks.emplace_back(c, r, s); };
    const TRect cr = G->CellRect(2, 2);
    const QPoint glyph(cr.Left + 9, cr.Top + 9);
    // no goEditing: nothing happens
    Click(glyph.x(), glyph.y());
    bool state = true;
    G->GetCheckBoxState(2, 2, state);
    EXPECT_FALSE(state);
    EXPECT_TRUE(clicks.empty());

    G->SetOptions(G->Options() + goEditing);
    Click(glyph.x(), glyph.y());
    G->GetCheckBoxState(2, 2, state);
    EXPECT_TRUE(state);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_tuple(2, 2, true));
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 2);

    // always active check boxes react without the edit permission; a data check box flips
    // its text between the check texts
    G->SetOptions(G->Options() - goEditing);
    G->ControlLook()->SetCheckAlwaysActive(true);
    G->AddCheckBox(3, 3, false, true);
    G->SetCells(3, 3, G->CheckFalse());
    const TRect dr = G->CellRect(3, 3);
    Click(dr.Left + 9, dr.Top + 9);
    EXPECT_EQ(G->Cells(3, 3), G->CheckTrue());
    Click(dr.Left + 9, dr.Top + 9);
    EXPECT_EQ(G->Cells(3, 3), G->CheckFalse());
}

TEST_F(MouseFixture, SizingAColumnByDragShowsTheLineAndReportsTheWidth)
{
    G->SetOptions(G->Options() + goColSizing + goRowSizing);
    std::vector<std::pair<int, int>> sizing;
    G->OnColumnSizing = [&](TObject*, int c, int w) { sizing.emplace_back(c, w); };
    G->SetHintShowSizing(true);
    const QImage before = Screen();
    Move(129, 10);   // on the line after column 1, within the fixed row
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, QPoint(129, 10));
    ASSERT_EQ(G->GridState(), gsColSizing);
    QTest::mouseMove(V(), QPoint(145, 10));
    // a dotted line down the grid at the new edge
    const QImage during = Screen();
    int changed = 0;
    for (int y = 0; y < 150; ++y) changed += during.pixel(144, y) != before.pixel(144, y);
    EXPECT_GT(changed, 20);
    ASSERT_FALSE(sizing.empty());
    EXPECT_EQ(sizing.back(), std::make_pair(1, 80));
    EXPECT_TRUE(G->ScrollHintShowing());
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, QPoint(145, 10));
    EXPECT_EQ(G->ColWidths(1), 80);
    EXPECT_FALSE(G->ScrollHintShowing());

    // a row by its bottom edge in the fixed column
    Drag({10, 45}, {10, 55});
    EXPECT_EQ(G->RowHeights(1), 32);
}

TEST_F(MouseFixture, FixedColumnSizedFromItsEdgeInTheBody)
{
    G->MouseActions()->SetSizeFixedCol(true);
    std::vector<int> ended;
    G->OnEndColumnSize = [&](TObject*, int c) { ended.push_back(c); };
    const QImage before = Screen();
    Move(65, 80);   // the fixed column's right edge, in a normal row
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, QPoint(65, 80));
    QTest::mouseMove(V(), QPoint(90, 80));
    const QImage during = Screen();
    int changed = 0;
    for (int y = 0; y < 150; ++y) changed += during.pixel(90, y) != before.pixel(90, y);
    EXPECT_GT(changed, 20);
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 80));
    EXPECT_EQ(G->ColWidths(0), 90);
    EXPECT_EQ(ended, std::vector<int>{0});
    // the line is gone with the release
    EXPECT_EQ(Screen(), V()->grab().toImage().convertToFormat(QImage::Format_RGB32));
    // the current cell did not move
    EXPECT_EQ(G->Col(), 1);
}

TEST_F(MouseFixture, DoubleAndRightClicksReportTheCellRowFirst)
{
    std::vector<std::pair<int, int>> dbl, right;
    std::vector<QString> order;
    G->OnDblClick = [&](TObject*) { order.push_back(QStringLiteral("platform")); };
    G->OnDblClickCell = [&](TObject*, int r, int c) {
        dbl.emplace_back(r, c);
        order.push_back(QStringLiteral("cell"));
    };
    G->OnRightClickCell = [&](TObject*, int r, int c) { right.emplace_back(r, c); };
    Move(In(3, 2).x(), In(3, 2).y());
    QTest::mouseDClick(V(), Qt::LeftButton, Qt::NoModifier, In(3, 2));
    ASSERT_EQ(dbl.size(), 1u);
    EXPECT_EQ(dbl[0], std::make_pair(2, 3));
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("platform"), QStringLiteral("cell")}));

    const int row = G->Row();
    Click(In(1, 4).x(), In(1, 4).y(), Qt::NoModifier, Qt::RightButton);
    ASSERT_EQ(right.size(), 1u);
    EXPECT_EQ(right[0], std::make_pair(4, 1));
    // a right click selects only when asked to
    EXPECT_EQ(G->Row(), row);
    G->MouseActions()->SetSelectOnRightClick(true);
    Click(In(4, 5).x(), In(4, 5).y(), Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(G->Col(), 4);
    EXPECT_EQ(G->Row(), 5);
}

TEST_F(MouseFixture, DoubleClickOpensTheEditorOnlyWhereEditingStartsByDoubleClick)
{
    G->MouseActions()->SetEditOnDblClickOnly(true);
    Click(In(2, 2).x(), In(2, 2).y());
    EXPECT_FALSE(G->EditorMode());
    QTest::mouseDClick(V(), Qt::LeftButton, Qt::NoModifier, In(2, 2));
    EXPECT_TRUE(G->Options().Contains(goEditing));
    EXPECT_TRUE(G->EditorMode());
}

TEST_F(MouseFixture, FixedCellEditorOpensOnTheClickItWasSetFor)
{
    G->SetCells(2, 0, QStringLiteral("Head"));
    G->MouseActions()->SetFixedRowsEdit(fceRightClick);
    Click(In(2, 0).x(), In(2, 0).y());
    EXPECT_FALSE(G->FixedCellEdit()->isVisible());
    Click(In(2, 0).x(), In(2, 0).y(), Qt::NoModifier, Qt::RightButton);
    auto* edit = G->FixedCellEdit();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), QStringLiteral("Head"));
    // a listener may refuse
    edit->hide();
    G->OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
    G->MouseActions()->SetFixedRowsEdit(fceLeftClick);
    Click(In(3, 0).x(), In(3, 0).y());
    EXPECT_FALSE(edit->isVisible());
}

TEST_F(MouseFixture, HeaderClicksChooseTheSortColumnAndDirection)
{
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetUndoSort(true);
    std::vector<int> sorted;
    G->OnClickSort = [&](TObject*, int c) { sorted.push_back(c); };
    Click(In(2, 0).x(), In(2, 0).y());
    EXPECT_EQ(G->SortSettings()->Column(), 2);
    EXPECT_EQ(G->SortSettings()->Direction(), sdAscending);
    Click(In(2, 0).x(), In(2, 0).y());
    EXPECT_EQ(G->SortSettings()->Direction(), sdDescending);
    Click(In(2, 0).x(), In(2, 0).y());
    EXPECT_EQ(G->SortSettings()->Column(), -1);
    EXPECT_EQ(sorted, (std::vector<int>{2, 2, -1}));
    // a refusal, and a sizing press on a header edge, sort nothing
    G->OnCanSort = [](TObject*, int, bool& doSort) { doSort = false; };
    Click(In(3, 0).x(), In(3, 0).y());
    G->OnCanSort = nullptr;
    G->SetOptions(G->Options() + goColSizing);
    Click(129, 10);
    EXPECT_EQ(sorted.size(), 3u);
}

TEST(AnchorTarget, OnlyWebAndMailAddressesLeaveTheGrid)
{
    struct Case {
        const char* Anchor;
        TProStringGrid::TAnchorTarget Target;
    };
    const Case cases[] = {
        {"http://example.com/a", TProStringGrid::atBrowser},
        {"HTTPS://example.com", TProStringGrid::atBrowser},
        {"mailto:someone@example.com", TProStringGrid::atBrowser},
        {"cell://R3C2", TProStringGrid::atCell},
        {"file:///etc/passwd", TProStringGrid::atEventOnly},
        {"/usr/bin/xterm", TProStringGrid::atEventOnly},
        {"C:\\Windows\\notepad.exe", TProStringGrid::atEventOnly},
        {"javascript:alert(1)", TProStringGrid::atEventOnly},
        {"http:relative", TProStringGrid::atEventOnly},
        {"http://", TProStringGrid::atEventOnly},
        {"mailto:", TProStringGrid::atEventOnly},
        {"smb://server/share", TProStringGrid::atEventOnly},
        {"", TProStringGrid::atEventOnly},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TProStringGrid::AnchorTarget(QString::fromUtf8(c.Anchor)), c.Target) << c.Anchor;
}

TEST_F(MouseFixture, ClickedLinksOpenOnlyWebAddressesAndCellLinksMoveTheCurrentCell)
{
    std::vector<QString> opened;
    UrlOpenHandler keep = SetUrlOpenHandler([&](const QString& u) {
        opened.push_back(u);
        return true;
    });
    G->SetURLShow(true);
    std::vector<QString> events;
    G->OnAnchorClick = [&](TObject*, int, int, const QString& a, bool&) { events.push_back(a); };
    G->SetCells(1, 1, QStringLiteral("http://example.com"));
    G->SetCells(2, 1, QStringLiteral("file:///bin/sh"));
    Click(In(1, 1).x(), In(1, 1).y());
    Click(In(2, 1).x(), In(2, 1).y());
    EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("http://example.com")});
    EXPECT_EQ(events.size(), 2u);
    // the listener may keep the link from being followed
    G->OnAnchorClick = [](TObject*, int, int, const QString&, bool& autoHandle) { autoHandle = false; };
    Click(In(1, 1).x(), In(1, 1).y());
    EXPECT_EQ(opened.size(), 1u);
    SetUrlOpenHandler(keep);
}
