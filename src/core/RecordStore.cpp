#include "core/RecordStore.h"

#include "core/StoredValues.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <utility>

#include "core/Conversions.h"
#include "core/Database.h"

// Values a user typed and record IDs are always bound; the only texts joined into a
// statement are the program's own table names.

namespace {

// --- Loading ---

const char* const kWorkById =
    "SELECT ID, Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", \"Submitted?\", \"Accepted?\", "
    "\"Published?\" FROM Work WHERE ID = ?;";
const char* const kPublisherById =
    "SELECT ID, Name, Type_ID, Guidelines, Comments, Address, \"Submit_To?\", \"Submitted_To?\", "
    "\"E-Mail_Address\", Web_Address, Answer_Within_Days, Simultaneous, Usual_Fee FROM Publisher WHERE ID = ?;";
const char* const kSubmissionById =
    "SELECT ID, Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Outcome, Notes, Status, Fee, Payment, "
    "Date_Paid FROM Submission WHERE ID = ?;";
const char* const kPublisherGenres =
    "SELECT Genre_ID FROM Publisher_Genre WHERE Publisher_ID = ? ORDER BY Genre_ID;";

// --- Lists ---

const char* const kGenresSingular = "SELECT ID, Description_Singular FROM Genre;";
const char* const kGenresPlural = "SELECT ID, Description_Plural FROM Genre;";
const char* const kPublisherTypes = "SELECT ID, Description FROM Publisher_Type;";
const char* const kWorksByName = "SELECT ID, Name FROM Work ORDER BY Name;";
const char* const kPublishersByName = "SELECT ID, Name FROM Publisher ORDER BY Name;";
// Name is compared as the table declares it (without regard to case in a new file).
const char* const kWorkNamed = "SELECT 1 FROM Work WHERE Name = ?;";
const char* const kPublisherNamed = "SELECT 1 FROM Publisher WHERE Name = ?;";

// --- Saving ---

const char* const kInsertWork =
    "INSERT INTO Work (Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", \"Submitted?\", "
    "\"Accepted?\", \"Published?\") VALUES (?, ?, ?, ?, ?, ?, ?, ?);";
const char* const kUpdateWork =
    "UPDATE Work SET Name = ?, Genre_ID = ?, Year_Written = ?, Year_Last_Amended = ?, \"Submit?\" = ?, "
    "\"Submitted?\" = ?, \"Accepted?\" = ?, \"Published?\" = ? WHERE ID = ?;";
const char* const kInsertPublisher =
    "INSERT INTO Publisher (Name, Type_ID, Guidelines, Comments, Address, \"Submit_To?\", \"Submitted_To?\", "
    "\"E-Mail_Address\", Web_Address, Answer_Within_Days, Simultaneous, Usual_Fee) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
const char* const kUpdatePublisher =
    "UPDATE Publisher SET Name = ?, Type_ID = ?, Guidelines = ?, Comments = ?, Address = ?, \"Submit_To?\" = ?, "
    "\"Submitted_To?\" = ?, \"E-Mail_Address\" = ?, Web_Address = ?, Answer_Within_Days = ?, Simultaneous = ?, "
    "Usual_Fee = ? WHERE ID = ?;";
const char* const kDeletePublisherGenres = "DELETE FROM Publisher_Genre WHERE Publisher_ID = ?;";
const char* const kInsertPublisherGenre = "INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (?, ?);";

// Without a status the column is left out: a new row takes the default, a stored one stays.
const char* const kInsertSubmission =
    "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Outcome, Notes, Fee, Payment, "
    "Date_Paid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?);";
const char* const kInsertSubmissionWithStatus =
    "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Outcome, Notes, Fee, Payment, "
    "Date_Paid, Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
const char* const kUpdateSubmission =
    "UPDATE Submission SET Work_ID = ?, Publisher_ID = ?, Date_Submitted = ?, Date_Returned = ?, Outcome = ?, "
    "Notes = ?, Fee = ?, Payment = ?, Date_Paid = ? WHERE ID = ?;";
const char* const kUpdateSubmissionWithStatus =
    "UPDATE Submission SET Work_ID = ?, Publisher_ID = ?, Date_Submitted = ?, Date_Returned = ?, Outcome = ?, "
    "Notes = ?, Fee = ?, Payment = ?, Date_Paid = ?, Status = ? WHERE ID = ?;";
// Only a submission still unreturned is withdrawn. An outcome already written stays after the word.
const char* const kWithdraw =
    "UPDATE Submission SET Status = 1, Date_Returned = ?, Outcome = CASE WHEN trim(ifnull(Outcome, '')) = '' "
    "THEN 'Withdrawn' ELSE 'Withdrawn; ' || Outcome END WHERE ID = ? AND Status = 0;";
const char* const kWorkOfSubmission = "SELECT Work_ID FROM Submission WHERE ID = ?;";
const char* const kStoredSubmission = "SELECT Work_ID, Status FROM Submission WHERE ID = ?;";
const char* const kWorkExists = "SELECT 1 FROM Work WHERE ID = ?;";
const char* const kPublisherExists = "SELECT 1 FROM Publisher WHERE ID = ?;";

// --- Flags ---

const char* const kWorkToSubmit = "UPDATE Work SET \"Submit?\" = 1 WHERE ID = ?;";
const char* const kPublisherSubmittedTo =
    "UPDATE Publisher SET \"Submit_To?\" = 1, \"Submitted_To?\" = 1 WHERE ID = ?;";
const char* const kWorkAccepted = "UPDATE Work SET \"Accepted?\" = 1 WHERE ID = ?;";
const char* const kWorkPublished = "UPDATE Work SET \"Published?\" = 1 WHERE ID = ?;";
// A work's "Submitted?" means it has an unreturned submission. Set from what is stored now:
const char* const kWorkSubmittedWhileOutstanding =
    "UPDATE Work SET \"Submitted?\" = EXISTS (SELECT 1 FROM Submission "
    "WHERE Submission.Work_ID = Work.ID AND Submission.Status = 0) WHERE ID = ?;";
// Cleared once the last unreturned submission has gone (never raised):
const char* const kWorkNoLongerSubmitted =
    "UPDATE Work SET \"Submitted?\" = 0 WHERE ID = ? AND NOT EXISTS (SELECT 1 FROM Submission "
    "WHERE Submission.Work_ID = Work.ID AND Submission.Status = 0);";

// --- Deleting ---

const char* const kOutstandingForWork = "SELECT Count(*) FROM Submission WHERE Status = 0 AND Work_ID = ?;";
const char* const kOutstandingForPublisher =
    "SELECT Count(*) FROM Submission WHERE Status = 0 AND Publisher_ID = ?;";
const char* const kWorkOfOutstandingSubmission = "SELECT Work_ID FROM Submission WHERE ID = ? AND Status = 0;";

// A stored number, also when it was stored as text ('2'); nothing for Null or anything else.
std::optional<int> number(const SQLite::Column& column)
{
    const std::optional<qint64> n = storedInteger(column);
    return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

// A stored status as it is, also one outside the four; nothing when it is no number.
std::optional<SubmissionStatus> status(const SQLite::Column& column)
{
    const std::optional<int> n = number(column);
    return n ? std::optional<SubmissionStatus>(static_cast<SubmissionStatus>(*n)) : std::nullopt;
}

void put(SQLite::Statement& statement, int index, const QString& value)
{
    statement.bind(index, value.toStdString());
}

void put(SQLite::Statement& statement, int index, bool value)
{
    statement.bind(index, value ? 1 : 0);
}

void put(SQLite::Statement& statement, int index, const std::optional<int>& value)
{
    if (value)
        statement.bind(index, *value);
    else
        statement.bind(index);
}

void put(SQLite::Statement& statement, int index, const std::optional<qint64>& value)
{
    if (value)
        statement.bind(index, static_cast<int64_t>(*value));
    else
        statement.bind(index);
}

void put(SQLite::Statement& statement, int index, const std::optional<bool>& value)
{
    if (value)
        statement.bind(index, *value ? 1 : 0);
    else
        statement.bind(index);
}

void put(SQLite::Statement& statement, int index, const QVariant& value)
{
    bindStoredValue(statement, index, value);
}

// Runs a statement with the ID as its one parameter; the rows it changed.
int runWithId(SQLite::Database& database, const char* statement, int id)
{
    SQLite::Statement query(database, statement);
    query.bind(1, id);
    return query.exec();
}

bool rowExists(SQLite::Database& database, const char* statement, int id)
{
    SQLite::Statement query(database, statement);
    query.bind(1, id);
    return query.executeStep();
}

QList<ListItem> listOf(SQLite::Database& database, const char* statement)
{
    QList<ListItem> items;
    SQLite::Statement query(database, statement);
    while (query.executeStep())
        items.append({query.getColumn(0).getInt(), storedText(query.getColumn(1))});
    return items;
}

// Runs one store call; an engine failure leaves as the store's error. Any transaction of
// the call has been rolled back by then.
} // namespace

RecordStoreError storeError(const SQLite::Database& database, const std::exception& e)
{
    if (db::isLockedByAnother(e))
        return RecordStoreError(RecordStoreError::Reason::Locked,
                                db::lockedMessage(QString::fromStdString(database.getFilename())));
    return RecordStoreError(RecordStoreError::Reason::Engine, QString::fromUtf8(e.what()));
}

void updateWorksSubmitted(SQLite::Database& database, const QSet<int>& works)
{
    for (const int work : works)
        runWithId(database, kWorkSubmittedWhileOutstanding, work);
}

namespace {

template <class Call>
auto guarded(SQLite::Database& database, Call&& call) -> decltype(call())
{
    try {
        return call();
    } catch (const RecordStoreError&) {
        throw;
    } catch (const std::exception& e) {
        throw storeError(database, e);
    }
}

// A write transaction taken at once: it waits for another program's writing to end, which
// a read lock taken first could not do without a deadlock.
SQLite::Transaction writeTransaction(SQLite::Database& database)
{
    return SQLite::Transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
}

} // namespace

RecordStoreError::RecordStoreError(Reason reason, const QString& message)
    : std::runtime_error(message.toStdString()), mReason(reason), mMessage(message)
{
}

RecordStore::RecordStore(SQLite::Database& database)
    : mDatabase(database)
{
}

// --- Loading ---

std::optional<WorkRecord> RecordStore::work(int id)
{
    return guarded(mDatabase, [&]() -> std::optional<WorkRecord> {
        SQLite::Statement query(mDatabase, kWorkById);
        query.bind(1, id);
        if (!query.executeStep())
            return std::nullopt;
        WorkRecord work;
        work.id = query.getColumn(0).getInt();
        work.name = storedText(query.getColumn(1));
        work.genreId = number(query.getColumn(2)).value_or(0);
        work.yearWritten = storedText(query.getColumn(3));
        work.yearLastAmended = storedText(query.getColumn(4));
        work.submit = storedFlag(query.getColumn(5));
        work.submitted = storedFlag(query.getColumn(6));
        work.accepted = storedFlag(query.getColumn(7));
        work.published = storedFlag(query.getColumn(8));
        return work;
    });
}

std::optional<PublisherRecord> RecordStore::publisher(int id)
{
    return guarded(mDatabase, [&]() -> std::optional<PublisherRecord> {
        PublisherRecord publisher;
        {
            SQLite::Statement query(mDatabase, kPublisherById);
            query.bind(1, id);
            if (!query.executeStep())
                return std::nullopt;
            publisher.id = query.getColumn(0).getInt();
            publisher.name = storedText(query.getColumn(1));
            publisher.typeId = number(query.getColumn(2));
            publisher.guidelines = storedText(query.getColumn(3));
            publisher.comments = storedText(query.getColumn(4));
            publisher.address = storedText(query.getColumn(5));
            publisher.submitTo = storedFlag(query.getColumn(6));
            publisher.submittedTo = storedFlag(query.getColumn(7));
            publisher.email = storedText(query.getColumn(8));
            publisher.web = storedText(query.getColumn(9));
            publisher.answerWithinDays = number(query.getColumn(10));
            if (const std::optional<int> simultaneous = number(query.getColumn(11)))
                publisher.simultaneous = *simultaneous != 0;
            publisher.usualFee = storedInteger(query.getColumn(12));
        }
        publisher.genreIds = publisherGenreIds(id);
        return publisher;
    });
}

std::optional<SubmissionRecord> RecordStore::submission(int id)
{
    return guarded(mDatabase, [&]() -> std::optional<SubmissionRecord> {
        SQLite::Statement query(mDatabase, kSubmissionById);
        query.bind(1, id);
        if (!query.executeStep())
            return std::nullopt;
        SubmissionRecord submission;
        submission.id = query.getColumn(0).getInt();
        submission.workId = number(query.getColumn(1)).value_or(0);
        submission.publisherId = number(query.getColumn(2)).value_or(0);
        submission.dateSubmitted = storedValue(query.getColumn(3));
        submission.dateReturned = storedValue(query.getColumn(4));
        submission.outcome = storedText(query.getColumn(5));
        submission.notes = storedText(query.getColumn(6));
        submission.status = status(query.getColumn(7));
        submission.fee = storedInteger(query.getColumn(8));
        submission.payment = storedInteger(query.getColumn(9));
        submission.datePaid = storedValue(query.getColumn(10));
        return submission;
    });
}

QList<int> RecordStore::publisherGenreIds(int publisherId)
{
    return guarded(mDatabase, [&] {
        QList<int> ids;
        SQLite::Statement query(mDatabase, kPublisherGenres);
        query.bind(1, publisherId);
        while (query.executeStep())
            ids.append(query.getColumn(0).getInt());
        return ids;
    });
}

// --- Lists ---

QList<ListItem> RecordStore::genres(GenreNames names)
{
    return guarded(mDatabase,
                   [&] { return listOf(mDatabase, names == GenreNames::Plural ? kGenresPlural : kGenresSingular); });
}

QList<ListItem> RecordStore::publisherTypes()
{
    return guarded(mDatabase, [&] { return listOf(mDatabase, kPublisherTypes); });
}

QList<ListItem> RecordStore::worksByName()
{
    return guarded(mDatabase, [&] { return listOf(mDatabase, kWorksByName); });
}

QList<ListItem> RecordStore::publishersByName()
{
    return guarded(mDatabase, [&] { return listOf(mDatabase, kPublishersByName); });
}

bool RecordStore::nameExists(View view, const QString& name)
{
    if (view == View::Submission)
        return false;
    return guarded(mDatabase, [&] {
        SQLite::Statement query(mDatabase, view == View::Work ? kWorkNamed : kPublisherNamed);
        put(query, 1, name);
        return query.executeStep();
    });
}

// --- Saving ---

int RecordStore::saveWork(const WorkRecord& work)
{
    return guarded(mDatabase, [&] {
        SQLite::Transaction transaction = writeTransaction(mDatabase);
        const bool isNew = work.id == 0;
        SQLite::Statement write(mDatabase, isNew ? kInsertWork : kUpdateWork);
        put(write, 1, work.name);
        put(write, 2, work.genreId != 0 ? std::optional<int>(work.genreId) : std::nullopt);
        put(write, 3, work.yearWritten);
        put(write, 4, work.yearLastAmended);
        put(write, 5, work.submit);
        put(write, 6, work.submitted);
        put(write, 7, work.accepted);
        put(write, 8, work.published);
        if (!isNew)
            write.bind(9, work.id);
        if (write.exec() == 0)
            throw RecordStoreError(RecordStoreError::Reason::Gone, QStringLiteral("This Work no longer exists."));
        const int id = isNew ? static_cast<int>(mDatabase.getLastInsertRowid()) : work.id;
        transaction.commit();
        return id;
    });
}

int RecordStore::savePublisher(const PublisherRecord& publisher)
{
    return guarded(mDatabase, [&] {
        SQLite::Transaction transaction = writeTransaction(mDatabase);
        const bool isNew = publisher.id == 0;
        int id = publisher.id;
        {
            SQLite::Statement write(mDatabase, isNew ? kInsertPublisher : kUpdatePublisher);
            put(write, 1, publisher.name);
            put(write, 2, publisher.typeId);
            put(write, 3, publisher.guidelines);
            put(write, 4, publisher.comments);
            put(write, 5, publisher.address);
            put(write, 6, publisher.submitTo);
            put(write, 7, publisher.submittedTo);
            put(write, 8, publisher.email);
            put(write, 9, publisher.web);
            put(write, 10, publisher.answerWithinDays);
            put(write, 11, publisher.simultaneous);
            put(write, 12, publisher.usualFee);
            if (!isNew)
                write.bind(13, publisher.id);
            if (write.exec() == 0)
                throw RecordStoreError(RecordStoreError::Reason::Gone,
                                       QStringLiteral("This Publisher no longer exists."));
            if (isNew)
                id = static_cast<int>(mDatabase.getLastInsertRowid());
        }
        // The links go under the row just written (a new publisher's own ID, never one
        // found by name).
        runWithId(mDatabase, kDeletePublisherGenres, id);
        SQLite::Statement link(mDatabase, kInsertPublisherGenre);
        for (const int genre : publisher.genreIds) {
            link.reset();
            link.bind(1, id);
            link.bind(2, genre);
            link.exec();
        }
        transaction.commit();
        return id;
    });
}

int RecordStore::saveSubmission(const SubmissionRecord& submission)
{
    return guarded(mDatabase, [&] {
        SQLite::Transaction transaction = writeTransaction(mDatabase);
        // Checked inside the transaction, so the rows cannot go between the check and the write.
        if (!rowExists(mDatabase, kWorkExists, submission.workId))
            throw RecordStoreError(RecordStoreError::Reason::MissingWork,
                                   QStringLiteral("The Work no longer exists; choose another."));
        if (!rowExists(mDatabase, kPublisherExists, submission.publisherId))
            throw RecordStoreError(RecordStoreError::Reason::MissingPublisher,
                                   QStringLiteral("The Publisher no longer exists; choose another."));

        const bool isNew = submission.id == 0;
        // The row as stored before this save: what the flag rules compare against.
        int oldWork = 0;
        std::optional<SubmissionStatus> oldStatus;
        if (!isNew) {
            SQLite::Statement stored(mDatabase, kStoredSubmission);
            stored.bind(1, submission.id);
            if (!stored.executeStep())
                throw RecordStoreError(RecordStoreError::Reason::Gone,
                                       QStringLiteral("This Submission no longer exists."));
            oldWork = number(stored.getColumn(0)).value_or(0);
            oldStatus = status(stored.getColumn(1));
        }

        const bool withStatus = submission.status.has_value();
        const char* statement = isNew ? (withStatus ? kInsertSubmissionWithStatus : kInsertSubmission)
                                      : (withStatus ? kUpdateSubmissionWithStatus : kUpdateSubmission);
        SQLite::Statement write(mDatabase, statement);
        write.bind(1, submission.workId);
        write.bind(2, submission.publisherId);
        put(write, 3, submission.dateSubmitted);
        put(write, 4, submission.dateReturned);
        put(write, 5, submission.outcome);
        put(write, 6, submission.notes);
        put(write, 7, submission.fee);
        put(write, 8, submission.payment);
        // No date is stored as 0, as Date_Submitted is.
        put(write, 9, submission.datePaid.isValid() ? submission.datePaid : QVariant(0));
        int next = 10;
        if (withStatus)
            write.bind(next++, static_cast<int>(*submission.status));
        if (!isNew)
            write.bind(next, submission.id);
        write.exec();
        const int id = isNew ? static_cast<int>(mDatabase.getLastInsertRowid()) : submission.id;

        const int work = submission.workId;
        if (isNew) {
            // Whatever its status, a new submission means the work and publisher have been used.
            runWithId(mDatabase, kWorkToSubmit, work);
            runWithId(mDatabase, kPublisherSubmittedTo, submission.publisherId);
        } else if (oldWork != work && oldStatus == SubmissionStatus::Unreturned) {
            // An unreturned submission moved to another work may leave its old work with none.
            runWithId(mDatabase, kWorkNoLongerSubmitted, oldWork);
        }
        // No status on a stored row, or one outside the four left as it is, changes no flag.
        const std::optional<SubmissionStatus> saved
            = isNew ? submission.status.value_or(SubmissionStatus::Unreturned) : submission.status;
        if (saved == SubmissionStatus::Unreturned || saved == SubmissionStatus::Rejected) {
            // With this submission stored, the work is out exactly when one of its submissions is.
            runWithId(mDatabase, kWorkSubmittedWhileOutstanding, work);
        } else if (saved == SubmissionStatus::Accepted) {
            // An acceptance leaves Submitted? as it was.
            runWithId(mDatabase, kWorkAccepted, work);
        } else if (saved == SubmissionStatus::Published) {
            runWithId(mDatabase, kWorkPublished, work);
        }
        transaction.commit();
        return id;
    });
}

int RecordStore::withdrawSubmissions(const QList<int>& ids, const QDate& today)
{
    return guarded(mDatabase, [&] {
        SQLite::Transaction transaction = writeTransaction(mDatabase);
        const std::string returned = today.toString(Qt::ISODate).toStdString();
        SQLite::Statement withdraw(mDatabase, kWithdraw);
        SQLite::Statement workOf(mDatabase, kWorkOfSubmission);
        QList<int> works;
        int withdrawn = 0;
        for (const int id : ids) {
            withdraw.reset();
            withdraw.bind(1, returned);
            withdraw.bind(2, id);
            if (withdraw.exec() == 0)
                continue;
            ++withdrawn;
            workOf.reset();
            workOf.bind(1, id);
            if (workOf.executeStep() && !works.contains(workOf.getColumn(0).getInt()))
                works.append(workOf.getColumn(0).getInt());
        }
        for (const int work : works)
            runWithId(mDatabase, kWorkSubmittedWhileOutstanding, work);
        transaction.commit();
        return withdrawn;
    });
}

// --- Deleting ---

int RecordStore::outstandingSubmissions(View view, int id)
{
    if (view == View::Submission)
        return 0;
    return guarded(mDatabase, [&] {
        SQLite::Statement query(mDatabase, view == View::Work ? kOutstandingForWork : kOutstandingForPublisher);
        query.bind(1, id);
        return query.executeStep() ? query.getColumn(0).getInt() : 0;
    });
}

void RecordStore::deleteRecord(View view, int id)
{
    guarded(mDatabase, [&] {
        SQLite::Transaction transaction = writeTransaction(mDatabase);
        // An unreturned submission may be the last that keeps its work "Submitted?".
        int outstandingWork = 0;
        if (view == View::Submission) {
            SQLite::Statement query(mDatabase, kWorkOfOutstandingSubmission);
            query.bind(1, id);
            if (query.executeStep())
                outstandingWork = query.getColumn(0).getInt();
        }
        const QString remove = QStringLiteral("DELETE FROM \"%1\" WHERE ID = ?;").arg(viewName(view));
        runWithId(mDatabase, remove.toUtf8().constData(), id);
        // A publisher's genre links mean nothing without it.
        if (view == View::Publisher)
            runWithId(mDatabase, kDeletePublisherGenres, id);
        if (outstandingWork != 0)
            runWithId(mDatabase, kWorkNoLongerSubmitted, outstandingWork);
        transaction.commit();
    });
}

std::optional<EarlierSubmission> RecordStore::earlierSubmission(int workId, int publisherId, int excludeId)
{
    return ::earlierSubmission(mDatabase, workId, publisherId, excludeId);
}

std::optional<SimultaneousConflict> RecordStore::simultaneousConflict(int workId, int publisherId, int excludeId)
{
    return ::simultaneousConflict(mDatabase, workId, publisherId, excludeId);
}

QList<OtherSubmission> RecordStore::otherUnreturned(int workId, int excludeId)
{
    return ::otherUnreturned(mDatabase, workId, excludeId);
}

QList<SubmissionFact> RecordStore::submissionFacts()
{
    return loadSubmissionFacts(mDatabase);
}

ImportReport RecordStore::importCsv(const CsvImportTable& table, const ImportOptions& options)
{
    return ::importCsv(mDatabase, table, options);
}

std::optional<ImportLogEntry> RecordStore::lastImport()
{
    return ::lastImport(mDatabase);
}

UndoReport RecordStore::undoLastImport()
{
    return ::undoLastImport(mDatabase);
}
