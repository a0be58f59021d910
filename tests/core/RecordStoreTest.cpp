// RecordStore on its own: what it loads, lists and writes, the flag rules of a submission
// save, the delete guard, and that a refused write anywhere in a call stores nothing.

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

#include "core/RecordStore.h"
#include "support/CoreTestEnv.h"

namespace {

using Reason = RecordStoreError::Reason;
constexpr int kOut = SubmissionRecord::kUnreturned, kRejected = SubmissionRecord::kRejected,
              kAccepted = SubmissionRecord::kAccepted, kPublished = SubmissionRecord::kPublished;

QString texts(const QList<ListItem>& items)
{
    QStringList list;
    for (const ListItem& item : items)
        list << item.text;
    return list.join(',');
}

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

SubmissionRecord submission(int id, int work, int publisher, std::optional<int> status)
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

    int addWork(const QString& name, const QString& flags = QStringLiteral("0000"))
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", "
                            "\"Published?\") VALUES ('%1', 1, '1990', %2, %3, %4, %5)")
                 .arg(name, flags.at(0), flags.at(1), flags.at(2), flags.at(3)));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Work"));
    }
    int addPublisher(const QString& name, const QList<int>& genres = {})
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('%1', 1)").arg(name));
        const int id = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
        for (int genre : genres)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }
    int addSubmission(int work, int publisher, int status)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) "
                            "VALUES (%1, %2, '2024-05-01', %3)").arg(work).arg(publisher).arg(status));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Submission"));
    }
    // Submit?, Submitted?, Accepted?, Published? of each work, one group each.
    QString workFlags(std::initializer_list<int> works)
    {
        QStringList flags;
        for (int work : works)
            flags << queryText(QStringLiteral("SELECT \"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" "
                                              "FROM Work WHERE ID = %1").arg(work));
        return flags.join(' ');
    }
    QString publisherFlags(int publisher)
    {
        return queryText(QStringLiteral("SELECT \"Submit_To?\" || \"Submitted_To?\" FROM Publisher WHERE ID = %1")
                             .arg(publisher));
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
                    text += QString::number(query.getColumn(i).getType())
                        + QString::fromStdString(query.getColumn(i).getString()) + ',';
                text += ';';
            }
        }
        return text;
    }
    bool inTransaction() { return !sqlite3_get_autocommit(database().getHandle()); }

    std::unique_ptr<RecordStore> store;
};

TEST_F(RecordStoreTest, LoadsAndListsGiveTheStoredRecords)
{
    EXPECT_FALSE(store->work(1) || store->publisher(1) || store->submission(1));
    exec(QStringLiteral("INSERT INTO Work (ID, Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", "
                        "\"Submitted?\", \"Accepted?\", \"Published?\") VALUES (3, 'Tides', 2, '1999', NULL, 1, 0, 1, 0)"));
    const std::optional<WorkRecord> work = store->work(3);
    ASSERT_TRUE(work);
    EXPECT_EQ(QStringLiteral("%1|%2|%3|%4|%5|%6%7%8%9").arg(work->id).arg(work->name, work->yearWritten, work->yearLastAmended)
                  .arg(work->genreId).arg(work->submit).arg(work->submitted).arg(work->accepted).arg(work->published),
              QStringLiteral("3|Tides|1999||2|1010"));

    // Null columns load empty; the links come with the publisher, and only its own.
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID, \"E-Mail_Address\", \"Submit_To?\", "
                        "\"Submitted_To?\") VALUES (5, 'Granta', NULL, 'ed@granta.example', 0, 1);"
                        "INSERT INTO Publisher_Genre VALUES (5, 4), (5, 1), (6, 2);"));
    const std::optional<PublisherRecord> publisher = store->publisher(5);
    ASSERT_TRUE(publisher);
    EXPECT_EQ(publisher->name + '|' + publisher->email + '|' + publisher->guidelines, QStringLiteral("Granta|ed@granta.example|"));
    EXPECT_FALSE(publisher->typeId || publisher->submitTo);
    EXPECT_TRUE(publisher->submittedTo);
    EXPECT_EQ(publisher->genreIds, QList<int>({1, 4}));

    // Dates keep the type they are stored with; a status that is no number is none.
    exec(QStringLiteral("INSERT INTO Submission (ID, Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, "
                        "Outcome, Notes) VALUES (8, 3, 5, '2024-05-01', 0, 2, NULL, 'sent'), "
                        "(9, 3, 5, 45000, 0, 'lost', 'kept', NULL)"));
    const std::optional<SubmissionRecord> sent = store->submission(8);
    ASSERT_TRUE(sent);
    EXPECT_EQ(std::pair(sent->workId, sent->publisherId), std::pair(3, 5));
    EXPECT_EQ(sent->dateSubmitted, QVariant(QStringLiteral("2024-05-01")));
    EXPECT_EQ(sent->dateReturned, QVariant(qlonglong(0)));
    EXPECT_EQ(sent->status, std::optional<int>(kAccepted));
    EXPECT_EQ(sent->outcome + '|' + sent->notes, QStringLiteral("|sent"));
    const std::optional<SubmissionRecord> odd = store->submission(9);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->dateSubmitted, QVariant(qlonglong(45000)));
    EXPECT_FALSE(odd->status);

    // Lists by name, letter case aside; the lookups in stored order, the two genre lists alike.
    addWork(QStringLiteral("alpha"));
    addWork(QStringLiteral("O''Brien''s Tale"));
    addPublisher(QStringLiteral("Atlantic"));
    EXPECT_EQ(texts(store->worksByName()), QStringLiteral("alpha,O'Brien's Tale,Tides"));
    EXPECT_EQ(texts(store->publishersByName()), QStringLiteral("Atlantic,Granta"));
    EXPECT_EQ(store->worksByName().first().id, queryInt(QStringLiteral("SELECT ID FROM Work WHERE Name = 'alpha'")));
    EXPECT_EQ(texts(store->genres(RecordStore::GenreNames::Singular)),
              queryText(QStringLiteral("SELECT group_concat(Description_Singular) FROM Genre")));
    EXPECT_EQ(texts(store->genres(RecordStore::GenreNames::Plural)),
              queryText(QStringLiteral("SELECT group_concat(Description_Plural) FROM Genre")));
    EXPECT_EQ(texts(store->publisherTypes()),
              queryText(QStringLiteral("SELECT group_concat(Description) FROM Publisher_Type")));

    // The name is bound, so quotes in it are only characters.
    EXPECT_TRUE(store->nameExists(View::Work, QStringLiteral("TIDES")));
    EXPECT_TRUE(store->nameExists(View::Work, QStringLiteral("O'Brien's Tale")));
    EXPECT_FALSE(store->nameExists(View::Work, QStringLiteral("x' OR '1'='1")));
    EXPECT_FALSE(store->nameExists(View::Publisher, QStringLiteral("Tides")));
    EXPECT_TRUE(store->nameExists(View::Publisher, QStringLiteral("atlantic")));
    EXPECT_FALSE(store->nameExists(View::Submission, QStringLiteral("Tides")));
}

TEST_F(RecordStoreTest, WorksAndPublishersAreWrittenWholeUnderTheirOwnIds)
{
    WorkRecord work{.name = "First", .genreId = 2, .yearWritten = "1999", .submit = true};
    const int first = store->saveWork(work);
    exec(QStringLiteral("DELETE FROM Work"));
    // A new record's ID is the engine's: never one used before.
    const int second = store->saveWork(work);
    EXPECT_GT(second, first);
    EXPECT_EQ(second, queryInt(QStringLiteral("SELECT max(ID) FROM Work")));

    work = {.id = second, .name = "Renamed", .genreId = 3, .yearWritten = "1999", .yearLastAmended = "2001",
            .submitted = true, .published = true};
    EXPECT_EQ(store->saveWork(work), second);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || Genre_ID || Year_Written || Year_Last_Amended || \"Submit?\" || "
                                       "\"Submitted?\" || \"Accepted?\" || \"Published?\" FROM Work WHERE ID = %1")
                            .arg(second)),
              QStringLiteral("Renamed3199920010101"));
    work.id = second + 10;
    EXPECT_EQ(failure([&] { store->saveWork(work); }), Reason::Gone);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Work")), 1);

    // Links are written in list order; a publisher without a type stores Null.
    const int other = addPublisher(QStringLiteral("Other"), {1});
    PublisherRecord publisher{.name = "Granta", .submittedTo = true, .genreIds = {4, 1, 2}};
    const int granta = store->savePublisher(publisher);
    EXPECT_EQ(granta, queryInt(QStringLiteral("SELECT max(ID) FROM Publisher")));
    EXPECT_EQ(linksOf(granta), QStringLiteral("4,1,2"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT typeof(Type_ID) || \"Submit_To?\" || \"Submitted_To?\" || "
                                       "quote(Guidelines) FROM Publisher WHERE ID = %1").arg(granta)),
              QStringLiteral("null01''"));
    // An amendment replaces its own links and no other publisher's.
    publisher.id = granta;
    publisher.typeId = 2;
    publisher.genreIds = {3};
    EXPECT_EQ(store->savePublisher(publisher), granta);
    EXPECT_EQ(linksOf(granta) + '|' + linksOf(other), QStringLiteral("3|1"));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Type_ID FROM Publisher WHERE ID = %1").arg(granta)), 2);
    // A publisher deleted meanwhile gets no links either.
    publisher.id = granta + 10;
    publisher.genreIds = {5};
    EXPECT_EQ(failure([&] { store->savePublisher(publisher); }), Reason::Gone);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher_Genre WHERE Genre_ID = 5")), 0);
}

TEST_F(RecordStoreTest, ANewSubmissionRaisesTheFlagsItsStatusCallsFor)
{
    const int outElsewhere = addWork(QStringLiteral("Out"), QStringLiteral("1100"));
    const int staleFlag = addWork(QStringLiteral("Stale"), QStringLiteral("0111"));
    const int fresh = addWork(QStringLiteral("Fresh"));
    const int taken = addWork(QStringLiteral("Taken"));
    const int printed = addWork(QStringLiteral("Printed"));
    const int plain = addWork(QStringLiteral("Plain"));
    const int granta = addPublisher(QStringLiteral("Granta"));
    const int ambit = addPublisher(QStringLiteral("Ambit"));
    addSubmission(outElsewhere, ambit, kOut);

    SubmissionRecord record = submission(0, fresh, granta, kOut);
    record.outcome = QStringLiteral("waiting");
    const int id = store->saveSubmission(record);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Work_ID || '/' || Publisher_ID || '/' || Status || '/' || "
                                       "typeof(Date_Submitted) || Date_Submitted || '/' || typeof(Date_Returned) || "
                                       "Date_Returned || '/' || Outcome || '/' || quote(Notes) FROM Submission "
                                       "WHERE ID = %1").arg(id)),
              QStringLiteral("%1/%2/0/text2024-06-01/integer0/waiting/''").arg(fresh).arg(granta));
    EXPECT_EQ(workFlags({fresh}) + publisherFlags(granta), QStringLiteral("110011"));

    // Returned at once: out exactly while another submission of the work is; a rejection
    // lowers nothing else. Accepted and Published raise their flag and leave Submitted? alone.
    store->saveSubmission(submission(0, outElsewhere, ambit, kRejected));
    store->saveSubmission(submission(0, staleFlag, ambit, kRejected));
    store->saveSubmission(submission(0, taken, ambit, kAccepted));
    store->saveSubmission(submission(0, printed, ambit, kPublished));
    EXPECT_EQ(workFlags({outElsewhere, staleFlag, taken, printed}), QStringLiteral("1100 1011 1010 1001"));
    // Without a status the new row is unreturned, with the flags of one.
    const int unset = store->saveSubmission(submission(0, plain, ambit, std::nullopt));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Status FROM Submission WHERE ID = %1").arg(unset)), kOut);
    EXPECT_EQ(workFlags({plain}) + publisherFlags(ambit), QStringLiteral("110011"));
}

TEST_F(RecordStoreTest, AnAmendedSubmissionIsJudgedAgainstTheRowAsStored)
{
    const int alpha = addWork(QStringLiteral("Alpha"));
    const int beta = addWork(QStringLiteral("Beta"));
    const int granta = addPublisher(QStringLiteral("Granta"));
    const int first = addSubmission(alpha, granta, kRejected);
    const int second = addSubmission(alpha, granta, kRejected);

    // Back to unreturned: the work is out again. An amendment raises no Submit? flags.
    store->saveSubmission(submission(first, alpha, granta, kOut));
    EXPECT_EQ(workFlags({alpha}) + publisherFlags(granta), QStringLiteral("010000"));
    store->saveSubmission(submission(second, alpha, granta, kOut));
    // Rejected: still out while the other is.
    store->saveSubmission(submission(first, alpha, granta, kRejected));
    EXPECT_EQ(workFlags({alpha}), QStringLiteral("0100"));

    // Moved by a record that was never loaded: the old work comes from the stored row.
    store->saveSubmission(submission(second, beta, granta, kOut));
    EXPECT_EQ(workFlags({alpha, beta}), QStringLiteral("0000 0100"));
    // Moved away from a work that is still out with another: the old work stays out.
    const int third = addSubmission(beta, granta, kOut);
    store->saveSubmission(submission(second, alpha, granta, kOut));
    EXPECT_EQ(workFlags({alpha, beta}), QStringLiteral("0100 0100"));
    // A returned one moved changes nothing on its old work.
    store->saveSubmission(submission(third, beta, granta, kAccepted));
    store->saveSubmission(submission(third, alpha, granta, kAccepted));
    EXPECT_EQ(workFlags({alpha, beta}), QStringLiteral("0110 0110"));

    // No status: the stored one stays, even outside the four codes, and no flag moves.
    exec(QStringLiteral("UPDATE Submission SET Status = 7 WHERE ID = %1").arg(first));
    exec(QStringLiteral("UPDATE Work SET \"Submitted?\" = 0 WHERE ID = %1").arg(alpha));
    SubmissionRecord odd = submission(first, alpha, granta, std::nullopt);
    odd.notes = QStringLiteral("chased");
    store->saveSubmission(odd);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Status || Notes FROM Submission WHERE ID = %1").arg(first)),
              QStringLiteral("7chased"));
    EXPECT_EQ(workFlags({alpha}), QStringLiteral("0010"));

    // Its work, its publisher and its own row must still be there; nothing is written if not.
    const QString before = contents();
    EXPECT_EQ(failure([&] { store->saveSubmission(submission(0, 999, granta, 0)); }), Reason::MissingWork);
    EXPECT_EQ(failure([&] { store->saveSubmission(submission(first, alpha, 999, 0)); }), Reason::MissingPublisher);
    EXPECT_EQ(failure([&] { store->saveSubmission(submission(999, alpha, granta, 0)); }), Reason::Gone);
    EXPECT_EQ(contents(), before);
}

TEST_F(RecordStoreTest, DeleteGuardsAndWhatADeleteTakesWithIt)
{
    const int alpha = addWork(QStringLiteral("Alpha"), QStringLiteral("1100"));
    const int beta = addWork(QStringLiteral("Beta"), QStringLiteral("1100"));
    const int stale = addWork(QStringLiteral("Stale"), QStringLiteral("1100"));
    const int granta = addPublisher(QStringLiteral("Granta"), {1, 2});
    const int ambit = addPublisher(QStringLiteral("Ambit"), {1});
    const int alphaOut = addSubmission(alpha, granta, kOut);
    addSubmission(alpha, ambit, kRejected);
    const int betaOut = addSubmission(beta, ambit, kOut);
    const int betaAlsoOut = addSubmission(beta, ambit, kOut);
    const int staleReturned = addSubmission(stale, ambit, kRejected);

    // Only unreturned submissions of that record count.
    EXPECT_EQ(QList<int>({store->outstandingSubmissions(View::Work, alpha), store->outstandingSubmissions(View::Work, beta),
                          store->outstandingSubmissions(View::Work, stale),
                          store->outstandingSubmissions(View::Publisher, ambit),
                          store->outstandingSubmissions(View::Submission, alphaOut)}),
              QList<int>({1, 2, 0, 2, 0}));

    // A work is out until its last unreturned submission goes; a returned one changes nothing.
    store->deleteRecord(View::Submission, betaOut);
    EXPECT_EQ(workFlags({beta}), QStringLiteral("1100"));
    store->deleteRecord(View::Submission, betaAlsoOut);
    store->deleteRecord(View::Submission, staleReturned);
    EXPECT_EQ(workFlags({beta, stale}), QStringLiteral("1000 1100"));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Submission")), 2);

    // A publisher goes with its links, and only its own.
    store->deleteRecord(View::Publisher, granta);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher WHERE ID = %1").arg(granta)), 0);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Publisher_ID || '-' || Genre_ID) FROM Publisher_Genre")),
              QStringLiteral("%1-1").arg(ambit));
    store->deleteRecord(View::Work, stale);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Work")), 2);
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
            exec(QStringLiteral("CREATE TRIGGER \"fault_%1_%2\" BEFORE %2 ON %1 BEGIN "
                                "UPDATE Fault SET done = done + 1; "
                                "SELECT RAISE(ABORT, 'refused write') FROM Fault WHERE done = failAt; END")
                     .arg(table, action));
        }
    }
    // Refuses the first write of the call, then the second, ... until the call gets through
    // whole; returns how many writes were refused.
    auto refuseEachWrite = [this](const char* what, const std::function<void()>& call) {
        int refused = 0;
        for (int n = 1; n < 20; ++n) {
            exec(QStringLiteral("UPDATE Fault SET done = 0, failAt = %1").arg(n));
            const QString before = contents();
            QString message;
            const std::optional<Reason> reason = failure(call, &message);
            if (!reason)
                return refused;
            ++refused;
            EXPECT_EQ(reason, Reason::Engine) << what << " write " << n;
            EXPECT_TRUE(message.contains(QStringLiteral("refused write"))) << message.toStdString();
            EXPECT_EQ(contents(), before) << what << ": write " << n << " left a change";
            EXPECT_FALSE(inTransaction()) << what << ": write " << n << " left a transaction open";
        }
        ADD_FAILURE() << what << " never got through";
        return refused;
    };

    WorkRecord work{.name = "Gamma", .genreId = 1};
    EXPECT_EQ(refuseEachWrite("new work", [&] { work.id = store->saveWork(work); }), 1);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(work.id)), QStringLiteral("Gamma"));

    PublisherRecord publisher{.id = granta, .name = "Granta Books", .typeId = 1, .genreIds = {3, 4, 5}};
    // The row, two old links out, three new in.
    EXPECT_EQ(refuseEachWrite("amended publisher", [&] { store->savePublisher(publisher); }), 6);
    EXPECT_EQ(linksOf(granta), QStringLiteral("3,4,5"));
    publisher = {.name = "Granta Books", .genreIds = {1, 2}};
    EXPECT_EQ(refuseEachWrite("new publisher", [&] { publisher.id = store->savePublisher(publisher); }), 3);
    EXPECT_EQ(linksOf(publisher.id), QStringLiteral("1,2"));

    // The row, Submit?, the publisher's two flags, Submitted?.
    EXPECT_EQ(refuseEachWrite("new submission", [&] { store->saveSubmission(submission(0, beta, ambit, kRejected)); }), 4);
    EXPECT_EQ(workFlags({beta}) + publisherFlags(ambit), QStringLiteral("100011"));
    // The row, the old work's flag cleared, the new work's set.
    EXPECT_EQ(refuseEachWrite("moved submission", [&] { store->saveSubmission(submission(out, beta, granta, kOut)); }), 3);
    EXPECT_EQ(workFlags({alpha, beta}), QStringLiteral("1000 1100"));

    EXPECT_EQ(refuseEachWrite("deleted submission", [&] { store->deleteRecord(View::Submission, out); }), 2);
    EXPECT_EQ(workFlags({beta}), QStringLiteral("1000"));
    EXPECT_EQ(refuseEachWrite("deleted publisher", [&] { store->deleteRecord(View::Publisher, ambit); }), 3);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher_Genre WHERE Publisher_ID = %1").arg(ambit)), 0);
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
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Changed"));
}
