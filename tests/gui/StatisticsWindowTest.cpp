// The Statistics window offscreen: its figures against the hand-worked records, the greyed
// figures, the filter and date range, sorting, and what it exports.

#include <QBarSet>
#include <QBarSeries>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "gui/StatisticsWindow.h"
#include "support/EditorTestKit.h"
#include "support/InsightData.h"
#include "support/TestEnv.h"

class StatisticsWindowTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        createDatabase();
        records = addInsightRecords(database());
        window = std::make_unique<StatisticsWindow>(session(), prompts);
        ASSERT_TRUE(window->reload());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        QLocale::setDefault(QLocale::system());
        QuillaryTest::TearDown();
    }

    template <class T>
    T* child(const char* name) { return window->findChild<T*>(QLatin1String(name)); }

    // The row of the publisher table showing that name; -1 when none does.
    int publisherRow(const QString& name)
    {
        QStandardItemModel* model = window->publisherModel();
        for (int r = 0; r < model->rowCount(); ++r) {
            if (model->item(r, 0)->text() == name)
                return r;
        }
        return -1;
    }
    QStandardItem* publisherCell(const QString& name, int column)
    {
        const int row = publisherRow(name);
        return row < 0 ? nullptr : window->publisherModel()->item(row, column);
    }
    QStringList column(QStandardItemModel* model, int c)
    {
        QStringList texts;
        for (int r = 0; r < model->rowCount(); ++r)
            texts << model->item(r, c)->text();
        return texts;
    }

    InsightRecords records;
    std::unique_ptr<StatisticsWindow> window;
};

TEST_F(StatisticsWindowTest, ShowsTheHandWorkedFiguresAndGreysThoseOnFewSubmissions)
{
    using W = StatisticsWindow;
    EXPECT_EQ(column(window->publisherModel(), W::kPublisherName),
              (QStringList{"(deleted publisher 3)", "Brass Lantern", "Night Owl", "Quarto"}));
    auto figures = [&](const QString& name) {
        QStringList cells;
        for (int c = W::kSent; c < W::kPublisherColumns; ++c)
            cells << publisherCell(name, c)->text();
        return cells.join(' ');
    };
    EXPECT_EQ(figures("Brass Lantern"), "6 5 1 2 33% 4 40 37.5 10 60 1");
    EXPECT_EQ(figures("Quarto"), "5 5 0 1 20% 5 7 10.4 1 30 0");
    // No returned submission: no day figures at all.
    EXPECT_EQ(publisherCell("(deleted publisher 3)", W::kMedian)->text(), QString());
    EXPECT_EQ(publisherCell("(deleted publisher 3)", W::kUnreturned)->text(), "1");

    const QColor grey = window->palette().color(QPalette::Disabled, QPalette::Text);
    QStandardItem* fewDays = publisherCell("Brass Lantern", W::kMedian);
    EXPECT_EQ(fewDays->foreground().color(), grey);
    EXPECT_TRUE(fewDays->toolTip().contains("Rests on 4 submission(s): fewer than 5")) << fewDays->toolTip().toStdString();
    QStandardItem* enough = publisherCell("Quarto", W::kMean);
    EXPECT_NE(enough->foreground().color(), grey);
    EXPECT_EQ(enough->toolTip(), "Rests on 5 submissions.");
    EXPECT_NE(publisherCell("Brass Lantern", W::kRate)->foreground().color(), grey);  // 6 sent
    EXPECT_NE(publisherCell("Quarto", W::kRate)->foreground().color(), grey);    // 5 sent
    EXPECT_EQ(publisherCell("Night Owl", W::kRate)->foreground().color(), grey);  // 1 sent
    EXPECT_TRUE(publisherCell("Brass Lantern", W::kRate)->toolTip().contains("2 of 6 accepted"));

    EXPECT_EQ(column(window->workModel(), W::kWorkName), (QStringList{"(deleted work 3)", "Hidden Ticket", "Salt Road"}));
    QStringList ticket;
    for (int c : {W::kWorkSent, W::kWorkPublishers, W::kWorkAccepted, W::kWorkLastSent})
        ticket << window->workModel()->item(1, c)->text();
    EXPECT_EQ(ticket.join(' '), "6 3 0 15/01/2025");

    EXPECT_TRUE(child<QLabel>("datesToCheck")->text().startsWith("Dates to check: 2 ")) << child<QLabel>("datesToCheck")->text().toStdString();
}

TEST_F(StatisticsWindowTest, TheFilterTheRangeAndTheSortOrderChangeTablesAndCharts)
{
    using W = StatisticsWindow;
    auto* monthChart = child<QChartView>("monthChart");
    auto monthBars = [&] {
        auto* series = qobject_cast<QBarSeries*>(monthChart->chart()->series().value(0));
        return series ? series->barSets() : QList<QBarSet*>();
    };
    ASSERT_EQ(monthBars().size(), 2);
    EXPECT_EQ(monthBars()[0]->count(), 15);
    EXPECT_EQ(monthBars()[1]->at(1), 3);  // February 2024: three answers

    auto* boxes = qobject_cast<QBoxPlotSeries*>(child<QChartView>("responseChart")->chart()->series().value(0));
    ASSERT_TRUE(boxes);
    ASSERT_EQ(boxes->count(), 2);  // only Brass Lantern and Quarto have day figures
    EXPECT_EQ(boxes->boxSets()[0]->label(), "Brass Lantern");
    EXPECT_EQ(boxes->boxSets()[0]->at(QBoxSet::Median), 40);
    EXPECT_EQ(boxes->boxSets()[1]->at(QBoxSet::UpperExtreme), 30);

    typeInto(child<QLineEdit>("filterEdit"), QStringLiteral("quarto"));
    EXPECT_EQ(column(window->publisherModel(), W::kPublisherName), QStringList{"Quarto"});
    EXPECT_EQ(window->workModel()->rowCount(), 3);
    EXPECT_EQ(monthBars()[0]->count(), 7);  // February to August 2024
    EXPECT_TRUE(child<QLabel>("datesToCheck")->text().contains("none"));
    child<QLineEdit>("filterEdit")->clear();

    child<QCheckBox>("rangeCheck")->setChecked(true);
    child<QDateEdit>("fromEdit")->setDate(QDate(2024, 2, 1));
    child<QDateEdit>("toEdit")->setDate(QDate(2024, 3, 1));
    EXPECT_EQ(column(window->publisherModel(), W::kPublisherName), (QStringList{"Brass Lantern", "Quarto"}));
    EXPECT_EQ(publisherCell("Brass Lantern", W::kSent)->text(), "1");
    EXPECT_EQ(publisherCell("Quarto", W::kSent)->text(), "2");
    auto* years = qobject_cast<QBarSeries*>(child<QChartView>("yearChart")->chart()->series().value(0));
    ASSERT_TRUE(years);
    EXPECT_EQ(years->barSets()[0]->count(), 0);  // no acceptance among them
    child<QCheckBox>("rangeCheck")->setChecked(false);

    // A click on a header sorts by its figures, numbers as numbers; the order stays through a refill.
    auto* table = child<QTableView>("publisherTable");
    table->sortByColumn(W::kShortest, Qt::AscendingOrder);
    EXPECT_EQ(column(window->publisherModel(), W::kPublisherName),
              (QStringList{"Quarto", "Brass Lantern", "(deleted publisher 3)", "Night Owl"}));
    table->sortByColumn(W::kSent, Qt::DescendingOrder);
    typeInto(child<QLineEdit>("filterEdit"), QStringLiteral("a"));
    EXPECT_EQ(column(window->publisherModel(), W::kSent).first(), "6");
}

TEST_F(StatisticsWindowTest, ExportsTablesAsShownAndChartsAsPngOrSvg)
{
    using W = StatisticsWindow;
    auto* table = child<QTableView>("publisherTable");
    table->sortByColumn(W::kSent, Qt::DescendingOrder);
    prompts.saveNames = {path("publishers")};
    QTest::mouseClick(child<QPushButton>("exportButton"), Qt::LeftButton);
    QFile file(path("publishers.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QStringList> csv = readCsv(file.readAll());
    QStandardItemModel* model = window->publisherModel();
    ASSERT_EQ(csv.size(), model->rowCount() + 1);
    for (int c = 0; c < model->columnCount(); ++c)
        EXPECT_EQ(csv[0][c], model->headerData(c, Qt::Horizontal).toString());
    for (int r = 0; r < model->rowCount(); ++r)
        EXPECT_EQ(csv[r + 1], [&] {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->item(r, c)->text();
            return cells;
        }()) << r;
    EXPECT_EQ(csv[1][0], "Brass Lantern");

    // Cancelled: nothing written, nothing said.
    child<QTabWidget>("tabs")->setCurrentIndex(W::kWorksTab);
    QTest::mouseClick(child<QPushButton>("exportButton"), Qt::LeftButton);
    EXPECT_TRUE(prompts.shown.isEmpty());

    child<QTabWidget>("tabs")->setCurrentIndex(W::kMonthTab);
    EXPECT_EQ(child<QPushButton>("exportButton")->text(), "Sa&ve Chart...");
    prompts.saveNames = {path("months.png"), path("months.svg"), path("no/such/folder/x.png")};
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(child<QPushButton>("exportButton"), Qt::LeftButton);
    QImage png(path("months.png"));
    EXPECT_FALSE(png.isNull());
    EXPECT_GT(png.width(), 100);
    QFile svg(path("months.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    EXPECT_TRUE(drawing.contains("<svg") && drawing.contains("Submissions sent and answered per month"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be saved"));
}
