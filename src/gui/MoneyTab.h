#pragma once
// The Money tab of the Statistics window: fees and payments per year and per publisher,
// their totals and a chart of the years, in the database's currency.

#include <QWidget>

#include "core/Statistics.h"
#include "gui/TableExport.h"

class QChartView;
class QLabel;
class QStandardItemModel;
class QTableView;
class Settings;

class MoneyTab : public QWidget {
    Q_OBJECT
public:
    enum YearColumn { kMoneyYear, kYearFees, kYearPayments, kYearNet, kYearAcceptances };
    enum PublisherColumn { kMoneyPublisher, kPublisherFees, kPublisherPayments, kMeanPayment };

    // The currency is read from settings each time figures are shown or exported.
    explicit MoneyTab(const Settings& settings, QWidget* parent = nullptr);

    // Fills the tables, totals and chart with money, keeping the order the user chose.
    void showFigures(const MoneyFigures& money);
    // The tax-time file: the years as shown with their totals, a blank line, then the
    // publishers as shown.
    TableText exportTable() const;

    QStandardItemModel* yearModel() const { return mYearModel; }
    QStandardItemModel* publisherModel() const { return mPublisherModel; }

private:
    void showChart(const MoneyFigures& money);

    const Settings& mSettings;
    MoneyFigures mShown;

    QTableView* mYearTable = nullptr;
    QTableView* mPublisherTable = nullptr;
    QStandardItemModel* mYearModel = nullptr;
    QStandardItemModel* mPublisherModel = nullptr;
    QLabel* mTotals = nullptr;
    QChartView* mChart = nullptr;
};
