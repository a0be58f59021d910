// File > Import... through its pages, and Edit > Undo Last Import's question.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>

#include "core/CsvImport.h"
#include "gui/ImportWizard.h"
#include "support/TestEnv.h"

class ImportWizardTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        createDatabase();
        writeIni("[Initialisation]\r\nMode=Submission\r\n");
        writeFile(path(QStringLiteral("log.csv")), "Story;Magazine;Sent;Decision;Extra\r\n"
                                                   "Night Ferry;Brass Lantern;14/03/2024;Shortlisted;kind words\r\n"
                                                   "Salt;Tin House;02/04/2024;Declined;\r\n");
        startWindow();
    }
    // Runs the wizard from the File menu, drive() working it while it is open.
    void runWizard(const std::function<void(ImportWizard&)>& drive)
    {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* wizard = qobject_cast<ImportWizard*>(QApplication::activeModalWidget());
            ASSERT_NE(wizard, nullptr);
            driven = true;
            drive(*wizard);
            if (wizard->isVisible())
                wizard->reject();
        });
        child<QAction>(window, "importAction")->trigger();
        EXPECT_TRUE(driven);
    }
    static void choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
};

TEST_F(ImportWizardTest, WalksThePagesFromFileToImportAndUndoAsksFirst)
{
    runWizard([&](ImportWizard& w) {
        QAbstractButton* next = w.button(QWizard::NextButton);
        EXPECT_FALSE(next->isEnabled());  // no file yet
        child<QLineEdit>(&w, "importFile")->setText(path(QStringLiteral("log.csv")));
        next->click();

        // The preview: dates show the day they are read as.
        ASSERT_EQ(w.currentId(), ImportWizard::PreviewPage);
        auto* preview = child<QTableWidget>(&w, "preview");
        EXPECT_EQ(preview->columnCount(), 5);
        EXPECT_TRUE(preview->item(0, 2)->text().contains(QStringLiteral("14 March 2024")));
        next->click();

        // The mapping: found from the header; a field taken again leaves its first column.
        ASSERT_EQ(w.currentId(), ImportWizard::MappingPage);
        auto* story = child<QComboBox>(&w, "field0");
        auto* extra = child<QComboBox>(&w, "field4");
        EXPECT_EQ(story->currentData().toInt(), int(ImportField::Work));
        EXPECT_EQ(extra->currentData().toInt(), int(ImportField::Ignored));
        choose(extra, extra->findData(int(ImportField::Work)));
        EXPECT_EQ(story->currentData().toInt(), int(ImportField::Ignored));
        choose(story, story->findData(int(ImportField::Work)));
        choose(extra, extra->findData(int(ImportField::Notes)));
        next->click();

        // An unknown status word must be given a status before going on.
        ASSERT_EQ(w.currentId(), ImportWizard::StatusPage);
        auto* words = child<QTableWidget>(&w, "statusWords");
        ASSERT_EQ(words->rowCount(), 2);
        EXPECT_EQ(words->item(0, 0)->text(), QStringLiteral("Shortlisted"));
        EXPECT_FALSE(next->isEnabled());
        choose(child<QComboBox>(&w, "status0"), 1);  // Unreturned
        EXPECT_TRUE(next->isEnabled());
        next->click();

        ASSERT_EQ(w.currentId(), ImportWizard::SummaryPage);
        EXPECT_TRUE(child<QLabel>(&w, "summary")->text().contains(QStringLiteral("Submissions: 2 to add")));
        w.button(QWizard::FinishButton)->click();
    });
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission WHERE Notes = 'kind words' AND Status = 0")), 1);
    EXPECT_EQ(column(0), (QStringList{"Night Ferry", "Salt"}));  // the listing was refreshed

    // Edit > Undo Last Import says what it removes and asks first.
    QAction* undo = child<QAction>(window, "undoImportAction");

    prompts.answers = {Prompts::Answer::No};
    undo->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("log.csv"))
                && prompts.shown[0].text.contains(QStringLiteral("2 submission(s), 2 work(s), 2 publisher(s)")))
        << prompts.shown[0].text.toStdString();
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission")), 2);

    prompts.answers = {Prompts::Answer::Yes};
    undo->trigger();
    EXPECT_EQ(queryInt(QStringLiteral("SELECT COUNT(*) FROM Submission")), 0);

    // The same header again: the mapping chosen last time comes back.
    runWizard([&](ImportWizard& w) {
        child<QLineEdit>(&w, "importFile")->setText(path(QStringLiteral("log.csv")));
        w.button(QWizard::NextButton)->click();
        w.button(QWizard::NextButton)->click();
        ASSERT_EQ(w.currentId(), ImportWizard::MappingPage);
        EXPECT_EQ(child<QComboBox>(&w, "field4")->currentData().toInt(), int(ImportField::Notes));
    });
}
