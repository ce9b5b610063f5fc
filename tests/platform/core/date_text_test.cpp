#include "platform/core/date_text.h"

#include "platform/core/exception.h"
#include "platform/core/format_settings.h"

#include <QDate>
#include <gtest/gtest.h>

TEST(DateText, FormatsFollowTheFormatLettersAndSeparators)
{
    TFormatSettings fs;
    fs.DateSeparator = QLatin1Char('-');
    fs.TimeSeparator = QLatin1Char('.');
    ScopedFormatSettings scope(fs);
    const TDateTime v = EncodeDate(2007, 3, 4) + EncodeTime(15, 6, 7, 89);
    struct Case {
        const char* Format;
        const char* Text;
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "04-03-2007"},
        {"d/m/yy", "4-3-07"},
        {"hh:nn:ss", "15.06.07"},
        {"h:mm", "15.06"},          // m after an hour is the minute
        {"hh:nn ampm", "03.06 PM"},
        {"yyyy\"/\"mm", "2007/03"},   // quoted text as it stands
        {"s.zzz", "7.089"},
    };
    for (const Case& k : cases) EXPECT_EQ(FormatDateTime(k.Format, v), k.Text) << k.Format;
}

TEST(DateText, TextsAreReadInTheShortDateOrderAndBadTextsRaise)
{
    TFormatSettings fs;
    fs.ShortDateFormat = QStringLiteral("mm/dd/yyyy");
    ScopedFormatSettings scope(fs);
    EXPECT_EQ(StrToDate("12/31/1999"), EncodeDate(1999, 12, 31));
    EXPECT_EQ(StrToDate(" 2/3 "), EncodeDate(QDate::currentDate().year(), 2, 3));
    const int century = QDate::currentDate().year() / 100 * 100;
    EXPECT_EQ(StrToDate("1/2/05"), EncodeDate(century + 5, 1, 2));
    EXPECT_NEAR(StrToTime("23:59:58.5"), EncodeTime(23, 59, 58, 5), 1e-12);
    EXPECT_NEAR(StrToTime("12:00 am"), 0.0, 1e-12);
    for (const char* bad : {"", "13/1/2000", "2/30/2000", "1/2/3/4", "$1/2/2000", "a/b/c"})
        EXPECT_THROW(StrToDate(bad), EConvertError) << bad;
    for (const char* bad : {"", "24:00", "12", "13:00 pm", "1:2:3:4", "-1:00"})
        EXPECT_THROW(StrToTime(bad), EConvertError) << bad;
}
