#pragma once
// `quillary --backup FILE`: a copy of the database for scripts, without a window.

#include <QString>

class QTextStream;
class Session;

// Copies the session's database to target. Prints what it did to out, or why it could
// not to err, and returns the exit code (exitcode::kOk or kFailed).
int runBackupCommand(Session& session, const QString& target, QTextStream& out, QTextStream& err);

struct StartBackupReport {
    // What the status panel says when the copy could not be made; empty when it was made
    // or was already there today.
    QString status;
    // What a message box says when the copy showed the database to be damaged: where the
    // damaged copy and the last good copy are.
    QString damage;
};

// The copy kept at each start (DatabaseBackup.h's rotation), from the session's open
// database into its backup folder. Made before anything is written to the database, the
// schema upgrade included.
StartBackupReport makeStartBackup(Session& session);
