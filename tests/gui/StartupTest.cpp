// Where start-up finds its files, and the status line's messages.

#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "gui/MainWindow.h"
#include "gui/StatusMessage.h"
#include "gui/StatusPanel.h"
#include "support/TestEnv.h"

class StartupTest : public QuillaryTest {};

TEST_F(StartupTest, ProgramFolderAndDatabaseCreatedOnlyOnYes)
{
    EXPECT_EQ(Session(QStringLiteral("/"), clock).settings().file(), QStringLiteral("/QUILLARY.INI"));
    EXPECT_EQ(session().settings().file(), path(QStringLiteral("QUILLARY.INI")));
    const QString file = session().databasePath();
    EXPECT_EQ(file, dir() + QStringLiteral("Quillary.mdb"));
    prompts.answers = {Prompts::Answer::No};
    {
        MainWindow window(desktop(), clock, dir());
        EXPECT_FALSE(window.load());
    }
    EXPECT_FALSE(QFile::exists(file));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("The database file %1 does not exist. Create a new database there?").arg(file));
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(prompts.shown[0].defaultButton, Prompts::Answer::Yes);

    writeIni("[Initialisation]\nDatabase=mine.db\n");
    EXPECT_EQ(session().databasePath(), dir() + QStringLiteral("mine.db"));
    writeIni("[Initialisation]\nDatabase=/srv/books.db\n");
    EXPECT_EQ(session().databasePath(), QStringLiteral("/srv/books.db"));
}

TEST_F(StartupTest, StatusMessagesClearAfterTheirTimeAndRestartOnANewOne)
{
    QWidget window;
    auto* panel = new StatusPanel(&window);
    QTimer* timer = createMessageTimer(&window, panel);

    ShowStatusMessage(&window, QStringLiteral("Saved"), 0);
    EXPECT_EQ(panel->caption(), QStringLiteral("Saved "));
    EXPECT_FALSE(timer->isActive());  // 0 seconds: stays until replaced

    ShowStatusMessage(&window, QStringLiteral("first"), 1);
    QTest::qWait(600);
    ShowStatusMessage(&window, QStringLiteral("second"), 1);
    QTest::qWait(700);
    // The second message has its own full second.
    EXPECT_EQ(panel->caption(), QStringLiteral("second "));
    QTRY_COMPARE_WITH_TIMEOUT(panel->caption(), QString(), 1500);
}
