// Measures the grid fill, Find and start-up against a database of 32,767 works and
// 32,767 submissions, offscreen. Run: build/bench/quillary_bench [folder]
// Prints each figure, its target and whether it was met; exits 1 when one was missed.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>
#include <vector>

#include "gui/StatusMessage.h"
#include "core/Clock.h"
#include "gui/GridView.h"
#include "core/Database.h"
#include "core/Listing.h"
#include "gui/MainWindow.h"
#include "gui/Prompts.h"

namespace {

constexpr int kRecords = 32767;
constexpr int kPublishers = 300;
constexpr int kRuns = 5;

// Answers every question silently so nothing waits for a person.
class QuietPrompts : public Prompts {
public:
    Answer message(QWidget*, const QString&, Buttons b, Icon, Answer) override
    {
        return b == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    QString input(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

class QuietLinks : public Links {
public:
    bool open(const QString&) override { return false; }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void buildDatabase(const QString& path)
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
                                            "Status, Outcome, Notes) VALUES (?, ?, ?, ?, ? % 4, 'Outcome text', 'Notes')");
    for (int i = 1; i <= kRecords; ++i) {
        submission.bind(1, 1 + (i * 31) % kRecords);
        submission.bind(2, 1 + i % kPublishers);
        submission.bind(3, QDate(2000, 1, 1).addDays(i % 9000).toString(Qt::ISODate).toStdString());
        if (i % 4 == 0)
            submission.bind(4, 0);
        else
            submission.bind(4, QDate(2000, 3, 1).addDays(i % 9000).toString(Qt::ISODate).toStdString());
        submission.bind(5, i);
        submission.exec();
        submission.reset();
    }
    transaction.commit();
}

// The engine's own time to step through a fill statement and read every column.
double engineMs(const QString& path, View view)
{
    SQLite::Database database(path.toStdString(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);  // as the program opens it
    db::prepareConnection(database);
    const QByteArray text = FillStatement(view, QString()).toUtf8();
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(database.getHandle(), text.constData(), -1, &statement, nullptr);
        const int columns = sqlite3_column_count(statement);
        size_t bytes = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                sqlite3_column_text(statement, c);
                bytes += static_cast<size_t>(sqlite3_column_bytes(statement, c));
            }
        }
        sqlite3_finalize(statement);
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (bytes == 0)
            std::fprintf(stderr, "no rows read\n");
    }
    return median(times);
}

bool report(const char* what, double value, const char* unit, double target)
{
    const bool met = value <= target;
    std::printf("%-44s %10.1f %-3s (target <= %.1f) %s\n", what, value, unit, target, met ? "met" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietPrompts prompts;
    QuietLinks links;
    SystemClock clock;

    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Quillary.mdb");
    if (!QFile::exists(path)) {
        QElapsedTimer timer;
        timer.start();
        buildDatabase(path);
        std::printf("built %s (%d works, %d submissions, %d publishers) in %.0f ms\n", qPrintable(path), kRecords,
                    kRecords, kPublishers, timer.nsecsElapsed() / 1e6);
    }
    QFile ini(folder + QStringLiteral("/QUILLARY.INI"));
    if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ini.write("[Initialisation]\r\nMode=Work\r\n[Work-SQL]\r\n1=All Works,\r\nDefault=1\r\n"
                  "[Submission-SQL]\r\n1=All Submissions,\r\nDefault=1\r\n");
    ini.close();

    bool allMet = true;
    const double workEngine = engineMs(path, View::Work);
    const double submissionEngine = engineMs(path, View::Submission);

    // Start-up: from creating the window to the first filled grid.
    QElapsedTimer startTimer;
    startTimer.start();
    auto* window = new MainWindow(Desktop{prompts, links}, clock, folder);
    if (!window->load()) {
        std::fprintf(stderr, "start-up failed\n");
        return 2;
    }
    const double startup = startTimer.nsecsElapsed() / 1e6;

    auto timeFill = [&] {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            window->fillGrid();
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        return median(times);
    };
    const double workFill = timeFill();
    std::vector<double> finds;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        window->findInGrid(MainWindow::FindMode::First, QStringLiteral("no such text anywhere"));
        finds.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double findMiss = median(finds);
    const int workRows = window->findChild<GridView*>(QStringLiteral("grid"))->rows() - 1;
    window->switchView(View::Submission);
    const double submissionFill = timeFill();
    const int submissionRows = window->findChild<GridView*>(QStringLiteral("grid"))->rows() - 1;

    std::printf("Work view: %d rows listed; Submission view: %d rows listed\n", workRows, submissionRows);
    std::printf("%-44s %10.1f ms\n", "engine, Work fill statement", workEngine);
    std::printf("%-44s %10.1f ms\n", "fillGrid, Work view", workFill);
    allMet &= report("fillGrid / engine, Work view", workFill / workEngine, "x", 2.0);
    std::printf("%-44s %10.1f ms\n", "engine, Submission fill statement", submissionEngine);
    std::printf("%-44s %10.1f ms\n", "fillGrid, Submission view", submissionFill);
    allMet &= report("fillGrid / engine, Submission view", submissionFill / submissionEngine, "x", 2.0);
    allMet &= report("findInGrid miss over the full Work grid", findMiss, "ms", 30.0);
    allMet &= report("start-up to a filled grid of 32,767 works", startup, "ms", 1000.0);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    allMet &= report("peak memory", usage.ru_maxrss / 1024.0, "MB", 150.0);

    window->onExitClicked();
    delete window;
    return allMet ? 0 : 1;
}
