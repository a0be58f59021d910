// Every reader of a stored date reads the same hostile values the same way.

#include <QLocale>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>
#include <cmath>

#include "core/Listing.h"
#include "core/ListingColumns.h"
#include "core/Overdue.h"
#include "core/Resubmission.h"
#include "core/StoredDate.h"
#include "core/SubmissionFacts.h"
#include "support/CoreTestEnv.h"
#include "support/HostileDates.h"

TEST(StoredDate, EncodesIsoTextOrZeroAndReadsItBack)
{
    EXPECT_EQ(encodeStoredDate(QDate(2024, 2, 29)), QVariant(QStringLiteral("2024-02-29")));
    EXPECT_EQ(encodeStoredDate(QDate(999, 1, 2)), QVariant(QStringLiteral("0999-01-02")));
    EXPECT_EQ(encodeStoredDate(QDate()), QVariant(0));
    EXPECT_FALSE(encodeStoredDate(QDate(10000, 1, 1)).isValid());
    for (const QDate& date : {QDate(1, 1, 1), QDate(1899, 12, 30), QDate(9999, 12, 31)})
        EXPECT_EQ(decodeStoredDate(encodeStoredDate(date), DateRule::PositiveOnly), date);
    EXPECT_FALSE(decodeStoredDate(QVariant(), DateRule::Any).isValid());
    EXPECT_FALSE(decodeStoredDayNumber(std::nan(""), DateRule::Any).isValid());
}

class StoredDateTest : public CoreTest {};

TEST_F(StoredDateTest, EveryReaderAgreesOnEveryHostileValue)
{
    const UkLocale locale;
    createDatabase();
    const std::vector<HostileDate>& dates = hostileDates();
    {
        // One work per value, so that each is the earlier submission of its own work.
        SQLite::Transaction transaction(database());
        exec("INSERT INTO Publisher (Name, Type_ID) VALUES ('Brass Lantern', 1);");
        for (size_t i = 0; i < dates.size(); ++i) {
            exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('W%1', 1);").arg(i + 1, 3, 10, QChar('0')));
            exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                                "VALUES (%1, 1, %2, 0, 0);").arg(i + 1).arg(QLatin1String(dates[i].sql)));
        }
        transaction.commit();
    }
    clock.date = QDate(9999, 12, 31);  // every date but the last is overdue
    const OverdueRule rule = session().overdueRule();

    const ShortDateFormat format;
    const FillResult grid = readFillRows(database(), View::Submission, fillStatement(View::Submission, QString()), 0, &rule);
    // The Work view's column under its own rule, on every value rather than the view's text ones.
    const FillResult works = readFillRows(database(), View::Work,
        QStringLiteral("SELECT Work_ID AS ID, Date_Submitted FROM Submission ORDER BY ID;"));
    ASSERT_TRUE(grid.ok && works.ok && grid.overdue) << grid.error.toStdString() << works.error.toStdString();
    const QList<SubmissionFact> facts = loadSubmissionFacts(database());
    const QHash<int, OverdueInfo> overdue = overdueSubmissions(database(), rule);
    QList<int> selected;
    SQLite::Statement query(database(), fillStatement(View::Submission,
        QStringLiteral("Overdue(Status, Date_Submitted, Date_Returned, Answer_Within_Days)")).toStdString());
    while (query.executeStep())
        selected << query.getColumn("ID").getInt();
    sqlite3_stmt* raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(database().getHandle(), "SELECT Date_Submitted FROM Submission ORDER BY ID;", -1,
                                 &raw, nullptr), SQLITE_OK);

    ASSERT_EQ(grid.ids.size(), dates.size());
    ASSERT_EQ(facts.size(), static_cast<qsizetype>(dates.size()));
    for (size_t i = 0; i < dates.size(); ++i) {
        const HostileDate& d = dates[i];
        const int id = static_cast<int>(i + 1);
        ASSERT_EQ(sqlite3_step(raw), SQLITE_ROW);
        EXPECT_EQ(decodeStoredDate(raw, 0, DateRule::PositiveOnly), d.positiveOnly) << d.sql;
        EXPECT_EQ(decodeStoredDate(raw, 0, DateRule::Any), d.any) << d.sql;

        ASSERT_EQ(grid.ids[i], id);  // listed by work name
        EXPECT_EQ(grid.cells.at(i * 9 + 2), format.format(d.positiveOnly)) << d.sql;
        EXPECT_EQ(works.cells.at(i * 9 + 8), format.format(d.any)) << d.sql;
        EXPECT_EQ(facts[i].sent, d.positiveOnly) << d.sql;
        const bool late = d.positiveOnly.isValid() && d.positiveOnly < rule.today;
        EXPECT_EQ(overdue.contains(id), late) << d.sql;
        EXPECT_EQ(grid.overdue->contains(id), late) << d.sql;
        EXPECT_EQ(selected.contains(id), late) << d.sql;
        if (late)
            EXPECT_EQ(overdue[id].daysOut, d.positiveOnly.daysTo(rule.today)) << d.sql;
        const std::optional<EarlierSubmission> earlier = earlierSubmission(database(), id, 1, 0);
        ASSERT_TRUE(earlier) << d.sql;
        EXPECT_EQ(earlier->sent, d.positiveOnly) << d.sql;
    }
    sqlite3_finalize(raw);
}
