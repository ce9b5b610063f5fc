#include "platform/core/exception.h"
#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
    const char* text;
    bool ok;
    int32_t value;
};

TEST(StrToInt, AcceptsTheRunTimeSyntaxOnly)
{
    const IntCase cases[] = {
        {"0", true, 0},          {"42", true, 42},          {"-42", true, -42},       {"+7", true, 7},
        {"  12", true, 12},      {"12 ", false, 0},         {"", false, 0},           {" ", false, 0},
        {"0x1F", true, 31},      {"0X1f", true, 31},        {"$ff", true, 255},       {"x10", true, 16},
        {"-$10", true, -16},     {"$FFFFFFFF", true, -1},   {"0x80000000", true, INT32_MIN},
        {"$100000000", false, 0}, {"2147483647", true, INT32_MAX}, {"2147483648", false, 0},
        {"-2147483648", true, INT32_MIN}, {"-2147483649", false, 0}, {"12a", false, 0}, {"0x", false, 0},
        {"1.5", false, 0},       {"\t5", false, 0},         {"- 5", false, 0},        {"0x-5", false, 0},
        // wider than 32 bits fails, however it is written
        {"0xFFFFFFFF00000005", false, 0}, {"0x8000000000000000", false, 0}, {"-0x100000001", false, 0},
        {"$000000000FFFFFFFF", true, -1}, {"99999999999999999999", false, 0},
    };
    for (const IntCase& c : cases) {
        int32_t v = -999;
        EXPECT_EQ(TryStrToInt(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(StrToIntDef(QString::fromLatin1(c.text), -999), c.ok ? c.value : -999) << c.text;
    }
}

TEST(StrToInt, SixtyFourBitReadsTheWholePattern)
{
    const struct {
        const char* text;
        bool ok;
        int64_t value;
    } cases[] = {
        {"0xFFFFFFFF00000005", true, int64_t(0xFFFFFFFF00000005ull)}, {"0x8000000000000000", true, INT64_MIN},
        {"-9223372036854775808", true, INT64_MIN}, {"9223372036854775808", false, 0},
        {"0x10000000000000000", false, 0},         {"-0x8000000000000000", true, INT64_MIN},
    };
    for (const auto& c : cases) {
        int64_t v = -999;
        EXPECT_EQ(TryStrToInt64(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(StrToInt, FailureRaisesConvertErrorWithTheText)
{
    try {
        StrToInt(QStringLiteral("abc"));
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}

TEST(Trim, DropsEveryCharacterUpToCode32)
{
    EXPECT_EQ(Trim(QStringLiteral("\t\r\n a b \x01\x1f ")), QStringLiteral("a b"));
    EXPECT_EQ(TrimLeft(QStringLiteral(" \tx ")), QStringLiteral("x "));
    EXPECT_EQ(TrimRight(QStringLiteral(" x\n")), QStringLiteral(" x"));
    // a non-breaking space is above code 32 and stays
    EXPECT_EQ(Trim(QString(QChar(0xA0)) + QStringLiteral("x")), QString(QChar(0xA0)) + QStringLiteral("x"));
    EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
}

TEST(RunTime, PositionsRoundingAndMulDiv)
{
    EXPECT_EQ(Pos(QStringLiteral("="), QStringLiteral("STR 1 = x")), 7);
    EXPECT_EQ(Pos(QStringLiteral("="), QStringLiteral("none")), 0);
    EXPECT_EQ(Copy(QStringLiteral("abcdef"), 2, 3), QStringLiteral("bcd"));
    EXPECT_EQ(Copy(QStringLiteral("abc"), 4, 1), QString());
    EXPECT_EQ(Copy(QStringLiteral("abc"), 1, -5), QString());

    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);

    EXPECT_EQ(MulDiv(10, 3, 4), 8);    // 7.5 rounds away from zero
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);
    EXPECT_EQ(MulDiv(96, 120, 96), 120);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);

    EXPECT_EQ(IntToHex(255, 4), QStringLiteral("00FF"));
    EXPECT_EQ(IntToHex(-1, 2), QStringLiteral("FFFFFFFF"));
}

}  // namespace
