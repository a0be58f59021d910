// The main window's backups: the copy made at start, File > Back Up Database, and the
// About box naming the files in use.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <SQLiteCpp/Database.h>

#include "core/Database.h"
#include "gui/AboutDialog.h"
#include "gui/MainWindow.h"
#include "gui/StatusPanel.h"
#include "support/TestEnv.h"

class BackupWindowTest : public QuillaryTest {
protected:
    void TearDown() override
    {
        window.reset();
        QuillaryTest::TearDown();
    }

    MainWindow& start()
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Zebra Song', 1);"));
        session().closeDatabase();
        writeIni("[Initialisation]\r\n[Work-SQL]\r\n1=All,\r\nDefault=1\r\n");
        window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
        EXPECT_TRUE(window->load());
        return *window;
    }

    static int works(const QString& file)
    {
        QString error;
        auto copy = db::openExisting(file, &error);
        EXPECT_TRUE(copy) << error.toStdString();
        return copy ? copy->execAndGet("SELECT count(*) FROM Work;").getInt() : -1;
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(BackupWindowTest, EachStartKeepsTheDaysCopy)
{
    createDatabase();
    start();
    EXPECT_EQ(works(path(QStringLiteral("backups/Quillary-2026-12-06.mdb"))), 1);
    EXPECT_FALSE(child<StatusPanel>(window, "statusPanel")->caption().contains(QStringLiteral("backup")));
}

TEST_F(BackupWindowTest, AFailedStartCopyIsToldInTheStatusPanelAndTheProgramRuns)
{
    createDatabase();
    QFile blocker(path(QStringLiteral("backups")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MainWindow& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.session().database());
    EXPECT_TRUE(child<StatusPanel>(w, "statusPanel")->caption().startsWith(QStringLiteral("Start-up backup failed"))) << child<StatusPanel>(w, "statusPanel")->caption().toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(BackupWindowTest, BackUpDatabaseWritesWhereTheWriterChose)
{
    createDatabase();
    MainWindow& w = start();
    ASSERT_TRUE(child<QAction>(w, "backupAction"));
    const QString target = path(QStringLiteral("chosen.mdb"));
    prompts.saveNames = {target};
    child<QAction>(w, "backupAction")->trigger();
    ASSERT_EQ(prompts.suggestedSaves.size(), 1);
    EXPECT_EQ(QFileInfo(prompts.suggestedSaves.first()).fileName(), QStringLiteral("Quillary-2026-12-06.mdb"));
    EXPECT_EQ(works(target), 1);
    EXPECT_TRUE(child<StatusPanel>(w, "statusPanel")->caption().contains(QDir::toNativeSeparators(target)));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Cancelled: nothing is written, nothing is said.
    child<QAction>(w, "backupAction")->trigger();
    EXPECT_EQ(QDir(mDir.path()).entryList({QStringLiteral("*.mdb")}, QDir::Files).size(), 2);

    // A place that cannot be written: a message, and no file.
    prompts.saveNames = {path(QStringLiteral("gone/copy.mdb"))};
    child<QAction>(w, "backupAction")->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.first().icon, Prompts::Icon::Critical);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone"))));
}

TEST_F(BackupWindowTest, AboutNamesTheSettingsFileAndDatabaseInUse)
{
    createDatabase();
    MainWindow& w = start();
    QString settingsTip, databaseTip;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        if (!about)
            return;
        settingsTip = child<QLabel>(about, "settingsFileLabel")->toolTip();
        databaseTip = child<QLabel>(about, "databaseFileLabel")->toolTip();
        about->close();
    });
    child<QAction>(w, "aboutAction")->trigger();
    EXPECT_EQ(settingsTip, QStringLiteral("Settings: ") + QDir::toNativeSeparators(iniFile()));
    EXPECT_EQ(databaseTip, QStringLiteral("Database: ") + QDir::toNativeSeparators(path(QStringLiteral("Quillary.mdb"))));

    // Without them the box is as it always was.
    AboutDialog plain(links);
    EXPECT_EQ(plain.findChild<QLabel*>(QStringLiteral("settingsFileLabel")), nullptr);
}
