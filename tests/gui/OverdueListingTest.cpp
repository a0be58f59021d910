// The Submission view's overdue rows, their count, and File > Export Listing.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <SQLiteCpp/Database.h>

#include "gui/OverdueRows.h"
#include "support/EditorTestKit.h"
#include "support/InsightData.h"

class OverdueListingTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        createDatabase();
        const InsightRecords records = addInsightRecords(database());
        // Today 1 January 2025: Brass Lantern answers within 200 days, so its 5 (sent 1 May
        // 2024, 245 days) is overdue; Gone Press's 12 is sent later than today; 14 (91 days)
        // is over the setting's 90 days, 15 (90 days) not yet.
        clock.date = QDate(2025, 1, 1);
        exec(QStringLiteral("UPDATE Publisher SET Answer_Within_Days = 200 WHERE ID = %1;"
                            "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (%2, %3, '2024-10-02', 0, 0), (%2, %3, '2024-10-03', 0, 0);")
                 .arg(records.brass).arg(records.saltRoad).arg(records.quarto));
        writeIni(readFile(QStringLiteral(QUILLARY_SOURCE_DIR "/QUILLARY.INI")).replace("Mode=Work", "Mode=Submission"));
        startWindow();
    }

    QList<int> shadedIds()
    {
        QList<int> ids;
        for (int r = 0; r < model().rowCount(); ++r) {
            if (model().data(model().index(r, 0), Qt::BackgroundRole).value<QColor>() == overdueShade())
                ids << model().recordId(r);
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(OverdueListingTest, OverdueRowsAreShadedExplainedAndCounted)
{
    ASSERT_EQ(model().rowCount(), 15);
    EXPECT_EQ(shadedIds(), (QList<int>{5, 14}));
    EXPECT_TRUE(caption().contains("15 records found; 2 overdue (shaded orange)")) << caption().toStdString();
    auto note = [&](int id, int col, int role) { return model().data(model().index(model().rowOfRecord(id), col), role); };
    EXPECT_EQ(note(5, 2, Qt::AccessibleDescriptionRole).toString(), "Overdue: sent 245 days ago; this publisher answers within 200 days");
    EXPECT_EQ(note(14, 3, Qt::ToolTipRole).toString(), "Overdue: sent 91 days ago; the Overdue-Days setting allows 90 days");
    EXPECT_FALSE(note(15, 0, Qt::ToolTipRole).isValid());
    // A refill asks the clock again; other views are never shaded.
    clock.date = clock.date.addDays(1);
    window->refresh();
    EXPECT_EQ(shadedIds(), (QList<int>{5, 14, 15}));
    window->switchView(View::Work);
    EXPECT_TRUE(shadedIds().isEmpty());
    EXPECT_FALSE(caption().contains("overdue"));
}

TEST_F(OverdueListingTest, ExportListingWritesTheGridsCellsInTheirOrder)
{
    auto exported = [this](const char* name) {
        prompts.saveNames = {path(name)};
        child<QAction>(window, "exportAction")->trigger();
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray bytes = exported("listing.csv");
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const QList<QStringList> csv = readCsv(bytes);
    ASSERT_EQ(csv.size(), model().rowCount() + 1);
    for (int c = 0; c < model().columnCount(); ++c) {
        QStringList exported;
        for (int r = 1; r < csv.size(); ++r)
            exported << csv[r].value(c);
        EXPECT_EQ(exported, column(c)) << c;
    }
    // An empty listing writes the header alone, not the "nothing found" line.
    window->session().database()->exec("DELETE FROM Submission;");
    window->refresh();
    EXPECT_EQ(exported("empty.csv").toStdString(), "Work,Publisher,Submitted,Returned,Status,Outcome,Notes,Fee,Payment\r\n");
}

TEST_F(OverdueListingTest, ExportListingOverTheDatabaseIsRefusedAndTheWindowCarriesOn)
{
    const QByteArray before = readFile(path("Quillary.mdb"));
    const int rows = model().rowCount();
    ASSERT_TRUE(QFile::link(path("Quillary.mdb"), path("link.csv")));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));
    // The save box itself has asked "replace?" and been told Yes.
    prompts.saveNames = {path("Quillary.mdb")};
    QTest::keyClick(child<GridView>(window, "grid"), Qt::Key_E, Qt::ControlModifier);
    prompts.saveNames = {path("link.csv")};
    child<QAction>(window, "exportAction")->trigger();
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[0].text.contains(path("Quillary.mdb")) && prompts.shown[0].text.contains("the database in use"))
        << prompts.shown[0].text.toStdString();
    EXPECT_TRUE(prompts.shown[1].text.contains(path("link.csv"))) << prompts.shown[1].text.toStdString();
    EXPECT_EQ(readFile(path("Quillary.mdb")), before);
    window->refresh();
    EXPECT_EQ(model().rowCount(), rows);
}
