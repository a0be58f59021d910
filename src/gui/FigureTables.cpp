#include "gui/FigureTables.h"

#include <cmath>

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLegend>
#include <QStandardItemModel>
#include <QTableView>
#include <QValueAxis>
#include <algorithm>

QStandardItem* textItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setData(text.toLower(), kSortRole);
    item->setEditable(false);
    return item;
}

QStandardItem* numberItem(const QString& text, double sortValue)
{
    auto* item = new QStandardItem(text);
    item->setData(sortValue, kSortRole);
    item->setEditable(false);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QStandardItemModel* setupTable(QTableView* table, const QStringList& headers)
{
    auto* model = new QStandardItemModel(0, static_cast<int>(headers.size()), table);
    model->setHorizontalHeaderLabels(headers);
    model->setSortRole(kSortRole);
    setupTable(table, model);
    return model;
}

void setupTable(QTableView* table, QAbstractItemModel* model)
{
    table->setModel(model);
    table->setSortingEnabled(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    // Rows as high as a line of text needs, as in the main grid, not the style's roomier default.
    table->verticalHeader()->setDefaultSectionSize(table->verticalHeader()->minimumSectionSize());
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(false);
    table->sortByColumn(0, Qt::AscendingOrder);
}

void sortAgain(QTableView* table)
{
    const QHeaderView* header = table->horizontalHeader();
    table->sortByColumn(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

void setChart(QChartView* view, QChart* chart)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = view->chart();
    view->setChart(chart);
    // The view lets go of the old chart without deleting it.
    delete old;
}

QChart* valueChart(const QString& title, const QList<QAbstractSeries*>& series, QAbstractAxis* along, double highest,
                   const QString& valueFormat, const QString& valueTitle)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    // Ticks at whole steps of 1, 2 or 5 times a power of ten, at most five of them above 0,
    // so that the labels read as round numbers.
    double step = 1;
    for (double decade = 1; highest / step > 5; decade *= 10) {
        for (const double times : {1.0, 2.0, 5.0}) {
            step = times * decade;
            if (highest / step <= 5)
                break;
        }
    }
    const int steps = std::max(1, static_cast<int>(std::ceil(highest / step)));
    auto* y = new QValueAxis;
    y->setRange(0, steps * step);
    y->setTickCount(steps + 1);
    y->setLabelFormat(valueFormat);
    y->setTitleText(valueTitle);
    chart->addAxis(along, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* one : series) {
        chart->addSeries(one);
        one->attachAxis(along);
        one->attachAxis(y);
    }
    return chart;
}

QChart* categoryChart(const QString& title, QAbstractSeries* series, const QStringList& categories, double highest,
                      const QString& valueFormat, const QString& valueTitle, int labelsAngle)
{
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    x->setLabelsAngle(labelsAngle);
    // Turned labels are cut to the width of a bar, which leaves only an ellipsis; whole,
    // they take the height they need.
    x->setTruncateLabels(labelsAngle == 0);
    return valueChart(title, {series}, x, highest, valueFormat, valueTitle);
}
