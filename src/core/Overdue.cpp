#include "core/Overdue.h"
#include "core/StoredDate.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <QCoreApplication>
#include <sqlite3.h>

#include "core/Clock.h"
#include "core/RecordStore.h"
#include "core/Settings.h"
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
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
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

// storedValue() of a column of the row a statement stands on.
QVariant rowValue(sqlite3_stmt* row, int column)
{
    switch (sqlite3_column_type(row, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(row, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(row, column));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column))));
    }
}

void overdueFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto* ruleNow = static_cast<const std::function<OverdueRule()>*>(sqlite3_user_data(context));
    const OverdueRule rule = (*ruleNow)();
    const std::optional<int> status = optionalInt(argv[0]);
    const QDate sent = decodeStoredDate(argumentValue(argv[1]), DateRule::PositiveOnly);
    const QDate returned = decodeStoredDate(argumentValue(argv[2]), DateRule::PositiveOnly);
    const bool overdue = status && rule.isOverdue(static_cast<SubmissionStatus>(*status), sent, returned, optionalInt(argv[3]));
    sqlite3_result_int(context, overdue ? 1 : 0);
}

} // namespace

int OverdueRule::allowedDays(std::optional<int> answerWithinDays) const
{
    return answerWithinDays && *answerWithinDays >= 0 ? *answerWithinDays : defaultDays;
}

bool OverdueRule::isOverdue(SubmissionStatus status, const QDate& sent, const QDate& returned,
                            std::optional<int> answerWithinDays) const
{
    if (status != SubmissionStatus::Unreturned || returned.isValid() || !sent.isValid() || !today.isValid())
        return false;
    return sent.daysTo(today) > allowedDays(answerWithinDays);
}

std::optional<OverdueInfo> overdueRow(const OverdueRule& rule, sqlite3_stmt* row, const OverdueColumns& columns)
{
    // Status as the engine converts it to a number, like SQLite::Column::getInt().
    const auto status = static_cast<SubmissionStatus>(sqlite3_column_int(row, columns.status));
    if (status != SubmissionStatus::Unreturned)
        return std::nullopt;  // the rule holds only unreturned ones: spare reading the dates
    const QDate sent = decodeStoredDate(row, columns.sent, DateRule::PositiveOnly);
    const QDate returned = decodeStoredDate(row, columns.returned, DateRule::PositiveOnly);
    const QVariant ownValue = rowValue(row, columns.answerWithin);
    bool isNumber = false;
    const int ownDays = ownValue.toInt(&isNumber);
    const std::optional<int> own = isNumber ? std::optional<int>(ownDays) : std::nullopt;
    if (!rule.isOverdue(status, sent, returned, own))
        return std::nullopt;
    return OverdueInfo{static_cast<int>(sent.daysTo(rule.today)), rule.allowedDays(own), own && *own >= 0};
}

QHash<int, OverdueInfo> overdueSubmissions(SQLite::Database& database, const OverdueRule& rule)
{
    QHash<int, OverdueInfo> overdue;
    try {
        sqlite3* handle = database.getHandle();
        sqlite3_stmt* query = nullptr;
        int rc = sqlite3_prepare_v2(handle, kUnreturned, -1, &query, nullptr);
        const OverdueColumns columns{1, 2, 3, 4};
        while (rc == SQLITE_OK && (rc = sqlite3_step(query)) == SQLITE_ROW) {
            if (const auto info = overdueRow(rule, query, columns))
                overdue.insert(sqlite3_column_int(query, 0), *info);
            rc = SQLITE_OK;
        }
        if (rc != SQLITE_DONE) {
            const SQLite::Exception failure(handle, rc);  // the engine's text, before it is cleared
            sqlite3_finalize(query);
            throw failure;
        }
        sqlite3_finalize(query);
    } catch (const std::exception& e) {
        throw storeError(database, e);
    }
    return overdue;
}

void registerOverdueFunction(SQLite::Database& database, std::function<OverdueRule()> ruleNow)
{
    sqlite3* handle = database.getHandle();
    // Not deterministic: the answer changes with the date.
    // The engine owns the copy and deletes it with the function.
    auto* source = new std::function<OverdueRule()>(std::move(ruleNow));
    const int result = sqlite3_create_function_v2(
        handle, "Overdue", 4, SQLITE_UTF8, source, overdueFunction, nullptr, nullptr,
        [](void* p) { delete static_cast<std::function<OverdueRule()>*>(p); });
    if (result != SQLITE_OK)
        throw SQLite::Exception(handle, result);
}
