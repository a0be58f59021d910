#pragma once
// The one reading and writing of a stored date (Date_Submitted, Date_Returned). Written as
// ISO text "YYYY-MM-DD", or the integer 0 for no date. Read from whatever a file holds:
// ISO text (a time after it is ignored), day numbers counted from 30 December 1899 as
// older files hold them (whole or with a time as the fraction, as numbers or as text),
// 0, Null, or anything else. Every place that reads a stored date reads it here, so the
// grid, the editor, the figures and the overdue rule never disagree about one.

#include <QDate>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <string_view>

struct sqlite3_stmt;

// Which day numbers count as dates. The day number 0 is the missing date under either
// rule, and an ISO date is always the date it names: the rule decides only the day
// numbers below 0, which a file of the old form may hold.
enum class DateRule {
    PositiveOnly,  // greater than 0 only: a submission's dates wherever they are read
    Any,           // any day number but 0: the Work view's outstanding date
};

// The date a stored value names; an invalid QDate for no date (0, Null, a day number the
// rule leaves out or outside 100 to 9999, text that is neither an ISO date that exists nor
// a number).
QDate decodeStoredDate(const QVariant& stored, DateRule rule);
// The same for a result column of the row a statement stands on, reading ISO text in
// place.
QDate decodeStoredDate(sqlite3_stmt* row, int column, DateRule rule);
// The same for stored text, as UTF-8 bytes (a blob included) or as text.
QDate decodeStoredDateText(std::string_view utf8, DateRule rule);
QDate decodeStoredDateText(QStringView text, DateRule rule);
// The same for a stored day number; a fraction is the time of day and is dropped.
QDate decodeStoredDayNumber(qint64 days, DateRule rule);
QDate decodeStoredDayNumber(double days, DateRule rule);

// Exactly "YYYY-MM-DD" read as the number YYYYMMDD without checking that the day exists;
// 0 for any other text. A listing's cache keys its ISO dates on this, once a cell.
inline int storedIsoKey(std::string_view s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return 0;
    int key = 0;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (s[i] < '0' || s[i] > '9')
            return 0;
        key = key * 10 + (s[i] - '0');
    }
    return key;
}

// The value to store for a date: its ISO text, or the integer 0 when there is none (an
// invalid QDate). An invalid QVariant, which must not be stored, for a year beyond 1 to
// 9999 that ISO text of four digits cannot hold.
QVariant encodeStoredDate(const QDate& date);
