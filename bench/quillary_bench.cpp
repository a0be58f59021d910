// Measures each listing against the engine stepping the same statement, Find, start-up
// (the program started as a process), the statistics, importing a CSV of the submissions
// against the engine inserting the same rows, and peak memory, offscreen.
// Run: build/bench/quillary_bench [--records N] [--json FILE] [--report-only] [folder]
// Prints each figure, its target and whether it was met; exits 1 when one was missed,
// unless --report-only. The database is built in the folder (or a temporary one) and kept
// there for the next run of the same size.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <algorithm>
#include <cstring>
#include <cstdio>
#include <sqlite3.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include "gui/StatusMessage.h"
#include "core/Clock.h"
#include "core/Csv.h"
#include "core/CsvImport.h"
#include "core/ListingColumns.h"
#include "gui/GridView.h"
#include "core/Database.h"
#include "core/Listing.h"
#include "core/Statistics.h"
#include "core/SubmissionFacts.h"
#include "gui/MainWindow.h"
#include "gui/Prompts.h"

namespace {

constexpr int kDefaultRecords = 32767;
constexpr int kPublishers = 300;
constexpr int kRuns = 5;
constexpr int kPairedRuns = 9;  // engine and fill, taking turns
constexpr int kImportRuns = 3;  // import and engine inserts, taking turns, each into a new file

// Answers every question silently so nothing waits for a person.
class QuietPrompts : public Prompts {
public:
    Answer message(QWidget*, const QString&, Buttons b, Icon, Answer) override
    {
        return b == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    QString input(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

class QuietLinks : public Links {
public:
    bool open(const QString&) override { return false; }
};

// This process's largest resident size so far.
double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void buildDatabase(const QString& path, int kRecords)
{
    QString error;
    auto database = db::createNew(path, &error);
    if (!database) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(2);
    }
    SQLite::Transaction transaction(*database);
    SQLite::Statement publisher(*database, "INSERT INTO Publisher (Name, Type_ID, Guidelines, Comments, \"Submit_To?\") "
                                           "VALUES (?, 1 + ? % 5, 'Up to 5,000 words; no reprints', 'Pays on acceptance', ? % 2)");
    for (int i = 1; i <= kPublishers; ++i) {
        publisher.bind(1, QStringLiteral("Publisher %1").arg(i, 4, 10, QLatin1Char('0')).toStdString());
        publisher.bind(2, i);
        publisher.bind(3, i);
        publisher.exec();
        publisher.reset();
    }
    SQLite::Statement work(*database, "INSERT INTO Work (Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", "
                                      "\"Submitted?\") VALUES (?, 1 + ? % 10, ?, '', ? % 2, ? % 3 = 0)");
    for (int i = 1; i <= kRecords; ++i) {
        work.bind(1, QStringLiteral("Work number %1 of the collection").arg(i * 7919 % kRecords).toStdString());
        work.bind(2, i);
        work.bind(3, QString::number(1990 + i % 35).toStdString());
        work.bind(4, i);
        work.bind(5, i);
        work.exec();
        work.reset();
    }
    SQLite::Statement submission(*database, "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, "
                                            "Status, Outcome, Notes, Fee, Payment, Date_Paid) VALUES (?, ?, ?, ?, ? % 4, "
                                            "'Outcome text', 'Notes', ?, ?, ?)");
    for (int i = 1; i <= kRecords; ++i) {
        submission.bind(1, 1 + (i * 31) % kRecords);
        submission.bind(2, 1 + i % kPublishers);
        submission.bind(3, QDate(2000, 1, 1).addDays(i % 9000).toString(Qt::ISODate).toStdString());
        if (i % 4 == 0)
            submission.bind(4, 0);
        else
            submission.bind(4, QDate(2000, 3, 1).addDays(i % 9000).toString(Qt::ISODate).toStdString());
        submission.bind(5, i);
        // A fee on every third, a payment with its date on most acceptances.
        if (i % 3 == 0)
            submission.bind(6, 300 + i % 5 * 100);
        else
            submission.bind(6);
        if (i % 4 >= 2 && i % 5 != 0) {
            submission.bind(7, 2500 + i % 7 * 1000);
            submission.bind(8, QDate(2000, 4, 1).addDays(i % 9000).toString(Qt::ISODate).toStdString());
        } else {
            submission.bind(7);
            submission.bind(8, 0);
        }
        submission.exec();
        submission.reset();
    }
    transaction.commit();
}

// The engine alone stepping a fill statement and reading every column, on a connection
// set up as the program's.
class Engine {
public:
    explicit Engine(const QString& path)
        : mDatabase(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX)
    {
        db::prepareConnection(mDatabase);
    }

    double runMs(View view)
    {
        const QByteArray text = fillStatement(view, QString()).toUtf8();
        QElapsedTimer timer;
        timer.start();
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(mDatabase.getHandle(), text.constData(), -1, &statement, nullptr);
        const int columns = sqlite3_column_count(statement);
        size_t bytes = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                sqlite3_column_text(statement, c);
                bytes += static_cast<size_t>(sqlite3_column_bytes(statement, c));
            }
        }
        sqlite3_finalize(statement);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (bytes == 0)
            std::fprintf(stderr, "no rows read\n");
        return ms;
    }

private:
    SQLite::Database mDatabase;
};

// A process run to its end: wall time, peak memory, and, when its output is watched, when
// it first wrote a whole line (unwatched output goes to /dev/null, costing it nothing).
struct ProcessRun {
    int status = -1;
    double ms = 0;
    double firstLineMs = -1;  // none written
    double peakMb = 0;
};

ProcessRun runProcess(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
                      bool watchOutput)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e)
        envText.emplace_back(*e);
    envText.insert(envText.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (const std::string& e : envText)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    int output[2] = {-1, -1};
    if (watchOutput && pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (watchOutput) {
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        posix_spawn_file_actions_addclose(&actions, output[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);  // the toolkit's chatter
    ProcessRun run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    if (watchOutput)
        close(output[1]);
    if (spawned) {
        char buffer[4096];
        ssize_t got;
        while (watchOutput && (got = read(output[0], buffer, sizeof buffer)) > 0) {
            if (run.firstLineMs < 0 && std::memchr(buffer, '\n', static_cast<size_t>(got)))
                run.firstLineMs = timer.nsecsElapsed() / 1e6;
        }
        rusage usage{};
        int status = 0;
        wait4(pid, &status, 0, &usage);
        run.ms = timer.nsecsElapsed() / 1e6;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakMb = usage.ru_maxrss / 1024.0;
    }
    if (watchOutput)
        close(output[0]);
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The sqlite3 shell stepping the statement with the file memory-mapped: best of five.
double sqliteShellMs(const QString& shell, const QString& path, View view)
{
    const std::string statement = fillStatement(view, QString()).toStdString();
    double best = -1;
    for (int run = 0; run < kRuns; ++run) {
        const ProcessRun r = runProcess({shell.toStdString(), "-cmd", "PRAGMA mmap_size=268435456", path.toStdString(),
                                         statement},
                                        {}, false);
        if (r.status != 0)
            return -1;
        if (best < 0 || r.ms < best)
            best = r.ms;
    }
    return best;
}

bool report(const char* what, double value, const char* unit, double target)
{
    const bool met = value <= target;
    std::printf("%-44s %10.1f %-3s (target <= %.1f) %s\n", what, value, unit, target, met ? "met" : "MISSED");
    return met;
}

struct ImportFigures {
    int rows = 0;
    double importMs = 0;
    double engineMs = 0;
};

// One submission as stored, with its work's and publisher's names.
struct StoredSubmission {
    std::string work, publisher;
    int sentType = SQLITE_NULL, returnedType = SQLITE_NULL;
    std::string sent, returned, outcome, notes;
    int status = 0;
};

std::unique_ptr<SQLite::Database> newDatabase(const QString& path)
{
    QFile::remove(path);
    QString error;
    auto database = db::createNew(path, &error);
    if (!database) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(2);
    }
    return database;
}

// The engine alone: the works and publishers the rows name, then the rows, with prepared
// statements in one transaction.
double engineInsertMs(SQLite::Database& database, const std::vector<StoredSubmission>& rows)
{
    QElapsedTimer timer;
    timer.start();
    SQLite::Transaction transaction(database);
    SQLite::Statement work(database, "INSERT INTO Work (Name, Genre_ID) VALUES (?, 1)");
    SQLite::Statement publisher(database, "INSERT INTO Publisher (Name) VALUES (?)");
    SQLite::Statement submission(database, "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, "
                                           "Date_Returned, Status, Outcome, Notes) VALUES (?, ?, ?, ?, ?, ?, ?)");
    QHash<QByteArray, qint64> works, publishers;
    auto idOf = [&database](SQLite::Statement& insert, QHash<QByteArray, qint64>& ids, const std::string& name) {
        const QByteArray key = QByteArray::fromStdString(name);
        auto found = ids.constFind(key);
        if (found != ids.constEnd())
            return *found;
        insert.bind(1, name);
        insert.exec();
        insert.reset();
        return *ids.insert(key, database.getLastInsertRowid());
    };
    auto bindText = [](SQLite::Statement& statement, int index, int type, const std::string& text) {
        if (type == SQLITE_NULL)
            statement.bind(index);
        else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            statement.bind(index, std::stod(text));
        else
            statement.bind(index, text);
    };
    for (const StoredSubmission& row : rows) {
        submission.bind(1, static_cast<int64_t>(idOf(work, works, row.work)));
        submission.bind(2, static_cast<int64_t>(idOf(publisher, publishers, row.publisher)));
        bindText(submission, 3, row.sentType, row.sent);
        bindText(submission, 4, row.returnedType, row.returned);
        submission.bind(5, row.status);
        submission.bind(6, row.outcome);
        submission.bind(7, row.notes);
        submission.exec();
        submission.reset();
    }
    transaction.commit();
    return timer.nsecsElapsed() / 1e6;
}

// The Submission listing exported as CSV, as the program writes it, imported into an
// empty database (a new file each run, its copy before the import included), beside the
// engine inserting the same rows.
ImportFigures measureImport(const QString& folder, const QString& sourcePath)
{
    SQLite::Database source(sourcePath.toStdString(), SQLite::OPEN_READONLY);
    db::prepareConnection(source);
    const FillResult listing = readFillRows(source, View::Submission, fillStatement(View::Submission, QString()));
    const QString csv = folder + QStringLiteral("/submissions.csv");
    QString error;
    if (!writeCsvFile(csv, listingHeader(View::Submission), listingRows(listing, View::Submission), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(2);
    }
    std::vector<StoredSubmission> rows;
    SQLite::Statement query(source, "SELECT Work.Name, Publisher.Name, Date_Submitted, Date_Returned, Status, "
                                    "Outcome, Notes FROM Submission JOIN Work ON Work.ID = Work_ID "
                                    "JOIN Publisher ON Publisher.ID = Publisher_ID ORDER BY Submission.ID");
    while (query.executeStep()) {
        StoredSubmission row;
        row.work = query.getColumn(0).getString();
        row.publisher = query.getColumn(1).getString();
        row.sentType = query.getColumn(2).getType();
        row.sent = query.getColumn(2).getString();
        row.returnedType = query.getColumn(3).getType();
        row.returned = query.getColumn(3).getString();
        row.status = query.getColumn(4).getInt();
        row.outcome = query.getColumn(5).getString();
        row.notes = query.getColumn(6).getString();
        rows.push_back(std::move(row));
    }

    const QString target = folder + QStringLiteral("/import.mdb");
    const QString backups = folder + QStringLiteral("/import-backups");
    std::vector<double> imports, engines;
    ImportFigures figures;
    for (int run = 0; run < kImportRuns; ++run) {
        {
            auto database = newDatabase(target);
            engines.push_back(engineInsertMs(*database, rows));
        }
        QDir(backups).removeRecursively();
        auto database = newDatabase(target);
        ImportOptions options;
        options.backupFolder = backups;
        options.databasePath = target;
        QElapsedTimer timer;
        timer.start();
        const ImportReport report = importCsvFile(*database, csv, options);
        imports.push_back(timer.nsecsElapsed() / 1e6);
        if (!report.ok || report.submissions.added != static_cast<int>(rows.size())) {
            std::fprintf(stderr, "the import failed (%d of %d rows added): %s\n", report.submissions.added,
                         static_cast<int>(rows.size()), qPrintable(report.error));
            std::exit(2);
        }
        figures.rows = report.submissions.added;
    }
    QFile::remove(target);
    QDir(backups).removeRecursively();
    figures.importMs = median(imports);
    figures.engineMs = median(engines);
    return figures;
}

struct ViewFigures {
    View view;
    int rows = 0;
    double engine = 0;
    double shell = -1;  // not measured
    double fill = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietPrompts prompts;
    QuietLinks links;
    SystemClock clock;

    int records = kDefaultRecords;
    QString jsonPath;
    QString given;
    bool reportOnly = false;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--records") && i + 1 < arguments.size()) {
            records = arguments.at(++i).toInt();
        } else if (a == QLatin1String("--json") && i + 1 < arguments.size()) {
            jsonPath = arguments.at(++i);
        } else if (a == QLatin1String("--report-only")) {
            reportOnly = true;
        } else if (!a.startsWith(QLatin1String("--")) && given.isEmpty()) {
            given = a;
        } else {
            std::fprintf(stderr, "usage: quillary_bench [--records N] [--json FILE] [--report-only] [folder]\n");
            return 2;
        }
    }
    if (records < 1) {
        std::fprintf(stderr, "--records needs a positive number\n");
        return 2;
    }

    QTemporaryDir scratch;
    // One database per size, kept in the given folder for the next run.
    const QString folder = (given.isEmpty() ? scratch.path() : given) + QStringLiteral("/records-%1").arg(records);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Quillary.mdb");
    if (!QFile::exists(path)) {
        QElapsedTimer timer;
        timer.start();
        buildDatabase(path, records);
        std::printf("built %s (%d works, %d submissions, %d publishers) in %.0f ms\n", qPrintable(path), records,
                    records, kPublishers, timer.nsecsElapsed() / 1e6);
    }
    const QString iniPath = folder + QStringLiteral("/QUILLARY.INI");
    QFile ini(iniPath);
    if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ini.write("[Initialisation]\r\nMode=Work\r\n[Work-SQL]\r\n1=All Works,\r\nDefault=1\r\n"
                  "[Submission-SQL]\r\n1=All Submissions,\r\nDefault=1\r\n");
    ini.close();

    std::vector<ViewFigures> views = {{View::Work}, {View::Publisher}, {View::Submission}};
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    for (ViewFigures& v : views) {
        if (!shell.isEmpty())
            v.shell = sqliteShellMs(shell, path, v.view);
    }

    // Start-up: the program started as a process until its first filled grid is shown;
    // its desktop folders (backups) kept inside the bench folder.
    const std::string home = (folder + QStringLiteral("/home")).toStdString();
    const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + home + "/config",
                                          "XDG_DATA_HOME=" + home + "/data", "XDG_CACHE_HOME=" + home + "/cache",
                                          "XDG_STATE_HOME=" + home + "/state"};
    const std::vector<std::string> program = {QUILLARY_PROGRAM, "--config", iniPath.toStdString(), "--database",
                                              path.toStdString(), "--exit-after-first-fill"};
    runProcess(program, env, false);  // the day's start-up backup is made once, not timed
    std::vector<double> starts;
    double programPeak = 0;
    for (int run = 0; run < kRuns; ++run) {
        const ProcessRun r = runProcess(program, env, true);
        if (r.status != 0 || r.firstLineMs < 0) {
            std::fprintf(stderr, "the program did not start (exit %d)\n", r.status);
            return 2;
        }
        // Until the program says its filled grid is painted; its own ending is not start-up.
        starts.push_back(r.firstLineMs);
        programPeak = std::max(programPeak, r.peakMb);
    }
    const double startup = median(starts);

    auto* window = new MainWindow(Desktop{prompts, links}, clock, folder);
    if (!window->load()) {
        std::fprintf(stderr, "the window could not load the database\n");
        return 2;
    }
    auto* grid = window->findChild<GridView*>(QStringLiteral("grid"));
    // The engine and the fill take turns, so that a load on the machine weighs on both.
    Engine engine(path);
    double findMiss = 0;
    for (ViewFigures& v : views) {
        window->switchView(v.view);
        std::vector<double> engineTimes;
        std::vector<double> fillTimes;
        for (int run = 0; run < kPairedRuns; ++run) {
            engineTimes.push_back(engine.runMs(v.view));
            QElapsedTimer timer;
            timer.start();
            window->fillGrid();
            fillTimes.push_back(timer.nsecsElapsed() / 1e6);
        }
        v.engine = median(engineTimes);
        v.fill = median(fillTimes);
        v.rows = grid->model()->rowCount();
        if (v.view == View::Work) {
            std::vector<double> finds;
            for (int run = 0; run < kRuns; ++run) {
                QElapsedTimer timer;
                timer.start();
                window->findInGrid(MainWindow::FindMode::First, QStringLiteral("no such text anywhere"));
                finds.push_back(timer.nsecsElapsed() / 1e6);
            }
            findMiss = median(finds);
        }
    }
    // The grids' peak, taken before the statistics' own memory can count in it.
    const double listingPeak = peakMegabytes();
    // Every figure of the Statistics window, money included, from the submissions as read.
    double statistics = 0;
    {
        SQLite::Database connection(path.toStdString(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        db::prepareConnection(connection);
        std::vector<double> times;
        size_t figures = 0;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            const QList<SubmissionFact> facts = applyFilter(loadSubmissionFacts(connection), StatisticsFilter{});
            const QList<PublisherFigures> publishers = publisherFigures(facts);
            figures = publishers.size() + workFigures(facts).size() + monthlyCounts(facts).size()
                + acceptancesPerYear(facts).size() + mostUsedPublishers(publishers, 10).size()
                + moneyFigures(facts).years.size() + static_cast<size_t>(datesToCheck(facts));
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        statistics = median(times);
        if (figures == 0)
            std::fprintf(stderr, "no statistics worked out\n");
    }

    // Before the import: its memory is neither the grids' nor the statistics'.
    const double statisticsPeak = peakMegabytes();
    const ImportFigures import = measureImport(folder, path);

    bool allMet = true;
    std::printf("%d works, %d submissions, %d publishers; engine and fill: medians of %d runs taken in "
                "turns; sqlite3: best of %d; start-up: median of %d\n",
                records, records, kPublishers, kPairedRuns, kRuns, kRuns);
    std::printf("%-12s %7s %11s %13s %10s %7s\n", "view", "rows", "engine ms", "sqlite3 mmap", "fill ms", "ratio");
    QJsonObject viewsJson;
    for (const ViewFigures& v : views) {
        const QString shellText = v.shell < 0 ? QStringLiteral("-") : QString::number(v.shell, 'f', 1);
        std::printf("%-12s %7d %11.1f %13s %10.1f %7.2f\n", qPrintable(viewName(v.view)), v.rows, v.engine,
                    qPrintable(shellText), v.fill, v.fill / v.engine);
        QJsonObject o{{QStringLiteral("rows"), v.rows}, {QStringLiteral("engine_ms"), v.engine},
                      {QStringLiteral("fill_ms"), v.fill}};
        if (v.shell >= 0)
            o.insert(QStringLiteral("sqlite3_mmap_ms"), v.shell);
        viewsJson.insert(viewName(v.view), o);
    }
    for (const ViewFigures& v : views) {
        if (v.view == View::Publisher)
            continue;  // 300 rows: too few for a ratio that means anything
        const QString what = QStringLiteral("fill / engine, %1 view").arg(viewName(v.view));
        allMet &= report(qPrintable(what), v.fill / v.engine, "x", 1.3);
    }
    allMet &= report("Find that matches nothing, full Work grid", findMiss, "ms", 20.0);
    allMet &= report("start-up to the first filled grid (process)", startup, "ms",
                     records <= kDefaultRecords ? 120.0 : 400.0);
    allMet &= report("statistics, money included (core)", statistics, "ms", 300.0);
    std::printf("import of %d submissions from CSV: %.1f ms; the engine inserting them: %.1f ms "
                "(medians of %d, in turns)\n", import.rows, import.importMs, import.engineMs, kImportRuns);
    allMet &= report("CSV import / engine inserts", import.importMs / import.engineMs, "x", 3.0);
    allMet &= report("peak memory, this benchmark's grids", listingPeak, "MB", 150.0);
    std::printf("%-44s %10.1f MB\n", "peak memory, with the statistics as well", statisticsPeak);
    std::printf("%-44s %10.1f MB\n", "peak memory, the program at start-up", programPeak);

    if (!jsonPath.isEmpty()) {
        const QJsonObject root{{QStringLiteral("records"), records}, {QStringLiteral("views"), viewsJson},
                               {QStringLiteral("find_miss_ms"), findMiss}, {QStringLiteral("startup_ms"), startup},
                               {QStringLiteral("statistics_ms"), statistics},
                               {QStringLiteral("peak_mb"), listingPeak},
                               {QStringLiteral("statistics_peak_mb"), statisticsPeak},
                               {QStringLiteral("import"), QJsonObject{{QStringLiteral("rows"), import.rows},
                                                                      {QStringLiteral("import_ms"), import.importMs},
                                                                      {QStringLiteral("engine_ms"), import.engineMs}}}};
        QFile out(jsonPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || out.write(QJsonDocument(root).toJson()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(jsonPath));
            return 2;
        }
    }

    window->exitProgram();
    delete window;
    return allMet || reportOnly ? 0 : 1;
}
