#pragma once
// What a writer wants to know before sending a work to a publisher again: the work is still
// out with that publisher, or that publisher has already rejected it.

#include <QDate>
#include <QString>
#include <optional>

namespace SQLite { class Database; }

struct EarlierSubmission {
    enum class Kind { Unreturned, Rejected };
    Kind kind = Kind::Unreturned;
    int id = 0;
    QString work;
    QString publisher;
    QDate sent;        // invalid when stored without one
    QDate returned;    // invalid when stored without one
};

// The earlier submission of the work to the publisher that matters most: an unreturned one
// before a rejection, the latest sent (then the highest ID) of each. excludeId is the
// submission being saved (0 for a new one). None when there is neither. Throws
// RecordStoreError when the engine fails.
std::optional<EarlierSubmission> earlierSubmission(SQLite::Database& database, int workId, int publisherId,
                                                   int excludeId);

// The question asked before saving: "Hidden Ticket was rejected by Brass Lantern on
// 3 Mar 2024. Send it again?", dates in the locale's month names.
QString resubmissionQuestion(const EarlierSubmission& earlier);
