// The Statistics window offscreen: the figures it shows and greys, the filter and date range,
// sorting, and what it exports.

#include <QtCharts>
#include <QtWidgets>

#include "gui/StatisticsWindow.h"
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
    // The publisher table's cell in the row of that name.
    QStandardItem* cell(const QString& name, int c)
    {
        const int r = publishers().indexOf(name);
        return r < 0 ? nullptr : window->publisherModel()->item(r, c);
    }
    QStringList publishers() { return texts(window->publisherModel(), -1, W::kPublisherName); }

    UkLocale locale;
    std::unique_ptr<StatisticsWindow> window;
};

TEST_F(StatisticsWindowTest, ShowsGreyedFiguresFilteredRangedSortedAndExported)
{
    EXPECT_EQ(publishers(), (QStringList{"(deleted publisher 3)", "Brass Lantern", "Night Owl", "Quarto"}));
    EXPECT_EQ(texts(window->publisherModel(), 1, -1).mid(W::kSent).join(' '), "6 5 1 2 33% 4 40 37.5 10 60 1");
    EXPECT_EQ(cell("(deleted publisher 3)", W::kMedian)->text(), "");  // no day figures at all
    // Day figures on fewer than five returns, and rates on fewer than five sent, are greyed.
    const QColor grey = window->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(cell("Brass Lantern", W::kMedian)->foreground().color(), grey);
    EXPECT_TRUE(cell("Brass Lantern", W::kMedian)->toolTip().contains("Rests on 4 submission(s): fewer than 5"));
    EXPECT_NE(cell("Quarto", W::kMean)->foreground().color(), grey);
    EXPECT_EQ(cell("Night Owl", W::kRate)->foreground().color(), grey);
    EXPECT_TRUE(cell("Brass Lantern", W::kRate)->toolTip().contains("2 of 6 accepted"));

    EXPECT_EQ(texts(window->workModel(), 1, -1).join('|'), "Hidden Ticket|6|3|0|15/01/2025");
    EXPECT_TRUE(get<QLabel>("datesToCheck")->text().startsWith("Dates to check: 2 "));

    // The filter, the date range and the sort order change the tables and the charts.
    auto bars = [&](const char* chart) {
        auto* series = qobject_cast<QBarSeries*>(get<QChartView>(chart)->chart()->series().value(0));
        return series ? series->barSets() : QList<QBarSet*>();
    };
    ASSERT_EQ(bars("monthChart").size(), 2);
    EXPECT_EQ(bars("monthChart")[0]->count(), 15);
    EXPECT_EQ(bars("monthChart")[1]->at(1), 3);  // February 2024: three answers

    typeInto(get<QLineEdit>("filterEdit"), "quarto");
    EXPECT_EQ(publishers(), QStringList{"Quarto"});
    EXPECT_EQ(window->workModel()->rowCount(), 3);
    EXPECT_EQ(bars("monthChart")[0]->count(), 7);  // February to August 2024
    EXPECT_TRUE(get<QLabel>("datesToCheck")->text().contains("none"));
    get<QLineEdit>("filterEdit")->clear();

    get<QCheckBox>("rangeCheck")->setChecked(true);
    get<QDateEdit>("fromEdit")->setDate(QDate(2024, 2, 1));
    get<QDateEdit>("toEdit")->setDate(QDate(2024, 3, 1));
    EXPECT_EQ(publishers(), (QStringList{"Brass Lantern", "Quarto"}));
    EXPECT_EQ(cell("Quarto", W::kSent)->text(), "2");
    ASSERT_FALSE(bars("yearChart").isEmpty());
    EXPECT_EQ(bars("yearChart")[0]->count(), 0);  // no acceptance among them
    get<QCheckBox>("rangeCheck")->setChecked(false);

    // A click on a header sorts by its figures, numbers as numbers; the order stays through a refill.
    get<QTableView>("publisherTable")->sortByColumn(W::kShortest, Qt::AscendingOrder);
    EXPECT_EQ(publishers(), (QStringList{"Quarto", "Brass Lantern", "(deleted publisher 3)", "Night Owl"}));
    get<QTableView>("publisherTable")->sortByColumn(W::kSent, Qt::DescendingOrder);
    typeInto(get<QLineEdit>("filterEdit"), "a");
    EXPECT_EQ(texts(window->publisherModel(), -1, W::kSent).first(), "6");

    // Tables are exported as shown, charts as PNG or SVG.
    prompts.saveNames = {path("publishers")};
    click(get<QPushButton>("exportButton"));
    QFile file(path("publishers.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStandardItemModel* model = window->publisherModel();
    QList<QStringList> shown{{}};
    for (int c = 0; c < model->columnCount(); ++c)
        shown[0] << model->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model->rowCount(); ++r)
        shown << texts(model, r, -1);
    EXPECT_EQ(readCsv(file.readAll()), shown);
    EXPECT_EQ(shown[1][0], "Brass Lantern");

    // Cancelled: nothing written, nothing said.
    get<QTabWidget>("tabs")->setCurrentIndex(W::kWorksTab);
    click(get<QPushButton>("exportButton"));
    EXPECT_TRUE(prompts.shown.isEmpty());

    get<QTabWidget>("tabs")->setCurrentIndex(W::kMonthTab);
    EXPECT_EQ(get<QPushButton>("exportButton")->text(), "Sa&ve Chart...");
    prompts.saveNames = {path("months.png"), path("months.svg"), path("no/such/folder/x.png")};
    for (int i = 0; i < 3; ++i)
        click(get<QPushButton>("exportButton"));
    EXPECT_GT(QImage(path("months.png")).width(), 100);
    QFile svg(path("months.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    EXPECT_TRUE(drawing.contains("<svg") && drawing.contains("Submissions sent and answered per month"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be saved"));
}

TEST_F(StatisticsWindowTest, MoneyTabShowsTheYearsThePublishersAndExportsTheTaxTimeFile)
{
    session().settings().setCurrencyCode(QStringLiteral("GBP"));
    exec("UPDATE Submission SET Fee = 300 WHERE ID IN (1, 2);"
         "UPDATE Submission SET Payment = 5000, Date_Paid = '2023-01-05' WHERE ID = 3;");
    ASSERT_TRUE(window->reload());
    get<QTabWidget>("tabs")->setCurrentIndex(W::kMoneyTab);
    EXPECT_EQ(get<QPushButton>("exportButton")->text(), "&Export Table...");
    const QStringList years = texts(window->moneyYearModel(), -1, W::kMoneyYear);
    ASSERT_FALSE(years.isEmpty());
    const int paidRow = years.indexOf("2023");
    ASSERT_GE(paidRow, 0) << years.join(' ').toStdString();
    EXPECT_EQ(window->moneyYearModel()->item(paidRow, W::kYearPayments)->text(), "£50.00");
    EXPECT_TRUE(get<QLabel>("moneyTotals")->text().contains("fees paid £6.00, payments received £50.00, net £44.00"))
        << get<QLabel>("moneyTotals")->text().toStdString();
    EXPECT_EQ(get<QChartView>("moneyChart")->chart()->series().size(), 1);

    prompts.saveNames = {path("money.csv")};
    click(get<QPushButton>("exportButton"));
    QFile file(path("money.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QStringList> csv = readCsv(file.readAll());
    ASSERT_GE(csv.size(), years.size() + 3);  // the blank line between the tables is not a record
    EXPECT_EQ(csv[0][W::kYearNet], "Net");
    EXPECT_EQ(csv[years.size() + 1].mid(0, 4), (QStringList{"Total", "£6.00", "£50.00", "£44.00"}));
    EXPECT_EQ(csv[years.size() + 2][0], "Publisher");
}
