#include "core/ImportDates.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Only ASCII digits: other scripts' digits are no part of these forms.
bool allDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

const QString kTwoDigitYear = QStringLiteral("the year must have four digits");

ImportDateParser::Result dated(int year, int month, int day)
{
    ImportDateParser::Result result;
    const QDate date(year, month, day);
    if (date.isValid())
        result.date = date;
    else
        result.error = QStringLiteral("there is no such date");
    return result;
}

ImportDateParser::Result failed(const QString& error)
{
    ImportDateParser::Result result;
    result.error = error;
    return result;
}

// d/m/y, m/d/y or y/m/d with '/', '.' or '-', a time after it allowed.
const QRegularExpression& numericPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,4})([/.\\-])(\\d{1,2})\\2(\\d{1,4})\\.?(?:[ T]\\d{1,2}:\\d{2}.*)?$"));
    return pattern;
}

} // namespace

QString dateOrderName(DateOrder order)
{
    switch (order) {
    case DateOrder::MonthDayYear:
        return QStringLiteral("mdy");
    case DateOrder::YearMonthDay:
        return QStringLiteral("ymd");
    case DateOrder::DayMonthYear:
        break;
    }
    return QStringLiteral("dmy");
}

std::optional<DateOrder> dateOrderFromName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("dmy"))
        return DateOrder::DayMonthYear;
    if (n == QLatin1String("mdy"))
        return DateOrder::MonthDayYear;
    if (n == QLatin1String("ymd"))
        return DateOrder::YearMonthDay;
    return std::nullopt;
}

DateOrder localeDateOrder(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(QLatin1Char('d'));
    const qsizetype month = format.indexOf(QLatin1Char('M'));
    return month >= 0 && day >= 0 && month < day ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
}

DateOrderFinding detectDateOrder(const QList<DatedText>& dates, const QLocale& locale)
{
    DateOrderFinding finding;
    const DatedText* dayFirst = nullptr;
    const DatedText* monthFirst = nullptr;
    for (const DatedText& dated : dates) {
        // Year first or blank decides nothing; spared the pattern.
        const QString& text = dated.text;
        if (text.isEmpty() || (text.size() >= 5 && text[4] == QLatin1Char('-')))
            continue;
        const QRegularExpressionMatch match = numericPattern().match(dated.text.trimmed());
        if (!match.hasMatch() || match.capturedLength(1) == 4)
            continue;
        if (!dayFirst && match.captured(1).toInt() > 12)
            dayFirst = &dated;
        if (!monthFirst && match.captured(3).toInt() > 12)
            monthFirst = &dated;
    }
    if (dayFirst && monthFirst) {
        finding.ok = false;
        finding.error = QStringLiteral("The dates are written both day first (line %1: \"%2\") and month first "
                                       "(line %3: \"%4\"); choose the date order.")
                            .arg(dayFirst->line)
                            .arg(dayFirst->text.trimmed())
                            .arg(monthFirst->line)
                            .arg(monthFirst->text.trimmed());
        return finding;
    }
    if (dayFirst)
        finding.order = DateOrder::DayMonthYear;
    else if (monthFirst)
        finding.order = DateOrder::MonthDayYear;
    else {
        finding.order = localeDateOrder(locale);
        finding.fromLocale = true;
    }
    return finding;
}

ImportDateParser::ImportDateParser(DateOrder order, const QLocale& locale)
    : mOrder(order), mLocale(locale)
{
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    if (shortFormat.contains(QStringLiteral("yyyy")))
        mShortFormat = shortFormat;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale& names : {english, locale}) {
        for (int m = 1; m <= 12; ++m) {
            for (const auto type : {QLocale::LongFormat, QLocale::ShortFormat}) {
                QString name = names.monthName(m, type).toCaseFolded();
                if (name.endsWith(QLatin1Char('.')))
                    name.chop(1);
                if (!name.isEmpty() && !mMonths.contains(name))
                    mMonths.insert(name, m);
                name = names.standaloneMonthName(m, type).toCaseFolded();
                if (name.endsWith(QLatin1Char('.')))
                    name.chop(1);
                if (!name.isEmpty() && !mMonths.contains(name))
                    mMonths.insert(name, m);
            }
        }
    }
    mMonths.insert(QStringLiteral("sept"), 9);
}

std::optional<int> ImportDateParser::monthNamed(const QString& word) const
{
    const auto found = mMonths.constFind(word.toCaseFolded());
    if (found == mMonths.constEnd())
        return std::nullopt;
    return *found;
}

ImportDateParser::Result ImportDateParser::parse(const QString& text) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        Result result;
        result.empty = true;
        return result;
    }

    // ISO first, read by hand: most files write it, and thousands of rows are read.
    if (trimmed.size() == 10 && trimmed[4] == QLatin1Char('-') && trimmed[7] == QLatin1Char('-')
        && allDigits(QStringView(trimmed).left(4)) && allDigits(QStringView(trimmed).mid(5, 2))
        && allDigits(QStringView(trimmed).mid(8, 2)))
        return dated(QStringView(trimmed).left(4).toInt(), QStringView(trimmed).mid(5, 2).toInt(),
                     QStringView(trimmed).mid(8, 2).toInt());

    const QRegularExpressionMatch numeric = numericPattern().match(trimmed);
    if (numeric.hasMatch()) {
        const QString first = numeric.captured(1);
        const QString second = numeric.captured(3);
        const QString third = numeric.captured(4);
        if (first.size() == 4) {
            if (third.size() > 2)
                return failed(QStringLiteral("it is not a date"));
            return dated(first.toInt(), second.toInt(), third.toInt());
        }
        if (mOrder == DateOrder::YearMonthDay || third.size() != 4)
            return failed(kTwoDigitYear);
        if (mOrder == DateOrder::DayMonthYear)
            return dated(third.toInt(), second.toInt(), first.toInt());
        return dated(third.toInt(), first.toInt(), second.toInt());
    }

    // A month by name with a day and a year, in either order: "5 Mar 2024", "March 5, 2024".
    static const QRegularExpression words(QStringLiteral("[\\s,./\\-]+"));
    const QStringList parts = trimmed.split(words, Qt::SkipEmptyParts);
    if (parts.size() == 3) {
        std::optional<int> month;
        QStringList numbers;
        for (const QString& part : parts) {
            if (allDigits(part))
                numbers << part;
            else if (!month)
                month = monthNamed(part);
        }
        if (month && numbers.size() == 2) {
            const bool firstIsYear = numbers[0].size() > 2;
            const QString& year = firstIsYear ? numbers[0] : numbers[1];
            const QString& day = firstIsYear ? numbers[1] : numbers[0];
            if (year.size() != 4)
                return failed(kTwoDigitYear);
            if (day.size() > 2)
                return failed(QStringLiteral("it is not a date"));
            return dated(year.toInt(), *month, day.toInt());
        }
    }

    // The program's own short format, so that its exports read back.
    if (!mShortFormat.isEmpty()) {
        const QDate date = mLocale.toDate(trimmed, mShortFormat);
        if (date.isValid()) {
            Result result;
            result.date = date;
            return result;
        }
    }
    return failed(QStringLiteral("it is not a date in a form this program reads"));
}
