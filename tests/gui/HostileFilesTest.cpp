// Files at start-up that are not a usable database of this program: each is refused with a
// message naming the file and left byte for byte as it was, with no journal beside it.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "gui/StatusMessage.h"
#include "core/Database.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "support/TestEnv.h"

namespace {

// Opens the database read-only as when the system refuses write access, which it does not for root.
sqlite3_vfs* gRealVfs = nullptr;

int openReadOnly(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    if (flags & SQLITE_OPEN_MAIN_DB)
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    return gRealVfs->xOpen(gRealVfs, name, file, flags, outFlags);
}

} // namespace

class HostileFilesTest : public QuillaryTest {
protected:
    QString dbFile() const { return path(QStringLiteral("Quillary.mdb")); }

    QByteArray bytesOf(const QString& file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void put(const QByteArray& bytes)
    {
        QFile::remove(dbFile());
        QFile f(dbFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // A closed database of this program with 200 works, after change, as bytes.
    QByteArray realDatabase(const QString& change = QString())
    {
        QFile::remove(dbFile());
        createDatabase();
        exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 199) "
                            "INSERT INTO Work (Name, Genre_ID) SELECT 'Work number ' || i || ' of many', 1 FROM n"));
        if (!change.isEmpty())
            exec(change);
        session().closeDatabase();
        return bytesOf(dbFile());
    }
};

TEST_F(HostileFilesTest, UnusableFilesAreRefusedByNameAndLeftUntouched)
{
    const QByteArray real = realDatabase();
    gRealVfs = sqlite3_vfs_find(nullptr);
    sqlite3_vfs readOnlyVfs = *gRealVfs;
    readOnlyVfs.zName = "quillary-test-readonly";
    readOnlyVfs.xOpen = &openReadOnly;
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* reason;
        bool readOnly = false;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "not a Quillary database"},
        {"Jet database", QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\x00'),
         "file is not a database"},
        {"cut in the signature", real.left(16), "file is not a database"},
        {"cut inside a page", real.left(3 * 4096 + 7), "malformed"},
        {"last page missing", real.left(real.size() - 4096), "malformed"},
        {"missing table", realDatabase(QStringLiteral("DROP TABLE Publisher_Genre")), "table Publisher_Genre"},
        {"missing view", realDatabase(QStringLiteral("DROP VIEW Expanded_Submission")), "view Expanded_Submission"},
        {"newer schema", realDatabase(QStringLiteral("PRAGMA user_version = %1").arg(db::kSchemaVersion + 1)),
         "newer version of Quillary"},
        {"read-only", real, "cannot be written", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(c.bytes);
        prompts.shown.clear();
        sqlite3_vfs_register(c.readOnly ? &readOnlyVfs : gRealVfs, 1);
        {
            MainWindow window(desktop(), clock, dir());
            EXPECT_FALSE(window.load());
        }
        EXPECT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown.value(0).icon, Prompts::Icon::Critical);
        const QString shown = prompts.texts().join(QLatin1Char('|'));
        EXPECT_TRUE(shown.contains(dbFile()) && shown.contains(QLatin1String(c.reason))) << shown.toStdString();
        EXPECT_EQ(bytesOf(dbFile()), c.bytes);
        EXPECT_EQ(QDir(dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Quillary.mdb"});
    }
    sqlite3_vfs_unregister(&readOnlyVfs);
    sqlite3_vfs_register(gRealVfs, 1);

    // The same file, usable again, starts the program.
    put(real);
    prompts.shown.clear();

    MainWindow window(desktop(), clock, dir());
    EXPECT_TRUE(window.load());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(child<GridView>(window, "grid")->rows(), 201);
}

TEST_F(HostileFilesTest, AFileLockedByAnotherProgramIsWaitedForReportedAndLeftUnchanged)
{
    const QByteArray real = realDatabase();
    SQLite::Database other(dbFile().toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    QElapsedTimer waited;
    waited.start();
    {
        MainWindow window(desktop(), clock, dir());
        EXPECT_FALSE(window.load());
    }
    // The lock may be let go within the three seconds' time-out; only then is it reported.
    EXPECT_GE(waited.elapsed(), 2500);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral(
        "Quillary.mdb is being used by another program. Close it there, then try again.")});
    other.exec("ROLLBACK");
    EXPECT_EQ(bytesOf(dbFile()), real);

    // Once the other program lets go, the same file starts the program.
    prompts.shown.clear();

    MainWindow window(desktop(), clock, dir());
    EXPECT_TRUE(window.load());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(QStringLiteral("|")).toStdString();
}
