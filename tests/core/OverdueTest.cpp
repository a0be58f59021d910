// The overdue rule: the publisher's own days or the Overdue-Days setting, counted from the
// sent date to the session's today; and the Overdue() function saved selections use.

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include "core/Overdue.h"
#include "core/Listing.h"
#include "core/ListingColumns.h"
#include "support/CoreTestEnv.h"

class OverdueTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        clock.date = QDate(2026, 12, 6);
        createDatabase();
        exec("INSERT INTO Publisher (Name, Answer_Within_Days) VALUES ('Brass Lantern', 30), ('Quarto', NULL);");
        exec("INSERT INTO Work (Name) VALUES ('Hidden Ticket');");
        const char* rows[] = {
            "1, '2026-11-05', 0, 0",           // 1: 31 days out, Brass allows 30
            "1, '2026-11-06', 0, 0",           // 2: 30 days: not more than 30
            "2, '2026-09-07', 0, 0",           // 3: 90 days: not more than 90
            "2, '2026-09-06', 0, 0",           // 4: 91 days
            "2, '2020-01-01', 0, 1",           // 5: rejected
            "2, '2020-01-01', '2020-02-01', 0",  // 6: answered, status left unreturned
            "2, 0, 0, 0",                      // 7: no sent date
        };
        for (const char* row : rows)
            exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                                "VALUES (1, %1);").arg(QLatin1String(row)));
    }

    QList<int> overdueIds()
    {
        QList<int> ids = overdueSubmissions(database(), overdueRule(session())).keys();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    // What the shipped kind of saved selection lists.
    QList<int> selectedIds(const QString& condition)
    {
        QList<int> ids;
        SQLite::Statement query(database(), FillStatement(View::Submission, condition).toStdString());
        while (query.executeStep())
            ids << query.getColumn("ID").getInt();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    const QString kOverdue = QStringLiteral("Overdue(Status, Date_Submitted, Date_Returned, Answer_Within_Days)");
};

TEST_F(OverdueTest, ThePublishersOwnDaysOrTheSettingDecide)
{
    EXPECT_EQ(overdueIds(), (QList<int>{1, 4}));
    const QHash<int, OverdueInfo> info = overdueSubmissions(database(), overdueRule(session()));
    EXPECT_EQ(info[1].daysOut, 31);
    EXPECT_EQ(info[1].allowedDays, 30);
    EXPECT_TRUE(info[1].publishersOwn);
    EXPECT_EQ(info[4].daysOut, 91);
    EXPECT_EQ(info[4].allowedDays, 90);
    EXPECT_FALSE(info[4].publishersOwn);
    EXPECT_EQ(selectedIds(kOverdue), (QList<int>{1, 4}));

    // A day later both boundary rows are over; the function asks the clock each time.
    clock.date = QDate(2026, 12, 7);
    EXPECT_EQ(overdueIds(), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(selectedIds(kOverdue), (QList<int>{1, 2, 3, 4}));

    // A shorter setting reaches Quarto's rows, not Brass Lantern's own 30 days.
    clock.date = QDate(2026, 11, 20);
    session().settings().setOverdueDays(60);
    EXPECT_EQ(overdueIds(), (QList<int>{3, 4}));
    EXPECT_EQ(selectedIds(kOverdue + QStringLiteral(" AND Publisher LIKE 'q*'")), (QList<int>{3, 4}));
    // A publisher that answers within 0 days has every dated unreturned row overdue.
    exec("UPDATE Publisher SET Answer_Within_Days = 0 WHERE ID = 1;");
    EXPECT_EQ(overdueIds(), (QList<int>{1, 2, 3, 4}));
}

TEST_F(OverdueTest, OverdueDaysIsReadFromTheSettingsFile)
{
    writeIni("[Initialisation]\r\nOverdue-Days= 45 \r\n");
    QString warning;
    EXPECT_EQ(readOverdueDays(session().settings(), &warning), 45);
    EXPECT_TRUE(warning.isEmpty());
    EXPECT_TRUE(session().settings().load().isEmpty());
    EXPECT_EQ(session().settings().overdueDays(), 45);

    for (const char* bad : {"ninety", "-3", "12.5"}) {
        writeIni(QByteArray("[Initialisation]\r\nOverdue-Days=") + bad + "\r\n");
        const QStringList warnings = session().settings().load();
        ASSERT_EQ(warnings.size(), 1) << bad;
        EXPECT_TRUE(warnings[0].contains("Overdue-Days") && warnings[0].contains(QLatin1String(bad)));
        EXPECT_EQ(session().settings().overdueDays(), 90);
    }
    writeIni("[Initialisation]\r\nOverdue-Days=\r\n");
    EXPECT_TRUE(session().settings().load().isEmpty());
    EXPECT_EQ(session().settings().overdueDays(), kDefaultOverdueDays);
}

TEST(OverdueRuleTest, OnlyAnUnansweredDatedSubmissionCanBeOverdue)
{
    const OverdueRule rule{QDate(2024, 3, 1), 10};
    const QDate sent(2024, 2, 1);
    EXPECT_TRUE(rule.isOverdue(0, sent, QDate(), std::nullopt));
    EXPECT_FALSE(rule.isOverdue(0, sent, QDate(), 29));  // 29 days out (a leap year): not more than 29
    EXPECT_TRUE(rule.isOverdue(0, sent, QDate(), 28));
    EXPECT_FALSE(rule.isOverdue(2, sent, QDate(), std::nullopt));
    EXPECT_FALSE(rule.isOverdue(0, sent, QDate(2024, 2, 20), std::nullopt));
    EXPECT_FALSE(rule.isOverdue(0, QDate(), QDate(), std::nullopt));
    // Sent "in the future" by a typing slip is not overdue.
    EXPECT_FALSE(rule.isOverdue(0, QDate(2025, 1, 1), QDate(), 0));
    EXPECT_EQ(rule.allowedDays(-5), 10);
}

TEST_F(OverdueTest, TheFillFindsTheSameOverdueRowsAsItListsThem)
{
    // Dates stored every way the rule reads them: a day number (as a number or a text), a
    // day that does not exist, a text that is no date.
    const char* rows[] = {
        "2, 46000, 0, 0",          // 8: day 46000 is 2025-12-09
        "2, '46000', 0, 0",        // 9: the same, as text
        "2, '2026-02-30', 0, 0",   // 10: no such day
        "2, 'soon', 0, 0",         // 11
        "1, '2026-1-05', 0, 0",    // 12: not ISO
    };
    for (const char* row : rows)
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (1, %1);").arg(QLatin1String(row)));
    const OverdueRule rule = overdueRule(session());
    const QHash<int, OverdueInfo> expected = overdueSubmissions(database(), rule);
    EXPECT_EQ(overdueIds(), (QList<int>{1, 4, 8, 9}));

    for (const QString& condition : {QString(), QStringLiteral("Publisher_ID = 2")}) {
        SCOPED_TRACE(condition.toStdString());
        const FillResult fill = ReadFillRows(database(), View::Submission, FillStatement(View::Submission, condition),
                                             0, &rule);
        ASSERT_TRUE(fill.ok) << fill.error.toStdString();
        ASSERT_TRUE(fill.overdue.has_value());
        QHash<int, OverdueInfo> listed;
        for (int id : fill.ids) {
            if (expected.contains(id))
                listed.insert(id, expected[id]);
        }
        EXPECT_EQ(fill.overdue->keys().size(), listed.size());
        for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
            ASSERT_TRUE(fill.overdue->contains(it.key())) << it.key();
            const OverdueInfo found = fill.overdue->value(it.key());
            EXPECT_EQ(found.daysOut, it->daysOut);
            EXPECT_EQ(found.allowedDays, it->allowedDays);
            EXPECT_EQ(found.publishersOwn, it->publishersOwn);
        }
    }
    // Without a rule, or in a view without those columns, nothing is looked for.
    EXPECT_FALSE(ReadFillRows(database(), View::Submission, FillStatement(View::Submission, QString())).overdue);
    EXPECT_FALSE(ReadFillRows(database(), View::Work, FillStatement(View::Work, QString()), 0, &rule).overdue);
}
