#include "core/BackupCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <SQLiteCpp/Database.h>
#include <exception>
#include <memory>

#include "core/CommandLine.h"
#include "core/DatabaseBackup.h"
#include "core/Clock.h"
#include "core/Session.h"
#include "core/Database.h"

int runBackupCommand(Session& session, const QString& target, QTextStream& out, QTextStream& err)
{
    const QString path = session.databasePath();
    if (!QFileInfo(path).isFile()) {
        err << "quillary: there is no database at " << path << " to back up.\n";
        return exitcode::kFailed;
    }
    QString error;
    try {
        // Read-only: a backup never changes the database, not even its journal.
        SQLite::Database database(QFile::encodeName(path).toStdString(), SQLite::OPEN_READONLY);
        db::prepareConnection(database);
        if (!db::validateSchema(database, &error)) {
            err << "quillary: " << path << " is not a Quillary database: " << error << '\n';
            return exitcode::kFailed;
        }
        if (!backupDatabase(database, target, &error)) {
            err << "quillary: " << error << '\n';
            return exitcode::kFailed;
        }
    } catch (const std::exception& e) {
        err << "quillary: " << path << " could not be read: " << QString::fromUtf8(e.what()) << '\n';
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
