#include "core/ProfileFile.h"

#include "core/Conversions.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVector>

namespace profile {
namespace {

const QByteArray kBom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// One line of the file: its text runs from start to end, its line ending (if any)
// from end to next.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QByteArray name;     // trimmed section or key name
    qsizetype equals = -1; // position of the key line's '=' in the content
};

QByteArray trimmed(const QByteArray& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

QVector<Line> splitLines(const QByteArray& content)
{
    QVector<Line> lines;
    qsizetype pos = content.startsWith(kBom) ? kBom.size() : 0;
    const qsizetype size = content.size();
    while (pos < size) {
        Line line;
        line.start = pos;
        while (pos < size && content[pos] != '\r' && content[pos] != '\n')
            ++pos;
        line.end = pos;
        if (pos < size && content[pos] == '\r')
            ++pos;
        if (pos < size && content[pos] == '\n' && (pos == line.end || content[pos - 1] == '\r'))
            ++pos;
        line.next = pos;
        lines.push_back(line);
    }
    return lines;
}

Parsed parse(const QByteArray& content, const Line& line)
{
    Parsed parsed;
    qsizetype pos = line.start;
    while (pos < line.end && isBlank(content[pos]))
        ++pos;
    if (pos == line.end || content[pos] == ';')
        return parsed;
    if (content[pos] == '[') {
        // The name ends at the first ']'; a header without one runs to the end of the line.
        qsizetype close = pos + 1;
        while (close < line.end && content[close] != ']')
            ++close;
        parsed.kind = Kind::Section;
        parsed.name = trimmed(content.mid(pos + 1, close - pos - 1));
        return parsed;
    }
    for (qsizetype eq = pos; eq < line.end; ++eq) {
        if (content[eq] == '=') {
            parsed.kind = Kind::Key;
            parsed.name = trimmed(content.mid(line.start, eq - line.start));
            parsed.equals = eq;
            break;
        }
    }
    return parsed;
}

QString decode(const QByteArray& bytes)
{
    return textFromUtf8(bytes);
}

bool sameName(const QByteArray& stored, const QString& wanted)
{
    return decode(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

// Names compare without regard to case: equal names fold to the same text.
QString foldedName(const QString& name)
{
    return name.toCaseFolded();
}

QString cleanName(const QString& name)
{
    QString clean = name;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return clean.trimmed();
}

bool isQuotedPair(const QByteArray& text)
{
    return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.front() == text.back();
}

// A line cannot hold a line break, so CR and LF become blanks.
QByteArray valueBytes(const QString& value)
{
    QByteArray bytes = value.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

// The value as written where no quotes hold it: a value that reading would change (outer
// blanks, or an outer pair of quotes) goes inside double quotes, so it reads back as written.
QByteArray encodeValue(const QString& value)
{
    QByteArray bytes = valueBytes(value);
    if (!bytes.isEmpty() && (isBlank(bytes.front()) || isBlank(bytes.back()) || isQuotedPair(bytes)))
        bytes = '"' + bytes + '"';
    return bytes;
}

// content with the value of the key line from..end (from is just after its '=')
// replaced. Only the value's characters change: the blanks around them, a pair of quotes
// that holds them and the line ending stay. Between quotes any value reads back whole,
// because reading removes exactly that one pair.
QByteArray replaceValue(const QByteArray& content, qsizetype from, qsizetype end, const QString& value)
{
    while (from < end && isBlank(content[from]))
        ++from;
    while (end > from && isBlank(content[end - 1]))
        --end;
    QByteArray replacement;
    if (isQuotedPair(content.mid(from, end - from))) {
        ++from;
        --end;
        replacement = valueBytes(value);
    } else {
        replacement = encodeValue(value);
    }
    QByteArray result = content;
    result.replace(from, end - from, replacement);
    return result;
}

QByteArray lineEnding(const QByteArray& content)
{
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] == '\n')
            return QByteArrayLiteral("\n");
        if (content[i] == '\r')
            return i + 1 < content.size() && content[i + 1] == '\n' ? QByteArrayLiteral("\r\n")
                                                                     : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

// Where the first section named section starts (its header line index) and ends
// (the index of the next header, or the line count); -1 when there is none.
struct SectionSpan {
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionSpan findSection(const QByteArray& content, const QVector<Line>& lines, const QString& section)
{
    SectionSpan span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Parsed parsed = parse(content, lines[i]);
        if (parsed.kind != Kind::Section)
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (sameName(parsed.name, section))
            span.header = i;
    }
    if (span.header >= 0)
        span.end = lines.size();
    return span;
}

std::optional<QByteArray> readAll(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace

std::optional<QString> readValue(const QByteArray& content, const QString& section, const QString& key)
{
    return Index(content).value(section, key);
}

Index::Index(const QByteArray& content)
{
    const QVector<Line> lines = splitLines(content);
    // The keys of the section being read; none before the first section, and none in a
    // later section of a name already seen.
    QHash<QString, QString>* keys = nullptr;
    for (const Line& line : lines) {
        const Parsed parsed = parse(content, line);
        if (parsed.kind == Kind::Section) {
            const QString name = foldedName(decode(parsed.name));
            keys = mValues.contains(name) ? nullptr : &mValues[name];
        } else if (parsed.kind == Kind::Key && keys) {
            const QString name = foldedName(decode(parsed.name));
            if (keys->contains(name))
                continue;
            QByteArray value = trimmed(content.mid(parsed.equals + 1, line.end - parsed.equals - 1));
            if (isQuotedPair(value))
                value = value.mid(1, value.size() - 2);
            keys->insert(name, decode(value));
        }
    }
}

std::optional<QString> Index::value(const QString& section, const QString& key) const
{
    const auto keys = mValues.constFind(foldedName(cleanName(section)));
    if (keys == mValues.constEnd())
        return std::nullopt;
    const auto found = keys->constFind(foldedName(cleanName(key)));
    if (found == keys->constEnd())
        return std::nullopt;
    return *found;
}

QByteArray writeValue(const QByteArray& content, const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = cleanName(section);
    const QString keyName = cleanName(key);
    const QByteArray encoded = encodeValue(value);
    const QByteArray eol = lineEnding(content);
    const QVector<Line> lines = splitLines(content);
    const SectionSpan span = findSection(content, lines, sectionName);

    if (span.header < 0) {
        QByteArray result = content;
        const bool onlyBom = content == kBom;
        if (!result.isEmpty() && !onlyBom && !result.endsWith('\n') && !result.endsWith('\r'))
            result += eol;
        result += '[' + sectionName.toUtf8() + ']' + eol + keyName.toUtf8() + '=' + encoded + eol;
        return result;
    }

    qsizetype lastKey = span.header;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const Parsed parsed = parse(content, lines[i]);
        if (parsed.kind != Kind::Key)
            continue;
        if (sameName(parsed.name, keyName)) // the key keeps its own spelling and spacing
            return replaceValue(content, parsed.equals + 1, lines[i].end, value);
        lastKey = i;
    }

    const Line& after = lines[lastKey];
    QByteArray insert = keyName.toUtf8() + '=' + encoded;
    if (after.next == after.end) // the line ends the file without a line ending
        insert = eol + insert;
    else
        insert += eol;
    QByteArray result = content;
    result.insert(after.next, insert);
    return result;
}

std::optional<QString> readFile(const QString& path, const QString& section, const QString& key)
{
    const std::optional<QByteArray> content = readAll(path, nullptr);
    if (!content)
        return std::nullopt;
    return readValue(*content, section, key);
}

std::optional<QByteArray> readContent(const QString& path)
{
    return readAll(path, nullptr);
}

QByteArray writeValues(QByteArray content, const QVector<Setting>& settings)
{
    for (const Setting& setting : settings)
        content = writeValue(content, setting.section, setting.key, setting.value);
    return content;
}

bool writeFile(const QString& path, const QVector<Setting>& settings, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };

    QByteArray content;
    std::optional<QFileDevice::Permissions> permissions;
    if (QFileInfo::exists(path)) {
        // Root may write any file; the owner's write bit says whether the file is meant to change.
        permissions = QFile::permissions(path);
        if (!permissions->testFlag(QFileDevice::WriteOwner))
            return fail(QStringLiteral("The file is read-only"));
        // A file that exists but cannot be read must not be replaced by one holding only these keys.
        const std::optional<QByteArray> old = readAll(path, error);
        if (!old)
            return false;
        content = *old;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray updated = writeValues(content, settings);
    // commit() does not report a flush that failed part-way (a full disk) and would put
    // the cut-off file in place, so the flush is checked first.
    if (file.write(updated) != updated.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    // The owner, group and other bits as they were; the "user" flags only mirror them.
    if (permissions)
        file.setPermissions(*permissions & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser));
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool writeFile(const QString& path, const QString& section, const QString& key, const QString& value,
               QString* error)
{
    return writeFile(path, QVector<Setting>{{section, key, value}}, error);
}

} // namespace profile
