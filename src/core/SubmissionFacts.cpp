#include "core/SubmissionFacts.h"
#include "core/StoredDate.h"
#include "core/StoredValues.h"

#include <SQLiteCpp/Database.h>
#include <QHash>
#include <QScopeGuard>
#include <SQLiteCpp/Exception.h>
#include <memory>
#include <optional>
#include <sqlite3.h>

#include "core/RecordStore.h"
#include "core/Database.h"

namespace {

// Three plain scans instead of a join: stepping the tables in order costs far less than
// looking up a work and a publisher for every submission. A submission whose work or
// publisher was deleted finds no name and still counts.
const char* const kWorks = "SELECT ID, Name FROM Work;";
const char* const kPublishers = "SELECT ID, Name, Answer_Within_Days FROM Publisher;";
const char* const kSubmissions = "SELECT ID, Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Fee, Payment, "
                                 "Date_Paid FROM Submission ORDER BY ID;";

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

// Steps the statement, calling read for each row; throws RecordStoreError when the engine fails.
template <class Read>
void eachRow(SQLite::Database& database, const char* sql, Read read)
{
    sqlite3* handle = database.getHandle();
    sqlite3_stmt* row = nullptr;
    int rc = sqlite3_prepare_v2(handle, sql, -1, &row, nullptr);
    const Statement statement(row, sqlite3_finalize);
    while (rc == SQLITE_OK && (rc = sqlite3_step(row)) == SQLITE_ROW) {
        read(row);
        rc = SQLITE_OK;
    }
    if (rc != SQLITE_DONE)
        throw storeError(database, SQLite::Exception(handle, rc));
}

QString textOf(sqlite3_stmt* row, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column)),
                             sqlite3_column_bytes(row, column));
}

std::optional<qint64> optionalInt(sqlite3_stmt* row, int column)
{
    return sqlite3_column_type(row, column) == SQLITE_NULL ? std::nullopt
                                                          : std::optional<qint64>(sqlite3_column_int64(row, column));
}

struct PublisherFacts {
    QString name;
    std::optional<int> answerWithinDays;
};

} // namespace

QList<SubmissionFact> loadSubmissionFacts(SQLite::Database& database)
{
    // One read transaction, so that the three scans see the same records.
    eachRow(database, "SAVEPOINT facts;", [](sqlite3_stmt*) {});
    const auto release = qScopeGuard(
        [&database] { sqlite3_exec(database.getHandle(), "RELEASE facts;", nullptr, nullptr, nullptr); });
    QHash<int, QString> works;
    eachRow(database, kWorks, [&works](sqlite3_stmt* row) { works.insert(sqlite3_column_int(row, 0), textOf(row, 1)); });
    QHash<int, PublisherFacts> publishers;
    eachRow(database, kPublishers, [&publishers](sqlite3_stmt* row) {
        PublisherFacts publisher{textOf(row, 1), std::nullopt};
        if (const auto days = optionalInt(row, 2))
            publisher.answerWithinDays = static_cast<int>(*days);
        publishers.insert(sqlite3_column_int(row, 0), publisher);
    });

    QList<SubmissionFact> facts;
    eachRow(database, "SELECT count(*) FROM Submission;",
            [&facts](sqlite3_stmt* row) { facts.reserve(sqlite3_column_int64(row, 0)); });
    eachRow(database, kSubmissions, [&](sqlite3_stmt* row) {
        SubmissionFact& fact = facts.emplace_back();
        fact.id = sqlite3_column_int(row, 0);
        fact.workId = sqlite3_column_int(row, 1);
        fact.publisherId = sqlite3_column_int(row, 2);
        if (const auto work = works.constFind(fact.workId); work != works.cend()) {
            fact.work = *work;
            fact.workExists = true;
        }
        if (const auto publisher = publishers.constFind(fact.publisherId); publisher != publishers.cend()) {
            fact.publisher = publisher->name;
            fact.answerWithinDays = publisher->answerWithinDays;
            fact.publisherExists = true;
        }
        fact.sent = decodeStoredDate(row, 3, DateRule::PositiveOnly);
        fact.returned = decodeStoredDate(row, 4, DateRule::PositiveOnly);
        fact.status = static_cast<SubmissionStatus>(sqlite3_column_int(row, 5));
        fact.fee = optionalInt(row, 6);
        fact.payment = optionalInt(row, 7);
        fact.paid = decodeStoredDate(row, 8, DateRule::PositiveOnly);
    });
    return facts;
}
