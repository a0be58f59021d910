#pragma once
// Every submission with what the figures need of it: its work and publisher (by ID, with
// the name when the record still exists), its dates as dates, its status and its
// publisher's "answer within" days.

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

#include "core/SubmissionStatus.h"

namespace SQLite { class Column; class Database; }

struct SubmissionFact {
    // Laid out without padding: a hundred thousand of these are held at once.
    int id = 0;
    int workId = 0;
    int publisherId = 0;
    SubmissionStatus status = SubmissionStatus::Unreturned;
    QString work;            // empty when the work was deleted
    QString publisher;       // empty when the publisher was deleted
    QDate sent;              // invalid: no date
    QDate returned;          // invalid: no date
    QDate paid;              // the payment's date; invalid: none
    std::optional<qint64> fee;            // in the currency's smallest unit; none when not set
    std::optional<qint64> payment;
    std::optional<int> answerWithinDays;  // the publisher's own; none when not set
    bool workExists = false;
    bool publisherExists = false;

    bool isAccepted() const { return isAcceptance(status); }
};

// All submissions, in ID order. Throws RecordStoreError when the engine fails.
QList<SubmissionFact> loadSubmissionFacts(SQLite::Database& database);
