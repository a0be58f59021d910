// Where the settings file, database and backups are.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "core/FileLocations.h"
#include "core/Session.h"
#include "support/CoreTestEnv.h"

namespace {

LocationInputs inputs(bool hasSettings, bool hasDatabase, bool writable)
{
    return {.program = ProgramFolder{QStringLiteral("/opt/q/bin"), hasSettings, hasDatabase, writable},
            .configDir = QStringLiteral("/home/w/.config/Quillary"),
            .dataDir = QStringLiteral("/home/w/.local/share/Quillary")};
}

// Where the rule puts everything, as one line.
QString where(const LocationInputs& in)
{
    const FileLocations l = resolveFileLocations(in);
    return QStringList({l.portable ? "portable" : "desktop", l.settingsFile, l.database, l.backupDir,
                        l.startingSettings, l.databaseExplicit ? "named" : ""}).join(' ');
}

} // namespace

TEST(FileLocationRule, APortableFolderTheDesktopsFoldersOrTheNamedFiles)
{
    // A folder with either file that the program may write keeps everything beside it.
    EXPECT_EQ(where(inputs(false, true, true)), "portable /opt/q/bin/QUILLARY.INI /opt/q/bin/Quillary.mdb /opt/q/bin/backups  ");
    // An empty folder, and one whose files the program may not write.
    const QString desktop = "desktop /home/w/.config/Quillary/QUILLARY.INI /home/w/.local/share/Quillary/Quillary.mdb "
                            "/home/w/.local/share/Quillary/backups /opt/q/share/quillary/QUILLARY.INI ";
    EXPECT_EQ(where(inputs(false, false, true)), desktop);
    EXPECT_EQ(where(inputs(true, true, false)), desktop);
    // Files named on the command line win; a named settings file is not ours to fill.
    LocationInputs in = inputs(true, false, true);
    in.settingsOption = QStringLiteral("/tmp/a/My.ini");
    in.databaseOption = QStringLiteral("/tmp/b/../b/Other.mdb");
    EXPECT_EQ(where(in), "portable /tmp/a/My.ini /tmp/b/Other.mdb /opt/q/bin/backups  named");
    // Only the database named: the settings stay where the rule puts them.
    in = inputs(false, false, true);
    in.databaseOption = QStringLiteral("/tmp/b/Other.mdb");
    EXPECT_EQ(where(in), QString(desktop).replace("/home/w/.local/share/Quillary/Quillary.mdb", "/tmp/b/Other.mdb") + "named");
}

class FileLocationsOnDisk : public CoreTest {
protected:
    // An installed layout: <root>/bin, <root>/share/quillary/QUILLARY.INI, and the
    // desktop's folders under <root>/home.
    FileLocations installed()
    {
        QDir().mkpath(path(QStringLiteral("bin")));
        QDir().mkpath(path(QStringLiteral("share/quillary")));
        writeFile(path(QStringLiteral("share/quillary/QUILLARY.INI")), "[Initialisation]\r\nMode=Publisher\r\n");
        return resolveFileLocations({.program = observeProgramFolder(path(QStringLiteral("bin"))),
                                     .configDir = path(QStringLiteral("home/config/Quillary")),
                                     .dataDir = path(QStringLiteral("home/data/Quillary"))});
    }
};

TEST_F(FileLocationsOnDisk, SeesTheProgramsFilesAndWhetherItMayWrite)
{
    ProgramFolder folder = observeProgramFolder(dir());
    EXPECT_FALSE(folder.hasSettings || folder.hasDatabase);
    writeIni("[Initialisation]\r\n");
    writeFile(path(QStringLiteral("Quillary.mdb")), "");
    folder = observeProgramFolder(dir());
    EXPECT_TRUE(folder.hasSettings && folder.hasDatabase);
    // Root may write into a read-only folder: only others can be kept out.
    if (geteuid() != 0) {
        QFile::setPermissions(mDir.path(), QFile::ReadOwner | QFile::ExeOwner);
        folder = observeProgramFolder(dir());
        QFile::setPermissions(mDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_FALSE(folder.writable);
    }
}

TEST_F(FileLocationsOnDisk, TheFirstStartCopiesTheStartingSettingsAndTheSessionFindsItsDatabase)
{
    FileLocations l = installed();
    ASSERT_FALSE(l.portable);
    QString error;
    ASSERT_TRUE(provideSettingsFile(l, &error)) << error.toStdString();
    EXPECT_EQ(readFile(l.settingsFile), QByteArray("[Initialisation]\r\nMode=Publisher\r\n"));
    EXPECT_TRUE(QFileInfo(l.settingsFile).isWritable() && QFileInfo(QFileInfo(l.database).absolutePath()).isDir());
    // The user's own settings are kept at every later start.
    writeFile(l.settingsFile, "mine");
    ASSERT_TRUE(provideSettingsFile(l, &error));
    EXPECT_EQ(readFile(l.settingsFile), QByteArray("mine"));

    // The session's database: the default, then one the settings name (from their folder),
    // then one named on the command line.
    EXPECT_EQ(Session(l, clock).databasePath(), l.database);
    writeFile(l.settingsFile, "[Initialisation]\r\nDatabase=Books/Mine.mdb\r\n");
    EXPECT_EQ(Session(l, clock).databasePath(), QFileInfo(l.settingsFile).absolutePath() + QStringLiteral("/Books/Mine.mdb"));
    l.database = path(QStringLiteral("named.mdb"));
    l.databaseExplicit = true;
    EXPECT_EQ(Session(l, clock).databasePath(), path(QStringLiteral("named.mdb")));

    // In a portable folder nothing is copied.
    EXPECT_TRUE(provideSettingsFile(FileLocations::inFolder(path(QStringLiteral("bin"))), &error));
    EXPECT_EQ(QDir(path(QStringLiteral("bin"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    // A folder that cannot be made is reported.
    QDir(path(QStringLiteral("home"))).removeRecursively();
    writeFile(path(QStringLiteral("home")), "a file where the folder should be");
    EXPECT_FALSE(provideSettingsFile(l, &error));
    EXPECT_TRUE(error.contains(path(QStringLiteral("home")))) << error.toStdString();
}
