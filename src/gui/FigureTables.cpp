#include "gui/FigureTables.h"

#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLegend>
#include <QStandardItemModel>
#include <QTableView>

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

void setupTable(QTableView* table, QStandardItemModel* model)
{
    model->setSortRole(kSortRole);
    table->setModel(model);
    table->setSortingEnabled(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
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
