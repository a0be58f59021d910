#include "core/SubmissionFacts.h"
#include "core/StoredDate.h"
#include "core/StoredValues.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <QHash>
#include <SQLiteCpp/Exception.h>
#include <memory>
#include <optional>
#include <sqlite3.h>

#include "core/RecordStore.h"
#include "core/Database.h"

namespace {

// Outer joins: a submission whose work or publisher was deleted still counts.
const char* const kFacts =
    "SELECT s.ID, s.Work_ID, s.Publisher_ID, w.Name, p.Name, w.ID IS NOT NULL, p.ID IS NOT NULL, "
    "s.Date_Submitted, s.Date_Returned, s.Status, p.Answer_Within_Days, s.Fee, s.Payment, s.Date_Paid "
    "FROM Submission AS s LEFT JOIN Work AS w ON w.ID = s.Work_ID "
    "LEFT JOIN Publisher AS p ON p.ID = s.Publisher_ID ORDER BY s.ID;";

} // namespace

QList<SubmissionFact> loadSubmissionFacts(SQLite::Database& database)
{
    QList<SubmissionFact> facts;
    sqlite3* handle = database.getHandle();
    sqlite3_stmt* row = nullptr;
    int rc = sqlite3_prepare_v2(handle, kFacts, -1, &row, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(row, sqlite3_finalize);
    // A work or publisher named on many rows is converted once and shared.
    QHash<int, QString> works;
    QHash<int, QString> publishers;
    auto name = [&row](QHash<int, QString>& names, int id, int column) {
        auto found = names.constFind(id);
        if (found == names.cend())
            found = names.insert(id, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column)),
                                                       sqlite3_column_bytes(row, column)));
        return *found;
    };
    auto optionalInt = [&row](int column) {
        return sqlite3_column_type(row, column) == SQLITE_NULL ? std::nullopt
                                                              : std::optional<qint64>(sqlite3_column_int64(row, column));
    };
    while (rc == SQLITE_OK && (rc = sqlite3_step(row)) == SQLITE_ROW) {
        SubmissionFact fact;
        fact.id = sqlite3_column_int(row, 0);
        fact.workId = sqlite3_column_int(row, 1);
        fact.publisherId = sqlite3_column_int(row, 2);
        fact.work = name(works, fact.workId, 3);
        fact.publisher = name(publishers, fact.publisherId, 4);
        fact.workExists = sqlite3_column_int(row, 5) != 0;
        fact.publisherExists = sqlite3_column_int(row, 6) != 0;
        fact.sent = decodeStoredDate(row, 7, DateRule::PositiveOnly);
        fact.returned = decodeStoredDate(row, 8, DateRule::PositiveOnly);
        fact.status = static_cast<SubmissionStatus>(sqlite3_column_int(row, 9));
        if (const auto days = optionalInt(10))
            fact.answerWithinDays = static_cast<int>(*days);
        if (const auto fee = optionalInt(11))
            fact.fee = *fee;
        if (const auto payment = optionalInt(12))
            fact.payment = *payment;
        fact.paid = decodeStoredDate(row, 13, DateRule::PositiveOnly);
        facts.append(fact);
        rc = SQLITE_OK;
    }
    if (rc != SQLITE_DONE)
        throw storeError(database, SQLite::Exception(handle, rc));
    return facts;
}
