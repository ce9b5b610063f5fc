// The typed value of the drop-down edit: the character filter of each edit type, number
// formats with prefix and suffix, the caret rules of the value part, completion when the
// focus leaves, and pastes of bad clipboard text.
#include "dropdown_fixture.h"

#include <QClipboard>

namespace {

using EditTypeTest = DropDownFixture;

} // namespace

TEST_F(EditTypeTest, TypedCharactersPassTheFilterOfTheEditType)
{
    struct Case {
        TDropDownEditType Type;
        bool Signed;
        int Precision;
        const char* Typed;
        const char* Value;
    };
    const Case cases[] = {
        {etString, false, 0, "a-b 1", "a-b 1"},
        {etNumeric, false, 0, "12a-3", "123"},
        {etNumeric, true, 0, "12-", "-12"},
        {etNumeric, true, 0, "12--", "12"},
        {etFloat, false, 2, "1x.5", "1.5"},
        {etFloat, false, 2, ".5", "0.5"},
        {etFloat, false, 2, "1.234", "1.23"},
        {etFloat, true, 2, "7-", "-7"},
        {etMoney, false, 2, "1234567", "1,234,567"},
        {etMoney, false, 2, "12,3", "123"},
        {etUppercase, false, 0, "abC1", "ABC1"},
        {etLowerCase, false, 0, "AbC1", "abc1"},
        {etMixedCase, false, 0, "hello big world", "Hello Big World"},
        {etRange, false, 0, ",1,,2--3;;4", "1,2-3;4"},
        {etHex, false, 0, "1aG-z", "1a-"},
        {etAlphaNumeric, false, 0, "a1_b!Z", "a1bZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromLatin1(c.Typed).toStdString() + " as type " + std::to_string(c.Type));
        Edit->SetEditType(etString);
        Edit->SetText(QString());
        Edit->SetEditType(c.Type);
        Edit->Signed = c.Signed;
        Edit->SetPrecision(c.Precision);
        Edit->SetTextDirect(QString());
        Type(QString::fromLatin1(c.Typed));
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.Value));
    }
    Edit->SetEditType(etValidChars);
    Edit->ValidChars = QStringLiteral("xy");
    Edit->SetTextDirect(QString());
    Type(QStringLiteral("axbyc"));
    EXPECT_EQ(Edit->Text(), "xy");
    EXPECT_TRUE(Edit->GetModifiedState());
}

TEST_F(EditTypeTest, NumbersAreFormattedBetweenPrefixAndSuffix)
{
    struct Case {
        TDropDownEditType Type;
        int Precision;
        const char* Prefix;
        const char* Suffix;
        std::function<void(TProCustomDropDown*)> Write;
        const char* Shown;
        const char* Value;
    };
    const Case cases[] = {
        {etFloat, 2, "$", " kg", [](auto* e) { e->SetFloatValue(3); }, "$3.00 kg", "3.00"},
        {etMoney, 2, "EUR ", "", [](auto* e) { e->SetFloatValue(1234.5); }, "EUR 1,234.50", "1,234.50"},
        {etMoney, 2, "", "-", [](auto* e) { e->SetText(QStringLiteral("1234567.891")); }, "1,234,567.89-", "1,234,567.89"},
        {etNumeric, 0, "#", "", [](auto* e) { e->SetFloatValue(1234); }, "#1,234", "1,234"},
        {etNumeric, 0, "(", ")", [](auto* e) { e->SetText(QString()); }, "(0)", "0"},
        {etFloat, 2, "", "%", [](auto* e) { e->SetText(QString()); }, "0.00%", "0.00"},
        {etFloat, -1, "", "", [](auto* e) { e->SetFloatValue(2.5); }, "2.5", "2.5"},
        {etHex, 0, "0x", "", [](auto* e) { e->SetIntValue(255); }, "0xFF", "FF"},
        {etHex, 0, "", "h", [](auto* e) { e->SetText(QStringLiteral("ab")); }, "ABh", "AB"},
        {etFloat, 2, "", "", [](auto* e) { e->SetText(QStringLiteral("Error")); }, "Error", "Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Shown);
        Edit->SetEditType(etString);   // the precision of integer types is not written
        Edit->SetPrecision(c.Precision);
        Edit->SetText(QString());
        Edit->SetEditType(c.Type);
        Edit->SetPrefix(QString::fromLatin1(c.Prefix));
        Edit->SetSuffix(QString::fromLatin1(c.Suffix));
        c.Write(Edit);
        EXPECT_EQ(Edit->text(), QString::fromLatin1(c.Shown));
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.Value));
    }
    Edit->SetEditType(etMoney);
    Edit->SetPrefix(QString());
    Edit->SetSuffix(QString());
    Edit->SetText(QStringLiteral("1,234.50"));
    EXPECT_DOUBLE_EQ(Edit->FloatValue(), 1234.5);
    Edit->SetEditType(etHex);
    Edit->SetText(QStringLiteral("FF"));
    EXPECT_DOUBLE_EQ(Edit->FloatValue(), 255);
    // a text reads as the number it starts with
    Edit->SetEditType(etString);
    for (const auto& [text, value] : {std::pair{"12.5kg", 12.5}, {"-3e2x", -300.0}, {"4e", 4.0}, {"kg", 0.0}, {".5", 0.5}}) {
        Edit->SetText(QString::fromLatin1(text));
        EXPECT_DOUBLE_EQ(Edit->FloatValue(), value) << text;
    }
    // a precision write on an integer edit is ignored
    Edit->SetEditType(etNumeric);
    Edit->SetPrecision(3);
    EXPECT_EQ(Edit->Precision(), 2);
}

TEST_F(EditTypeTest, TheCaretStaysInTheValuePart)
{
    Edit->SetPrefix(QStringLiteral("<"));
    Edit->SetSuffix(QStringLiteral(">>>"));
    Edit->SetText(QStringLiteral("abc"));
    Key(Qt::Key_End);
    EXPECT_EQ(Edit->cursorPosition(), 4);
    Key(Qt::Key_Right);
    EXPECT_EQ(Edit->cursorPosition(), 4);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Edit->text(), "<abc>>>");
    Key(Qt::Key_Home);
    EXPECT_EQ(Edit->cursorPosition(), 1);
    Key(Qt::Key_Left);
    EXPECT_EQ(Edit->cursorPosition(), 1);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Edit->text(), "<abc>>>");
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Edit->selectedText(), "abc");
    Type(QStringLiteral("xy"));
    EXPECT_EQ(Edit->text(), "<xy>>>");
    // a click in the prefix selects the value
    QTest::mouseClick(Edit, Qt::LeftButton, {}, QPoint(2, Edit->height() / 2));
    EXPECT_EQ(Edit->selectedText(), "xy");
}

TEST_F(EditTypeTest, DecimalRulesOfFloatEdits)
{
    Edit->SetEditType(etFloat);
    Edit->SetPrecision(2);
    Edit->SetText(QStringLiteral("1.25"));
    Edit->SetSel(1, 0);
    Type(QStringLiteral("."));   // a second separator: the caret goes behind the first
    EXPECT_EQ(Edit->Text(), "1.25");
    EXPECT_EQ(Edit->cursorPosition(), 2);
    Type(QStringLiteral("7"));   // the decimals are full: the digit replaces the next one
    EXPECT_EQ(Edit->Text(), "1.75");
    Edit->SetSel(4, 0);
    Type(QStringLiteral("9"));   // nothing after the caret to replace
    EXPECT_EQ(Edit->Text(), "1.75");

    Edit->SetEditType(etRange);
    Edit->SetTextDirect(QStringLiteral("1,2"));
    Edit->SetSel(1, 0);
    Type(QStringLiteral("-"));   // right before a separator
    Edit->SetSel(2, 0);
    Type(QStringLiteral(";"));   // right after one
    EXPECT_EQ(Edit->Text(), "1,2");
}

TEST_F(EditTypeTest, LeavingCompletesTheValue)
{
    Edit->SetEditType(etFloat);
    Edit->SetPrecision(2);
    Edit->SetTextDirect(QString());
    Other->setFocus();
    EXPECT_EQ(Edit->Text(), "0.00");
    Edit->setFocus();
    Edit->SetTextDirect(QStringLiteral("2.5"));
    Other->setFocus();
    EXPECT_EQ(Edit->Text(), "2.50");
    Edit->AllowNumericNullValue = true;
    Edit->setFocus();
    Edit->SetTextDirect(QString());
    Other->setFocus();
    EXPECT_EQ(Edit->Text(), "");
    Edit->SetEditType(etNumeric);
    Edit->AllowNumericNullValue = false;
    Edit->setFocus();
    Edit->SetTextDirect(QString());
    Other->setFocus();
    EXPECT_EQ(Edit->Text(), "0");
}

TEST_F(EditTypeTest, PastesOfBadTextChangeNothing)
{
    struct Case {
        TDropDownEditType Type;
        QString Clip;
        const char* Value;
    };
    const QString binary = QString::fromLatin1("\x01\x02\xff", 3);
    const Case cases[] = {
        {etNumeric, QStringLiteral("12ab"), "5"},
        {etNumeric, QStringLiteral("-3"), "5"},               // unsigned
        {etNumeric, QStringLiteral("7"), "57"},
        {etFloat, QStringLiteral("1.2.3"), "5"},
        {etFloat, binary, "5"},
        {etHex, QStringLiteral("AB"), "5"},                   // nothing is pasted into hex
        {etAlphaNumeric, binary, "5"},
        {etAlphaNumeric, QStringLiteral("x9"), "5x9"},
        {etUppercase, QStringLiteral("ab"), "5AB"},
        {etNumeric, QString(100000, QLatin1Char('9')), "5"},   // longer than the edit takes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Clip.left(10).toStdString());
        Edit->SetEditType(etString);
        Edit->SetText(QStringLiteral("5"));
        Edit->SetEditType(c.Type);
        Edit->SetText(QStringLiteral("5"));
        Edit->SetSel(1, 0);
        QApplication::clipboard()->setText(c.Clip);
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.Value));
    }
    // a veto keeps the value
    Edit->SetEditType(etString);
    Edit->SetText(QStringLiteral("kept"));
    QString offered;
    Edit->OnClipboardPaste = [&](QObject*, const QString& v, bool& allow) { offered = v, allow = false; };
    Edit->SetSel(0, 4);
    QApplication::clipboard()->setText(QStringLiteral("new"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit->Text(), "kept");
    EXPECT_EQ(offered, "new");
}

TEST_F(EditTypeTest, CutAndCopyOfferTheSelectedValue)
{
    Edit->SetPrefix(QStringLiteral("["));
    Edit->SetText(QStringLiteral("abcd"));
    QString copied;
    Edit->OnClipboardCopy = [&](QObject*, const QString& v, bool&) { copied = v; };
    Edit->SetSel(2, 2);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copied, "bc");
    EXPECT_EQ(QApplication::clipboard()->text(), "bc");
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Edit->text(), "[ad");
    Edit->setReadOnly(true);
    Edit->SetSel(1, 1);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Edit->text(), "[ad");
}

TEST(EditTypeRoutines, ClassifyAndHex)
{
    ScopedFormatSettings locale(DropDownTestLocale());
    struct Case { const char* Text; int Kind; };
    const Case cases[] = {{"123", 0}, {"-12", 0}, {"1.5", 1}, {"1,234.5", 1}, {"1,23,4", 2}, {"ff", 5},
                          {"", 2}, {"1-2-3", 2}, {"1.2.3", 2}, {"xyz", 2}};
    for (const Case& c : cases) EXPECT_EQ(ClassifyEditText(QString::fromLatin1(c.Text)), c.Kind) << c.Text;
    EXPECT_EQ(HexTextToInt(QStringLiteral("1aF")), 0x1AF);
    EXPECT_EQ(HexTextToInt(QStringLiteral("1z")), 0x10);
    EXPECT_EQ(HexTextToInt(QString()), 0);
    EXPECT_EQ(HexTextToInt(QStringLiteral("1FFFFFFFFFFFFFFFF")), -1);   // the 17th place wraps away
    EXPECT_EQ(FormatEditNumber(-1234567.5, 1, true), "-1,234,567.5");
}
