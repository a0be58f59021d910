// Backups: a copy is a whole database of this program, also while another connection
// writes; a failed copy leaves nothing; the start-up copies keep one a day for seven days.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>
#include <atomic>
#include <thread>

#include "core/BackupCommand.h"
#include "core/DatabaseBackup.h"
#include "core/Database.h"
#include "support/CoreTestEnv.h"

class DatabaseBackupTest : public CoreTest {
protected:
    // A database large enough to take many steps at one page a step.
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                            "INSERT INTO Work (Name, Genre_ID, Year_Written) "
                            "SELECT 'Work ' || i || ' ' || printf('%.200c', 'x'), 1, '2001' FROM n;"));
    }

    // A second connection to the same file, as another program would have.
    std::unique_ptr<SQLite::Database> otherConnection()
    {
        auto other = std::make_unique<SQLite::Database>(path(QStringLiteral("Quillary.mdb")).toStdString(),
                                                        SQLite::OPEN_READWRITE);
        db::prepareConnection(*other);
        return other;
    }

    // Makes a copy and opens it as the program opens its database; every check passes.
    std::unique_ptr<SQLite::Database> copyAndOpen(const QString& file, const BackupOptions& options = {})
    {
        QString error;
        EXPECT_TRUE(backupDatabase(database(), file, &error, options)) << error.toStdString();
        auto copy = db::openExisting(file, &error);
        EXPECT_TRUE(copy) << error.toStdString();
        if (copy)
            EXPECT_EQ(copy->execAndGet("PRAGMA integrity_check;").getString(), "ok");
        return copy;
    }

    static int works(SQLite::Database& db, const char* where = "1")
    {
        return db.execAndGet(std::string("SELECT count(*) FROM Work WHERE ") + where + ";").getInt();
    }
};

TEST_F(DatabaseBackupTest, ACopyOpensAsThisProgramsDatabaseWithEveryRecord)
{
    exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('Granta', 1); INSERT INTO Publisher_Genre VALUES (1, 1);"
                        "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) VALUES (1, 1, '2024-03-05', 0);"));
    auto copy = copyAndOpen(path(QStringLiteral("copy.mdb")));
    ASSERT_TRUE(copy);
    for (const char* table : {"Work", "Publisher", "Submission", "Genre", "Publisher_Type", "Publisher_Genre"}) {
        const std::string sql = std::string("SELECT group_concat(ID) FROM (SELECT rowid AS ID FROM ") + table + ");";
        EXPECT_EQ(copy->execAndGet(sql).getString(), database().execAndGet(sql).getString()) << table;
    }
}

TEST_F(DatabaseBackupTest, WritesBetweenStepsRestartTheCopyAndAWriterThatNeverStopsCannotStallIt)
{
    auto other = otherConnection();
    BackupOptions options;
    options.pagesPerStep = 1;
    int steps = 0;
    options.afterStep = [&] {
        // Another program's writes, while the copy is half made.
        if (++steps <= 3) {
            SQLite::Transaction t(*other);
            other->exec("INSERT INTO Work (Name, Genre_ID) VALUES ('late a', 1);"
                        "INSERT INTO Work (Name, Genre_ID) VALUES ('late b', 1);"
                        "DELETE FROM Work WHERE ID = (SELECT min(ID) FROM Work);");
            t.commit();
        }
    };
    auto copied = copyAndOpen(path(QStringLiteral("copy.mdb")), options);
    ASSERT_TRUE(copied);
    EXPECT_GT(steps, 3);
    EXPECT_EQ(works(*copied), 303);
    EXPECT_EQ(works(*copied, "Name LIKE 'late _'"), 6);
    EXPECT_EQ(copied->execAndGet("SELECT min(ID) FROM Work;").getInt(), 4);

    // A writer that never stops: with maxSteps the copy still ends, and holds every write.
    copied.reset();
    options.maxSteps = 5;
    options.afterStep = [&] { other->exec("INSERT INTO Work (Name, Genre_ID) VALUES ('again', 1);"); };
    copied = copyAndOpen(path(QStringLiteral("copy.mdb")), options);
    ASSERT_TRUE(copied);
    EXPECT_EQ(works(*copied), works(*other));
}

TEST_F(DatabaseBackupTest, CopiesMadeWhileAnotherThreadWritesAreWhole)
{
    // The writer adds works in pairs, one transaction a pair: a whole copy holds pairs only,
    // and every copy holds at least the pairs written before it started.
    std::atomic<bool> stop{false};
    std::atomic<int> pairs{0};
    std::thread writer([&] {
        auto other = otherConnection();
        while (!stop) {
            SQLite::Transaction t(*other);
            other->exec("INSERT INTO Work (Name, Genre_ID) VALUES ('pair', 1);"
                        "INSERT INTO Work (Name, Genre_ID) VALUES ('pair', 1);");
            t.commit();
            ++pairs;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    BackupOptions options;
    options.pagesPerStep = 8;
    for (int i = 0; i < 5; ++i) {
        while (pairs.load() < 20 * (i + 1))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const int before = pairs.load();
        auto copied = copyAndOpen(path(QStringLiteral("copy%1.mdb").arg(i)), options);
        const int inCopy = copied ? works(*copied, "Name = 'pair'") : -1;
        EXPECT_EQ(inCopy % 2, 0);
        EXPECT_GE(inCopy, 2 * before);
    }
    stop = true;
    writer.join();
}

TEST_F(DatabaseBackupTest, AFailedCopyLeavesTheOldTargetAndNoPartialFile)
{
    QString error;
    for (const QString& target : {path(QStringLiteral("Quillary.mdb")), dir() + QStringLiteral("./sub/../Quillary.mdb")}) {
        QDir().mkpath(path(QStringLiteral("sub")));
        EXPECT_FALSE(backupDatabase(database(), target, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("the database in use"))) << error.toStdString();
    }
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Work;")), 300);

    // The disk fills up half way through a copy.
    const QString target = path(QStringLiteral("copy.mdb"));
    writeFile(target, "yesterday's copy");
    {
        FileSizeLimit full(16 * 1024);
        EXPECT_FALSE(backupDatabase(database(), target, &error));
    }
    EXPECT_TRUE(error.contains(target)) << error.toStdString();
    EXPECT_EQ(readFile(target), QByteArray("yesterday's copy"));
    EXPECT_EQ(QDir(mDir.path()).entryList({QStringLiteral("*.part-*")}, QDir::Files), QStringList());

    EXPECT_FALSE(backupDatabase(database(), path(QStringLiteral("no/such/folder/copy.mdb")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no"))));

    // A successful copy then replaces the old file whole.
    EXPECT_TRUE(copyAndOpen(target));
    EXPECT_EQ(QDir(mDir.path()).entryList({QStringLiteral("*.part-*")}, QDir::Files), QStringList());
}

class StartBackupTest : public DatabaseBackupTest {
protected:
    QString folder() const { return path(QStringLiteral("backups")); }
    RotationResult startOn(const QDate& day)
    {
        return rotateStartBackup(database(), path(QStringLiteral("Quillary.mdb")), folder(), day);
    }
};

TEST_F(StartBackupTest, OneCopyADayForTheLastSevenDaysOfStartsAndAFailureIsTold)
{
    EXPECT_EQ(datedBackupName(QStringLiteral("/x/my.books.db"), QDate(2026, 1, 2)), QStringLiteral("my.books-2026-01-02.db"));
    QDir().mkpath(folder());
    for (const char* name : {"notes.txt", "Other-2020-01-01.mdb", "Quillary-2020-13-45.mdb", "Quillary-old.mdb"})
        writeFile(folder() + QLatin1Char('/') + QLatin1String(name), {});
    // Starts on ten days, with gaps: the seven newest days of starts stay.
    const QVector<QDate> days = {QDate(2026, 11, 1), QDate(2026, 11, 2), QDate(2026, 11, 5), QDate(2026, 11, 9),
                                 QDate(2026, 11, 10), QDate(2026, 11, 20), QDate(2026, 12, 1), QDate(2026, 12, 2),
                                 QDate(2026, 12, 5), QDate(2026, 12, 6)};
    QStringList removed;
    for (const QDate& day : days) {
        const RotationResult r = startOn(day);
        ASSERT_TRUE(r.ok && r.made) << r.error.toStdString();
        removed << r.removed;
    }
    // A later start the same day keeps the day's first copy: the state before the day's work.
    exec(QStringLiteral("DELETE FROM Work;"));
    const RotationResult again = startOn(days.last());
    EXPECT_TRUE(again.ok && !again.made);
    EXPECT_EQ(again.file, folder() + QStringLiteral("/Quillary-2026-12-06.mdb"));
    QString error;
    auto copy = db::openExisting(again.file, &error);
    ASSERT_TRUE(copy) << error.toStdString();
    EXPECT_EQ(works(*copy), 300);

    QStringList expected{QStringLiteral("Quillary-2020-13-45.mdb"), QStringLiteral("Quillary-old.mdb"),
                         QStringLiteral("Other-2020-01-01.mdb"), QStringLiteral("notes.txt")};
    for (int i = 3; i < days.size(); ++i)
        expected << QStringLiteral("Quillary-%1.mdb").arg(days[i].toString(Qt::ISODate));
    expected.sort();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files, QDir::Name), expected);
    EXPECT_EQ(removed.size(), 3);

    // A failed copy is told, naming the folder, not thrown: the session's text for the status panel.
    FileLocations l = FileLocations::inFolder(mDir.path());
    l.backupDir = path(QStringLiteral("blocked/inside"));
    writeFile(path(QStringLiteral("blocked")), "a file where the folder should be");
    Session s(l, clock);
    s.setDatabase(db::openExisting(path(QStringLiteral("Quillary.mdb")), nullptr));
    const QString told = makeStartBackup(s);
    EXPECT_TRUE(told.startsWith(QStringLiteral("Start-up backup failed")) && told.contains(path(QStringLiteral("blocked"))))
        << told.toStdString();
    QFile::remove(path(QStringLiteral("blocked")));
    EXPECT_EQ(makeStartBackup(s), QString());
    EXPECT_TRUE(QFileInfo::exists(l.backupDir + QStringLiteral("/Quillary-2026-12-06.mdb")));
}
