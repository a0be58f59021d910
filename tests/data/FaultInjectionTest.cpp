// The database refusing in the middle of a change: nothing half-stored, and a retry works.

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "app/modQuillary.h"
#include "editors/frmWork.h"
#include "main/frmMain.h"
#include "platform/Grid.h"
#include "support/TestEnv.h"

namespace {

const QString kLocked =
    QStringLiteral("Quillary.mdb is being used by another program. Close it there, then try again.");

} // namespace

class FaultInjectionTest : public QuillaryTest {};

TEST_F(FaultInjectionTest, ADeleteRefusedHalfWayKeepsThePublisherAndItsGenres)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID) VALUES (7, 'Granta', 1), (8, 'Ambit', 1);"
                        "INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (7, 1), (7, 2), (8, 1);"
                        "CREATE TRIGGER refuse BEFORE DELETE ON Publisher_Genre "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the write'); END;"));
    gDatabase.reset();
    writeIni("[Initialisation]\r\nMode=Publisher\r\n");
    frmMain w(mDir.path());
    ASSERT_TRUE(w.Load());

    // The publisher row goes first, then its genre links fail: all of it is undone.
    w.grdData->setRow(2);
    prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.texts().join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("could not be deleted")));
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("disk refused the write")));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 7")), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 3);
    EXPECT_TRUE(sqlite3_get_autocommit(gDatabase->getHandle())) << "a transaction was left open";
    EXPECT_EQ(w.grdData->rows(), 3);

    exec(QStringLiteral("DROP TRIGGER refuse"));
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 7")), 0);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 1);
    EXPECT_EQ(w.grdData->rows(), 2);
}

TEST_F(FaultInjectionTest, ASaveBlockedByAnotherProgramsLockIsReportedAndWorksAfterwards)
{
    createDatabase();
    // The program waits three seconds for a lock; the test need not.
    EXPECT_EQ(queryInt(QStringLiteral("PRAGMA busy_timeout")), 3000);
    gDatabase->setBusyTimeout(200);
    exec(QStringLiteral("INSERT INTO Work (ID, Name, Genre_ID, Year_Written) VALUES (1, 'Kept', 1, '1999')"));
    SQLite::Database other(path(QStringLiteral("Quillary.mdb")).toStdString(), SQLite::OPEN_READWRITE);

    gEditAction = QStringLiteral("New");
    frmWork editor;
    ASSERT_TRUE(editor.Load());
    editor.show();
    QTest::keyClicks(editor.txtName, QStringLiteral("Blocked"));
    other.exec("BEGIN EXCLUSIVE");
    QElapsedTimer waited;
    waited.start();
    QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
    EXPECT_GE(waited.elapsed(), 150);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, kLocked);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.txtName->text(), QStringLiteral("Blocked"));

    other.exec("COMMIT");
    QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name, ',') FROM (SELECT Name FROM Work ORDER BY ID)")),
              QStringLiteral("Kept,Blocked"));

    // While the file is held, an editor cannot even read its row: it says so and does not open.
    gEditAction = QStringLiteral("Amend");
    gRecordID = 1;
    other.exec("BEGIN EXCLUSIVE");
    {
        frmWork blocked;
        EXPECT_FALSE(blocked.Load());
        EXPECT_EQ(prompts.texts().value(1), kLocked);
    }
    other.exec("ROLLBACK");

    // An amend blocked at its save leaves the stored row as it was.
    frmWork amend;
    ASSERT_TRUE(amend.Load());
    amend.show();
    amend.txtName->clear();
    QTest::keyClicks(amend.txtName, QStringLiteral("Changed"));
    other.exec("BEGIN EXCLUSIVE");
    QTest::mouseClick(amend.cmdOK, Qt::LeftButton);
    EXPECT_EQ(prompts.texts().mid(2), QStringList{kLocked});
    EXPECT_TRUE(amend.isVisible());
    other.exec("ROLLBACK");
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = 1")), QStringLiteral("Kept"));
    QTest::mouseClick(amend.cmdOK, Qt::LeftButton);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = 1")), QStringLiteral("Changed"));
}
