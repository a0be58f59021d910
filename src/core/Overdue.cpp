#include "core/Overdue.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <QCoreApplication>
#include <sqlite3.h>

#include "core/Clock.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/SubmissionFacts.h"
#include "core/Database.h"

namespace {

const char* const kUnreturned =
    "SELECT s.ID, s.Status, s.Date_Submitted, s.Date_Returned, p.Answer_Within_Days "
    "FROM Submission AS s LEFT JOIN Publisher AS p ON p.ID = s.Publisher_ID WHERE s.Status = 0;";

QVariant argumentValue(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(value));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value))));
    default:
        return QVariant();
    }
}

std::optional<int> optionalInt(sqlite3_value* value)
{
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return sqlite3_value_int(value);
    bool ok = false;
    const int n = argumentValue(value).toString().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// dateFromStored() of a column, reading an ISO date's digits in place: a listing has
// thousands of them.
QDate storedDate(const SQLite::Column& column)
{
    if (column.isText() && column.getBytes() == 10) {
        const char* s = static_cast<const char*>(column.getBlob());
        int parts[3] = {0, 0, 0};
        bool iso = s[4] == '-' && s[7] == '-';
        for (int i = 0; iso && i < 10; ++i) {
            if (i == 4 || i == 7)
                continue;
            iso = s[i] >= '0' && s[i] <= '9';
            int& part = parts[i < 4 ? 0 : i < 7 ? 1 : 2];
            part = part * 10 + (s[i] - '0');
        }
        if (iso)
            return QDate(parts[0], parts[1], parts[2]);  // invalid for a day that is not
    }
    return dateFromStored(storedValue(column));
}

void overdueFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto* session = static_cast<const Session*>(sqlite3_user_data(context));
    const OverdueRule rule = overdueRule(*session);
    const std::optional<int> status = optionalInt(argv[0]);
    const bool overdue = status && rule.isOverdue(*status, dateFromStored(argumentValue(argv[1])),
                                                  dateFromStored(argumentValue(argv[2])), optionalInt(argv[3]));
    sqlite3_result_int(context, overdue ? 1 : 0);
}

} // namespace

int readOverdueDays(const Settings& settings, QString* warning)
{
    const QString text = settings.value(QStringLiteral("Initialisation"), QStringLiteral("Overdue-Days"));
    if (text.isEmpty())
        return kDefaultOverdueDays;
    bool ok = false;
    const int days = text.toInt(&ok);
    if (ok && days >= 0)
        return days;
    if (warning)
        *warning = QCoreApplication::translate("Overdue",
                                               "The Overdue-Days setting \"%1\" is not a whole number of days; "
                                               "%2 is used instead.")
                       .arg(text)
                       .arg(kDefaultOverdueDays);
    return kDefaultOverdueDays;
}

int OverdueRule::allowedDays(std::optional<int> answerWithinDays) const
{
    return answerWithinDays && *answerWithinDays >= 0 ? *answerWithinDays : defaultDays;
}

bool OverdueRule::isOverdue(int status, const QDate& sent, const QDate& returned,
                            std::optional<int> answerWithinDays) const
{
    if (status != 0 || returned.isValid() || !sent.isValid() || !today.isValid())
        return false;
    return sent.daysTo(today) > allowedDays(answerWithinDays);
}

OverdueRule overdueRule(const Session& session)
{
    return OverdueRule{session.clock().today(), session.settings().overdueDays()};
}

QHash<int, OverdueInfo> overdueSubmissions(SQLite::Database& database, const OverdueRule& rule)
{
    QHash<int, OverdueInfo> overdue;
    try {
        SQLite::Statement query(database, kUnreturned);
        while (query.executeStep()) {
            const int id = query.getColumn(0).getInt();
            const QDate sent = storedDate(query.getColumn(2));
            const QDate returned = storedDate(query.getColumn(3));
            const QVariant ownValue = storedValue(query.getColumn(4));
            bool isNumber = false;
            const int ownDays = ownValue.toInt(&isNumber);
            const std::optional<int> own = isNumber ? std::optional<int>(ownDays) : std::nullopt;
            if (!rule.isOverdue(query.getColumn(1).getInt(), sent, returned, own))
                continue;
            const bool publishersOwn = own && *own >= 0;
            overdue.insert(id, OverdueInfo{static_cast<int>(sent.daysTo(rule.today)), rule.allowedDays(own),
                                           publishersOwn});
        }
    } catch (const std::exception& e) {
        if (db::isLockedByAnother(e))
            throw RecordStoreError(RecordStoreError::Reason::Locked,
                                   db::lockedMessage(QString::fromStdString(database.getFilename())));
        throw RecordStoreError(RecordStoreError::Reason::Engine, QString::fromUtf8(e.what()));
    }
    return overdue;
}

void registerOverdueFunction(SQLite::Database& database, const Session& session)
{
    sqlite3* handle = database.getHandle();
    // Not deterministic: the answer changes with the date.
    const int result = sqlite3_create_function_v2(handle, "Overdue", 4, SQLITE_UTF8,
                                                  const_cast<Session*>(&session), overdueFunction, nullptr,
                                                  nullptr, nullptr);
    if (result != SQLITE_OK)
        throw SQLite::Exception(handle, result);
}
