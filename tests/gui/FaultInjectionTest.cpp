// The database refusing in the middle of a change: nothing half-stored, and a retry works.

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <SQLiteCpp/Database.h>
#include <cstring>
#include <sqlite3.h>

#include "gui/GridView.h"
#include "gui/MainWindow.h"
#include "gui/editors/WorkEditor.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {

// Refuses to fill the publisher types, as a new database is being made, when enabled.
bool gRefuseLookupRows = false;

int refuseLookupRows(void*, int action, const char* table, const char*, const char*, const char*)
{
    return action == SQLITE_INSERT && table && std::strcmp(table, "Publisher_Type") == 0 ? SQLITE_DENY : SQLITE_OK;
}

int installRefusal(sqlite3* connection, const char**, const sqlite3_api_routines*)
{
    if (gRefuseLookupRows)
        sqlite3_set_authorizer(connection, refuseLookupRows, nullptr);
    return SQLITE_OK;
}

} // namespace

using FaultInjectionTest = QuillaryTest;

TEST_F(FaultInjectionTest, ADeleteRefusedHalfWayKeepsThePublisherAndItsGenres)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID) VALUES (7, 'Granta', 1), (8, 'Ambit', 1);"
                        "INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (7, 1), (7, 2), (8, 1);"));
    const auto contents = [this] {
        return queryText(QStringLiteral("SELECT (SELECT group_concat(ID || Name, ' ') FROM Publisher) || ' | ' || "
                                        "(SELECT group_concat(Publisher_ID || '-' || Genre_ID, ' ') FROM Publisher_Genre)"));
    };
    const QString before = contents();
    session().closeDatabase();
    writeIni("[Initialisation]\r\nMode=Publisher\r\n");
    MainWindow w(desktop(), clock, mDir.path());
    ASSERT_TRUE(w.load());
    auto* grid = child<GridView>(w, "grid");
    auto* deleteButton = child<QToolButton>(w, "deleteButton");

    // The publisher row goes first, then its genre links are refused, as by a failing disk:
    // all of it is undone, no transaction is left and the listing is as it was.
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Publisher_Genre "
                        "BEGIN SELECT RAISE(ABORT, 'disk refused the write'); END"));
    grid->setCurrentCell(1, 0);
    click(deleteButton);
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.texts().join('|').toStdString();
    EXPECT_TRUE(prompts.texts().last().contains(QStringLiteral("could not be deleted"))
                && prompts.texts().last().contains(QStringLiteral("disk refused the write")));
    EXPECT_TRUE(sqlite3_get_autocommit(w.session().database()->getHandle())) << "a transaction was left open";
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(grid->model()->rowCount(), 2);

    // Once the engine allows it, the same Delete goes through.
    exec(QStringLiteral("DROP TRIGGER refuse"));
    prompts.shown.clear();
    click(deleteButton);
    EXPECT_EQ(grid->model()->rowCount(), 1);
}

TEST_F(FaultInjectionTest, ASaveBlockedByAnotherProgramsLockIsReportedAndWorksAfterwards)
{
    const QString locked = QStringLiteral("Quillary.mdb is being used by another program. Close it there, then try again.");
    createDatabase();
    // The program waits three seconds for a lock; the test need not.
    EXPECT_EQ(queryInt(QStringLiteral("PRAGMA busy_timeout")), 3000);
    database().setBusyTimeout(200);
    SQLite::Database other(path(QStringLiteral("Quillary.mdb")).toStdString(), SQLite::OPEN_READWRITE);
    auto editor = openEditor<WorkEditor>(session(), desktop(), QStringLiteral("New"));
    ASSERT_TRUE(editor);
    typeInto(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Blocked"));
    other.exec("BEGIN EXCLUSIVE");
    QElapsedTimer waited;
    waited.start();
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_GE(waited.elapsed(), 150);
    EXPECT_EQ(prompts.texts(), QStringList{locked});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Blocked"));

    other.exec("COMMIT");
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    const int id = queryInt(QStringLiteral("SELECT ID FROM Work WHERE Name = 'Blocked'"));
    ASSERT_GT(id, 0);

    // While the file is held, an editor cannot even read its row: it says so and does not open.
    other.exec("BEGIN EXCLUSIVE");
    EXPECT_FALSE(WorkEditor(session(), desktop()).load(EditRequest{View::Work, EditMode::Amend, id}));
    EXPECT_EQ(prompts.texts(), (QStringList{locked, locked}));
    other.exec("ROLLBACK");
}

TEST_F(FaultInjectionTest, ANewDatabaseRefusedPartWayLeavesNoFileAndCanBeMadeAgain)
{
    using Entry = void (*)();
    sqlite3_auto_extension(reinterpret_cast<Entry>(&installRefusal));
    gRefuseLookupRows = true;
    EXPECT_FALSE(MainWindow(desktop(), clock, dir()).load());
    gRefuseLookupRows = false;
    sqlite3_cancel_auto_extension(reinterpret_cast<Entry>(&installRefusal));
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.texts().join('|').toStdString();
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("Cannot create the database"))
                && prompts.shown[1].text.contains(QStringLiteral("not authorized")));
    // Nothing left that a later start could take for a database.
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files), QStringList());

    prompts.shown.clear();
    MainWindow window(desktop(), clock, dir());
    ASSERT_TRUE(window.load());
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_GE(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher_Type")), 10);
}
