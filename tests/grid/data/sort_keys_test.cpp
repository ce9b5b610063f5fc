// The sort's keys and order without a grid: the style decided once per column, the values
// numbers and dates sort by, and the stable merge sort against the standard library's.
#include "grid/data/sort_keys.h"
#include "platform/core/format_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<QString> Texts(std::initializer_list<const char*> l)
{
    std::vector<QString> v;
    for (const char* s : l) v.push_back(QString::fromUtf8(s));
    return v;
}

}  // namespace

TEST(SortKeys, StyleIsDecidedFromAllTextsOfTheColumn)
{
    ScopedFormatSettings fs(TFormatSettings{});
    struct Case {
        const char* Name;
        TSortStyle Start;
        std::vector<QString> Texts;
        bool FirstIsCheckBox;
        TSortStyle Expected;
    } cases[] = {
        {"numbers and blanks", ssAutomatic, Texts({"10", "", "-2.5", "1e3"}), false, ssNumeric},
        {"a number first, then a word", ssAutomatic, Texts({"10", "abc"}), false, ssAlphabetic},
        {"a word first, then a number", ssAutomatic, Texts({"abc", "10"}), false, ssAlphabetic},
        {"dates", ssAutomatic, Texts({"01/02/2020", "3/4/2021"}), false, ssDate},
        {"dates with times", ssAutomatic, Texts({"01/02/2020 10:00", "03/04/2021"}), false, ssDateTime},
        {"times", ssAutomatic, Texts({"10:30", "9:15"}), false, ssTime},
        {"a date and a word", ssAutomatic, Texts({"01/02/2020", "soon"}), false, ssAlphabetic},
        {"check boxes", ssAutomatic, Texts({"1", "0"}), true, ssCheckBox},
        {"only blanks", ssAutomatic, Texts({"", ""}), false, ssAlphabetic},
        {"alphanumeric of numbers", ssAlphaNumeric, Texts({"3", "", "12"}), false, ssNumeric},
        {"alphanumeric of words", ssAlphaNumericNoCase, Texts({"3", "x"}), false, ssAlphaNoCase},
        {"a chosen style stays", ssHTML, Texts({"1", "2"}), false, ssHTML},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideSortStyle(c.Start, c.Texts, c.FirstIsCheckBox, false), c.Expected) << c.Name;
    EXPECT_EQ(DecideSortStyle(ssAutomatic, Texts({"b", "a"}), false, true), ssAlphaNoCase);
}

TEST(SortKeys, NumberAndDateValues)
{
    TFormatSettings comma;
    comma.DecimalSeparator = QLatin1Char(',');
    comma.ThousandSeparator = QLatin1Char('.');
    {
        ScopedFormatSettings fs(comma);
        EXPECT_DOUBLE_EQ(SortNumberValue(QStringLiteral("1,5"), {}, {}, false), 1.5);
        EXPECT_DOUBLE_EQ(SortNumberValue(QStringLiteral("EUR 1.200,5"), QStringLiteral("EUR "), {}, true), 1200.5);
    }
    ScopedFormatSettings fs(TFormatSettings{});
    struct Case {
        const char* Text;
        const char* Prefix;
        const char* Suffix;
        bool Financial;
        double Expected;
    } numbers[] = {
        {"", "", "", false, 0},           {"12.5", "", "", false, 12.5},   {"$1,200", "$", "", true, 1200},
        {"950 kg", "", " kg", false, 950}, {"12abc", "", "", false, 12},   {"abc", "", "", false, 0},
        {"-3e2", "", "", false, -300},    {"nan", "", "", false, 0},       {"1,200", "", "", false, 1},
    };
    for (const Case& c : numbers)
        EXPECT_DOUBLE_EQ(SortNumberValue(QString::fromUtf8(c.Text), QString::fromUtf8(c.Prefix),
                                         QString::fromUtf8(c.Suffix), c.Financial),
                         c.Expected)
            << c.Text;
    EXPECT_LT(SortDateValue(ssShortDateEU, QStringLiteral("02/01/2020")),
              SortDateValue(ssShortDateEU, QStringLiteral("01/02/2020")));
    EXPECT_GT(SortDateValue(ssShortDateUS, QStringLiteral("02/01/2020")),
              SortDateValue(ssShortDateUS, QStringLiteral("01/02/2020")));
    EXPECT_EQ(SortDateValue(ssShortDateEU, QStringLiteral("31/02/2020")), 0);  // impossible: 0, no error
    EXPECT_EQ(SortDateValue(ssTime, QStringLiteral("late")), 0);
    EXPECT_LT(SortDateValue(ssTime, QStringLiteral("9:30")), SortDateValue(ssTime, QStringLiteral("10:00")));
    EXPECT_EQ(SortDateValue(ssDate, QString()), 0);
}

TEST(SortKeys, MergeSortMatchesStableSortAndCountsFewComparisons)
{
    std::mt19937 rnd(7);
    for (int n : {0, 1, 2, 7, 8, 9, 100, 1000, 4097}) {
        std::vector<int> keys(static_cast<size_t>(n));
        for (int& k : keys) k = int(rnd() % 10);  // many ties
        long compares = 0;
        const std::vector<int> order = StableSortOrder(n, [&](int a, int b) {
            ++compares;
            return keys[size_t(a)] < keys[size_t(b)] ? -1 : keys[size_t(a)] > keys[size_t(b)] ? 1 : 0;
        });
        std::vector<int> expected(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) expected[size_t(i)] = i;
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
        EXPECT_EQ(order, expected) << n;
        if (n > 1) EXPECT_LE(compares, long(n) * 16) << n;
    }
}

TEST(SortKeys, ContradictoryComparisonsStillGiveAPermutation)
{
    std::mt19937 rnd(3);
    const std::vector<int> order = StableSortOrder(5000, [&](int, int) { return int(rnd() % 3) - 1; });
    std::vector<int> sorted(order);
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(sorted[size_t(i)], i);
}

TEST(SortKeys, SwapsOfAPermutation)
{
    EXPECT_EQ(PermutationSwaps({0, 1, 2}), 0);
    EXPECT_EQ(PermutationSwaps({1, 0, 2}), 1);
    EXPECT_EQ(PermutationSwaps({1, 2, 0}), 2);
    EXPECT_EQ(PermutationSwaps({3, 2, 1, 0}), 2);
}
