#include "core/Resubmission.h"
#include "core/StoredDate.h"
#include "core/StoredValues.h"

#include <QCoreApplication>
#include <QLocale>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "core/RecordStore.h"
#include "core/Database.h"

namespace {

// Unreturned (0) sorts before rejected (1); then the latest sent. A date stored as 0 sorts
// below any ISO text.
const char* const kEarlier =
    "SELECT s.ID, s.Status, w.Name, p.Name, s.Date_Submitted, s.Date_Returned "
    "FROM Submission AS s JOIN Work AS w ON w.ID = s.Work_ID JOIN Publisher AS p ON p.ID = s.Publisher_ID "
    "WHERE s.Work_ID = ? AND s.Publisher_ID = ? AND s.ID <> ? AND s.Status IN (0, 1) "
    "ORDER BY s.Status, s.Date_Submitted DESC, s.ID DESC LIMIT 1;";

QString tr(const char* text)
{
    return QCoreApplication::translate("Resubmission", text);
}

QString dayText(const QDate& date)
{
    return QLocale().toString(date, QStringLiteral("d MMM yyyy"));
}

} // namespace

std::optional<EarlierSubmission> earlierSubmission(SQLite::Database& database, int workId, int publisherId,
                                                   int excludeId)
{
    try {
        SQLite::Statement query(database, kEarlier);
        query.bind(1, workId);
        query.bind(2, publisherId);
        query.bind(3, excludeId);
        if (!query.executeStep())
            return std::nullopt;
        EarlierSubmission earlier;
        earlier.id = query.getColumn(0).getInt();
        earlier.kind = static_cast<SubmissionStatus>(query.getColumn(1).getInt()) == SubmissionStatus::Unreturned
                           ? EarlierSubmission::Kind::Unreturned
                           : EarlierSubmission::Kind::Rejected;
        earlier.work = QString::fromUtf8(query.getColumn(2).getText());
        earlier.publisher = QString::fromUtf8(query.getColumn(3).getText());
        earlier.sent = decodeStoredDate(storedValue(query.getColumn(4)), DateRule::PositiveOnly);
        earlier.returned = decodeStoredDate(storedValue(query.getColumn(5)), DateRule::PositiveOnly);
        return earlier;
    } catch (const std::exception& e) {
        throw storeError(database, e);
    }
}

QString resubmissionQuestion(const EarlierSubmission& earlier)
{
    QString said;
    if (earlier.kind == EarlierSubmission::Kind::Rejected) {
        if (earlier.returned.isValid())
            said = tr("%1 was rejected by %2 on %3.").arg(earlier.work, earlier.publisher, dayText(earlier.returned));
        else if (earlier.sent.isValid())
            said = tr("%1 was rejected by %2 (sent on %3).").arg(earlier.work, earlier.publisher, dayText(earlier.sent));
        else
            said = tr("%1 was rejected by %2.").arg(earlier.work, earlier.publisher);
    } else if (earlier.sent.isValid()) {
        said = tr("%1 is still out with %2, sent on %3 and not yet answered.")
                   .arg(earlier.work, earlier.publisher, dayText(earlier.sent));
    } else {
        said = tr("%1 is still out with %2 and not yet answered.").arg(earlier.work, earlier.publisher);
    }
    return said + QLatin1Char(' ') + tr("Send it again?");
}
