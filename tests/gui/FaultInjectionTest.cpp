// The database refusing in the middle of a change: nothing half-stored, and a retry works.

#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <cstring>
#include <sqlite3.h>

#include "gui/StatusMessage.h"
#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "gui/editors/WorkEditor.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {

const QString kLocked =
    QStringLiteral("Quillary.mdb is being used by another program. Close it there, then try again.");

// Refuses to fill the publisher types, as a new database is being made, when enabled.
bool gRefuseLookupRows = false;

int refuseLookupRows(void*, int action, const char* table, const char*, const char*, const char*)
{
    return action == SQLITE_INSERT && table && std::strcmp(table, "Publisher_Type") == 0 ? SQLITE_DENY
                                                                                          : SQLITE_OK;
}

int installRefusal(sqlite3* connection, const char**, const sqlite3_api_routines*)
{
    if (gRefuseLookupRows)
        sqlite3_set_authorizer(connection, refuseLookupRows, nullptr);
    return SQLITE_OK;
}

} // namespace

class FaultInjectionTest : public QuillaryTest {
protected:
    // Everything the multi-row saves touch, as one text to compare before and after.
    QString contents()
    {
        return queryText(QStringLiteral(
            "SELECT (SELECT group_concat(ID || ':' || Name || ':' || \"Submit?\" || \"Submitted?\" || "
            "\"Accepted?\" || \"Published?\", ' ') FROM Work) || ' | ' || "
            "(SELECT group_concat(ID || ':' || Name || ':' || Type_ID || \"Submit_To?\" || \"Submitted_To?\", ' ') "
            "FROM Publisher) || ' | ' || "
            "(SELECT group_concat(Publisher_ID || '-' || Genre_ID, ' ') FROM Publisher_Genre) || ' | ' || "
            "(SELECT group_concat(ID || ':' || Work_ID || '/' || Publisher_ID || '/' || Status, ' ') FROM Submission)"));
    }
    bool inTransaction() { return !sqlite3_get_autocommit(database().getHandle()); }
};

TEST_F(FaultInjectionTest, ADeleteRefusedHalfWayKeepsThePublisherAndItsGenres)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID) VALUES (7, 'Granta', 1), (8, 'Ambit', 1);"
                        "INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (7, 1), (7, 2), (8, 1);"
                        "CREATE TRIGGER refuse BEFORE DELETE ON Publisher_Genre "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the write'); END;"));
    session().closeDatabase();
    writeIni("[Initialisation]\r\nMode=Publisher\r\n");
    MainWindow w(desktop(), clock, mDir.path());
    ASSERT_TRUE(w.load());

    // The publisher row goes first, then its genre links fail: all of it is undone.
    child<GridView>(w, "grid")->setRow(2);
    prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(child<QToolButton>(w, "deleteButton"), Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.texts().join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("could not be deleted")));
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("disk refused the write")));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 7")), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 3);
    EXPECT_TRUE(sqlite3_get_autocommit(w.session().database()->getHandle())) << "a transaction was left open";
    EXPECT_EQ(child<GridView>(w, "grid")->rows(), 3);

    exec(QStringLiteral("DROP TRIGGER refuse"));
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(child<QToolButton>(w, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 7")), 0);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 1);
    EXPECT_EQ(child<GridView>(w, "grid")->rows(), 2);
}

TEST_F(FaultInjectionTest, ASaveBlockedByAnotherProgramsLockIsReportedAndWorksAfterwards)
{
    createDatabase();
    // The program waits three seconds for a lock; the test need not.
    EXPECT_EQ(queryInt(QStringLiteral("PRAGMA busy_timeout")), 3000);
    database().setBusyTimeout(200);
    exec(QStringLiteral("INSERT INTO Work (ID, Name, Genre_ID, Year_Written) VALUES (1, 'Kept', 1, '1999')"));
    SQLite::Database other(path(QStringLiteral("Quillary.mdb")).toStdString(), SQLite::OPEN_READWRITE);

    WorkEditor editor(session(), desktop());
    ASSERT_TRUE(editor.load(EditRequest{View::Work, EditMode::New}));
    editor.show();
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Blocked"));
    other.exec("BEGIN EXCLUSIVE");
    QElapsedTimer waited;
    waited.start();
    QTest::mouseClick(child<QPushButton>(editor, "okButton"), Qt::LeftButton);
    EXPECT_GE(waited.elapsed(), 150);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, kLocked);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Blocked"));

    other.exec("COMMIT");
    QTest::mouseClick(child<QPushButton>(editor, "okButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(editor.result().dataChanged);
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name, ',') FROM (SELECT Name FROM Work ORDER BY ID)")),
              QStringLiteral("Kept,Blocked"));

    // While the file is held, an editor cannot even read its row: it says so and does not open.
    const EditRequest amendFirst{View::Work, EditMode::Amend, 1};
    other.exec("BEGIN EXCLUSIVE");
    {
        WorkEditor blocked(session(), desktop());
        EXPECT_FALSE(blocked.load(amendFirst));
        EXPECT_EQ(prompts.texts().value(1), kLocked);
    }
    other.exec("ROLLBACK");

    // An amend blocked at its save leaves the stored row as it was.
    WorkEditor amend(session(), desktop());
    ASSERT_TRUE(amend.load(amendFirst));
    amend.show();
    child<QLineEdit>(amend, "nameEdit")->clear();
    QTest::keyClicks(child<QLineEdit>(amend, "nameEdit"), QStringLiteral("Changed"));
    other.exec("BEGIN EXCLUSIVE");
    QTest::mouseClick(child<QPushButton>(amend, "okButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.texts().mid(2), QStringList{kLocked});
    EXPECT_TRUE(amend.isVisible());
    other.exec("ROLLBACK");
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = 1")), QStringLiteral("Kept"));
    QTest::mouseClick(child<QPushButton>(amend, "okButton"), Qt::LeftButton);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = 1")), QStringLiteral("Changed"));
}

TEST_F(FaultInjectionTest, PublisherSavesRefusedAtTheirLinksStoreNothingAndRetry)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID) VALUES (7, 'Granta', 1);"
                        "INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (7, 1), (7, 2);"));
    const QString before = contents();

    // A new publisher: its row is written, then its first link is refused.
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Publisher_Genre "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the link'); END"));
    auto editor = openEditor<PublisherEditor>(session(), desktop(), QStringLiteral("New"));
    ASSERT_TRUE(editor);
    typeInto(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Ambit"));
    clickItem(child<QListWidget>(editor, "genreList"), 3, Qt::ControlModifier);
    click(child<QPushButton>(editor, "okButton"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk refused the link")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Ambit"));
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "genreList")).size(), 2);
    EXPECT_FALSE(inTransaction());
    EXPECT_EQ(contents(), before);
    exec(QStringLiteral("DROP TRIGGER refuse"));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Genre_ID) FROM Publisher_Genre "
                                       "JOIN Publisher ON Publisher.ID = Publisher_ID WHERE Name = 'Ambit'")),
              QStringLiteral("1,4"));

    // An amendment: the old links cannot be taken away.
    const QString amended = contents();
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Publisher_Genre "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the unlink'); END"));
    editor = openEditor<PublisherEditor>(session(), desktop(), QStringLiteral("Amend"), 7);
    ASSERT_TRUE(editor);
    child<QLineEdit>(editor, "nameEdit")->clear();
    typeInto(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Granta Books"));
    clickItem(child<QListWidget>(editor, "genreList"), 5);
    click(child<QPushButton>(editor, "okButton"));
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("disk refused the unlink")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Granta Books"));
    EXPECT_FALSE(inTransaction());
    EXPECT_EQ(contents(), amended);
    exec(QStringLiteral("DROP TRIGGER refuse"));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || ':' || (SELECT group_concat(Genre_ID) FROM Publisher_Genre "
                                       "WHERE Publisher_ID = 7) FROM Publisher WHERE ID = 7")),
              QStringLiteral("Granta Books:6"));
}

TEST_F(FaultInjectionTest, ASubmissionMovedWhileItsOldWorkCannotBeUpdatedStoresNothing)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Work (ID, Name, Genre_ID, \"Submit?\", \"Submitted?\") "
                        "VALUES (1, 'Alpha', 1, 1, 1), (2, 'Beta', 1, 0, 0);"
                        "INSERT INTO Publisher (ID, Name, Type_ID) VALUES (5, 'Granta', 1);"
                        "INSERT INTO Submission (ID, Work_ID, Publisher_ID, Date_Submitted, Status) "
                        "VALUES (9, 1, 5, '2024-05-01', 0);"));
    const QString before = contents();
    // The new work's flag may be written; the old work's is refused after it.
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Work WHEN OLD.ID = 1 "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the flag'); END"));
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("Amend"), 9);
    ASSERT_TRUE(editor);
    clickItem(child<QListWidget>(editor, "workList"), 1);   // Beta
    typeInto(child<QPlainTextEdit>(editor, "notesEdit"), QStringLiteral("sent on"));
    click(child<QPushButton>(editor, "okButton"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk refused the flag")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child<QPlainTextEdit>(editor, "notesEdit")->toPlainText(), QStringLiteral("sent on"));
    EXPECT_FALSE(inTransaction());
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(editor->result().dataChanged);

    exec(QStringLiteral("DROP TRIGGER refuse"));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(\"Submitted?\") FROM (SELECT * FROM Work ORDER BY ID)")),
              QStringLiteral("0,1"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Work_ID || Notes FROM Submission WHERE ID = 9")),
              QStringLiteral("2sent on"));
}

TEST_F(FaultInjectionTest, ANewDatabaseRefusedPartWayLeavesNoFileAndCanBeMadeAgain)
{
    using Entry = void (*)();
    sqlite3_auto_extension(reinterpret_cast<Entry>(&installRefusal));
    gRefuseLookupRows = true;
    {
        MainWindow window(desktop(), clock, dir());
        EXPECT_FALSE(window.load());
    }
    gRefuseLookupRows = false;
    sqlite3_cancel_auto_extension(reinterpret_cast<Entry>(&installRefusal));
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.texts().join('|').toStdString();
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("Cannot create the database")));
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("not authorized")));
    // Nothing left that a later start could take for a database.
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files), QStringList());

    prompts.shown.clear();

    MainWindow window(desktop(), clock, dir());
    ASSERT_TRUE(window.load());
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_GE(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher_Type")), 10);
    EXPECT_GE(queryInt(QStringLiteral("SELECT Count(*) FROM Genre")), 14);
}
