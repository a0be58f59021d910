#pragma once
// The pieces the statistics pages build their tables and charts from: cells that sort by
// their value rather than their text, tables that keep the user's order across a refill,
// and chart views whose chart is replaced on each refill.

#include <Qt>

class QChart;
class QChartView;
class QStandardItem;
class QStandardItemModel;
class QString;
class QTableView;

// The role the tables sort by: a text's lower case, a number's value.
inline constexpr int kSortRole = Qt::UserRole;

QStandardItem* textItem(const QString& text);
// A right-aligned cell showing text and sorted by sortValue.
QStandardItem* numberItem(const QString& text, double sortValue);

// Read-only, sorted on a click on a header, first column ascending to start with.
void setupTable(QTableView* table, QStandardItemModel* model);
// Keeps the order the user chose across a refill.
void sortAgain(QTableView* table);

// Shows chart in view, deleting the chart it showed before.
void setChart(QChartView* view, QChart* chart);
