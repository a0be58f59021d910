// Files at start-up that are no usable database: refused by name and left untouched.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include "core/Database.h"
#include "gui/GridView.h"
#include "gui/MainWindow.h"
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
        return readFile(dbFile());
    }
    // Whether the program starts on the file as it is.
    bool starts()
    {
        prompts.shown.clear();
        MainWindow window(desktop(), clock, dir());
        return window.load() && child<GridView>(window, "grid")->model()->rowCount() == 200;
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
        QByteArray bytes;
        const char* reason;
        bool readOnly = false;
    };
    const Case cases[] = {
        {QByteArray(), "not a Quillary database"},
        {QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\x00'), "file is not a database"},
        {real.left(3 * 4096 + 7), "malformed"},
        {realDatabase(QStringLiteral("DROP TABLE Publisher_Genre")), "table Publisher_Genre"},
        {realDatabase(QStringLiteral("PRAGMA user_version = %1").arg(db::kSchemaVersion + 1)),
         "newer version of Quillary"},
        {real, "cannot be written", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        writeFile(dbFile(), c.bytes);
        sqlite3_vfs_register(c.readOnly ? &readOnlyVfs : gRealVfs, 1);
        EXPECT_FALSE(starts());
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
        EXPECT_TRUE(prompts.shown[0].text.contains(dbFile()) && prompts.shown[0].text.contains(QLatin1String(c.reason)))
            << prompts.shown[0].text.toStdString();
        EXPECT_EQ(readFile(dbFile()), c.bytes);
        EXPECT_EQ(QDir(dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Quillary.mdb"});
    }
    sqlite3_vfs_unregister(&readOnlyVfs);
    sqlite3_vfs_register(gRealVfs, 1);

    // A folder by the database's name.
    ASSERT_TRUE(QFile::remove(dbFile()) && QDir(dir()).mkdir(QStringLiteral("Quillary.mdb")));
    EXPECT_FALSE(starts());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QLatin1String("not a file"))) << prompts.shown[0].text.toStdString();
}

TEST_F(HostileFilesTest, AFileLockedByAnotherProgramIsWaitedForReportedAndLeftUnchanged)
{
    const QByteArray real = realDatabase();
    SQLite::Database other(dbFile().toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(starts());
    // Reported only after the three seconds in which the lock may be let go.
    EXPECT_GE(waited.elapsed(), 2500);
    EXPECT_EQ(prompts.texts(), QStringList{"Quillary.mdb is being used by another program. Close it there, then try again."});
    other.exec("ROLLBACK");
    EXPECT_EQ(readFile(dbFile()), real);

    EXPECT_TRUE(starts());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join('|').toStdString();
}
