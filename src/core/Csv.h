#pragma once
// Listings written as CSV (RFC 4180): a header row, fields with a comma, a quote or a line
// break quoted, quotes doubled, CRLF after every row, UTF-8 without a byte-order mark.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One field as it goes into the file.
QString csvField(const QString& text);

// The whole document: the header, then each row.
QByteArray csvDocument(const QStringList& header, const QList<QStringList>& rows);

// Writes the document to path in one replacement of the file: the whole of it lands, or
// an existing file stays as it was. False with the reason when it cannot be written.
bool writeCsvFile(const QString& path, const QStringList& header, const QList<QStringList>& rows,
                  QString* error);
