#pragma once
// `quillary --backup FILE`: a copy of the database for scripts, without a window.

#include <QString>

class QTextStream;
class Session;

// Copies the session's database to target. Prints what it did to out, or why it could
// not to err, and returns the exit code (exitcode::kOk or kFailed).
int runBackupCommand(Session& session, const QString& target, QTextStream& out, QTextStream& err);

// The copy kept at each start (DatabaseBackup.h's rotation), from the session's open
// database into its backup folder. Returns what the status panel should say when it
// could not be made; empty when it was made or was already there today.
QString makeStartBackup(Session& session);
