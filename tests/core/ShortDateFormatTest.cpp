// The hand-made short date format against QLocale's own, in every locale Qt knows.

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

#include "core/ShortDateFormat.h"

TEST(ShortDateFormat, WritesWhatQLocaleWritesInEveryLocaleAndNothingForWhatIsNotADate)
{
    QList<QDate> dates;
    for (int month = 1; month <= 12; ++month)
        dates << QDate(2023, month, month == 2 ? 28 : 9 + month);
    dates << QDate(2000, 1, 1) << QDate(2009, 10, 5) << QDate(1000, 3, 31) << QDate(9999, 12, 31)
          << QDate(999, 5, 5) << QDate(10000, 1, 1) << QDate(-44, 3, 15) << QDate(2024, 2, 29);
    int byHand = 0;
    const QList<QLocale> locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    for (const QLocale& locale : locales) {
        const ShortDateFormat format(locale);
        byHand += format.byHand() ? 1 : 0;
        for (const QDate& date : dates) {
            ASSERT_EQ(format.format(date), locale.toString(date, QLocale::ShortFormat))
                << locale.name().toStdString() << " " << locale.dateFormat(QLocale::ShortFormat).toStdString()
                << " " << date.toString(Qt::ISODate).toStdString();
        }
    }
    // Most locales' patterns are numbers, month names and separators.
    EXPECT_GT(byHand, locales.size() / 2);

    const ShortDateFormat format(QLocale::c());
    EXPECT_EQ(format.format(QDate()), QString());
    for (const auto& [year, month, day] : {std::tuple{2023, 2, 29}, {2023, 13, 1}, {0, 1, 1}})
        EXPECT_EQ(format.format(year, month, day), QString()) << year << '-' << month << '-' << day;
    EXPECT_EQ(format.format(2024, 2, 29), QLocale::c().toString(QDate(2024, 2, 29), QLocale::ShortFormat));
}
