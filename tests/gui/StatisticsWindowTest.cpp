// What the Statistics window shows and exports; the figures themselves are the core's.

#include <QtCharts>
#include <QtWidgets>

#include "gui/StatisticsWindow.h"
#include "gui/WorkFiguresModel.h"
#include "support/EditorTestKit.h"
#include "support/InsightData.h"

using W = StatisticsWindow;

class StatisticsWindowTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        addInsightRecords(database());
        window = std::make_unique<StatisticsWindow>(session(), prompts);
        ASSERT_TRUE(window->reload());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        QuillaryTest::TearDown();
    }
    template <class T>
    T* get(const char* name) { return child<T>(window, name); }
    // The texts of cells r, c of a table with either r or c -1: a whole column or row.
    static QStringList texts(QStandardItemModel* model, int r, int c)
    {
        QStringList list;
        for (int i = 0; i < (r < 0 ? model->rowCount() : model->columnCount()); ++i)
            list << model->item(r < 0 ? i : r, r < 0 ? c : i)->text();
        return list;
    }
    QStandardItem* cell(const QString& publisher, int c)
    {
        return window->publisherModel()->item(publishers().indexOf(publisher), c);
    }
    QStringList publishers() { return texts(window->publisherModel(), -1, W::kPublisherName); }

    UkLocale locale;
    std::unique_ptr<StatisticsWindow> window;
};

TEST_F(StatisticsWindowTest, FiltersGreysSortsAndExportsTablesAndChartsAsShown)
{
    // Day figures on fewer than five returns are greyed and say why.
    const QColor grey = window->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(cell("Brass Lantern", W::kMedian)->foreground().color(), grey);
    EXPECT_TRUE(cell("Brass Lantern", W::kMedian)->toolTip().contains("Rests on 4 submission(s): fewer than 5"));
    EXPECT_NE(cell("Quarto", W::kMean)->foreground().color(), grey);

    // The filter field narrows the tables and the charts.
    auto bars = [&](const char* chart) {
        auto* series = qobject_cast<QBarSeries*>(get<QChartView>(chart)->chart()->series().value(0));
        return series ? series->barSets() : QList<QBarSet*>();
    };
    ASSERT_EQ(bars("monthChart").size(), 2);
    EXPECT_EQ(bars("monthChart")[0]->count(), 15);
    typeInto(get<QLineEdit>("filterEdit"), "quarto");
    EXPECT_EQ(publishers(), QStringList{"Quarto"});
    EXPECT_EQ(window->workModel()->rowCount(), 3);
    EXPECT_EQ(bars("monthChart")[0]->count(), 7);  // February to August 2024
    get<QLineEdit>("filterEdit")->clear();

    // The works' table sorts by a column's value; the selected work keeps its selection.
    auto* works = get<QTableView>("workTable");
    works->selectRow(0);
    const QString selected = works->currentIndex().data().toString();
    works->sortByColumn(WorkFiguresModel::kSent, Qt::AscendingOrder);
    EXPECT_EQ(works->model()->index(0, WorkFiguresModel::kSent).data().toString(), "2");
    EXPECT_EQ(works->currentIndex().row(), 2);
    EXPECT_EQ(works->currentIndex().data().toString(), selected);
    EXPECT_TRUE(works->selectionModel()->isRowSelected(works->currentIndex().row()));

    // A click on a header sorts numbers as numbers; the table is exported as shown.
    get<QTableView>("publisherTable")->sortByColumn(W::kSent, Qt::DescendingOrder);
    EXPECT_EQ(texts(window->publisherModel(), -1, W::kSent).first(), "6");
    prompts.saveNames = {path("publishers")};
    click(get<QPushButton>("exportButton"));
    const QList<QStringList> csv = readCsv(readFile(path("publishers.csv")));
    ASSERT_EQ(csv.size(), window->publisherModel()->rowCount() + 1);
    EXPECT_EQ(csv[1], texts(window->publisherModel(), 0, -1));

    // Charts are saved as PNG or SVG; a place that cannot be written says so.
    get<QTabWidget>("tabs")->setCurrentIndex(W::kMonthTab);
    EXPECT_EQ(get<QPushButton>("exportButton")->text(), "Sa&ve Chart...");
    prompts.saveNames = {path("months.png"), path("months.svg"), path("no/such/folder/x.png")};
    for (int i = 0; i < 3; ++i)
        click(get<QPushButton>("exportButton"));
    EXPECT_GT(QImage(path("months.png")).width(), 100);
    EXPECT_TRUE(readFile(path("months.svg")).contains("Submissions sent and answered per month"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be saved"));

    // Years of months are drawn as two lines, a point per month, not as bars too thin to read.
    exec("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Status) VALUES (1, 1, '2019-01-31', 0);");
    ASSERT_TRUE(window->reload());
    const QList<QAbstractSeries*> lines = get<QChartView>("monthChart")->chart()->series();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(qobject_cast<QLineSeries*>(lines[0])->count(), 75);  // January 2019 to March 2025

    // The money tab exports both its tables, the totals after the years.
    session().settings().setCurrencyCode(QStringLiteral("GBP"));
    exec("UPDATE Submission SET Fee = 300 WHERE ID IN (1, 2);"
         "UPDATE Submission SET Payment = 5000, Date_Paid = '2023-01-05' WHERE ID = 3;");
    ASSERT_TRUE(window->reload());
    get<QTabWidget>("tabs")->setCurrentIndex(W::kMoneyTab);
    EXPECT_EQ(get<QChartView>("moneyChart")->chart()->series().size(), 1);
    prompts.saveNames = {path("money.csv")};
    click(get<QPushButton>("exportButton"));
    const QList<QStringList> money = readCsv(readFile(path("money.csv")));
    const int years = window->moneyYearModel()->rowCount();
    ASSERT_GE(money.size(), years + 3);  // the blank line between the tables is not a record
    EXPECT_EQ(money[years + 1].mid(0, 4), (QStringList{"Total", "£6.00", "£50.00", "£44.00"}));
    EXPECT_EQ(money[years + 2][0], "Publisher");
}
