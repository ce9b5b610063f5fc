#include "grid/control/pro_string_grid.h"

#include "platform/core/date_text.h"
#include "platform/core/format_settings.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

namespace {
// Corrects to upper case; marks a text holding a digit as an error.
struct UpperChecker : TProStringGridCheck {
    int Starts = 0, Stops = 0;
    std::vector<QPoint> Seen;
    QString Correct(int, int, const QString& s) override { return s.toUpper(); }
    QString MarkError(int c, int r, const QString& s) override
    {
        Seen.push_back({c, r});
        return s.contains(QRegularExpression(QStringLiteral("\\d"))) ? "<e>" + s + "</e>" : s;
    }
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
};

// 4 x 5 cells, one fixed row and column, one footer row; cells read "t<c><r>".
struct FillFixture : ::testing::Test {
    void SetUp() override
    {
        G = CreateGrid<TProStringGrid>();
        G->SetColCount(4);
        G->SetRowCount(5);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
        G->SetFixedFooters(1);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c) G->SetCells(c, r, QStringLiteral("t%1%2").arg(c).arg(r));
    }
    void TearDown() override { G->Free(); }
    QStringList Snapshot()
    {
        QStringList s;
        for (int r = 0; r < G->RowCount(); ++r)
            for (int c = 0; c < G->ColCount(); ++c) s << G->Cells(c, r);
        return s;
    }
    TProStringGrid* G = nullptr;
};
}  // namespace

TEST_F(FillFixture, ChecksCorrectAndMarkThroughTheChecker)
{
    // without a checker everything passes and nothing changes
    const QStringList before = Snapshot();
    EXPECT_TRUE(G->CheckGrid(false));
    EXPECT_TRUE(G->CheckCell(1, 1));
    EXPECT_EQ(Snapshot(), before);

    struct Case {
        bool UseCorrect, UseMarkError;
        QString Text, Stored;
        bool Passed;
    };
    const std::vector<Case> cases = {
        {true, false, "abc", "ABC", false},
        {true, false, "ABC", "ABC", true},
        {false, true, "a1", "<e>a1</e>", false},
        {false, true, "ab", "ab", true},
        // both get the unmarked text: the marked one is kept, the correction is lost
        {true, true, "a1", "<e>a1</e>", false},
        // old marks go before the check
        {false, false, "<E>x</e> &lt;y&gt;", "x <y>", true},
        {false, true, "<e>ab</e>", "ab", true},
    };
    UpperChecker checker;
    G->SetCellChecker(&checker);
    for (const Case& k : cases) {
        checker.SetUseCorrect(k.UseCorrect);
        checker.SetUseMarkError(k.UseMarkError);
        G->SetCells(2, 2, k.Text);
        EXPECT_EQ(G->CheckCell(2, 2), k.Passed) << k.Text.toStdString();
        EXPECT_EQ(G->Cells(2, 2), k.Stored) << k.Text.toStdString();
    }
}

TEST_F(FillFixture, ARangeCheckVisitsEveryCellOnceAndGoesBackToTheCurrentCell)
{
    UpperChecker checker;
    checker.SetUseMarkError(true);
    checker.SetGotoCell(true);
    G->SetCellChecker(&checker);
    G->SetCells(1, 1, "1");   // fails first; the rest is still checked
    G->SetCol(2);
    G->SetRow(3);
    EXPECT_FALSE(G->CheckGrid(false));
    const std::vector<QPoint> normal = {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}};
    EXPECT_EQ(checker.Seen, normal);
    EXPECT_EQ(checker.Starts, 1);
    EXPECT_EQ(checker.Stops, 1);
    EXPECT_EQ(G->Cells(1, 1), "<e>1</e>");
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 3);

    checker.Seen.clear();
    for (int r = 0; r < 5; ++r) G->SetCells(2, r, "ok");
    EXPECT_TRUE(G->CheckCol(false, 2));
    EXPECT_EQ(checker.Seen, (std::vector<QPoint>{{2, 1}, {2, 2}, {2, 3}}));
    checker.Seen.clear();
    G->CheckRow(true, 4);
    EXPECT_EQ(checker.Seen, (std::vector<QPoint>{{0, 4}, {1, 4}, {2, 4}, {3, 4}}));
    EXPECT_THROW(G->CheckCell(4, 1), EProGridError);
    EXPECT_THROW(G->CheckCells(1, 1, 1, 5), EProGridError);
}

TEST_F(FillFixture, FillsWriteTheNormalCellsOrAllOfThem)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Fill;
        bool All;
        std::function<QString(int, int)> Want;
    };
    const std::vector<Case> cases = {
        {"linear", [](auto* g) { g->LinearFill(false); }, false,
         [](int c, int r) { return QStringLiteral("%1:%2").arg(c).arg(r); }},
        {"linear, fixed too", [](auto* g) { g->LinearFill(true); }, true,
         [](int c, int r) { return QStringLiteral("%1:%2").arg(c).arg(r); }},
        {"text", [](auto* g) { g->TextFill(false, "x"); }, false, [](int, int) { return QStringLiteral("x"); }},
        {"format", [](auto* g) { g->FormatFill(false, "c%d r%.2d %%"); }, false,
         [](int c, int r) { return QStringLiteral("c%1 r%2 %").arg(c).arg(r, 2, 10, QLatin1Char('0')); }},
        {"format with indexes", [](auto* g) { g->FormatFill(true, "%1:d/%0:d"); }, true,
         [](int c, int r) { return QStringLiteral("%1/%2").arg(r).arg(c); }},
    };
    for (const Case& k : cases) {
        TearDown();
        SetUp();
        k.Fill(G);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c) {
                const bool normal = c >= 1 && r >= 1 && r <= 3;
                const QString want = k.All || normal ? k.Want(c, r) : QStringLiteral("t%1%2").arg(c).arg(r);
                EXPECT_EQ(G->Cells(c, r), want) << k.Name << " " << c << "," << r;
            }
    }
}

TEST_F(FillFixture, RandomFillStaysBelowItsBoundAndABadFormatChangesNothing)
{
    G->RandomFill(false, 3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c < 4; ++c) {
            bool ok = false;
            const int v = G->Cells(c, r).toInt(&ok);
            EXPECT_TRUE(ok && v >= 0 && v < 3) << G->Cells(c, r).toStdString();
        }
    EXPECT_EQ(G->Cells(0, 0), "t00");
    const QStringList before = Snapshot();
    for (const char* bad : {"%s", "%d %d %d", "%f", "%"}) {
        EXPECT_THROW(G->FormatFill(false, bad), EConvertError) << bad;
        EXPECT_EQ(Snapshot(), before) << bad;
    }
}

TEST_F(FillFixture, DatesAndTimesAreWrittenAndReadBackInTheLocaleFormats)
{
    TFormatSettings fs;
    fs.DateSeparator = QLatin1Char('.');
    fs.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    ScopedFormatSettings scope(fs);
    struct Case {
        TDateTime Value;
        bool Time;
        QString Text;
    };
    const std::vector<Case> cases = {
        {EncodeDate(2024, 2, 29), false, "29.02.2024"},
        {EncodeDate(1999, 12, 31), false, "31.12.1999"},
        {EncodeTime(13, 5, 9, 0), true, "13:05:09"},
        {EncodeTime(0, 0, 0, 0), true, "00:00:00"},
    };
    for (const Case& k : cases) {
        if (k.Time) {
            G->SetTimes(2, 2, k.Value);
            EXPECT_EQ(G->Cells(2, 2), k.Text);
            EXPECT_NEAR(G->GetTimes(2, 2), k.Value, 1e-9) << k.Text.toStdString();
        } else {
            G->SetDates(2, 2, k.Value);
            EXPECT_EQ(G->Cells(2, 2), k.Text);
            EXPECT_EQ(G->GetDates(2, 2), k.Value) << k.Text.toStdString();
        }
    }
    // the null date is written only with ShowNullDates
    G->SetShowNullDates(false);
    G->SetDates(1, 1, 0);
    EXPECT_EQ(G->Cells(1, 1), QString());
    G->SetShowNullDates(true);
    G->SetDates(1, 1, 0);
    EXPECT_EQ(G->Cells(1, 1), "30.12.1899");
    // texts that are no date or time raise the conversion error
    for (const char* bad : {"", "31.02.2024", "x.1.2024", "1.13.2024", "12:61:00"}) {
        G->SetCells(1, 1, bad);
        if (QString(bad).contains(':')) EXPECT_THROW(G->GetTimes(1, 1), EConvertError) << bad;
        else EXPECT_THROW(G->GetDates(1, 1), EConvertError) << bad;
    }
    G->SetCells(1, 1, "1:05 pm");
    EXPECT_NEAR(G->GetTimes(1, 1), EncodeTime(13, 5, 0, 0), 1e-9);
    EXPECT_THROW(G->SetDates(4, 1, 1.0), EProGridError);
    EXPECT_THROW(G->GetTimes(1, 5), EProGridError);
}

TEST_F(FillFixture, IsCellFindsOnlyAnExactTextRowByRow)
{
    G->SetCells(3, 1, "xy");
    G->SetCells(2, 2, "x");
    G->SetCells(1, 3, "x");
    int c = -1, r = -1;
    EXPECT_TRUE(G->IsCell("x", c, r));
    EXPECT_EQ(QPoint(c, r), QPoint(2, 2));
    EXPECT_FALSE(G->IsCell("y", c, r));
    EXPECT_FALSE(G->IsWideCell(1, 1));
    G->SetCells(1, 1, "|\\packed");
    EXPECT_TRUE(G->IsWideCell(1, 1));
}

TEST_F(FillFixture, MovingToACellChecksItFirst)
{
    G->GotoCell(3, 2);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 2);
    G->FocusCell(2, 3);
    EXPECT_EQ(G->Selection(), (TGridRect{2, 3, 2, 3}));
    EXPECT_THROW(G->GotoCell(4, 1), EProGridError);
    EXPECT_THROW(G->FocusCell(1, -1), EProGridError);
    EXPECT_EQ(G->Selection(), (TGridRect{2, 3, 2, 3}));
}
