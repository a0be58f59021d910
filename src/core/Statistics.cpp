#include "core/Statistics.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include <QHash>
#include <QMap>

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

// Appends the name folded for comparing, letter case aside, in UTF-8: compared byte by byte,
// such keys order as their characters do, at the speed of memcmp. Most names are plain ASCII
// and are folded here without a text of their own.
void appendFoldedKey(std::string& keys, const QString& name)
{
    const bool ascii = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        keys += name.toCaseFolded().toStdString();
        return;
    }
    for (const QChar c : name) {
        const char byte = static_cast<char>(c.unicode());
        keys += byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A')) : byte;
    }
}

// Named entries first by name (letter case aside), deleted ones after them by ID. Each name
// is folded once, into one block for all of them, not at every comparison: tens of
// thousands of works are sorted here.
template <class T, class IdOf>
void sortByName(QList<T>& list, IdOf idOf)
{
    struct Key {
        bool deleted;
        int id;
        size_t from;
        size_t size;
        qsizetype at;
    };
    std::string folded;
    folded.reserve(std::accumulate(list.cbegin(), list.cend(), size_t(0), [](size_t sum, const T& item) {
        return sum + static_cast<size_t>(item.name.size());
    }));
    std::vector<Key> keys;
    keys.reserve(static_cast<size_t>(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const size_t from = folded.size();
        appendFoldedKey(folded, list[i].name);
        keys.push_back({!list[i].exists, idOf(list[i]), from, folded.size() - from, i});
    }
    const char* names = folded.data();
    std::sort(keys.begin(), keys.end(), [names](const Key& a, const Key& b) {
        if (a.deleted != b.deleted)
            return b.deleted;
        const int byName = std::memcmp(names + a.from, names + b.from, std::min(a.size, b.size));
        if (byName != 0)
            return byName < 0;
        return a.size != b.size ? a.size < b.size : a.id < b.id;
    });
    // The keys go before the sorted copy is made: with a hundred thousand works, the two
    // together would weigh more than the list.
    std::vector<qsizetype> order(keys.size());
    std::transform(keys.cbegin(), keys.cend(), order.begin(), [](const Key& key) { return key.at; });
    std::vector<Key>().swap(keys);
    std::string().swap(folded);
    QList<T> sorted;
    sorted.reserve(list.size());
    for (const qsizetype at : order)
        sorted.append(std::move(list[at]));
    list = std::move(sorted);
}

} // namespace

namespace {

bool matchesTrimmed(const SubmissionFact& fact, const StatisticsFilter& filter, const QString& text)
{
    if (filter.from.isValid() || filter.to.isValid()) {
        if (!fact.sent.isValid())
            return false;
        if (filter.from.isValid() && fact.sent < filter.from)
            return false;
        if (filter.to.isValid() && fact.sent > filter.to)
            return false;
    }
    return text.isEmpty() || fact.work.contains(text, Qt::CaseInsensitive)
        || fact.publisher.contains(text, Qt::CaseInsensitive);
}

} // namespace

bool matchesFilter(const SubmissionFact& fact, const StatisticsFilter& filter)
{
    return matchesTrimmed(fact, filter, filter.text.trimmed());
}

QList<SubmissionFact> applyFilter(const QList<SubmissionFact>& facts, const StatisticsFilter& filter)
{
    const QString text = filter.text.trimmed();
    if (text.isEmpty() && !filter.from.isValid() && !filter.to.isValid())
        return facts;  // shared, not copied
    QList<SubmissionFact> kept;
    for (const SubmissionFact& fact : facts) {
        if (matchesTrimmed(fact, filter, text))
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
    // The submissions in order of work, then publisher: each work is one run, and its
    // different publishers are the changes within the run. No hash of works is needed.
    std::vector<const SubmissionFact*> order;
    order.reserve(static_cast<size_t>(facts.size()));
    for (const SubmissionFact& fact : facts)
        order.push_back(&fact);
    std::sort(order.begin(), order.end(), [](const SubmissionFact* a, const SubmissionFact* b) {
        return a->workId != b->workId ? a->workId < b->workId : a->publisherId < b->publisherId;
    });
    QList<WorkFigures> list;
    list.reserve(facts.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const SubmissionFact& fact = *order[i];
        if (i == 0 || order[i - 1]->workId != fact.workId)
            list.append({fact.workId, fact.work, fact.workExists, 0, 0, 0, QDate()});
        WorkFigures& figures = list.last();
        ++figures.sent;
        if (i == 0 || order[i - 1]->workId != fact.workId || order[i - 1]->publisherId != fact.publisherId)
            ++figures.publishers;
        if (fact.isAccepted())
            ++figures.accepted;
        if (fact.sent.isValid() && (!figures.lastSent.isValid() || fact.sent > figures.lastSent))
            figures.lastSent = fact.sent;
    }
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
    // Months counted from year 0, so that a month is an index into one array; each date is
    // taken apart once.
    constexpr int kNone = -1;
    auto monthIndex = [](const QDate& date) {
        if (!date.isValid())
            return kNone;
        int year = 0;
        int month = 0;
        date.getDate(&year, &month, nullptr);
        return year * 12 + month - 1;
    };
    std::vector<std::pair<int, int>> months;  // sent, answered
    months.reserve(static_cast<size_t>(facts.size()));
    int first = std::numeric_limits<int>::max();
    int last = kNone;
    for (const SubmissionFact& fact : facts) {
        const auto& [sent, answered] = months.emplace_back(monthIndex(fact.sent), monthIndex(fact.returned));
        for (const int month : {sent, answered}) {
            if (month != kNone) {
                first = std::min(first, month);
                last = std::max(last, month);
            }
        }
    }
    QList<MonthCount> list;
    if (last == kNone)
        return list;
    list.resize(last - first + 1);
    for (qsizetype i = 0; i < list.size(); ++i)
        list[i].month = QDate(static_cast<int>((first + i) / 12), static_cast<int>((first + i) % 12) + 1, 1);
    for (const auto& [sent, answered] : months) {
        if (sent != kNone)
            ++list[sent - first].sent;
        if (answered != kNone)
            ++list[answered - first].answered;
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
