// An export or backup never lands on the program's own files, however they are named.

#include <QDir>
#include <QFile>
#include <unistd.h>

#include "core/OutputGuard.h"
#include "support/CoreTestEnv.h"

using OutputGuardTest = CoreTest;

TEST_F(OutputGuardTest, TheProgramsOwnFilesAreRefusedHoweverTheyAreNamed)
{
    createDatabase();
    writeIni("[Initialisation]\r\n");
    const OwnFiles own = ownFilesOf(session());
    ASSERT_EQ(own.database, path("Quillary.mdb"));
    ASSERT_EQ(own.settingsFile, iniFile());
    auto link = [this](const char* target, const char* name) {
        ASSERT_TRUE(QFile::link(path(QString::fromLatin1(target)), path(QString::fromLatin1(name))));
    };
    link("Quillary.mdb", "link.csv");
    link("Quillary.mdb-journal", "journal-link.csv");  // no journal now: the link would make one
    link("QUILLARY.INI", "settings-link.csv");
    link(".", "folder");
    ASSERT_EQ(::link(QFile::encodeName(path("Quillary.mdb")).constData(),
                     QFile::encodeName(path("hard.mdb")).constData()), 0);
    writeFile(path("other.csv"), "old");

    const std::pair<const char*, const char*> refused[] = {
        {"Quillary.mdb", "the database in use"},
        {"folder/Quillary.mdb", "the database in use"},
        {"link.csv", "the database in use"},
        {"hard.mdb", "the database in use"},
        {"Quillary.mdb-journal", "working file"},
        {"folder/Quillary.mdb-shm", "working file"},
        {"journal-link.csv", "working file"},
        {"Quillary.mdb.lock", "lock file"},
        {"QUILLARY.INI", "the settings file"},
        {"settings-link.csv", "the settings file"},
    };
    for (const auto& [name, what] : refused) {
        const QString message = refuseOutput(path(QString::fromLatin1(name)), own);
        EXPECT_TRUE(message.contains(path(QString::fromLatin1(name))) && message.contains(QLatin1String(what)))
            << name << ": " << message.toStdString();
    }
    for (const char* name : {"other.csv", "Quillary.mdb.csv", "folder/other.csv"})
        EXPECT_EQ(refuseOutput(path(QString::fromLatin1(name)), own), QString()) << name;

    // A database opened through a link: the file it leads to and that file's journal.
    const OwnFiles linked{path("link.csv"), QString()};
    EXPECT_FALSE(refuseOutput(path("Quillary.mdb"), linked).isEmpty());
    EXPECT_FALSE(refuseOutput(path("Quillary.mdb-journal"), linked).isEmpty());
    EXPECT_EQ(refuseOutput(iniFile(), linked), QString());

    // Names that would be written as another name: undecodable bytes, an embedded NUL.
    for (const QString& name : {path(QStringLiteral("bad\uFFFD.csv")), path(QStringLiteral("cut")) + QChar(0) + "x.csv"}) {
        EXPECT_FALSE(representableFileName(name));
        EXPECT_TRUE(refuseOutput(name, own).contains(QLatin1String("cannot be used")));
    }
    EXPECT_TRUE(representableFileName(path(QStringLiteral("Café.csv"))));
}
