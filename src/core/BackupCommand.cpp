#include "core/BackupCommand.h"

#include <QFileInfo>
#include <QTextStream>
#include <SQLiteCpp/Database.h>
#include <memory>

#include "core/CommandLine.h"
#include "core/DatabaseBackup.h"
#include "core/Clock.h"
#include "core/Session.h"
#include "core/Database.h"
#include "core/OutputGuard.h"

int runBackupCommand(Session& session, const QString& target, QTextStream& out, QTextStream& err)
{
    const QString path = session.databasePath();
    if (!QFileInfo(path).isFile()) {
        err << "quillary: there is no database at " << path << " to back up.\n";
        return exitcode::kFailed;
    }
    const QString refused = refuseOutput(target, ownFilesOf(session));
    if (!refused.isEmpty()) {
        err << "quillary: " << refused << '\n';
        return exitcode::kFailed;
    }
    QString error;
    // Read-only: a backup never changes the database (a hot journal aside, see openReadOnly).
    const std::unique_ptr<SQLite::Database> database = db::openReadOnly(path, &error);
    if (!database || !backupDatabase(*database, target, &error)) {
        err << "quillary: " << error << '\n';
        return exitcode::kFailed;
    }
    out << "Backed up " << path << " to " << target << '\n';
    return exitcode::kOk;
}

QString makeStartBackup(Session& session)
{
    SQLite::Database* database = session.database();
    if (!database)
        return QString();
    const RotationResult result = rotateStartBackup(*database, session.databasePath(),
                                                    session.locations().backupDir, session.clock().today());
    if (result.ok)
        return QString();
    return QStringLiteral("Start-up backup failed: ") + result.error;
}
