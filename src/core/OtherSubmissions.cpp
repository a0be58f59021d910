#include "core/OtherSubmissions.h"

#include <QCoreApplication>
#include <algorithm>
#include <QLocale>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "core/RecordStore.h"
#include "core/StoredDate.h"
#include "core/StoredValues.h"
#include "core/SubmissionFacts.h"

namespace {

// A date stored as 0 sorts below any ISO text: first.
const char* const kOtherUnreturned =
    "SELECT s.ID, s.Publisher_ID, p.Name, s.Date_Submitted, p.Simultaneous "
    "FROM Submission AS s LEFT JOIN Publisher AS p ON p.ID = s.Publisher_ID "
    "WHERE s.Work_ID = ? AND s.ID <> ? AND s.Status = 0 "
    "ORDER BY s.Date_Submitted, p.Name, s.ID;";
const char* const kPublisherRule = "SELECT Name, Simultaneous FROM Publisher WHERE ID = ?;";
const char* const kWorkName = "SELECT Name FROM Work WHERE ID = ?;";

QString tr(const char* text)
{
    return QCoreApplication::translate("OtherSubmissions", text);
}

QString dayText(const QDate& date)
{
    return QLocale().toString(date, QStringLiteral("d MMM yyyy"));
}

// Null (not known) is neither yes nor no.
bool takesNone(const SQLite::Column& column)
{
    return !column.isNull() && column.getInt64() == 0;
}

struct Unreturned {
    OtherSubmission submission;
    bool takesNone = false;
};

QList<Unreturned> unreturned(SQLite::Database& database, int workId, int excludeId)
{
    QList<Unreturned> list;
    SQLite::Statement query(database, kOtherUnreturned);
    query.bind(1, workId);
    query.bind(2, excludeId);
    while (query.executeStep()) {
        Unreturned u;
        u.submission.id = query.getColumn(0).getInt();
        u.submission.publisherId = query.getColumn(1).getInt();
        u.submission.publisher = storedText(query.getColumn(2));
        u.submission.sent = decodeStoredDate(storedValue(query.getColumn(3)), DateRule::PositiveOnly);
        u.takesNone = takesNone(query.getColumn(4));
        list.append(u);
    }
    return list;
}

} // namespace

QList<OtherSubmission> otherUnreturned(SQLite::Database& database, int workId, int excludeId)
{
    try {
        QList<OtherSubmission> list;
        for (const Unreturned& u : unreturned(database, workId, excludeId))
            list.append(u.submission);
        return list;
    } catch (const std::exception& e) {
        throw storeError(database, e);
    }
}

QString otherSubmissionLine(const OtherSubmission& other)
{
    const QString publisher = other.publisher.isEmpty() ? tr("(a deleted publisher)") : other.publisher;
    if (!other.sent.isValid())
        return tr("%1, sent on a date not recorded").arg(publisher);
    return tr("%1, sent on %2").arg(publisher, dayText(other.sent));
}

std::optional<SimultaneousConflict> simultaneousConflict(SQLite::Database& database, int workId, int publisherId,
                                                         int excludeId)
{
    try {
        QList<Unreturned> elsewhere = unreturned(database, workId, excludeId);
        // Out with this same publisher is the resubmission question's business.
        elsewhere.removeIf([&](const Unreturned& u) { return u.submission.publisherId == publisherId; });
        if (elsewhere.isEmpty())
            return std::nullopt;
        SimultaneousConflict conflict;
        SQLite::Statement rule(database, kPublisherRule);
        rule.bind(1, publisherId);
        if (!rule.executeStep())
            return std::nullopt;
        conflict.publisher = storedText(rule.getColumn(0));
        if (takesNone(rule.getColumn(1))) {
            conflict.kind = SimultaneousConflict::Kind::ThisTakesNone;
            conflict.other = elsewhere.front().submission;
        } else {
            const auto strict = std::find_if(elsewhere.begin(), elsewhere.end(),
                                             [](const Unreturned& u) { return u.takesNone; });
            if (strict == elsewhere.end())
                return std::nullopt;
            conflict.kind = SimultaneousConflict::Kind::OtherTakesNone;
            conflict.other = strict->submission;
        }
        SQLite::Statement work(database, kWorkName);
        work.bind(1, workId);
        conflict.work = work.executeStep() ? storedText(work.getColumn(0)) : QString();
        return conflict;
    } catch (const std::exception& e) {
        throw storeError(database, e);
    }
}

QString simultaneousQuestion(const SimultaneousConflict& conflict)
{
    const QString out = otherSubmissionLine(conflict.other);
    if (conflict.kind == SimultaneousConflict::Kind::ThisTakesNone)
        return tr("%1 takes no simultaneous submissions, and %2 is still out with %3. Send it to %1 anyway?")
            .arg(conflict.publisher, conflict.work, out);
    return tr("%1 is out with %2, and %3 takes no simultaneous submissions. Send it to %4 anyway?")
        .arg(conflict.work, out, conflict.otherPublisher(), conflict.publisher);
}
