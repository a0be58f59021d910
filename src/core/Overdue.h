#pragma once
// Overdue submissions: unreturned, and sent longer ago than the publisher answers within
// (its own Answer_Within_Days, or else the Overdue-Days setting).

#include <QDate>
#include <QHash>
#include <QString>
#include <functional>
#include <optional>

#include "core/Settings.h"
#include "core/SubmissionStatus.h"

namespace SQLite { class Database; }
struct sqlite3_stmt;

struct OverdueRule {
    QDate today;
    int defaultDays = kDefaultOverdueDays;

    // The publisher's own days when it has them, else the default.
    int allowedDays(std::optional<int> answerWithinDays) const;
    // Status unreturned, no returned date, a sent date, and more than the allowed days
    // between the sent date and today.
    bool isOverdue(SubmissionStatus status, const QDate& sent, const QDate& returned,
                   std::optional<int> answerWithinDays) const;
};

struct OverdueInfo {
    int daysOut = 0;       // days since it was sent
    int allowedDays = 0;
    bool publishersOwn = false;  // the allowed days are the publisher's own
};

// Where a statement's row holds what decides whether a submission is overdue.
struct OverdueColumns {
    int status = -1;
    int sent = -1;          // Date_Submitted
    int returned = -1;      // Date_Returned
    int answerWithin = -1;  // the publisher's Answer_Within_Days
    bool complete() const { return status >= 0 && sent >= 0 && returned >= 0 && answerWithin >= 0; }
};

// The row the statement stands on, when that submission is overdue.
std::optional<OverdueInfo> overdueRow(const OverdueRule& rule, sqlite3_stmt* row, const OverdueColumns& columns);

// The overdue submissions by ID. Throws RecordStoreError when the engine fails.
QHash<int, OverdueInfo> overdueSubmissions(SQLite::Database& database, const OverdueRule& rule);

// Registers Overdue(Status, Date_Submitted, Date_Returned, Answer_Within_Days) on the
// connection, true when the row is overdue by the rule ruleNow gives at that moment, so
// that a saved selection can list the overdue submissions.
void registerOverdueFunction(SQLite::Database& database, std::function<OverdueRule()> ruleNow);
