#include "gui/MoneyTab.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Settings.h"
#include "gui/FigureTables.h"

MoneyTab::MoneyTab(const Settings& settings, QWidget* parent) : QWidget(parent), mSettings(settings)
{
    setObjectName(QStringLiteral("moneyPage"));
    mYearTable = new QTableView(this);
    mYearTable->setObjectName(QStringLiteral("moneyYearTable"));
    mYearModel = setupTable(mYearTable,
                            {tr("Year"), tr("Fees paid"), tr("Payments received"), tr("Net"), tr("Acceptances")});
    mPublisherTable = new QTableView(this);
    mPublisherTable->setObjectName(QStringLiteral("moneyPublisherTable"));
    mPublisherModel = setupTable(mPublisherTable, {tr("Publisher"), tr("Fees paid"), tr("Payments received"),
                                                   tr("Mean payment per acceptance")});
    mTotals = new QLabel(this);
    mTotals->setObjectName(QStringLiteral("moneyTotals"));
    mTotals->setWordWrap(true);
    mChart = new QChartView(this);
    mChart->setObjectName(QStringLiteral("moneyChart"));
    mChart->setRenderHint(QPainter::Antialiasing);
    mChart->setMinimumHeight(fontMetrics().height() * 12);

    auto* tables = new QHBoxLayout;
    // The years' table takes the width of its columns; the publishers' table the rest.
    mYearTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    tables->addWidget(mYearTable, 0);
    tables->addWidget(mPublisherTable, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tables, 1);
    layout->addWidget(mTotals);
    layout->addWidget(mChart, 1);
}

void MoneyTab::showFigures(const MoneyFigures& money)
{
    mShown = money;
    const Currency currency = mSettings.currency();
    auto amount = [&](qint64 minor) { return numberItem(currency.format(minor), static_cast<double>(minor)); };
    mYearModel->removeRows(0, mYearModel->rowCount());
    for (const MoneyYear& y : money.years) {
        mYearModel->appendRow({numberItem(QString::number(y.year), y.year), amount(y.fees), amount(y.payments),
                               amount(y.net()), numberItem(QLocale().toString(y.acceptances), y.acceptances)});
    }
    sortAgain(mYearTable);
    mPublisherModel->removeRows(0, mPublisherModel->rowCount());
    for (const MoneyPublisher& p : money.publishers) {
        const std::optional<qint64> mean = p.meanPayment();
        mPublisherModel->appendRow(
            {textItem(p.exists ? p.name : tr("(deleted publisher %1)").arg(p.publisherId)), amount(p.fees),
             amount(p.payments), mean ? amount(*mean) : numberItem(QString(), -1)});
    }
    sortAgain(mPublisherTable);
    // XXX is the code for no currency: the locale names none and the settings file sets none.
    const QString unit = currency.code() == QLatin1String("XXX")
        ? tr("Amounts in no named currency (set Currency= in the settings file).")
        : tr("Amounts in %1.").arg(currency.code());
    mTotals->setText(tr("Totals: fees paid %1, payments received %2, net %3, acceptances %4. %5")
                         .arg(currency.format(money.fees), currency.format(money.payments),
                              currency.format(money.net()), QLocale().toString(money.acceptances), unit));
    showChart(money);
}

void MoneyTab::showChart(const MoneyFigures& money)
{
    // The chart in whole units of the currency; the tables keep the exact figures.
    const Currency currency = mSettings.currency();
    double scale = 1;
    for (int i = 0; i < currency.digits(); ++i)
        scale *= 10;
    auto* fees = new QBarSet(tr("Fees paid"));
    auto* payments = new QBarSet(tr("Payments received"));
    QStringList years;
    double highest = 0;
    for (const MoneyYear& y : money.years) {
        years << QString::number(y.year);
        *fees << y.fees / scale;
        *payments << y.payments / scale;
        highest = std::max({highest, y.fees / scale, y.payments / scale});
    }
    auto* series = new QBarSeries;
    series->append(fees);
    series->append(payments);
    setChart(mChart, categoryChart(tr("Fees and payments per year"), series, years, highest, QStringLiteral("%.0f"),
                                   currency.code() == QLatin1String("XXX") ? tr("Amount") : currency.code()));
}

TableText MoneyTab::exportTable() const
{
    TableText money = shownTable(*mYearTable);
    const Currency currency = mSettings.currency();
    money.rows << QStringList{tr("Total"), currency.format(mShown.fees), currency.format(mShown.payments),
                              currency.format(mShown.net()), QLocale().toString(mShown.acceptances)};
    const TableText publishers = shownTable(*mPublisherTable);
    money.rows << QStringList() << publishers.header << publishers.rows;
    return money;
}
