// The main window's Amend command stepping through the listing with the modal Work editor.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include "gui/StatusMessage.h"
#include "gui/editors/WorkEditor.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "support/TestEnv.h"

class AmendLoopTest : public QuillaryTest {};

TEST_F(AmendLoopTest, AmendStepsThroughTheListingAndReportsAWorkDeletedMeanwhile)
{
    writeIni("[Initialisation]\r\nAuto-Refresh=Yes\r\nMode=Work\r\n");
    createDatabase();
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', (SELECT min(ID) FROM Genre), '2000')")
                 .arg(QLatin1String(name)));
    const int betaID = queryInt(QStringLiteral("SELECT ID FROM Work WHERE Name = 'Beta'"));
    MainWindow window(desktop(), clock, dir());
    ASSERT_TRUE(window.load());
    ASSERT_EQ(child<GridView>(window, "grid")->rows(), 4);
    child<GridView>(window, "grid")->setRow(1);

    // Works each modal editor that appears with the next step, from inside its modal loop.
    std::deque<std::function<void(WorkEditor*)>> steps;
    // Each editor shown: its name, and whether Previous and Next are enabled, as "Alpha 01".
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<WorkEditor*>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible() || editor->property("scripted").toBool())
            return;
        editor->setProperty("scripted", true);
        shown << child<QLineEdit>(editor, "nameEdit")->text() + ' ' + QString::number(child<QPushButton>(editor, "previousButton")->isEnabled()) +
                     QString::number(child<QPushButton>(editor, "nextButton")->isEnabled());
        if (steps.empty()) {
            ADD_FAILURE() << "an editor was shown that the test did not expect";
            return child<QPushButton>(editor, "cancelButton")->click();
        }
        auto step = steps.front();
        steps.pop_front();
        step(editor);
    });
    poll.start(10);
    steps.push_back([&](WorkEditor* e) { QTest::mouseClick(child<QPushButton>(e, "nextButton"), Qt::LeftButton); });
    steps.push_back([&](WorkEditor* e) {
        child<QLineEdit>(e, "nameEdit")->selectAll();
        QTest::keyClicks(child<QLineEdit>(e, "nameEdit"), QStringLiteral("Bravo"));
        prompts.answers = {Prompts::Answer::Yes};
        QTest::mouseClick(child<QPushButton>(e, "nextButton"), Qt::LeftButton);
    });
    steps.push_back([&](WorkEditor* e) { QTest::mouseClick(child<QPushButton>(e, "previousButton"), Qt::LeftButton); });
    // Back to the record as saved a moment ago, although the listing was not refilled yet.
    steps.push_back([&](WorkEditor* e) { QTest::mouseClick(child<QPushButton>(e, "cancelButton"), Qt::LeftButton); });
    QTest::mouseClick(child<QToolButton>(window, "amendButton"), Qt::LeftButton);

    EXPECT_EQ(shown.join(','), QStringLiteral("Alpha 01,Beta 11,Gamma 10,Bravo 11"));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    // The save refreshed the listing and the saved work is the current row.
    EXPECT_FALSE(window.dataChanged());
    EXPECT_EQ(child<GridView>(window, "grid")->row(), 2);
    EXPECT_EQ(child<GridView>(window, "grid")->cellText(2, 0), QStringLiteral("Bravo"));

    // Deleted since the listing was filled: reported, no editor, the listing refreshed.
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(betaID));
    prompts.shown.clear();
    QTest::mouseClick(child<QToolButton>(window, "amendButton"), Qt::LeftButton);
    EXPECT_EQ(shown.size(), 4);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_EQ(child<GridView>(window, "grid")->rows(), 3);
    window.close();
}

TEST_F(AmendLoopTest, EnterComesBackToItsColumnAndTheRefreshTakesNoCommand)
{
    writeIni("[Initialisation]\r\nAuto-Refresh=Yes\r\nMode=Work\r\n");
    createDatabase();
    for (const char* name : {"Alpha", "Beta"})
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', (SELECT min(ID) FROM Genre), '2000')")
                 .arg(QLatin1String(name)));
    MainWindow window(desktop(), clock, dir());
    ASSERT_TRUE(window.load());
    child<GridView>(window, "grid")->setRow(2);
    child<GridView>(window, "grid")->setCol(2);
    child<GridView>(window, "grid")->setFocus();

    int editors = 0;
    bool amendTried = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<WorkEditor*>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible() || editor->property("scripted").toBool())
            return;
        editor->setProperty("scripted", true);
        if (++editors > 1)
            return child<QPushButton>(editor, "cancelButton")->click();
        child<QLineEdit>(editor, "nameEdit")->selectAll();
        QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Bravo"));
        // Amend clicked again while the listing refreshes after the save.
        QTimer::singleShot(0, &window, [&] {
            amendTried = true;
            QTest::mouseClick(child<QToolButton>(window, "amendButton"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(editor, "okButton"), Qt::LeftButton);
    });
    poll.start(10);
    QTest::keyClick(child<GridView>(window, "grid"), Qt::Key_Return);
    poll.stop();

    ASSERT_TRUE(amendTried);
    EXPECT_EQ(editors, 1) << "an editor opened on the half-refreshed listing";
    EXPECT_FALSE(window.dataChanged());
    EXPECT_EQ(child<GridView>(window, "grid")->cellText(2, 0), QStringLiteral("Bravo"));
    EXPECT_EQ(child<GridView>(window, "grid")->row(), 2);
    EXPECT_EQ(child<GridView>(window, "grid")->col(), 2);
    window.close();
}
