#include "hotkeys/HotKeys.h"

#include <QStringList>

#include "app/Conversions.h"
#include "app/modQuillary.h"

QString KeysToText(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('{'));
    result.remove(QLatin1Char('}'));
    return result;
}

QString TextToKeys(const QString& text)
{
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('('))
            result += QStringLiteral("{(}");
        else if (c == QLatin1Char(')'))
            result += QStringLiteral("{)}");
        else
            result += c;
    }
    return result;
}


std::optional<HotKeyEntry> ParseHotKeyEntry(const QString& value, const QString& spaceChar)
{
    const qsizetype first = value.indexOf(QLatin1Char(','));
    if (first < 0)
        return std::nullopt;
    const qsizetype second = value.indexOf(QLatin1Char(','), first + 1);
    if (second < 0)
        return std::nullopt;

    HotKeyEntry entry;
    entry.caption = value.left(first);
    entry.code = RoundHalfEven(LeadingNumber(value.mid(first + 1, second - first - 1)));
    entry.text = value.mid(second + 1);
    // An empty pattern would insert a blank between every character.
    if (!spaceChar.isEmpty())
        entry.text.replace(spaceChar, QStringLiteral(" "));
    return entry;
}

QString ComposeHotKeyEntry(const QString& caption, int code, const QString& keysText,
                           const QString& spaceChar)
{
    QString text = keysText;
    if (!spaceChar.isEmpty())
        text.replace(QLatin1Char(' '), spaceChar);
    return caption + QLatin1Char(',') + QString::number(code) + QLatin1Char(',') + text;
}

