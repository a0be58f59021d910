#include "core/Statistics.h"

#include <algorithm>
#include <vector>

#include <QHash>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <numeric>

namespace {

double medianOf(const QList<int>& sorted, qsizetype begin, qsizetype end)
{
    const qsizetype n = end - begin;
    if (n <= 0)
        return 0;
    const qsizetype mid = begin + n / 2;
    if (n % 2 == 1)
        return sorted[mid];
    return (sorted[mid - 1] + sorted[mid]) / 2.0;
}

// Named entries first by name (letter case aside), deleted ones after them by ID. Each name
// is folded once, not at every comparison: tens of thousands of works are sorted here.
template <class T, class IdOf>
void sortByName(QList<T>& list, IdOf idOf)
{
    struct Key {
        bool deleted;
        QString name;
        int id;
        qsizetype at;
    };
    std::vector<Key> keys;
    keys.reserve(static_cast<size_t>(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        keys.push_back({!list[i].exists, list[i].name.toCaseFolded(), idOf(list[i]), i});
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.deleted != b.deleted)
            return b.deleted;
        const int byName = a.name.compare(b.name);
        return byName != 0 ? byName < 0 : a.id < b.id;
    });
    QList<T> sorted;
    sorted.reserve(list.size());
    for (const Key& key : keys)
        sorted.append(std::move(list[key.at]));
    list = std::move(sorted);
}

} // namespace

bool matchesFilter(const SubmissionFact& fact, const StatisticsFilter& filter)
{
    if (filter.from.isValid() || filter.to.isValid()) {
        if (!fact.sent.isValid())
            return false;
        if (filter.from.isValid() && fact.sent < filter.from)
            return false;
        if (filter.to.isValid() && fact.sent > filter.to)
            return false;
    }
    const QString text = filter.text.trimmed();
    if (text.isEmpty())
        return true;
    return fact.work.contains(text, Qt::CaseInsensitive) || fact.publisher.contains(text, Qt::CaseInsensitive);
}

QList<SubmissionFact> applyFilter(const QList<SubmissionFact>& facts, const StatisticsFilter& filter)
{
    QList<SubmissionFact> kept;
    for (const SubmissionFact& fact : facts) {
        if (matchesFilter(fact, filter))
            kept.append(fact);
    }
    return kept;
}

std::optional<int> responseDays(const SubmissionFact& fact)
{
    if (!fact.returned.isValid() || !fact.sent.isValid() || fact.returned < fact.sent)
        return std::nullopt;
    return static_cast<int>(fact.sent.daysTo(fact.returned));
}

bool needsDateCheck(const SubmissionFact& fact)
{
    return fact.returned.isValid() && (!fact.sent.isValid() || fact.returned < fact.sent);
}

DayFigures dayFigures(QList<int> days)
{
    DayFigures figures;
    figures.count = static_cast<int>(days.size());
    if (days.isEmpty())
        return figures;
    std::sort(days.begin(), days.end());
    const qsizetype n = days.size();
    figures.shortest = days.front();
    figures.longest = days.back();
    figures.mean = std::accumulate(days.begin(), days.end(), 0.0) / static_cast<double>(n);
    figures.median = medianOf(days, 0, n);
    if (n == 1) {
        figures.lowerQuartile = figures.upperQuartile = days.front();
    } else {
        figures.lowerQuartile = medianOf(days, 0, n / 2);
        figures.upperQuartile = medianOf(days, (n + 1) / 2, n);
    }
    return figures;
}

QList<PublisherFigures> publisherFigures(const QList<SubmissionFact>& facts)
{
    QHash<int, PublisherFigures> byId;
    QHash<int, QList<int>> days;
    for (const SubmissionFact& fact : facts) {
        PublisherFigures& figures = byId[fact.publisherId];
        figures.publisherId = fact.publisherId;
        figures.name = fact.publisher;
        figures.exists = fact.publisherExists;
        ++figures.sent;
        if (fact.returned.isValid())
            ++figures.returned;
        else
            ++figures.unreturned;
        if (fact.isAccepted())
            ++figures.accepted;
        if (const std::optional<int> d = responseDays(fact))
            days[fact.publisherId].append(*d);
        if (needsDateCheck(fact))
            ++figures.datesToCheck;
    }
    QList<PublisherFigures> list;
    for (auto it = byId.begin(); it != byId.end(); ++it) {
        it->days = dayFigures(days.value(it.key()));
        list.append(*it);
    }
    sortByName(list, [](const PublisherFigures& f) { return f.publisherId; });
    return list;
}

QList<WorkFigures> workFigures(const QList<SubmissionFact>& facts)
{
    QHash<int, WorkFigures> byId;
    // Work and publisher pairs, made distinct once by sorting: a set per work costs far more.
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(static_cast<size_t>(facts.size()));
    for (const SubmissionFact& fact : facts) {
        WorkFigures& figures = byId[fact.workId];
        figures.workId = fact.workId;
        figures.name = fact.work;
        figures.exists = fact.workExists;
        ++figures.sent;
        pairs.emplace_back(fact.workId, fact.publisherId);
        if (fact.isAccepted())
            ++figures.accepted;
        if (fact.sent.isValid() && (!figures.lastSent.isValid() || fact.sent > figures.lastSent))
            figures.lastSent = fact.sent;
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    for (const auto& [work, publisher] : pairs)
        ++byId[work].publishers;
    QList<WorkFigures> list;
    list.reserve(byId.size());
    for (const WorkFigures& figures : std::as_const(byId))
        list.append(figures);
    sortByName(list, [](const WorkFigures& f) { return f.workId; });
    return list;
}

int datesToCheck(const QList<SubmissionFact>& facts)
{
    return static_cast<int>(std::count_if(facts.begin(), facts.end(), needsDateCheck));
}

QList<PublisherFigures> mostUsedPublishers(const QList<PublisherFigures>& figures, int count)
{
    QList<PublisherFigures> list = figures;
    // Stable: equal counts keep the by-name order they came in.
    std::stable_sort(list.begin(), list.end(),
                     [](const PublisherFigures& a, const PublisherFigures& b) { return a.sent > b.sent; });
    if (list.size() > count)
        list.resize(std::max(count, 0));
    return list;
}

QList<MonthCount> monthlyCounts(const QList<SubmissionFact>& facts)
{
    auto monthOf = [](const QDate& date) { return QDate(date.year(), date.month(), 1); };
    QMap<QDate, MonthCount> months;
    for (const SubmissionFact& fact : facts) {
        if (fact.sent.isValid()) {
            MonthCount& m = months[monthOf(fact.sent)];
            ++m.sent;
        }
        if (fact.returned.isValid()) {
            MonthCount& m = months[monthOf(fact.returned)];
            ++m.answered;
        }
    }
    QList<MonthCount> list;
    if (months.isEmpty())
        return list;
    const QDate last = months.lastKey();
    for (QDate month = months.firstKey(); month <= last; month = month.addMonths(1)) {
        MonthCount m = months.value(month);
        m.month = month;
        list.append(m);
    }
    return list;
}

QList<YearCount> acceptancesPerYear(const QList<SubmissionFact>& facts)
{
    QMap<int, int> years;
    for (const SubmissionFact& fact : facts) {
        if (!fact.isAccepted())
            continue;
        const QDate date = fact.returned.isValid() ? fact.returned : fact.sent;
        if (date.isValid())
            ++years[date.year()];
    }
    QList<YearCount> list;
    if (years.isEmpty())
        return list;
    for (int year = years.firstKey(); year <= years.lastKey(); ++year)
        list.append({year, years.value(year)});
    return list;
}

std::optional<qint64> MoneyPublisher::meanPayment() const
{
    if (acceptances <= 0)
        return std::nullopt;
    // Half a unit and more rounds up, in whole numbers.
    return (payments * 2 + acceptances) / (2 * qint64(acceptances));
}

MoneyFigures moneyFigures(const QList<SubmissionFact>& facts)
{
    MoneyFigures figures;
    QMap<int, MoneyYear> years;
    QHash<int, MoneyPublisher> byId;
    for (const SubmissionFact& fact : facts) {
        const qint64 fee = fact.fee.value_or(0);
        const qint64 payment = fact.payment.value_or(0);
        const bool accepted = fact.isAccepted();
        if (fee == 0 && payment == 0 && !accepted)
            continue;
        figures.fees += fee;
        figures.payments += payment;
        if (fee != 0 && fact.sent.isValid())
            years[fact.sent.year()].fees += fee;
        if (payment != 0) {
            const QDate when = fact.paid.isValid() ? fact.paid : fact.returned.isValid() ? fact.returned : fact.sent;
            if (when.isValid())
                years[when.year()].payments += payment;
        }
        if (accepted) {
            ++figures.acceptances;
            const QDate when = fact.returned.isValid() ? fact.returned : fact.sent;
            if (when.isValid())
                ++years[when.year()].acceptances;
        }
        MoneyPublisher& publisher = byId[fact.publisherId];
        publisher.publisherId = fact.publisherId;
        publisher.name = fact.publisher;
        publisher.exists = fact.publisherExists;
        publisher.fees += fee;
        publisher.payments += payment;
        publisher.acceptances += accepted ? 1 : 0;
    }
    if (!years.isEmpty()) {
        for (int year = years.firstKey(); year <= years.lastKey(); ++year) {
            MoneyYear y = years.value(year);
            y.year = year;
            figures.years.append(y);
        }
    }
    figures.publishers = byId.values();
    sortByName(figures.publishers, [](const MoneyPublisher& p) { return p.publisherId; });
    return figures;
}
