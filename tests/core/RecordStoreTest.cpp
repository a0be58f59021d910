// RecordStore: loads, writes, the flag rules, the delete guard, refused writes.

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <functional>
#include <sqlite3.h>

#include "core/RecordStore.h"
#include "support/CoreTestEnv.h"

namespace {

using Reason = RecordStoreError::Reason;
constexpr auto kOut = SubmissionStatus::Unreturned, kRejected = SubmissionStatus::Rejected,
               kAccepted = SubmissionStatus::Accepted, kPublished = SubmissionStatus::Published;

// The reason a call failed with; nothing when it succeeded.
std::optional<Reason> failure(const std::function<void()>& call, QString* message = nullptr)
{
    try {
        call();
    } catch (const RecordStoreError& e) {
        if (message)
            *message = e.message();
        return e.reason();
    }
    return std::nullopt;
}

SubmissionRecord submission(int id, int work, int publisher, std::optional<SubmissionStatus> status)
{
    return {.id = id, .workId = work, .publisherId = publisher, .dateSubmitted = QStringLiteral("2024-06-01"),
            .dateReturned = 0, .status = status};
}

} // namespace

class RecordStoreTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        store = std::make_unique<RecordStore>(database());
    }
    // flags: Submit?, Submitted?, Accepted?, Published?
    int addWork(const QString& name, const QString& flags = QStringLiteral("0000"))
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", "
                            "\"Published?\") VALUES ('%1', 1, '1990', %2, %3, %4, %5)")
                 .arg(name, flags.at(0), flags.at(1), flags.at(2), flags.at(3)));
        return int(database().getLastInsertRowid());
    }
    int addPublisher(const QString& name, const QList<int>& genres = {})
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('%1', 1)").arg(name));
        const int id = int(database().getLastInsertRowid());
        for (int genre : genres)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }
    int addSubmission(int work, int publisher, SubmissionStatus status)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) "
                            "VALUES (%1, %2, '2024-05-01', %3)").arg(work).arg(publisher).arg(int(status)));
        return int(database().getLastInsertRowid());
    }
    // The works' flags, a group each, then the publisher's Submit_To? and Submitted_To?.
    QString flags(std::initializer_list<int> works, int publisher = 0)
    {
        QStringList groups;
        for (int work : works)
            groups << queryText(QStringLiteral("SELECT \"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" "
                                               "FROM Work WHERE ID = %1").arg(work));
        if (publisher)
            groups << queryText(QStringLiteral("SELECT \"Submit_To?\" || \"Submitted_To?\" FROM Publisher WHERE ID = %1")
                                    .arg(publisher));
        return groups.join(' ');
    }
    // A publisher's links in the order they were written.
    QString linksOf(int publisher)
    {
        return queryText(QStringLiteral("SELECT group_concat(Genre_ID) FROM (SELECT Genre_ID FROM Publisher_Genre "
                                        "WHERE Publisher_ID = %1 ORDER BY rowid)").arg(publisher));
    }
    // Every row of every table a call may write, with the types of the values.
    QString contents()
    {
        QString text;
        for (const char* table : {"Work", "Publisher", "Submission", "Publisher_Genre", "Genre", "Publisher_Type"}) {
            SQLite::Statement query(database(), std::string("SELECT * FROM ") + table + " ORDER BY rowid");
            text += QLatin1String(table) + ':';
            while (query.executeStep()) {
                for (int i = 0; i < query.getColumnCount(); ++i)
                    text += QString::number(query.getColumn(i).getType()) + query.getColumn(i).getText() + ',';
                text += ';';
            }
        }
        return text;
    }
    bool inTransaction() { return !sqlite3_get_autocommit(database().getHandle()); }

    std::unique_ptr<RecordStore> store;
};

TEST_F(RecordStoreTest, LoadsGiveTheRecordsAsStored)
{
    EXPECT_FALSE(store->work(1) || store->publisher(1) || store->submission(1));
    exec(QStringLiteral("INSERT INTO Work (ID, Name, Genre_ID, Year_Written, \"Submit?\", \"Accepted?\") "
                        "VALUES (3, 'Tides', 2, '1999', 1, 1);"
                        "INSERT INTO Publisher (ID, Name, \"E-Mail_Address\", \"Submitted_To?\") "
                        "VALUES (5, 'Granta', 'ed@granta.example', 1);"
                        "INSERT INTO Publisher_Genre VALUES (5, 4), (5, 1), (6, 2);"
                        "INSERT INTO Submission (ID, Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Notes) "
                        "VALUES (8, 3, 5, '2024-05-01', 0, 2, 'sent'), (9, 3, 5, 45000, 0, 'lost', NULL)"));
    // Null columns load empty; the links come with the publisher, and only its own.
    const PublisherRecord p = store->publisher(5).value();
    EXPECT_EQ(p.name + '|' + p.email + '|' + p.guidelines, QStringLiteral("Granta|ed@granta.example|"));
    EXPECT_TRUE(!p.typeId && !p.submitTo && p.submittedTo);
    EXPECT_EQ(p.genreIds, QList<int>({1, 4}));
    // Dates keep the type they are stored with; a status that is no number is none.
    const SubmissionRecord sent = store->submission(8).value();
    EXPECT_TRUE(sent.status == kAccepted && sent.notes == "sent" && sent.dateSubmitted == QVariant("2024-05-01"));
    const SubmissionRecord odd = store->submission(9).value();
    EXPECT_TRUE(odd.dateSubmitted == QVariant(qlonglong(45000)) && !odd.status);

    // Names letter case aside; a name is bound, so quotes in it are only characters.
    addWork(QStringLiteral("O''Brien''s Tale"));
    EXPECT_TRUE(store->nameExists(View::Work, QStringLiteral("TIDES")) && store->nameExists(View::Work, "O'Brien's Tale"));
    EXPECT_FALSE(store->nameExists(View::Work, QStringLiteral("x' OR '1'='1")) || store->nameExists(View::Publisher, "Tides"));
}

TEST_F(RecordStoreTest, WorksAndPublishersAreWrittenWholeUnderTheirOwnIds)
{
    WorkRecord work{.name = "First", .genreId = 2, .yearWritten = "1999", .submit = true};
    const int first = store->saveWork(work);
    // A new record's ID is the engine's: never one used before.
    exec(QStringLiteral("DELETE FROM Work"));
    const int second = store->saveWork(work);
    EXPECT_GT(second, first);
    work = {.id = second, .name = "Renamed", .genreId = 3, .yearLastAmended = "2001", .published = true};
    EXPECT_EQ(store->saveWork(work), second);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name || Genre_ID || Year_Last_Amended || \"Submit?\" || "
                                       "\"Published?\") FROM Work")),
              QStringLiteral("Renamed3200101"));
    work.id = second + 10;
    EXPECT_EQ(failure([&] { store->saveWork(work); }), Reason::Gone);

    // Links are written in list order; a publisher without a type stores Null.
    const int other = addPublisher(QStringLiteral("Other"), {1});
    PublisherRecord publisher{.name = "Granta", .submittedTo = true, .genreIds = {4, 1, 2}};
    const int granta = store->savePublisher(publisher);
    EXPECT_EQ(linksOf(granta), QStringLiteral("4,1,2"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || typeof(Type_ID) || \"Submit_To?\" || \"Submitted_To?\" || "
                                       "quote(Guidelines) FROM Publisher WHERE ID = %1").arg(granta)),
              QStringLiteral("Grantanull01''"));
    // An amendment replaces its own links and no other publisher's; one deleted meanwhile
    // gets no links either.
    publisher = {.id = granta, .name = "Granta", .typeId = 2, .genreIds = {3}};
    EXPECT_EQ(store->savePublisher(publisher), granta);
    EXPECT_EQ(linksOf(granta) + '|' + linksOf(other), QStringLiteral("3|1"));
    publisher = {.id = granta + 10, .name = "Gone", .genreIds = {5}};
    EXPECT_EQ(failure([&] { store->savePublisher(publisher); }), Reason::Gone);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher_Genre WHERE Genre_ID = 5")), 0);
}

TEST_F(RecordStoreTest, ANewSubmissionRaisesTheFlagsItsStatusCallsFor)
{
    const int outElsewhere = addWork(QStringLiteral("Out"), QStringLiteral("1100"));
    const int staleFlag = addWork(QStringLiteral("Stale"), QStringLiteral("0111"));
    const int taken = addWork(QStringLiteral("Taken"));
    const int printed = addWork(QStringLiteral("Printed"));
    const int plain = addWork(QStringLiteral("Plain"));
    const int ambit = addPublisher(QStringLiteral("Ambit"));
    addSubmission(outElsewhere, ambit, kOut);

    // Without a status the new row is unreturned, with the flags of one.
    const int id = store->saveSubmission(submission(0, plain, ambit, std::nullopt));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Status || typeof(Date_Submitted) || Date_Submitted || typeof(Date_Returned) "
                                       "|| Date_Returned || quote(Notes) FROM Submission WHERE ID = %1").arg(id)),
              QStringLiteral("0text2024-06-01integer0''"));
    EXPECT_EQ(flags({plain}, ambit), QStringLiteral("1100 11"));

    // Returned at once: out exactly while another submission of the work is; a rejection
    // lowers nothing else. Accepted and Published raise their flag and leave Submitted? alone.
    store->saveSubmission(submission(0, outElsewhere, ambit, kRejected));
    store->saveSubmission(submission(0, staleFlag, ambit, kRejected));
    store->saveSubmission(submission(0, taken, ambit, kAccepted));
    store->saveSubmission(submission(0, printed, ambit, kPublished));
    EXPECT_EQ(flags({outElsewhere, staleFlag, taken, printed}), QStringLiteral("1100 1011 1010 1001"));
}

TEST_F(RecordStoreTest, AnAmendedSubmissionIsJudgedAgainstTheRowAsStored)
{
    const int alpha = addWork(QStringLiteral("Alpha"));
    const int beta = addWork(QStringLiteral("Beta"));
    const int granta = addPublisher(QStringLiteral("Granta"));
    const int first = addSubmission(alpha, granta, kRejected);

    // Back to unreturned: the work is out again. An amendment raises no Submit? flags.
    store->saveSubmission(submission(first, alpha, granta, kOut));
    EXPECT_EQ(flags({alpha}, granta), QStringLiteral("0100 00"));

    // Moved by a record that was never loaded: the old work comes from the stored row, and
    // stays out while another of its submissions is.
    store->saveSubmission(submission(first, beta, granta, kOut));
    EXPECT_EQ(flags({alpha, beta}), QStringLiteral("0000 0100"));
    const int third = addSubmission(beta, granta, kOut);
    store->saveSubmission(submission(first, alpha, granta, kOut));
    EXPECT_EQ(flags({beta}), QStringLiteral("0100"));
    // A returned one moved changes nothing on its old work.
    store->saveSubmission(submission(third, beta, granta, kAccepted));
    store->saveSubmission(submission(third, alpha, granta, kAccepted));
    EXPECT_EQ(flags({alpha, beta}), QStringLiteral("0110 0110"));

    // No status: the stored one stays, even outside the four codes, and no flag moves.
    exec(QStringLiteral("UPDATE Submission SET Status = 7 WHERE ID = %1; UPDATE Work SET \"Submitted?\" = 0 WHERE ID = %2")
             .arg(first).arg(alpha));
    store->saveSubmission(submission(first, alpha, granta, std::nullopt));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Status FROM Submission WHERE ID = %1").arg(first)), 7);
    EXPECT_EQ(flags({alpha}), QStringLiteral("0010"));

    // Its work, its publisher and its own row must still be there; nothing is written if not.
    const QString before = contents();
    EXPECT_EQ(failure([&] { store->saveSubmission(submission(0, 999, granta, kOut)); }), Reason::MissingWork);
    EXPECT_EQ(failure([&] { store->saveSubmission(submission(first, alpha, 999, kOut)); }), Reason::MissingPublisher);
    EXPECT_EQ(failure([&] { store->saveSubmission(submission(999, alpha, granta, kOut)); }), Reason::Gone);
    EXPECT_EQ(contents(), before);
}

TEST_F(RecordStoreTest, DeleteGuardsAndWhatADeleteTakesWithIt)
{
    const int alpha = addWork(QStringLiteral("Alpha"), QStringLiteral("1100"));
    const int beta = addWork(QStringLiteral("Beta"), QStringLiteral("1100"));
    const int stale = addWork(QStringLiteral("Stale"), QStringLiteral("1100"));
    const int granta = addPublisher(QStringLiteral("Granta"), {1, 2});
    const int ambit = addPublisher(QStringLiteral("Ambit"), {1});
    addSubmission(alpha, granta, kOut);
    addSubmission(alpha, ambit, kRejected);
    const int betaOut = addSubmission(beta, ambit, kOut);
    const int betaAlsoOut = addSubmission(beta, ambit, kOut);
    const int staleReturned = addSubmission(stale, ambit, kRejected);

    // Only unreturned submissions of that record count.
    EXPECT_EQ(QList<int>({store->outstandingSubmissions(View::Work, beta), store->outstandingSubmissions(View::Work, stale),
                          store->outstandingSubmissions(View::Publisher, ambit)}),
              QList<int>({2, 0, 2}));

    // A work is out until its last unreturned submission goes; a returned one changes nothing.
    store->deleteRecord(View::Submission, betaOut);
    EXPECT_EQ(flags({beta}), QStringLiteral("1100"));
    store->deleteRecord(View::Submission, betaAlsoOut);
    store->deleteRecord(View::Submission, staleReturned);
    EXPECT_EQ(flags({beta, stale}), QStringLiteral("1000 1100"));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Submission")), 2);

    // A publisher goes with its links, and only its own.
    store->deleteRecord(View::Publisher, granta);
    store->deleteRecord(View::Work, stale);
    EXPECT_EQ(linksOf(granta) + '/' + linksOf(ambit), QStringLiteral("/1"));
    // Gone already: nothing to do, no error.
    EXPECT_FALSE(failure([&] { store->deleteRecord(View::Work, stale); }));
}

TEST_F(RecordStoreTest, ARefusedWriteAnywhereInACallLeavesEveryTableAsItWas)
{
    const int alpha = addWork(QStringLiteral("Alpha"), QStringLiteral("1100"));
    const int beta = addWork(QStringLiteral("Beta"));
    const int granta = addPublisher(QStringLiteral("Granta"), {1, 2});
    const int ambit = addPublisher(QStringLiteral("Ambit"), {1, 2});
    const int out = addSubmission(alpha, granta, kOut);

    // Every row written to a record table counts; the one numbered failAt is refused.
    exec(QStringLiteral("CREATE TABLE Fault (done INTEGER, failAt INTEGER); INSERT INTO Fault VALUES (0, 0);"));
    for (const QString table : {"Work", "Publisher", "Submission", "Publisher_Genre"}) {
        for (const QString action : {"INSERT", "UPDATE", "DELETE"}) {
            exec(QStringLiteral("CREATE TRIGGER \"fault_%1_%2\" BEFORE %2 ON %1 BEGIN UPDATE Fault SET done = done + 1; "
                                "SELECT RAISE(ABORT, 'refused write') FROM Fault WHERE done = failAt; END")
                     .arg(table, action));
        }
    }
    // Refuses the first write of the call, then the second, ... until the call gets through
    // whole; returns how many writes were refused.
    auto refuseEachWrite = [this](const char* what, const std::function<void()>& call) {
        for (int n = 1; n < 20; ++n) {
            exec(QStringLiteral("UPDATE Fault SET done = 0, failAt = %1").arg(n));
            const QString before = contents();
            QString message;
            const std::optional<Reason> reason = failure(call, &message);
            if (!reason)
                return n - 1;
            EXPECT_TRUE(reason == Reason::Engine && message.contains("refused write")) << message.toStdString();
            EXPECT_EQ(contents(), before) << what << ": write " << n << " left a change";
            EXPECT_FALSE(inTransaction()) << what << ": write " << n << " left a transaction open";
        }
        ADD_FAILURE() << what << " never got through";
        return 0;
    };

    // The row, two old links out, three new in.
    PublisherRecord publisher{.id = granta, .name = "Granta Books", .typeId = 1, .genreIds = {3, 4, 5}};
    EXPECT_EQ(refuseEachWrite("amended publisher", [&] { store->savePublisher(publisher); }), 6);
    EXPECT_EQ(linksOf(granta), QStringLiteral("3,4,5"));
    // The row, Submit?, the publisher's two flags, Submitted?.
    EXPECT_EQ(refuseEachWrite("new submission", [&] { store->saveSubmission(submission(0, beta, ambit, kRejected)); }), 4);
    EXPECT_EQ(flags({beta}, ambit), QStringLiteral("1000 11"));
    // The row, the old work's flag cleared, the new work's set.
    EXPECT_EQ(refuseEachWrite("moved submission", [&] { store->saveSubmission(submission(out, beta, granta, kOut)); }), 3);
    EXPECT_EQ(flags({alpha, beta}), QStringLiteral("1000 1100"));
    EXPECT_EQ(refuseEachWrite("deleted submission", [&] { store->deleteRecord(View::Submission, out); }), 2);
    EXPECT_EQ(refuseEachWrite("deleted publisher", [&] { store->deleteRecord(View::Publisher, ambit); }), 3);
}

TEST_F(RecordStoreTest, AFileLockedByAnotherProgramIsNamedAndNothingIsWritten)
{
    const int alpha = addWork(QStringLiteral("Alpha"));
    WorkRecord work = *store->work(alpha);
    work.name = QStringLiteral("Changed");
    database().setBusyTimeout(100);
    SQLite::Database other(path(QStringLiteral("Quillary.mdb")).toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");

    // Reads, saves and deletes alike; a save leaves no transaction open.
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { store->saveWork(work); }, [&] { store->work(alpha); }, [&] { store->deleteRecord(View::Work, alpha); }}) {
        QString message;
        EXPECT_EQ(failure(call, &message), Reason::Locked);
        EXPECT_EQ(message, QStringLiteral("Quillary.mdb is being used by another program. Close it there, then try again."));
        EXPECT_FALSE(inTransaction());
    }
    other.exec("ROLLBACK");
    EXPECT_EQ(store->saveWork(work), alpha);
}
