#include "core/SubmissionFacts.h"
#include "core/StoredDate.h"
#include "core/StoredValues.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

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
    try {
        SQLite::Statement query(database, kFacts);
        while (query.executeStep()) {
            SubmissionFact fact;
            fact.id = query.getColumn(0).getInt();
            fact.workId = query.getColumn(1).getInt();
            fact.publisherId = query.getColumn(2).getInt();
            fact.work = QString::fromUtf8(query.getColumn(3).getText());
            fact.publisher = QString::fromUtf8(query.getColumn(4).getText());
            fact.workExists = query.getColumn(5).getInt() != 0;
            fact.publisherExists = query.getColumn(6).getInt() != 0;
            fact.sent = decodeStoredDate(storedValue(query.getColumn(7)), DateRule::PositiveOnly);
            fact.returned = decodeStoredDate(storedValue(query.getColumn(8)), DateRule::PositiveOnly);
            fact.status = static_cast<SubmissionStatus>(query.getColumn(9).getInt());
            if (!query.getColumn(10).isNull())
                fact.answerWithinDays = query.getColumn(10).getInt();
            if (!query.getColumn(11).isNull())
                fact.fee = query.getColumn(11).getInt64();
            if (!query.getColumn(12).isNull())
                fact.payment = query.getColumn(12).getInt64();
            fact.paid = decodeStoredDate(storedValue(query.getColumn(13)), DateRule::PositiveOnly);
            facts.append(fact);
        }
    } catch (const RecordStoreError&) {
        throw;
    } catch (const std::exception& e) {
        throw storeError(database, e);
    }
    return facts;
}
