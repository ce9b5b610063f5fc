#include "state/lang.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace {

class LangFile : public ::testing::Test {
protected:
    TempExeDir Dir;
    void SetUp() override { Set_Default_Lang(); }
    void Load(const QByteArray& content)
    {
        Dir.Write(QStringLiteral("LANGUAGE/Test.lng"), content);
        Lang_Name = QStringLiteral("Test");
        Load_Lang();
    }
};

TEST_F(LangFile, BuiltInTable)
{
    ASSERT_EQ(Lang_Texts.size(), 827);
    EXPECT_EQ(Lang_Count, 827);
    EXPECT_EQ(Lang_Texts[0], QStringLiteral("Begin"));
    EXPECT_EQ(Lang_Texts[8], QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(Lang_Texts[39], QStringLiteral(" J1939 "));
    EXPECT_EQ(Lang_Texts[826], QStringLiteral("Error J1939!! Stop Send Frames Number of Fails must be between 2 and 200"));
    // equal texts stay separate entries
    EXPECT_EQ(Lang_Texts[16], Lang_Texts[17]);
}

struct LineCase {
    const char* line;
    int index;          // entry that changes, -1 for none
    QString expected;
};

TEST_F(LangFile, EntryLineRules)
{
    const QString pil(QChar(0xB6));
    const LineCase cases[] = {
        {"STR 12 = Open a Project", 12, QStringLiteral("Open a Project")},
        {"STR12=Open a Project", 1, QStringLiteral("Open a Project")},   // the character before "=" is dropped
        {"STR 12= Open a Project", 1, QStringLiteral("Open a Project")},
        {"  STR 7 =  spaced  ", 7, QStringLiteral("spaced")},
        {"STR 827 = x", -1, QString()},
        {"STR -1 = x", -1, QString()},
        {"STR 0xFFFFFFFF00000005 = x", -1, QString()},   // not 5: wider than 32 bits
        {"str 5 = x", -1, QString()},
        {"STR 5 =", -1, QString()},
        {"STR 5 = /#/ only a note", -1, QString()},
        {"STR 5 = Hello /#/ note", 5, QStringLiteral("Hello")},
        {"STR 5 x = y", -1, QString()},
        {"STR 5 text without separator", -1, QString()},
        {"[Section]", -1, QString()},
    };
    for (const LineCase& c : cases) {
        Set_Default_Lang();
        const QStringList before = Lang_Texts;
        Apply_Lang_Text(QString::fromUtf8(c.line));
        for (int i = 0; i < 827; ++i) {
            if (i == c.index) EXPECT_EQ(Lang_Texts[i], c.expected) << c.line;
            else EXPECT_EQ(Lang_Texts[i], before[i]) << c.line << " changed entry " << i;
        }
    }
    // protected text keeps its blanks; two pilcrows give an empty text
    Set_Default_Lang();
    Apply_Lang_Text(QStringLiteral("STR 5 = ") + pil + QStringLiteral("  Hello ") + pil + QStringLiteral(" tail"));
    EXPECT_EQ(Lang_Texts[5], QStringLiteral("  Hello "));
    Apply_Lang_Text(QStringLiteral("STR 6 = ") + pil + pil);
    EXPECT_EQ(Lang_Texts[6], QString());
    Apply_Lang_Text(QStringLiteral("STR 6 = ") + pil + QStringLiteral(" open to the end "));
    EXPECT_EQ(Lang_Texts[6], QStringLiteral(" open to the end"));
}

TEST_F(LangFile, FileOverlaysLaterLinesWinAndGarbageIsSkipped)
{
    const char raw[] = "Title line\r\nSTR 5 = first\rSTR 5 = second\nSTR 9 = nine\n\x00\x01\xff\xfe garbage\nSTR 99999999999 = big\n";
    Load(QByteArray(raw, sizeof(raw) - 1));
    EXPECT_EQ(Lang_Name, QStringLiteral("Test"));
    EXPECT_EQ(Lang_Texts[5], QStringLiteral("second"));
    EXPECT_EQ(Lang_Texts[9], QStringLiteral("nine"));
    EXPECT_EQ(Lang_Texts[10], QString::fromUtf16(Builtin_English_Texts[10]));
    EXPECT_EQ(Lang_Texts.size(), 827);
}

TEST_F(LangFile, EncodingsFromByteOrderMark)
{
    // Windows-1252 without a mark: 0x80 is the euro sign, 0xE9 e-acute
    Load(QByteArray("STR 3 = \x80 caf\xe9\n"));
    EXPECT_EQ(Lang_Texts[3], QString::fromUtf16(u"\u20AC caf\u00E9"));

    Load(QByteArray("\xEF\xBB\xBFSTR 3 = caf\xC3\xA9\n"));
    EXPECT_EQ(Lang_Texts[3], QString::fromUtf16(u"caf\u00E9"));

    QByteArray le("\xFF\xFE", 2);
    const QString text = QString::fromUtf16(u"STR 3 = \u0416\u00B6 x\u00B6\r\n");
    le.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    Load(le);
    EXPECT_EQ(Lang_Texts[3], QString::fromUtf16(u"\u0416"));  // pilcrow ends the text
}

TEST_F(LangFile, MissingLanguageFallsBackToEnglish)
{
    Lang_Name = QStringLiteral("Klingon");
    Load_Lang();
    EXPECT_EQ(Lang_Name, QStringLiteral("English"));
    EXPECT_EQ(Lang_Texts[12], QString::fromUtf16(Builtin_English_Texts[12]));

    Dir.Write(QStringLiteral("LANGUAGE/English.lng"), QByteArray("STR 12 = Open it\n"));
    Lang_Name = QStringLiteral("Klingon");
    Load_Lang();
    EXPECT_EQ(Lang_Name, QStringLiteral("English"));
    EXPECT_EQ(Lang_Texts[12], QStringLiteral("Open it"));
}

// The name is a file name in LANGUAGE and nothing else: a path falls back to English.
TEST_F(LangFile, NameWithAFolderPartFallsBackToEnglish)
{
    Dir.Write(QStringLiteral("evil.lng"), QByteArray("STR 12 = evil\n"));
    Dir.Write(QStringLiteral("LANGUAGE/sub/Deutsch.lng"), QByteArray("STR 12 = evil\n"));
    for (const char* name : {"../evil", "../LANGUAGE/../evil", "sub/Deutsch"}) {
        SCOPED_TRACE(name);
        Lang_Name = QString::fromLatin1(name);
        Load_Lang();
        EXPECT_EQ(Lang_Name, QStringLiteral("English"));
        EXPECT_EQ(Lang_Texts[12], QString::fromUtf16(Builtin_English_Texts[12]));
    }
}

TEST_F(LangFile, LanguageChangeRefillsTheWholeTable)
{
    Load(QByteArray("STR 4 = vier\n"));
    EXPECT_EQ(Lang_Texts[4], QStringLiteral("vier"));
    Dir.Write(QStringLiteral("LANGUAGE/Other.lng"), QByteArray("STR 5 = fuenf\n"));
    Lang_Name = QStringLiteral("Other");
    Load_Lang();
    EXPECT_EQ(Lang_Texts[4], QString::fromUtf16(Builtin_English_Texts[4]));
    EXPECT_EQ(Lang_Texts[5], QStringLiteral("fuenf"));
}

}  // namespace
