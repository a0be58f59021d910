// The main window driven offscreen against a database and settings file made here.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "gui/FindDialog.h"
#include "gui/StatisticsWindow.h"
#include "gui/StatusMessage.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"

class MainWindowTest : public WindowTest {
protected:
    // Three works (one with a tab in its name), two publishers, three submissions.
    MainWindow& start(const QByteArray& ini = "[Work-SQL]\r\n1=All Works,\r\n2=By Name,Name LIKE '\?\?'\r\n")
    {
        createDatabase();
        exec(QStringLiteral(
            "INSERT INTO Work (ID, Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", \"Submitted?\") VALUES "
            "(1, 'Zebra Song', 1, '2001', NULL, 1, 1), (2, 'apple pie', 2, '2010', '2012', 0, 0),"
            "(3, 'Mid' || char(9) || 'Tab', 1, '2020', '', 1, 0);"
            "INSERT INTO Publisher (ID, Name, Type_ID) VALUES (1, 'Granta', 1), (2, 'Ambit', 2);"
            "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Outcome) VALUES "
            "(1, 1, '2024-03-05', 0, 0, NULL), (2, 2, '2023-01-02', '2023-02-03', 1, 'Form letter'),"
            "(1, 2, 0, 0, 0, 'no date');"));
        writeIni(ini);
        return startWindow();
    }

    QPoint current() const { return QPoint(grid().currentRow(), grid().currentColumn()); }
    QStringList names() const { return column(0); }
    void press(const char* button) { click(child<QToolButton>(window, button)); }
    void choose(int selection)
    {
        child<QComboBox>(window, "selectionCombo")->setCurrentIndex(selection);
        emit child<QComboBox>(window, "selectionCombo")->activated(selection);
    }
    int count(const char* table) { return queryInt(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)); }
};

TEST_F(MainWindowTest, StartsInAnEmptyFolderOnYesAndShowsNothingHalfBuilt)
{
    const QString file = path(QStringLiteral("Quillary.mdb"));
    writeIni("[Work-SQL]\r\n1=Broken,Nonsense = = 1\r\nDefault=1\r\n");
    QStringList toldWhilePainted;
    prompts.onMessage = [&](const QString& text) {
        if (window->updatesEnabled())
            toldWhilePainted << text;
    };
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    for (bool yes : {false, true}) {
        window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
        EXPECT_EQ(window->load(), yes);
        EXPECT_EQ(QFile::exists(file), yes);
    }
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown[0].text, "The database file " + file + " does not exist. Create a new database there?");
    // The selection's fault is told before the window is first painted, and it lists nothing.
    EXPECT_TRUE(prompts.shown[2].text.contains(QStringLiteral("syntax error")));
    EXPECT_EQ(toldWhilePainted, QStringList());
    EXPECT_EQ(names(), QStringList{"(No Works Found)"});
    EXPECT_EQ(caption(), QStringLiteral("Work View - 0 records found "));
    EXPECT_FALSE(child<QToolButton>(window, "amendButton")->isEnabled() || child<QAction>(window, "deleteAction")->isEnabled());
    EXPECT_TRUE(window->updatesEnabled() && grid().isVisible() && !QApplication::overrideCursor());
}

TEST_F(MainWindowTest, ViewsListTheirRecordsAndTheWindowLaysOutWhole)
{
    MainWindow& w = start();
    // Ordered by name without regard to case; the tab stays inside its cell.
    EXPECT_EQ(names(), (QStringList{"apple pie", "Mid\tTab", "Zebra Song"}));
    EXPECT_EQ(caption(), QStringLiteral("Work View - 3 records found "));

    press("submissionsButton");
    EXPECT_EQ(column(4).first(), QStringLiteral("Rejected"));
    EXPECT_EQ(child<QToolButton>(w, "deleteButton")->toolTip(), QStringLiteral("Delete Current Submission"));

    // Never smaller than the layout needs, with a useful number of rows; a larger window's
    // extra height goes to the grid.
    w.setWindowState(Qt::WindowNoState);
    w.resize(200, 150);
    QCoreApplication::processEvents();
    EXPECT_GE(w.width(), w.minimumSizeHint().width());
    EXPECT_GE(w.height(), w.minimumSizeHint().height());
    expectLaidOutWhole(&w);
    const int fewest = w.visibleRows();
    EXPECT_GE(fewest, 10);
    w.resize(1000, 900);
    QCoreApplication::processEvents();
    EXPECT_EQ(child<StatusPanel>(w, "statusPanel")->geometry().bottom(), w.centralWidget()->rect().bottom());
    EXPECT_GT(w.visibleRows(), fewest);
}

TEST_F(MainWindowTest, AConditionTypedForOneViewIsNeverAppliedToAnother)
{
    MainWindow& w = start("[Initialisation]\r\nAuto-Refresh=No\r\n"
                          "[Work-SQL]\r\n1=All Works,\r\n2=By Name,Name LIKE '\?\?'\r\n3=By Year,Year_Written = \?\?\r\n"
                          "[Publisher-SQL]\r\n1=By Name,Name LIKE '\?\?'\r\nDefault=1\r\n");
    prompts.inputs = {QStringLiteral("z*")};
    choose(1);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].title, QStringLiteral("By Name"));
    EXPECT_EQ(names(), QStringList{"Zebra Song"});
    // After a save with refresh off, the same selection reuses its value.
    w.listing().setDataChanged(true);
    press("refreshButton");
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_FALSE(w.listing().dataChanged());

    // Another selection asks for its own; a value that is not a number is data, not SQL.
    prompts.inputs = {QStringLiteral("0 OR 1=1"), QStringLiteral("2010")};
    choose(2);
    EXPECT_EQ(names(), QStringList{"(No Works Found)"});
    press("refreshButton");
    EXPECT_EQ(names(), QStringList{"apple pie"});
    // The Publisher view asks for its own value instead of running the Work view's condition.
    w.listing().setDataChanged(true);
    prompts.inputs = {QStringLiteral("G*")};
    press("publishersButton");
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join('|').toStdString();
    EXPECT_EQ(prompts.asked.size(), 4);
    EXPECT_EQ(names(), QStringList{"Granta"});
}

TEST_F(MainWindowTest, FindGoesCellByCellByItsOptionsNeverWrapsAndExitClosesEverything)
{
    MainWindow& w = start();
    GridView& g = grid();
    // Runs the real dialog: what script does in it, then OK or Cancel.
    FindDialog* find = nullptr;
    auto inDialog = [&](const std::function<void()>& script) {
        QTimer::singleShot(0, [&] {
            find = qobject_cast<FindDialog*>(QApplication::activeModalWidget());
            if (find)
                script();
        });
        press("findButton");
        ASSERT_NE(find, nullptr);
    };
    // Always from the first data cell; a miss says so and leaves the current cell alone.
    auto findFrom = [&](QPoint at, const QString& text, bool matchCase, bool wholeCell) {
        g.setCurrentCell(at.x(), at.y());
        inDialog([&] {
            child<QLineEdit>(find, "findEdit")->setText(text);
            child<QCheckBox>(find, "matchCaseCheck")->setChecked(matchCase);
            child<QCheckBox>(find, "wholeCellCheck")->setChecked(wholeCell);
            click(child<QPushButton>(find, "okButton"));
        });
        return current();
    };
    EXPECT_EQ(findFrom({1, 1}, "PIE", true, false), QPoint(1, 1));
    EXPECT_EQ(findFrom({1, 1}, "pie", false, true), QPoint(1, 1));
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("Sorry - no match found on 'pie'."));
    prompts.shown.clear();
    EXPECT_EQ(findFrom({1, 1}, "no", false, false), QPoint(0, 4));
    // Offscreen no window manager gives the focus back when the dialog closes.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }));
    QTest::keyClick(&g, Qt::Key_F3);
    EXPECT_EQ(current(), QPoint(0, 5));
    // Nothing after the last "No" of the grid: no wrap to the first rows.
    g.setCurrentCell(2, 7);
    QTest::keyClick(&g, Qt::Key_F3);
    EXPECT_EQ(current(), QPoint(2, 7));
    EXPECT_EQ(prompts.texts(), QStringList{"Sorry - no match found on 'no'."});

    // Exit with the Find dialog left hidden still ends everything.
    inDialog([&] { find->close(); });
    press("exitButton");
    EXPECT_FALSE(w.session().database());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, DeleteRefusesAWorkWithSubmissionsAsksFirstAndReselectsANeighbour)
{
    MainWindow& w = start();
    GridView& g = grid();
    g.setFocus();
    g.setCurrentCell(2, 0);  // Zebra Song
    QTest::keyClick(&g, Qt::Key_Delete);
    EXPECT_EQ(prompts.texts(), QStringList{"Can't delete this Work - submissions exist for it."});
    // apple pie has only a rejected one: No keeps it, Yes deletes it.
    g.setCurrentCell(0, 0);
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    QTest::keyClick(&g, Qt::Key_Delete);
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("Are you sure you want to delete this Work?"));
    EXPECT_EQ(count("Work"), 3);
    press("deleteButton");
    EXPECT_EQ(count("Work"), 2);
    // The row below took its place and is current.
    EXPECT_EQ(QPoint(g.currentRow(), model().recordId(0)), QPoint(0, 3));
}

TEST_F(MainWindowTest, InputArrivingDuringAFillNeverActsOnTheHalfBuiltListing)
{
    MainWindow& w = start();
    GridView& g = grid();
    g.setCurrentCell(1, 0);
    const QString shownSelected = model().cellText(1, 0);

    // A Delete key, a row click and a view switch, all arriving while the grid refills.
    bool arrived = false;
    QTimer::singleShot(0, &w, [&] {
        arrived = true;
        prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::Yes};
        QTest::keyClick(&g, Qt::Key_Delete);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(5, g.headerRowHeight() * 3 / 2));
        press("publishersButton");
    });
    press("refreshButton");
    ASSERT_TRUE(arrived);

    // A record deleted can only be the one that was shown selected.
    if (count("Work") != 3)
        EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Work WHERE Name = '%1'").arg(shownSelected)), 0);
    // Every grid row shows the record the window would act on, and no placeholder row is left.
    const char* table = w.windowTitle().contains(QStringLiteral("Publisher")) ? "Publisher" : "Work";
    ASSERT_EQ(model().rowCount(), count(table));
    for (int r = 0; r < model().rowCount(); ++r)
        EXPECT_EQ(model().cellText(r, 0), queryText(QStringLiteral("SELECT Name FROM %1 WHERE ID = %2").arg(table).arg(model().recordId(r))))
            << "row " << r;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Closing the window in the middle of a fill waits for the fill to end.
    bool openDuringFill = false;
    QTimer::singleShot(0, &w, [&] {
        w.close();
        openDuringFill = w.isVisible() && w.session().database();
    });
    w.refresh();
    EXPECT_TRUE(openDuringFill);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 2000));
    EXPECT_FALSE(w.session().database());
}

TEST_F(MainWindowTest, ARunawaySelectionShowsTheWindowEscStopsItAndExitEnds)
{
    createDatabase();
    exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Alpha', 1)"));
    session().closeDatabase();
    // Counts without end: only a stop ends it.
    writeIni("[Work-SQL]\r\n1=Runaway,(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) "
             "SELECT count(*) FROM c) > 0\r\nDefault=1\r\n");
    window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
    bool offered = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (child<QToolButton>(window, "cancelButton")->isVisible() && window->updatesEnabled()) {
            offered = true;
            QTest::keyClick(window.get(), Qt::Key_Escape);
        }
    });
    user.start(100);
    ASSERT_TRUE(window->load());
    EXPECT_TRUE(offered);
    EXPECT_EQ(names(), QStringList{"(No Works Found)"});
    EXPECT_EQ(caption(), QStringLiteral("Work View - listing cancelled "));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(child<QToolButton>(window, "cancelButton")->isVisible() || child<QAction>(window, "amendAction")->isEnabled());
    child<QAction>(window, "exitAction")->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, StatisticsOpensOnceFromTheButtonAndTheMenu)
{
    MainWindow& w = start();
    auto shown = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(), [](QWidget* t) { return qobject_cast<StatisticsWindow*>(t) && t->isVisible(); });
    };
    press("statisticsButton");
    StatisticsWindow* statistics = w.statisticsWindow();
    ASSERT_TRUE(statistics && statistics->isVisible());
    EXPECT_EQ(shown(), 1);
    statistics->close();
    child<QAction>(w, "statisticsAction")->trigger();
    EXPECT_EQ(w.statisticsWindow(), statistics);
    EXPECT_EQ(shown(), 1);
}
