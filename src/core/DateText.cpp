#include "core/DateText.h"

#include <QStringList>

#include "core/StoredDate.h"

namespace {

// Only ASCII digits: QChar::isDigit would take other scripts' digits too.
bool allDigits(const QString& part)
{
    if (part.isEmpty())
        return false;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

std::optional<QDate> parseDateText(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    const QString& day = parts[0];
    const QString& month = parts[1];
    const QString& year = parts[2];
    if (!allDigits(day) || !allDigits(month) || !allDigits(year))
        return std::nullopt;
    if (day.size() > 2 || month.size() > 2 || (year.size() != 2 && year.size() != 4))
        return std::nullopt;
    int y = year.toInt();
    if (year.size() == 2)
        y += y < 30 ? 2000 : 1900;
    const QDate date(y, month.toInt(), day.toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString formatDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QVariant encodeTypedDate(const QString& text)
{
    if (text.trimmed().isEmpty())
        return encodeStoredDate(QDate());
    const std::optional<QDate> date = parseDateText(text);
    return date ? encodeStoredDate(*date) : QVariant();
}
