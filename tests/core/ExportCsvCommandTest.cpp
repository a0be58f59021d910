// quillary --export-csv: what a script gets, and what it is told when something is wrong.

#include <QFile>
#include <QTextStream>

#include "core/CommandLine.h"
#include "core/ExportCsvCommand.h"
#include "core/ListingColumns.h"
#include "core/Listing.h"
#include "support/InsightData.h"
#include "support/CoreTestEnv.h"

class ExportCsvCommandTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        clock.date = QDate(2025, 1, 1);
        createDatabase();
        addInsightRecords(database());
        exec("UPDATE Submission SET Notes = 'said \"no\", kindly' || char(10) || 'see letter' WHERE ID = 1;");
        writeIni("[Submission-SQL]\r\n1=All Submissions,\r\n2=Brass Only,Publisher = 'Brass Lantern'\r\n"
                 "3=By Work,Work LIKE '?\?'\r\n4=Broken,NoSuchColumn = 1\r\n"
                 "5=Overdue Submissions,Overdue(Status, Date_Submitted, Date_Returned, Answer_Within_Days)\r\n");
    }
    int run(const QStringList& arguments)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out), errStream(&err);
        // As the program runs it: the one command line, then a session of its own.
        const CommandLine command = parseCommandLine(QStringList{QStringLiteral("quillary")} + arguments, dir());
        if (command.action == CommandLine::Action::Fail) {
            err = command.text;
            return exitcode::kUsage;
        }
        EXPECT_EQ(command.action, CommandLine::Action::ExportCsv);
        Session session(dir(), clock);
        return runExportCsvCommand(session, command, outStream, errStream);
    }
    // The file's records, after exporting the view to it with more arguments.
    QList<QStringList> exported(const char* view, const QStringList& more = {})
    {
        EXPECT_EQ(run(QStringList{"--export-csv", view, path("x.csv")} + more), 0) << err.toStdString();
        const QList<QStringList> csv = readCsv(readFile(path("x.csv")));
        QFile::remove(path("x.csv"));
        return csv;
    }
    QString out, err;
};

TEST_F(ExportCsvCommandTest, WritesTheListingAsTheGridWouldShowIt)
{
    const QList<QStringList> csv = exported("submissions");
    EXPECT_TRUE(out.contains("13")) << out.toStdString();
    // The same cells the main window fills its grid with, row for row.
    const FillResult rows = readFillRows(database(), View::Submission, fillStatement(View::Submission, QString()));
    ASSERT_TRUE(rows.ok);
    ASSERT_EQ(static_cast<size_t>(csv.size()), 1 + rows.ids.size());
    QStringList header;
    for (const ColumnDef& column : viewColumns(View::Submission))
        header << column.header;
    EXPECT_EQ(csv[0], header);
    for (qsizetype r = 0; r < csv.size() - 1; ++r) {
        for (qsizetype c = 0; c < header.size(); ++c)
            EXPECT_EQ(csv[r + 1][c], rows.cells.at(static_cast<size_t>(r * header.size() + c)));
    }
    EXPECT_TRUE(std::any_of(csv.begin(), csv.end(), [](const QStringList& r) { return r.contains("said \"no\", kindly\nsee letter"); }));

    EXPECT_EQ(exported("submissions", {"--selection", "brass only"}).size(), 1 + 6);
    // Today is 1 January 2025: Brass Lantern's 5 (sent 1 May 2024) is overdue, Gone Press's 12 not yet.
    const QList<QStringList> overdue = exported("submissions", {"--selection", "Overdue Submissions"});
    ASSERT_EQ(overdue.size(), 2);
    EXPECT_EQ(overdue[1].mid(0, 2), QStringList({"Salt Road", "Brass Lantern"}));
    EXPECT_EQ(exported("publishers").size(), 1 + 4);  // Gone Press was deleted
    EXPECT_EQ(exported("works").size(), 1 + 2);
}

TEST_F(ExportCsvCommandTest, BadArgumentsSelectionsAndFilesAreToldAndFail)
{
    const std::tuple<QStringList, int, const char*> cases[] = {
        {{"--export-csv"}, 2, "--export-csv"},
        {{"--export-csv", "books", path("x.csv")}, 2, "\"books\" is not a view"},
        {{"--export-csv", "works", path("x.csv"), "extra"}, 2, "Usage"},
        {{"--export-csv", "works", path("x.csv"), "--selection"}, 2, "--selection"},
        {{"--export-csv", "works", path("x.csv"), "--backup", path("y.mdb")}, 2, "together"},
        {{"--export-csv", "submissions", path("x.csv"), "--selection", "Nothing Like It"}, 1,
         "no saved selection \"Nothing Like It\""},
        {{"--export-csv", "submissions", path("x.csv"), "--selection", "By Work"}, 1, "asks for a value"},
        {{"--export-csv", "submissions", path("x.csv"), "--selection", "Broken"}, 1, "no such column"},
        {{"--export-csv", "works", path("no/such/folder/x.csv")}, 1, "could not be written"},
    };
    for (const auto& [arguments, code, told] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(run(arguments), code);
        EXPECT_TRUE(err.contains(QLatin1String(told))) << err.toStdString();
        EXPECT_FALSE(QFile::exists(path("x.csv")));
    }
    session().closeDatabase();
    QFile::remove(path("Quillary.mdb"));
    EXPECT_EQ(run({"--export-csv", "works", path("x.csv")}), 1);
    EXPECT_TRUE(err.contains("does not exist")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("Quillary.mdb")));  // never created by a script
}
