#include <QFile>
#include <QStringList>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include "app/modQuillary.h"
#include "data/Database.h"
#include "data/Statements.h"
#include "support/TestEnv.h"

namespace {

QStringList columnsOf(SQLite::Database& database, const char* name)
{
    QStringList names;
    SQLite::Statement query(database, "SELECT name FROM pragma_table_info(?);");
    query.bind(1, name);
    while (query.executeStep())
        names << QString::fromStdString(query.getColumn(0).getString());
    return names;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class DatabaseTest : public QuillaryTest {
protected:
    int addWork(const QString& name, int genreId)
    {
        SQLite::Statement insert(database(),
            "INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES (?, ?, '2020');");
        insert.bind(1, name.toStdString());
        insert.bind(2, genreId);
        insert.exec();
        return int(database().getLastInsertRowid());
    }
    int addPublisher(const QString& name)
    {
        SQLite::Statement insert(database(), "INSERT INTO Publisher (Name, Type_ID) VALUES (?, 1);");
        insert.bind(1, name.toStdString());
        insert.exec();
        return int(database().getLastInsertRowid());
    }
    // date: ISO text, or empty for the stored "no date" value 0.
    void addSubmission(int work, int publisher, const QString& date, int status)
    {
        SQLite::Statement insert(database(),
            "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) "
            "VALUES (?, ?, ?, ?);");
        insert.bind(1, work);
        insert.bind(2, publisher);
        if (date.isEmpty())
            insert.bind(3, 0);
        else
            insert.bind(3, date.toStdString());
        insert.bind(4, status);
        insert.exec();
    }
    // Closes gDatabase and changes the file with a raw connection.
    void alterClosedFile(const std::string& statements)
    {
        createDatabase();
        gDatabase.reset();
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec(statements);
    }
    QString dbPath() const { return path(QStringLiteral("Quillary.mdb")); }
};

} // namespace

TEST_F(DatabaseTest, NewDatabaseHasTablesViewsAndLookupRows)
{
    createDatabase();
    ASSERT_TRUE(gDatabase);
    EXPECT_EQ(queryInt("PRAGMA user_version;"), db::kSchemaVersion);

    EXPECT_EQ(columnsOf(database(), "Work"),
              QStringList({"ID", "Name", "Genre_ID", "Year_Written", "Year_Last_Amended", "Submit?",
                           "Submitted?", "Accepted?", "Published?"}));
    EXPECT_EQ(columnsOf(database(), "Publisher"),
              QStringList({"ID", "Name", "Type_ID", "Guidelines", "Comments", "Address",
                           "Submit_To?", "Submitted_To?", "E-Mail_Address", "Web_Address"}));
    EXPECT_EQ(columnsOf(database(), "Submission"),
              QStringList({"ID", "Work_ID", "Publisher_ID", "Date_Submitted", "Date_Returned",
                           "Status", "Outcome", "Notes"}));
    EXPECT_EQ(columnsOf(database(), "Genre"),
              QStringList({"ID", "Description_Singular", "Description_Plural"}));
    EXPECT_EQ(columnsOf(database(), "Publisher_Type"), QStringList({"ID", "Description"}));
    EXPECT_EQ(columnsOf(database(), "Publisher_Genre"), QStringList({"Publisher_ID", "Genre_ID"}));
    EXPECT_EQ(columnsOf(database(), "Expanded_Work"),
              QStringList({"ID", "Name", "Description_Singular", "Year_Written",
                           "Year_Last_Amended", "Submit?", "Submitted?", "Accepted?", "Published?",
                           "Date_Submitted"}));
    const QStringList publisherView = columnsOf(database(), "Expanded_Publisher");
    EXPECT_EQ(publisherView.mid(0, 7),
              QStringList({"ID", "Name", "Type", "Guidelines", "Comments", "Submit_To?",
                           "Submitted_To?"}));
    EXPECT_TRUE(publisherView.contains("E-Mail_Address"));
    const QStringList submissionView = columnsOf(database(), "Expanded_Submission");
    EXPECT_EQ(submissionView.mid(0, 8),
              QStringList({"ID", "Work", "Publisher", "Date_Submitted", "Date_Returned",
                           "Status_Desc", "Outcome", "Notes"}));

    EXPECT_EQ(queryInt("SELECT Count(*) FROM sqlite_master WHERE type = 'view';"), 3);
    EXPECT_GE(queryInt("SELECT Count(*) FROM Genre;"), 8);
    EXPECT_GE(queryInt("SELECT Count(*) FROM Publisher_Type;"), 6);
    EXPECT_EQ(queryText("SELECT Description_Plural FROM Genre WHERE Description_Singular = 'Short Story';"),
              QStringLiteral("Short Stories"));
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Genre WHERE Description_Singular = '' "
                       "OR Description_Plural = '';"), 0);
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Publisher_Type WHERE Description = 'Magazine';"), 1);

    // Publisher_Genre holds a pair once only; IDs are never reused.
    exec("INSERT INTO Publisher_Genre VALUES (1, 2);");
    EXPECT_THROW(exec("INSERT INTO Publisher_Genre VALUES (1, 2);"), SQLite::Exception);
    const int first = addWork("A", 1);
    exec(sql::deleteRecord("Work", first));
    EXPECT_GT(addWork("B", 1), first);

    QString error;
    EXPECT_TRUE(db::validateSchema(database(), &error)) << error.toStdString();
}

TEST_F(DatabaseTest, ExpandedWorkGivesOneRowPerWorkWithItsOutstandingDate)
{
    createDatabase();
    const int none = addWork("No Submissions", 1);
    const int two = addWork("Two Outstanding", 2);
    const int undated = addWork("Undated", 1);
    const int returned = addWork("Only Returned", 1);
    const int orphan = addWork("Lost Genre", 9999);
    const int pub = addPublisher("Granta");
    addSubmission(two, pub, "2024-01-15", 0);
    addSubmission(two, pub, "2024-03-02", 0);
    addSubmission(two, pub, "2025-01-01", 1);  // returned: not outstanding
    addSubmission(undated, pub, QString(), 0);
    addSubmission(returned, pub, "2023-05-05", 2);

    EXPECT_EQ(queryInt("SELECT Count(*) FROM Expanded_Work;"), 5);
    const auto dateOf = [&](int id) {
        return queryText(QStringLiteral("SELECT Coalesce(Date_Submitted, 'NULL') FROM Expanded_Work "
                                        "WHERE ID = %1;").arg(id));
    };
    EXPECT_EQ(dateOf(none), QStringLiteral("NULL"));
    EXPECT_EQ(dateOf(two), QStringLiteral("2024-03-02"));
    EXPECT_EQ(dateOf(undated), QStringLiteral("NULL"));
    EXPECT_EQ(dateOf(returned), QStringLiteral("NULL"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Coalesce(Description_Singular, 'NULL') FROM "
                                       "Expanded_Work WHERE ID = %1;").arg(orphan)),
              QStringLiteral("NULL"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Description_Singular FROM Expanded_Work WHERE ID = %1;")
                            .arg(two)),
              queryText("SELECT Description_Singular FROM Genre WHERE ID = 2;"));

    // The program's own fill statement, with a saved condition in the program's dialect.
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 1 WHERE ID IN (%1, %2);").arg(two).arg(orphan));
    EXPECT_EQ(queryInt("SELECT Count(*) FROM (" + sql::kFillWork + " WHERE [Submit?] = TRUE);"), 2);
    EXPECT_EQ(queryText(sql::kFillWork + " WHERE Name LIKE 'two*'" + sql::kOrderByName),
              QString::number(two));
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Expanded_Work WHERE Name LIKE '*o*';"), 4);
    EXPECT_EQ(queryText(sql::kFillWork + " WHERE [Date_Submitted] LIKE '2024-##-##'"
                        + sql::kOrderByName),
              QString::number(two));
    // Ordered by name without regard to case.
    addWork("apple", 1);
    EXPECT_EQ(queryText("SELECT Name FROM (" + sql::kFillWork + sql::kOrderByName.chopped(1) + ");"),
              QStringLiteral("apple"));
}

TEST_F(DatabaseTest, ExpandedSubmissionAndPublisherKeepRowsWhoseLinksAreGone)
{
    createDatabase();
    const int work = addWork("Gone", 1);
    const int pub = addPublisher("Ploughshares");
    addSubmission(work, pub, "2024-02-02", 3);
    exec(sql::deleteRecord("Work", work));

    EXPECT_EQ(queryInt("SELECT Count(*) FROM Expanded_Submission;"), 1);
    EXPECT_EQ(queryText("SELECT Coalesce(Work, 'NULL') || '|' || Publisher || '|' || Status_Desc "
                        "|| '|' || Date_Submitted FROM Expanded_Submission;"),
              QStringLiteral("NULL|Ploughshares|Published|2024-02-02"));

    exec("UPDATE Submission SET Status = 7;");
    EXPECT_EQ(queryText("SELECT Status_Desc FROM Expanded_Submission;"), QString());
    exec("UPDATE Submission SET Status = 1;");
    EXPECT_EQ(queryText("SELECT Status_Desc FROM Expanded_Submission;"), QStringLiteral("Rejected"));

    exec("UPDATE Publisher SET \"E-Mail_Address\" = 'ed@example.org', Type_ID = 4242;");
    EXPECT_EQ(queryText("SELECT [E-Mail_Address] || '|' || Coalesce(Type, 'NULL') "
                        "FROM Expanded_Publisher;"),
              QStringLiteral("ed@example.org|NULL"));
}

TEST_F(DatabaseTest, LikeFunctionInSql)
{
    createDatabase();
    EXPECT_EQ(queryInt("SELECT 'école' LIKE 'ÉCOLE';"), 1);
    EXPECT_EQ(queryInt("SELECT 'The Raven' LIKE 'the*';"), 1);
    EXPECT_EQ(queryInt("SELECT 'The Raven' LIKE '[!t]*';"), 0);
    EXPECT_EQ(queryInt("SELECT 1999 LIKE '19##';"), 1);
    EXPECT_EQ(queryInt("SELECT '50%' LIKE '50!%' ESCAPE '!';"), 1);
    EXPECT_EQ(queryInt("SELECT '500' LIKE '50!%' ESCAPE '!';"), 0);
    EXPECT_EQ(queryInt("SELECT '' LIKE '';"), 1);
    EXPECT_EQ(queryText("SELECT Coalesce(NULL LIKE 'a', 'NULL');"), QStringLiteral("NULL"));
    EXPECT_EQ(queryText("SELECT Coalesce('a' LIKE NULL, 'NULL');"), QStringLiteral("NULL"));
    EXPECT_EQ(queryText("SELECT Coalesce('a' LIKE 'a' ESCAPE NULL, 'NULL');"), QStringLiteral("NULL"));
    EXPECT_THROW(queryInt("SELECT 'a' LIKE 'a' ESCAPE 'xy';"), SQLite::Exception);
    EXPECT_EQ(queryInt("SELECT 'abc' NOT LIKE 'a?c';"), 0);
}

TEST_F(DatabaseTest, OpenExistingAcceptsOwnDatabaseAndPreparesIt)
{
    createDatabase();
    addWork("Kept", 1);
    gDatabase.reset();

    QString error;
    auto opened = db::openExisting(dbPath(), &error);
    ASSERT_TRUE(opened) << error.toStdString();
    SQLite::Statement query(*opened, "SELECT Count(*) FROM Work WHERE Name LIKE 'KEP?';");
    ASSERT_TRUE(query.executeStep());
    EXPECT_EQ(query.getColumn(0).getInt(), 1);
}

TEST_F(DatabaseTest, OpenExistingRefusesForeignFilesWithoutTouchingThem)
{
    QString error;
    const QString missing = path("missing.mdb");
    EXPECT_FALSE(db::openExisting(missing, &error));
    EXPECT_TRUE(error.contains("does not exist"));
    EXPECT_FALSE(QFile::exists(missing));

    // Not a database at all: the engine's own text is reported.
    const QString text = path("notes.mdb");
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes += "These are a writer's notes, not a database. ";
    writeFile(text, bytes);
    error.clear();
    EXPECT_FALSE(db::openExisting(text, &error));
    EXPECT_TRUE(error.contains("file is not a database")) << error.toStdString();
    EXPECT_TRUE(error.contains(text));
    EXPECT_EQ(readFile(text), bytes);

    // The engine takes an empty file for an empty database; it is still not ours.
    const QString empty = path("empty.mdb");
    writeFile(empty, QByteArray());
    error.clear();
    EXPECT_FALSE(db::openExisting(empty, &error));
    EXPECT_TRUE(error.contains("not a Quillary database")) << error.toStdString();
    EXPECT_EQ(QFile(empty).size(), 0);

    // Some other program's database.
    const QString other = path("other.db");
    {
        SQLite::Database raw(other.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        raw.exec("CREATE TABLE Work (ID INTEGER PRIMARY KEY);");
    }
    const QByteArray otherBytes = readFile(other);
    error.clear();
    EXPECT_FALSE(db::openExisting(other, &error));
    EXPECT_TRUE(error.contains("not a Quillary database")) << error.toStdString();
    EXPECT_EQ(readFile(other), otherBytes);
}

TEST_F(DatabaseTest, OpenExistingNamesWhatIsMissing)
{
    alterClosedFile("DROP VIEW Expanded_Publisher;");
    const QByteArray bytes = readFile(dbPath());
    QString error;
    EXPECT_FALSE(db::openExisting(dbPath(), &error));
    EXPECT_TRUE(error.contains("view Expanded_Publisher")) << error.toStdString();
    EXPECT_FALSE(error.contains("Expanded_Work"));
    EXPECT_EQ(readFile(dbPath()), bytes);
}

TEST_F(DatabaseTest, OpenExistingNamesMissingColumnsAndBrokenViews)
{
    alterClosedFile("DROP VIEW Expanded_Publisher;"
                    "CREATE VIEW Expanded_Publisher AS SELECT ID, Name FROM Publisher;"
                    "DROP VIEW Expanded_Submission;"
                    "CREATE VIEW Expanded_Submission AS SELECT * FROM Submission;"
                    "DROP TABLE Publisher_Type;");
    QString error;
    EXPECT_FALSE(db::openExisting(dbPath(), &error));
    EXPECT_TRUE(error.contains("column Expanded_Publisher.\"Type\"")) << error.toStdString();
    EXPECT_TRUE(error.contains("column Expanded_Publisher.\"Submit_To?\""));
    EXPECT_TRUE(error.contains("column Expanded_Submission.\"Status_Desc\""));
    EXPECT_TRUE(error.contains("table Publisher_Type"));
}

TEST_F(DatabaseTest, OpenExistingRefusesNewerSchema)
{
    alterClosedFile("PRAGMA user_version = " + std::to_string(db::kSchemaVersion + 1) + ";");
    const QByteArray bytes = readFile(dbPath());
    QString error;
    EXPECT_FALSE(db::openExisting(dbPath(), &error));
    EXPECT_TRUE(error.contains("newer version")) << error.toStdString();
    EXPECT_EQ(readFile(dbPath()), bytes);
}

TEST_F(DatabaseTest, CreateNewFailsCleanly)
{
    QString error;
    const QString nowhere = path("no/such/folder/Quillary.mdb");
    EXPECT_FALSE(db::createNew(nowhere, &error));
    EXPECT_TRUE(error.contains("unable to open database file")) << error.toStdString();
    EXPECT_TRUE(error.contains(nowhere));
    EXPECT_FALSE(QFile::exists(path("no")));

    // An existing file is never built over (a failure would remove it).
    const QString existing = path("existing.mdb");
    writeFile(existing, "keep me");
    error.clear();
    EXPECT_FALSE(db::createNew(existing, &error));
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_EQ(readFile(existing), QByteArray("keep me"));
}
