#include "gui/StatisticsWindow.h"

#include <QBarSeries>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "core/Clock.h"
#include "core/OutputGuard.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "gui/FigureTables.h"
#include "gui/MoneyTab.h"
#include "gui/TableExport.h"
#include "gui/WorkFiguresModel.h"
#include "gui/Prompts.h"

namespace {

QString number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

// Whole numbers without decimals; a median between two days with one.
QString days(double value)
{
    return number(value, value == static_cast<int>(value) ? 0 : 1);
}

} // namespace

StatisticsWindow::StatisticsWindow(Session& session, Prompts& prompts, QWidget* parent)
    : QDialog(parent), mSession(session), mPrompts(prompts)
{
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(tr("Quillary : Statistics"));
    setSizeGripEnabled(true);

    mFilterEdit = new QLineEdit(this);
    mFilterEdit->setObjectName(QStringLiteral("filterEdit"));
    mFilterEdit->setClearButtonEnabled(true);
    mFilterEdit->setPlaceholderText(tr("Part of a work's or publisher's name"));
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(mFilterEdit);

    mRangeCheck = new QCheckBox(tr("&Sent from"), this);
    mRangeCheck->setObjectName(QStringLiteral("rangeCheck"));
    mFromEdit = new QDateEdit(this);
    mFromEdit->setObjectName(QStringLiteral("fromEdit"));
    mToEdit = new QDateEdit(this);
    mToEdit->setObjectName(QStringLiteral("toEdit"));
    for (QDateEdit* edit : {mFromEdit, mToEdit}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
        edit->setEnabled(false);
    }
    mFromEdit->setAccessibleName(tr("Sent from"));
    mToEdit->setAccessibleName(tr("Sent to"));
    auto* toLabel = new QLabel(tr("&to"), this);
    toLabel->setBuddy(mToEdit);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(mFilterEdit, 1);
    filterRow->addSpacing(12);
    filterRow->addWidget(mRangeCheck);
    filterRow->addWidget(mFromEdit);
    filterRow->addWidget(toLabel);
    filterRow->addWidget(mToEdit);

    mTabs = new QTabWidget(this);
    mTabs->setObjectName(QStringLiteral("tabs"));
    mPublisherTable = new QTableView(this);
    mPublisherTable->setObjectName(QStringLiteral("publisherTable"));
    mPublisherModel = setupTable(mPublisherTable, {tr("Publisher"), tr("Sent"), tr("Returned"), tr("Unreturned"),
                                                   tr("Accepted"), tr("Acceptance rate"), tr("Days known"),
                                                   tr("Median days"), tr("Mean days"), tr("Shortest"), tr("Longest"),
                                                   tr("Dates to check")});
    mWorkTable = new QTableView(this);
    mWorkTable->setObjectName(QStringLiteral("workTable"));
    mWorkModel = new WorkFiguresModel(mWorkTable);
    setupTable(mWorkTable, mWorkModel);

    auto makeChartView = [this](const QString& name) {
        auto* view = new QChartView(this);
        view->setObjectName(name);
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(480, 300);
        return view;
    };
    mMonthChart = makeChartView(QStringLiteral("monthChart"));
    mResponseChart = makeChartView(QStringLiteral("responseChart"));
    mYearChart = makeChartView(QStringLiteral("yearChart"));

    mTabs->addTab(mPublisherTable, tr("&Publishers"));
    mTabs->addTab(mWorkTable, tr("&Works"));
    mTabs->addTab(mMonthChart, tr("Per &month"));
    mTabs->addTab(mResponseChart, tr("&Response days"));
    mTabs->addTab(mYearChart, tr("&Acceptances"));
    mMoneyTab = new MoneyTab(mSession.settings(), this);
    mTabs->addTab(mMoneyTab, tr("M&oney"));

    mDatesToCheck = new QLabel(this);
    mDatesToCheck->setObjectName(QStringLiteral("datesToCheck"));
    mDatesToCheck->setWordWrap(true);
    mShownCount = new QLabel(this);
    mShownCount->setObjectName(QStringLiteral("shownCount"));

    mExportButton = new QPushButton(this);
    mExportButton->setObjectName(QStringLiteral("exportButton"));
    mReloadButton = new QPushButton(tr("Re&load"), this);
    mReloadButton->setObjectName(QStringLiteral("reloadButton"));
    mCloseButton = new QPushButton(tr("&Close"), this);
    mCloseButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mShownCount, 1);
    buttons->addWidget(mExportButton);
    buttons->addWidget(mReloadButton);
    buttons->addWidget(mCloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(mTabs, 1);
    layout->addWidget(mDatesToCheck);
    layout->addLayout(buttons);

    // With tens of thousands of submissions the figures take a noticeable moment, so they
    // wait for a pause in the typing rather than following every key.
    auto* typingPause = new QTimer(this);
    typingPause->setSingleShot(true);
    typingPause->setInterval(250);
    connect(typingPause, &QTimer::timeout, this, &StatisticsWindow::refresh);
    connect(mFilterEdit, &QLineEdit::textChanged, this, [this, typingPause] {
        if (mFacts.size() < kRefreshWhileTyping)
            refresh();
        else
            typingPause->start();
    });
    connect(mRangeCheck, &QCheckBox::toggled, this, [this](bool on) {
        mFromEdit->setEnabled(on);
        mToEdit->setEnabled(on);
        refresh();
    });
    connect(mFromEdit, &QDateEdit::dateChanged, this, [this] {
        if (mRangeCheck->isChecked())
            refresh();
    });
    connect(mToEdit, &QDateEdit::dateChanged, this, [this] {
        if (mRangeCheck->isChecked())
            refresh();
    });
    connect(mTabs, &QTabWidget::currentChanged, this, &StatisticsWindow::updateExportButton);
    connect(mExportButton, &QPushButton::clicked, this, &StatisticsWindow::exportCurrent);
    connect(mReloadButton, &QPushButton::clicked, this, &StatisticsWindow::reload);
    connect(mCloseButton, &QPushButton::clicked, this, &QDialog::close);
    updateExportButton();
    resize(1000, 620);
}

QStandardItemModel* StatisticsWindow::moneyYearModel() const
{
    return mMoneyTab->yearModel();
}

QStandardItemModel* StatisticsWindow::moneyPublisherModel() const
{
    return mMoneyTab->publisherModel();
}

bool StatisticsWindow::reload()
{
    if (!mSession.isOpen()) {
        mPrompts.message(this, tr("The database is not open."), Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return false;
    }
    try {
        mFacts = mSession.store().submissionFacts();
    } catch (const RecordStoreError& e) {
        mPrompts.message(this, tr("The submissions could not be read:\n\n%1").arg(e.message()), Prompts::Buttons::Ok,
                         Prompts::Icon::Critical);
        return false;
    }
    // The range starts out covering every submission, up to today.
    QDate first;
    for (const SubmissionFact& fact : mFacts) {
        if (fact.sent.isValid() && (!first.isValid() || fact.sent < first))
            first = fact.sent;
    }
    const QDate today = mSession.clock().today();
    if (!mRangeCheck->isChecked()) {
        const QSignalBlocker blockFrom(mFromEdit);
        const QSignalBlocker blockTo(mToEdit);
        mFromEdit->setDate(first.isValid() ? first : today);
        mToEdit->setDate(today);
    }
    refresh();
    fitToTables();
    return true;
}

void StatisticsWindow::fitToTables()
{
    // Wide enough for every column of the publisher table, where the screen allows.
    if (mFitted)
        return;
    mFitted = true;
    const int tableWidth = mPublisherTable->horizontalHeader()->length() + mPublisherTable->frameWidth() * 2
        + mPublisherTable->verticalScrollBar()->sizeHint().width();
    // The layout's margins and the tab page's frame around the table.
    const QMargins margins = layout()->contentsMargins();
    const int wanted = tableWidth + margins.left() + margins.right() + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 16;
    const QScreen* screen = this->screen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : wanted;
    resize(std::max(width(), std::min(wanted, room)), height());
}

StatisticsFilter StatisticsWindow::currentFilter() const
{
    StatisticsFilter filter;
    filter.text = mFilterEdit->text();
    if (mRangeCheck->isChecked()) {
        filter.from = mFromEdit->date();
        filter.to = mToEdit->date();
    }
    return filter;
}

void StatisticsWindow::refresh()
{
    const QList<SubmissionFact> facts = applyFilter(mFacts, currentFilter());
    const QList<PublisherFigures> publishers = publisherFigures(facts);
    fillPublishers(publishers);
    mWorkModel->setFigures(workFigures(facts));
    fillCharts(facts, publishers);
    mMoneyTab->showFigures(moneyFigures(facts));

    const int toCheck = datesToCheck(facts);
    mDatesToCheck->setText(
        toCheck == 0 ? tr("Dates to check: none.")
                     : tr("Dates to check: %1 returned submission(s) with a returned date before the sent date, "
                          "or without a sent date; left out of the day figures.")
                           .arg(toCheck));
    mShownCount->setText(tr("%1 of %2 submissions").arg(facts.size()).arg(mFacts.size()));
}

void StatisticsWindow::fillPublishers(const QList<PublisherFigures>& figures)
{
    mPublisherModel->removeRows(0, mPublisherModel->rowCount());
    const QColor few = palette().color(QPalette::Disabled, QPalette::Text);
    for (const PublisherFigures& f : figures) {
        auto rests = [&](QStandardItem* item, int count) {
            if (count < kFewSubmissions) {
                item->setForeground(few);
                item->setToolTip(tr("Rests on %1 submission(s): fewer than %2, so take it lightly.")
                                     .arg(count)
                                     .arg(kFewSubmissions));
            } else {
                item->setToolTip(tr("Rests on %1 submissions.").arg(count));
            }
            return item;
        };
        const QString name = f.exists ? f.name : tr("(deleted publisher %1)").arg(f.publisherId);
        QList<QStandardItem*> row;
        row << textItem(name);
        row << numberItem(QString::number(f.sent), f.sent);
        row << numberItem(QString::number(f.returned), f.returned);
        row << numberItem(QString::number(f.unreturned), f.unreturned);
        row << numberItem(QString::number(f.accepted), f.accepted);
        for (int c = kSent; c <= kAccepted; ++c)
            row[c]->setToolTip(tr("Of %1 submission(s).").arg(f.sent));
        QStandardItem* rate = numberItem(number(f.acceptanceRate() * 100.0, 0) + QLocale().percent(),
                                         f.acceptanceRate());
        rests(rate, f.sent)->setToolTip(rate->toolTip() + QLatin1Char(' ')
                                        + tr("%1 of %2 accepted.").arg(f.accepted).arg(f.sent));
        row << rate;
        row << numberItem(QString::number(f.days.count), f.days.count);
        const bool known = f.days.count > 0;
        // Without a returned submission there is no day figure; such rows sort last.
        const double none = std::numeric_limits<double>::max();
        row << rests(numberItem(known ? days(f.days.median) : QString(), known ? f.days.median : none), f.days.count);
        row << rests(numberItem(known ? number(f.days.mean, 1) : QString(), known ? f.days.mean : none), f.days.count);
        row << rests(numberItem(known ? QString::number(f.days.shortest) : QString(), known ? f.days.shortest : none),
                     f.days.count);
        row << rests(numberItem(known ? QString::number(f.days.longest) : QString(), known ? f.days.longest : none),
                     f.days.count);
        row << numberItem(QString::number(f.datesToCheck), f.datesToCheck);
        mPublisherModel->appendRow(row);
    }
    sortAgain(mPublisherTable);
}


void StatisticsWindow::fillCharts(const QList<SubmissionFact>& facts, const QList<PublisherFigures>& figures)
{
    const QLocale locale;
    {
        const QList<MonthCount> months = monthlyCounts(facts);
        const int highest = std::accumulate(months.cbegin(), months.cend(), 0, [](int most, const MonthCount& m) {
            return std::max({most, m.sent, m.answered});
        });
        const QString title = tr("Submissions sent and answered per month");
        if (months.size() <= kMonthsAsBars) {
            auto* sent = new QBarSet(tr("Sent"));
            auto* answered = new QBarSet(tr("Answered"));
            QStringList labels;
            for (const MonthCount& m : months) {
                labels << locale.toString(m.month, QStringLiteral("MMM yyyy"));
                *sent << m.sent;
                *answered << m.answered;
            }
            auto* series = new QBarSeries;
            series->append(sent);
            series->append(answered);
            setChart(mMonthChart, categoryChart(title, series, labels, highest, QStringLiteral("%d"),
                                                tr("Submissions"), months.size() > 12 ? -90 : 0));
        } else {
            // Years of months: a bar and a label for each would be too thin to read, so two
            // lines, a point a month, with a year marked at each January (every few years when
            // there are many).
            auto* sent = new QLineSeries;
            auto* answered = new QLineSeries;
            sent->setName(tr("Sent"));
            answered->setName(tr("Answered"));
            for (qsizetype i = 0; i < months.size(); ++i) {
                sent->append(i, months[i].sent);
                answered->append(i, months[i].answered);
            }
            const int years = months.last().month.year() - months.first().month.year() + 1;
            const int step = years <= 12 ? 1 : years <= 24 ? 2 : years <= 60 ? 5 : 10;
            auto* along = new QCategoryAxis;
            along->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            along->setRange(0, static_cast<qreal>(months.size() - 1));
            for (qsizetype i = 0; i < months.size(); ++i) {
                const QDate& month = months[i].month;
                if (month.month() == 1 && month.year() % step == 0)
                    along->append(QString::number(month.year()), static_cast<qreal>(i));
            }
            setChart(mMonthChart,
                     valueChart(title, {sent, answered}, along, highest, QStringLiteral("%d"), tr("Submissions")));
        }
    }
    {
        // The most used publishers among those with a day figure.
        QList<PublisherFigures> withDays;
        for (const PublisherFigures& f : figures) {
            if (f.days.count > 0)
                withDays << f;
        }
        auto* series = new QBoxPlotSeries;
        series->setName(tr("Response days (shortest, quartiles, median, longest)"));
        QStringList names;
        int longest = 0;
        for (const PublisherFigures& f : mostUsedPublishers(withDays, kChartPublishers)) {
            const QString name = f.exists ? f.name : tr("(deleted publisher %1)").arg(f.publisherId);
            auto* box = new QBoxSet(f.days.shortest, f.days.lowerQuartile, f.days.median, f.days.upperQuartile,
                                    f.days.longest, name);
            series->append(box);
            names << name;
            longest = std::max(longest, f.days.longest);
        }
        setChart(mResponseChart,
                 categoryChart(tr("Response days of the %1 most used publishers").arg(kChartPublishers), series, names,
                               longest, QStringLiteral("%d"), tr("Days"), names.size() > 5 ? -45 : 0));
    }
    {
        auto* accepted = new QBarSet(tr("Accepted"));
        QStringList years;
        int highest = 0;
        for (const YearCount& y : acceptancesPerYear(facts)) {
            years << QString::number(y.year);
            *accepted << y.accepted;
            highest = std::max(highest, y.accepted);
        }
        auto* series = new QBarSeries;
        series->append(accepted);
        setChart(mYearChart, categoryChart(tr("Acceptances per year"), series, years, highest, QStringLiteral("%d"),
                                           tr("Acceptances")));
    }
}

void StatisticsWindow::updateExportButton()
{
    const bool table = mTabs->currentIndex() <= kWorksTab || mTabs->currentIndex() == kMoneyTab;
    mExportButton->setText(table ? tr("&Export Table...") : tr("Sa&ve Chart..."));
}

void StatisticsWindow::exportCurrent()
{
    switch (mTabs->currentIndex()) {
    case kPublishersTab:
        exportTableAsCsv(this, mPrompts, ownFilesOf(mSession), tr("publisher-statistics.csv"), shownTable(*mPublisherTable));
        break;
    case kWorksTab:
        exportTableAsCsv(this, mPrompts, ownFilesOf(mSession), tr("work-statistics.csv"), shownTable(*mWorkTable));
        break;
    case kMonthTab:
        saveChart(mMonthChart, tr("submissions-per-month.png"));
        break;
    case kResponseTab:
        saveChart(mResponseChart, tr("response-days.png"));
        break;
    case kYearTab:
        saveChart(mYearChart, tr("acceptances-per-year.png"));
        break;
    case kMoneyTab:
        exportTableAsCsv(this, mPrompts, ownFilesOf(mSession), tr("money.csv"), mMoneyTab->exportTable());
        break;
    default:
        break;
    }
}

bool StatisticsWindow::saveChart(QChartView* view, const QString& suggested)
{
    QString path = mPrompts.saveFileName(this, tr("Save Chart"), suggested,
                                         tr("PNG image (*.png);;SVG drawing (*.svg)"));
    if (path.isEmpty())
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        path += QStringLiteral(".png");
    path = checkedSaveName(this, mPrompts, ownFilesOf(mSession), path);
    if (path.isEmpty())
        return false;
    bool saved = false;
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(view->size());
        svg.setViewBox(QRect(QPoint(0, 0), view->size()));
        svg.setTitle(view->chart()->title());
        QPainter painter;
        saved = painter.begin(&svg);
        if (saved) {
            view->render(&painter);
            saved = painter.end();
        }
    } else {
        saved = view->grab().save(path, "PNG");
    }
    if (!saved)
        mPrompts.message(this, tr("The chart could not be saved to %1.").arg(path), Prompts::Buttons::Ok,
                         Prompts::Icon::Critical);
    return saved;
}
