#pragma once
// A locale's short date format, applied by hand for the usual patterns (day and month
// numbers, month names, two- or four-digit years, separators and quoted text).
// QLocale::toString reads its pattern again for every date, which is most of the time a
// listing of thousands of dates spends; anything the hand-made path does not know (other
// letters, non-Latin digits, years outside 1000 to 9999) is left to QLocale.

#include <QDate>
#include <QLocale>
#include <QString>
#include <vector>

class ShortDateFormat {
public:
    explicit ShortDateFormat(const QLocale& locale = QLocale());

    // The same text as QLocale::toString(date, QLocale::ShortFormat); empty for an invalid
    // date.
    QString format(const QDate& date) const;
    // The same for a day given by its parts, sparing a QDate; empty when it is not a date.
    QString format(int year, int month, int day) const;
    // The pattern is applied here, not by QLocale.
    bool byHand() const { return mByHand; }

private:
    enum class Part { Text, Day, Day2, Month, Month2, MonthShort, MonthLong, Year2, Year4 };
    struct Piece {
        Part part;
        QString text;  // Part::Text only
    };
    bool compile(const QString& pattern);

    QLocale mLocale;
    bool mByHand = false;
    std::vector<Piece> mPieces;
    QString mMonthShort[12];
    QString mMonthLong[12];
};
