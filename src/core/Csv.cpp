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
    // Unbuffered, and written until done: a write cut short by a full disk then reports the
    // system's reason on the next try, where a buffered flush says only "Unknown error".
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = csvDocument(header, rows);
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            break;
        done += written;
    }
    // commit() would put a cut-off file in place: only a whole one is committed.
    if (done != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
