// Backups are whole, checked, and never rotate the good copies away.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/BackupCommand.h"
#include "core/CommandLine.h"
#include "core/DatabaseBackup.h"
#include "core/Database.h"
#include "support/CoreTestEnv.h"

class DatabaseBackupTest : public CommandTest {
protected:
    // A database large enough to take many steps at one page a step.
    void SetUp() override
    {
        CommandTest::SetUp();
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

    // A writer that never stops: with maxSteps the copy still ends, and holds every write.
    copied.reset();
    options.maxSteps = 5;
    options.afterStep = [&] { other->exec("INSERT INTO Work (Name, Genre_ID) VALUES ('again', 1);"); };
    copied = copyAndOpen(path(QStringLiteral("copy.mdb")), options);
    ASSERT_TRUE(copied);
    EXPECT_EQ(works(*copied), works(*other));
}

TEST_F(DatabaseBackupTest, AFailedCopyLeavesTheOldTargetAndNoPartialFile)
{
    // Never over the database itself, however its name is spelt.
    QString error;
    QDir().mkpath(path(QStringLiteral("sub")));
    EXPECT_FALSE(backupDatabase(database(), dir() + QStringLiteral("./sub/../Quillary.mdb"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("the database in use"))) << error.toStdString();
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

    // What killed backups left: removed when their process is gone, or when a copy of the
    // same target has not been written for long; a running backup's is left alone.
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    const QString dead = QString::number(ended);
    const QString alive = QString::number(QCoreApplication::applicationPid());
    const QStringList stale{"copy.mdb.part-" + dead + "-0123456789ab-journal", "other.mdb.part-" + dead + "-0123456789ab",
                            "copy.mdb.part-" + alive + "-00000000000a"};
    const QStringList kept{"copy.mdb.part-" + alive + "-00000000000c", "notes.part-1",
                           "other.mdb.part-" + alive + "-00000000000b"};
    for (const QString& name : stale + kept)
        writeFile(path(name), "left");
    QFile old(path(stale.last()));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    old.close();
    // A successful copy replaces the old file whole.
    EXPECT_TRUE(copyAndOpen(target));
    EXPECT_EQ(QDir(mDir.path()).entryList({QStringLiteral("*.part-*")}, QDir::Files, QDir::Name), kept);
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
    QDir().mkpath(folder());
    QStringList expected{"Other-2020-01-01.mdb", "Quillary-2020-13-45.mdb", "notes.txt"};
    for (const QString& name : expected)
        writeFile(folder() + '/' + name, {});
    // Starts on ten days, with gaps: the seven newest days of starts stay.
    const int days[] = {1, 2, 5, 9, 10, 20, 22, 25, 29, 30};
    int removed = 0;
    for (const int day : days) {
        const RotationResult r = startOn(QDate(2026, 11, day));
        ASSERT_TRUE(r.ok && r.made) << r.error.toStdString();
        removed += int(r.removed.size());
        if (day >= 9)
            expected << QStringLiteral("Quillary-2026-11-%1.mdb").arg(day, 2, 10, QLatin1Char('0'));
    }
    EXPECT_EQ(removed, 3);
    expected.sort();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files, QDir::Name), expected);
    // A later start the same day keeps the day's first copy: the state before the day's work.
    exec(QStringLiteral("DELETE FROM Work;"));
    const RotationResult again = startOn(QDate(2026, 11, 30));
    EXPECT_TRUE(again.ok && !again.made);
    EXPECT_EQ(works(*db::openExisting(again.file, nullptr)), 300);

    // A failed copy is told, naming the folder, not thrown: the session's text for the status panel.
    FileLocations l = FileLocations::inFolder(mDir.path());
    l.backupDir = path(QStringLiteral("blocked/inside"));
    writeFile(path(QStringLiteral("blocked")), "a file where the folder should be");
    Session s(l, clock);
    s.setDatabase(db::openExisting(path(QStringLiteral("Quillary.mdb")), nullptr));
    const QString told = makeStartBackup(s).status;
    EXPECT_TRUE(told.startsWith(QStringLiteral("Start-up backup failed")) && told.contains(path(QStringLiteral("blocked"))))
        << told.toStdString();
}

TEST_F(StartBackupTest, ADamagedDatabaseFailsEveryCopyAndTheGoodCopiesStay)
{
    for (int day = 1; day <= 3; ++day)
        ASSERT_TRUE(startOn(QDate(2026, 11, day)).made);
    // One page in the middle of the file overwritten with garbage, as a failing disk would.
    const QString file = path(QStringLiteral("Quillary.mdb"));
    session().closeDatabase();
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    const qint64 page = 4096;
    ASSERT_TRUE(damaged.seek((damaged.size() / page / 2) * page));
    damaged.write(QByteArray(page, '\xa5'));
    damaged.close();
    // A copy made by a version that did not check its copies, under a good copy's name.
    ASSERT_TRUE(QFile::copy(file, folder() + QStringLiteral("/Quillary-2026-11-04.mdb")));

    // Written to a file: refused, the old target unchanged, the damaged copy kept apart.
    const QString target = path(QStringLiteral("copy.mdb"));
    writeFile(target, "yesterday's copy");
    QString error, apart;
    EXPECT_FALSE(backupDatabase(database(), target, &error, {}, &apart));
    EXPECT_TRUE(error.contains(QStringLiteral("the database is damaged"))) << error.toStdString();
    EXPECT_TRUE(apart == path(QStringLiteral("copy.damaged.mdb")) && QFileInfo::exists(apart));
    EXPECT_EQ(readFile(target), QByteArray("yesterday's copy"));

    // Ten days of starts on it: each is told with the newest copy that passes the check;
    // no good copy is let go, and the damaged ones are kept apart, the last seven of them.
    const QString lastGood = folder() + QStringLiteral("/Quillary-2026-11-03.mdb");
    for (int day = 5; day <= 14; ++day) {
        const RotationResult r = startOn(QDate(2026, 11, day));
        EXPECT_TRUE(!r.ok && r.damaged && r.removed.isEmpty());
        EXPECT_EQ(r.lastGood, lastGood);
        EXPECT_EQ(r.damagedCopy, folder() + QStringLiteral("/Quillary-2026-11-%1.damaged.mdb").arg(day, 2, 10, QLatin1Char('0')));
    }
    const QDir backups(folder());
    EXPECT_EQ(backups.entryList({QStringLiteral("Quillary-*.damaged.mdb")}, QDir::Files).size(), 7);
    EXPECT_EQ(backups.entryList({QStringLiteral("Quillary-2026-11-0?.mdb")}, QDir::Files),
              (QStringList{"Quillary-2026-11-01.mdb", "Quillary-2026-11-02.mdb", lastGood.section('/', -1)}));
    EXPECT_TRUE(checkDatabaseFile(lastGood, &error)) << error.toStdString();
}
