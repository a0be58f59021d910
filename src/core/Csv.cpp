#include "core/Csv.h"

#include <QCoreApplication>
#include <QSaveFile>

QString csvField(const QString& text)
{
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar c : text) {
        if (needsQuotes.contains(c)) {
            quote = true;
            break;
        }
    }
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csvDocument(const QStringList& header, const QList<QStringList>& rows)
{
    QString text;
    auto addRow = [&text](const QStringList& fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += csvField(fields[i]);
        }
        text += QStringLiteral("\r\n");
    };
    addRow(header);
    for (const QStringList& row : rows)
        addRow(row);
    return text.toUtf8();
}

bool writeCsvFile(const QString& path, const QStringList& header, const QList<QStringList>& rows,
                  QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = csvDocument(header, rows);
    // commit() does not report a flush cut short (a full disk) and would put the cut-off
    // file in place: the flush is checked first.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
