#pragma once
// The figures of the Statistics window, worked out from the submissions (SubmissionFacts):
// per publisher, per work, per month and per year. No window code: the window shows what
// these return, so every figure is tested here.
//
// The rules:
// - a submission is returned when it has a returned date; without one it is unreturned,
//   whatever its status;
// - accepted means status Accepted or Published; the acceptance rate is accepted / sent;
// - response days are returned date - sent date, for returned submissions with both dates
//   and the returned date not before the sent date. A returned date before the sent date,
//   or a returned date without a sent date, is left out of the day figures and counted as
//   a date to check.

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "core/SubmissionFacts.h"

// Which submissions the figures are taken from.
struct StatisticsFilter {
    QString text;   // in the work's or the publisher's name, letter case aside; empty: all
    QDate from;     // sent on or after; invalid: no lower bound
    QDate to;       // sent on or before; invalid: no upper bound
    // With a bound set, a submission without a sent date is left out.
};

bool matchesFilter(const SubmissionFact& fact, const StatisticsFilter& filter);
QList<SubmissionFact> applyFilter(const QList<SubmissionFact>& facts, const StatisticsFilter& filter);

// The response days of one submission; none when it has no day figure.
std::optional<int> responseDays(const SubmissionFact& fact);
// A returned date before the sent date, or without a sent date.
bool needsDateCheck(const SubmissionFact& fact);

// Figures of a set of response days. With count 0 the others mean nothing.
struct DayFigures {
    int count = 0;
    double median = 0;
    double mean = 0;
    int shortest = 0;
    int longest = 0;
    // Medians of the lower and upper halves (the middle value, for an odd count, in neither).
    double lowerQuartile = 0;
    double upperQuartile = 0;
};
DayFigures dayFigures(QList<int> days);

struct PublisherFigures {
    int publisherId = 0;
    QString name;              // empty when the publisher was deleted
    bool exists = false;
    int sent = 0;
    int returned = 0;
    int unreturned = 0;
    int accepted = 0;
    DayFigures days;
    int datesToCheck = 0;
    double acceptanceRate() const { return sent > 0 ? double(accepted) / sent : 0.0; }
};

struct WorkFigures {
    int workId = 0;
    QString name;              // empty when the work was deleted
    bool exists = false;
    int sent = 0;
    int publishers = 0;        // different publishers it went to
    int accepted = 0;
    QDate lastSent;            // invalid when none of its submissions has a sent date
};

// One entry per publisher (or work) with at least one of the submissions; by name, deleted
// ones last by ID.
QList<PublisherFigures> publisherFigures(const QList<SubmissionFact>& facts);
QList<WorkFigures> workFigures(const QList<SubmissionFact>& facts);

int datesToCheck(const QList<SubmissionFact>& facts);

// The publishers with the most submissions (ties by name), at most count of them.
QList<PublisherFigures> mostUsedPublishers(const QList<PublisherFigures>& figures, int count);

// Submissions sent, and answered (by returned date), in each month from the first month
// with either to the last; months without any are included with zeros.
struct MonthCount {
    QDate month;  // its first day
    int sent = 0;
    int answered = 0;
};
QList<MonthCount> monthlyCounts(const QList<SubmissionFact>& facts);

// Accepted submissions per year of their returned date (the sent date when there is no
// returned date; neither: left out), every year from the first to the last.
struct YearCount {
    int year = 0;
    int accepted = 0;
};
QList<YearCount> acceptancesPerYear(const QList<SubmissionFact>& facts);

// Money: fees paid in the year they were sent; payments received in the year of their
// Paid On date, else the returned date, else the sent date (with none, only in the
// totals); acceptances as acceptancesPerYear counts them. Amounts in the currency's
// smallest unit.
struct MoneyYear {
    int year = 0;
    qint64 fees = 0;
    qint64 payments = 0;
    int acceptances = 0;
    qint64 net() const { return payments - fees; }
};

struct MoneyPublisher {
    int publisherId = 0;
    QString name;              // empty when the publisher was deleted
    bool exists = false;
    qint64 fees = 0;
    qint64 payments = 0;
    int acceptances = 0;
    // Payments over acceptances, to the nearest smallest unit; none without an acceptance.
    std::optional<qint64> meanPayment() const;
};

struct MoneyFigures {
    QList<MoneyYear> years;            // every year from the first to the last
    QList<MoneyPublisher> publishers;  // those with a fee, a payment or an acceptance; by name
    qint64 fees = 0;
    qint64 payments = 0;
    int acceptances = 0;
    qint64 net() const { return payments - fees; }
};
MoneyFigures moneyFigures(const QList<SubmissionFact>& facts);
