// The Statistics window's figures, against the records of support/InsightData.h worked by hand.

#include "core/Statistics.h"
#include "core/SubmissionFacts.h"
#include "support/InsightData.h"
#include "support/CoreTestEnv.h"

namespace {

// Figures as one line each, so a whole set is compared at once.
QString daysText(const DayFigures& d)
{
    return QStringLiteral("%1 days: median %2 mean %3 range %4-%5 quartiles %6-%7")
        .arg(d.count).arg(d.median).arg(d.mean).arg(d.shortest).arg(d.longest).arg(d.lowerQuartile).arg(d.upperQuartile);
}
QString figuresText(const QList<PublisherFigures>& list, int id)
{
    for (const PublisherFigures& f : list) {
        if (f.publisherId == id)
            return QStringLiteral("%1 sent %2 returned %3 out %4 accepted %5 to check, %6")
                .arg(f.sent).arg(f.returned).arg(f.unreturned).arg(f.accepted).arg(f.datesToCheck).arg(daysText(f.days));
    }
    return QStringLiteral("not listed");
}
QString figuresText(const QList<WorkFigures>& list, int id)
{
    for (const WorkFigures& f : list) {
        if (f.workId == id)
            return QStringLiteral("%1 sent to %2, %3 accepted, last %4")
                .arg(f.sent).arg(f.publishers).arg(f.accepted).arg(f.lastSent.toString(Qt::ISODate));
    }
    return QStringLiteral("not listed");
}

SubmissionFact fact(const QDate& sent, const QDate& returned, int status)
{
    return {.publisherId = 1, .status = static_cast<SubmissionStatus>(status), .sent = sent, .returned = returned,
            .workExists = true, .publisherExists = true};
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

TEST_F(StatisticsTest, PublisherAndWorkFiguresMatchTheHandWorkedOnes)
{
    const QList<PublisherFigures> list = publisherFigures(facts);
    // Every publisher with a submission, deleted ones last; Empty House has none.
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].name + list[1].name + list[2].name, "Brass LanternNight OwlQuarto");
    EXPECT_TRUE(list[3].publisherId == records.gone && !list[3].exists);
    // Brass Lantern keeps the submission of its deleted work (4); 6 has its returned date
    // before the sent date: returned, but no day figure. Days 30, 60, 10, 50.
    EXPECT_EQ(figuresText(list, records.brass),
              "6 sent 5 returned 1 out 2 accepted 1 to check, 4 days: median 40 mean 37.5 range 10-60 quartiles 20-55");
    // Days 5, 7, 9, 30, 1.
    EXPECT_EQ(figuresText(list, records.quarto),
              "5 sent 5 returned 0 out 1 accepted 0 to check, 5 days: median 7 mean 10.4 range 1-30 quartiles 3-19.5");
    // Never returned; returned without a sent date: no day figures, the second to be checked.
    EXPECT_TRUE(figuresText(list, records.gone).startsWith("1 sent 0 returned 1 out 0 accepted 0 to check, 0 days"));
    EXPECT_TRUE(figuresText(list, records.nightOwl).startsWith("1 sent 1 returned 0 out 0 accepted 1 to check, 0 days"));
    EXPECT_EQ(datesToCheck(facts), 2);

    // A work counts each publisher once; a deleted one is listed last, published counts as accepted.
    const QList<WorkFigures> works = workFigures(facts);
    ASSERT_EQ(works.size(), 3);
    EXPECT_EQ(figuresText(works, records.hiddenTicket), "6 sent to 3, 0 accepted, last 2025-01-15");
    EXPECT_EQ(figuresText(works, records.saltRoad), "5 sent to 3, 2 accepted, last 2024-07-01");
    EXPECT_TRUE(works.last().workId == records.lostDraft && !works.last().exists);
    EXPECT_EQ(figuresText(works, records.lostDraft), "2 sent to 2, 1 accepted, last 2024-08-01");

    // Months from the first to the last, empty ones too; an answer counts in its own month.
    const QList<MonthCount> months = monthlyCounts(facts);
    ASSERT_EQ(months.size(), 15);
    EXPECT_EQ(std::tuple(months[1].sent, months[1].answered, months[8].sent + months[8].answered), std::tuple(2, 3, 0));
}

TEST_F(StatisticsTest, TheFilterNarrowsByNameAndSentDate)
{
    StatisticsFilter byName{.text = QStringLiteral("  QUARTO ")};
    EXPECT_EQ(figuresText(workFigures(applyFilter(facts, byName)), records.saltRoad), "2 sent to 1, 1 accepted, last 2024-07-01");
    // A work's name narrows the publishers' figures to that work: 30 and 10; 6 left out.
    byName.text = QStringLiteral("hidden");
    EXPECT_TRUE(figuresText(publisherFigures(applyFilter(facts, byName)), records.brass)
                    .startsWith("3 sent 3 returned 0 out 0 accepted 1 to check, 2 days: median 20 "));

    // Both ends included; a submission without a sent date falls outside any range.
    StatisticsFilter range{.from = QDate(2024, 2, 1), .to = QDate(2024, 3, 1)};
    QList<int> ids;
    for (const SubmissionFact& f : applyFilter(facts, range))
        ids << f.id;
    EXPECT_EQ(ids, (QList<int>{3, 7, 8}));
    EXPECT_EQ(applyFilter(facts, StatisticsFilter{}).size(), 13);
}

TEST(StatisticsFigures, EdgeCasesOfTheDayFiguresAndTheYears)
{
    // The middle value is in neither half: quartiles of 1, 3 and of 7, 9.
    EXPECT_EQ(daysText(dayFigures({9, 1, 5, 3, 7})), "5 days: median 5 mean 5 range 1-9 quartiles 2-8");

    // Same-day answers count as 0 days; years without acceptances are there with 0.
    const QList<SubmissionFact> facts = {
        fact(QDate(2021, 5, 1), QDate(2021, 5, 1), 2),
        fact(QDate(2023, 12, 30), QDate(2024, 1, 2), 3),
        fact(QDate(2022, 1, 1), QDate(), 2),  // accepted without an answer date: its sent year
        fact(QDate(), QDate(), 2),            // no date at all: in no year
    };
    EXPECT_EQ(QList<std::optional<int>>({responseDays(facts[0]), responseDays(facts[1]), responseDays(facts[2])}),
              QList<std::optional<int>>({0, 3, std::nullopt}));
    QStringList years;
    for (const YearCount& y : acceptancesPerYear(facts))
        years << QStringLiteral("%1:%2").arg(y.year).arg(y.accepted);
    EXPECT_EQ(years.join(' '), "2021:1 2022:1 2023:0 2024:1");
}

TEST(StatisticsFigures, WorksAreOrderedByNameLetterCaseAsideAndDeletedOnesLast)
{
    QList<SubmissionFact> facts;
    auto add = [&facts](int workId, const char* name) {
        SubmissionFact f = fact(QDate(2024, 1, 1), QDate(), 0);
        f.workId = workId;
        f.work = QString::fromUtf8(name);
        f.workExists = workId < 90;
        facts.append(f);
    };
    // Non-ASCII names fold too, and equal folded names keep their IDs' order.
    add(5, "ÉCLAIR");
    add(91, "");
    add(1, "Banana");
    add(2, "apple");
    add(4, "éclair");
    add(3, "Apples");
    add(90, "");
    add(2, "apple");
    QStringList order;
    for (const WorkFigures& w : workFigures(facts))
        order << QStringLiteral("%1:%2").arg(w.workId).arg(w.sent);
    EXPECT_EQ(order.join(' '), "2:2 3:1 1:1 4:1 5:1 90:1 91:1");
}
