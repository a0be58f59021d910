// Typed, shown and stored forms of the Submission editor's dates.

#include <QDate>
#include <QVariant>
#include <gtest/gtest.h>

#include "editors/DateText.h"

TEST(DateText, ParsesDayMonthYearWhateverTheLocale)
{
    EXPECT_EQ(ParseDateText(QStringLiteral("05/03/2001")), QDate(2001, 3, 5));
    EXPECT_EQ(ParseDateText(QStringLiteral("5/3/2001")), QDate(2001, 3, 5));
    EXPECT_EQ(ParseDateText(QStringLiteral("31/12/1999")), QDate(1999, 12, 31));
    // Day first, never month first.
    EXPECT_EQ(ParseDateText(QStringLiteral("12/01/2000")), QDate(2000, 1, 12));
    EXPECT_EQ(ParseDateText(QStringLiteral(" 1/1/2000 ")), QDate(2000, 1, 1));
}

TEST(DateText, RefusesOtherFormsAndImpossibleDates)
{
    for (const char* text : {"", "/", "//", "5/3", "5/3/", "/3/2001", "5//2001", "5/3/2001/1", "5-3-2001",
                             "2001-03-05", "5.3.2001", "005/3/2001", "5/003/2001", "5/3/201", "5/3/20011",
                             "5/3/1", "a/3/2001", "5/3/2o01", "+5/3/2001", "5 /3/2001", "31/02/2000",
                             "29/02/2001", "29/02/1900", "0/1/2000", "1/0/2000", "32/1/2000", "1/13/2000",
                             "00/00/0000", "\xd9\xa1/1/2000"}) {
        EXPECT_FALSE(ParseDateText(QString::fromUtf8(text))) << text;
    }
}

TEST(DateText, TwoDigitYearsFallIn1930To2029AndLeapDaysAreChecked)
{
    EXPECT_EQ(ParseDateText(QStringLiteral("1/1/29")), QDate(2029, 1, 1));
    EXPECT_EQ(ParseDateText(QStringLiteral("1/1/30")), QDate(1930, 1, 1));
    EXPECT_EQ(ParseDateText(QStringLiteral("1/1/00")), QDate(2000, 1, 1));
    EXPECT_EQ(ParseDateText(QStringLiteral("31/12/99")), QDate(1999, 12, 31));
    EXPECT_EQ(ParseDateText(QStringLiteral("29/2/2000")), QDate(2000, 2, 29));
    EXPECT_EQ(ParseDateText(QStringLiteral("29/2/2024")), QDate(2024, 2, 29));
    EXPECT_EQ(ParseDateText(QStringLiteral("29/2/96")), QDate(1996, 2, 29));
    EXPECT_FALSE(ParseDateText(QStringLiteral("29/2/97")));
}

TEST(DateText, FormatsAsDayMonthYearWithLeadingZeros)
{
    EXPECT_EQ(FormatDateText(QDate(2001, 3, 5)), QStringLiteral("05/03/2001"));
    EXPECT_EQ(FormatDateText(QDate(1999, 12, 31)), QStringLiteral("31/12/1999"));
    EXPECT_EQ(FormatDateText(QDate()), QString());
    // What the editor writes, it reads back as the same day.
    const QDate day(2026, 12, 6);
    EXPECT_EQ(ParseDateText(FormatDateText(day)), day);
}

TEST(DateText, StoredAsIsoTextOrZero)
{
    EXPECT_EQ(StoredDate(QStringLiteral("5/3/2001")), QVariant(QStringLiteral("2001-03-05")));
    EXPECT_EQ(StoredDate(QStringLiteral("1/1/30")), QVariant(QStringLiteral("1930-01-01")));
    const QVariant none = StoredDate(QString());
    EXPECT_EQ(none.typeId(), QMetaType::Int);
    EXPECT_EQ(none.toInt(), 0);
    EXPECT_EQ(StoredDate(QStringLiteral("  ")).toInt(), 0);
    // Not a date: nothing that could be stored.
    EXPECT_FALSE(StoredDate(QStringLiteral("31/02/2000")).isValid());
    EXPECT_FALSE(StoredDate(QStringLiteral("5/3")).isValid());
}

TEST(DateText, ShowsStoredValuesAndNothingForNoDate)
{
    EXPECT_EQ(ShowStoredDate(QVariant(QStringLiteral("2001-03-05"))), QStringLiteral("05/03/2001"));
    EXPECT_EQ(ShowStoredDate(QVariant(QStringLiteral("2001-03-05 00:00:00"))), QStringLiteral("05/03/2001"));
    EXPECT_EQ(ShowStoredDate(QVariant(0)), QString());
    EXPECT_EQ(ShowStoredDate(QVariant(qlonglong(0))), QString());
    EXPECT_EQ(ShowStoredDate(QVariant(QStringLiteral("0"))), QString());
    EXPECT_EQ(ShowStoredDate(QVariant()), QString());
    EXPECT_EQ(ShowStoredDate(QVariant(-5)), QString());
    EXPECT_EQ(ShowStoredDate(QVariant(QStringLiteral("2001-02-30"))), QString());
    EXPECT_EQ(ShowStoredDate(QVariant(QStringLiteral("rubbish"))), QString());
    // Day numbers counted from 30 December 1899, as older files hold them.
    EXPECT_EQ(ShowStoredDate(QVariant(qlonglong(1))), QStringLiteral("31/12/1899"));
    EXPECT_EQ(ShowStoredDate(QVariant(qlonglong(36526))), QStringLiteral("01/01/2000"));
    EXPECT_EQ(ShowStoredDate(QVariant(36526.75)), QStringLiteral("01/01/2000"));
    EXPECT_EQ(ShowStoredDate(QVariant(QStringLiteral("36526"))), QStringLiteral("01/01/2000"));
}
