#include "grid/base/number_routines.h"
#include "platform/core/exception.h"
#include "platform/core/format_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, Classify)
{
    const struct { const char* text; int kind; } cases[] = {
        {"", 2},      {"-", 0},      {"123", 0},     {"-123", 0},   {"1.25", 1},   {"1,234.5", 1}, {"1,23,4", 2},
        {"1e-5", 5},  {"-1e-5", 5},  {"1e", 2},      {"e5", 2},     {"1.2.3", 2},  {"1-2", 2},     {"abc", 2},
        {"1e5e3", 2}, {"--1", 2},    {"1.5e+3", 5},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyNumberText(QString::fromLatin1(c.text)), c.kind) << c.text;
}

TEST(NumberText, NormalizeFollowsTheLocale)
{
    EXPECT_EQ(NormalizeNumberText(QStringLiteral("(1,234.50)")), QStringLiteral("-1234.50"));
    EXPECT_EQ(NormalizeNumberText(QStringLiteral("$1,234.56")), QStringLiteral("1234.56"));
    EXPECT_EQ(NormalizeNumberText(QStringLiteral("- 12 kg")), QStringLiteral("-12"));
    EXPECT_EQ(NormalizeNumberText(QString()), QString());

    TFormatSettings eu;
    eu.DecimalSeparator = QLatin1Char(',');
    eu.ThousandSeparator = QLatin1Char('.');
    eu.DateSeparator = QLatin1Char('.');
    eu.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    ScopedFormatSettings scope(eu);
    EXPECT_EQ(NormalizeNumberText(QString::fromUtf16(u"\u20AC 1.234,56")), QStringLiteral("1234.56"));
    EXPECT_EQ(NormalizeDecimalText(QStringLiteral("1.234,5x")), QStringLiteral("1234.5x"));
    EXPECT_EQ(ClassifyNumberText(QStringLiteral("3,14")), 1);
}

TEST(Dates, ParseDateTimeTextWithTheLocaleOrder)
{
    TFormatSettings eu;
    eu.DateSeparator = QLatin1Char('.');
    eu.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    ScopedFormatSettings scope(eu);
    TDateTime dt = 0;
    ASSERT_TRUE(ParseDateTimeText(QStringLiteral("15.03.2024 13:45"), dt));
    EXPECT_DOUBLE_EQ(dt, EncodeDate(2024, 3, 15) + EncodeTime(13, 45, 0, 0));
    ASSERT_TRUE(ParseDateTimeText(QStringLiteral("1.2.2024 1:02:03"), dt));
    EXPECT_DOUBLE_EQ(dt, EncodeDate(2024, 2, 1) + EncodeTime(1, 2, 3, 0));
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("15.03.2024 24:00"), dt));
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("30.02.2024"), dt));
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("32.01.2024"), dt));
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("01.13.2024"), dt));
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("1.1.2024 12:60"), dt));
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("2024-01-01"), dt));
    // a time without its separator fails but the date is kept
    dt = 0;
    EXPECT_FALSE(ParseDateTimeText(QStringLiteral("1.1.2024 noon"), dt));
    EXPECT_DOUBLE_EQ(dt, EncodeDate(2024, 1, 1));
    EXPECT_TRUE(IsDateText(QStringLiteral("1.1.2024")));
    EXPECT_FALSE(IsDateText(QStringLiteral(".1.2024")));
    EXPECT_FALSE(IsDateText(QStringLiteral("1..2024")));
}

TEST(Dates, UsAndEuDatesAndTheirCenturies)
{
    EXPECT_DOUBLE_EQ(ParseUSDateText(QStringLiteral("12/31/24")), EncodeDate(2024, 12, 31));
    EXPECT_DOUBLE_EQ(ParseUSDateText(QStringLiteral("12/31/26")), EncodeDate(1926, 12, 31));
    EXPECT_DOUBLE_EQ(ParseUSDateText(QStringLiteral("12/31/2024")), EncodeDate(2024, 12, 31));
    EXPECT_DOUBLE_EQ(ParseEUDateText(QStringLiteral("31.12.2024")), EncodeDate(2024, 12, 31));
    EXPECT_DOUBLE_EQ(ParseEUDateText(QStringLiteral("31-12-99")), EncodeDate(1999, 12, 31));
    EXPECT_EQ(ParseUSDateText(QStringLiteral("no date")), 0);
    EXPECT_EQ(ParseUSDateText(QStringLiteral("a/b/c")), 0);
    EXPECT_THROW(ParseUSDateText(QStringLiteral("2/30/2024")), EConvertError);
}

TEST(Dates, IncDateFields)
{
    const TDateTime dec15 = EncodeDate(2023, 12, 15);
    EXPECT_DOUBLE_EQ(IncDateFields(0, 1, 0, dec15, 7), EncodeDate(2024, 1, 15));
    EXPECT_DOUBLE_EQ(IncDateFields(0, -12, 0, dec15, 7), EncodeDate(2022, 12, 15));
    EXPECT_DOUBLE_EQ(IncDateFields(1, 0, 0, dec15, 7), EncodeDate(2024, 12, 15));
    EXPECT_DOUBLE_EQ(IncDateFields(0, 0, 3, dec15, 7), dec15 + 3);
    EXPECT_DOUBLE_EQ(IncDateFields(1, 1, 0, dec15, 7), dec15 + 7);
    EXPECT_DOUBLE_EQ(IncDateFields(0, 0, 0, dec15, 7), dec15 + 7);
    EXPECT_DOUBLE_EQ(IncDateFields(1, 0, 0, EncodeDate(2024, 2, 29), 0), EncodeDate(2025, 2, 28));
}

TEST(Filter, Expressions)
{
    const struct { const char* cond; const char* value; bool match; } cases[] = {
        {"A*|B*", "Apple", true},        {"A*|B*", "Banana", true},      {"A*|B*", "Cherry", false},
        {"*e", "e", true},               {"*e", "Apple", true},          {"*e", "Appl", false},
        {"!A*", "Apple", false},         {"!A*", "Pear", true},          {"?pple", "apple", true},
        {"A* & (*x | *e)", "Apple", true}, {"A* & (*x | *q)", "Apple", false},
        {"A*|B*&*n", "Apple", false},    {"A*|B*&*n", "Bin", true},      // left to right: (A|B)&n
        {">5", "7", true},               {">5", "3", false},             {">=5", "5", true},
        {"<5", "3", true},               {"<=5", "6", false},            {">b", "c", true},
        {">10", "9", false},             {"= apple", "APPLE", true},     {"(A*", "Apple", true},
        {">1/1/2024", "2/1/2024", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFilterExpression(QString::fromLatin1(c.cond), QString::fromLatin1(c.value), false), c.match)
            << c.cond << " on " << c.value;
    EXPECT_FALSE(MatchFilterExpression(QStringLiteral("apple"), QStringLiteral("APPLE"), true));
}

TEST(Filter, Helpers)
{
    EXPECT_EQ(StripUnquotedSpaces(QStringLiteral("a b \"c d\" e")), QStringLiteral("ab\"c d\"e"));
    EXPECT_EQ(MatchingParenPos(QStringLiteral("(a(b))c)")), 6);
    EXPECT_EQ(MatchingParenPos(QStringLiteral("(a")), 0);
    int p = 0;
    EXPECT_EQ(FindUnquotedChar(QStringLiteral("&|"), QStringLiteral("\"a&b\"|c"), p), QLatin1Char('|'));
    EXPECT_EQ(p, 6);
    EXPECT_TRUE(FindUnquotedChar(QStringLiteral("&"), QStringLiteral("abc"), p).isNull());
    EXPECT_EQ(p, -1);
}

TEST(SmallRoutines, LimitsAndCellReferences)
{
    EXPECT_EQ(ApplyMinMaxLimits(15, 0, 0), 15);
    EXPECT_EQ(ApplyMinMaxLimits(15, 20, 30), 20);
    EXPECT_EQ(ApplyMinMaxLimits(35, 20, 30), 30);
    EXPECT_EQ(ApplyMinMaxLimits(25, 20, 30), 25);
    EXPECT_EQ(ApplyMinMaxLimits(15, 20, 10), 10);
    QPoint cell;
    ASSERT_TRUE(ParseRCCellRef(QStringLiteral("r12c3"), cell));
    EXPECT_EQ(cell, QPoint(3, 12));
    EXPECT_FALSE(ParseRCCellRef(QStringLiteral("R1C"), cell));
    EXPECT_FALSE(ParseRCCellRef(QStringLiteral("R12"), cell));
    EXPECT_FALSE(ParseRCCellRef(QStringLiteral("X1C1"), cell));
    struct R { int Left, Top, Right, Bottom; } r{1, 2, 3, 4};
    EXPECT_TRUE(CellInGridRect(r, 3, 4));
    EXPECT_FALSE(CellInGridRect(r, 0, 2));
}

}  // namespace
