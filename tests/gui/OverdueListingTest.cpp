// The main window's Submission view: overdue rows shaded with a note a screen reader can
// read, their count in the status panel, the shipped "Overdue Submissions" selection, and
// File > Export Listing giving back the grid's cells.

#include <QComboBox>
#include <QStandardItemModel>
#include <QToolButton>
#include <SQLiteCpp/Database.h>
#include <QFile>
#include <QLocale>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "gui/OverdueRows.h"
#include "gui/StatisticsWindow.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "gui/StatusPanel.h"
#include "support/InsightData.h"
#include "support/TestEnv.h"

class OverdueListingTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        createDatabase();
        records = addInsightRecords(database());
        // Today 1 January 2025: Brass Lantern answers within 200 days, so its 5 (sent 1 May
        // 2024, 245 days) is overdue; Gone Press's 12 is sent later than today.
        clock.date = QDate(2025, 1, 1);
        exec(QStringLiteral("UPDATE Publisher SET Answer_Within_Days = 200 WHERE ID = %1;").arg(records.brass));
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (%1, %2, '2024-10-02', 0, 0), (%1, %2, '2024-10-03', 0, 0);")
                 .arg(records.saltRoad)
                 .arg(records.quarto));  // 14: 91 days, 15: 90 days
        session().closeDatabase();

        // The settings file the program ships, started in the Submission view.
        QFile shipped(QStringLiteral(QUILLARY_SOURCE_DIR "/QUILLARY.INI"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        QByteArray ini = shipped.readAll();
        ini.replace("Mode=Work", "Mode=Submission");
        writeIni(ini);
        window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
        ASSERT_TRUE(window->load());
    }
    void TearDown() override
    {
        window.reset();
        QLocale::setDefault(QLocale::system());
        QuillaryTest::TearDown();
    }

    QList<int> shadedIds()
    {
        QList<int> ids;
        ListingModel* model = child<GridView>(window, "grid")->gridModel();
        for (int r = 0; r < model->rowCount(); ++r) {
            if (model->data(model->index(r, 0), Qt::BackgroundRole).value<QColor>() == overdueShade())
                ids << child<GridView>(window, "grid")->rowId(r + 1);
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    InsightRecords records;
    std::unique_ptr<MainWindow> window;
};

TEST_F(OverdueListingTest, OverdueRowsAreShadedExplainedAndCounted)
{
    ASSERT_EQ(window->view(), View::Submission);
    EXPECT_EQ(child<GridView>(window, "grid")->rows(), 1 + 15);
    EXPECT_EQ(shadedIds(), (QList<int>{5, 14}));
    EXPECT_TRUE(child<StatusPanel>(window, "statusPanel")->caption().contains("15 records found; 2 overdue (shaded orange)"))
        << child<StatusPanel>(window, "statusPanel")->caption().toStdString();

    ListingModel* model = child<GridView>(window, "grid")->gridModel();
    const int row = child<GridView>(window, "grid")->rowOfId(5) - 1;
    for (int c = 0; c < model->columnCount(); ++c) {
        EXPECT_EQ(model->data(model->index(row, c), Qt::AccessibleDescriptionRole).toString(),
                  "Overdue: sent 245 days ago; this publisher answers within 200 days");
    }
    EXPECT_EQ(model->data(model->index(child<GridView>(window, "grid")->rowOfId(14) - 1, 3), Qt::ToolTipRole).toString(),
              "Overdue: sent 91 days ago; the Overdue-Days setting allows 90 days");
    EXPECT_FALSE(model->data(model->index(child<GridView>(window, "grid")->rowOfId(15) - 1, 0), Qt::ToolTipRole).isValid());

    // The shipped selection lists exactly those.
    const int overdueSelection = child<QComboBox>(window, "selectionCombo")->findText("Overdue Submissions");
    ASSERT_GE(overdueSelection, 0);
    child<QComboBox>(window, "selectionCombo")->setCurrentIndex(overdueSelection);
    window->onSelectionChosen();
    EXPECT_EQ(child<GridView>(window, "grid")->rows(), 1 + 2);
    EXPECT_EQ(shadedIds(), (QList<int>{5, 14}));
    EXPECT_TRUE(child<StatusPanel>(window, "statusPanel")->caption().contains(" 2 records found; 2 overdue (shaded orange)"));

    // A day later 15 is over too; other views are never shaded.
    clock.date = clock.date.addDays(1);
    window->onRefreshClicked();
    EXPECT_EQ(shadedIds(), (QList<int>{5, 14, 15}));
    window->switchView(View::Work);
    EXPECT_TRUE(shadedIds().isEmpty());
    EXPECT_FALSE(child<StatusPanel>(window, "statusPanel")->caption().contains("overdue"));
}

TEST_F(OverdueListingTest, ExportListingWritesTheGridsCellsInTheirOrder)
{
    // A note with a comma, quotes and a line break travels whole.
    window->session().database()->exec(
        "UPDATE Submission SET Notes = 'said \"no\", kindly' || char(13) || char(10) || 'see letter' WHERE ID = 1;");
    window->onRefreshClicked();
    prompts.saveNames = {path("listing.csv")};
    child<QAction>(window, "exportAction")->trigger();
    QFile file(path("listing.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const QList<QStringList> csv = readCsv(bytes);
    GridView* grid = child<GridView>(window, "grid");
    ASSERT_EQ(csv.size(), grid->rows());
    for (int r = 0; r < grid->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->cols(); ++c)
            cells << grid->cellText(r, c);
        EXPECT_EQ(csv[r], cells) << r;
    }

    // An empty listing writes the header alone, not the "nothing found" line.
    window->session().database()->exec("DELETE FROM Submission;");
    window->onRefreshClicked();
    prompts.saveNames = {path("empty.csv")};
    window->exportListing();
    QFile empty(path("empty.csv"));
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    const QByteArray header = empty.readAll();
    EXPECT_EQ(header.toStdString(), "Work,Publisher,Submitted,Returned,Status,Outcome,Notes\r\n");
}

TEST_F(OverdueListingTest, StatisticsOpensFromTheMenuTheKeyAndTheButton)
{
    EXPECT_EQ(child<QAction>(window, "statisticsAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QTest::mouseClick(child<QToolButton>(window, "statisticsButton"), Qt::LeftButton);
    StatisticsWindow* statistics = window->statisticsWindow();
    ASSERT_TRUE(statistics);
    EXPECT_TRUE(statistics->isVisible());
    EXPECT_EQ(statistics->publisherModel()->rowCount(), 4);
    statistics->close();
    child<QAction>(window, "statisticsAction")->trigger();
    EXPECT_EQ(window->statisticsWindow(), statistics);
    EXPECT_TRUE(statistics->isVisible());
}
