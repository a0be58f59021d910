#include "core/ListingColumns.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <SQLiteCpp/Database.h>
#include <sqlite3.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/Conversions.h"
#include "core/Listing.h"

const QVector<ColumnDef>& viewColumns(View view)
{
    static const QVector<ColumnDef> work = {
        {QStringLiteral("Work"), QStringLiteral("Name"), CellFormat::Text},
        {QStringLiteral("Genre"), QStringLiteral("Description_Singular"), CellFormat::Text},
        {QStringLiteral("Written"), QStringLiteral("Year_Written"), CellFormat::Text},
        {QStringLiteral("Last Amended"), QStringLiteral("Year_Last_Amended"), CellFormat::Text},
        {QStringLiteral("Submit?"), QStringLiteral("Submit?"), CellFormat::YesNo},
        {QStringLiteral("Currently Submitted?"), QStringLiteral("Submitted?"), CellFormat::YesNo},
        {QStringLiteral("Accepted?"), QStringLiteral("Accepted?"), CellFormat::YesNo},
        {QStringLiteral("Published?"), QStringLiteral("Published?"), CellFormat::YesNo},
        {QStringLiteral("Date Of Outstanding Submission"), QStringLiteral("Date_Submitted"), CellFormat::Date,
         DateRule::Any},
    };
    static const QVector<ColumnDef> publisher = {
        {QStringLiteral("Publisher"), QStringLiteral("Name"), CellFormat::Text},
        {QStringLiteral("Type"), QStringLiteral("Type"), CellFormat::Text},
        {QStringLiteral("Guidelines"), QStringLiteral("Guidelines"), CellFormat::Text},
        {QStringLiteral("Comments"), QStringLiteral("Comments"), CellFormat::Text},
        {QStringLiteral("Submit To?"), QStringLiteral("Submit_To?"), CellFormat::YesNo},
        {QStringLiteral("Submitted To?"), QStringLiteral("Submitted_To?"), CellFormat::YesNo},
    };
    static const QVector<ColumnDef> submission = {
        {QStringLiteral("Work"), QStringLiteral("Work"), CellFormat::Text},
        {QStringLiteral("Publisher"), QStringLiteral("Publisher"), CellFormat::Text},
        {QStringLiteral("Submitted"), QStringLiteral("Date_Submitted"), CellFormat::Date},
        {QStringLiteral("Returned"), QStringLiteral("Date_Returned"), CellFormat::Date},
        {QStringLiteral("Status"), QStringLiteral("Status_Desc"), CellFormat::Text},
        {QStringLiteral("Outcome"), QStringLiteral("Outcome"), CellFormat::Text},
        {QStringLiteral("Notes"), QStringLiteral("Notes"), CellFormat::Text},
        {QStringLiteral("Fee"), QStringLiteral("Fee"), CellFormat::Money},
        {QStringLiteral("Payment"), QStringLiteral("Payment"), CellFormat::Money},
    };
    if (view == View::Publisher)
        return publisher;
    if (view == View::Submission)
        return submission;
    return work;
}

QString noRecordsText(View view)
{
    if (view == View::Publisher)
        return QStringLiteral("(No Publishers Found)");
    if (view == View::Submission)
        return QStringLiteral("(No Submissions Found)");
    return QStringLiteral("(No Works Found)");
}

int maxLeftCol(View view)
{
    return view == View::Submission ? 4 : 0;
}

quint32 CellTable::add(const QString& text)
{
    if (text.isEmpty())
        return 0;
    texts.push_back(text);
    return static_cast<quint32>(texts.size() - 1);
}

namespace {

// The column as UTF-8 bytes, converted by the engine when it is not text.
std::string_view columnBytes(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    const int bytes = sqlite3_column_bytes(statement, column);
    return text ? std::string_view(text, static_cast<size_t>(bytes)) : std::string_view();
}

// Texts repeat down a column (publishers, statuses, notes): each distinct text is
// converted once and its cells share it. A column of mostly distinct texts (names) is no
// longer remembered once a sample shows that few repeat. The texts seen are kept by their
// bytes in an open-addressed table: looking one up is most of what a repeated cell costs.
class TextCache {
public:
    quint32 index(std::string_view bytes, CellTable& table)
    {
        if (bytes.empty())
            return 0;
        if (!mRemembering)
            return add(bytes, table);
        ++mLookups;
        const quint64 hash = Hash(bytes);
        size_t slot = hash & (mSlots.size() - 1);
        for (; mSlots[slot].length != kFree; slot = (slot + 1) & (mSlots.size() - 1)) {
            const Slot& s = mSlots[slot];
            if (s.hash == hash && s.length == bytes.size()
                && std::memcmp(mKeys.data() + s.offset, bytes.data(), bytes.size()) == 0) {
                ++mHits;
                return s.index;
            }
        }
        const quint32 added = add(bytes, table);
        if (mTaken + 1 > kLimit || mKeys.size() + bytes.size() > kKeyBytes
            || (mLookups == kSample && mHits < kSample / 4)) {
            // Few repeat, or the texts are long: stop looking.
            mRemembering = false;
            mSlots = {};
            mKeys = {};
            return added;
        }
        mSlots[slot] = {hash, static_cast<quint32>(mKeys.size()), static_cast<quint32>(bytes.size()), added};
        mKeys.append(bytes);
        if (++mTaken * 2 > mSlots.size())
            grow();
        return added;
    }

private:
    static constexpr size_t kLimit = 4096;
    static constexpr size_t kSample = 256;
    static constexpr size_t kKeyBytes = 8 * 1024 * 1024;
    static constexpr quint32 kFree = 0xFFFFFFFF;

    struct Slot {
        quint64 hash = 0;
        quint32 offset = 0;  // into mKeys
        quint32 length = kFree;
        quint32 index = 0;   // into the table's texts
    };

    static quint32 add(std::string_view bytes, CellTable& table)
    {
        return table.add(textFromUtf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))));
    }

    // Never more than half full, so that a look-up finds a free slot soon.
    void grow()
    {
        std::vector<Slot> old(mSlots.size() * 2);
        old.swap(mSlots);
        for (const Slot& s : old) {
            if (s.length == kFree)
                continue;
            size_t slot = s.hash & (mSlots.size() - 1);
            while (mSlots[slot].length != kFree)
                slot = (slot + 1) & (mSlots.size() - 1);
            mSlots[slot] = s;
        }
    }

    // Eight bytes at a time, each mixed in by a multiply.
    static quint64 Hash(std::string_view bytes)
    {
        quint64 hash = 0x9E3779B97F4A7C15ULL ^ bytes.size();
        size_t i = 0;
        for (; i + 8 <= bytes.size(); i += 8) {
            quint64 word;
            std::memcpy(&word, bytes.data() + i, 8);
            hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
            hash ^= hash >> 32;
        }
        quint64 tail = 0;
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
        hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53ULL;
        return hash ^ (hash >> 29);
    }

    bool mRemembering = true;
    size_t mTaken = 0;  // slots taken
    size_t mLookups = 0;
    size_t mHits = 0;
    std::vector<Slot> mSlots = std::vector<Slot>(64);  // a power of two
    std::string mKeys;  // the bytes of every text kept, one after another
};

// Dates repeat too: each distinct stored value is decoded and formatted once, and the
// cache holds the codec's answers. ISO dates are found without making a text, those of
// 1900 to 2099 in a flat table by their digits. An ISO date reads the same under either
// rule; a day number or other text is remembered under its column's rule.
class DateCache {
public:
    quint32 index(sqlite3_stmt* statement, int column, int type, DateRule rule, CellTable& table)
    {
        const size_t byRule = rule == DateRule::Any ? 1 : 0;
        if (type == SQLITE_INTEGER) {
            const qint64 days = sqlite3_column_int64(statement, column);
            auto found = mNumbers[byRule].find(days);
            if (found == mNumbers[byRule].end())
                found = mNumbers[byRule].emplace(days, table.add(mFormat.format(decodeStoredDayNumber(days, rule)))).first;
            return found->second;
        }
        if (type == SQLITE_FLOAT)  // rare: not remembered
            return table.add(mFormat.format(decodeStoredDayNumber(sqlite3_column_double(statement, column), rule)));
        const std::string_view bytes = columnBytes(statement, column);
        if (const int key = storedIsoKey(bytes)) {
            const int year = key / 10000;
            const int month = key / 100 % 100;
            const int day = key % 100;
            if (year >= kFirstYear && year < kFirstYear + kYears && month >= 1 && month <= 12 && day >= 1 && day <= 31) {
                quint32& slot = mRecent[static_cast<size_t>(((year - kFirstYear) * 12 + month - 1) * 32 + day)];
                if (slot == 0)
                    slot = table.add(formatted(bytes, rule)) + 1;
                return slot - 1;
            }
            auto found = mIso.find(key);
            if (found == mIso.end())
                found = mIso.emplace(key, table.add(formatted(bytes, rule))).first;
            return found->second;
        }
        const QString stored = textFromUtf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        auto found = mOthers[byRule].constFind(stored);
        if (found == mOthers[byRule].constEnd())
            found = mOthers[byRule].insert(stored, table.add(mFormat.format(decodeStoredDateText(stored, rule))));
        return *found;
    }

private:
    static constexpr int kFirstYear = 1900;
    static constexpr int kYears = 200;

    QString formatted(std::string_view bytes, DateRule rule) const
    {
        return mFormat.format(decodeStoredDateText(bytes, rule));
    }

    ShortDateFormat mFormat;
    // By year, month and day (32 slots a month): the text's index + 1, 0 until formatted.
    std::vector<quint32> mRecent = std::vector<quint32>(static_cast<size_t>(kYears) * 12 * 32);
    std::unordered_map<qint64, quint32> mNumbers[2];  // by rule
    std::unordered_map<int, quint32> mIso;
    QHash<QString, quint32> mOthers[2];  // by rule
};

// The most rows a view can list, from its table's highest ID (its IDs only grow), without
// counting; 0 when unknown. Room reserved but never filled costs address space, not
// memory, while growing a vector step by step holds the old and the new copy at once.
int rowsAtMost(sqlite3* handle, View view)
{
    const char* statement = view == View::Publisher ? "SELECT max(ID) FROM Publisher;"
        : view == View::Submission                  ? "SELECT max(ID) FROM Submission;"
                                                    : "SELECT max(ID) FROM Work;";
    constexpr sqlite3_int64 kLimit = 4'000'000;
    sqlite3_stmt* query = nullptr;
    sqlite3_int64 rows = 0;
    if (sqlite3_prepare_v2(handle, statement, -1, &query, nullptr) == SQLITE_OK && sqlite3_step(query) == SQLITE_ROW)
        rows = sqlite3_column_int64(query, 0);
    sqlite3_finalize(query);
    return static_cast<int>(std::clamp<sqlite3_int64>(rows, 0, kLimit));
}

} // namespace

FillResult readFillRows(SQLite::Database& database, View view, const QString& statement, int expectedRows,
                        const OverdueRule* overdueRule, const Currency* currency)
{
    const Currency localeCurrency;
    const Currency& money = currency ? *currency : localeCurrency;
    FillResult result;
    if (!checkReadOnlyStatement(database, statement, &result.error))
        return result;

    sqlite3* handle = database.getHandle();
    const QByteArray text = statement.toUtf8();
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), static_cast<int>(text.size()), &query, nullptr) != SQLITE_OK) {
        result.error = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(query);
        return result;
    }

    // Find the query's columns by name, without regard to case.
    const QVector<ColumnDef>& defs = viewColumns(view);
    QVector<int> sourceColumn(defs.size(), -1);
    int idColumn = -1;
    OverdueColumns overdueColumns;
    const int count = sqlite3_column_count(query);
    for (int c = 0; c < count; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query, c));
        if (idColumn < 0 && name.compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0)
            idColumn = c;
        const std::pair<int*, QLatin1String> decisive[] = {
            {&overdueColumns.status, QLatin1String("Status")},
            {&overdueColumns.sent, QLatin1String("Date_Submitted")},
            {&overdueColumns.returned, QLatin1String("Date_Returned")},
            {&overdueColumns.answerWithin, QLatin1String("Answer_Within_Days")},
        };
        for (const auto& [column, wanted] : decisive) {
            if (*column < 0 && name.compare(wanted, Qt::CaseInsensitive) == 0)
                *column = c;
        }
        for (int d = 0; d < defs.size(); ++d) {
            if (sourceColumn[d] < 0 && name.compare(defs[d].source, Qt::CaseInsensitive) == 0)
                sourceColumn[d] = c;
        }
    }

    CellTable& table = result.cells;
    const quint32 yes = table.add(QStringLiteral("Yes"));
    const quint32 no = table.add(QStringLiteral("No"));
    if (expectedRows <= 0)
        expectedRows = rowsAtMost(handle, view);
    if (expectedRows > 0) {
        result.ids.reserve(static_cast<size_t>(expectedRows));
        table.cells.reserve(static_cast<size_t>(expectedRows) * static_cast<size_t>(defs.size()));
    }
    const bool findOverdue = overdueRule && idColumn >= 0 && overdueColumns.complete();
    if (findOverdue)
        result.overdue.emplace();
    std::vector<TextCache> texts(defs.size());
    DateCache dates;
    std::unordered_map<sqlite3_int64, quint32> amounts;
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
        result.ids.push_back(idColumn >= 0 ? sqlite3_column_int(query, idColumn) : 0);
        if (findOverdue) {
            if (const auto info = overdueRow(*overdueRule, query, overdueColumns))
                result.overdue->insert(result.ids.back(), *info);
        }
        for (int d = 0; d < defs.size(); ++d) {
            const int c = sourceColumn[d];
            const int type = c >= 0 ? sqlite3_column_type(query, c) : SQLITE_NULL;
            if (type == SQLITE_NULL) {
                table.cells.push_back(defs[d].format == CellFormat::YesNo ? no : 0);
                continue;
            }
            switch (defs[d].format) {
            case CellFormat::Text:
                table.cells.push_back(texts[d].index(columnBytes(query, c), table));
                break;
            case CellFormat::YesNo:
                table.cells.push_back(sqlite3_column_int64(query, c) != 0 ? yes : no);
                break;
            case CellFormat::Date:
                table.cells.push_back(dates.index(query, c, type, defs[d].dateRule, table));
                break;
            case CellFormat::Money:
                // A whole number; anything else stored there is shown as it is.
                if (type == SQLITE_INTEGER) {
                    // Fees repeat: each amount is formatted once.
                    const sqlite3_int64 minor = sqlite3_column_int64(query, c);
                    auto found = amounts.find(minor);
                    if (found == amounts.end())
                        found = amounts.emplace(minor, table.add(money.format(minor))).first;
                    table.cells.push_back(found->second);
                } else
                    table.cells.push_back(texts[d].index(columnBytes(query, c), table));
                break;
            }
        }
    }
    if (rc != SQLITE_DONE) {
        result.cancelled = rc == SQLITE_INTERRUPT;
        result.error = result.cancelled ? QStringLiteral("The listing was cancelled before it was complete.")
                                        : QString::fromUtf8(sqlite3_errmsg(handle));
        result.ids.clear();
        result.cells = CellTable();
        result.overdue.reset();
        sqlite3_finalize(query);
        return result;
    }
    sqlite3_finalize(query);
    result.ok = true;
    return result;
}

QStringList listingHeader(View view)
{
    QStringList header;
    for (const ColumnDef& column : viewColumns(view))
        header << column.header;
    return header;
}

QList<QStringList> listingRows(const FillResult& rows, View view)
{
    const size_t columns = static_cast<size_t>(viewColumns(view).size());
    QList<QStringList> table;
    table.reserve(static_cast<qsizetype>(rows.ids.size()));
    for (size_t r = 0; r < rows.ids.size(); ++r) {
        QStringList cells;
        for (size_t c = 0; c < columns; ++c)
            cells << rows.cells.at(r * columns + c);
        table << cells;
    }
    return table;
}
