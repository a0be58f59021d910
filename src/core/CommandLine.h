#pragma once
// The program's command line: --config, --database, --backup, --export-csv, --import-csv,
// --help and --version.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/CsvImport.h"

#include "core/View.h"

struct CommandLine {
    enum class Action { RunWindow, Backup, ExportCsv, ImportCsv, ShowHelp, ShowVersion, Fail };
    Action action = Action::RunWindow;
    QString settingsFile;  // absolute, or empty
    QString database;      // absolute, or empty
    QString backupTarget;  // absolute, or empty
    // --export-csv VIEW FILE [--selection NAME]
    View exportView = View::Work;
    QString exportTarget;  // absolute, or empty
    QString selection;     // the saved selection's name, with selectionGiven
    bool selectionGiven = false;
    // --import-csv KIND FILE [--dry-run] [--date-order ORDER] [--status WORD=STATUS]...
    ImportKind importKind = ImportKind::Submissions;
    QString importSource;  // absolute, or empty
    bool dryRun = false;
    std::optional<DateOrder> dateOrder;
    QHash<QString, SubmissionStatus> statusWords;  // the word as given, to a stored status
    // Hidden, for the benchmark: end as soon as the first filled grid has been shown,
    // printing how long that took.
    bool exitAfterFirstFill = false;
    // What to print: the help or version text, or (with Fail) what was wrong.
    QString text;
};

// Exit codes, for scripts: every start ends with one of these.
namespace exitcode {
constexpr int kOk = 0;
constexpr int kFailed = 1;     // the backup, the export, the import or opening the database failed
constexpr int kUsage = 2;      // a bad option, a missing value, a file that is not there
} // namespace exitcode

// arguments: the whole command line, the program's name first. Relative paths are taken
// from workingDir. A --config file must exist; a --database file need not (the window
// offers to create it, an import creates it) unless a backup or an export is asked for, and
// is never a folder. The file to import must exist.
// A file name that cannot be kept as it is on this system is refused.
CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDir);

// "Quillary 1.0.0"
QString versionLine();
