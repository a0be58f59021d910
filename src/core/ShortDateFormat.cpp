#include "core/ShortDateFormat.h"

namespace {

int runLength(const QString& pattern, qsizetype at)
{
    qsizetype end = at;
    while (end < pattern.size() && pattern.at(end) == pattern.at(at))
        ++end;
    return static_cast<int>(end - at);
}

void appendNumber(QString& text, int value, int width)
{
    char digits[8];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n < width)
        digits[n++] = '0';
    while (n > 0)
        text.append(QLatin1Char(digits[--n]));
}

} // namespace

ShortDateFormat::ShortDateFormat(const QLocale& locale)
    : mLocale(locale)
{
    // Locales that write other digits are left to QLocale.
    mByHand = mLocale.zeroDigit() == QStringLiteral("0") && compile(mLocale.dateFormat(QLocale::ShortFormat));
    if (!mByHand)
        mPieces.clear();
    for (int m = 0; m < 12; ++m) {
        mMonthShort[m] = mLocale.monthName(m + 1, QLocale::ShortFormat);
        mMonthLong[m] = mLocale.monthName(m + 1, QLocale::LongFormat);
    }
}

// The pattern as pieces, read as QLocale reads it; false for anything not handled here.
bool ShortDateFormat::compile(const QString& pattern)
{
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            // Quoted text; '' is a quote, inside quotes or out.
            QString text;
            qsizetype j = i + 1;
            if (j < pattern.size() && pattern.at(j) == QLatin1Char('\'')) {
                text = QStringLiteral("'");
                j += 1;
            } else {
                for (; j < pattern.size(); ++j) {
                    if (pattern.at(j) != QLatin1Char('\''))
                        text.append(pattern.at(j));
                    else if (j + 1 < pattern.size() && pattern.at(j + 1) == QLatin1Char('\''))
                        text.append(pattern.at(j++));
                    else
                        break;
                }
                if (j >= pattern.size())
                    return false;  // unclosed: leave QLocale's own reading
                j += 1;
            }
            mPieces.push_back({Part::Text, text});
            i = j;
            continue;
        }
        const int run = runLength(pattern, i);
        Part part = Part::Text;
        if (c == QLatin1Char('d') && run <= 2)
            part = run == 1 ? Part::Day : Part::Day2;
        else if (c == QLatin1Char('M') && run <= 4)
            part = run == 1 ? Part::Month : run == 2 ? Part::Month2 : run == 3 ? Part::MonthShort : Part::MonthLong;
        else if (c == QLatin1Char('y') && (run == 2 || run == 4))
            part = run == 2 ? Part::Year2 : Part::Year4;
        else if (c.isLetter())
            return false;  // day names, other runs of letters
        if (part == Part::Text)
            mPieces.push_back({Part::Text, pattern.mid(i, run)});
        else
            mPieces.push_back({part, QString()});
        i += run;
    }
    return true;
}

QString ShortDateFormat::format(const QDate& date) const
{
    if (!date.isValid())
        return QString();
    return format(date.year(), date.month(), date.day());
}

QString ShortDateFormat::format(int year, int month, int day) const
{
    if (!QDate::isValid(year, month, day))
        return QString();
    if (!mByHand || year < 1000 || year > 9999)
        return mLocale.toString(QDate(year, month, day), QLocale::ShortFormat);
    QString text;
    text.reserve(16);
    for (const Piece& piece : mPieces) {
        switch (piece.part) {
        case Part::Text: text.append(piece.text); break;
        case Part::Day: appendNumber(text, day, 1); break;
        case Part::Day2: appendNumber(text, day, 2); break;
        case Part::Month: appendNumber(text, month, 1); break;
        case Part::Month2: appendNumber(text, month, 2); break;
        case Part::MonthShort: text.append(mMonthShort[month - 1]); break;
        case Part::MonthLong: text.append(mMonthLong[month - 1]); break;
        case Part::Year2: appendNumber(text, year % 100, 2); break;
        case Part::Year4: appendNumber(text, year, 4); break;
        }
    }
    return text;
}
