// A row tested against the filter conditions, combined in order.
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>

namespace {

struct Cond {
    int Column;
    const char* Condition;
    TFilterOperation Operation = foSHORT;
    TFilterMethod Method = fmExpression;
    bool CaseSensitive = true;
    TFilterCells Data = fcVirtual;
    const char* Prefix = "";
    const char* Suffix = "";
};

struct Case {
    const char* Name;
    std::vector<Cond> Conditions;
    QStringList Row;   // columns 0 .. 2 of the tested row
    bool Expected;
};

struct RowFilterFixture : ::testing::Test {
    void SetUp() override
    {
        G = CreateGrid<TProStringGrid>();
        G->SetColCount(3);
        G->SetRowCount(3);
    }
    void TearDown() override { G->Free(); }
    bool Test(const Case& c)
    {
        G->Filter()->Clear();
        for (const Cond& k : c.Conditions) {
            TFilterData* f = G->Filter()->Add();
            f->SetColumn(int16_t(k.Column));
            f->SetCondition(QString::fromUtf8(k.Condition));
            f->SetOperation(k.Operation);
            f->SetMethod(k.Method);
            f->SetCaseSensitive(k.CaseSensitive);
            f->SetData(k.Data);
            f->SetPrefix(QString::fromUtf8(k.Prefix));
            f->SetSuffix(QString::fromUtf8(k.Suffix));
        }
        for (int col = 0; col < 3; ++col) G->SetCells(col, 1, c.Row.value(col));
        return G->RowMatchesFilter(1);
    }
    TProStringGrid* G = nullptr;
};

}  // namespace

TEST_F(RowFilterFixture, ConditionsDecideInOrder)
{
    const Case cases[] = {
        {"no condition", {}, {"a", "b", "c"}, true},
        {"empty condition", {{1, ""}}, {"a", "", "c"}, true},
        {"expression", {{1, "b*"}}, {"", "blue", ""}, true},
        {"expression fails", {{1, "b*"}}, {"", "red", ""}, false},
        {"literal ignores case setting", {{1, "abc", foSHORT, fmLiteral, false}}, {"", "ABC", ""}, false},
        {"expression without case", {{1, "abc", foSHORT, fmExpression, false}}, {"", "ABC", ""}, true},
        {"literal exact", {{1, "ABC", foSHORT, fmLiteral}}, {"", "ABC", ""}, true},
        {"prefix removed", {{1, ">10", foSHORT, fmExpression, true, fcVirtual, "$"}}, {"", "$12", ""}, true},
        {"prefix and low value", {{1, ">10", foSHORT, fmExpression, true, fcVirtual, "$"}}, {"", "$8", ""}, false},
        {"suffix at the end", {{1, "<5", foSHORT, fmExpression, true, fcVirtual, "", " kg"}}, {"", "3 kg", ""}, true},
        {"trimmed", {{1, "x", foSHORT, fmLiteral}}, {"", "  x ", ""}, true},
        {"row contains, any case", {{0, "GREEN", foSHORT, fmExpression, true, fcRow}}, {"red", "a green leaf", "x"}, true},
        {"row lacks", {{0, "blue", foSHORT, fmExpression, true, fcRow}}, {"red", "green", "x"}, false},
        {"short cut stops at a failure", {{0, "a"}, {1, "zzz", foOR}}, {"b", "zzz", ""}, false},
        {"none replaces", {{0, "a", foNONE}, {1, "y", foNONE}}, {"b", "y", ""}, true},
        {"and", {{0, "a"}, {1, "y", foAND}}, {"a", "n", ""}, false},
        {"or", {{0, "a", foNONE}, {1, "y", foOR}}, {"b", "y", ""}, true},
        {"xor of two matches", {{0, "a"}, {1, "y", foXOR}}, {"a", "y", ""}, false},
        {"xor of one match", {{0, "a"}, {1, "y", foXOR}}, {"a", "n", ""}, true},
        {"wide text ending in a low byte of 0", {{1, "x\xc4\x80", foSHORT, fmLiteral}}, {"", PackWideText(QStringLiteral(u"x\u0100")), ""}, true},
        {"wide text unpacked", {{1, "\xce\xa9mega", foSHORT, fmLiteral}}, {"", PackWideText(QStringLiteral(u"\u03A9mega")), ""}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(Test(c), c.Expected) << c.Name;
}

// Without case both sides are upper-cased: an ASCII text is compared letter by letter in
// place, any other is upper-cased whole, where a sharp s becomes two letters.
TEST_F(RowFilterFixture, WildcardsWithoutCaseCompareTheUpperCasedTexts)
{
    struct W {
        const char* Condition;
        const char* Text;
        bool Expected;
    };
    const W cases[] = {
        {"*ke*", "BAKERY", true},        {"*KE*", "bakery", true},       {"*ke*", "bkae", false},
        {"b?k*", "BaKer", true},         {"*r?", "bakery", true},        {"ba*ry", "BAKERY", true},
        {"ba*ry", "bakerys", false},     {"*[*", "a[b", true},           {"*`*", "a@b", false},
        {"*ss*", "stra\xc3\x9f" "e", true},   {"*STRASSE*", "Stra\xc3\x9f" "e", true},
        {"*\xc3\xa9t\xc3\xa9*", "L'\xc3\x89T\xc3\x89", true}, {"*k*", "\xe2\x84\xaa", false},
        {"*KE*", "\xe2\x84\xaa" "e", false},
    };
    for (const W& w : cases)
        EXPECT_EQ(Test({w.Condition, {{1, w.Condition, foSHORT, fmExpression, false}}, {"", QString::fromUtf8(w.Text), ""}, true}),
                  w.Expected)
            << w.Condition << " on " << w.Text;
    // with case, no folding at all
    EXPECT_FALSE(Test({"case", {{1, "*ke*"}}, {"", "BAKERY", ""}, true}));
    EXPECT_TRUE(Test({"case", {{1, "*KE*"}}, {"", "BAKERY", ""}, true}));
}

TEST_F(RowFilterFixture, TheApplicationHasTheLastWord)
{
    int asked = -1;
    G->OnCustomFilter = [&](TObject*, int ARow, bool& Accept) {
        asked = ARow;
        Accept = !Accept;
    };
    EXPECT_FALSE(Test({"empty filter refused", {}, {"a", "b", "c"}, true}));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Test({"failure accepted", {{0, "zzz"}}, {"a", "b", "c"}, false}));
}
