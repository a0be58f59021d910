// The Statistics window's figures, against the hand-made records of support/InsightData.h
// whose figures were worked out by hand there.

#include <gtest/gtest.h>

#include "core/Statistics.h"
#include "core/SubmissionFacts.h"
#include "support/InsightData.h"
#include "support/CoreTestEnv.h"

namespace {

const PublisherFigures* findPublisher(const QList<PublisherFigures>& list, int id)
{
    for (const PublisherFigures& f : list) {
        if (f.publisherId == id)
            return &f;
    }
    return nullptr;
}

const WorkFigures* findWork(const QList<WorkFigures>& list, int id)
{
    for (const WorkFigures& f : list) {
        if (f.workId == id)
            return &f;
    }
    return nullptr;
}

// The figures as one line each, so a whole set is compared at once.
QString daysText(const DayFigures& d)
{
    return QStringLiteral("%1 days: median %2 mean %3 range %4-%5 quartiles %6-%7")
        .arg(d.count).arg(d.median).arg(d.mean).arg(d.shortest).arg(d.longest).arg(d.lowerQuartile).arg(d.upperQuartile);
}
QString countsText(const PublisherFigures& f)
{
    return QStringLiteral("%1 sent %2 returned %3 out %4 accepted %5 to check")
        .arg(f.sent).arg(f.returned).arg(f.unreturned).arg(f.accepted).arg(f.datesToCheck);
}
QString workText(const WorkFigures* f)
{
    return QStringLiteral("%1 sent to %2, %3 accepted, last %4")
        .arg(f->sent).arg(f->publishers).arg(f->accepted).arg(f->lastSent.toString(Qt::ISODate));
}

SubmissionFact fact(int publisher, const QDate& sent, const QDate& returned, int status = 1)
{
    SubmissionFact f;
    f.publisherId = publisher;
    f.workId = 1;
    f.publisherExists = f.workExists = true;
    f.sent = sent;
    f.returned = returned;
    f.status = status;
    return f;
}

} // namespace

class StatisticsTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        records = addInsightRecords(database());
        facts = loadSubmissionFacts(database());
    }
    InsightRecords records;
    QList<SubmissionFact> facts;
};

TEST_F(StatisticsTest, StoredDatesAndDeletedRecordsLoadAsTheyAre)
{
    ASSERT_EQ(facts.size(), 13);
    EXPECT_TRUE(facts[3].work.isEmpty() && !facts[3].workExists);  // Lost Draft was deleted
    EXPECT_EQ(facts[3].workId, records.lostDraft);
    EXPECT_FALSE(facts[11].publisherExists);
    EXPECT_EQ(facts[4].returned, QDate());
    EXPECT_EQ(facts[12].sent, QDate());
    EXPECT_EQ(facts[0].sent, QDate(2024, 1, 10));

    EXPECT_EQ(dateFromStored(QVariant(QStringLiteral("2024-02-29"))), QDate(2024, 2, 29));
    EXPECT_EQ(dateFromStored(QVariant(qlonglong(0))), QDate());
    EXPECT_EQ(dateFromStored(QVariant(qlonglong(45000))), QDate(2023, 3, 15));  // a day number of older files
    EXPECT_EQ(dateFromStored(QVariant(QStringLiteral("2024-02-30"))), QDate());
    EXPECT_EQ(dateFromStored(QVariant()), QDate());
}

TEST_F(StatisticsTest, PublisherFiguresMatchTheHandWorkedOnes)
{
    const QList<PublisherFigures> list = publisherFigures(facts);
    // Every publisher with a submission, deleted ones too; Empty House has none.
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].name + list[1].name + list[2].name, "Brass LanternNight OwlQuarto");
    EXPECT_EQ(list[3].publisherId, records.gone);  // deleted: last
    EXPECT_FALSE(findPublisher(list, records.empty));

    // Brass Lantern keeps the submission of its deleted work (4); 6 has its returned date
    // before the sent date: returned, but no day figure.
    const PublisherFigures& brass = *findPublisher(list, records.brass);
    EXPECT_EQ(countsText(brass), "6 sent 5 returned 1 out 2 accepted 1 to check");
    EXPECT_NEAR(brass.acceptanceRate(), 2.0 / 6.0, 1e-9);
    EXPECT_EQ(daysText(brass.days), "4 days: median 40 mean 37.5 range 10-60 quartiles 20-55");  // 30, 60, 10, 50
    const PublisherFigures& quarto = *findPublisher(list, records.quarto);
    EXPECT_EQ(countsText(quarto), "5 sent 5 returned 0 out 1 accepted 0 to check");
    EXPECT_EQ(daysText(quarto.days), "5 days: median 7 mean 10.4 range 1-30 quartiles 3-19.5");  // 5, 7, 9, 30, 1

    // One submission, never returned: no day figures at all.
    const PublisherFigures& gone = *findPublisher(list, records.gone);
    EXPECT_FALSE(gone.exists);
    EXPECT_EQ(countsText(gone), "1 sent 0 returned 1 out 0 accepted 0 to check");
    EXPECT_EQ(gone.days.count, 0);
    EXPECT_EQ(gone.acceptanceRate(), 0.0);

    // Returned without a sent date: returned, to be checked, no day figure.
    const PublisherFigures& owl = *findPublisher(list, records.nightOwl);
    EXPECT_EQ(countsText(owl), "1 sent 1 returned 0 out 0 accepted 1 to check");
    EXPECT_EQ(owl.days.count, 0);

    EXPECT_EQ(datesToCheck(facts), 2);
}

TEST_F(StatisticsTest, WorkFiguresCountPublishersOnceAndKeepDeletedWorks)
{
    const QList<WorkFigures> list = workFigures(facts);
    ASSERT_EQ(list.size(), 3);
    // Hidden Ticket: Brass three times, Quarto twice, Gone Press; Salt Road's 13 has no sent date.
    EXPECT_EQ(workText(findWork(list, records.hiddenTicket)), "6 sent to 3, 0 accepted, last 2025-01-15");
    EXPECT_EQ(workText(findWork(list, records.saltRoad)), "5 sent to 3, 2 accepted, last 2024-07-01");
    // Deleted: listed last; published counts as accepted.
    EXPECT_FALSE(findWork(list, records.lostDraft)->exists);
    EXPECT_EQ(list.last().workId, records.lostDraft);
    EXPECT_EQ(workText(findWork(list, records.lostDraft)), "2 sent to 2, 1 accepted, last 2024-08-01");
}

TEST_F(StatisticsTest, TheFilterNarrowsByNameAndSentDate)
{
    StatisticsFilter byName;
    byName.text = QStringLiteral("  QUARTO ");
    const QList<SubmissionFact> quarto = applyFilter(facts, byName);
    EXPECT_EQ(quarto.size(), 5);
    const QList<WorkFigures> works = workFigures(quarto);
    ASSERT_EQ(works.size(), 3);
    EXPECT_EQ(findWork(works, records.saltRoad)->sent, 2);
    EXPECT_EQ(findWork(works, records.saltRoad)->accepted, 1);

    // A work's name narrows the publishers' figures to that work.
    byName.text = QStringLiteral("hidden");
    const QList<PublisherFigures> hidden = publisherFigures(applyFilter(facts, byName));
    const PublisherFigures& brass = *findPublisher(hidden, records.brass);
    EXPECT_EQ(brass.sent, 3);
    EXPECT_EQ(brass.days.count, 2);  // 30 and 10; 6 left out
    EXPECT_DOUBLE_EQ(brass.days.median, 20.0);

    // Both ends included; a submission without a sent date falls outside any range.
    StatisticsFilter range;
    range.from = QDate(2024, 2, 1);
    range.to = QDate(2024, 3, 1);
    const QList<SubmissionFact> inRange = applyFilter(facts, range);
    QList<int> ids;
    for (const SubmissionFact& f : inRange)
        ids << f.id;
    EXPECT_EQ(ids, (QList<int>{3, 7, 8}));
    range.from = QDate();
    range.to = QDate(2024, 1, 10);
    EXPECT_EQ(applyFilter(facts, range).size(), 1);
    EXPECT_EQ(applyFilter(facts, StatisticsFilter{}).size(), 13);
}

TEST_F(StatisticsTest, MonthsRunWithoutGapsAndCountAnswersByTheirOwnMonth)
{
    const QList<MonthCount> months = monthlyCounts(facts);
    ASSERT_EQ(months.size(), 15);  // January 2024 to March 2025
    EXPECT_EQ(months.first().month, QDate(2024, 1, 1));
    EXPECT_EQ(months.last().month, QDate(2025, 3, 1));
    auto at = [&](int year, int month) {
        for (const MonthCount& m : months) {
            if (m.month == QDate(year, month, 1))
                return std::make_pair(m.sent, m.answered);
        }
        return std::make_pair(-1, -1);
    };
    EXPECT_EQ(at(2024, 1), std::make_pair(2, 0));
    EXPECT_EQ(at(2024, 2), std::make_pair(2, 3));
    EXPECT_EQ(at(2024, 3), std::make_pair(1, 2));
    EXPECT_EQ(at(2024, 5), std::make_pair(1, 2));
    EXPECT_EQ(at(2024, 9), std::make_pair(0, 0));
    EXPECT_EQ(at(2025, 1), std::make_pair(1, 0));
    EXPECT_EQ(at(2025, 3), std::make_pair(0, 1));
    int sent = 0, answered = 0;
    for (const MonthCount& m : months) {
        sent += m.sent;
        answered += m.answered;
    }
    EXPECT_EQ(sent, 12);      // every dated submission once
    EXPECT_EQ(answered, 11);  // every returned one once

    const QList<YearCount> years = acceptancesPerYear(facts);
    ASSERT_EQ(years.size(), 1);
    EXPECT_EQ(years[0].year, 2024);
    EXPECT_EQ(years[0].accepted, 3);
}

TEST(StatisticsFigures, EdgeCasesOfTheDayFiguresAndTheYears)
{
    EXPECT_EQ(dayFigures({}).count, 0);
    EXPECT_EQ(daysText(dayFigures({12})), "1 days: median 12 mean 12 range 12-12 quartiles 12-12");
    // The middle value is in neither half: quartiles of 1, 3 and of 7, 9.
    EXPECT_EQ(daysText(dayFigures({9, 1, 5, 3, 7})), "5 days: median 5 mean 5 range 1-9 quartiles 2-8");

    // Same-day answers count as 0 days; years without acceptances are there with 0.
    const QList<SubmissionFact> facts = {
        fact(1, QDate(2021, 5, 1), QDate(2021, 5, 1), 2),
        fact(1, QDate(2023, 12, 30), QDate(2024, 1, 2), 3),
        fact(1, QDate(2022, 1, 1), QDate(), 2),          // accepted without an answer date: its sent year
        fact(1, QDate(), QDate(), 2),                    // no date at all: in no year
    };
    EXPECT_EQ(QList<std::optional<int>>({responseDays(facts[0]), responseDays(facts[1]), responseDays(facts[2])}),
              QList<std::optional<int>>({0, 3, std::nullopt}));
    QStringList years;
    for (const YearCount& y : acceptancesPerYear(facts))
        years << QStringLiteral("%1:%2").arg(y.year).arg(y.accepted);
    EXPECT_EQ(years.join(' '), "2021:1 2022:1 2023:0 2024:1");

    // Most used: by submissions, ties in the order given (by name), cut at the count.
    QList<PublisherFigures> figures(3);
    figures[0].name = "A"; figures[0].sent = 2;
    figures[1].name = "B"; figures[1].sent = 5;
    figures[2].name = "C"; figures[2].sent = 2;
    const QList<PublisherFigures> top = mostUsedPublishers(figures, 2);
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0].name + top[1].name, "BA");
    EXPECT_TRUE(monthlyCounts({}).isEmpty());
}
