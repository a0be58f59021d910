// The settings-file reader and writer on arbitrary file content: a write must read back
// as written, leave every other key's value alone, change no byte outside its line, and
// on a key that is there change no byte outside the old value's characters.

#include <QList>
#include <QSet>
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "core/ProfileFile.h"

namespace {

// Names the program writes, and a few that look like them; names are plain words because
// the program never writes a key holding '=', ']' or a line break.
const char* const kNames[] = {"Initialisation", "Hot-Keys", "Work-SQL", "Auto-Refresh", "Mode",
                              "1", "2", "Default", "a", "A", "x y"};

QString pickName(FuzzedDataProvider& data)
{
    if (data.ConsumeBool())
        return QString::fromLatin1(kNames[data.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)]);
    // A short word of letters, digits, '-', '_' and inner blanks.
    static const char kAlphabet[] = "abcABC019-_ ";
    QString name;
    const size_t length = data.ConsumeIntegralInRange<size_t>(1, 6);
    for (size_t i = 0; i < length; ++i)
        name += QLatin1Char(kAlphabet[data.ConsumeIntegralInRange<size_t>(0, sizeof kAlphabet - 2)]);
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("k") : name;
}

// Every section and key name the content might hold, found loosely: the reader decides
// which of them are real, before and after the write alike.
QList<QPair<QString, QString>> candidateKeys(const QByteArray& content)
{
    QSet<QString> sections;
    QSet<QString> keys;
    for (const QByteArray& raw : content.split('\n')) {
        const QByteArray line = raw.split('\r').value(0).trimmed();
        if (line.startsWith('[')) {
            sections.insert(QString::fromUtf8(line.mid(1, line.indexOf(']') - 1)).trimmed());
        } else if (const qsizetype eq = line.indexOf('='); eq > 0) {
            keys.insert(QString::fromUtf8(line.left(eq)).trimmed());
        }
    }
    QList<QPair<QString, QString>> pairs;
    for (const QString& s : sections)
        for (const QString& k : keys)
            if (pairs.size() < 400)
                pairs.append({s, k});
    return pairs;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Where the value's characters are on the key line around position at: after the first
// '=' and the blanks that follow it, before the blanks that end the line, and inside one
// pair of matching outer quotes.
QPair<qsizetype, qsizetype> valueSpan(const QByteArray& content, qsizetype at)
{
    qsizetype start = at;
    while (start > 0 && content[start - 1] != '\r' && content[start - 1] != '\n')
        --start;
    qsizetype end = at;
    while (end < content.size() && content[end] != '\r' && content[end] != '\n')
        ++end;
    qsizetype from = content.indexOf('=', start);
    if (from < 0 || from >= end)
        return {-1, -1};
    ++from;
    while (from < end && isBlank(content[from]))
        ++from;
    while (end > from && isBlank(content[end - 1]))
        --end;
    if (end - from >= 2 && (content[from] == '"' || content[from] == '\'') && content[end - 1] == content[from])
        return {from + 1, end - 1};
    return {from, end};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString section = pickName(data);
    const QString key = pickName(data);
    const QString value = QString::fromUtf8(data.ConsumeRandomLengthString(64));
    const std::string rest = data.ConsumeRemainingBytesAsString();
    const QByteArray content(rest.data(), qsizetype(rest.size()));

    const bool existed = profile::readValue(content, section, key).has_value();
    const QByteArray written = profile::writeValue(content, section, key, value);

    // A line cannot hold a line break; the writer turns them into blanks.
    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const std::optional<QString> readBack = profile::readValue(written, section, key);
    FUZZ_CHECK(readBack && *readBack == expected,
               QStringLiteral("[%1] %2 wrote \"%3\", read \"%4\" from %5")
                   .arg(section, key, expected, readBack.value_or(QStringLiteral("<none>")), fuzzShow(written)));

    for (const auto& [otherSection, otherKey] : candidateKeys(content)) {
        if (otherSection.compare(section, Qt::CaseInsensitive) == 0 && otherKey.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(profile::readValue(content, otherSection, otherKey) == profile::readValue(written, otherSection, otherKey),
                   QStringLiteral("[%1] %2 changed by writing [%3] %4").arg(otherSection, otherKey, section, key));
    }

    // Outside the one changed or inserted stretch every byte is the same, and the bytes
    // replaced hold no line ending: no other line was touched.
    qsizetype prefix = 0;
    while (prefix < content.size() && prefix < written.size() && content[prefix] == written[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < content.size() - prefix && suffix < written.size() - prefix
           && content[content.size() - 1 - suffix] == written[written.size() - 1 - suffix])
        ++suffix;
    const QByteArray removed = content.mid(prefix, content.size() - prefix - suffix);
    FUZZ_CHECK(!removed.contains('\n') && !removed.contains('\r'),
               QStringLiteral("bytes of other lines replaced: %1 -> %2").arg(fuzzShow(content), fuzzShow(written)));

    // A key that was there: the first changed byte lies on its line, and everything before
    // the old value's characters and after them (blanks, quotes, line ending) is the same.
    if (existed && written != content) {
        const auto [from, to] = valueSpan(content, prefix);
        const qsizetype tail = content.size() - to;
        FUZZ_CHECK(from >= 0 && written.size() >= from + tail && written.left(from) == content.left(from)
                       && written.right(tail) == content.right(tail),
                   QStringLiteral("bytes around the value of [%1] %2 changed: %3 -> %4")
                       .arg(section, key, fuzzShow(content), fuzzShow(written)));
    }

    // Writing the same value again changes nothing.
    FUZZ_CHECK(profile::writeValue(written, section, key, value) == written,
               QStringLiteral("a second write of the same value changed %1").arg(fuzzShow(written)));
    return 0;
}
