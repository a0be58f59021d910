#pragma once
// Every statement that reads or writes records: the editors' own rows, their lookup lists,
// the duplicate-name check, the saves with their flag rules and the deletes with their
// guard. Each save and delete is one transaction: all of it is stored or nothing.

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>
#include <optional>
#include <stdexcept>

#include "core/CsvImport.h"
#include "core/OtherSubmissions.h"
#include "core/Resubmission.h"
#include "core/SubmissionFacts.h"
#include "core/SubmissionStatus.h"
#include "core/View.h"

namespace SQLite { class Database; }

struct WorkRecord {
    int id = 0;            // 0: not stored yet
    QString name;
    int genreId = 0;       // 0: none
    QString yearWritten;
    QString yearLastAmended;
    bool submit = false;
    bool submitted = false;
    bool accepted = false;
    bool published = false;
};

struct PublisherRecord {
    int id = 0;
    QString name;
    std::optional<int> typeId;  // Null when it has none
    QString guidelines;
    QString comments;
    QString address;
    bool submitTo = false;
    bool submittedTo = false;
    QString email;
    QString web;
    QList<int> genreIds;        // its Publisher_Genre rows, in the order they are written
    std::optional<int> answerWithinDays;  // days it answers within; Null: the Overdue-Days setting
    std::optional<bool> simultaneous;     // takes simultaneous submissions; Null: not known
    std::optional<qint64> usualFee;       // in the currency's smallest unit; Null: none
};

struct SubmissionRecord {
    int id = 0;
    int workId = 0;
    int publisherId = 0;
    // As stored: ISO text "YYYY-MM-DD", or the integer 0 for no date (older files may hold
    // a day number or Null, which loads as it is).
    QVariant dateSubmitted;
    QVariant dateReturned;
    QString outcome;
    QString notes;
    // Null or not a number when loaded. Saving without one keeps the stored status; a new
    // submission then takes the table's default, unreturned.
    std::optional<SubmissionStatus> status;
    // In the currency's smallest unit (pence, cents); Null: none.
    std::optional<qint64> fee;
    std::optional<qint64> payment;
    QVariant datePaid;  // as the other dates
};

struct ListItem {
    int id = 0;
    QString text;
};

// The one failure a store call reports. Nothing was written when it is thrown.
class RecordStoreError : public std::runtime_error {
public:
    enum class Reason {
        Engine,            // the engine refused: message() is its own text
        Locked,            // another program holds the file: message() says so, naming it
        Gone,              // the record to amend no longer exists
        MissingWork,       // a submission's work no longer exists
        MissingPublisher,  // a submission's publisher no longer exists
    };
    RecordStoreError(Reason reason, const QString& message);
    Reason reason() const { return mReason; }
    bool isLocked() const { return mReason == Reason::Locked; }
    QString message() const { return mMessage; }

private:
    Reason mReason;
    QString mMessage;
};

// The engine's failure as the store reports it: a lock held by another program in plain
// words naming the file, anything else with the engine's own text.
RecordStoreError storeError(const SQLite::Database& database, const std::exception& e);

// Sets each work's "Submitted?" from whether it has an unreturned submission now.
void updateWorksSubmitted(SQLite::Database& database, const QSet<int>& works);

class RecordStore {
public:
    explicit RecordStore(SQLite::Database& database);

    // The record of that ID; nothing when it no longer exists.
    std::optional<WorkRecord> work(int id);
    std::optional<PublisherRecord> publisher(int id);
    std::optional<SubmissionRecord> submission(int id);

    // The editors' lists: the genres by their singular or plural names and the publisher
    // types in stored order; works and publishers by name.
    enum class GenreNames { Singular, Plural };
    QList<ListItem> genres(GenreNames names);
    QList<ListItem> publisherTypes();
    QList<ListItem> worksByName();
    QList<ListItem> publishersByName();
    QList<int> publisherGenreIds(int publisherId);

    // A work or publisher of that name is stored (letter case aside, as the tables compare
    // names). Submissions have no name: false.
    bool nameExists(View view, const QString& name);

    // Each writes the record in one transaction and returns its ID (a new one's when id is
    // 0). Amending a record that no longer exists throws Gone.
    int saveWork(const WorkRecord& work);
    // The publisher's genre links are replaced by genreIds.
    int savePublisher(const PublisherRecord& publisher);
    // Also keeps the flags of the submission's work and publisher, judged against the row
    // as stored when the save starts:
    // - a new submission raises the work's Submit? and the publisher's Submit_To? and
    //   Submitted_To?;
    // - an unreturned submission moved to another work clears the old work's Submitted?
    //   unless another of its submissions is unreturned;
    // - unreturned or rejected (a new one without a status is unreturned) sets the work's
    //   Submitted? to whether any of its submissions is unreturned; accepted raises
    //   Accepted?, published raises Published?; no status changes none.
    // Its work and publisher must exist (MissingWork, MissingPublisher).
    int saveSubmission(const SubmissionRecord& submission);

    // Withdraws the submissions of those IDs that are still unreturned, in one transaction:
    // each becomes Rejected, returned on today with the outcome "Withdrawn" (followed by any
    // outcome it already had: "Withdrawn; queried in May"), and its work's
    // Submitted? follows its unreturned submissions as after any rejection. Returns how many.
    int withdrawSubmissions(const QList<int>& ids, const QDate& today);

    // Unreturned submissions of a work or publisher, which forbid deleting it; 0 for a
    // submission.
    int outstandingSubmissions(View view, int id);
    // Deletes the record: a publisher with its genre links, an unreturned submission
    // clearing its work's Submitted? when it was the last. Nothing to delete is no error.
    void deleteRecord(View view, int id);

    // What the submission editor asks before a save and after an acceptance, and what the
    // statistics are worked out from (OtherSubmissions.h, Resubmission.h, SubmissionFacts.h).
    std::optional<EarlierSubmission> earlierSubmission(int workId, int publisherId, int excludeId);
    std::optional<SimultaneousConflict> simultaneousConflict(int workId, int publisherId, int excludeId);
    QList<OtherSubmission> otherUnreturned(int workId, int excludeId);
    QList<SubmissionFact> submissionFacts();

    // Imports and their undoing (CsvImport.h).
    ImportReport importCsv(const CsvImportTable& table, const ImportOptions& options);
    std::optional<ImportLogEntry> lastImport();
    UndoReport undoLastImport();

private:
    SQLite::Database& mDatabase;
};
