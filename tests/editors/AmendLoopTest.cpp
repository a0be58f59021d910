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

namespace {

// Works each modal editor that appears with the next step, from inside its modal loop.
class ModalScript : public QObject {
public:
    std::deque<std::function<void(frmWork*)>> steps;
    int shown = 0;

    ModalScript()
    {
        mTimer.setInterval(10);
        connect(&mTimer, &QTimer::timeout, this, &ModalScript::poll);
        mTimer.start();
    }

private:
    void poll()
    {
        auto* editor = qobject_cast<frmWork*>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible() || editor->property("scripted").toBool())
            return;
        editor->setProperty("scripted", true);
        ++shown;
        if (steps.empty()) {
            ADD_FAILURE() << "an editor was shown that the test did not expect";
            editor->cmdCancel->click();
            return;
        }
        auto step = steps.front();
        steps.pop_front();
        step(editor);
    }

    QTimer mTimer;
};

} // namespace

class AmendLoopTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        writeIni("[Initialisation]\r\nAuto-Refresh=Yes\r\nMode=Work\r\n");
        createDatabase();
        const int genre = queryInt(QStringLiteral("SELECT ID FROM Genre ORDER BY ID"));
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', %2, '2000')")
                     .arg(QLatin1String(name)).arg(genre));
        betaID = queryInt(QStringLiteral("SELECT ID FROM Work WHERE Name = 'Beta'"));
    }

    int betaID = 0;
};

TEST_F(AmendLoopTest, PreviousAndNextStepThroughTheListing)
{
    frmMain window(dir());
    ASSERT_TRUE(window.Load());
    ASSERT_EQ(window.grdData->rows(), 4);
    window.grdData->setRow(1);

    ModalScript script;
    QStringList names;
    script.steps.push_back([&](frmWork* editor) {
        names << editor->txtName->text();
        EXPECT_FALSE(editor->cmdPrevious->isEnabled());
        EXPECT_TRUE(editor->cmdNext->isEnabled());
        QTest::mouseClick(editor->cmdNext, Qt::LeftButton);
    });
    script.steps.push_back([&](frmWork* editor) {
        names << editor->txtName->text();
        EXPECT_TRUE(editor->cmdPrevious->isEnabled());
        EXPECT_TRUE(editor->cmdNext->isEnabled());
        editor->txtName->selectAll();
        QTest::keyClicks(editor->txtName, QStringLiteral("Bravo"));
        prompts.answers = {Prompts::Answer::Yes};
        QTest::mouseClick(editor->cmdNext, Qt::LeftButton);
    });
    script.steps.push_back([&](frmWork* editor) {
        names << editor->txtName->text();
        EXPECT_TRUE(editor->cmdPrevious->isEnabled());
        EXPECT_FALSE(editor->cmdNext->isEnabled());
        QTest::mouseClick(editor->cmdPrevious, Qt::LeftButton);
    });
    script.steps.push_back([&](frmWork* editor) {
        // The record as saved a moment ago, although the listing was not refilled yet.
        names << editor->txtName->text();
        QTest::mouseClick(editor->cmdCancel, Qt::LeftButton);
    });

    QTest::mouseClick(window.cmdAmend, Qt::LeftButton);

    EXPECT_EQ(script.shown, 4);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"),
                                  QStringLiteral("Bravo")}));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(betaID)), QStringLiteral("Bravo"));
    // The save refreshed the listing and the saved work is the current row.
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(gSelectID, betaID);
    EXPECT_EQ(window.grdData->row(), 2);
    EXPECT_EQ(window.grdData->cellText(2, 0), QStringLiteral("Bravo"));
    window.close();
}

TEST_F(AmendLoopTest, AmendingAWorkDeletedMeanwhileRefreshesTheListing)
{
    frmMain window(dir());
    ASSERT_TRUE(window.Load());
    ASSERT_EQ(window.grdData->rows(), 4);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(betaID));
    window.grdData->setRow(2);

    ModalScript script;
    QTest::mouseClick(window.cmdAmend, Qt::LeftButton);

    EXPECT_EQ(script.shown, 0);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_EQ(window.grdData->rows(), 3);
    EXPECT_FALSE(gDataChanged);
    window.close();
}
