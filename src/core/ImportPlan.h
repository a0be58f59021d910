#pragma once
// What an import adds, worked out from the file before anything is written, and the
// writing of it. A reference is a stored ID (> 0), a record to add (-1 for the first), or
// 0 for none.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "core/SubmissionStatus.h"

namespace SQLite { class Database; }
struct ImportOptions;

struct NewWork {
    QString name;
    int genre = 0;
    QString yearWritten, yearLastAmended;
    bool submit = false, submitted = false, accepted = false, published = false;
};

struct NewPublisher {
    QString name;
    int type = 0;
    QString guidelines, comments, address, email, web;
    bool submitTo = false, submittedTo = false;
    std::optional<int> answerWithinDays;
};

struct NewSubmission {
    int work = 0;
    int publisher = 0;
    QVariant sent, returned;
    SubmissionStatus status = SubmissionStatus::Unreturned;
    QString outcome, notes;
    QVariant fee, payment;  // whole numbers of the smallest unit; invalid: none
    QVariant paid;          // as the other dates
};

struct ImportPlan {
    QStringList genres, types;
    QList<NewWork> works;
    QList<NewPublisher> publishers;
    QList<NewSubmission> submissions;
};

// Adds the plan's records in the caller's transaction, sets the flags the new submissions
// decide (Submit? and Submit To? stay as they are), and logs the import; returns the log
// entry's ID. Throws the engine's error.
int writeImportPlan(SQLite::Database& database, const ImportPlan& plan, const ImportOptions& options, int added,
                    int alreadyThere);
