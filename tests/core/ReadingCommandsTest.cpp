// --export-csv and --backup only read; a hot journal is rolled back first.

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>

#include "core/CommandLine.h"
#include "core/Database.h"
#include "support/CoreTestEnv.h"
#include "support/InsightData.h"

class ReadingCommandsTest : public CommandTest {
protected:
    QByteArray hash(const char* name) const
    {
        return QCryptographicHash::hash(readFile(path(QString::fromLatin1(name))), QCryptographicHash::Sha256);
    }
};

TEST_F(ReadingCommandsTest, ExportsAndBackupsLeaveTheDatabaseAsItWas)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Salt Road', 1);"));
    // A file from before the listings' indexes: the window would add them, a reader must not.
    const QString index = db::listingIndexes().constFirst();
    exec(QStringLiteral("DROP INDEX \"%1\";").arg(index));
    session().closeDatabase();
    const QByteArray before = hash("Quillary.mdb");

    EXPECT_EQ(run({"--export-csv", "works", "works.csv"}), exitcode::kOk) << err.toStdString();
    EXPECT_EQ(readCsv(readFile(path("works.csv"))).size(), 2);
    EXPECT_EQ(run({"--backup", "copy.mdb"}), exitcode::kOk) << err.toStdString();
    EXPECT_EQ(hash("Quillary.mdb"), before);
    EXPECT_FALSE(QFileInfo::exists(path("Quillary.mdb-journal")));
    {
        SQLite::Database copy(path("copy.mdb").toStdString(), SQLite::OPEN_READONLY);
        EXPECT_EQ(copy.execAndGet("SELECT count(*) FROM sqlite_master WHERE name = '" + index.toStdString() + "';")
                      .getInt(), 0);
    }

    // A file of the older version: copied as it is, and not exported until the window
    // has brought it up to date.
    {
        SQLite::Database old(path("Quillary.mdb").toStdString(), SQLite::OPEN_READWRITE);
        old.exec("PRAGMA user_version = 1;");
    }
    const QByteArray older = hash("Quillary.mdb");
    EXPECT_EQ(run({"--export-csv", "works", "old.csv"}), exitcode::kFailed);
    EXPECT_TRUE(err.contains(QLatin1String("Open it in the window once"))) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("old.csv")));
    EXPECT_EQ(run({"--backup", "old-copy.mdb"}), exitcode::kOk) << err.toStdString();
    EXPECT_EQ(hash("Quillary.mdb"), older);
}

TEST_F(ReadingCommandsTest, AHotJournalIsRolledBackThenTheBackupIsMade)
{
    createDatabase();
    exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                        "INSERT INTO Work (Name, Genre_ID) SELECT 'Work ' || i || printf('%.300c', 'x'), 1 FROM n;"));
    session().closeDatabase();
    const QByteArray whole = hash("Quillary.mdb");
    {
        // A writer part way through a change too large for its cache has written pages into
        // the file; a copy of the file and its journal is what it leaves if it is killed.
        SQLite::Database writer(path("Quillary.mdb").toStdString(), SQLite::OPEN_READWRITE);
        writer.exec("PRAGMA cache_size = 10; BEGIN; UPDATE Work SET Name = 'lost ' || ID || printf('%.300c', 'y');");
        ASSERT_NE(hash("Quillary.mdb"), whole);
        ASSERT_GT(QFileInfo(path("Quillary.mdb-journal")).size(), 0);
        for (const char* suffix : {"", "-journal"})
            ASSERT_TRUE(QFile::copy(path("Quillary.mdb") + suffix, path("crashed.mdb") + suffix));
        writer.exec("ROLLBACK;");
    }
    EXPECT_EQ(run({"--database", "crashed.mdb", "--backup", "copy.mdb"}), exitcode::kOk) << err.toStdString();
    EXPECT_EQ(hash("crashed.mdb"), whole);
    EXPECT_FALSE(QFileInfo::exists(path("crashed.mdb-journal")));
    SQLite::Database copy(path("copy.mdb").toStdString(), SQLite::OPEN_READONLY);
    EXPECT_EQ(copy.execAndGet("PRAGMA integrity_check;").getString(), "ok");
    EXPECT_EQ(copy.execAndGet("SELECT count(*) FROM Work WHERE Name LIKE 'lost %';").getInt(), 0);
}
