// The main window's Amend command stepping through the listing with the Work editor,
// the editor run modally as the program runs it.

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
    frmMain window(dir());
    ASSERT_TRUE(window.Load());
    ASSERT_EQ(window.grdData->rows(), 4);
    window.grdData->setRow(1);

    // Works each modal editor that appears with the next step, from inside its modal loop.
    std::deque<std::function<void(frmWork*)>> steps;
    QStringList names;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<frmWork*>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible() || editor->property("scripted").toBool())
            return;
        editor->setProperty("scripted", true);
        names << editor->txtName->text();
        if (steps.empty()) {
            ADD_FAILURE() << "an editor was shown that the test did not expect";
            return editor->cmdCancel->click();
        }
        auto step = steps.front();
        steps.pop_front();
        step(editor);
    });
    poll.start(10);
    auto enabled = [](frmWork* e) { return QString::number(e->cmdPrevious->isEnabled()) + QString::number(e->cmdNext->isEnabled()); };
    QStringList states;
    steps.push_back([&](frmWork* e) { states << enabled(e); QTest::mouseClick(e->cmdNext, Qt::LeftButton); });
    steps.push_back([&](frmWork* e) {
        states << enabled(e);
        e->txtName->selectAll();
        QTest::keyClicks(e->txtName, QStringLiteral("Bravo"));
        prompts.answers = {Prompts::Answer::Yes};
        QTest::mouseClick(e->cmdNext, Qt::LeftButton);
    });
    steps.push_back([&](frmWork* e) { states << enabled(e); QTest::mouseClick(e->cmdPrevious, Qt::LeftButton); });
    // The record as saved a moment ago, although the listing was not refilled yet.
    steps.push_back([&](frmWork* e) { QTest::mouseClick(e->cmdCancel, Qt::LeftButton); });
    QTest::mouseClick(window.cmdAmend, Qt::LeftButton);

    EXPECT_EQ(names, (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"),
                                  QStringLiteral("Bravo")}));
    EXPECT_EQ(states, (QStringList{QStringLiteral("01"), QStringLiteral("11"), QStringLiteral("10")}));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(betaID)), QStringLiteral("Bravo"));
    // The save refreshed the listing and the saved work is the current row.
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(gSelectID, betaID);
    EXPECT_EQ(window.grdData->row(), 2);
    EXPECT_EQ(window.grdData->cellText(2, 0), QStringLiteral("Bravo"));

    // Deleted since the listing was filled: reported, no editor, the listing refreshed.
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(betaID));
    prompts.shown.clear();
    QTest::mouseClick(window.cmdAmend, Qt::LeftButton);
    EXPECT_EQ(names.size(), 4);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_EQ(window.grdData->rows(), 3);
    EXPECT_FALSE(gDataChanged);
    window.close();
}
