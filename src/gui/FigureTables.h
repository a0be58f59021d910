#pragma once
// The pieces the statistics pages build their tables and charts from: cells that sort by
// their value rather than their text, tables that keep the user's order across a refill,
// and charts over categories whose view drops the old chart on each refill.

#include <QList>
#include <QStringList>

class QAbstractAxis;
class QAbstractItemModel;
class QAbstractSeries;
class QChart;
class QChartView;
class QStandardItem;
class QStandardItemModel;
class QTableView;

// The role the tables sort by: a text's lower case, a number's value.
inline constexpr int kSortRole = Qt::UserRole;

QStandardItem* textItem(const QString& text);
// A right-aligned cell showing text and sorted by sortValue.
QStandardItem* numberItem(const QString& text, double sortValue);

// Gives table a model of its own with these column headers: read-only, sorted on a click
// on a header, the first column ascending to start with.
QStandardItemModel* setupTable(QTableView* table, const QStringList& headers);
// The same for a model of the caller's own.
void setupTable(QTableView* table, QAbstractItemModel* model);
// Keeps the order the user chose across a refill.
void sortAgain(QTableView* table);

// Shows chart in view, deleting the chart it showed before.
void setChart(QChartView* view, QChart* chart);

// A chart titled title of each of series along the axis at the bottom, against a value axis
// on the left from nought to highest (or 1 when there is nothing), ticked at round steps.
QChart* valueChart(const QString& title, const QList<QAbstractSeries*>& series, QAbstractAxis* along, double highest,
                   const QString& valueFormat, const QString& valueTitle);
// A chart titled title of series over categories along the bottom (their labels turned by
// labelsAngle degrees), against a value axis on the left from nought to highest, or to 1
// when there is nothing.
QChart* categoryChart(const QString& title, QAbstractSeries* series, const QStringList& categories, double highest,
                      const QString& valueFormat, const QString& valueTitle, int labelsAngle = 0);
