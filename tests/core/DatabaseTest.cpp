// Database files: a new one and its views, which files open, and the indexes a listing uses.

#include <QFile>
#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include "core/Database.h"
#include "support/CoreTestEnv.h"

namespace {

// Refuses to make a journal, as a folder the user may not write does (except for root).
int refuseJournal(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    if (flags & SQLITE_OPEN_MAIN_JOURNAL)
        return SQLITE_CANTOPEN;
    auto* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
    return real->xOpen(real, name, file, flags, outFlags);
}

class DatabaseTest : public CoreTest {
protected:
    int addWork(const QString& name)
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', 1, '2020');").arg(name));
        return int(database().getLastInsertRowid());
    }
    // Checks a closed file is refused, unchanged.
    void expectRefused(const QString& file, const char* reason)
    {
        const QByteArray bytes = readFile(file);
        QString error;
        EXPECT_FALSE(db::openExisting(file, &error));
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        EXPECT_EQ(readFile(file), bytes);
    }
    QString dbPath() const { return path(QStringLiteral("Quillary.mdb")); }
};

} // namespace

TEST_F(DatabaseTest, NewDatabaseHasItsLookupRowsAndTheViewsExpand)
{
    createDatabase();
    EXPECT_EQ(queryInt("PRAGMA user_version;"), db::kSchemaVersion);
    EXPECT_EQ(queryText("SELECT Description_Plural || (SELECT Count(*) FROM Publisher_Type WHERE Description = 'Magazine') "
                        "FROM Genre WHERE Description_Singular = 'Short Story';"), "Short Stories1");

    // A work's latest outstanding dated submission.
    const int none = addWork("No Submissions");
    const int two = addWork("Two Outstanding");
    const int undated = addWork("Undated");
    exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('Granta', 1);"
                        "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) VALUES "
                        "(%1, 1, '2024-01-15', 0), (%1, 1, '2024-03-02', 0), (%1, 1, '2025-01-01', 1), (%2, 1, 0, 0);")
             .arg(two).arg(undated));
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(ID || ':' || Coalesce(Date_Submitted, 'NULL'), ' ') "
                                       "FROM (SELECT * FROM Expanded_Work ORDER BY ID);")),
              QStringLiteral("%1:NULL %2:2024-03-02 %3:NULL").arg(none).arg(two).arg(undated));
    // A submission whose work was deleted is still listed.
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1; DELETE FROM Submission WHERE Status <> 1;").arg(two));
    EXPECT_EQ(queryText("SELECT group_concat(Coalesce(Work, 'NULL') || '|' || Publisher || '|' || Status_Desc || '|' "
                        "|| Date_Submitted) FROM Expanded_Submission;"),
              "NULL|Granta|Rejected|2025-01-01");
}

TEST_F(DatabaseTest, OpenAndCreateTakeOnlyTheirOwnFilesAndLeaveOthersUntouched)
{
    createDatabase();
    addWork("Kept");
    session().closeDatabase();
    QString error;
    auto opened = db::openExisting(dbPath(), &error);
    ASSERT_TRUE(opened) << error.toStdString();
    // Saves are durable: the rollback journal (not WAL) and FULL synchronous writes.
    EXPECT_EQ(opened->execAndGet("PRAGMA journal_mode;").getString(), "delete");
    EXPECT_EQ(opened->execAndGet("PRAGMA synchronous;").getInt(), 2);
    opened.reset();

    // A folder where the journal cannot be made is found at open, not at the first save.
    sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    sqlite3_vfs refusing = *real;
    refusing.zName = "quillary-test-nojournal";
    refusing.pAppData = real;
    refusing.xOpen = &refuseJournal;
    sqlite3_vfs_register(&refusing, 1);
    expectRefused(dbPath(), "does not let changes be saved");
    sqlite3_vfs_unregister(&refusing);
    sqlite3_vfs_register(real, 1);
    EXPECT_FALSE(QFile::exists(dbPath() + "-journal"));

    EXPECT_FALSE(db::openExisting(path("missing.mdb"), &error));
    EXPECT_TRUE(error.contains("does not exist"));

    // A new database is never built over a file.
    writeFile(path("notes.mdb"), "A writer's notes, not a database.");
    EXPECT_FALSE(db::createNew(path("notes.mdb"), &error));
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_TRUE(readFile(path("notes.mdb")).startsWith("A writer's notes"));
}

TEST_F(DatabaseTest, AMissingTableIsNamedAlone)
{
    // Views that use a dropped table cannot be read either; the table is what is missing.
    createDatabase();
    exec("DROP TABLE Genre;");
    session().closeDatabase();
    QString error;
    EXPECT_FALSE(db::openExisting(dbPath(), &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("; missing: table Genre"))) << error.toStdString();
}

TEST_F(DatabaseTest, ListingIndexesAreMadeForOurFilesOnly)
{
    const QStringList wanted = db::listingIndexes();
    ASSERT_FALSE(wanted.isEmpty());
    auto missing = [&](SQLite::Database& database) {
        return wanted.size() - database.execAndGet("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN ('"
                                                   + wanted.join("', '").toStdString() + "');").getInt();
    };
    createDatabase();
    EXPECT_EQ(missing(database()), 0);

    // A file made before them gets them at open, and keeps its records.
    addWork("Kept");
    for (const QString& name : wanted)
        exec(QStringLiteral("DROP INDEX %1;").arg(name));
    session().closeDatabase();
    QString error;
    auto opened = db::openExisting(dbPath(), &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_EQ(missing(*opened), 0);
    EXPECT_EQ(opened->execAndGet("SELECT Name FROM Work;").getString(), "Kept");

    // Another program's database with tables of the same names is refused untouched.
    const QString foreign = path(QStringLiteral("foreign.mdb"));
    SQLite::Database(foreign.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
        .exec("CREATE TABLE Submission (ID INTEGER PRIMARY KEY, Work_ID, Status, Date_Submitted);"
              "CREATE TABLE Work (ID INTEGER PRIMARY KEY, Name);");
    expectRefused(foreign, "not a Quillary database");
}
