#pragma once
// The program's command line: --config, --database, --backup, --help and --version.

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action { RunWindow, Backup, ShowHelp, ShowVersion, Fail };
    Action action = Action::RunWindow;
    QString settingsFile;  // absolute, or empty
    QString database;      // absolute, or empty
    QString backupTarget;  // absolute, or empty
    // Hidden, for the benchmark: end as soon as the first filled grid has been shown,
    // printing how long that took.
    bool exitAfterFirstFill = false;
    // What to print: the help or version text, or (with Fail) what was wrong.
    QString text;
};

// Exit codes, for scripts.
namespace exitcode {
constexpr int kOk = 0;
constexpr int kFailed = 1;     // the backup, or opening the database, failed
constexpr int kUsage = 2;      // a bad option, a missing value, a file that is not there
} // namespace exitcode

// arguments: the whole command line, the program's name first. Relative paths are taken
// from workingDir. A --config file must exist; a --database file need not (the window
// offers to create it) unless a backup is asked for.
CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDir);

// "Quillary 1.0.0"
QString versionLine();
