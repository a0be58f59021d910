// The database refusing in the middle of a change: a delete that fails half way stores
// nothing, and a save blocked by another program's lock is reported, loses nothing and
// works once the lock is gone. The windows stay usable throughout.

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <memory>

#include "app/modQuillary.h"
#include "editors/frmWork.h"
#include "main/frmMain.h"
#include "platform/Grid.h"
#include "support/TestEnv.h"

class FaultInjectionTest : public QuillaryTest {
protected:
    void TearDown() override
    {
        window.reset();
        QuillaryTest::TearDown();
    }

    std::unique_ptr<frmMain> window;
};

TEST_F(FaultInjectionTest, ADeleteRefusedHalfWayKeepsThePublisherAndItsGenres)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID) VALUES (7, 'Granta', 1), (8, 'Ambit', 1);"
                        "INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (7, 1), (7, 2), (8, 1);"
                        "CREATE TRIGGER refuse BEFORE DELETE ON Publisher_Genre "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the write'); END;"));
    gDatabase.reset();
    writeIni("[Initialisation]\r\nMode=Publisher\r\n");
    window = std::make_unique<frmMain>(mDir.path());
    ASSERT_TRUE(window->Load());
    frmMain& w = *window;
    ASSERT_EQ(w.grdData->rows(), 3);
    ASSERT_EQ(w.grdData->cellText(2, 0), QStringLiteral("Granta"));

    // The publisher row goes first, then its genre links fail: all of it is undone.
    w.grdData->setRow(2);
    prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.texts().join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(prompts.shown[1].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("could not be deleted")));
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("disk refused the write")));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 7")), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre WHERE Publisher_ID = 7")), 2);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 3);
    EXPECT_FALSE(gDatabase->getHandle() == nullptr);
    EXPECT_TRUE(sqlite3_get_autocommit(gDatabase->getHandle())) << "a transaction was left open";

    // The window still lists the publisher and the same command works once the engine allows it.
    EXPECT_EQ(w.grdData->rows(), 3);
    EXPECT_EQ(w.grdData->cellText(w.grdData->row(), 0), QStringLiteral("Granta"));
    exec(QStringLiteral("DROP TRIGGER refuse"));
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 7")), 0);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 1);
    EXPECT_EQ(w.grdData->rows(), 2);
    EXPECT_EQ(w.grdData->cellText(1, 0), QStringLiteral("Ambit"));
}

TEST_F(FaultInjectionTest, ASaveBlockedByAnotherProgramsLockIsReportedAndWorksAfterwards)
{
    createDatabase();
    // The program waits three seconds for a lock; the test need not.
    EXPECT_EQ(queryInt(QStringLiteral("PRAGMA busy_timeout")), 3000);
    gDatabase->setBusyTimeout(200);
    exec(QStringLiteral("INSERT INTO Work (ID, Name, Genre_ID, Year_Written) VALUES (1, 'Kept', 1, '1999')"));

    gEditAction = QStringLiteral("New");
    gRecordID = 0;
    frmWork editor;
    ASSERT_TRUE(editor.Load());
    editor.show();
    QTest::keyClicks(editor.txtName, QStringLiteral("Blocked"));

    // Another program takes the file while the editor is open.
    SQLite::Database other(path(QStringLiteral("Quillary.mdb")).toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    QElapsedTimer waited;
    waited.start();
    QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
    EXPECT_GE(waited.elapsed(), 150);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("could not be saved")));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("locked"))) << prompts.shown[0].text.toStdString();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.txtName->text(), QStringLiteral("Blocked"));
    EXPECT_FALSE(gDataChanged);

    // Released: the same OK stores it, and nothing else changed.
    other.exec("COMMIT");
    prompts.shown.clear();
    QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(QStringLiteral("|")).toStdString();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name, ',') FROM (SELECT Name FROM Work ORDER BY ID)")),
              QStringLiteral("Kept,Blocked"));

    // While the file is held, an editor cannot even read its row: it says so and does not open.
    other.exec("BEGIN EXCLUSIVE");
    gEditAction = QStringLiteral("Amend");
    gRecordID = 1;
    gDataChanged = false;
    {
        frmWork blocked;
        EXPECT_FALSE(blocked.Load());
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("locked"))) << prompts.shown[0].text.toStdString();
    }
    other.exec("ROLLBACK");

    // An amend blocked at its save leaves the stored row as it was.
    prompts.shown.clear();
    frmWork amend;
    ASSERT_TRUE(amend.Load());
    amend.show();
    amend.txtName->clear();
    QTest::keyClicks(amend.txtName, QStringLiteral("Changed"));
    other.exec("BEGIN EXCLUSIVE");
    QTest::mouseClick(amend.cmdOK, Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(amend.isVisible());
    other.exec("ROLLBACK");
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = 1")), QStringLiteral("Kept"));
    QTest::mouseClick(amend.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(amend.isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = 1")), QStringLiteral("Changed"));
}
