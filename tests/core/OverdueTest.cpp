// The overdue rule and the Overdue() function of saved selections.

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "core/Overdue.h"
#include "core/Listing.h"
#include "core/ListingColumns.h"
#include "support/CoreTestEnv.h"

namespace {

// id:days out/allowed days, with '*' where the days are the publisher's own; by id.
QString describe(const QHash<int, OverdueInfo>& overdue)
{
    QList<int> ids = overdue.keys();
    std::sort(ids.begin(), ids.end());
    QStringList list;
    for (int id : ids)
        list << QStringLiteral("%1:%2/%3%4").arg(id).arg(overdue[id].daysOut).arg(overdue[id].allowedDays)
                    .arg(overdue[id].publishersOwn ? QStringLiteral("*") : QString());
    return list.join(' ');
}

} // namespace

class OverdueTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        exec("INSERT INTO Publisher (Name, Answer_Within_Days) VALUES ('Brass Lantern', 30), ('Quarto', NULL);");
        exec("INSERT INTO Work (Name) VALUES ('Hidden Ticket');");
        exec("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) VALUES "
             "(1, 1, '2026-11-05', 0, 0),"             // 1: 31 days out on 6 December, Brass allows 30
             "(1, 1, '2026-11-06', 0, 0),"             // 2: 30 days: not more than 30
             "(1, 2, '2026-09-07', 0, 0),"             // 3: 90 days: not more than 90
             "(1, 2, '2026-09-06', 0, 0),"             // 4: 91 days
             "(1, 2, '2020-01-01', 0, 1),"             // 5: rejected
             "(1, 2, '2020-01-01', '2020-02-01', 0),"  // 6: answered, status left unreturned
             "(1, 2, 0, 0, 0);");                      // 7: no sent date
    }
    QString overdue() { return describe(overdueSubmissions(database(), session().overdueRule())); }
    // What the shipped kind of saved selection lists.
    QList<int> selectedIds(const QString& more = {})
    {
        QList<int> ids;
        SQLite::Statement query(database(), fillStatement(View::Submission, QStringLiteral(
            "Overdue(Status, Date_Submitted, Date_Returned, Answer_Within_Days)") + more).toStdString());
        while (query.executeStep())
            ids << query.getColumn("ID").getInt();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(OverdueTest, ThePublishersOwnDaysOrTheSettingDecide)
{
    EXPECT_EQ(overdue(), "1:31/30* 4:91/90");
    EXPECT_EQ(selectedIds(), (QList<int>{1, 4}));

    // A day later both boundary rows are over; the function asks the clock each time.
    clock.date = QDate(2026, 12, 7);
    EXPECT_EQ(overdue(), "1:32/30* 2:31/30* 3:91/90 4:92/90");
    EXPECT_EQ(selectedIds(), (QList<int>{1, 2, 3, 4}));

    // A shorter setting reaches Quarto's rows, not Brass Lantern's own 30 days.
    clock.date = QDate(2026, 11, 20);
    session().settings().setOverdueDays(60);
    EXPECT_EQ(overdue(), "3:74/60 4:75/60");
    EXPECT_EQ(selectedIds(QStringLiteral(" AND Publisher LIKE 'q*'")), (QList<int>{3, 4}));
    // A publisher that answers within 0 days has every dated unreturned row overdue.
    exec("UPDATE Publisher SET Answer_Within_Days = 0 WHERE ID = 1;");
    EXPECT_EQ(overdue(), "1:15/0* 2:14/0* 3:74/60 4:75/60");
}

TEST_F(OverdueTest, OverdueDaysIsReadFromTheSettingsFile)
{
    Settings& settings = session().settings();
    writeIni("[Initialisation]\r\nOverdue-Days= 45 \r\n");
    EXPECT_TRUE(settings.load().isEmpty() && settings.overdueDays() == 45);
    // A mistake is told and gives the default; empty is the default and no mistake.
    for (const char* bad : {"ninety", "-3", ""}) {
        writeIni(QByteArray("[Initialisation]\r\nOverdue-Days=") + bad + "\r\n");
        const QStringList warnings = settings.load();
        QString warning;
        EXPECT_EQ(readOverdueDays(settings, &warning), kDefaultOverdueDays);
        EXPECT_EQ(warnings, *bad ? QStringList{warning} : QStringList()) << bad;
        EXPECT_TRUE(!*bad || (warning.contains("Overdue-Days") && warning.contains(QLatin1String(bad)))) << bad;
        EXPECT_EQ(settings.overdueDays(), kDefaultOverdueDays);
    }
}

TEST(OverdueRuleTest, TheDaysAreCountedInCalendarDaysAndNeverAhead)
{
    const OverdueRule rule{QDate(2024, 3, 1), 10};
    EXPECT_FALSE(rule.isOverdue(SubmissionStatus::Unreturned, QDate(2024, 2, 1), QDate(), 29));  // 29 days out (a leap year): not more than 29
    EXPECT_TRUE(rule.isOverdue(SubmissionStatus::Unreturned, QDate(2024, 2, 1), QDate(), 28));
    EXPECT_FALSE(rule.isOverdue(SubmissionStatus::Unreturned, QDate(2025, 1, 1), QDate(), 0));  // sent "in the future" by a typing slip
    EXPECT_EQ(rule.allowedDays(-5), 10);
}
