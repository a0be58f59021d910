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

StartBackupReport makeStartBackup(Session& session)
{
    StartBackupReport report;
    SQLite::Database* database = session.database();
    if (!database)
        return report;
    const QString folder = session.locations().backupDir;
    const RotationResult result = rotateStartBackup(*database, session.databasePath(), folder, session.clock().today());
    if (result.ok)
        return report;
    if (!result.damaged) {
        report.status = QStringLiteral("Start-up backup failed: ") + result.error;
        return report;
    }
    const QString lastGood = result.lastGood.isEmpty()
        ? QStringLiteral("no good copy was found in %1").arg(folder)
        : QStringLiteral("the last good copy is %1").arg(result.lastGood);
    report.status = QStringLiteral("The database is damaged; ") + lastGood + QLatin1Char('.');
    report.damage = QStringLiteral("The database %1 is damaged: today's start-up copy failed the check and was "
                                   "kept apart as %2.\n\n").arg(session.databasePath(), result.damagedCopy);
    report.damage += result.lastGood.isEmpty()
        ? QStringLiteral("No good copy was found in %1.").arg(folder)
        : QStringLiteral("The last good copy is %1. To go back to it, close Quillary and copy it over the database.")
              .arg(result.lastGood);
    report.damage += QStringLiteral("\n\n") + result.error;
    return report;
}
