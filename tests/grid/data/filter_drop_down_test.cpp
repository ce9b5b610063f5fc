// The filter row's drop-down (its list of a column's values, picked by mouse and keys), the
// fixed cells' drop-down button, and the row keys of a filtered grid.
#include "grid/control/pro_column_grid.h"
#include "support/grid_window.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A shown column grid: a header row and five data rows whose column 2 holds b, a, "a b", b, c.
struct DropDownFixture : ::testing::Test, GridWindow<TProColumnGrid> {
    DropDownFixture() : GridWindow({.Cols = 5, .Rows = 6, .ScrollBars = ssNone}) {}
    void SetUp() override
    {
        const char* values[] = {"b", "a", "a b", "b", "c"};
        for (int r = 1; r <= 5; ++r) {
            G->SetCells(0, r, QStringLiteral("r%1").arg(r));
            G->SetCells(2, r, QString::fromUtf8(values[r - 1]));
        }
        G->SetFilterDropDownAuto(true);
        // As a grid read from its form: the fixed row count is recorded, and a choice that
        // keeps the header row fixed keeps that count.
        G->Loaded();
        ShowFocused();
    }
    QWidget* V() const { return G->viewport(); }
    // A release on the glyph at the right of the header cell of column c.
    void ClickGlyph(int c)
    {
        const TRect cr = G->CellRect(c, 0);
        QTest::mouseClick(V(), Qt::LeftButton, {}, QPoint(cr.Right - 8, cr.Top + 6));
        QApplication::processEvents();
    }
    QListWidget* Open() const
    {
        for (QListWidget* l : {static_cast<QListWidget*>(G->DropList()), static_cast<QListWidget*>(G->DropCheckList())})
            if (l->isVisible()) return l;
        return nullptr;
    }
    QStringList Items(QListWidget* l) const
    {
        QStringList out;
        for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
        return out;
    }
    void ClickItem(QListWidget* l, int i)
    {
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(i)).center());
        QApplication::processEvents();
    }
    QString Shown() const
    {
        QStringList k;
        for (int r = 1; r < G->RowCount(); ++r) k << G->Cells(0, r);
        return k.join(QLatin1Char(' '));
    }
};

}  // namespace

TEST_F(DropDownFixture, AClickOnTheGlyphOpensTheColumnsValuesAndAClickOnOnePicksIt)
{
    ClickGlyph(2);
    QListWidget* l = Open();
    ASSERT_EQ(l, G->DropList());
    EXPECT_EQ(Items(l), (QStringList{"(All)", "a", "a b", "b", "c"}));
    EXPECT_EQ(l->currentRow(), 0);
    EXPECT_TRUE(l->hasFocus());
    const TRect cr = G->CellRect(2, 0);
    EXPECT_EQ(l->geometry(), QRect(cr.Right - 16, cr.Top + 16, 150, 150));
    EXPECT_EQ(G->FilterCol(), 2);

    ClickItem(l, 2);
    EXPECT_FALSE(l->isVisible());
    EXPECT_EQ(G->FilterCol(), -1);
    EXPECT_TRUE(G->FilterActive());
    EXPECT_EQ(Shown(), "r3");
    EXPECT_EQ(G->Filter()->GetColFilter(2)->Condition(), QStringLiteral("a b"));
    EXPECT_EQ(G->Filter()->GetColFilter(2)->Method(), fmLiteral);

    // Another value replaces the column's condition; "(All)" removes it.
    ClickGlyph(2);
    ClickItem(Open(), 3);
    EXPECT_EQ(Shown(), "r1 r4");
    ClickGlyph(2);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Items(Open()).size(), 5);  // the hidden rows' values are offered too
    ClickItem(Open(), 0);
    EXPECT_EQ(Shown(), "r1 r2 r3 r4 r5");
    EXPECT_FALSE(G->Filter()->HasFilter(2));
}

TEST_F(DropDownFixture, APickedValueFiltersForExactlyThatTextInBothLists)
{
    // Texts that read as conditions of the filter language when taken as expressions.
    const char* values[] = {"R&D", "(p)", ">5", "!no", "a=b"};
    for (int r = 1; r <= 5; ++r) G->SetCells(3, r, QString::fromUtf8(values[r - 1]));
    for (bool check : {false, true}) {
        G->SetFilterDropDownCheck(check);
        for (int r = 1; r <= 5; ++r) {
            const QString v = QString::fromUtf8(values[r - 1]);
            G->SetFilterActive(false);
            G->Filter()->Clear();
            ClickGlyph(3);
            QListWidget* l = Open();
            ASSERT_TRUE(l) << v.toStdString();
            const QList<QListWidgetItem*> found = l->findItems(v, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << v.toStdString() << " offered as " << Items(l).join('|').toStdString();
            if (check) {
                l->setCurrentItem(found[0]);
                QTest::keyClick(l, Qt::Key_Space);
                EXPECT_EQ(found[0]->checkState(), Qt::Checked);
                QTest::keyClick(l, Qt::Key_Escape);
            } else {
                ClickItem(l, l->row(found[0]));
            }
            EXPECT_EQ(Shown(), QStringLiteral("r%1").arg(r)) << v.toStdString() << (check ? " ticked" : " picked");
        }
    }
    // A reopened check list shows the tick of the literal value.
    ClickGlyph(3);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Open()->findItems(QStringLiteral("a=b"), Qt::MatchExactly).value(0)->checkState(), Qt::Checked);
}

TEST_F(DropDownFixture, KeysPickCloseAndTickAndAClickElsewhereClosesTheList)
{
    ClickGlyph(2);
    QListWidget* l = Open();
    ASSERT_TRUE(l);
    QTest::keyClick(l, Qt::Key_Escape);
    EXPECT_FALSE(l->isVisible());
    EXPECT_EQ(G->FilterCol(), -1);
    EXPECT_EQ(G->FilterLevel(), 0);

    // A second click on the same glyph closes the list it opened.
    ClickGlyph(2);
    ASSERT_TRUE(Open());
    ClickGlyph(2);
    EXPECT_FALSE(Open());
    EXPECT_EQ(G->FilterCol(), -1);

    ClickGlyph(2);
    l = Open();
    QTest::keyClick(l, Qt::Key_Down);
    QTest::keyClick(l, Qt::Key_Return);
    EXPECT_FALSE(l->isVisible());
    EXPECT_EQ(Shown(), "r2");

    // The check list: ticks join with "or"; a reopened list shows the ticks.
    G->SetFilterDropDownCheck(true);
    ClickGlyph(2);
    l = Open();
    ASSERT_EQ(l, G->DropCheckList());
    // "a" comes ticked: it is the column's condition.
    EXPECT_EQ(l->item(1)->checkState(), Qt::Checked);
    l->setCurrentRow(4);
    QTest::keyClick(l, Qt::Key_Space);
    EXPECT_TRUE(l->isVisible());
    EXPECT_EQ(Shown(), "r2 r5");
    l->setCurrentRow(2);
    QTest::keyClick(l, Qt::Key_Space);
    EXPECT_EQ(Shown(), "r2 r3 r5");
    ASSERT_EQ(G->Filter()->Count(), 3);
    EXPECT_EQ(G->Filter()->GetItem(0)->Operation(), foNONE);
    EXPECT_EQ(G->Filter()->GetItem(1)->Operation(), foOR);
    EXPECT_EQ(G->FilterLevel(), 1);

    // A press on a cell takes the focus from the list, which closes.
    QTest::mouseClick(V(), Qt::LeftButton, {}, QPoint(10, G->CellRect(0, 1).Top + 5));
    QApplication::processEvents();
    EXPECT_FALSE(l->isVisible());
    EXPECT_EQ(G->FilterCol(), -1);
    ClickGlyph(2);
    l = Open();
    ASSERT_TRUE(l);
    QStringList ticked;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->checkState() == Qt::Checked) ticked << l->item(i)->text();
    EXPECT_EQ(ticked, (QStringList{"a", "a b", "c"}));
}

TEST_F(DropDownFixture, AListSizedToItsEntriesNearTheRightBorderEndsAtTheColumnsRightEdge)
{
    G->SetCells(4, 1, QStringLiteral("x"));
    G->SetCells(4, 2, QStringLiteral("a longer value"));
    G->FilterDropDown()->SetAutoSize(true);
    ClickGlyph(4);
    QListWidget* l = Open();
    ASSERT_TRUE(l);
    const QFontMetrics fm(l->font());
    int widest = 0;
    for (const QString& s : Items(l)) widest = std::max(widest, fm.horizontalAdvance(s));
    EXPECT_EQ(l->width(), widest + 8 + 4);
    EXPECT_EQ(l->height(), l->count() * l->sizeHintForRow(0) + 4);
    const TRect cr = G->CellRect(4, 0);
    if (cr.Right - 16 + l->width() > G->ClientWidth()) EXPECT_EQ(l->x(), std::max(0, cr.Right - l->width()));
    else EXPECT_EQ(l->x(), cr.Right - 16);

    // A fixed width wider than the room left.
    QTest::keyClick(l, Qt::Key_Escape);
    G->FilterDropDown()->SetAutoSize(false);
    G->FilterDropDown()->SetWidth(300);
    ClickGlyph(4);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Open()->x(), std::max(0, cr.Right - 300));
    QTest::keyClick(Open(), Qt::Key_Escape);
    // With the column's width.
    G->FilterDropDown()->SetColumnWidth(true);
    ClickGlyph(2);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Open()->geometry().left(), G->CellRect(2, 0).Left);
    EXPECT_EQ(Open()->width(), G->CellRect(2, 0).Width());
}

TEST_F(DropDownFixture, TheAutomaticListIsSortedUniqueAndKeptUntilTheDataChanges)
{
    G->SetCells(2, 5, QStringLiteral("  B "));
    ASSERT_TRUE(G->GetFilterList(2));
    EXPECT_EQ(G->FilterList()->Strings(), (QStringList{"(All)", "a", "a b=\"a b\"", "B", "b"}));
    // Read again without touching a cell.
    int reads = 0;
    G->OnGetDisplText = [&](TObject*, int, int, QString&) { ++reads; };
    G->GetFilterList(2);
    EXPECT_EQ(reads, 0);
    G->SetCells(2, 1, QStringLiteral("z"));
    G->GetFilterList(2);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(G->FilterList()->Strings().last(), QStringLiteral("z"));

    // Rows a filter hid are offered unless the list is incremental.
    G->Filter()->GetColFilter(2)->SetCondition(QStringLiteral("a*"));
    G->SetFilterActive(true);
    G->GetFilterList(2);
    EXPECT_EQ(G->FilterList()->Count(), 6);
    G->SetFilterIncremental(true);
    G->GetFilterList(2);
    EXPECT_EQ(G->FilterList()->Strings(), (QStringList{"(All)", "a", "a b=\"a b\""}));
    G->SetFilterDropDownClear(QString());
    G->OnGetColumnFilter = [](TObject*, int, TGridStrings* l) { l->Add(QStringLiteral("own")); };
    G->GetFilterList(2);
    EXPECT_EQ(G->FilterList()->Strings(), (QStringList{"a", "a b=\"a b\"", "own"}));
    // A fixed column has no automatic list.
    G->OnGetColumnFilter = nullptr;
    G->SetFixedCols(1);
    EXPECT_FALSE(G->GetFilterList(0));
}

TEST_F(DropDownFixture, TheColumnsOwnEntriesAreOfferedAndPickedByTheirNames)
{
    G->Columns()->Items(3)->Filter()->Add(QStringLiteral("Any B=*b*"));
    G->Columns()->Items(3)->Filter()->Add(QStringLiteral("Exactly c=c"));
    for (int r = 1; r <= 5; ++r) G->SetCells(3, r, G->Cells(2, r));
    ClickGlyph(3);
    QListWidget* l = Open();
    ASSERT_TRUE(l);
    EXPECT_EQ(Items(l), (QStringList{"Any B", "Exactly c"}));
    ClickItem(l, 0);
    EXPECT_EQ(Shown(), "r1 r3 r4");
}

namespace {
struct RecordingMenu : TPopupMenu {
    void Popup(int X, int Y) override { Shown.push_back({X, Y}); }
    std::vector<QPoint> Shown;
};
}  // namespace

TEST_F(DropDownFixture, APressOnAFixedCellsDropDownButtonOpensItsMenu)
{
    RecordingMenu menu;
    G->ControlLook()->SetFixedDropDownButton(true);
    G->SetHoverFixedCells(hfFixedRows);
    G->SetFixedDropDownMenu(&menu);
    std::vector<int> clicked;
    G->OnFixedDropDownClick = [&](TObject*, int ACol, int ARow, TPopupMenu*& AMenu, bool&) {
        clicked.push_back(ACol * 10 + ARow);
        EXPECT_EQ(AMenu, &menu);
    };
    G->OnCanShowFixedDropDown = [](TObject*, int ACol, bool& CanShow) { CanShow = ACol != 3; };
    const TRect cr = G->CellRect(1, 0);
    QTest::mousePress(V(), Qt::LeftButton, {}, QPoint(cr.Right - 6, cr.Top + 5));
    EXPECT_EQ(clicked, (std::vector<int>{10}));
    EXPECT_EQ(menu.Tag, 1);
    ASSERT_EQ(menu.Shown.size(), 1u);
    EXPECT_EQ(menu.Shown[0], V()->mapToGlobal(QPoint(cr.Right - 16, cr.Bottom)));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, QPoint(cr.Right - 6, cr.Top + 5));

    // Not on the button, a column without one, or a normal row: no menu.
    const TRect c3 = G->CellRect(3, 0), n = G->CellRect(1, 2);
    for (QPoint p : {QPoint(cr.Left + 5, cr.Top + 5), QPoint(c3.Right - 6, c3.Top + 5), QPoint(n.Right - 6, n.Top + 5)})
        QTest::mouseClick(V(), Qt::LeftButton, {}, p);
    EXPECT_EQ(menu.Shown.size(), 1u);
    G->SetFixedDropDownMenu(nullptr);
}

TEST_F(DropDownFixture, RowKeysInsertAndDeleteWithTheFilterOffAndSwitchItOnAgain)
{
    G->Navigation()->SetAllowDeleteRow(true);
    G->Navigation()->SetAllowInsertRow(true);
    G->Filter()->GetColFilter(2)->SetCondition(QStringLiteral("b"));
    G->SetFilterActive(true);
    ASSERT_EQ(Shown(), "r1 r4");
    G->FocusCell(0, 2);
    QTest::keyClick(V(), Qt::Key_Delete);
    EXPECT_TRUE(G->FilterActive());
    EXPECT_EQ(Shown(), "r1");
    G->SetFilterActive(false);
    EXPECT_EQ(Shown(), "r1 r2 r3 r5");
    G->SetFilterActive(true);
    G->FocusCell(0, 1);
    QTest::keyClick(V(), Qt::Key_Insert);
    EXPECT_TRUE(G->FilterActive());
    G->SetFilterActive(false);
    // The new row went in before r1, the row that was current, not before the row under
    // it while the filter was on.
    EXPECT_EQ(G->RowCount(), 6);
    EXPECT_EQ(G->Cells(0, 2), QStringLiteral("r1"));
}
