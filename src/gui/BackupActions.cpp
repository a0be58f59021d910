#include "gui/BackupActions.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "gui/StatusMessage.h"
#include "core/Clock.h"
#include "core/DatabaseBackup.h"
#include "core/OutputGuard.h"
#include "core/Session.h"
#include "gui/Prompts.h"
#include "gui/TableExport.h"

void backUpDatabaseInteractively(QWidget* window, Session& session, Prompts& prompts)
{
    if (!session.isOpen()) {
        prompts.message(window, QCoreApplication::translate("BackupActions", "There is no open database to back up."), Prompts::Buttons::Ok,
                        Prompts::Icon::Warning);
        return;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(datedBackupName(session.databasePath(), session.clock().today()));
    const QString target = checkedSaveName(
        window, prompts, ownFilesOf(session),
        prompts.saveFileName(window, QStringLiteral("Back Up Database"), suggested,
                             QStringLiteral("Quillary databases (*.mdb);;All files (*)")));
    if (target.isEmpty())
        return;
    QString error;
    if (!session.backupTo(target, &error)) {
        prompts.message(window, error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    showStatusMessage(window, QStringLiteral("Database backed up to ") + QDir::toNativeSeparators(target), 10);
}
