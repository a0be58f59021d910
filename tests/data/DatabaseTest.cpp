#include <QFile>
#include <QStringList>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include "app/modQuillary.h"
#include "data/Database.h"
#include "data/Statements.h"
#include "support/TestEnv.h"

namespace {

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
    QString columns(const QString& table)
    {
        return queryText("SELECT group_concat(name, ',') FROM pragma_table_info('" + table + "');");
    }
    int insert(const QString& statement)
    {
        exec(statement);
        return int(database().getLastInsertRowid());
    }
    int addWork(const QString& name, int genreId)
    {
        return insert(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', %2, '2020');")
                          .arg(name).arg(genreId));
    }
    // date: quoted ISO text, or 0 for the stored "no date" value.
    void addSubmission(int work, int publisher, const QString& date, int status)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) "
                            "VALUES (%1, %2, %3, %4);").arg(work).arg(publisher).arg(date).arg(status));
    }
    // Changes a closed database file with a raw connection and checks it is refused, unchanged.
    void expectRefused(const std::string& statements, const char* reason)
    {
        QFile::remove(dbPath());
        createDatabase();
        gDatabase.reset();
        SQLite::Database(dbPath().toStdString(), SQLite::OPEN_READWRITE).exec(statements);
        const QByteArray bytes = readFile(dbPath());
        QString error;
        EXPECT_FALSE(db::openExisting(dbPath(), &error));
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        EXPECT_EQ(readFile(dbPath()), bytes);
    }
    QString dbPath() const { return path(QStringLiteral("Quillary.mdb")); }
};

} // namespace

TEST_F(DatabaseTest, NewDatabaseHasTablesViewsAndLookupRows)
{
    createDatabase();
    EXPECT_EQ(queryInt("PRAGMA user_version;"), db::kSchemaVersion);
    EXPECT_EQ(columns("Work"), "ID,Name,Genre_ID,Year_Written,Year_Last_Amended,Submit?,Submitted?,Accepted?,Published?");
    EXPECT_EQ(columns("Publisher"), "ID,Name,Type_ID,Guidelines,Comments,Address,Submit_To?,Submitted_To?,"
                                    "E-Mail_Address,Web_Address");
    EXPECT_EQ(columns("Submission"), "ID,Work_ID,Publisher_ID,Date_Submitted,Date_Returned,Status,Outcome,Notes");
    EXPECT_EQ(columns("Genre"), "ID,Description_Singular,Description_Plural");
    EXPECT_EQ(columns("Publisher_Type"), "ID,Description");
    EXPECT_EQ(columns("Publisher_Genre"), "Publisher_ID,Genre_ID");
    EXPECT_EQ(columns("Expanded_Work"), "ID,Name,Description_Singular,Year_Written,Year_Last_Amended,Submit?,"
                                        "Submitted?,Accepted?,Published?,Date_Submitted");
    EXPECT_TRUE(columns("Expanded_Publisher").startsWith("ID,Name,Type,Guidelines,Comments,Submit_To?,Submitted_To?,"));
    EXPECT_TRUE(columns("Expanded_Publisher").contains(",E-Mail_Address"));
    EXPECT_TRUE(columns("Expanded_Submission").startsWith(
        "ID,Work,Publisher,Date_Submitted,Date_Returned,Status_Desc,Outcome,Notes"));
    EXPECT_EQ(queryInt("SELECT Count(*) FROM sqlite_master WHERE type = 'view';"), 3);

    EXPECT_GE(queryInt("SELECT Count(*) FROM Genre;"), 8);
    EXPECT_EQ(queryText("SELECT Description_Plural FROM Genre WHERE Description_Singular = 'Short Story';"),
              "Short Stories");
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Genre WHERE Description_Singular = '' OR Description_Plural = '';"), 0);
    EXPECT_GE(queryInt("SELECT Count(*) FROM Publisher_Type;"), 6);
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Publisher_Type WHERE Description = 'Magazine';"), 1);

    // Publisher_Genre holds a pair once only; IDs are never reused.
    exec("INSERT INTO Publisher_Genre VALUES (1, 2);");
    EXPECT_THROW(exec("INSERT INTO Publisher_Genre VALUES (1, 2);"), SQLite::Exception);
    const int first = addWork("A", 1);
    exec(sql::deleteRecord("Work", first));
    EXPECT_GT(addWork("B", 1), first);
}

TEST_F(DatabaseTest, ExpandedViews)
{
    createDatabase();
    const int none = addWork("No Submissions", 1);
    const int two = addWork("Two Outstanding", 2);
    const int undated = addWork("Undated", 1);
    const int orphan = addWork("Lost Genre", 9999);
    const int pub = insert("INSERT INTO Publisher (Name, Type_ID) VALUES ('Granta', 1);");
    addSubmission(two, pub, "'2024-01-15'", 0);
    addSubmission(two, pub, "'2024-03-02'", 0);
    addSubmission(two, pub, "'2025-01-01'", 1);  // returned: not outstanding
    addSubmission(undated, pub, "0", 0);

    EXPECT_EQ(queryInt("SELECT Count(*) FROM Expanded_Work;"), 4);
    const auto field = [&](const char* column, int id) {
        return queryText(QStringLiteral("SELECT Coalesce(%1, 'NULL') FROM Expanded_Work WHERE ID = %2;")
                             .arg(column).arg(id));
    };
    EXPECT_EQ(field("Date_Submitted", none), "NULL");
    EXPECT_EQ(field("Date_Submitted", two), "2024-03-02");
    EXPECT_EQ(field("Date_Submitted", undated), "NULL");
    EXPECT_EQ(field("Description_Singular", orphan), "NULL");
    EXPECT_EQ(field("Description_Singular", two), queryText("SELECT Description_Singular FROM Genre WHERE ID = 2;"));

    // The program's fill statement with saved conditions in the program's dialect, by name without case.
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 1 WHERE ID IN (%1, %2);").arg(two).arg(orphan));
    EXPECT_EQ(queryInt("SELECT Count(*) FROM (" + sql::kFillWork + " WHERE [Submit?] = TRUE);"), 2);
    EXPECT_EQ(queryText(sql::kFillWork + " WHERE [Date_Submitted] LIKE '2024-##-##'" + sql::kOrderByName),
              QString::number(two));
    addWork("apple", 1);
    EXPECT_EQ(queryText("SELECT Name FROM (" + sql::kFillWork + sql::kOrderByName.chopped(1) + ");"), "apple");

    // A submission whose work was deleted is still listed; an unknown status or type shows blank.
    exec(sql::deleteRecord("Work", two));
    exec("DELETE FROM Submission WHERE Status <> 1;");
    EXPECT_EQ(queryText("SELECT Coalesce(Work, 'NULL') || '|' || Publisher || '|' || Status_Desc || '|' "
                        "|| Date_Submitted FROM Expanded_Submission;"),
              "NULL|Granta|Rejected|2025-01-01");
    exec("UPDATE Submission SET Status = 7;");
    EXPECT_EQ(queryText("SELECT Status_Desc FROM Expanded_Submission;"), QString());
    exec("UPDATE Publisher SET \"E-Mail_Address\" = 'ed@example.org', Type_ID = 4242;");
    EXPECT_EQ(queryText("SELECT [E-Mail_Address] || '|' || Coalesce(Type, 'NULL') FROM Expanded_Publisher;"),
              "ed@example.org|NULL");
}

TEST_F(DatabaseTest, LikeFunctionInSql)
{
    createDatabase();
    EXPECT_EQ(queryInt("SELECT 'école' LIKE 'ÉCOLE';"), 1);
    EXPECT_EQ(queryInt("SELECT 1999 LIKE '19##';"), 1);
    EXPECT_EQ(queryInt("SELECT '50%' LIKE '50!%' ESCAPE '!';"), 1);
    EXPECT_EQ(queryInt("SELECT '500' LIKE '50!%' ESCAPE '!';"), 0);
    EXPECT_EQ(queryText("SELECT Coalesce(NULL LIKE 'a', 'NULL') || Coalesce('a' LIKE 'a' ESCAPE NULL, 'NULL');"),
              "NULLNULL");
    EXPECT_THROW(queryInt("SELECT 'a' LIKE 'a' ESCAPE 'xy';"), SQLite::Exception);
}

TEST_F(DatabaseTest, OpenExistingAcceptsOwnDatabaseAndRefusesForeignFilesUntouched)
{
    createDatabase();
    addWork("Kept", 1);
    gDatabase.reset();
    QString error;
    auto opened = db::openExisting(dbPath(), &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_EQ(opened->execAndGet("SELECT Count(*) FROM Work WHERE Name LIKE 'KEP?';").getInt(), 1);

    EXPECT_FALSE(db::openExisting(path("missing.mdb"), &error));
    EXPECT_TRUE(error.contains("does not exist"));
    EXPECT_FALSE(QFile::exists(path("missing.mdb")));

    const QString text = path("notes.mdb");
    const QByteArray bytes = QByteArray("These are a writer's notes, not a database. ").repeated(300);
    writeFile(text, bytes);
    EXPECT_FALSE(db::openExisting(text, &error));
    EXPECT_TRUE(error.contains("file is not a database") && error.contains(text)) << error.toStdString();
    EXPECT_EQ(readFile(text), bytes);

    // The engine takes an empty file for an empty database; it is still not ours.
    const QString empty = path("empty.mdb");
    writeFile(empty, QByteArray());
    EXPECT_FALSE(db::openExisting(empty, &error));
    EXPECT_TRUE(error.contains("not a Quillary database")) << error.toStdString();
    EXPECT_EQ(QFile(empty).size(), 0);
}

TEST_F(DatabaseTest, OpenExistingRefusesIncompleteOrNewerDatabases)
{
    expectRefused("DROP VIEW Expanded_Publisher;", "view Expanded_Publisher");
    expectRefused("DROP VIEW Expanded_Submission; CREATE VIEW Expanded_Submission AS SELECT * FROM Submission;",
                  "column Expanded_Submission.\"Status_Desc\"");
    expectRefused("DROP TABLE Publisher_Type;", "table Publisher_Type");
    expectRefused("PRAGMA user_version = " + std::to_string(db::kSchemaVersion + 1) + ";", "newer version");
}

TEST_F(DatabaseTest, CreateNewFailsCleanly)
{
    QString error;
    const QString nowhere = path("no/such/folder/Quillary.mdb");
    EXPECT_FALSE(db::createNew(nowhere, &error));
    EXPECT_TRUE(error.contains("unable to open database file") && error.contains(nowhere)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path("no")));

    // An existing file is never built over (a failure would remove it).
    const QString existing = path("existing.mdb");
    writeFile(existing, "keep me");
    EXPECT_FALSE(db::createNew(existing, &error));
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_EQ(readFile(existing), QByteArray("keep me"));
}
