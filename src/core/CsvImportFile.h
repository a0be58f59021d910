#pragma once
// Reading a CSV file someone else wrote: a spreadsheet's or another tracker's. The
// encoding and the separator are found from the bytes, the records read as RFC 4180 says
// (quoted fields may hold separators, doubled quotes and line breaks).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Larger files are refused: a writer's history is far smaller, and a file this big is
// more likely something else chosen by mistake.
constexpr qint64 kMaxImportFileBytes = 50LL * 1024 * 1024;

struct CsvImportRow {
    int line = 0;          // the line of the file the record starts on, from 1
    QStringList fields;    // as many as the header: missing trailing fields are empty
};

struct CsvImportTable {
    bool ok = false;
    QString error;         // when !ok: what is wrong, naming the line where there is one
    int errorLine = 0;     // 0 when the fault is the whole file's
    QString encoding;      // "UTF-8", "UTF-8 with byte-order mark", "UTF-16LE", "UTF-16BE", "Windows-1252"
    QChar separator;       // ',', ';' or '\t'
    QStringList header;
    QList<CsvImportRow> rows;
};

// The separator's name as a report shows it: "comma", "semicolon" or "tab".
QString separatorName(QChar separator);

// Decodes and splits the bytes. separator: QChar() to find it from the header line.
CsvImportTable readCsvImport(const QByteArray& bytes, QChar separator = QChar());
// The same for a file, refused when it is over kMaxImportFileBytes or cannot be read.
CsvImportTable readCsvImportFile(const QString& path, QChar separator = QChar());
