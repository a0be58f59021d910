#pragma once
// Dates as other programs write them: ISO, numbers in either day/month order, month names
// in English or the locale's language. Two-digit years are refused: which century was
// meant cannot be known.

#include <QDate>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// "dmy", "mdy", "ymd", as the command line writes them.
QString dateOrderName(DateOrder order);
std::optional<DateOrder> dateOrderFromName(const QString& name);

// The order of day and month in the locale's short date format; dmy or mdy, since a
// year-first locale still writes day and month in that order.
DateOrder localeDateOrder(const QLocale& locale);

struct DatedText {
    int line = 0;
    QString text;
};

struct DateOrderFinding {
    bool ok = true;
    DateOrder order = DateOrder::DayMonthYear;
    bool fromLocale = false;   // nothing in the file decided it
    QString error;             // when !ok: the two dates that disagree
};

// Any numeric date with a first part over 12 means day first, any with a second part over
// 12 month first; both in one file cannot be read. Neither: the locale's order.
DateOrderFinding detectDateOrder(const QList<DatedText>& dates, const QLocale& locale);

class ImportDateParser {
public:
    ImportDateParser(DateOrder order, const QLocale& locale);

    struct Result {
        bool empty = false;    // blank text: no date
        QDate date;            // valid when it is one
        QString error;         // otherwise why not
    };
    Result parse(const QString& text) const;

private:
    std::optional<int> monthNamed(const QString& word) const;

    DateOrder mOrder;
    QLocale mLocale;
    QString mShortFormat;           // the program's own, when its year has four digits
    QHash<QString, int> mMonths;    // case-folded names and abbreviations
};
