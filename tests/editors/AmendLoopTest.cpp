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

#include "app/modQuillary.h"
#include "editors/frmWork.h"
#include "main/frmMain.h"
#include "platform/Grid.h"
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
    frmMain window(desktop(), clock, dir());
    ASSERT_TRUE(window.Load());
    ASSERT_EQ(window.grdData->rows(), 4);
    window.grdData->setRow(1);

    // Works each modal editor that appears with the next step, from inside its modal loop.
    std::deque<std::function<void(frmWork*)>> steps;
    // Each editor shown: its name, and whether Previous and Next are enabled, as "Alpha 01".
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<frmWork*>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible() || editor->property("scripted").toBool())
            return;
        editor->setProperty("scripted", true);
        shown << editor->txtName->text() + ' ' + QString::number(editor->cmdPrevious->isEnabled()) +
                     QString::number(editor->cmdNext->isEnabled());
        if (steps.empty()) {
            ADD_FAILURE() << "an editor was shown that the test did not expect";
            return editor->cmdCancel->click();
        }
        auto step = steps.front();
        steps.pop_front();
        step(editor);
    });
    poll.start(10);
    steps.push_back([&](frmWork* e) { QTest::mouseClick(e->cmdNext, Qt::LeftButton); });
    steps.push_back([&](frmWork* e) {
        e->txtName->selectAll();
        QTest::keyClicks(e->txtName, QStringLiteral("Bravo"));
        prompts.answers = {Prompts::Answer::Yes};
        QTest::mouseClick(e->cmdNext, Qt::LeftButton);
    });
    steps.push_back([&](frmWork* e) { QTest::mouseClick(e->cmdPrevious, Qt::LeftButton); });
    // Back to the record as saved a moment ago, although the listing was not refilled yet.
    steps.push_back([&](frmWork* e) { QTest::mouseClick(e->cmdCancel, Qt::LeftButton); });
    QTest::mouseClick(window.cmdAmend, Qt::LeftButton);

    EXPECT_EQ(shown.join(','), QStringLiteral("Alpha 01,Beta 11,Gamma 10,Bravo 11"));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    // The save refreshed the listing and the saved work is the current row.
    EXPECT_FALSE(window.mDataChanged);
    EXPECT_EQ(window.grdData->row(), 2);
    EXPECT_EQ(window.grdData->cellText(2, 0), QStringLiteral("Bravo"));

    // Deleted since the listing was filled: reported, no editor, the listing refreshed.
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(betaID));
    prompts.shown.clear();
    QTest::mouseClick(window.cmdAmend, Qt::LeftButton);
    EXPECT_EQ(shown.size(), 4);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_EQ(window.grdData->rows(), 3);
    window.close();
}

TEST_F(AmendLoopTest, EnterComesBackToItsColumnAndTheRefreshTakesNoCommand)
{
    writeIni("[Initialisation]\r\nAuto-Refresh=Yes\r\nMode=Work\r\n");
    createDatabase();
    for (const char* name : {"Alpha", "Beta"})
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', (SELECT min(ID) FROM Genre), '2000')")
                 .arg(QLatin1String(name)));
    frmMain window(desktop(), clock, dir());
    ASSERT_TRUE(window.Load());
    window.grdData->setRow(2);
    window.grdData->setCol(2);
    window.grdData->setFocus();

    int editors = 0;
    bool amendTried = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<frmWork*>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible() || editor->property("scripted").toBool())
            return;
        editor->setProperty("scripted", true);
        if (++editors > 1)
            return editor->cmdCancel->click();
        editor->txtName->selectAll();
        QTest::keyClicks(editor->txtName, QStringLiteral("Bravo"));
        // Amend clicked again while the listing refreshes after the save.
        QTimer::singleShot(0, &window, [&] {
            amendTried = true;
            QTest::mouseClick(window.cmdAmend, Qt::LeftButton);
        });
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    });
    poll.start(10);
    QTest::keyClick(window.grdData, Qt::Key_Return);
    poll.stop();

    ASSERT_TRUE(amendTried);
    EXPECT_EQ(editors, 1) << "an editor opened on the half-refreshed listing";
    EXPECT_FALSE(window.mDataChanged);
    EXPECT_EQ(window.grdData->cellText(2, 0), QStringLiteral("Bravo"));
    EXPECT_EQ(window.grdData->row(), 2);
    EXPECT_EQ(window.grdData->col(), 2);
    window.close();
}
