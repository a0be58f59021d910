#pragma once
// The Statistics window: figures per publisher and per work, and charts, from the writer's
// own submissions, narrowed by a text filter and a range of sent dates. The figures come
// from core/Statistics.h; this window only shows and exports them.

#include <QDialog>
#include <QList>

#include "core/Statistics.h"
#include "core/SubmissionFacts.h"

class QChartView;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class MoneyTab;
class WorkFiguresModel;
class Prompts;
class Session;

class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    // Columns of the publishers' table (the works' are WorkFiguresModel's).
    enum PublisherColumn {
        kPublisherName, kSent, kReturned, kUnreturned, kAccepted, kRate, kDaysKnown, kMedian, kMean,
        kShortest, kLongest, kDatesToCheck, kPublisherColumns
    };
    // Tabs, in order.
    enum Tab { kPublishersTab, kWorksTab, kMonthTab, kResponseTab, kYearTab, kMoneyTab };
    // A figure resting on fewer submissions than this is shown greyed.
    static constexpr int kFewSubmissions = 5;
    // The response-days chart shows this many of the most used publishers.
    static constexpr int kChartPublishers = 10;
    // Up to this many months the month chart has a bar pair per month; beyond, two lines.
    static constexpr int kMonthsAsBars = 48;
    // With fewer submissions than this the figures follow each key typed in the filter.
    static constexpr int kRefreshWhileTyping = 20000;

    StatisticsWindow(Session& session, Prompts& prompts, QWidget* parent = nullptr);

    // Reads the submissions again and shows their figures. False when the database could not
    // be read (the user has been told).
    bool reload();

    QStandardItemModel* publisherModel() const { return mPublisherModel; }
    WorkFiguresModel* workModel() const { return mWorkModel; }
    QStandardItemModel* moneyYearModel() const;
    QStandardItemModel* moneyPublisherModel() const;

private:
    void refresh();
    StatisticsFilter currentFilter() const;
    void fillPublishers(const QList<PublisherFigures>& figures);
    void fillCharts(const QList<SubmissionFact>& facts, const QList<PublisherFigures>& figures);
    void exportCurrent();
    bool saveChart(QChartView* view, const QString& suggested);
    void updateExportButton();
    // Widens the window once, the first time it has figures, so the columns fit.
    void fitToTables();

    Session& mSession;
    Prompts& mPrompts;
    QList<SubmissionFact> mFacts;
    bool mFitted = false;

    QLineEdit* mFilterEdit = nullptr;
    QCheckBox* mRangeCheck = nullptr;
    QDateEdit* mFromEdit = nullptr;
    QDateEdit* mToEdit = nullptr;
    QTabWidget* mTabs = nullptr;
    QTableView* mPublisherTable = nullptr;
    QTableView* mWorkTable = nullptr;
    QStandardItemModel* mPublisherModel = nullptr;
    WorkFiguresModel* mWorkModel = nullptr;
    QChartView* mMonthChart = nullptr;
    QChartView* mResponseChart = nullptr;
    QChartView* mYearChart = nullptr;
    MoneyTab* mMoneyTab = nullptr;
    QLabel* mDatesToCheck = nullptr;
    QLabel* mShownCount = nullptr;
    QPushButton* mExportButton = nullptr;
    QPushButton* mReloadButton = nullptr;
    QPushButton* mCloseButton = nullptr;
};
