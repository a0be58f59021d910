#include "core/ImportCsvCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <SQLiteCpp/Database.h>

#include "core/BackupCommand.h"
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/CsvImport.h"
#include "core/Database.h"
#include "core/Session.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ImportCsvCommand", text);
}

QString countsLine(const QString& what, const ImportCounts& counts, bool withRefused)
{
    QString line = tr("%1: %2 added, %3 already there").arg(what).arg(counts.added).arg(counts.alreadyThere);
    if (withRefused)
        line += tr(", %1 refused").arg(counts.refused);
    return line;
}

QString dateOrderText(const ImportReport& report)
{
    QString text = dateOrderName(report.dateOrder);
    if (report.dateOrderGiven)
        text += tr(" (as asked)");
    else if (report.dateOrderFromLocale)
        text += tr(" (from the locale: no date in the file decided it)");
    else
        text += tr(" (from the file's dates)");
    return text;
}

} // namespace

QString importSummaryText(ImportKind kind, const ImportReport& report)
{
    QStringList lines;
    if (!report.encoding.isEmpty())
        lines << tr("Encoding: %1").arg(report.encoding) << tr("Separator: %1").arg(report.separator);
    // A file refused whole (unreadable, a column missing, dates in both orders) has no rows to count.
    const bool rowsRead = report.ok || !report.refusedRows.isEmpty() || !report.unknownStatusWords.isEmpty();
    if (!rowsRead)
        return lines.join(QLatin1Char('\n'));
    if (kind == ImportKind::Submissions)
        lines << tr("Date order: %1").arg(dateOrderText(report));
    // The kind the file holds, with its refusals; then the records its rows named.
    switch (kind) {
    case ImportKind::Works:
        lines << countsLine(tr("Works"), report.works, true);
        break;
    case ImportKind::Publishers:
        lines << countsLine(tr("Publishers"), report.publishers, true);
        break;
    case ImportKind::Submissions:
        lines << countsLine(tr("Submissions"), report.submissions, true)
              << countsLine(tr("Works"), report.works, false) << countsLine(tr("Publishers"), report.publishers, false);
        break;
    }
    if (report.genres.added > 0)
        lines << tr("Genres added: %1").arg(report.genres.added);
    if (report.publisherTypes.added > 0)
        lines << tr("Publisher types added: %1").arg(report.publisherTypes.added);
    lines << tr("Ignored columns: %1")
                 .arg(report.ignoredColumns.isEmpty() ? tr("none") : report.ignoredColumns.join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\n'));
}

int runImportCsvCommand(Session& session, const CommandLine& command, QTextStream& out, QTextStream& err)
{
    auto fail = [&err](const QString& message) {
        err << "quillary: " << message << Qt::endl;
        return exitcode::kFailed;
    };
    for (const QString& warning : session.settings().load())
        err << tr("Warning: %1").arg(warning) << Qt::endl;

    const QString path = session.databasePath();
    QString error;
    std::unique_ptr<SQLite::Database> database;
    bool created = false;
    if (!QFileInfo::exists(path)) {
        if (command.dryRun) {
            // Nothing is written, the database not even created: the rows are tried
            // against an empty one in memory.
            database = std::make_unique<SQLite::Database>(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            db::prepareConnection(*database);
            db::createSchema(*database);
        } else {
            database = db::createNew(path, &error);
            created = database != nullptr;
        }
    } else if (command.dryRun) {
        // A dry run only reads: an older file is read as it is, never upgraded.
        database = db::openReadOnly(path, &error);
    } else {
        database = db::openChecked(path, &error);
        if (database) {
            session.setDatabase(std::move(database));
            // An older file is upgraded before the import: copied first, as at any start.
            if (db::schemaVersion(*session.database()) < db::kSchemaVersion) {
                const StartBackupReport backup = makeStartBackup(session);
                if (!backup.damage.isEmpty())
                    return fail(backup.damage);
            }
            if (!db::finishOpening(*session.database(), path, &error))
                session.closeDatabase();
        }
    }
    if (database)
        session.setDatabase(std::move(database));
    if (!session.database())
        return fail(error);

    ImportOptions options;
    options.kind = command.importKind;
    options.dateOrder = command.dateOrder;
    options.statusWords = command.statusWords;
    options.dryRun = command.dryRun;
    options.backupFolder = session.locations().backupDir;
    options.databasePath = path;
    options.currency = session.settings().currency().code();
    options.importedAt = QDateTime(session.clock().today(), QTime::currentTime());
    const ImportReport report = importCsvFile(*session.database(), command.importSource, options);
    session.closeDatabase();

    const QString what = importKindName(command.importKind);
    if (const QString summary = importSummaryText(command.importKind, report); !summary.isEmpty())
        out << summary << Qt::endl;
    if (!report.ok) {
        for (const RefusedRow& row : report.refusedRows)
            err << tr("%1: line %2: %3").arg(QFileInfo(command.importSource).fileName()).arg(row.line).arg(row.reason)
                << Qt::endl;
        if (created)
            QFile::remove(path);  // made for this import alone, which wrote nothing
        return fail(tr("%1 was not imported: %2").arg(command.importSource, report.error));
    }
    if (report.written) {
        if (created)
            out << tr("Created the database %1").arg(path) << Qt::endl;
        out << tr("Backup copy made before the import: %1").arg(report.backupFile) << Qt::endl;
        out << tr("Imported the %1 of %2 into %3").arg(what, command.importSource, path) << Qt::endl;
    } else if (!command.dryRun) {
        out << tr("Nothing new in %1: every record is already there; nothing was written.").arg(command.importSource)
            << Qt::endl;
    } else {
        out << tr("Dry run: the %1 of %2 would be imported; nothing was written.").arg(what, command.importSource)
            << Qt::endl;
    }
    return exitcode::kOk;
}
