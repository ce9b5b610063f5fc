// The clipboard text format: fields quoted as spreadsheets write them, and texts written by
// other programs (LF, CR LF and CR line ends, quoted multi-line fields) read back.
#include "grid/data/clipboard_text.h"

#include <gtest/gtest.h>

namespace {
using Rows = std::vector<QStringList>;

QString U(const char* s) { return QString::fromUtf8(s); }

TEST(ClipboardTextTest, FieldsAreQuotedOnlyWhenTheyHoldSeparatorsOrQuotes)
{
    struct Case {
        const char* text;
        bool excel;
        const char* field;
    } cases[] = {
        {"plain text", false, "plain text"},
        {"", false, ""},
        {"a\tb", false, "\"a\tb\""},
        {"two\r\nlines", false, "\"two\nlines\""},
        {"lone\rcr", false, "\"lone\ncr\""},
        {"5\" disk", false, "\"5\"\" disk\""},
        {"two\r\nlines", true, "\"two\x0Blines\""},
        {"äöü €", false, "äöü €"},
    };
    for (const Case& c : cases) EXPECT_EQ(ClipboardField(U(c.text), c.excel), U(c.field)) << c.text;
}

TEST(ClipboardTextTest, TextsOfOtherProgramsSplitIntoRowsAndFields)
{
    struct Case {
        const char* name;
        const char* text;
        Rows rows;
    } cases[] = {
        {"CR LF", "a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"LF only", "a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}}},
        {"CR only", "a\rb", {{"a"}, {"b"}}},
        {"no final line break", "a\tb", {{"a", "b"}}},
        // A spreadsheet's copy of a cell with a line break, between two plain cells.
        {"quoted multi-line", "x\t\"line1\nline2\"\ty\r\nz\r\n", {{"x", "line1\r\nline2", "y"}, {"z"}}},
        {"quoted CR LF inside", "\"1\r\n2\"\r\n", {{"1\r\n2"}}},
        {"doubled quotes", "\"say \"\"hi\"\"\"\tq\r\n", {{"say \"hi\"", "q"}}},
        {"quoted tab", "\"a\tb\"\tc", {{"a\tb", "c"}}},
        {"vertical tab", "a\x0B" "b\tc", {{"a\r\nb", "c"}}},
        {"unclosed quote is text", "\"abc\tdef\nx", {{"\"abc", "def"}, {"x"}}},
        {"trailing tab", "a\t\n", {{"a", ""}}},
        {"empty line between", "a\n\nb", {{"a"}, {""}, {"b"}}},
        {"text after closing quote", "\"a\"b\tc", {{"ab", "c"}}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        Rows expected;
        for (const QStringList& r : c.rows) {
            QStringList u;
            for (const QString& f : r) u << f;
            expected.push_back(u);
        }
        EXPECT_EQ(ParseClipboardText(U(c.text)), expected) << c.name;
    }
}

TEST(ClipboardTextTest, EveryCellTextComesBackThroughTheClipboardText)
{
    const QStringList texts{U("plain"),           U("sep,;|"),           U("tab\there"),
                            U("two\r\nlines"),    U("\"quoted\""),       U("end quote\""),
                            U("äöü ß €"),         U("<b>bold</b> <i>x</i>"), U(""),
                            U("\r\n"),            U("a\r\n\r\nb"),       U(" lead and trail ")};
    QString text;
    for (int i = 0; i < texts.size(); ++i) {
        text += ClipboardField(texts[i], false);
        text += (i % 3 == 2) ? U("\r\n") : U("\t");
    }
    const Rows rows = ParseClipboardText(text);
    QStringList back;
    for (const QStringList& r : rows) back += r;
    EXPECT_EQ(back, texts);
}
}  // namespace
