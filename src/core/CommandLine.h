#pragma once
// The program's command line: --config, --database, --backup, --export-csv, --help and
// --version.

#include <QString>
#include <QStringList>

#include "core/View.h"

struct CommandLine {
    enum class Action { RunWindow, Backup, ExportCsv, ShowHelp, ShowVersion, Fail };
    Action action = Action::RunWindow;
    QString settingsFile;  // absolute, or empty
    QString database;      // absolute, or empty
    QString backupTarget;  // absolute, or empty
    // --export-csv VIEW FILE [--selection NAME]
    View exportView = View::Work;
    QString exportTarget;  // absolute, or empty
    QString selection;     // the saved selection's name, with selectionGiven
    bool selectionGiven = false;
    // Hidden, for the benchmark: end as soon as the first filled grid has been shown,
    // printing how long that took.
    bool exitAfterFirstFill = false;
    // What to print: the help or version text, or (with Fail) what was wrong.
    QString text;
};

// Exit codes, for scripts: every start ends with one of these.
namespace exitcode {
constexpr int kOk = 0;
constexpr int kFailed = 1;     // the backup, the export or opening the database failed
constexpr int kUsage = 2;      // a bad option, a missing value, a file that is not there
} // namespace exitcode

// arguments: the whole command line, the program's name first. Relative paths are taken
// from workingDir. A --config file must exist; a --database file need not (the window
// offers to create it) unless a backup or an export is asked for, and is never a folder.
// A file name that cannot be kept as it is on this system is refused.
CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDir);

// "Quillary 1.0.0"
QString versionLine();
