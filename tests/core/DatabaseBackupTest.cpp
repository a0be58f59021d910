// Backups: a copy is a whole database of this program, also while another connection
// writes; a failed copy leaves nothing; the start-up copies keep one a day for seven days;
// a damaged database is told and never rotates the good copies away.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>
#include <QTextStream>
#include <atomic>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/BackupCommand.h"
#include "core/CommandLine.h"
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

    // What killed backups left: removed when their process is gone, or when a copy of the
    // same target has not been written for long; a running backup's is left alone.
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    const QString dead = QString::number(ended);
    const QString alive = QString::number(QCoreApplication::applicationPid());
    const QStringList stale{"copy.mdb.part-" + dead + "-0123456789ab", "copy.mdb.part-" + dead + "-0123456789ab-journal",
                            "other.mdb.part-" + dead + "-0123456789ab", "copy.mdb.part-" + alive + "-00000000000a"};
    const QStringList kept{"other.mdb.part-" + alive + "-00000000000b", "copy.mdb.part-" + alive + "-00000000000c",
                           "notes.part-1"};
    for (const QString& name : stale + kept)
        writeFile(path(name), "left");
    QFile old(path(stale.last()));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    old.close();
    EXPECT_TRUE(copyAndOpen(target));
    QStringList left = QDir(mDir.path()).entryList({QStringLiteral("*.part-*")}, QDir::Files);
    QStringList wanted = kept;
    left.sort();
    wanted.sort();
    EXPECT_EQ(left, wanted);
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
    const QString told = makeStartBackup(s).status;
    EXPECT_TRUE(told.startsWith(QStringLiteral("Start-up backup failed")) && told.contains(path(QStringLiteral("blocked"))))
        << told.toStdString();
    QFile::remove(path(QStringLiteral("blocked")));
    EXPECT_EQ(makeStartBackup(s).status, QString());
    EXPECT_TRUE(QFileInfo::exists(l.backupDir + QStringLiteral("/Quillary-2026-12-06.mdb")));
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
    QString error;
    QString apart;
    EXPECT_FALSE(backupDatabase(database(), target, &error, {}, &apart));
    EXPECT_TRUE(error.contains(QStringLiteral("the database is damaged"))) << error.toStdString();
    EXPECT_EQ(apart, path(QStringLiteral("copy.damaged.mdb")));
    EXPECT_TRUE(QFileInfo::exists(apart));
    EXPECT_EQ(readFile(target), QByteArray("yesterday's copy"));
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(runBackupCommand(session(), path(QStringLiteral("cli.mdb")), outStream, errStream), exitcode::kFailed);
    EXPECT_TRUE(err.contains(QStringLiteral("damaged"))) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("cli.mdb"))));

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
