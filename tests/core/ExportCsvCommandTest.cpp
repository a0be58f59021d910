// quillary --export-csv: what a script gets, and what it is told when something is wrong.

#include <QFile>

#include "support/InsightData.h"
#include "support/CoreTestEnv.h"

class ExportCsvCommandTest : public CommandTest {
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
    UkLocale locale;
};

TEST_F(ExportCsvCommandTest, WritesTheListingAsTheGridWouldShowIt)
{
    EXPECT_EQ(run({"--export-csv", "submissions", path("x.csv"), "--selection", "brass only"}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("6")) << out.toStdString();
    // A deleted work's name is empty and sorts first; a note with quotes, a comma and a line
    // break is quoted.
    const char* header = "Work,Publisher,Submitted,Returned,Status,Outcome,Notes,Fee,Payment\r\n";
    const std::string csv = readFile(path("x.csv")).toStdString();
    EXPECT_EQ(csv.substr(0, csv.find("Hidden Ticket,Brass Lantern,01/03")),
              std::string(header) + ",Brass Lantern,01/04/2024,21/05/2024,Published,,,,\r\n"
                  "Hidden Ticket,Brass Lantern,10/01/2024,09/02/2024,Rejected,,\"said \"\"no\"\", kindly\nsee letter\",,\r\n");
    // Today is 1 January 2025: Brass Lantern's 5 (sent 1 May 2024) is overdue, Gone Press's 12 not yet.
    EXPECT_EQ(run({"--export-csv", "submissions", path("x.csv"), "--selection", "Overdue Submissions"}), 0);
    EXPECT_EQ(readFile(path("x.csv")).toStdString(), std::string(header) + "Salt Road,Brass Lantern,01/05/2024,,Unreturned,,,,\r\n");
}

TEST_F(ExportCsvCommandTest, BadSelectionsAndFilesAreToldAndFail)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{"--selection", "Nothing Like It"}, "no saved selection \"Nothing Like It\""},
        {{"--selection", "By Work"}, "asks for a value"},
        {{"--selection", "Broken"}, "no such column"},
    };
    for (const auto& [arguments, told] : cases) {
        EXPECT_EQ(run(QStringList{"--export-csv", "submissions", path("x.csv")} + arguments), 1);
        EXPECT_TRUE(err.contains(QLatin1String(told))) << err.toStdString();
        EXPECT_FALSE(QFile::exists(path("x.csv")));
    }
    EXPECT_EQ(run({"--export-csv", "works", path("no/such/folder/x.csv")}), 1);
    EXPECT_TRUE(err.contains("could not be written")) << err.toStdString();
    session().closeDatabase();
    QFile::remove(path("Quillary.mdb"));
    EXPECT_EQ(run({"--export-csv", "works", path("x.csv")}), 1);
    EXPECT_TRUE(err.contains("does not exist")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("Quillary.mdb")));  // never created by a script
}
