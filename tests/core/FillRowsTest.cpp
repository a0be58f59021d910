// A view's rows as cell texts, over enough rows that the caches change course.

#include <QLocale>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>

#include "core/Listing.h"
#include "core/ListingColumns.h"
#include "support/CoreTestEnv.h"

class FillRowsTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // dd.MM.yy
        createDatabase();
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        CoreTest::TearDown();
    }
};

TEST_F(FillRowsTest, EveryCellAsItIsShown)
{
    // Stored dates in the forms files hold, with what the grid shows (every hostile one is in
    // StoredDateTest).
    const QList<std::pair<QString, QString>> dates = {
        {"'2023-02-28'", "28.02.23"}, {"'1850-06-15'", "15.06.50"}, {"'2023-02-30'", ""}, {"36526", "01.01.00"},
        {"'36527'", "02.01.00"}, {"'2023-02-28T10:00:00'", "28.02.23"}, {"'soon'", ""}, {"-1", ""},
    };
    const int kRows = 6000;  // past the point where a column of distinct names is no longer remembered
    {
        SQLite::Transaction transaction(database());
        exec("INSERT INTO Publisher (Name, Type_ID) VALUES ('Granta', 1), ('Ploughshares', 1);");
        for (int i = 0; i < kRows; ++i) {
            exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Work %1', 1);").arg(i, 5, 10, QChar('0')));
            exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, "
                                "Outcome, Notes, Fee, Payment) VALUES (%1, %2, %3, %4, %5, %6, 'n%7', %8, %9);")
                     .arg(i + 1).arg(1 + i % 2).arg(dates[i % dates.size()].first)
                     .arg(i % 10 == 9 ? QStringLiteral("0") : QStringLiteral("'2024-03-0%1'").arg(1 + i % 9))
                     .arg(i % 4).arg(i % 3 == 0 ? QStringLiteral("NULL") : QStringLiteral("''")).arg(i % 7)
                     .arg(i % 2 ? "350" : "NULL").arg(i % 5 ? "NULL" : "123456"));
        }
        transaction.commit();
    }
    const FillResult fill = readFillRows(database(), View::Submission, fillStatement(View::Submission, QString()));
    ASSERT_TRUE(fill.ok) << fill.error.toStdString();
    ASSERT_EQ(fill.ids.size(), size_t(kRows));
    ASSERT_EQ(fill.cells.cells.size(), size_t(kRows) * 9);
    const char* const statuses[] = {"Unreturned", "Rejected", "Accepted", "Published"};
    for (size_t r = 0; r < fill.ids.size(); ++r) {
        const int i = fill.ids[r] - 1;  // ordered by work name: row r is work r
        ASSERT_EQ(i, static_cast<int>(r));
        QStringList row;
        for (size_t c = 0; c < 9; ++c)
            row << fill.cells.at(r * 9 + c);
        ASSERT_EQ(row, QStringList({QStringLiteral("Work %1").arg(i, 5, 10, QChar('0')), i % 2 ? "Ploughshares" : "Granta",
                                    dates[i % dates.size()].second,
                                    i % 10 == 9 ? QString() : QStringLiteral("0%1.03.24").arg(1 + i % 9),
                                    statuses[i % 4], QString(), QStringLiteral("n%1").arg(i % 7),
                                    i % 2 ? QStringLiteral("3,50\u00a0€") : QString(),
                                    i % 5 ? QString() : QStringLiteral("1.234,56\u00a0€")}))
            << dates[i % dates.size()].first.toStdString();
    }
    // Repeated texts are kept once.
    EXPECT_LT(fill.cells.texts.size(), size_t(kRows) + 100);

    // Yes/No: anything but 0 is Yes.
    exec("UPDATE Work SET [Submit?] = 0 WHERE ID = 1; UPDATE Work SET [Submit?] = -1 WHERE ID = 2;");
    const FillResult works = readFillRows(database(), View::Work, fillStatement(View::Work, QStringLiteral("ID <= 2")));
    ASSERT_EQ(works.ids.size(), size_t(2)) << works.error.toStdString();
    EXPECT_EQ(works.cells.at(4) + works.cells.at(9 + 4), QStringLiteral("NoYes"));
}
