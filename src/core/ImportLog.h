#pragma once
// The log of imports kept in the database (Import_Log, Import_Added): what each import
// added, with a fingerprint of every record as written, so that the last import can be
// undone exactly, and refused when the writer has amended one of its records since.

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <array>
#include <optional>
#include <vector>

#include "core/ImportKind.h"

namespace SQLite { class Database; }

// The tables an import adds to, in the order undo removes from them.
enum class LoggedTable { Submission, Work, Publisher, Genre, PublisherType };

// Collects what one import adds, then writes its log entry inside the import's transaction.
class ImportLogWriter {
public:
    // values: the record's columns as they were written, in the order the table's
    // fingerprint covers them.
    void added(LoggedTable table, qint64 id, const QVariantList& values);
    // Writes the entry and its records; returns the entry's ID.
    int write(SQLite::Database& database, const QDateTime& importedAt, const QString& fileName, ImportKind kind,
              int added, int alreadyThere);

    struct Record {
        qint64 id;
        quint64 fingerprint;
    };

private:
    std::array<std::vector<Record>, 5> mAdded;  // one per LoggedTable
};

struct ImportLogEntry {
    int id = 0;
    QDateTime importedAt;
    QString fileName;
    ImportKind kind = ImportKind::Submissions;
    int added = 0;
    int alreadyThere = 0;
    // The records it added, by table, as logged (some may have been deleted since).
    int works = 0, publishers = 0, submissions = 0, genres = 0, publisherTypes = 0;
};

// The last import not undone; nothing when there is none.
std::optional<ImportLogEntry> lastImport(SQLite::Database& database);

struct UndoReport {
    bool ok = false;
    QString error;
    // Removed by kind; kept: added by the import but used by a record added since.
    int works = 0, publishers = 0, submissions = 0, genres = 0, publisherTypes = 0;
    int kept = 0;
};

// Removes what the last import added, in one transaction: its submissions, then its works,
// publishers, genres and publisher types that nothing else uses now; then the works'
// Submitted? follows their unreturned submissions. Refused, with nothing changed, when a
// record it added has been amended since.
UndoReport undoLastImport(SQLite::Database& database);
