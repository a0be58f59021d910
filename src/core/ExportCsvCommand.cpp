#include "core/ExportCsvCommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <SQLiteCpp/Database.h>

#include "core/CommandLine.h"
#include "core/Csv.h"
#include "core/OutputGuard.h"
#include "core/Session.h"
#include "core/Database.h"
#include "core/ListingColumns.h"
#include "core/Listing.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ExportCsvCommand", text);
}

} // namespace

int runExportCsvCommand(Session& session, const CommandLine& command, QTextStream& out, QTextStream& err)
{
    auto fail = [&err](const QString& message) {
        err << "quillary: " << message << Qt::endl;
        return exitcode::kFailed;
    };
    const View view = command.exportView;
    const QString viewText = viewName(view).toLower() + QLatin1Char('s');
    const QString& file = command.exportTarget;

    for (const QString& warning : session.settings().load())
        err << tr("Warning: %1").arg(warning) << Qt::endl;

    const QString path = session.databasePath();
    const QString refused = refuseOutput(file, ownFilesOf(session));
    if (!refused.isEmpty())
        return fail(refused);
    if (!QFileInfo::exists(path))
        return fail(tr("The database file %1 does not exist.").arg(path));
    QString error;
    std::unique_ptr<SQLite::Database> database = db::openReadOnly(path, &error);
    if (!database)
        return fail(error);
    // Reading never upgrades; the window does that once, in one transaction.
    if (db::schemaVersion(*database) < db::kSchemaVersion)
        return fail(tr("The database %1 was written by an older version of Quillary. Open it in the window "
                       "once to bring it up to date, then export again.")
                        .arg(path));
    session.setDatabase(std::move(database));

    QString condition;
    if (command.selectionGiven) {
        const QString& selectionName = command.selection;
        const SelectionSection section = readSelectionSection(session.settings(), view);
        const Selection* found = nullptr;
        QStringList captions;
        for (const Selection& selection : section.selections) {
            captions << selection.caption;
            if (!found && selection.caption.trimmed().compare(selectionName.trimmed(), Qt::CaseInsensitive) == 0)
                found = &selection;
        }
        if (!found)
            return fail(tr("There is no saved selection \"%1\" for %2. The saved selections are: %3")
                            .arg(selectionName, viewText, captions.join(QStringLiteral(", "))));
        if (found->condition.contains(QStringLiteral("??")))
            return fail(tr("The selection \"%1\" asks for a value each time; it cannot be used here.")
                            .arg(found->caption));
        condition = found->condition;
    }

    const Currency currency = session.settings().currency();
    const FillResult rows = readFillRows(*session.database(), view, fillStatement(view, condition), 0, nullptr,
                                         &currency);
    if (!rows.ok)
        return fail(tr("The %1 could not be listed: %2").arg(viewText, rows.error));

    const QList<QStringList> table = listingRows(rows, view);
    if (!writeCsvFile(file, listingHeader(view), table, &error))
        return fail(tr("%1 could not be written: %2").arg(file, error));
    out << tr("Wrote %1 %2 to %3").arg(table.size()).arg(viewText, file) << Qt::endl;
    return exitcode::kOk;
}
