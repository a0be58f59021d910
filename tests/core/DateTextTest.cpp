// Typed and shown forms of the Submission editor's dates, and what a typed one stores.

#include <QDate>
#include <QVariant>
#include <gtest/gtest.h>

#include "core/DateText.h"

TEST(DateText, DayMonthYearWithTwoDigitYearsIn1930To2029AndWhatIsStored)
{
    EXPECT_EQ(parseDateText(QStringLiteral("5/3/2001")), QDate(2001, 3, 5));
    EXPECT_EQ(parseDateText(QStringLiteral(" 12/01/2000 ")), QDate(2000, 1, 12));   // day first
    EXPECT_EQ(parseDateText(QStringLiteral("1/1/29")), QDate(2029, 1, 1));
    EXPECT_EQ(parseDateText(QStringLiteral("31/12/30")), QDate(1930, 12, 31));
    EXPECT_EQ(parseDateText(QStringLiteral("29/2/96")), QDate(1996, 2, 29));
    for (const char* text : {"", "//", "5/3", "5/3/2001/1", "5-3-2001", "2001-03-05", "005/3/2001", "5/3/201",
                             "5/3/20011", "a/3/2001", "+5/3/2001", "5 /3/2001", "31/02/2000", "29/02/1900", "29/2/97",
                             "0/1/2000", "1/13/2000", "\xd9\xa1/1/2000"}) {
        EXPECT_FALSE(parseDateText(QString::fromUtf8(text))) << text;
    }

    EXPECT_EQ(formatDateText(QDate(2001, 3, 5)), QStringLiteral("05/03/2001"));
    EXPECT_EQ(formatDateText(QDate()), QString());
    // No date is the number 0; not a date is nothing that could be stored.
    EXPECT_EQ(encodeTypedDate(QStringLiteral("  ")).typeId(), QMetaType::Int);
    EXPECT_EQ(encodeTypedDate(QString()).toInt(), 0);
}
