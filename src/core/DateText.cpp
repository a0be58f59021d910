#include "core/DateText.h"

#include <QStringList>
#include <cmath>

namespace {

// Day 0 of the day-number scale older databases stored dates in.
const QDate kDayZero(1899, 12, 30);

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

QString fromDayNumber(double days)
{
    if (!(days >= 1.0) || days > 3.0e6)
        return QString();
    return FormatDateText(kDayZero.addDays(static_cast<qint64>(std::floor(days))));
}

} // namespace

std::optional<QDate> ParseDateText(const QString& text)
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

QString FormatDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QVariant StoredDate(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QVariant(0);
    const std::optional<QDate> date = ParseDateText(text);
    if (!date)
        return QVariant();
    return QVariant(date->toString(Qt::ISODate));
}

QString ShowStoredDate(const QVariant& stored)
{
    if (!stored.isValid() || stored.isNull())
        return QString();
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return fromDayNumber(static_cast<double>(stored.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDayNumber(stored.toDouble());
    default:
        break;
    }
    const QString text = stored.toString().trimmed();
    // A day number that arrived as text ("0" among them).
    bool isNumber = false;
    const double days = text.toDouble(&isNumber);
    if (isNumber)
        return fromDayNumber(days);
    // ISO date, possibly followed by a time.
    QString isoDay = text;
    if (text.size() > 10 && (text[10] == QLatin1Char(' ') || text[10] == QLatin1Char('T')))
        isoDay = text.left(10);
    const QDate date = QDate::fromString(isoDay, QStringLiteral("yyyy-MM-dd"));
    return FormatDateText(date);
}
