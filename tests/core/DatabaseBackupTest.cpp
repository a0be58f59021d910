// Backups: a copy is a whole database of this program, also while another connection
// writes; a failed copy leaves nothing; the start-up copies keep one a day for seven days.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
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

    static int count(SQLite::Database& db, const char* sql)
    {
        return db.execAndGet(sql).getInt();
    }

    // Opens a copy as the program opens its database; every check of the schema passes.
    static std::unique_ptr<SQLite::Database> openCopy(const QString& file)
    {
        QString error;
        auto copy = db::openExisting(file, &error);
        EXPECT_TRUE(copy) << error.toStdString();
        if (copy)
            EXPECT_EQ(copy->execAndGet("PRAGMA integrity_check;").getString(), "ok");
        return copy;
    }

    QStringList leftovers() const
    {
        return QDir(mDir.path()).entryList({QStringLiteral("*.part-*")}, QDir::Files);
    }
};

TEST_F(DatabaseBackupTest, ACopyOpensAsThisProgramsDatabaseWithEveryRecordAndRestores)
{
    exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('Granta', 1);"
                        "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                        "VALUES (1, 1, '2024-03-05', 0, 0);"));
    const QString copy = path(QStringLiteral("copy.mdb"));
    QString error;
    ASSERT_TRUE(backupDatabase(database(), copy, &error)) << error.toStdString();
    auto restored = openCopy(copy);
    ASSERT_TRUE(restored);
    for (const char* table : {"Work", "Publisher", "Submission", "Genre", "Publisher_Type", "Publisher_Genre"}) {
        const std::string sql = std::string("SELECT count(*) FROM ") + table + ";";
        EXPECT_EQ(count(*restored, sql.c_str()), count(database(), sql.c_str())) << table;
    }
    restored.reset();

    // Restoring: the program closed, the copy put back in the database's place.
    exec(QStringLiteral("DELETE FROM Submission; DELETE FROM Work;"));
    session().closeDatabase();
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("Quillary.mdb"))));
    ASSERT_TRUE(QFile::copy(copy, path(QStringLiteral("Quillary.mdb"))));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Work;")), 300);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Submission;")), 1);
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
    const QString copy = path(QStringLiteral("copy.mdb"));
    QString error;
    ASSERT_TRUE(backupDatabase(database(), copy, &error, options)) << error.toStdString();
    EXPECT_GT(steps, 3);
    auto copied = openCopy(copy);
    ASSERT_TRUE(copied);
    EXPECT_EQ(count(*copied, "SELECT count(*) FROM Work;"), 303);
    EXPECT_EQ(count(*copied, "SELECT count(*) FROM Work WHERE Name LIKE 'late _';"), 6);
    EXPECT_EQ(count(*copied, "SELECT min(ID) FROM Work;"), 4);

    // A writer that never stops: with maxSteps the copy still ends, and holds every write.
    copied.reset();
    options.maxSteps = 5;
    options.afterStep = [&] { other->exec("INSERT INTO Work (Name, Genre_ID) VALUES ('again', 1);"); };
    ASSERT_TRUE(backupDatabase(database(), path(QStringLiteral("copy.mdb")), &error, options)) << error.toStdString();
    copied = openCopy(path(QStringLiteral("copy.mdb")));
    ASSERT_TRUE(copied);
    EXPECT_EQ(count(*copied, "SELECT count(*) FROM Work;"), count(*other, "SELECT count(*) FROM Work;"));
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
            // A program that writes as a person works, not one that never lets go.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    BackupOptions options;
    options.pagesPerStep = 8;
    QVector<QString> copies;
    QVector<int> before;
    bool allOk = true;
    for (int i = 0; i < 5; ++i) {
        while (pairs.load() < 20 * (i + 1))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        before << pairs.load();
        const QString copy = path(QStringLiteral("copy%1.mdb").arg(i));
        QString error;
        allOk = backupDatabase(database(), copy, &error, options) && allOk;
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        copies << copy;
    }
    stop = true;
    writer.join();
    ASSERT_TRUE(allOk);
    EXPECT_GT(pairs.load(), 0);
    for (int i = 0; i < copies.size(); ++i) {
        auto copied = openCopy(copies[i]);
        ASSERT_TRUE(copied);
        const int inCopy = count(*copied, "SELECT count(*) FROM Work WHERE Name = 'pair';");
        EXPECT_EQ(inCopy % 2, 0);
        EXPECT_GE(inCopy, 2 * before[i]);
    }
}

TEST_F(DatabaseBackupTest, AFailedCopyLeavesTheOldTargetAndNoPartialFile)
{
    for (const QString& target : {path(QStringLiteral("Quillary.mdb")), dir() + QStringLiteral("./sub/../Quillary.mdb")}) {
        QDir().mkpath(path(QStringLiteral("sub")));
        QString error;
        EXPECT_FALSE(backupDatabase(database(), target, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("database itself"))) << error.toStdString();
    }
    EXPECT_EQ(queryInt(QStringLiteral("SELECT count(*) FROM Work;")), 300);
    EXPECT_EQ(database().execAndGet("PRAGMA integrity_check;").getString(), "ok");

    // A copy refused part way.
    const QString target = path(QStringLiteral("copy.mdb"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("yesterday's copy");
    }
    QString error;
    {
        FileSizeLimit full(16 * 1024);  // the disk fills up half way through
        EXPECT_FALSE(backupDatabase(database(), target, &error));
    }
    EXPECT_TRUE(error.contains(target)) << error.toStdString();
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("yesterday's copy"));
    EXPECT_EQ(leftovers(), QStringList());

    EXPECT_FALSE(backupDatabase(database(), path(QStringLiteral("no/such/folder/copy.mdb")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no"))));

    // A successful copy then replaces the old file whole.
    ASSERT_TRUE(backupDatabase(database(), target, &error)) << error.toStdString();
    EXPECT_TRUE(openCopy(target));
    EXPECT_EQ(leftovers(), QStringList());
}

class StartBackupTest : public DatabaseBackupTest {
protected:
    QString folder() const { return path(QStringLiteral("backups")); }
    QStringList copies() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    RotationResult startOn(const QDate& day)
    {
        return rotateStartBackup(database(), path(QStringLiteral("Quillary.mdb")), folder(), day);
    }
};

TEST_F(StartBackupTest, OneCopyADayNamedWithTheDate)
{
    EXPECT_EQ(datedBackupName(QStringLiteral("/x/Quillary.mdb"), QDate(2026, 12, 6)), QStringLiteral("Quillary-2026-12-06.mdb"));
    EXPECT_EQ(datedBackupName(QStringLiteral("/x/my.books.db"), QDate(2026, 1, 2)), QStringLiteral("my.books-2026-01-02.db"));

    RotationResult first = startOn(QDate(2026, 12, 6));
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_TRUE(first.made);
    EXPECT_EQ(first.file, folder() + QStringLiteral("/Quillary-2026-12-06.mdb"));

    // A later start the same day keeps the day's first copy: the state before the day's work.
    exec(QStringLiteral("DELETE FROM Work;"));
    RotationResult second = startOn(QDate(2026, 12, 6));
    EXPECT_TRUE(second.ok);
    EXPECT_FALSE(second.made);
    EXPECT_EQ(copies(), QStringList{QStringLiteral("Quillary-2026-12-06.mdb")});
    auto copy = openCopy(first.file);
    ASSERT_TRUE(copy);
    EXPECT_EQ(count(*copy, "SELECT count(*) FROM Work;"), 300);
}

TEST_F(StartBackupTest, KeepsTheLastSevenDaysOfStartsAndNothingElseIsTouched)
{
    QDir().mkpath(folder());
    for (const char* name : {"notes.txt", "Other-2020-01-01.mdb", "Quillary-2020-13-45.mdb", "Quillary-old.mdb"}) {
        QFile f(folder() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // Starts on ten days, with gaps: the seven newest days of starts stay.
    const QVector<QDate> days = {QDate(2026, 11, 1), QDate(2026, 11, 2), QDate(2026, 11, 5), QDate(2026, 11, 9),
                                 QDate(2026, 11, 10), QDate(2026, 11, 20), QDate(2026, 12, 1), QDate(2026, 12, 2),
                                 QDate(2026, 12, 5), QDate(2026, 12, 6)};
    QStringList removed;
    for (const QDate& day : days) {
        const RotationResult r = startOn(day);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        removed << r.removed;
    }
    QStringList expected;
    for (int i = 3; i < days.size(); ++i)
        expected << QStringLiteral("Quillary-%1.mdb").arg(days[i].toString(Qt::ISODate));
    expected << QStringLiteral("Quillary-2020-13-45.mdb") << QStringLiteral("Quillary-old.mdb")
             << QStringLiteral("Other-2020-01-01.mdb") << QStringLiteral("notes.txt");
    expected.sort();
    EXPECT_EQ(copies(), expected);
    EXPECT_EQ(removed.size(), 3);
    EXPECT_TRUE(removed.first().endsWith(QStringLiteral("Quillary-2026-11-01.mdb")));
}

TEST_F(StartBackupTest, AFailedStartCopyIsToldNotThrown)
{
    QFile blocker(folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    const RotationResult r = startOn(QDate(2026, 12, 6));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(folder())) << r.error.toStdString();

    // The session's form: the text for the status panel, naming the folder.
    FileLocations l = FileLocations::inFolder(mDir.path());
    l.backupDir = folder() + QStringLiteral("/inside");
    Session s(l, clock);
    s.setDatabase(db::openExisting(path(QStringLiteral("Quillary.mdb")), nullptr));
    const QString told = makeStartBackup(s);
    EXPECT_TRUE(told.startsWith(QStringLiteral("Start-up backup failed"))) << told.toStdString();

    QFile::remove(folder());
    EXPECT_EQ(makeStartBackup(s), QString());
    EXPECT_TRUE(QFileInfo::exists(l.backupDir + QStringLiteral("/Quillary-2026-12-06.mdb")));
}
