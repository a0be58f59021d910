#pragma once
// Where else a work is out, for the two moments that need it: an acceptance, after which
// the writer withdraws the work everywhere else, and sending a work to a publisher when
// either side takes no simultaneous submissions.

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace SQLite { class Database; }

struct OtherSubmission {
    int id = 0;
    int publisherId = 0;
    QString publisher;   // empty when the publisher was deleted
    QDate sent;          // invalid when stored without one
};

// The work's unreturned submissions other than excludeId, by date sent, then publisher.
// Throws RecordStoreError when the engine fails.
QList<OtherSubmission> otherUnreturned(SQLite::Database& database, int workId, int excludeId);

// "Brass Lantern, sent on 3 Mar 2024", a line of the list shown after an acceptance.
QString otherSubmissionLine(const OtherSubmission& other);

// Saving a submission that sends workId to publisherId breaks a publisher's rule when the
// work is out with another publisher and either this one or that one takes no simultaneous
// submissions. A publisher whose rule is not known never counts.
struct SimultaneousConflict {
    enum class Kind { ThisTakesNone, OtherTakesNone };
    Kind kind = Kind::ThisTakesNone;
    QString work;
    QString publisher;       // the one it is being sent to
    OtherSubmission other;   // where it is out
    QString otherPublisher() const { return other.publisher; }
};

// The conflict that the save would make; excludeId is the submission being saved (0 for a
// new one). None when there is none. Throws RecordStoreError when the engine fails.
std::optional<SimultaneousConflict> simultaneousConflict(SQLite::Database& database, int workId, int publisherId,
                                                         int excludeId);

// The question asked before saving, naming the publisher whose rule it breaks.
QString simultaneousQuestion(const SimultaneousConflict& conflict);
