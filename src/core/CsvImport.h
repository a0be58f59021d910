#pragma once
// Importing a writer's history from a CSV file: works, publishers or submissions, each row
// matched to what is stored by name and added when missing. All or nothing: any row that
// cannot be read refuses the whole file and nothing is written. Each import is logged
// (ImportLog) so that the last one can be undone exactly.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/CsvImportFile.h"
#include "core/ImportDates.h"
#include "core/ImportFields.h"
#include "core/ImportLog.h"
#include "core/SubmissionStatus.h"

namespace SQLite { class Database; }

struct ImportOptions {
    ImportKind kind = ImportKind::Submissions;
    // The wizard's own mapping, one field per file column; otherwise mapColumns().
    std::optional<QList<ImportField>> columns;
    // Otherwise found from the file's dates (detectDateOrder()).
    std::optional<DateOrder> dateOrder;
    // The user's own words, any case, to a stored status; they come before the known words.
    QHash<QString, SubmissionStatus> statusWords;
    // Computes the whole report and writes nothing.
    bool dryRun = false;
    // Before a real import the database is copied into backupFolder, named after
    // databasePath with the date of importedAt and "before-import".
    QString backupFolder;
    QString databasePath;
    QDateTime importedAt = QDateTime::currentDateTime();
    // As the log records it.
    QString fileName;
    // Month names and the order used when the file decides none; amounts in its number
    // format are read too.
    QLocale locale;
    // The database's currency (the Currency setting); empty: the locale's. Amounts labelled
    // with another currency refuse their row.
    QString currency;
};

struct ImportCounts {
    int added = 0;
    int alreadyThere = 0;
    int refused = 0;
};

struct RefusedRow {
    int line = 0;
    QString reason;
};

struct StatusWordUse {
    QString word;                 // as the file first wrote it
    int rows = 0;
    std::optional<SubmissionStatus> status;    // nothing: unknown, the file is refused
    bool mappedByUser = false;
};

struct ImportReport {
    // Imported (a dry run: it would be). False when the file, a row or the database refused.
    bool ok = false;
    bool written = false;
    QString error;                // the refusal of the whole file or the database's failure
    int errorLine = 0;
    QString encoding;
    QString separator;            // "comma", "semicolon", "tab"
    DateOrder dateOrder = DateOrder::DayMonthYear;
    bool dateOrderGiven = false;       // by the options
    bool dateOrderFromLocale = false;  // nothing in the file decided it
    QStringList header;
    QList<ImportField> columns;        // one per header column
    QStringList ignoredColumns;
    QList<StatusWordUse> statusWords;  // submissions: each distinct word, in order of appearance
    QStringList unknownStatusWords;
    // What was (or would be) added, found already stored, and refused, by kind of record.
    ImportCounts works, publishers, submissions, genres, publisherTypes;
    QList<RefusedRow> refusedRows;     // every one, in file order
    QString backupFile;                // the copy made before writing
    int importId = 0;                  // its log entry
};

// Imports the rows of a file already read (readCsvImport). Nothing is written unless the
// whole file is accepted, the copy is made, and options.dryRun is false.
ImportReport importCsv(SQLite::Database& database, const CsvImportTable& table, const ImportOptions& options);
// Reads the file, then imports it; options.fileName defaults to the file's name.
ImportReport importCsvFile(SQLite::Database& database, const QString& path, ImportOptions options);

// The copy's name for an import: Quillary-2026-12-07-before-import-1.mdb, the number the
// first one not in folder.
QString beforeImportBackupName(const QString& databasePath, const QString& folder, const QDate& date);
