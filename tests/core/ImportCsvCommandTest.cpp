// quillary --import-csv: exit codes, and nothing written unless imported.

#include <QDir>

#include "core/CommandLine.h"
#include "support/CoreTestEnv.h"

class ImportCsvCommandTest : public CommandTest {
protected:
    QStringList backups()
    {
        return QDir(session().locations().backupDir).entryList({QStringLiteral("*before-import*")}, QDir::Files);
    }
};

TEST_F(ImportCsvCommandTest, ExitCodesAndNothingWrittenUnlessImported)
{
    createDatabase();
    const QString db = path(QStringLiteral("Quillary.mdb"));
    writeFile(path(QStringLiteral("log.csv")), "Title;Market;Sent;Response\r\n"
                                               "Night Ferry;Brass Lantern;14/03/2024;Shortlisted\r\n"
                                               "Salt;Tin House;2/4/2024;\"Rejection, Form\"\r\n");
    const QByteArray before = readFile(db);

    // A word the tracker made up refuses the whole file; the database stays byte for byte.
    EXPECT_EQ(run({"--import-csv", "submissions", "log.csv"}), exitcode::kFailed);
    EXPECT_TRUE(err.contains(QStringLiteral("Shortlisted"))) << err.toStdString();
    EXPECT_EQ(readFile(db), before);
    EXPECT_TRUE(backups().isEmpty());

    // Mapped, the dry run reports what would be added and writes nothing; the import makes a copy first.
    EXPECT_EQ(run({"--import-csv", "submissions", "log.csv", "--status", "shortlisted=unreturned", "--dry-run"}),
              exitcode::kOk) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Submissions: 2 added, 0 already there, 0 refused"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Separator: semicolon")) && out.contains(QStringLiteral("dmy")));
    EXPECT_EQ(readFile(db), before);
    EXPECT_EQ(run({"--import-csv", "submissions", "log.csv", "--status", "Shortlisted=unreturned"}), exitcode::kOk)
        << err.toStdString();
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission")), 2);

    // No database yet: a dry run creates none, an import creates it.
    writeFile(path(QStringLiteral("works.csv")), "Name,Genre\nNight Ferry,Poem\n");
    EXPECT_EQ(run({"--import-csv", "works", "works.csv", "--database", "new.mdb", "--dry-run"}), exitcode::kOk);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("new.mdb"))));
    EXPECT_EQ(run({"--import-csv", "works", "works.csv", "--database", "new.mdb"}), exitcode::kOk)
        << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Works: 1 added")) && QFile::exists(path(QStringLiteral("new.mdb"))))
        << out.toStdString();
}
