// The main window's backups: the copy made at start and File > Back Up Database.

#include <QDir>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>

#include "core/Database.h"
#include "support/TestEnv.h"

class BackupWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        createDatabase();
        exec("INSERT INTO Work (Name, Genre_ID) VALUES ('Zebra Song', 1);");
        writeIni("[Initialisation]\r\n[Work-SQL]\r\n1=All,\r\nDefault=1\r\n");
    }
    // The main window started on the test's folder; what its status panel says.
    QString start()
    {
        startWindow();
        return caption();
    }
    // The works in a copy; -1 when it does not open.
    static int works(const QString& file)
    {
        auto copy = db::openExisting(file, nullptr);
        return copy ? copy->execAndGet("SELECT count(*) FROM Work;").getInt() : -1;
    }
};

TEST_F(BackupWindowTest, EachStartKeepsTheDaysCopyAndBackUpDatabaseWritesWhereChosen)
{
    writeFile(path("backups"), "");  // a file where the folder should be
    const QString told = start();
    EXPECT_TRUE(told.startsWith("Start-up backup failed")) << told.toStdString();
    EXPECT_TRUE(window->session().database());  // the program runs
    EXPECT_TRUE(prompts.shown.isEmpty());

    window.reset();
    QFile::remove(path("backups"));
    EXPECT_FALSE(start().contains("backup"));
    EXPECT_EQ(works(path("backups/Quillary-2026-12-06.mdb")), 1);

    // Back Up Database writes where the writer chose.
    auto* backup = child<QAction>(window, "backupAction");
    const QString target = path("chosen.mdb");
    prompts.saveNames = {target};
    backup->trigger();
    EXPECT_EQ(works(target), 1);
    EXPECT_TRUE(caption().contains(QDir::toNativeSeparators(target)));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // A place that cannot be written: a message, and no file.
    prompts.saveNames = {path("gone/copy.mdb")};
    backup->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.first().icon, Prompts::Icon::Critical);
    EXPECT_FALSE(QFileInfo::exists(path("gone")));
}

TEST_F(BackupWindowTest, TheStartCopyPrecedesTheUpgradeAndDamageIsToldWithTheLastGoodCopy)
{
    // A file of the previous schema version: its start-up copy is still that version.
    exec("DROP VIEW Expanded_Publisher; DROP VIEW Expanded_Submission; DROP TABLE Import_Added; DROP TABLE Import_Log;"
         "ALTER TABLE Publisher DROP COLUMN Answer_Within_Days; ALTER TABLE Publisher DROP COLUMN Simultaneous;"
         "ALTER TABLE Publisher DROP COLUMN Usual_Fee; ALTER TABLE Submission DROP COLUMN Fee;"
         "ALTER TABLE Submission DROP COLUMN Payment; ALTER TABLE Submission DROP COLUMN Date_Paid;"
         "CREATE VIEW Expanded_Publisher AS SELECT *, NULL AS Type FROM Publisher;"
         "CREATE VIEW Expanded_Submission AS SELECT *, NULL AS Work, NULL AS Publisher, NULL AS Status_Desc FROM Submission;"
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
         "INSERT INTO Publisher (Name) SELECT printf('%.300c', 'p') || i FROM n;"
         "PRAGMA user_version = 1;");
    start();
    const QString good = path("backups/Quillary-2026-12-06.mdb");
    auto version = [](const QString& file) {
        return SQLite::Database(file.toStdString(), SQLite::OPEN_READONLY).execAndGet("PRAGMA user_version;").getInt();
    };
    EXPECT_EQ(version(good), 1);
    EXPECT_EQ(version(path("Quillary.mdb")), db::kSchemaVersion);
    EXPECT_TRUE(prompts.shown.isEmpty());
    window.reset();

    // A page of publishers (which the Work view does not read) overwritten with garbage:
    // the next day's start says so, and the program runs.
    QFile file(path("Quillary.mdb"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray bytes = file.readAll();
    qint64 page = 4096;
    // A table's leaf page (type 13) holding publishers' names.
    while (page < bytes.size() && !(bytes[page] == 13 && bytes.mid(page, 4096).contains(QByteArray(300, 'p'))))
        page += 4096;
    ASSERT_LT(page, bytes.size());
    ASSERT_TRUE(file.seek(page));
    file.write(QByteArray(4096, '\xa5'));
    file.close();
    clock.date = QDate(2026, 12, 7);
    const QString told = start();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_TRUE(prompts.shown[0].text.contains("is damaged") && prompts.shown[0].text.contains(good))
        << prompts.shown[0].text.toStdString();
    EXPECT_TRUE(told.contains(good)) << told.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path("backups/Quillary-2026-12-07.damaged.mdb")));
    EXPECT_FALSE(QFileInfo::exists(path("backups/Quillary-2026-12-07.mdb")));
}
