// The main window's Amend command stepping through the listing with the modal Work editor.

#include <QApplication>
#include <QTimer>
#include <QToolButton>
#include <deque>

#include "gui/editors/WorkEditor.h"
#include "support/EditorTestKit.h"

class AmendLoopTest : public WindowTest {};

TEST_F(AmendLoopTest, AmendAndEnterStepThroughTheListingAndComeBackToTheirRecord)
{
    writeIni("[Initialisation]\r\nAuto-Refresh=Yes\r\nMode=Work\r\n");
    createDatabase();
    exec("INSERT INTO Work (Name, Genre_ID) VALUES ('Alpha', 1), ('Beta', 1), ('Gamma', 1)");
    MainWindow& window = startWindow();
    GridView* grid = &this->grid();
    auto* amend = child<QToolButton>(window, "amendButton");
    grid->setCurrentCell(0, 0);

    // Each modal Work editor, once it shows, is handed to script from inside its modal loop.
    std::function<void(WorkEditor*)> script;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<WorkEditor*>(QApplication::activeModalWidget());
        if (editor && editor->isVisible() && !editor->property("scripted").toBool()) {
            editor->setProperty("scripted", true);
            script(editor);
        }
    });
    poll.start(10);

    // Each editor shown: its name, and whether Previous and Next are enabled, as "Alpha 01".
    QStringList shown;
    std::deque<const char*> steps{"nextButton", "nextButton", "previousButton", "cancelButton"};
    script = [&](WorkEditor* editor) {
        shown << child<QLineEdit>(editor, "nameEdit")->text() + ' '
                     + QString::number(child<QPushButton>(editor, "previousButton")->isEnabled())
                     + QString::number(child<QPushButton>(editor, "nextButton")->isEnabled());
        if (steps.empty())  // one the test did not expect: the list of those shown says so
            return press(editor, "cancelButton");
        if (steps.size() == 3) {  // Beta renamed, and saved on the way to Gamma
            QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), "Bravo");  // over the selected name
            prompts.answers = {Prompts::Answer::Yes};
        }
        press(editor, steps.front());
        steps.pop_front();
    };
    click(amend);
    // Back on Beta, the record as saved a moment ago, although the listing was not refilled yet.
    EXPECT_EQ(shown.join(','), "Alpha 01,Beta 11,Gamma 10,Bravo 11");
    EXPECT_EQ(prompts.texts(), QStringList{"Changes have been made; shall I save them?"});
    // The save refreshed the listing and the saved work is the current row.
    EXPECT_FALSE(window.listing().dataChanged());
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->listingModel()->cellText(1, 0), "Bravo");

    // Enter opens the editor and comes back to its column; Amend clicked while the listing
    // refreshes after the save opens nothing.
    grid->setCurrentCell(1, 2);
    grid->setFocus();
    int editors = 0;
    bool amendTried = false;
    script = [&](WorkEditor* editor) {
        if (++editors > 1)
            return press(editor, "cancelButton");
        QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), "Brio");
        QTimer::singleShot(0, &window, [&] {
            amendTried = true;
            click(amend);
        });
        press(editor, "okButton");
    };
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_TRUE(amendTried);
    EXPECT_EQ(editors, 1) << "an editor opened on the half-refreshed listing";
    EXPECT_FALSE(window.listing().dataChanged());
    EXPECT_EQ(grid->listingModel()->cellText(1, 0), "Brio");
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), 2);

    // Deleted since the listing was filled: reported, no editor, the listing refreshed.
    exec("DELETE FROM Work WHERE Name = 'Brio'");
    prompts.shown.clear();
    click(amend);
    EXPECT_EQ(shown.size() + editors, 5);
    EXPECT_EQ(prompts.texts(), QStringList{"This Work no longer exists."});
    EXPECT_EQ(grid->model()->rowCount(), 2);
}
