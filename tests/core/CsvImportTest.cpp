// Importing another program's CSV, all or nothing, and undoing it.

#include <QDir>
#include <QLocale>
#include <SQLiteCpp/Database.h>

#include "core/Csv.h"
#include "core/CsvImport.h"
#include "core/Database.h"
#include "core/Listing.h"
#include "core/ListingColumns.h"
#include "support/CoreTestEnv.h"

namespace {

const QLocale kUk(QLocale::English, QLocale::UnitedKingdom);

// A view's listing as the CSV export writes it.
QByteArray exportView(SQLite::Database& database, View view)
{
    const FillResult rows = readFillRows(database, view, fillStatement(view, QString()));
    return csvDocument(listingHeader(view), listingRows(rows, view));
}

} // namespace

class CsvImportTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
    }

    ImportOptions options(ImportKind kind) const
    {
        ImportOptions o;
        o.kind = kind;
        o.backupFolder = path(QStringLiteral("Backups"));
        o.databasePath = path(QStringLiteral("Quillary.mdb"));
        o.importedAt = QDateTime(QDate(2026, 12, 7), QTime(10, 0));
        o.fileName = QStringLiteral("history.csv");
        o.locale = kUk;
        return o;
    }
    ImportReport import(const QByteArray& csv, const ImportOptions& o)
    {
        return importCsv(database(), readCsvImport(csv), o);
    }
    ImportReport import(ImportKind kind, const QByteArray& csv) { return import(csv, options(kind)); }
    QString submissions()
    {
        return queryText(QStringLiteral(
            "SELECT group_concat(r, char(10)) FROM (SELECT w.Name || '|' || p.Name || '|' || s.Date_Submitted || '|' || "
            "s.Date_Returned || '|' || s.Status || '|' || ifnull(s.Outcome, '') AS r FROM Submission s "
            "JOIN Work w ON w.ID = s.Work_ID JOIN Publisher p ON p.ID = s.Publisher_ID ORDER BY s.ID)"));
    }
    UkLocale locale;
};

TEST_F(CsvImportTest, ReadsEncodingsSeparatorsAndQuotingAndRefusesBrokenFiles)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QString encoding;
        QChar separator;
        QList<QStringList> rows;  // the header first
        int errorLine;            // -1: read
    };
    const QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(u"A;B\r\nÉ;x\r\n"), 20);
    const Case cases[] = {
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFTitle,Market\r\nCaf\xC3\xA9,Zine\r\n", "UTF-8 with byte-order mark",
         ',', {{"Title", "Market"}, {"Café", "Zine"}}, -1},
        {"UTF-16 with a byte-order mark", utf16, "UTF-16LE", ';', {{"A", "B"}, {"É", "x"}}, -1},
        {"Windows-1252", "T\tM\n\x93Noir\x94\tZine\n", "Windows-1252", '\t', {{"T", "M"}, {"“Noir”", "Zine"}}, -1},
        {"quoted separators, quotes and line breaks; fewer fields",
         "a,b,c\n\"x, y\",\"say \"\"hi\"\"\",\"two\r\nlines\"\nonly\n", "UTF-8", ',',
         {{"a", "b", "c"}, {"x, y", "say \"hi\"", "two\r\nlines"}, {"only", "", ""}}, -1},
        {"binary", QByteArray("a,b\n1,\0\x01\x02", 10), "UTF-8", ',', {}, 2},
        {"unclosed quote names its line", "a,b\n1,2\n3,\"open\n4,5\n", "UTF-8", ',', {}, 3},
        {"more fields than the header", "a,b\n1,2\n\n1,2,3\n", "UTF-8", ',', {}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CsvImportTable table = readCsvImport(c.bytes);
        EXPECT_EQ(table.encoding, c.encoding);
        if (c.errorLine >= 0) {
            EXPECT_FALSE(table.ok);
            EXPECT_TRUE(table.error.contains(QStringLiteral("Line %1").arg(c.errorLine))) << table.error.toStdString();
            continue;
        }
        ASSERT_TRUE(table.ok) << table.error.toStdString();
        EXPECT_EQ(table.separator, c.separator);
        EXPECT_EQ(table.header, c.rows.first());
        ASSERT_EQ(table.rows.size(), c.rows.size() - 1);
        for (qsizetype r = 0; r < table.rows.size(); ++r)
            EXPECT_EQ(table.rows[r].fields, c.rows[r + 1]);
    }
    // Too large a file is refused before it is read.
    const QString big = path(QStringLiteral("big.csv"));
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaxImportFileBytes + 1));
    file.close();
    EXPECT_TRUE(readCsvImportFile(big).error.contains(QStringLiteral("50 MB")));
}

TEST_F(CsvImportTest, ReadsDateFormsAndFindsTheirOrder)
{
    const ImportDateParser dmy(DateOrder::DayMonthYear, kUk);
    const ImportDateParser mdy(DateOrder::MonthDayYear, kUk);
    struct Case {
        const char* text;
        const ImportDateParser& parser;
        QDate expected;  // invalid: refused
    };
    const Case cases[] = {
        {"2024-03-05 14:30:00", mdy, {2024, 3, 5}}, {"05.03.2024", dmy, {2024, 3, 5}},
        {"March 5, 2024", dmy, {2024, 3, 5}},       {"5-Sept-2024", dmy, {2024, 9, 5}},
        {"31/02/2024", dmy, {}},                    {"05/03/24", dmy, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ImportDateParser::Result result = c.parser.parse(QString::fromLatin1(c.text));
        EXPECT_EQ(result.date, c.expected);
        EXPECT_EQ(result.error.isEmpty(), c.expected.isValid());
    }
    EXPECT_TRUE(dmy.parse(QStringLiteral("  ")).empty);

    const DateOrderFinding dayFirst = detectDateOrder({{2, "01/02/2024"}, {3, "25/02/2024"}}, QLocale::c());
    EXPECT_TRUE(dayFirst.order == DateOrder::DayMonthYear && !dayFirst.fromLocale);
    const DateOrderFinding undecided = detectDateOrder({{2, "01/02/2024"}, {3, "2024-12-30"}},
                                                       QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(undecided.order == DateOrder::MonthDayYear && undecided.fromLocale);
    const DateOrderFinding both = detectDateOrder({{2, "25/02/2024"}, {7, "02/25/2024"}}, kUk);
    EXPECT_FALSE(both.ok);
    EXPECT_TRUE(both.error.contains(QStringLiteral("line 2")) && both.error.contains(QStringLiteral("line 7")));

    // In a file: the order found is applied, and a bad date refuses its row.
    const ImportReport report = import(ImportKind::Submissions,
        "Title,Market,Date Sent,Date Returned,Result\nRain,Zine,3/14/2024,4/1/2024,Declined\n"
        "Sun,Zine,2/30/2024,,\n");
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.dateOrder, DateOrder::MonthDayYear);
    EXPECT_EQ(report.refusedRows.size() == 1 ? report.refusedRows[0].line : 0, 3);
}

TEST_F(CsvImportTest, StatusWordsMapToTheFourStatusesKeepingTheWordAsOutcome)
{
    const QByteArray csv = "Story;Venue;Sent;Responded;Decision;Outcome\n"
                           "A;Z;2024-01-01;;Pending;\n"
                           "B;Z;2024-01-02;2024-02-01;\"Rejection, Form\";\n"
                           "C;Z;2024-01-03;2024-02-01;Withdrawn;changed my mind\n"
                           "F;Z;2024-01-06;2024-02-01;Shortlisted;\n"
                           "G;Z;2024-01-07;2024-02-01;;\n";
    const ImportReport refused = import(ImportKind::Submissions, csv);
    EXPECT_EQ(refused.unknownStatusWords, QStringList{QStringLiteral("Shortlisted")});
    ASSERT_EQ(refused.refusedRows.size(), 2);
    EXPECT_TRUE(refused.refusedRows[1].reason.contains(QStringLiteral("returned but no status")));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Submission;")), 0);

    ImportOptions mapped = options(ImportKind::Submissions);
    QString word;
    SubmissionStatus status = SubmissionStatus::Unreturned;
    ASSERT_TRUE(parseStatusMapping(QStringLiteral("shortlisted=Accepted"), &word, &status));
    mapped.statusWords.insert(word, status);
    const ImportReport report = import(csv.left(csv.lastIndexOf("G;")), mapped);
    ASSERT_TRUE(report.ok) << report.error.toStdString();
    EXPECT_TRUE(report.statusWords.last().mappedByUser);
    EXPECT_EQ(submissions(), QStringLiteral("A|Z|2024-01-01|0|0|Pending\n"
                                            "B|Z|2024-01-02|2024-02-01|1|Rejection, Form\n"
                                            "C|Z|2024-01-03|2024-02-01|1|changed my mind\n"
                                            "F|Z|2024-01-06|2024-02-01|2|Shortlisted"));
}

TEST_F(CsvImportTest, AllOrNothingDryRunAndASecondImportAddNothing)
{
    const QByteArray good = "Title,Market,Date Sent,Result\nRain,Zine,2024-01-01,Rejected\nrain,zine,2024-01-01,\n"
                            "Sun,Other Zine,2024-02-01,Pending\n";
    database().exec("INSERT INTO Work (Name) VALUES ('Before');");
    const QString file = path(QStringLiteral("Quillary.mdb"));
    const QByteArray before = readFile(file);

    // One bad row: every refused row listed, the file unchanged, no copy made.
    const ImportReport bad = import(ImportKind::Submissions, good + ",Zine,2024-03-01,\nX,Zine,soon,\n");
    EXPECT_FALSE(bad.ok);
    ASSERT_EQ(bad.refusedRows.size(), 2);
    EXPECT_EQ(bad.refusedRows[1].line, 6);
    EXPECT_EQ(readFile(file), before);
    EXPECT_FALSE(QDir(path(QStringLiteral("Backups"))).exists());

    ImportOptions dry = options(ImportKind::Submissions);
    dry.dryRun = true;
    EXPECT_TRUE(import(good, dry).ok);
    EXPECT_EQ(readFile(file), before);

    const ImportReport first = import(ImportKind::Submissions, good);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.submissions.added, 2);
    EXPECT_EQ(first.submissions.alreadyThere, 1);  // the same row in other letter case
    EXPECT_TRUE(first.backupFile.endsWith(QStringLiteral("Backups/Quillary-2026-12-07-before-import-1.mdb")));
    SQLite::Database backup(first.backupFile.toStdString(), SQLite::OPEN_READONLY);
    EXPECT_EQ(backup.execAndGet("SELECT count(*) || '/' || (SELECT count(*) FROM Submission) FROM Work;").getString(),
              "1/0");

    // No copy and no log entry for an import that adds nothing.
    const ImportReport second = import(ImportKind::Submissions, good);
    EXPECT_TRUE(second.ok && !second.written && second.backupFile.isEmpty());
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Import_Log;")), 1);
}

TEST_F(CsvImportTest, FlagsFollowTheImportedSubmissions)
{
    database().exec("INSERT INTO Work (Name, \"Submit?\", \"Submitted?\") VALUES ('Old', 1, 1);"
                    "INSERT INTO Publisher (Name, \"Submit_To?\") VALUES ('Zine', 1);");
    ASSERT_TRUE(import(ImportKind::Submissions, "Work,Publisher,Submitted,Returned,Status\n"
                                                "Old,zine,2024-01-01,2024-02-01,Rejected\n"
                                                "New,Zine,2024-01-01,,\n"
                                                "Won,Mag,2024-01-01,2024-02-01,Published\n")
                    .ok);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name || \"Submit?\" || \"Submitted?\" || \"Accepted?\" || "
                                       "\"Published?\" || ifnull(Genre_ID, '-'), ' ') FROM Work;")),
              QStringLiteral("Old1000- New01001 Won00111"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name || \"Submit_To?\" || \"Submitted_To?\", ' ') "
                                       "FROM Publisher;")),
              QStringLiteral("Zine11 Mag01"));
    // A works import stores the flags the file gives; a missing required column refuses it.
    ASSERT_TRUE(import(ImportKind::Works, "Title,Genre,Accepted?\nFresh,Sonnet,Yes\n").ok);
    EXPECT_EQ(queryText(QStringLiteral("SELECT \"Accepted?\" || g.Description_Singular FROM Work w "
                                       "JOIN Genre g ON g.ID = w.Genre_ID WHERE Name = 'Fresh';")),
              QStringLiteral("1Sonnet"));
    EXPECT_FALSE(import(ImportKind::Publishers, "Type,Web\nMagazine,x\n").ok);
}

TEST_F(CsvImportTest, UndoRemovesExactlyWhatTheLastImportAddedUnlessAmended)
{
    database().exec("INSERT INTO Work (Name) VALUES ('Old');");
    const QString before = queryText(QStringLiteral("SELECT group_concat(Name || \"Submitted?\") FROM Work;"));
    ASSERT_TRUE(import(ImportKind::Publishers, "Market,Type\nZine,Podcast\n").ok);
    ASSERT_TRUE(import(ImportKind::Submissions, "Title,Market,Sent\nOld,Zine,2024-01-01\nNew,Zine,2024-01-02\n"
                                                "New,Other,2024-01-03\n").ok);

    // An added record amended since: refused, nothing removed.
    database().exec("UPDATE Submission SET Notes = 'mine' WHERE ID = 2;");
    EXPECT_TRUE(undoLastImport(database()).error.contains(QStringLiteral("changed since")));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Submission;")), 3);
    database().exec("UPDATE Submission SET Notes = '' WHERE ID = 2;");

    const UndoReport undone = undoLastImport(database());
    ASSERT_TRUE(undone.ok) << undone.error.toStdString();
    EXPECT_EQ(QList<int>({undone.submissions, undone.works, undone.publishers}), QList<int>({3, 1, 1}));
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name || \"Submitted?\") FROM Work;")), before);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name) FROM Publisher;")), QStringLiteral("Zine"));

    // Then the publishers import; its type goes with it, a record still used stays.
    database().exec("INSERT INTO Submission (Work_ID, Publisher_ID) VALUES (1, 1);");
    const UndoReport second = undoLastImport(database());
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.kept, 2);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Publisher_Type WHERE Description = 'Podcast';")), 1);
    EXPECT_FALSE(lastImport(database()));
    EXPECT_FALSE(undoLastImport(database()).ok);
}

TEST_F(CsvImportTest, TheProgramsOwnExportReadsBackTheSame)
{
    database().exec(
        "INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", \"Published?\") "
        "VALUES ('Rain, Again', 5, '2019', 1, 1, 0, 0), ('Quote \"Me\"\nBreak', 1, '', 0, 0, 1, 1);"
        "INSERT INTO Publisher (Name, Type_ID, Comments, \"Submit_To?\", \"Submitted_To?\") VALUES "
        "('Zine', 1, '=SUM(A1)', 1, 1), ('Press', NULL, '', 0, 1);"
        "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Outcome, Fee, Payment) "
        "VALUES (1, 1, '2024-03-05', '2024-04-01', 1, 'Form', 350, NULL), (1, 2, '2024-05-06', 0, 0, '', NULL, NULL), "
        "(2, 1, '2023-12-25', '2024-01-02', 3, '', NULL, 123456);");
    QString error;
    auto copy = db::createNew(path(QStringLiteral("Copy.mdb")), &error);
    ASSERT_TRUE(copy) << error.toStdString();
    const std::pair<View, ImportKind> listings[] = {
        {View::Work, ImportKind::Works}, {View::Publisher, ImportKind::Publishers}, {View::Submission, ImportKind::Submissions}};
    for (const auto& [view, kind] : listings) {
        ImportOptions o = options(kind);
        o.databasePath = path(QStringLiteral("Copy.mdb"));
        const ImportReport report = importCsv(*copy, readCsvImport(exportView(database(), view)), o);
        ASSERT_TRUE(report.ok) << report.error.toStdString();
    }
    for (const auto& [view, kind] : listings)
        EXPECT_EQ(exportView(*copy, view).toStdString(), exportView(database(), view).toStdString());
}

TEST_F(CsvImportTest, FeesAndPaymentsAreReadExactlyInTheDatabasesCurrencyOnly)
{
    const QByteArray csv = "Title,Market,Sent,Result,Reading Fee,Amount Paid,Date Paid\n"
                           "Rain,Zine,2024-03-01,Accepted,£3.50,\"1,200.05\",2024-05-02\n"
                           "Rain,Press,2024-03-02,Rejected,GBP 2,,2024-05-03\n"
                           "Snow,Press,2024-03-03,Pending,,0.1,\n";
    ASSERT_TRUE(import(ImportKind::Submissions, csv).ok);
    EXPECT_EQ(queryText("SELECT group_concat(ifnull(Fee, '-') || '/' || ifnull(Payment, '-') || '/' || Date_Paid, ' ') "
                        "FROM Submission"),
              "350/120005/2024-05-02 200/-/0 -/10/0");

    // Another currency, or more decimals than pence, refuses the whole file.
    for (const QByteArray& amount : {QByteArray("$5"), QByteArray("1.005")}) {
        const ImportReport report =
            import(ImportKind::Submissions, "Work,Publisher,Submitted,Fee\nHail,Zine,2024-04-01," + amount + "\n");
        ASSERT_EQ(report.refusedRows.size(), 1) << amount.toStdString();
        EXPECT_TRUE(report.refusedRows[0].reason.startsWith("Fee")) << report.refusedRows[0].reason.toStdString();
    }
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Submission"), 3);

    // Undone exactly: the money is part of what an amendment would change.
    exec("UPDATE Submission SET Fee = 351 WHERE Fee = 350");
    EXPECT_FALSE(undoLastImport(database()).ok);
    exec("UPDATE Submission SET Fee = 350 WHERE Fee = 351");
    EXPECT_TRUE(undoLastImport(database()).ok);
}
