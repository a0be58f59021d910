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
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        exec("INSERT INTO Work (Name, Genre_ID) VALUES ('Zebra Song', 1);");
        writeIni("[Initialisation]\r\n[Work-SQL]\r\n1=All,\r\nDefault=1\r\n");
    }
    void TearDown() override
    {
        window.reset();
        QuillaryTest::TearDown();
    }
    // The main window started on the test's folder; what its status panel says.
    QString start()
    {
        session().closeDatabase();
        window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
        EXPECT_TRUE(window->load());
        return child<StatusPanel>(window, "statusPanel")->caption();
    }
    // The works in a copy; -1 when it does not open.
    static int works(const QString& file)
    {
        auto copy = db::openExisting(file, nullptr);
        return copy ? copy->execAndGet("SELECT count(*) FROM Work;").getInt() : -1;
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(BackupWindowTest, EachStartKeepsTheDaysCopyAndBackUpDatabaseWritesWhereChosen)
{
    QFile blocker(path("backups"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString told = start();
    EXPECT_TRUE(told.startsWith("Start-up backup failed")) << told.toStdString();
    EXPECT_TRUE(window->session().database());  // the program runs
    EXPECT_TRUE(prompts.shown.isEmpty());

    window.reset();
    blocker.remove();
    EXPECT_FALSE(start().contains("backup"));
    EXPECT_EQ(works(path("backups/Quillary-2026-12-06.mdb")), 1);

    // Back Up Database writes where the writer chose.
    auto* backup = child<QAction>(window, "backupAction");
    const QString target = path("chosen.mdb");
    prompts.saveNames = {target};
    backup->trigger();
    ASSERT_EQ(prompts.suggestedSaves.size(), 1);
    EXPECT_EQ(QFileInfo(prompts.suggestedSaves.first()).fileName(), "Quillary-2026-12-06.mdb");
    EXPECT_EQ(works(target), 1);
    EXPECT_TRUE(child<StatusPanel>(window, "statusPanel")->caption().contains(QDir::toNativeSeparators(target)));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Cancelled: nothing is written, nothing is said.
    backup->trigger();
    EXPECT_EQ(QDir(mDir.path()).entryList({"*.mdb"}, QDir::Files).size(), 2);
    EXPECT_TRUE(prompts.shown.isEmpty());

    // A place that cannot be written: a message, and no file.
    prompts.saveNames = {path("gone/copy.mdb")};
    backup->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.first().icon, Prompts::Icon::Critical);
    EXPECT_FALSE(QFileInfo::exists(path("gone")));

    // The About box names the files in use.
    QString tips;
    QTimer::singleShot(0, [&] {
        auto* about = QApplication::activeModalWidget();
        tips = child<QLabel>(about, "settingsFileLabel")->toolTip() + '|' + child<QLabel>(about, "databaseFileLabel")->toolTip();
        about->close();
    });
    child<QAction>(window, "aboutAction")->trigger();
    EXPECT_EQ(tips, "Settings: " + QDir::toNativeSeparators(iniFile()) + "|Database: "
                        + QDir::toNativeSeparators(path("Quillary.mdb")));
}
