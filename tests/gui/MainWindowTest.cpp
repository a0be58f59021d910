// The main window driven offscreen: start-up, views, selections, refresh, Find, Delete
// and exit, against a database and settings file made here.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QComboBox>
#include <QHeaderView>
#include <QRegularExpression>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include <memory>

#include "gui/StatusMessage.h"
#include "gui/AboutDialog.h"
#include "gui/FindDialog.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "gui/StatusPanel.h"
#include "support/TestEnv.h"

namespace {

const QByteArray kIni =
    "[Initialisation]\r\nAuto-Refresh=Yes\r\n"
    "[Work-SQL]\r\n1=All Works,\r\n2=To Submit,[Submit?] = TRUE\r\n3=By Name,Name LIKE '\?\?'\r\nDefault=1\r\n"
    "[Publisher-SQL]\r\n1=All,\r\nDefault=1\r\n"
    "[Submission-SQL]\r\n1=All,\r\n2=Outstanding,Status = 0\r\nDefault=1\r\n";

} // namespace

class MainWindowTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    }
    void TearDown() override
    {
        window.reset();
        QLocale::setDefault(QLocale::system());
        QuillaryTest::TearDown();
    }

    // Three works (one with a tab in its name), two publishers, three submissions.
    void makeData()
    {
        createDatabase();
        exec(QStringLiteral(
            "INSERT INTO Work (ID, Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", \"Submitted?\") VALUES "
            "(1, 'Zebra Song', 1, '2001', NULL, 1, 1),"
            "(2, 'apple pie', 2, '2010', '2012', 0, 0),"
            "(3, 'Mid' || char(9) || 'Tab', 1, '2020', '', 1, 0);"
            "INSERT INTO Publisher (ID, Name, Type_ID, Guidelines, \"Submit_To?\") VALUES "
            "(1, 'Granta', 1, 'No simultaneous', 1), (2, 'Ambit', 2, NULL, 0);"
            "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Outcome) VALUES "
            "(1, 1, '2024-03-05', 0, 0, NULL), (2, 2, '2023-01-02', '2023-02-03', 1, 'Form letter'),"
            "(1, 2, 0, 0, 0, 'no date');"));
        session().closeDatabase();
    }

    MainWindow& start(const QByteArray& ini = kIni)
    {
        writeIni(ini);
        window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
        EXPECT_TRUE(window->load());
        return *window;
    }

    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < child<GridView>(window, "grid")->cols(); ++c)
            cells << child<GridView>(window, "grid")->cellText(r, c);
        return cells;
    }

    // Finds through the real dialog: the text typed, the options set, OK pressed.
    void findByDialog(MainWindow& w, const QString& text, bool matchCase = false, bool wholeCell = false)
    {
        QTimer::singleShot(0, [&] {
            auto* find = qobject_cast<FindDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(find, nullptr);
            child<QLineEdit>(find, "findEdit")->setText(text);
            child<QCheckBox>(find, "matchCaseCheck")->setChecked(matchCase);
            child<QCheckBox>(find, "wholeCellCheck")->setChecked(wholeCell);
            QTest::mouseClick(child<QPushButton>(find, "okButton"), Qt::LeftButton);
        });
        w.onFindClicked();
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, StartsInAnEmptyFolderByOfferingANewDatabase)
{
    window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
    prompts.answers = {Prompts::Answer::Yes};
    ASSERT_TRUE(window->load());
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Quillary.mdb"))));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillary : Work View"));
    // No settings file, so no selection: all works are listed (none yet).
    EXPECT_EQ(child<GridView>(window, "grid")->cellText(1, 0), QStringLiteral("(No Works Found)"));
    EXPECT_EQ(child<StatusPanel>(window, "statusPanel")->caption(), QStringLiteral("Work View - 0 records found "));
    EXPECT_FALSE(child<QToolButton>(window, "amendButton")->isEnabled() || child<QToolButton>(window, "deleteButton")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, ViewsListFormatCountAndSwitchByButtonAndMenu)
{
    makeData();
    MainWindow& w = start();
    ASSERT_EQ(child<GridView>(w, "grid")->rows(), 4);
    // Ordered by name without regard to case; the tab stays inside its cell.
    const QString genre = queryText(QStringLiteral("SELECT Description_Singular FROM Genre WHERE ID = 2"));
    EXPECT_EQ(row(1), (QStringList{"apple pie", genre, "2010", "2012", "No", "No", "No", "No", ""}));
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(2, 0), QStringLiteral("Mid\tTab"));
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(2, 4), QStringLiteral("Yes"));
    // The latest dated outstanding submission; the undated one gives no date.
    EXPECT_EQ(row(3).at(0), QStringLiteral("Zebra Song"));
    EXPECT_EQ(row(3).at(8), QStringLiteral("05/03/2024"));
    EXPECT_EQ((QVector<int>{child<GridView>(w, "grid")->rowId(1), child<GridView>(w, "grid")->rowId(2), child<GridView>(w, "grid")->rowId(3)}), (QVector<int>{2, 3, 1}));
    EXPECT_EQ(child<StatusPanel>(w, "statusPanel")->caption(), QStringLiteral("Work View - 3 records found "));
    EXPECT_TRUE(child<QToolButton>(w, "amendButton")->isEnabled());
    EXPECT_EQ(child<GridView>(w, "grid")->selEndCol(), 8);  // row 1 highlighted whole

    // The other views, by button and by menu.
    QTest::mouseClick(child<QToolButton>(w, "submissionsButton"), Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillary : Submission View"));
    ASSERT_EQ(child<GridView>(w, "grid")->rows(), 4);
    // Returned 0 and an undated submission show empty dates; the status has its words.
    EXPECT_EQ(row(1).mid(0, 6), (QStringList{"apple pie", "Ambit", "02/01/2023", "03/02/2023", "Rejected", "Form letter"}));
    EXPECT_EQ(row(2).at(2) + row(3).at(2) + row(2).at(3) + row(3).at(3), QStringLiteral("05/03/2024"));
    // The buttons leave the menu items alone; the record buttons name the view on hover.
    for (const char* name : {"worksAction", "publishersAction", "submissionsAction"})
        EXPECT_TRUE(child<QAction>(w, name)->isEnabled());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(child<QToolButton>(w, "deleteButton"), &enter);
    EXPECT_EQ(child<QToolButton>(w, "deleteButton")->toolTip(), QStringLiteral("Delete Current Submission"));

    child<QAction>(w, "publishersAction")->trigger();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillary : Publisher View"));
    EXPECT_FALSE(child<QAction>(w, "publishersAction")->isEnabled());
    EXPECT_TRUE(child<QAction>(w, "worksAction")->isEnabled());
    const QString type = queryText(QStringLiteral("SELECT Description FROM Publisher_Type WHERE ID = 2"));
    EXPECT_EQ(row(1), (QStringList{"Ambit", type, "", "", "No", "No"}));
    EXPECT_EQ(row(2).at(2), QStringLiteral("No simultaneous"));
}

TEST_F(MainWindowTest, SelectionsPromptForTheirValuesAndRefreshReusesNothingStale)
{
    makeData();
    MainWindow& w = start();
    EXPECT_EQ(w.selectionConditions(), (QStringList{"", "[Submit?] = TRUE", "Name LIKE '\?\?'", ""}));

    prompts.inputs = {QStringLiteral("z*")};
    child<QComboBox>(w, "selectionCombo")->setCurrentIndex(2);
    emit child<QComboBox>(w, "selectionCombo")->activated(2);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].title, QStringLiteral("By Name"));
    EXPECT_EQ(prompts.asked[0].prompt, QStringLiteral("Enter a value for this Selection.\n\nWildcard characters (*/?) may be used."));
    EXPECT_EQ(child<GridView>(w, "grid")->rows(), 2);
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("Zebra Song"));
    EXPECT_EQ(w.resolvedCondition(), QStringLiteral("Name LIKE 'z*'"));

    // After a save with refresh off, the same selection reuses its values...
    w.noteDataChanged();
    w.onRefreshClicked();
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_FALSE(w.dataChanged());
    // ...but another selection asks for its own.
    w.noteDataChanged();
    child<QComboBox>(w, "selectionCombo")->setCurrentIndex(1);
    emit child<QComboBox>(w, "selectionCombo")->activated(1);
    EXPECT_EQ(child<GridView>(w, "grid")->rows(), 3);  // works to submit
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("Mid\tTab"));
}

TEST_F(MainWindowTest, ABadConditionIsReportedAndListsNothing)
{
    makeData();
    MainWindow& w = start("[Work-SQL]\r\n1=Broken,Nonsense = = 1\r\n2=Sneaky,1; DELETE FROM Work\r\nDefault=1\r\n");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("syntax error")));
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("(No Works Found)"));
    EXPECT_FALSE(child<QToolButton>(w, "amendButton")->isEnabled());
    EXPECT_TRUE(child<GridView>(w, "grid")->isVisible() && !QApplication::overrideCursor());

    child<QComboBox>(w, "selectionCombo")->setCurrentIndex(1);
    emit child<QComboBox>(w, "selectionCombo")->activated(1);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Work")), 3);
}

TEST_F(MainWindowTest, FindWalksRowByRowThenExitClosesEverything)
{
    makeData();
    MainWindow& w = start();
    auto current = [&w] { return QPoint(child<GridView>(w, "grid")->row(), child<GridView>(w, "grid")->col()); };
    findByDialog(w, QStringLiteral("no"));
    // "No" in row 1, column 4 is the first match (the header is never searched).
    EXPECT_EQ(current(), QPoint(1, 4));
    EXPECT_EQ(child<GridView>(w, "grid")->selStartCol(), 0);
    child<QAction>(w, "findNextAction")->trigger();
    EXPECT_EQ(current(), QPoint(1, 5));

    findByDialog(w, QStringLiteral("Yes"), true, true);
    EXPECT_EQ(current(), QPoint(2, 4));

    // Nothing further: the message, and the current cell stays.
    w.findInGrid(MainWindow::FindMode::Next, QStringLiteral("apple pie"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Sorry - no match found on 'apple pie'."));
    EXPECT_EQ(current(), QPoint(2, 4));

    // From the last cell of the grid Find Next has nowhere to go.
    child<GridView>(w, "grid")->setRow(3);
    child<GridView>(w, "grid")->setCol(8);
    w.findInGrid(MainWindow::FindMode::Next, QString());
    EXPECT_EQ(prompts.shown.size(), 2);

    // Typed into the real dialog (replacing the last text, which shows selected) and OK.
    prompts.shown.clear();
    FindDialog* find = nullptr;
    QTimer::singleShot(0, [&] {
        find = qobject_cast<FindDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(find, nullptr);
        QTest::keyClicks(child<QLineEdit>(find, "findEdit"), QStringLiteral("ZEBRA"));
        child<QCheckBox>(find, "wholeCellCheck")->setChecked(false);
        child<QCheckBox>(find, "matchCaseCheck")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(find, "okButton"), Qt::LeftButton);
    });
    w.onFindClicked();
    EXPECT_EQ(find->findText(), QStringLiteral("ZEBRA"));
    EXPECT_EQ(child<GridView>(w, "grid")->row(), 3);
    EXPECT_EQ(child<GridView>(w, "grid")->col(), 0);

    // Reopened, it shows the last text selected; Cancel empties the search and finds nothing.
    QTimer::singleShot(0, [&] {
        ASSERT_EQ(QApplication::activeModalWidget(), find);
        EXPECT_EQ(child<QLineEdit>(find, "findEdit")->text(), QStringLiteral("ZEBRA"));
        EXPECT_EQ(child<QLineEdit>(find, "findEdit")->selectedText(), QStringLiteral("ZEBRA"));
        child<QCheckBox>(find, "matchCaseCheck")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(find, "cancelButton"), Qt::LeftButton);
    });
    child<GridView>(w, "grid")->setRow(1);
    child<GridView>(w, "grid")->setCol(0);
    w.onFindClicked();
    EXPECT_EQ(find->findText(), QString());
    EXPECT_FALSE(find->matchCase());  // options are taken only by OK
    EXPECT_EQ(child<GridView>(w, "grid")->row(), 1);
    EXPECT_TRUE(prompts.shown.isEmpty());
    // Find Next now looks for the empty text: the next cell that is not empty.
    child<GridView>(w, "grid")->setCol(7);
    child<QAction>(w, "findNextAction")->trigger();
    EXPECT_EQ(child<GridView>(w, "grid")->row(), 2);
    EXPECT_EQ(child<GridView>(w, "grid")->col(), 0);

    // Exit with the Find dialog left hidden still ends everything.
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    w.onFindClicked();
    QTest::mouseClick(child<QToolButton>(w, "exitButton"), Qt::LeftButton);
    EXPECT_FALSE(w.session().database());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, GridKeysAndDeleteRefuseOutstandingWorkAndReselectANeighbour)
{
    makeData();
    MainWindow& w = start();
    child<GridView>(w, "grid")->setFocus();
    QTest::keyClick(child<GridView>(w, "grid"), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(QPoint(child<GridView>(w, "grid")->row(), child<GridView>(w, "grid")->col()), QPoint(3, 8));
    QTest::keyClick(child<GridView>(w, "grid"), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(QPoint(child<GridView>(w, "grid")->row(), child<GridView>(w, "grid")->col()), QPoint(1, 0));
    EXPECT_EQ(QPoint(child<GridView>(w, "grid")->topRow(), child<GridView>(w, "grid")->leftCol()), QPoint(1, 0));

    // The Delete key deletes the current record after the question.
    prompts.answers = {Prompts::Answer::No};
    QTest::keyClick(child<GridView>(w, "grid"), Qt::Key_Delete);
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("Are you sure you want to delete this Work?"));

    // Nothing listed: the keys and menu items for Amend and Delete do nothing.
    prompts.shown.clear();
    prompts.inputs = {QStringLiteral("nothing like this")};
    child<QComboBox>(w, "selectionCombo")->setCurrentIndex(2);
    emit child<QComboBox>(w, "selectionCombo")->activated(2);
    ASSERT_FALSE(child<QToolButton>(w, "deleteButton")->isEnabled());
    QTest::keyClick(child<GridView>(w, "grid"), Qt::Key_Delete);
    child<QAction>(w, "deleteAction")->trigger();
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Back to all works. Zebra Song has unreturned submissions.
    child<QComboBox>(w, "selectionCombo")->setCurrentIndex(0);
    emit child<QComboBox>(w, "selectionCombo")->activated(0);
    child<GridView>(w, "grid")->setRow(3);
    w.deleteRecord();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Can't delete this Work - submissions exist for it."));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Work")), 3);

    // apple pie has only a rejected one; No keeps it, Yes deletes it, not its submission.
    child<GridView>(w, "grid")->setRow(1);
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    w.deleteRecord();
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("Are you sure you want to delete this Work?"));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Work")), 3);
    w.deleteRecord();
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Work WHERE ID = 2")), 0);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission")), 3);
    // The row below took its place and is current.
    EXPECT_EQ(child<GridView>(w, "grid")->row(), 1);
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("Mid\tTab"));

    // Deleting the last row makes the one above current.
    QTest::mouseClick(child<QToolButton>(w, "submissionsButton"), Qt::LeftButton);
    child<GridView>(w, "grid")->setRow(3);
    const int second = child<GridView>(w, "grid")->rowId(2);
    w.deleteRecord();
    EXPECT_EQ(child<GridView>(w, "grid")->row(), 2);
    EXPECT_EQ(child<GridView>(w, "grid")->rowId(2), second);
    // With refresh off the listing stays as it was.
    w.session().settings().setAutoRefresh(false);
    child<GridView>(w, "grid")->setRow(1);
    w.deleteRecord();
    EXPECT_EQ(child<GridView>(w, "grid")->rows(), 3);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission")), 1);
}

TEST_F(MainWindowTest, AboutShowsTitleVersionAndOpensTheWebAddress)
{
    AboutDialog about(links);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$")).match(child<QLabel>(about, "versionLabel")->text()).hasMatch());
    about.show();
    QTest::mouseClick(child<QLabel>(about, "webLabel"), Qt::LeftButton);
    links.result = false;  // no browser: nothing is shown, the box stays
    QTest::mouseClick(child<QLabel>(about, "webLabel"), Qt::LeftButton);
    EXPECT_EQ(links.opened, (QStringList{kMakerWebAddress, kMakerWebAddress}));
    EXPECT_TRUE(about.isVisible() && prompts.shown.isEmpty());
    QTest::keyClick(&about, Qt::Key_Return);  // OK is the default button
    EXPECT_FALSE(about.isVisible());
}

TEST_F(MainWindowTest, ColumnsAndControlsShowWholeAndTheGridTakesTheRoom)
{
    makeData();
    MainWindow& w = start();
    QHeaderView* header = child<GridView>(w, "grid")->horizontalHeader();
    // The listing at start-up, then each other view.
    for (int view = 0; view < 3; ++view) {
        if (view > 0)
            child<QAction>(w, view == 1 ? "publishersAction" : "submissionsAction")->trigger();
        QCoreApplication::processEvents();
        ASSERT_GE(child<GridView>(w, "grid")->rows(), 2);
        const QFontMetrics headerFont = header->fontMetrics();
        const QFontMetrics cellFont = child<GridView>(w, "grid")->fontMetrics();
        for (int c = 0; c < child<GridView>(w, "grid")->cols(); ++c) {
            const int width = header->sectionSize(c);
            EXPECT_GT(width, headerFont.horizontalAdvance(child<GridView>(w, "grid")->cellText(0, c))) << view << "/" << c;
            // Short texts (dates, years, flags, short names) always show whole.
            for (int r = 1; r < child<GridView>(w, "grid")->rows(); ++r) {
                const QString text = child<GridView>(w, "grid")->cellText(r, c);
                if (text.size() <= 16)
                    EXPECT_GT(width, cellFont.horizontalAdvance(text)) << view << "/" << c << "/" << r;
            }
        }
        // The last column reaches the right edge of the grid.
        const int last = child<GridView>(w, "grid")->cols() - 1;
        EXPECT_GE(header->sectionViewportPosition(last) + header->sectionSize(last), child<GridView>(w, "grid")->viewport()->width());
    }

    w.setWindowState(Qt::WindowNoState);
    w.resize(200, 150);
    QCoreApplication::processEvents();
    // A normal window is never smaller than the layout needs: every button of the bar side by side, the
    // selection box after them, and a grid that still lists a useful number of rows.
    EXPECT_GE(w.width(), w.minimumSizeHint().width());
    EXPECT_GE(w.height(), w.minimumSizeHint().height());
    const QToolButton* previous = nullptr;
    for (const char* name : {"exitButton", "worksButton", "publishersButton", "submissionsButton", "newButton",
                             "amendButton", "deleteButton", "findButton", "refreshButton", "settingsButton"}) {
        const QToolButton* button = child<QToolButton>(w, name);
        EXPECT_TRUE(child<QFrame>(w, "buttonBar")->contentsRect().contains(button->geometry())) << name;
        EXPECT_GE(button->width(), button->sizeHint().width()) << name;
        if (previous)
            EXPECT_GT(button->x(), previous->geometry().right()) << name;
        previous = button;
    }
    EXPECT_GT(child<QComboBox>(w, "selectionCombo")->x(), child<QToolButton>(w, "settingsButton")->geometry().right());
    EXPECT_TRUE(child<QFrame>(w, "buttonBar")->contentsRect().contains(child<QComboBox>(w, "selectionCombo")->geometry()));
    const int fewest = w.visibleRows();
    EXPECT_GE(fewest, 10);

    // A larger window: the bar keeps the selection box at its right end, the status panel
    // stays along the bottom under the grid, and the grid takes the extra height.
    w.resize(1000, 900);
    QCoreApplication::processEvents();
    const QRect client = w.centralWidget()->rect();
    EXPECT_LE(child<QFrame>(w, "buttonBar")->geometry().bottom(), child<QFrame>(w, "gridFrame")->y());
    EXPECT_GE(child<StatusPanel>(w, "statusPanel")->y(), child<QFrame>(w, "gridFrame")->geometry().bottom());
    EXPECT_EQ(child<StatusPanel>(w, "statusPanel")->geometry().bottom(), client.bottom());
    EXPECT_GE(child<StatusPanel>(w, "statusPanel")->height(), child<StatusPanel>(w, "statusPanel")->sizeHint().height());
    EXPECT_GT(child<QComboBox>(w, "selectionCombo")->x() + child<QComboBox>(w, "selectionCombo")->width(), child<QFrame>(w, "buttonBar")->width() - 4 * child<QFrame>(w, "buttonBar")->frameWidth() - 8);
    EXPECT_GT(w.visibleRows(), fewest);
}

TEST_F(MainWindowTest, DeletingTheOnlyRecordAndAPublisherWithItsGenreLinks)
{
    makeData();
    MainWindow& w = start("[Work-SQL]\r\n1=Pie,Name = 'apple pie'\r\nDefault=1\r\n");
    ASSERT_EQ(child<GridView>(w, "grid")->rows(), 2);
    w.deleteRecord();
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("(No Works Found)"));
    EXPECT_EQ(child<GridView>(w, "grid")->row(), 1);
    EXPECT_FALSE(child<QToolButton>(w, "deleteButton")->isEnabled());

    // A publisher with only a rejected submission: its genre links go with it, the
    // submission stays.
    exec(QStringLiteral("INSERT INTO Publisher (ID, Name, Type_ID) VALUES (3, 'Aardvark Review', 1);"
                        "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) VALUES (2, 3, '2020-01-01', 1);"
                        "INSERT INTO Publisher_Genre VALUES (3, 1), (3, 3), (1, 1)"));
    child<QAction>(w, "publishersAction")->trigger();
    ASSERT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("Aardvark Review"));
    w.deleteRecord();
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher WHERE ID = 3")), 0);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre WHERE Publisher_ID = 3")), 0);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Publisher_Genre")), 1);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission WHERE Publisher_ID = 3")), 1);
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("Ambit"));
}

TEST_F(MainWindowTest, InputArrivingDuringAFillNeverActsOnTheHalfBuiltListing)
{
    makeData();
    MainWindow& w = start();
    child<GridView>(w, "grid")->setRow(2);
    w.highlightCurrentRow();
    const QString shownSelected = child<GridView>(w, "grid")->cellText(2, 0);
    const int works = queryInt(QStringLiteral("SELECT COUNT(*) FROM Work"));

    // A Delete key, a row click and a view switch, all arriving while the grid refills.
    bool arrived = false;
    QTimer::singleShot(0, &w, [&] {
        arrived = true;
        prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::Yes};
        QTest::keyClick(child<GridView>(w, "grid"), Qt::Key_Delete);
        QTest::mouseClick(child<GridView>(w, "grid")->viewport(), Qt::LeftButton, {}, QPoint(5, child<GridView>(w, "grid")->headerRowHeight() * 3 / 2));
        QTest::mouseClick(child<QToolButton>(w, "publishersButton"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(w, "refreshButton"), Qt::LeftButton);
    ASSERT_TRUE(arrived);

    // A record deleted can only be the one that was shown selected.
    const int left = queryInt(QStringLiteral("SELECT COUNT(*) FROM Work"));
    if (left != works)
        EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Work WHERE Name = '%1'").arg(shownSelected)), 0);
    // Every grid row shows the record the window would act on, and no placeholder row is left.
    const bool publishers = w.windowTitle().contains(QStringLiteral("Publisher"));
    const int listed = queryInt(publishers ? QStringLiteral("SELECT COUNT(*) FROM Publisher") : QStringLiteral("SELECT COUNT(*) FROM Work"));
    ASSERT_EQ(child<GridView>(w, "grid")->rows() - 1, listed);
    for (int r = 1; r < child<GridView>(w, "grid")->rows(); ++r)
        EXPECT_EQ(child<GridView>(w, "grid")->cellText(r, 0),
                  queryText(QStringLiteral("SELECT Name FROM %1 WHERE ID = %2")
                                .arg(publishers ? QStringLiteral("Publisher") : QStringLiteral("Work"))
                                .arg(child<GridView>(w, "grid")->rowId(r))))
            << "row " << r;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Closing the window in the middle of a fill waits for the fill to end.
    bool openDuringFill = false;
    QTimer::singleShot(0, &w, [&] {
        w.close();
        openDuringFill = w.isVisible() && w.session().database();
    });
    w.onRefreshClicked();
    EXPECT_TRUE(openDuringFill);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 2000));
    EXPECT_FALSE(w.session().database());
}

TEST_F(MainWindowTest, AConditionTypedForOneViewIsNeverAppliedToAnother)
{
    makeData();
    MainWindow& w = start("[Initialisation]\r\nAuto-Refresh=No\r\n"
                       "[Work-SQL]\r\n1=By Year,Year_Written = ??\r\nDefault=1\r\n"
                       "[Publisher-SQL]\r\n1=By Name,Name LIKE '??'\r\nDefault=1\r\n");
    // The start-up fill asked for the year; a value that is not a number is data, not SQL.
    ASSERT_EQ(prompts.asked.size(), 1);
    prompts.inputs = {QStringLiteral("2010")};
    w.onRefreshClicked();
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("apple pie"));
    prompts.inputs = {QStringLiteral("0 OR 1=1")};
    w.onRefreshClicked();
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("(No Works Found)"));

    // With refresh off, a save leaves the data-changed state; the Publisher view still asks
    // for its own value instead of running the Work view's condition.
    prompts.inputs = {QStringLiteral("2010")};
    w.onRefreshClicked();
    w.noteDataChanged();
    prompts.shown.clear();
    prompts.inputs = {QStringLiteral("G*")};
    QTest::mouseClick(child<QToolButton>(w, "publishersButton"), Qt::LeftButton);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join('|').toStdString();
    EXPECT_EQ(prompts.asked.size(), 5);
    EXPECT_EQ(child<GridView>(w, "grid")->rows(), 2);
    EXPECT_EQ(child<GridView>(w, "grid")->cellText(1, 0), QStringLiteral("Granta"));
}
