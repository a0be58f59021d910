// Files at start-up that are not a usable database of this program: each is reported in a
// message naming the file, the program does not start, and the file is left byte for byte
// as it was, with no journal beside it.

#include <QDir>
#include <QFile>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include "app/modQuillary.h"
#include "data/Database.h"
#include "main/frmMain.h"
#include "platform/Grid.h"
#include "support/TestEnv.h"

namespace {

// Opens every file whose name ends in readOnlyName for reading only, as the engine does
// itself when the system refuses to open a file for writing. Running as root, the tests
// cannot make the system refuse (permissions do not apply to root), so this stands in.
class ReadOnlyFiles {
public:
    explicit ReadOnlyFiles(const QByteArray& name)
    {
        sName = name;
        sReal = sqlite3_vfs_find(nullptr);
        mVfs = *sReal;
        mVfs.zName = "quillary-test-readonly";
        mVfs.xOpen = &open;
        sqlite3_vfs_register(&mVfs, 1);
    }
    ~ReadOnlyFiles()
    {
        sqlite3_vfs_unregister(&mVfs);
        sqlite3_vfs_register(sReal, 1);
    }

private:
    static int open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
    {
        if (name && (flags & SQLITE_OPEN_MAIN_DB) && QByteArray(name).endsWith(sName))
            flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
        return sReal->xOpen(sReal, name, file, flags, outFlags);
    }

    static inline sqlite3_vfs* sReal = nullptr;
    static inline QByteArray sName;
    sqlite3_vfs mVfs{};
};

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

    // A real database of this program with some rows, closed, as bytes.
    QByteArray realDatabase(const char* change = nullptr)
    {
        QFile::remove(dbFile());
        createDatabase();
        exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 199) "
                            "INSERT INTO Work (Name, Genre_ID) SELECT 'Work number ' || i || ' with a longer name', 1 "
                            "FROM n"));
        if (change)
            exec(QString::fromLatin1(change));
        gDatabase.reset();
        const QByteArray bytes = bytesOf(dbFile());
        EXPECT_GT(bytes.size(), 8 * 4096);
        return bytes;
    }

    // Starts the program on what is in the folder: it must refuse, with one message naming
    // the file and containing reason, and leave the folder as it was.
    void expectRefused(const QString& what, const QString& reason)
    {
        SCOPED_TRACE(what.toStdString());
        const QByteArray before = bytesOf(dbFile());
        const QStringList filesBefore = QDir(dir()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        prompts.shown.clear();
        ResetSharedState();
        {
            frmMain window(dir());
            EXPECT_FALSE(window.Load());
            EXPECT_FALSE(window.isVisible());
        }
        EXPECT_FALSE(gDatabase);
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
        EXPECT_TRUE(prompts.shown[0].text.contains(dbFile())) << prompts.shown[0].text.toStdString();
        EXPECT_TRUE(prompts.shown[0].text.contains(reason)) << prompts.shown[0].text.toStdString();
        EXPECT_EQ(bytesOf(dbFile()), before);
        EXPECT_EQ(QDir(dir()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), filesBefore);
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            EXPECT_FALSE(QFile::exists(dbFile() + QLatin1String(suffix))) << suffix;
    }
};

TEST_F(HostileFilesTest, EmptyForeignAndTruncatedFilesAreRefusedUntouched)
{
    put(QByteArray());
    expectRefused(QStringLiteral("empty file"), QStringLiteral("not a Quillary database"));

    put(QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + QByteArray(600, 'z'));
    expectRefused(QStringLiteral("ZIP archive"), QStringLiteral("file is not a database"));

    QByteArray jet("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    jet += QByteArray(2048 - jet.size(), '\x00');
    put(jet);
    expectRefused(QStringLiteral("Jet database"), QStringLiteral("file is not a database"));

    // A file cut short anywhere: inside the header, at and inside later pages.
    const QByteArray real = realDatabase();
    for (const qsizetype length : {qsizetype(16), qsizetype(99), qsizetype(100), qsizetype(4096), qsizetype(3 * 4096 + 7),
                                   real.size() / 2, real.size() - 4096}) {
        put(real.left(length));
        const QString what = QStringLiteral("first %1 of %2 bytes").arg(length).arg(real.size());
        if (length <= 16)  // not even the engine's signature
            expectRefused(what, QStringLiteral("file is not a database"));
        else
            expectRefused(what, QStringLiteral("malformed"));
    }

    // Not a file at all.
    QFile::remove(dbFile());
    ASSERT_TRUE(QDir(dir()).mkdir(QStringLiteral("Quillary.mdb")));
    expectRefused(QStringLiteral("folder"), QStringLiteral("not a file"));
}

TEST_F(HostileFilesTest, DatabasesOfThisProgramThatItCannotUseAreRefusedUntouched)
{
    realDatabase("DROP TABLE Publisher_Genre");
    expectRefused(QStringLiteral("missing table"), QStringLiteral("table Publisher_Genre"));

    realDatabase("DROP VIEW Expanded_Submission");
    expectRefused(QStringLiteral("missing view"), QStringLiteral("view Expanded_Submission"));

    realDatabase(("PRAGMA user_version = " + std::to_string(db::kSchemaVersion + 1)).c_str());
    expectRefused(QStringLiteral("newer schema"), QStringLiteral("newer version of Quillary"));

    // A file that cannot be written: the program would fail at the first save.
    realDatabase();
    {
        ReadOnlyFiles readOnly("/Quillary.mdb");
        expectRefused(QStringLiteral("read-only file"), QStringLiteral("cannot be written"));
    }
    if (geteuid() != 0) {
        // Where permissions apply, the same through the file's own mode.
        ASSERT_TRUE(QFile::setPermissions(dbFile(), QFile::ReadOwner | QFile::ReadUser));
        expectRefused(QStringLiteral("mode 0400"), QStringLiteral("cannot be written"));
        QFile::setPermissions(dbFile(), QFile::ReadOwner | QFile::WriteOwner);
    }

    // The same file, usable again, starts the program.
    prompts.shown.clear();
    ResetSharedState();
    frmMain window(dir());
    EXPECT_TRUE(window.Load());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(window.grdData->rows(), 201);
}
