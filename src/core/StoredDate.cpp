#include "core/StoredDate.h"

#include <sqlite3.h>
#include <cmath>

#include "core/Conversions.h"

namespace {

// Day 0 of the day-number scale, and the scale's own limits (1 January 100 to
// 31 December 9999): beyond them a number is not a date the old form could hold.
const QDate kDayZero(1899, 12, 30);
constexpr qint64 kFirstDay = -657434;
constexpr qint64 kLastDay = 2958465;

// "YYYY-MM-DD", then nothing or a time after a space or a "T".
QDate isoDate(QStringView text)
{
    if (text.size() < 10 || (text.size() > 10 && text[10] != QLatin1Char(' ') && text[10] != QLatin1Char('T')))
        return QDate();
    const QByteArray head = text.left(10).toLatin1();
    const int key = storedIsoKey(std::string_view(head.constData(), static_cast<size_t>(head.size())));
    return key ? QDate(key / 10000, key / 100 % 100, key % 100) : QDate();  // invalid when the day is not
}

} // namespace

QDate decodeStoredDayNumber(qint64 days, DateRule rule)
{
    if (days == 0 || (days < 0 && rule == DateRule::PositiveOnly) || days < kFirstDay || days > kLastDay)
        return QDate();
    return kDayZero.addDays(days);
}

QDate decodeStoredDayNumber(double days, DateRule rule)
{
    // The fraction is a time on the day the whole part names, below 0 as above it.
    if (!(days > static_cast<double>(kFirstDay) - 1.0 && days < static_cast<double>(kLastDay) + 1.0))
        return QDate();  // NaN and the infinities too
    return decodeStoredDayNumber(static_cast<qint64>(std::trunc(days)), rule);
}

QDate decodeStoredDateText(QStringView text, DateRule rule)
{
    text = text.trimmed();
    if (const QDate date = isoDate(text); date.isValid())
        return date;
    bool isNumber = false;
    const qint64 whole = text.toLongLong(&isNumber);
    if (isNumber)
        return decodeStoredDayNumber(whole, rule);
    const double days = text.toDouble(&isNumber);
    return isNumber ? decodeStoredDayNumber(days, rule) : QDate();
}

QDate decodeStoredDateText(std::string_view utf8, DateRule rule)
{
    // The form this program writes is read without making a text.
    if (const int key = storedIsoKey(utf8))
        return QDate(key / 10000, key / 100 % 100, key % 100);
    return decodeStoredDateText(textFromUtf8(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size()))), rule);
}

QDate decodeStoredDate(const QVariant& stored, DateRule rule)
{
    if (!stored.isValid() || stored.isNull())
        return QDate();
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return decodeStoredDayNumber(stored.toLongLong(), rule);
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return stored.toULongLong() > static_cast<qulonglong>(kLastDay) ? QDate()
                                                                         : decodeStoredDayNumber(stored.toLongLong(), rule);
    case QMetaType::Double:
    case QMetaType::Float:
        return decodeStoredDayNumber(stored.toDouble(), rule);
    case QMetaType::QByteArray: {
        const QByteArray bytes = stored.toByteArray();
        return decodeStoredDateText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), rule);
    }
    default:
        return decodeStoredDateText(stored.toString(), rule);
    }
}

QDate decodeStoredDate(sqlite3_stmt* row, int column, DateRule rule)
{
    switch (sqlite3_column_type(row, column)) {
    case SQLITE_NULL:
        return QDate();
    case SQLITE_INTEGER:
        return decodeStoredDayNumber(static_cast<qint64>(sqlite3_column_int64(row, column)), rule);
    case SQLITE_FLOAT:
        return decodeStoredDayNumber(sqlite3_column_double(row, column), rule);
    default: {
        // Text, or a blob read as its bytes.
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
        const int size = sqlite3_column_bytes(row, column);
        return decodeStoredDateText(std::string_view(bytes ? bytes : "", static_cast<size_t>(size)), rule);
    }
    }
}

QVariant encodeStoredDate(const QDate& date)
{
    if (!date.isValid())
        return QVariant(0);
    // Four digits of year, as the reading above expects; a date beyond them has no stored form.
    if (date.year() < 1 || date.year() > 9999)
        return QVariant();
    return QVariant(QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day()));
}
