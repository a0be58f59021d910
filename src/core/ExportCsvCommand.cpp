#include "core/ExportCsvCommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <SQLiteCpp/Database.h>
#include <cstring>

#include "core/Csv.h"
#include "core/Session.h"
#include "core/Database.h"
#include "core/ListingColumns.h"
#include "core/Listing.h"

namespace {

const QString kOption = QStringLiteral("--export-csv");
const QString kSelection = QStringLiteral("--selection");

QString tr(const char* text)
{
    return QCoreApplication::translate("ExportCsvCommand", text);
}

QString usage()
{
    return tr("Usage: quillary --export-csv works|publishers|submissions FILE [--selection NAME]");
}

} // namespace

bool isExportCsvCommand(const QStringList& args)
{
    return args.mid(1).contains(kOption);
}

bool isExportCsvCommand(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--export-csv") == 0)
            return true;
    }
    return false;
}

int exportCsvCommand(const QStringList& args, const QString& appDir, Clock& clock, QTextStream& out,
                     QTextStream& err)
{
    auto fail = [&err](const QString& message, int code) {
        err << message << Qt::endl;
        return code;
    };

    // --export-csv VIEW FILE, and --selection NAME anywhere after the program's name.
    QStringList rest = args.mid(1);
    QString selectionName;
    bool selectionGiven = false;
    const qsizetype selectionAt = rest.indexOf(kSelection);
    if (selectionAt >= 0) {
        if (selectionAt + 1 >= rest.size())
            return fail(tr("--selection needs the name of a saved selection.") + QLatin1Char('\n') + usage(), 2);
        selectionName = rest.at(selectionAt + 1);
        selectionGiven = true;
        rest.remove(selectionAt, 2);
    }
    const qsizetype at = rest.indexOf(kOption);
    if (at != 0 || rest.size() != 3)
        return fail(usage(), 2);
    const QString viewText = rest.at(1).toLower();
    const QString file = rest.at(2);
    View view;
    if (viewText == QLatin1String("works"))
        view = View::Work;
    else if (viewText == QLatin1String("publishers"))
        view = View::Publisher;
    else if (viewText == QLatin1String("submissions"))
        view = View::Submission;
    else
        return fail(tr("\"%1\" is not a view: use works, publishers or submissions.").arg(rest.at(1)) +
                        QLatin1Char('\n') + usage(), 2);
    if (file.isEmpty())
        return fail(usage(), 2);

    Session session(appDir, clock);
    for (const QString& warning : session.settings().load())
        err << tr("Warning: %1").arg(warning) << Qt::endl;

    const QString path = session.databasePath();
    if (!QFileInfo::exists(path))
        return fail(tr("The database file %1 does not exist.").arg(path), 1);
    QString error;
    std::unique_ptr<SQLite::Database> database = db::openExisting(path, &error);
    if (!database)
        return fail(error, 1);
    session.setDatabase(std::move(database));

    QString condition;
    if (selectionGiven) {
        const SelectionSection section = ReadSelectionSection(session.settings(), view);
        const Selection* found = nullptr;
        QStringList captions;
        for (const Selection& selection : section.selections) {
            captions << selection.caption;
            if (!found && selection.caption.trimmed().compare(selectionName.trimmed(), Qt::CaseInsensitive) == 0)
                found = &selection;
        }
        if (!found)
            return fail(tr("There is no saved selection \"%1\" for %2. The saved selections are: %3")
                            .arg(selectionName, viewText, captions.join(QStringLiteral(", "))),
                        1);
        if (found->condition.contains(QStringLiteral("??")))
            return fail(tr("The selection \"%1\" asks for a value each time; it cannot be used here.")
                            .arg(found->caption),
                        1);
        condition = found->condition;
    }

    const Currency currency = session.settings().currency();
    const FillResult rows = ReadFillRows(*session.database(), view, FillStatement(view, condition), 0, nullptr,
                                         &currency);
    if (!rows.ok)
        return fail(tr("The %1 could not be listed: %2").arg(viewText, rows.error), 1);

    QStringList header;
    for (const ColumnDef& column : ViewColumns(view))
        header << column.header;
    const qsizetype columns = header.size();
    QList<QStringList> table;
    for (size_t r = 0; r < rows.ids.size(); ++r) {
        QStringList cells;
        for (qsizetype c = 0; c < columns; ++c)
            cells << rows.cells.at(r * static_cast<size_t>(columns) + static_cast<size_t>(c));
        table << cells;
    }
    if (!writeCsvFile(file, header, table, &error))
        return fail(tr("%1 could not be written: %2").arg(file, error), 1);
    out << tr("Wrote %1 %2 to %3").arg(table.size()).arg(viewText, file) << Qt::endl;
    return 0;
}
