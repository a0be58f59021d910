#include "core/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "core/OutputGuard.h"
#include "core/Version.h"

QString versionLine()
{
    return QStringLiteral("Quillary %1.%2.%3")
        .arg(QUILLARY_VERSION_MAJOR)
        .arg(QUILLARY_VERSION_MINOR)
        .arg(QUILLARY_VERSION_PATCH);
}

CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDir)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A database of a writer's works, the publishers they go to and the submissions made.\n"
        "Without options, the settings and database are found by the usual rule (see the README)."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    const QCommandLineOption config(QStringLiteral("config"),
                                    QStringLiteral("Uses this settings file (it must exist)."),
                                    QStringLiteral("file"));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("Opens this database file instead of the one the settings name."),
                                      QStringLiteral("file"));
    const QCommandLineOption backup(QStringLiteral("backup"),
                                    QStringLiteral("Writes a consistent copy of the database to this file and ends, "
                                                   "without a window. Exit code 0 when the copy was made."),
                                    QStringLiteral("file"));
    const QCommandLineOption exportCsv(QStringLiteral("export-csv"),
                                       QStringLiteral("Writes the listing of a view (works, publishers or submissions) "
                                                      "as CSV to the FILE that follows, and ends, without a window."),
                                       QStringLiteral("view"));
    const QCommandLineOption selection(QStringLiteral("selection"),
                                       QStringLiteral("With --export-csv: lists what this saved selection selects."),
                                       QStringLiteral("name"));
    const QCommandLineOption importCsv(QStringLiteral("import-csv"),
                                       QStringLiteral("Imports works, publishers or submissions from the CSV FILE that "
                                                      "follows, and ends, without a window. A copy of the database is "
                                                      "made first; a file with any refused row imports nothing."),
                                       QStringLiteral("kind"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("With --import-csv: reports what would be imported, writes nothing."));
    const QCommandLineOption dateOrder(QStringLiteral("date-order"),
                                       QStringLiteral("With --import-csv: numeric dates are day-month-year (dmy), "
                                                      "month-day-year (mdy) or year-month-day (ymd). Otherwise the "
                                                      "file's dates decide, else the locale."),
                                       QStringLiteral("order"));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("With --import-csv: the file's status WORD means unreturned, "
                                                   "rejected, accepted or published. May be given again."),
                                    QStringLiteral("word=status"));
    parser.addOptions({help, version, config, database, backup, exportCsv, selection, importCsv, dryRun, dateOrder,
                       status});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("With --export-csv: the CSV file to write; with --import-csv: the "
                                                "CSV file to read."),
                                 QStringLiteral("[FILE]"));
    QCommandLineOption exitAfterFirstFill(QStringLiteral("exit-after-first-fill"));
    exitAfterFirstFill.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(exitAfterFirstFill);
    // Qt's own options (-style fusion, -platform offscreen, ...) are the toolkit's to read:
    // known here so that they are not refused, hidden from the help.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowicon", "qwindowtitle", "display", "geometry", "style", "stylesheet", "session"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine result;
    auto fail = [&result](const QString& text) {
        result.action = CommandLine::Action::Fail;
        result.text = text + QStringLiteral("\nTry 'quillary --help' for the options.");
        return result;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (!parser.isSet(exportCsv) && !parser.isSet(importCsv) && !positional.isEmpty())
        return fail(QStringLiteral("Unexpected argument: %1").arg(positional.constFirst()));
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::ShowHelp;
        // The parser would name the program from the running application, which there is
        // not yet; the program's name is known.
        result.text = parser.helpText();
        result.text.replace(0, result.text.indexOf(QLatin1Char('\n')),
                            QStringLiteral("Usage: quillary [options]\n"
                                           "       quillary --export-csv works|publishers|submissions FILE "
                                           "[--selection NAME] [options]\n"
                                           "       quillary --import-csv works|publishers|submissions FILE "
                                           "[--dry-run] [--date-order dmy|mdy|ymd] [--status WORD=STATUS]... "
                                           "[options]"));
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = versionLine() + QLatin1Char('\n');
        return result;
    }

    const QDir here(workingDir);
    auto absolute = [&here](const QString& path) {
        return path.isEmpty() ? QString() : QDir::cleanPath(here.absoluteFilePath(path));
    };
    for (const QCommandLineOption* option : {&config, &database, &backup}) {
        if (parser.isSet(*option) && parser.value(*option).isEmpty())
            return fail(QStringLiteral("The option --%1 needs a file name.").arg(option->names().constFirst()));
    }
    result.settingsFile = absolute(parser.value(config));
    result.database = absolute(parser.value(database));
    result.backupTarget = absolute(parser.value(backup));
    result.exitAfterFirstFill = parser.isSet(exitAfterFirstFill);

    if (parser.isSet(exportCsv)) {
        const QString usage = QStringLiteral("Usage: quillary --export-csv works|publishers|submissions FILE "
                                             "[--selection NAME]");
        if (parser.isSet(backup))
            return fail(QStringLiteral("--export-csv and --backup cannot be asked for together."));
        if (positional.size() != 1 || positional.constFirst().isEmpty())
            return fail(usage);
        const QString viewText = parser.value(exportCsv).toLower();
        if (viewText == QLatin1String("works"))
            result.exportView = View::Work;
        else if (viewText == QLatin1String("publishers"))
            result.exportView = View::Publisher;
        else if (viewText == QLatin1String("submissions"))
            result.exportView = View::Submission;
        else
            return fail(QStringLiteral("\"%1\" is not a view: use works, publishers or submissions.\n%2")
                            .arg(parser.value(exportCsv), usage));
        result.exportTarget = absolute(positional.constFirst());
        result.selectionGiven = parser.isSet(selection);
        result.selection = parser.value(selection);
    } else if (parser.isSet(selection)) {
        return fail(QStringLiteral("--selection goes with --export-csv."));
    }

    if (parser.isSet(importCsv)) {
        const QString usage = QStringLiteral("Usage: quillary --import-csv works|publishers|submissions FILE "
                                             "[--dry-run] [--date-order dmy|mdy|ymd] "
                                             "[--status WORD=unreturned|rejected|accepted|published]...");
        if (parser.isSet(backup) || parser.isSet(exportCsv))
            return fail(QStringLiteral("--import-csv cannot be asked for together with --backup or --export-csv."));
        if (positional.size() != 1 || positional.constFirst().isEmpty())
            return fail(usage);
        const std::optional<ImportKind> kind = importKindFromName(parser.value(importCsv));
        if (!kind)
            return fail(QStringLiteral("\"%1\" is not a kind of record: use works, publishers or submissions.\n%2")
                            .arg(parser.value(importCsv), usage));
        result.importKind = *kind;
        result.importSource = absolute(positional.constFirst());
        result.dryRun = parser.isSet(dryRun);
        if (parser.isSet(dateOrder)) {
            result.dateOrder = dateOrderFromName(parser.value(dateOrder));
            if (!result.dateOrder)
                return fail(QStringLiteral("\"%1\" is not a date order: use dmy, mdy or ymd.")
                                .arg(parser.value(dateOrder)));
        }
        for (const QString& mapping : parser.values(status)) {
            QString word;
            SubmissionStatus stored = SubmissionStatus::Unreturned;
            if (!parseStatusMapping(mapping, &word, &stored))
                return fail(QStringLiteral("\"%1\" is not a status mapping: write WORD=STATUS, the status being "
                                           "unreturned, rejected, accepted or published.").arg(mapping));
            result.statusWords.insert(word, stored);
        }
    } else {
        for (const QCommandLineOption* option : {&dryRun, &dateOrder, &status}) {
            if (parser.isSet(*option))
                return fail(QStringLiteral("--%1 goes with --import-csv.").arg(option->names().constFirst()));
        }
    }

    // A name that cannot be kept as it is would reach another file than the one meant.
    for (const QString& file :
         {result.settingsFile, result.database, result.backupTarget, result.exportTarget, result.importSource}) {
        if (!representableFileName(file))
            return fail(QStringLiteral("The file name %1 cannot be used: it holds characters that a file name "
                                       "on this system cannot keep.").arg(file));
    }
    if (!result.settingsFile.isEmpty() && !QFileInfo(result.settingsFile).isFile())
        return fail(QFileInfo(result.settingsFile).isDir()
                        ? QStringLiteral("The settings file %1 is a folder.").arg(result.settingsFile)
                        : QStringLiteral("The settings file %1 does not exist.").arg(result.settingsFile));
    if (!result.database.isEmpty() && QFileInfo(result.database).isDir())
        return fail(QStringLiteral("The database %1 is a folder, not a database file.").arg(result.database));
    if (!result.backupTarget.isEmpty() || !result.exportTarget.isEmpty()) {
        // Only the window offers to create a database.
        if (!result.database.isEmpty() && !QFileInfo(result.database).isFile())
            return fail(QStringLiteral("The database %1 does not exist.").arg(result.database));
        result.action = result.backupTarget.isEmpty() ? CommandLine::Action::ExportCsv : CommandLine::Action::Backup;
    }
    if (!result.importSource.isEmpty()) {
        if (!QFileInfo(result.importSource).isFile())
            return fail(QFileInfo(result.importSource).isDir()
                            ? QStringLiteral("The file to import %1 is a folder.").arg(result.importSource)
                            : QStringLiteral("The file to import %1 does not exist.").arg(result.importSource));
        result.action = CommandLine::Action::ImportCsv;
    }
    return result;
}
