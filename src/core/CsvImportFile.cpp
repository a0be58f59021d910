#include "core/CsvImportFile.h"

#include <QFile>
#include <QStringDecoder>
#include <utility>

namespace {

struct Decoded {
    QString text;
    QString encoding;
};

// A byte-order mark decides; otherwise UTF-8 when the bytes are valid UTF-8, else
// Windows-1252, which every spreadsheet on Windows wrote before UTF-8.
Decoded decode(const QByteArray& bytes)
{
    auto run = [](QStringDecoder::Encoding encoding, QByteArrayView data) {
        QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(data);
        return std::make_pair(text, !decoder.hasError());
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {run(QStringDecoder::Utf8, QByteArrayView(bytes).sliced(3)).first, QStringLiteral("UTF-8 with byte-order mark")};
    if (bytes.startsWith("\xFF\xFE"))
        return {run(QStringDecoder::Utf16LE, QByteArrayView(bytes).sliced(2)).first, QStringLiteral("UTF-16LE")};
    if (bytes.startsWith("\xFE\xFF"))
        return {run(QStringDecoder::Utf16BE, QByteArrayView(bytes).sliced(2)).first, QStringLiteral("UTF-16BE")};
    auto [text, valid] = run(QStringDecoder::Utf8, bytes);
    if (valid)
        return {text, QStringLiteral("UTF-8")};
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return {windows.decode(bytes), QStringLiteral("Windows-1252")};
    // Without the codec the five unmapped bytes aside it is Latin-1's layout above 0x9F.
    return {QString::fromLatin1(bytes), QStringLiteral("Windows-1252")};
}

// The separator found most often in the header line outside quotes; a comma when none is.
QChar detectSeparator(const QString& text)
{
    int counts[3] = {0, 0, 0};
    const QChar candidates[3] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted) {
            for (int i = 0; i < 3; ++i)
                counts[i] += c == candidates[i];
        }
    }
    int best = 0;
    for (int i = 1; i < 3; ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return candidates[best];
}

// Control characters other than tab and line ends do not occur in text a person wrote.
bool isBinary(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != 0x0C) || u == 0xFFFE || u == 0xFFFF;
}

} // namespace

QString separatorName(QChar separator)
{
    if (separator == QLatin1Char(';'))
        return QStringLiteral("semicolon");
    if (separator == QLatin1Char('\t'))
        return QStringLiteral("tab");
    return QStringLiteral("comma");
}

CsvImportTable readCsvImport(const QByteArray& bytes, QChar separator)
{
    CsvImportTable table;
    auto fail = [&table](int line, const QString& message) {
        table.ok = false;
        table.errorLine = line;
        table.error = line > 0 ? QStringLiteral("Line %1: %2").arg(line).arg(message) : message;
        table.rows.clear();
        return table;
    };
    Decoded decoded = decode(bytes);
    table.encoding = decoded.encoding;
    const QString& text = decoded.text;
    table.separator = separator.isNull() ? detectSeparator(text) : separator;

    QList<QStringList> records;
    QList<int> recordLines;
    QStringList fields;
    QString field;
    int line = 1;
    int recordLine = 1;
    int quoteLine = 0;
    bool quoted = false;
    bool wasQuoted = false;  // the field was quoted: text after its closing quote is kept as it is
    bool any = false;        // the record has begun
    auto endRecord = [&] {
        fields << field;
        records << fields;
        recordLines << recordLine;
        fields.clear();
        field.clear();
        any = false;
        wasQuoted = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (isBinary(c))
            return fail(line, QStringLiteral("the file is not text (it holds control bytes); choose a CSV file."));
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                else if (c == QLatin1Char('\r') && !(i + 1 < n && text.at(i + 1) == QLatin1Char('\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            // Blank lines between records are no records.
            if (any || !fields.isEmpty() || !field.isEmpty())
                endRecord();
            ++line;
            recordLine = line;
            continue;
        }
        if (!any) {
            any = true;
            recordLine = line;
        }
        if (c == table.separator) {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
            quoteLine = line;
        } else {
            field += c;
        }
    }
    if (quoted)
        return fail(quoteLine, QStringLiteral("a quoted field is never closed."));
    if (any || !fields.isEmpty() || !field.isEmpty())
        endRecord();
    if (records.isEmpty())
        return fail(0, QStringLiteral("The file is empty: it has no header row."));

    table.header = records.takeFirst();
    recordLines.removeFirst();
    for (QString& name : table.header)
        name = name.trimmed();
    const qsizetype columns = table.header.size();
    table.rows.reserve(records.size());
    for (qsizetype r = 0; r < records.size(); ++r) {
        QStringList& row = records[r];
        // Spreadsheets end rows with empty cells past the header: only filled ones count.
        while (row.size() > columns && row.last().isEmpty())
            row.removeLast();
        if (row.size() > columns)
            return fail(recordLines[r], QStringLiteral("the row has %1 fields but the header only %2.")
                                            .arg(row.size())
                                            .arg(columns));
        while (row.size() < columns)
            row << QString();
        table.rows.append({recordLines[r], row});
    }
    table.ok = true;
    return table;
}

CsvImportTable readCsvImportFile(const QString& path, QChar separator)
{
    CsvImportTable table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        table.error = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return table;
    }
    if (file.size() > kMaxImportFileBytes) {
        table.error = QStringLiteral("%1 is larger than %2 MB; it is not a list of records to import.")
                          .arg(path)
                          .arg(kMaxImportFileBytes / (1024 * 1024));
        return table;
    }
    const QByteArray bytes = file.read(kMaxImportFileBytes + 1);
    if (bytes.size() > kMaxImportFileBytes) {
        table.error = QStringLiteral("%1 is larger than %2 MB; it is not a list of records to import.")
                          .arg(path)
                          .arg(kMaxImportFileBytes / (1024 * 1024));
        return table;
    }
    return readCsvImport(bytes, separator);
}
