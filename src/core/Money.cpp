#include "core/Money.h"

#include <QCoreApplication>
#include <QStringList>
#include <utility>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Money", text);
}

// Currencies whose smallest unit is not the hundredth.
int digitsOf(const QString& code)
{
    static const char* const kNone[] = {"JPY", "KRW", "ISK", "VND", "CLP", "PYG", "UGX", "XAF", "XOF"};
    static const char* const kThree[] = {"KWD", "BHD", "OMR", "JOD", "TND", "LYD", "IQD"};
    for (const char* c : kNone) {
        if (code == QLatin1String(c))
            return 0;
    }
    for (const char* c : kThree) {
        if (code == QLatin1String(c))
            return 3;
    }
    return 2;
}

// Symbols of common currencies when the locale's own is another.
QString knownSymbol(const QString& code)
{
    static const std::pair<const char*, const char16_t*> kSymbols[] = {
        {"EUR", u"€"}, {"GBP", u"£"}, {"USD", u"US$"}, {"JPY", u"¥"}, {"INR", u"₹"},
        {"CAD", u"CA$"}, {"AUD", u"A$"}, {"NZD", u"NZ$"},
    };
    for (const auto& [c, symbol] : kSymbols) {
        if (code == QLatin1String(c))
            return QString::fromUtf16(symbol);
    }
    return code;
}

qint64 powerOfTen(int digits)
{
    qint64 p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p;
}

bool allDigits(QStringView s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The whole and the decimal digits of a number written with that decimal mark and, in the
// whole part, that group separator between groups of three (none when group is null).
std::optional<std::pair<QString, QString>> splitNumber(const QString& text, QChar decimal, QChar group)
{
    if (text.count(decimal) > 1)
        return std::nullopt;
    const qsizetype mark = text.indexOf(decimal);
    QString whole = mark < 0 ? text : text.left(mark);
    const QString fraction = mark < 0 ? QString() : text.mid(mark + 1);
    if (!allDigits(fraction) || (whole.isEmpty() && fraction.isEmpty()))
        return std::nullopt;
    if (!group.isNull() && whole.contains(group)) {
        const QStringList groups = whole.split(group);
        for (qsizetype i = 0; i < groups.size(); ++i) {
            const qsizetype n = groups[i].size();
            if (i == 0 ? (n < 1 || n > 3) : n != 3)
                return std::nullopt;
        }
        whole = groups.join(QString());
    }
    if (!allDigits(whole))
        return std::nullopt;
    return std::pair(whole.isEmpty() ? QStringLiteral("0") : whole, fraction);
}

// Removes the label at either end once; true when it was there.
bool takeLabel(QString& text, const QString& label, Qt::CaseSensitivity cs)
{
    if (label.isEmpty())
        return false;
    if (text.startsWith(label, cs)) {
        text = text.mid(label.size()).trimmed();
        return true;
    }
    if (text.endsWith(label, cs)) {
        text.chop(label.size());
        text = text.trimmed();
        return true;
    }
    return false;
}

} // namespace

Currency::Currency(const QString& code, const QLocale& locale)
    : mLocale(locale)
{
    const QString localeCode = locale.currencySymbol(QLocale::CurrencyIsoCode);
    mCode = isCode(code) && !code.isEmpty() ? code : localeCode;
    if (!isCode(mCode) || mCode.isEmpty())
        mCode = QStringLiteral("XXX");  // the "C" locale names none
    mDigits = digitsOf(mCode);
    mSymbol = mCode == localeCode ? locale.currencySymbol(QLocale::CurrencySymbol) : knownSymbol(mCode);
    // "No currency" shows plain numbers.
    if (mSymbol.isEmpty() || mCode == QLatin1String("XXX"))
        mSymbol = mCode == QLatin1String("XXX") ? QString() : mCode;
}

bool Currency::isCode(const QString& code)
{
    if (code.isEmpty())
        return true;
    if (code.size() != 3)
        return false;
    for (const QChar c : code) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return false;
    }
    return true;
}

QString Currency::formatNumber(qint64 minor) const
{
    const qint64 scale = powerOfTen(mDigits);
    const quint64 size = minor < 0 ? 0 - static_cast<quint64>(minor) : static_cast<quint64>(minor);
    QString text = mLocale.toString(static_cast<qulonglong>(size / static_cast<quint64>(scale)));
    if (mDigits > 0)
        text += mLocale.decimalPoint()
            + mLocale.toString(static_cast<qulonglong>(size % static_cast<quint64>(scale)))
                  .rightJustified(mDigits, mLocale.zeroDigit().front());
    return minor < 0 ? mLocale.negativeSign() + text : text;
}

QString Currency::format(qint64 minor) const
{
    const qint64 scale = powerOfTen(mDigits);
    const quint64 size = minor < 0 ? 0 - static_cast<quint64>(minor) : static_cast<quint64>(minor);
    // The locale places the symbol around the whole units; the decimals follow the last digit.
    QString text = mLocale.toCurrencyString(static_cast<qulonglong>(size / static_cast<quint64>(scale)), mSymbol);
    if (mDigits > 0) {
        qsizetype last = text.size() - 1;
        while (last >= 0 && !text.at(last).isDigit())
            --last;
        const QString decimals = mLocale.decimalPoint()
            + mLocale.toString(static_cast<qulonglong>(size % static_cast<quint64>(scale)))
                  .rightJustified(mDigits, mLocale.zeroDigit().front());
        text.insert(last + 1, decimals);
    }
    return minor < 0 ? mLocale.negativeSign() + text : text;
}

Currency::Parsed Currency::parse(const QString& typed) const
{
    Parsed parsed;
    auto refuse = [&](const QString& why) {
        parsed.error = why;
        return parsed;
    };
    QString text = typed.trimmed();
    if (text.isEmpty())
        return parsed;

    bool negative = false;
    for (const QString& minus : {QStringLiteral("-"), QStringLiteral(u"\u2212"), mLocale.negativeSign()}) {
        if (!minus.isEmpty() && text.startsWith(minus)) {
            negative = true;
            text = text.mid(minus.size()).trimmed();
            break;
        }
    }
    // The database's own currency, by its symbol or code, on either side.
    if (!takeLabel(text, mSymbol, Qt::CaseSensitive))
        takeLabel(text, mCode, Qt::CaseInsensitive);
    if (!negative && (text.startsWith(QLatin1Char('-')) || text.startsWith(mLocale.negativeSign()))) {
        negative = true;
        text = text.mid(1).trimmed();
    }
    for (const QChar c : text) {
        if (c.category() == QChar::Symbol_Currency || c.isLetter())
            return refuse(tr("\"%1\" is not in %2, this database's currency.").arg(typed.trimmed(), mCode));
    }
    if (negative)
        return refuse(tr("An amount cannot be negative."));
    // Blanks, as some locales group digits with them, are dropped.
    QString digits;
    for (const QChar c : text) {
        if (!c.isSpace() && c != QChar(0x202F))
            digits += c;
    }

    const QChar decimal = mLocale.decimalPoint().front();
    const QChar group = mLocale.groupSeparator().isEmpty() || mLocale.groupSeparator().front().isSpace()
        ? QChar() : mLocale.groupSeparator().front();
    std::optional<std::pair<QString, QString>> number = splitNumber(digits, decimal, group);
    if (!number && decimal != QLatin1Char('.'))
        number = splitNumber(digits, QLatin1Char('.'), QLatin1Char(','));
    if (!number)
        return refuse(tr("\"%1\" is not an amount.").arg(typed.trimmed()));

    QString whole = number->first;
    while (whole.size() > 1 && whole.front() == QLatin1Char('0'))
        whole.remove(0, 1);
    const QString fraction = number->second;
    if (fraction.size() > mDigits) {
        if (mDigits == 0)
            return refuse(tr("%1 has no smaller unit: \"%2\" has decimals.").arg(mCode, typed.trimmed()));
        return refuse(tr("%1 has %2 decimals at most: \"%3\" has more.").arg(mCode).arg(mDigits).arg(typed.trimmed()));
    }
    const qint64 scale = powerOfTen(mDigits);
    if (whole.size() > 7 || whole.toLongLong() * scale + fraction.leftJustified(mDigits, QLatin1Char('0')).toLongLong()
                                > kMaximum * scale)
        return refuse(tr("An amount cannot be more than %1.").arg(format(kMaximum * scale)));
    parsed.minor = whole.toLongLong() * scale + fraction.leftJustified(mDigits, QLatin1Char('0')).toLongLong();
    return parsed;
}
