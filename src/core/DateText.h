#pragma once
// Dates as the Submission editor types and shows them: "dd/mm/yyyy" whatever the
// desktop's locale. How they are stored is StoredDate.h's business.

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

// A typed date: day/month/year separated by "/", one or two digits for day and month, two or
// four for the year (two digits mean 1930 to 2029). Blanks around the text are ignored.
// Nothing when the text is empty, in another form, or not a real calendar date.
std::optional<QDate> parseDateText(const QString& text);

// "dd/mm/yyyy"; the empty text for an invalid date.
QString formatDateText(const QDate& date);

// The value to store for a typed date (see StoredDate.h): ISO text, or the integer 0 when
// the text is empty or blank. An invalid QVariant when the text is not a date, which must
// not be stored.
QVariant encodeTypedDate(const QString& text);
