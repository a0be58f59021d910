#pragma once
// Amounts of money: whole numbers of the currency's smallest unit (pence, cents, yen), so
// that nothing is ever rounded. One currency per database, named by the Currency setting;
// changing it relabels the amounts and never converts them.

#include <QLocale>
#include <QString>
#include <optional>

class Currency {
public:
    // An ISO 4217 code ("GBP"); empty or not three letters: the locale's own currency.
    explicit Currency(const QString& code = QString(), const QLocale& locale = QLocale());

    // Three capital letters, or empty.
    static bool isCode(const QString& code);

    const QString& code() const { return mCode; }
    // Digits after the decimal point: 0 for JPY, 3 for KWD, 2 for most.
    int digits() const { return mDigits; }
    // How amounts are labelled: the locale's symbol when it is the locale's currency, a
    // known one ("€") otherwise, else the code.
    const QString& symbol() const { return mSymbol; }
    const QLocale& locale() const { return mLocale; }

    // In the locale's currency format ("£1,234.50"), digit for digit from the minor units.
    QString format(qint64 minor) const;
    // The number alone, in the locale's number format ("1,234.50"), as the editors show it.
    QString formatNumber(qint64 minor) const;

    // The most an amount may be, in major units.
    static constexpr qint64 kMaximum = 1'000'000;

    struct Parsed {
        std::optional<qint64> minor;  // none: the text was empty, or refused
        QString error;                // why it was refused; empty when accepted
        bool ok() const { return error.isEmpty(); }
    };
    // A typed amount: the locale's number format, or a decimal point, with this currency's
    // own symbol or code around it if at all. Refused: another currency, a negative amount,
    // more decimals than the currency has, more than kMaximum, anything that is no number.
    // Empty text is no amount, and no error.
    Parsed parse(const QString& text) const;

private:
    QString mCode;
    QString mSymbol;
    int mDigits = 2;
    QLocale mLocale;
};
