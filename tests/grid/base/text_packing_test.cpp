#include "grid/base/text_packing.h"

#include <gtest/gtest.h>

namespace {
const QString CR = QStringLiteral("\r");
const QString LF = QStringLiteral("\n");
QString Ch(int code) { return QString(QChar(char16_t(code))); }
}

TEST(LineBreakPacking, PackLeavesTextsWithoutCRAlone)
{
    const QString s = QStringLiteral("a\nb\tc") + Ch(0);
    EXPECT_EQ(PackLineBreaks(s), s);
}

TEST(LineBreakPacking, RoundTripKeepsAllLinesOrOnlyTheFirst)
{
    const QString s = QStringLiteral("a\r\nb");
    const QString packed = PackLineBreaks(s);
    EXPECT_EQ(packed, QStringLiteral("a") + Ch(9) + Ch(8) + QStringLiteral("b"));
    EXPECT_EQ(UnpackLineBreaks(packed, true), s);
    EXPECT_EQ(UnpackLineBreaks(packed, false), QStringLiteral("a"));
    // Without the LF substitute nothing is touched, tabs included.
    EXPECT_EQ(UnpackLineBreaks(QStringLiteral("x\ty\rz"), false), QStringLiteral("x\ty\rz"));
}

TEST(LineBreakPacking, PairsUndoEachOther)
{
    QString s = QStringLiteral("a\r\nb");
    CSVQuoteMultiLine(s);
    EXPECT_EQ(s, QStringLiteral("\"a") + Ch(11) + QStringLiteral("b\""));
    QString inner = s.mid(1, s.size() - 2);
    VTabToCRLF(inner);
    EXPECT_EQ(inner, QStringLiteral("a\r\nb"));

    QString t = QStringLiteral("a~b");
    TildeToCRLF(t);
    EXPECT_EQ(t, QStringLiteral("a\r\nb"));
    CRToTilde(t);
    EXPECT_EQ(t, QStringLiteral("a~b"));
    QString caret = QStringLiteral("^");
    TildeToCRLF(caret);
    EXPECT_EQ(caret, QString());

    EXPECT_EQ(BackslashNToCR(QStringLiteral("\\n")), CR);
    EXPECT_EQ(CRToBackslashN(CR + LF), QStringLiteral("\\n"));
}

TEST(QuoteHandling, SingleCharPosSkipsDoubledQuotes)
{
    struct Case { const char* text; int pos; } cases[] = {
        {"a\"\"", 3}, {"a\"\"b", 0}, {"a\"b", 2}, {"", 0}, {"\"", 1}, {"a\"\"\"b", 4},
    };
    for (const auto& c : cases) {
        int p = -7;
        EXPECT_EQ(SingleCharPos(QLatin1Char('"'), QString::fromLatin1(c.text), p), c.pos) << c.text;
        EXPECT_EQ(p, c.pos) << c.text;
    }
    EXPECT_EQ(CountSingleChars(QLatin1Char('"'), QStringLiteral("\"a\"\"b\",\"c\"")), 4);
    EXPECT_EQ(UndoubleChar(QLatin1Char('"'), QStringLiteral("a\"\"b\"\"\"c")), QStringLiteral("a\"b\"\"c"));
    EXPECT_EQ(EscapeDoubleQuotes(QStringLiteral("a\"b")), QStringLiteral("a\"\"b"));
}

TEST(WideTextPacking, PacksHighThenLowByteAndClassifies)
{
    const QString packed = PackWideText(QStringLiteral("=x"));
    EXPECT_EQ(packed, QStringLiteral("|\\") + Ch(0) + QStringLiteral("=") + Ch(0) + QStringLiteral("x"));
    EXPECT_EQ(CellTextKind(packed, true), 3);
    EXPECT_EQ(CellTextKind(PackWideText(QStringLiteral("x=")), true), 5);
    EXPECT_EQ(PackWideText(QString()), QStringLiteral("|\\"));

    const QString wide = QString::fromUtf8("\xce\xa9\xe2\x82\xac a");  // Omega, Euro sign
    EXPECT_EQ(UnpackWideText(PackWideText(wide)), wide);
    EXPECT_EQ(UnpackWideText(QStringLiteral("plain")), QStringLiteral("plain"));
    // An odd trailing character is ignored.
    EXPECT_EQ(UnpackWideText(QStringLiteral("|\\") + Ch(0) + QStringLiteral("ab")), QStringLiteral("a"));
}

TEST(CellTextKindTest, ClassifiesByPrefixAndTags)
{
    struct Case { const char* text; bool html; int kind; } cases[] = {
        {"", true, 0},          {"=A1+1", false, 3}, {"{\\rtf1 x}", true, 2}, {"<b>x", true, 0},
        {"<B>x", true, 1},      {"x</b>", true, 1},  {"<B>x", false, 0},      {"<C>", true, 1},
        {"plain", true, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellTextKind(QString::fromLatin1(c.text), c.html), c.kind) << c.text;
}

TEST(LineRoutines, CutFirstLineNextTokenAndUrls)
{
    QString s = QStringLiteral("one\r\ntwo\rthree");
    QString line;
    CutFirstLine(s, true, line);
    EXPECT_EQ(line, QStringLiteral("one"));
    EXPECT_EQ(s, QStringLiteral("two\rthree"));
    CutFirstLine(s, false, line);
    EXPECT_EQ(line, QStringLiteral("two"));
    EXPECT_TRUE(s.isEmpty());
    s = QStringLiteral("single");
    CutFirstLine(s, true, line);
    EXPECT_EQ(line, QStringLiteral("single"));
    EXPECT_TRUE(s.isEmpty());

    QString t = QStringLiteral("a;;b");
    EXPECT_EQ(NextToken(t, QStringLiteral(";;")), QStringLiteral("a"));
    EXPECT_EQ(t, QStringLiteral(";b"));  // only the delimiter's first character goes
    EXPECT_EQ(NextToken(t, QStringLiteral(",")), QString());
    EXPECT_EQ(t, QStringLiteral(";b"));

    EXPECT_EQ(CountTextLines(QStringLiteral("a\rb\rc"), true), 3);
    EXPECT_EQ(CountTextLines(QStringLiteral("a\rb\rc"), false), 1);

    QString url = QStringLiteral("see http://x.org");
    EXPECT_TRUE(IsURLText(url));
    StripURLScheme(url);
    EXPECT_EQ(url, QStringLiteral("x.org"));
    QString mail = QStringLiteral("mailto:a@b");
    StripURLScheme(mail);
    EXPECT_EQ(mail, QStringLiteral("a@b"));
    EXPECT_EQ(CRToBreakTag(QStringLiteral("a\r\nb")), QStringLiteral("a<br>\nb"));
}

TEST(CapitalizeWordsTest, NamesAndExceptions)
{
    struct Case { const char* in; const char* out; } cases[] = {
        {"henry viii", "Henry Viii"}, {"louis ii", "Louis II"},   {"o'neil-smith", "O'Neil-Smith"},
        {"mcdonald", "McDonald"},     {"ron mcdonald", "Ron McDonald"}, {"LOUIS III", "Louis III"},
        {"iim", "Iim"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CapitalizeWords(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(OemConversion, RoundTripsWesternText)
{
    const QString original = QString::fromUtf8("Caf\xc3\xa9 \xc3\xbc");
    QString s = original;
    TextToOem(s);
    EXPECT_NE(s, original);
    for (QChar c : s) EXPECT_LT(c.unicode(), 256);
    OemToText(s);
    EXPECT_EQ(s, original);
}
