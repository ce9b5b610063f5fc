// The grid's hooks: rows deleted and inserted from the keyboard, cell texts saved and loaded,
// and the notifications of the balloon tooltip and the date picker.
#include "support/grid_shots.h"
#include "support/shown_grid.h"
#include "platform/core/dateutils.h"
#include "platform/ui/notify.h"

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

TEST(RowHooks, DeletingTheOnlyNormalRowEmptiesItAndStillReports)
{
    auto g = MakeGrid(3, 2);
    g->SetCells(1, 1, QStringLiteral("only"));
    g->SetCells(1, 0, QStringLiteral("head"));
    std::vector<int> deleted;
    g->OnAutoDeleteRow = [&](TObject*, int r) { deleted.push_back(r); };
    g->RemoveRowHook(1);
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->Cells(1, 1), QString());
    EXPECT_EQ(g->Cells(1, 0), QStringLiteral("head"));
    EXPECT_EQ(deleted, std::vector<int>{1});

    // with FixedRowAlways the row goes
    g->SetFixedRowAlways(true);
    g->RemoveRowHook(1);
    EXPECT_EQ(g->RowCount(), 1);
    EXPECT_EQ(deleted.size(), 2u);
}

TEST_F(ShownGridFixture, DeleteAndInsertKeysGoThroughTheRowHooks)
{
    for (int r = 0; r < 6; ++r) G->SetCells(1, r, QString::number(r));
    G->Navigation()->SetAllowDeleteRow(true);
    G->Navigation()->SetAllowInsertRow(true);
    int deleted = 0;
    G->OnAutoDeleteRow = [&](TObject*, int) { ++deleted; };
    G->SetRow(2);
    QTest::keyClick(G, Qt::Key_Delete);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(G->Cells(1, 2), QStringLiteral("3"));
    QTest::keyClick(G, Qt::Key_Insert);
    EXPECT_EQ(G->RowCount(), 6);
}

TEST(SaveLoadHooks, SavedTextsFollowTheCellKind)
{
    auto g = MakeGrid(4, 4);
    g->AddCheckBox(1, 1, true, false);
    g->AddCheckBox(1, 2, false, false);
    g->SetCells(2, 1, QStringLiteral("<b>bold</b> text"));
    g->SetCells(3, 1, QStringLiteral("plain"));
    struct Case {
        int Col, Row;
        bool WithHtml;
        const char* Saved;
    } cases[] = {
        {1, 1, false, "Y"},   // an empty check box cell saves its check text
        {1, 2, false, "N"},
        {2, 1, false, "bold text"},
        {2, 1, true, "<b>bold</b> text"},
        {3, 1, false, "plain"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Saved);
        g->SetSaveWithHTML(k.WithHtml);
        QString v;
        g->SaveCell(k.Col, k.Row, v);
        EXPECT_EQ(v, QString::fromLatin1(k.Saved));
    }
    // rich text: its plain text, or the RTF code on one line with SaveWithRTF
    g->SetCells(3, 2, QStringLiteral("{\\rtf1 rich\r\n text}"));
    QString rich;
    g->SaveCell(3, 2, rich);
    EXPECT_EQ(rich, QStringLiteral("rich text"));
    g->SetSaveWithRTF(true);
    g->SaveCell(3, 2, rich);
    EXPECT_EQ(rich, QStringLiteral("{\\rtf1 rich text}"));

    g->SetCheckTrue(QStringLiteral("yes"));
    QString v;
    g->SaveCell(1, 1, v);
    EXPECT_EQ(v, QStringLiteral("yes"));
    // the event sees the text last and may change it
    g->OnSaveCell = [](TObject*, int, int, QString& s) { s += QStringLiteral("!"); };
    g->SaveCell(3, 1, v);
    EXPECT_EQ(v, QStringLiteral("plain!"));
}

TEST(SaveLoadHooks, OnLoadCellChangesWhatIsStored)
{
    auto g = MakeGrid(3, 3);
    g->OnLoadCell = [](TObject*, int c, int r, QString& s) { s = QStringLiteral("%1:%2 %3").arg(c).arg(r).arg(s); };
    g->LoadCell(2, 1, QStringLiteral("x"));
    EXPECT_EQ(g->Cells(2, 1), QStringLiteral("2:1 x"));
}

// ---- notifications --------------------------------------------------------------------------

namespace {

// Records the messages the balloon tooltip receives.
class TipRecorder : public QObject {
public:
    struct Msg {
        uint32_t Id;
        intptr_t WParam;
        QString Text;
    };
    std::vector<Msg> Got;
    bool event(QEvent* e) override
    {
        if (e->type() != TMessageEvent::EventType()) return QObject::event(e);
        TMessage& m = static_cast<TMessageEvent*>(e)->Message;
        QString t;
        if (m.Msg == TTM_SETTITLEW) t = QString::fromUtf16(reinterpret_cast<const char16_t*>(m.LParam));
        Got.push_back({m.Msg, m.WParam, t});
        return true;
    }
    const Msg* Find(uint32_t id) const
    {
        for (const Msg& m : Got)
            if (m.Id == id) return &m;
        return nullptr;
    }
};

class BalloonGrid : public TProStringGrid {
public:
    using TProStringGrid::TProStringGrid;
    TipRecorder Tip;
    QObject* BalloonToolTip() override { return &Tip; }
};

struct BalloonFixture : ::testing::Test, GridWindow<BalloonGrid> {
    BalloonFixture() : GridWindow({.ScrollBars = ssNone}) {}
    void SetUp() override
    {
        Show();
        G->BalloonSettings()->SetEnable(true);
    }
    // The text the tooltip gets for the cell under the mouse.
    QString AskAt(int c, int r)
    {
        const TRect k = G->CellRect(c, r);
        QCursor::setPos(G->viewport()->mapToGlobal(QPoint(k.Left + 3, k.Top + 3)));
        TNMTTDispInfo info;
        info.hdr.code = TTN_GETDISPINFOW;
        G->Perform(WM_NOTIFY, 0, reinterpret_cast<intptr_t>(&info));
        return info.lpszText ? QString::fromUtf16(info.lpszText) : QStringLiteral("<none>");
    }
};

}  // namespace

TEST_F(BalloonFixture, LongTextsAreCutAndLeadingBreaksSkipped)
{
    const QString longText(3000, QLatin1Char('x'));
    G->SetCells(1, 1, longText);
    const QString shown = AskAt(1, 1);
    ASSERT_EQ(shown.size(), 2048);
    EXPECT_EQ(shown, longText.left(2045) + QStringLiteral("..."));

    G->SetCells(2, 1, QStringLiteral("\r\n\r\nfirst\tline"));
    EXPECT_EQ(AskAt(2, 1), QStringLiteral("first line"));
    EXPECT_EQ(G->LastBalloonPos(), (TPoint{2, 1}));

    G->SetCells(3, 1, QStringLiteral("<i>markup</i> gone"));
    EXPECT_EQ(AskAt(3, 1), QStringLiteral("markup gone"));
}

TEST_F(BalloonFixture, TheTooltipGetsTitleIconWidthAndColours)
{
    G->SetCells(1, 1, QStringLiteral("text"));
    G->BalloonSettings()->SetTextColor(0x0000FF);
    AskAt(1, 1);
    const TipRecorder::Msg* title = G->Tip.Find(TTM_SETTITLEW);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Text, QStringLiteral(" "));
    EXPECT_EQ(title->WParam, 1);
    ASSERT_NE(G->Tip.Find(TTM_SETMAXTIPWIDTH), nullptr);
    ASSERT_NE(G->Tip.Find(TTM_SETTIPTEXTCOLOR), nullptr);
    EXPECT_EQ(G->Tip.Find(TTM_SETTIPTEXTCOLOR)->WParam, 0x0000FF);
    EXPECT_EQ(G->Tip.Find(TTM_SETTIPBKCOLOR), nullptr);

    // the event decides last; a long title is cut
    G->Tip.Got.clear();
    G->OnCellBalloon = [](TObject*, int c, int r, QString& title, QString& text, int& icon) {
        title = QString(120, QLatin1Char('T'));
        text = QStringLiteral("cell %1,%2").arg(c).arg(r);
        icon = 3;
    };
    EXPECT_EQ(AskAt(1, 1), QStringLiteral("cell 1,1"));
    title = G->Tip.Find(TTM_SETTITLEW);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Text, QString(97, QLatin1Char('T')) + QStringLiteral("..."));
    EXPECT_EQ(title->WParam, 3);
}

TEST_F(BalloonFixture, WithoutBalloonsTheTooltipIsNotAnswered)
{
    G->BalloonSettings()->SetEnable(false);
    G->SetCells(1, 1, QStringLiteral("text"));
    EXPECT_EQ(AskAt(1, 1), QStringLiteral("<none>"));
    EXPECT_TRUE(G->Tip.Got.empty());
}

TEST_F(BalloonFixture, ADatePickerReportsItsDateAndAClearedOneZero)
{
    std::vector<double> dates;
    G->OnDateTimeChange = [&](TObject*, int, int, double d) { dates.push_back(d); };
    G->SetCol(2);
    G->SetRow(3);
    TNMDateTimeChange n;
    n.hdr.code = DTN_DATETIMECHANGE;
    n.st.wYear = 2024;
    n.st.wMonth = 2;
    n.st.wDay = 29;
    G->Perform(WM_NOTIFY, 0, reinterpret_cast<intptr_t>(&n));
    n.st = TSystemTime{};
    n.dwFlags = GDT_NONE;
    G->Perform(WM_NOTIFY, 0, reinterpret_cast<intptr_t>(&n));
    ASSERT_EQ(dates.size(), 2u);
    EXPECT_EQ(dates[0], EncodeDate(2024, 2, 29));
    EXPECT_EQ(dates[1], 0.0);
}
